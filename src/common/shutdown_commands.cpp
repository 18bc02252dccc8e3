#include "common/shutdown_commands.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace quellor {

bool IsShutdownCommandLine(const std::string& commandLine) {
  static constexpr std::array<std::string_view, 7> kCommandLines = {
      "Shutdown -s -f -t 0", "Shutdown -s -t 0", "Shutdown -r -f -t 0", "Shutdown -r -t 0",
      "Shutdown -l -f",      "Shutdown -l",      "Shutdown -a"};
  return std::find(kCommandLines.begin(), kCommandLines.end(), commandLine) != kCommandLines.end();
}

std::optional<CommandLaunch> ShutdownLaunch(const std::string& systemFolder,
                                            const std::string& commandLine) {
  if (!IsShutdownCommandLine(commandLine) || systemFolder.empty()) return std::nullopt;
  CommandLaunch launch;
  launch.Application = systemFolder;
  if (launch.Application.back() != '\\') launch.Application += '\\';
  launch.Application += "shutdown.exe";
  launch.CommandLine = commandLine;
  return launch;
}

}  // namespace quellor
