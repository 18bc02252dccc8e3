#include "platform/win32/launch.h"

namespace quellor::win32 {

namespace {
bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
}  // namespace

std::string ArgumentsAfterProgramName(const std::string& commandLine) {
  std::size_t at = 0;
  const std::size_t size = commandLine.size();
  while (at < size && IsBlank(commandLine[at])) ++at;
  if (at < size && commandLine[at] == '"') {
    const std::size_t close = commandLine.find('"', at + 1);
    at = close == std::string::npos ? size : close + 1;
  }
  // Unquoted, or text glued to the closing quote: up to the next blank.
  while (at < size && !IsBlank(commandLine[at])) ++at;
  while (at < size && IsBlank(commandLine[at])) ++at;
  return commandLine.substr(at);
}

std::optional<Launch> ShutdownLaunch(const std::string& systemFolder,
                                     const std::string& commandLine) {
  static constexpr char kHead[] = "Shutdown ";
  if (commandLine.compare(0, sizeof(kHead) - 1, kHead) != 0) return std::nullopt;
  if (systemFolder.empty()) return std::nullopt;
  Launch launch;
  launch.application = systemFolder;
  if (launch.application.back() != '\\') launch.application += '\\';
  launch.application += "shutdown.exe";
  launch.commandLine = commandLine;
  return launch;
}

}  // namespace quellor::win32
