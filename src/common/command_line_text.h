// Reading the program's own command line and preparing the one command the
// program starts. Plain text work, so that the system's side only gathers the
// texts and starts what comes out.
#pragma once

#include <optional>
#include <string>

namespace quellor {

// The text after the program's name in its full command line; the blanks
// after the name are skipped. A quoted name ends at its closing quote (and
// may hold blanks). An unquoted name may hold blanks too: the system then
// tried its blank-separated beginnings in turn until one named a program
// file, so it ends where the first beginning that names `moduleFileName` (the
// path of the program file as the system loaded it) ends, and at the first
// blank when none does.
std::string ArgumentsAfterProgramName(const std::string& commandLine,
                                      const std::string& moduleFileName);

// True for exactly the command lines the program may run.
bool IsShutdownCommandLine(const std::string& commandLine);

struct CommandLaunch {
  std::string Application;  // full path of the program file
  std::string CommandLine;  // passed on as given
};

// The system's shutdown command for one of the program's own command lines,
// run from the system folder and never looked up on the search path; nothing
// for any other command line.
std::optional<CommandLaunch> ShutdownLaunch(const std::string& systemFolder,
                                            const std::string& commandLine);

}  // namespace quellor
