#include "platform/win32/services.h"

#include <shellapi.h>

namespace quellor::win32 {

// The shell library is large and needed only for the home-page link: it is
// loaded at the first click on it, not while the program waits.
std::intptr_t Win32Shell32::ShellExecuteA(WindowHandle owner, const std::string& operation,
                                          const std::string& file, int showCommand) {
  using Execute = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
  static const auto kExecute = [] {
    HMODULE library = LoadLibraryA("shell32.dll");
    return library == nullptr ? nullptr
                              : reinterpret_cast<Execute>(reinterpret_cast<void (*)()>(
                                    GetProcAddress(library, "ShellExecuteA")));
  }();
  if (kExecute == nullptr) return SE_ERR_DLLNOTFOUND;
  HINSTANCE result = kExecute(reinterpret_cast<HWND>(owner), operation.c_str(), file.c_str(),
                              nullptr, nullptr, showCommand);
  return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace quellor::win32
