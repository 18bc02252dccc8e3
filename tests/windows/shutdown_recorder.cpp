// Stands in for the system's shutdown command while the Windows tests run:
// it appends its command line, exactly as the program started it, to a file
// and ends. Nothing is shut down, restarted or logged off.
//
// The file is named by the environment variable QUELLOR_SHUTDOWN_LOG, or else
// C:\quellor-tests\shutdown-calls.txt. Started with the single argument
// --quellor-recorder-identify it records nothing, writes its identity to the
// standard output and ends with a fixed exit code, so that the tests can make
// sure that the recorder, and not the system's command, will be run.
#include <windows.h>

#include <string>

#include "recorder_identity.h"

namespace {

bool IsIdentifyRequest(const std::string& commandLine) {
  const std::string argument = std::string(" ") + quellor::wintest::kIdentifyArgument;
  return commandLine.size() >= argument.size() &&
         commandLine.compare(commandLine.size() - argument.size(), argument.size(), argument) == 0;
}

// Appends one line; a reader holding the file open briefly is waited for.
bool Append(const std::string& path, const std::string& line) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const HANDLE file =
        CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      const BOOL ok =
          WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(file);
      return ok && written == line.size();
    }
    Sleep(20);
  }
  return false;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string commandLine = GetCommandLineA();
  if (IsIdentifyRequest(commandLine)) {
    const std::string line = std::string(quellor::wintest::kIdentity) + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()),
              &written, nullptr);
    return static_cast<int>(quellor::wintest::kIdentityExitCode);
  }
  return Append(quellor::wintest::RecorderFile(), commandLine + "\n") ? 0 : 1;
}
