// Any command line, read as the program reads its own: the help window comes
// up exactly when -? asks for it with no operation, and then nothing is run
// or stored; otherwise the trigger fires as CheckFiring says, hibernating
// only when -h chose it and the machine allows it. And whatever the text, the
// system's shutdown command starts it only when it is one of the program's
// own command lines.
#include <string_view>

#include "common/program_arguments.h"
#include "controller/decision_rules.h"
#include "fuzz_common.h"

// The command lines of the three operations that run one, and of Abort.
static bool IsOwnCommandLine(const std::string& line) {
  for (int operation = 0; operation < 3; ++operation) {
    for (const bool force : {false, true})
      if (line == quellor::OperationCommand(operation, force)) return true;
  }
  return line == "Shutdown -a";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The bytes follow the program's own path, quoted or not, in the process's
  // command line: the arguments are all of them but the blanks before.
  const std::string typed(reinterpret_cast<const char*>(data), size);
  const std::string path = "C:\\Program Files\\Quellor\\quellor.exe";
  const std::string name = size % 4 < 2 ? "\"" + path + "\"" : path;
  const std::string line = quellor::ArgumentsAfterProgramName(name + " " + typed, path);
  FUZZ_CHECK(line == typed.substr(std::min(typed.size(), typed.find_first_not_of(" \t"))));
  FUZZ_CHECK(quellor::ShutdownLaunch(kSystemFolder, line).has_value() == IsOwnCommandLine(line));
  quellor::fake::Session s;
  s.power.HibernateAllowed = size % 2 == 0;
  s.user32.DuringEventLoop = [&s] { s.program.form2.Label1.OnClick(); };  // OK
  try {
    s.Start(line);
  } catch (const quellor::fake::ProcessEnded&) {
  }
  const auto& calls = s.user32.Calls;
  const bool helpShown = std::count(calls.begin(), calls.end(), "RunEventLoop") != 0;
  FUZZ_CHECK(helpShown == !s.process.Ends.empty());  // only help's OK ends start-up
  const auto has = [&line](std::string_view flag) { return line.find(flag) != std::string::npos; };
  const bool hibernate = has("-h") && s.power.HibernateAllowed;
  FUZZ_CHECK(helpShown == (has("-?") && !(has("-l") || has("-r") || has("-s") || hibernate)));
  if (helpShown) FUZZ_CHECK(s.process.Log == quellor::fake::Events{"end"});
  if (!helpShown) CheckFiring(s, 40);
  FUZZ_CHECK(s.power.Suspends.empty() || hibernate);
  return 0;
}
