// Functions of the system's own libraries, found at run time in the system
// folder alone. Libraries that are not among the system's known libraries
// are imported this way rather than by name: the loader would otherwise look
// for them first beside the program, where anyone may have put a library of
// the same name.
#pragma once

#include <windows.h>

namespace quellor::win32 {

// The address of `name` in the system library `library` ("pdh.dll"), or
// nullptr when the library or the function is missing. The library stays
// loaded for the rest of the run.
FARPROC SystemProcedure(const wchar_t* library, const char* name);

template <typename Function>
Function* SystemFunction(const wchar_t* library, const char* name) {
  return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(SystemProcedure(library, name)));
}

// The theme library's SetWindowTheme; without that library, nothing.
HRESULT SetSystemWindowTheme(HWND window, const wchar_t* application, const wchar_t* idList);

// Leaves only the system folder on the search path of libraries loaded later,
// where the system can do that (from Windows 7 with its update KB2533623).
void LoadLibrariesFromSystemFolderOnly();

}  // namespace quellor::win32
