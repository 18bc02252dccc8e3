#include <vector>

#include "common/command_line_text.h"
#include "win32/services/services.h"

namespace quellor::win32 {

std::string Win32Process::CommandLineText() {
  const char* commandLine = GetCommandLineA();
  // The program file's path; one longer than the buffer comes back cut off,
  // filling it. Empty when the system does not tell it.
  std::string module(MAX_PATH, '\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameA(nullptr, module.data(), static_cast<DWORD>(module.size()));
    if (length < module.size() || module.size() >= 65536) {
      module.resize(length < module.size() ? length : 0);
      break;
    }
    module.resize(module.size() * 2);
  }
  return ArgumentsAfterProgramName(commandLine != nullptr ? commandLine : "", module);
}

bool Win32Process::RunCommandLine(const std::string& commandLine, int windowStyle) {
  char folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  const std::optional<CommandLaunch> launch =
      ShutdownLaunch(std::string(folder, length), commandLine);
  if (!launch) return false;
  // CreateProcessA may write into the command line it is given.
  std::vector<char> text(launch->CommandLine.begin(), launch->CommandLine.end());
  text.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(windowStyle);
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(launch->Application.c_str(), text.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &started)) {
    return false;
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

void Win32Process::EndProcess(platform::ExitCode code) {
  ExitProcess(static_cast<UINT>(code));
}

platform::LocalTime Win32Process::Now() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wHour, now.wMinute, now.wSecond};
}

}  // namespace quellor::win32
