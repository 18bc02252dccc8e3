// The allow-list of the command lines the program may start, and the one
// command each of them runs: the system's shutdown command, from the system
// folder. The system's side only starts what comes out.
#pragma once

#include <optional>
#include <string>

namespace quellor {

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
