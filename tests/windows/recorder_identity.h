// What the shutdown recorder and the test driver agree on.
#pragma once

#include <windows.h>

#include <string>

namespace quellor::wintest {

// Given as the last argument, the recorder only answers who it is.
inline constexpr const char* kIdentifyArgument = "--quellor-recorder-identify";
inline constexpr const char* kIdentity = "quellor shutdown recorder";
// Its exit code then; the low byte (0x43, 67) is what a Unix shell sees.
inline constexpr DWORD kIdentityExitCode = 0x51435243;

// The file the recorder appends to: named by QUELLOR_SHUTDOWN_LOG, or else
// C:\quellor-shutdown-calls.txt.
inline std::string RecorderFile() {
  char buffer[MAX_PATH * 2] = {};
  const DWORD length = GetEnvironmentVariableA("QUELLOR_SHUTDOWN_LOG", buffer, sizeof buffer);
  return length > 0 && length < sizeof buffer ? buffer : "C:\\quellor-shutdown-calls.txt";
}

}  // namespace quellor::wintest
