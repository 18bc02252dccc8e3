// What the shutdown recorder and the test driver agree on.
#pragma once

#include <windows.h>

namespace quellor::wintest {

// The environment variable that names the file the recorder appends to.
inline constexpr const char* kRecorderFileVariable = "QUELLOR_SHUTDOWN_LOG";
inline constexpr const char* kDefaultRecorderDirectory = "C:\\quellor-tests";
inline constexpr const char* kDefaultRecorderFile = "C:\\quellor-tests\\shutdown-calls.txt";

// Given as the last argument, the recorder only answers who it is.
inline constexpr const char* kIdentifyArgument = "--quellor-recorder-identify";
inline constexpr const char* kIdentity = "quellor shutdown recorder";
// Its exit code then; the low byte (0x43, 67) is what a Unix shell sees.
inline constexpr DWORD kIdentityExitCode = 0x51435243;

}  // namespace quellor::wintest
