#include "win32/services/services.h"

#include <shellapi.h>

#include "win32/services/system_library.h"

namespace quellor::win32 {

// The shell library is large and needed only for the home-page link: it is
// loaded at the first click on it, not while the program waits.
std::intptr_t Win32Shell32::ShellExecuteA(WindowHandle owner, const std::string& operation,
                                          const std::string& file, int showCommand) {
  static auto* const kExecute =
      SystemFunction<decltype(::ShellExecuteA)>(L"shell32.dll", "ShellExecuteA");
  if (kExecute == nullptr) return SE_ERR_DLLNOTFOUND;
  HINSTANCE result = kExecute(reinterpret_cast<HWND>(owner), operation.c_str(), file.c_str(),
                              nullptr, nullptr, showCommand);
  return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace quellor::win32
