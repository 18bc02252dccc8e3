// Starts a program and watches it from outside, the way a user meets it:
// how long from CreateProcess until a visible top-level window of the new
// process exists; then it keeps the program running for a while, asks the
// system what the process holds, and ends it.
//
//   start_probe <timeout-ms> <hold-ms> <program> [arguments...]
//
// Prints one "name value" pair a line: "pid", "shown_ms", then after the
// hold "working_set_kb", "private_kb" and "cpu_ms" as the system reports
// them, and "ended". Exit status 0; 1 when the program cannot be started;
// 2 when no window shows in time; 3 when the program ends by itself.
#include <windows.h>

// After windows.h, which it needs.
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct WindowSearch {
  DWORD processId;
  bool found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM search) {
  auto* wanted = reinterpret_cast<WindowSearch*>(search);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == wanted->processId && IsWindowVisible(window)) {
    wanted->found = true;
    return FALSE;
  }
  return TRUE;
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to,
                    const LARGE_INTEGER& frequency) {
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 /
         static_cast<double>(frequency.QuadPart);
}

std::string CommandLineOf(int argc, char** argv, int first) {
  std::string line;
  for (int i = first; i < argc; ++i) {
    if (!line.empty()) line += ' ';
    const std::string argument = argv[i];
    if (argument.find_first_of(" \t") == std::string::npos) {
      line += argument;
    } else {
      line += '"' + argument + '"';
    }
  }
  return line;
}

void Say(const char* name, double value) {
  std::printf("%s %.3f\n", name, value);
  std::fflush(stdout);
}

int End(const PROCESS_INFORMATION& child, int status) {
  TerminateProcess(child.hProcess, 0);
  WaitForSingleObject(child.hProcess, 10000);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  std::printf("ended\n");
  std::fflush(stdout);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: start_probe <timeout-ms> <hold-ms> <program> [arguments...]\n");
    return 1;
  }
  const DWORD timeoutMs = static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10));
  const DWORD holdMs = static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10));
  std::string commandLine = CommandLineOf(argc, argv, 3);

  LARGE_INTEGER frequency;
  LARGE_INTEGER start;
  LARGE_INTEGER now;
  QueryPerformanceFrequency(&frequency);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &child)) {
    std::fprintf(stderr, "start_probe: cannot start %s (error %lu)\n", commandLine.c_str(),
                 GetLastError());
    return 1;
  }

  WindowSearch search{child.dwProcessId, false};
  for (;;) {
    EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    QueryPerformanceCounter(&now);
    if (search.found) break;
    if (WaitForSingleObject(child.hProcess, 0) == WAIT_OBJECT_0) {
      std::fprintf(stderr, "start_probe: %s ended before showing a window\n", argv[3]);
      return End(child, 3);
    }
    if (Milliseconds(start, now, frequency) > timeoutMs) {
      std::fprintf(stderr, "start_probe: %s showed no window within %lu ms\n", argv[3], timeoutMs);
      return End(child, 2);
    }
    Sleep(1);
  }
  std::printf("pid %lu\n", child.dwProcessId);
  Say("shown_ms", Milliseconds(start, now, frequency));

  if (WaitForSingleObject(child.hProcess, holdMs) == WAIT_OBJECT_0) {
    std::fprintf(stderr, "start_probe: %s ended during the hold\n", argv[3]);
    return End(child, 3);
  }

  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(child.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof memory)) {
    Say("working_set_kb", static_cast<double>(memory.WorkingSetSize) / 1024.0);
    Say("private_kb", static_cast<double>(memory.PrivateUsage) / 1024.0);
  }
  FILETIME created;
  FILETIME exited;
  FILETIME kernel;
  FILETIME user;
  if (GetProcessTimes(child.hProcess, &created, &exited, &kernel, &user)) {
    const auto ticks = [](const FILETIME& time) {
      return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    Say("cpu_ms", static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0);
  }
  return End(child, 0);
}
