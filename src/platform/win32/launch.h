// Reading the program's own command line and preparing the one command the
// program starts.
#pragma once

#include <optional>
#include <string>

namespace quellor::win32 {

// The text after the program's name in a full command line: the name may be
// quoted (and then hold blanks); the blanks after it are skipped.
std::string ArgumentsAfterProgramName(const std::string& commandLine);

struct Launch {
  std::string application;  // full path of the program file
  std::string commandLine;  // passed on as given
};

// The system's shutdown command for a command line "Shutdown ...", run from
// the system folder and never looked up on the search path; nothing for any
// other command line.
std::optional<Launch> ShutdownLaunch(const std::string& systemFolder,
                                     const std::string& commandLine);

}  // namespace quellor::win32
