#include "win32/services/system_library.h"

#include <string>

namespace quellor::win32 {

FARPROC SystemProcedure(const wchar_t* library, const char* name) {
  HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) {
    // A system without the search flags: the library by its full path.
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\" + library;
    module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  }
  return module != nullptr ? GetProcAddress(module, name) : nullptr;
}

HRESULT SetSystemWindowTheme(HWND window, const wchar_t* application, const wchar_t* idList) {
  using SetTheme = HRESULT WINAPI(HWND, LPCWSTR, LPCWSTR);
  static SetTheme* const kSetTheme = SystemFunction<SetTheme>(L"uxtheme.dll", "SetWindowTheme");
  return kSetTheme != nullptr ? kSetTheme(window, application, idList) : E_NOTIMPL;
}

void LoadLibrariesFromSystemFolderOnly() {
  using SetDirectories = BOOL WINAPI(DWORD);
  const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  if (kernel32 == nullptr) return;
  auto* setDirectories = reinterpret_cast<SetDirectories*>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel32, "SetDefaultDllDirectories")));
  if (setDirectories != nullptr) setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace quellor::win32
