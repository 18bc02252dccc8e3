// A library planted beside a copy of the program under the name of a system
// library that is not among the system's known ones (built as pdh.dll,
// powrprof.dll and uxtheme.dll). Loaded, it appends its path to the file
// "loaded.txt" beside it and refuses to stay, so that the program goes on as
// without the library and the run ends telling which one was loaded.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID /*reserved*/) {
  char path[MAX_PATH] = {};
  if (reason != DLL_PROCESS_ATTACH || GetModuleFileNameA(self, path, MAX_PATH) == 0) return FALSE;
  const std::string folder(path, std::strrchr(path, '\\'));
  if (std::FILE* loaded = std::fopen((folder + "\\loaded.txt").c_str(), "a")) {
    std::fprintf(loaded, "%s\n", path);
    std::fclose(loaded);
  }
  return FALSE;
}
