// The only command lines the program may ever start.
#pragma once

#include <algorithm>
#include <array>
#include <string>

inline bool IsAllowedCommandLine(const std::string& commandLine) {
  static const std::array<std::string, 7> kAllowed = {
      "Shutdown -s -f -t 0", "Shutdown -s -t 0", "Shutdown -r -f -t 0", "Shutdown -r -t 0",
      "Shutdown -l -f",      "Shutdown -l",      "Shutdown -a"};
  return std::find(kAllowed.begin(), kAllowed.end(), commandLine) != kAllowed.end();
}
