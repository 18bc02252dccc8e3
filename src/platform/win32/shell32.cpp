#include "platform/win32/services.h"

#include <shellapi.h>

namespace quellor::win32 {

std::intptr_t Win32Shell32::ShellExecuteA(WindowHandle owner, const std::string& operation,
                                          const std::string& file, int showCommand) {
  HINSTANCE result = ::ShellExecuteA(reinterpret_cast<HWND>(owner), operation.c_str(), file.c_str(),
                                     nullptr, nullptr, showCommand);
  return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace quellor::win32
