#include "common/program_arguments.h"

#include <algorithm>
#include <string_view>

namespace quellor {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// One character of a path: letters in any case, either slash.
char PathChar(char c) {
  if (c == '/') return '\\';
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SamePath(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return PathChar(x) == PathChar(y); });
}

// True when `path` ends with `tail` and `tail` starts at a folder boundary.
bool EndsWithPath(std::string_view path, std::string_view tail) {
  if (tail.empty() || tail.size() > path.size()) return false;
  const std::size_t start = path.size() - tail.size();
  return (start == 0 || PathChar(path[start - 1]) == '\\') && SamePath(path.substr(start), tail);
}

// Whether a name typed on the command line stands for the program file: its
// whole path, or its last folders and name, with or without ".exe".
bool NamesModule(std::string_view typed, std::string_view module) {
  static constexpr std::string_view kExtension = ".exe";
  if (EndsWithPath(module, typed)) return true;
  if (module.size() < kExtension.size() ||
      !SamePath(module.substr(module.size() - kExtension.size()), kExtension)) {
    return false;
  }
  module.remove_suffix(kExtension.size());
  return EndsWithPath(module, typed);
}

}  // namespace

std::string ArgumentsAfterProgramName(const std::string& commandLine,
                                      const std::string& moduleFileName) {
  std::size_t at = 0;
  const std::size_t size = commandLine.size();
  while (at < size && IsBlank(commandLine[at])) ++at;
  if (at < size && commandLine[at] == '"') {
    const std::size_t close = commandLine.find('"', at + 1);
    at = close == std::string::npos ? size : close + 1;
  } else {
    const std::string_view line(commandLine);
    const std::size_t start = at;
    for (std::size_t end = start; end <= size; ++end) {
      if (end < size && !IsBlank(commandLine[end])) continue;
      if (NamesModule(line.substr(start, end - start), moduleFileName)) {
        at = end;
        break;
      }
    }
  }
  // Unquoted and not the program file, or text glued to the closing quote:
  // up to the next blank.
  while (at < size && !IsBlank(commandLine[at])) ++at;
  while (at < size && IsBlank(commandLine[at])) ++at;
  return commandLine.substr(at);
}

}  // namespace quellor
