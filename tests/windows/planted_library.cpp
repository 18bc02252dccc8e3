// A library planted beside a copy of the program under the name of a system
// library that is not among the system's known ones (built as pdh.dll,
// powrprof.dll and uxtheme.dll). Loaded, it leaves the marker file
// "<its own path>.loaded"; it exports nothing, so a program that loaded it
// in the system's place would find none of the functions it wants there.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID /*reserved*/) {
  char path[MAX_PATH + 8] = {};
  const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
  if (reason == DLL_PROCESS_ATTACH && length > 0 && length < MAX_PATH) {
    lstrcatA(path, ".loaded");
    CloseHandle(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  return TRUE;
}
