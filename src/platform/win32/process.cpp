#include <vector>

#include "platform/win32/launch.h"
#include "platform/win32/services.h"

namespace quellor::win32 {

std::string Win32Process::CommandLineText() {
  const char* commandLine = GetCommandLineA();
  return ArgumentsAfterProgramName(commandLine != nullptr ? commandLine : "");
}

void Win32Process::RunCommandLine(const std::string& commandLine, int windowStyle) {
  char folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  const std::optional<Launch> launch = ShutdownLaunch(std::string(folder, length), commandLine);
  if (!launch) return;
  // CreateProcessA may write into the command line it is given.
  std::vector<char> text(launch->commandLine.begin(), launch->commandLine.end());
  text.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(windowStyle);
  PROCESS_INFORMATION started{};
  if (CreateProcessA(launch->application.c_str(), text.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     nullptr, &startup, &started)) {
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
  }
}

void Win32Process::EndProcess() {
  ExitProcess(0);
}

platform::LocalTime Win32Process::Now() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wHour, now.wMinute, now.wSecond};
}

}  // namespace quellor::win32
