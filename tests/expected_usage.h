// The help window's usage text as the user must see it, written out here
// independently of the program, with CR LF between lines.
#pragma once

#include <string>

inline std::string ExpectedUsageText() {
  const std::string lines = R"(Command Line Usage:
quellor -[x] -f -tyy -czz -oww
[x]  is l, r,  s or h, where
-l  : Log off
-r  : Reboot window
-s  : Shutdown window
-h  : Hibernate (must enable in Power Options)

-f  : Forces running applications to close without warning. This will not prompt for File-Save in any open applications, so will result in a loss of all unsaved data!!!

yy  : timer in secs

zz  : CPU Usage in %

ww  : 0 = Timer only
         1 = CPU idle only
         2 = Timer AND CPU idle
         3 = Timer OR CPU idle

-?  : Show this help menu

default : -s -f -t10 -c2-o2)";
  std::string out;
  for (const char c : lines) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return out;
}
