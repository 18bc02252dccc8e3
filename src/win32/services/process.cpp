#include <algorithm>
#include <vector>

#include "common/control_ids.h"
#include "common/program_arguments.h"
#include "common/shutdown_commands.h"
#include "win32/services/services.h"

namespace quellor::win32 {

std::string NarrowExactly(const std::wstring& text) {
  if (text.empty()) return {};
  // A UTF-8 code page writes every character exactly, and takes neither the
  // flag nor a replacement: what is not ASCII stays bytes over 127.
  const UINT codePage = GetACP();
  const bool utf8 = codePage == CP_UTF8;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const char replacement[] = {kNoExactForm, '\0'};
  const char* noExactForm = utf8 ? nullptr : replacement;
  const int length = static_cast<int>(text.size());
  const int size =
      WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, noExactForm, nullptr);
  if (size <= 0) return {};
  std::string narrow(static_cast<std::size_t>(size), '\0');
  const int written = WideCharToMultiByte(codePage, flags, text.data(), length, narrow.data(), size,
                                          noExactForm, nullptr);
  narrow.resize(static_cast<std::size_t>(std::max(written, 0)));
  return narrow;
}

std::string Win32Process::CommandLineText() {
  // Read as Unicode and narrowed here: the system's ANSI command line maps
  // look-alike characters to their best fit ("－ｈ" to "-h").
  const wchar_t* commandLine = GetCommandLineW();
  // The program file's path, narrowed the same way so that the command line
  // still starts with it; one longer than the buffer comes back cut off,
  // filling it. Empty when the system does not tell it.
  std::wstring module(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
    if (length < module.size() || module.size() >= 65536) {
      module.resize(length < module.size() ? length : 0);
      break;
    }
    module.resize(module.size() * 2);
  }
  return ArgumentsAfterProgramName(NarrowExactly(commandLine != nullptr ? commandLine : L""),
                                   NarrowExactly(module));
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

bool Win32Instances::ClaimCountdown() {
  if (claim_ != nullptr) return true;
  const HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Local\\Quellor.Countdown");
  // A name that cannot be had (another kind of object holds it) keeps no
  // one from counting: without it the program runs as if alone.
  if (mutex == nullptr) return true;
  // Abandoned: the copy that held it ended without letting go.
  const DWORD waited = WaitForSingleObject(mutex, 0);
  if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
    claim_ = mutex;
    return true;
  }
  CloseHandle(mutex);
  return false;
}

void Win32Instances::ShowCountingCopy() {
  // The other copy's shown window: its main window, else the help window
  // that hides it, else its timer dialog.
  DWORD self = GetCurrentProcessId();
  for (const char* windowClass : {ids::kForm1Class, ids::kForm2Class, ids::kForm3Class}) {
    for (HWND window = FindWindowExA(nullptr, nullptr, windowClass, nullptr); window != nullptr;
         window = FindWindowExA(nullptr, window, windowClass, nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == self || !IsWindowVisible(window)) continue;
      if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
      SetForegroundWindow(window);
      return;
    }
  }
}

}  // namespace quellor::win32
