// Reading the program's own command line: the text after the program's name,
// which the main window reads its switches from. Plain text work, so that
// the system's side only gathers the texts.
#pragma once

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

}  // namespace quellor
