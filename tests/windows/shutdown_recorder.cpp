// Stands in for the system's shutdown command while the Windows tests run:
// it appends its command line, exactly as the program started it, to a file
// and ends. Nothing is shut down, restarted or logged off.
//
// The file is named by the environment variable QUELLOR_SHUTDOWN_LOG, or else
// C:\quellor-shutdown-calls.txt. Started with the single argument
// --quellor-recorder-identify it records nothing, writes its identity to the
// standard output and ends with a fixed exit code, so that the tests can make
// sure that the recorder, and not the system's command, will be run.
#include <windows.h>

#include <cstdio>
#include <string>

#include "recorder_identity.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace quellor::wintest;
  const std::string commandLine = GetCommandLineA();
  if (commandLine.ends_with(std::string(" ") + kIdentifyArgument)) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), kIdentity, lstrlenA(kIdentity), &written, nullptr);
    return static_cast<int>(kIdentityExitCode);
  }
  // Readers share the file, so the append never waits for one.
  std::FILE* file = std::fopen(RecorderFile().c_str(), "ab");
  if (file == nullptr) return 1;
  const bool written = std::fprintf(file, "%s\n", commandLine.c_str()) > 0;
  return std::fclose(file) == 0 && written ? 0 : 1;
}
