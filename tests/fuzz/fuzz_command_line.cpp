// Any command line, read as the Windows program reads its own and applied to
// a fresh main window that is then ticked until the trigger can fire: the
// countdown, time-out, threshold and method stay within their ranges, a
// switch that is absent changes nothing, the help window comes up exactly
// when it is asked for, the method fires in the tick its rule gives, and
// nothing but the program's own command lines is started, each as the
// system's shutdown program.
#include <cctype>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/number.h"
#include "common/program_arguments.h"
#include "common/shutdown_commands.h"
#include "controller/form1_settings.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 32768) return -1;
  constexpr const char* kSystemFolder = "C:\\Windows\\system32";
  quellor::fake::Session s;
  s.power.HibernateAllowed = size % 2 == 0;
  // The bytes follow the program's own name in the process's command line,
  // quoted or not; the arguments are what comes after that name and the
  // blanks behind it.
  const std::string typed(reinterpret_cast<const char*>(data), size);
  const std::string path = "C:\\Program Files\\Quellor\\quellor.exe";
  const std::string name = size % 4 < 2 ? "\"" + path + "\"" : path;
  const std::string line = quellor::ArgumentsAfterProgramName(name + " " + typed, path);
  FUZZ_CHECK(line == typed.substr(std::min(typed.size(), typed.find_first_not_of(" \t"))));
  s.pdh.Samples = {{0.0}};
  bool helpShown = false;
  s.user32.DuringEventLoop = [&] {
    helpShown = true;
    FUZZ_CHECK(s.program.form2.Loaded() && s.program.form2.Label1.Visible());
    FUZZ_CHECK(!s.form.Visible() && !s.form.Timer1.Enabled());
    s.program.form2.Label1.OnClick();
  };
  const auto has = [&line](std::string_view flag) { return line.find(flag) != std::string::npos; };
  const bool operationAsked =
      has("-l") || has("-r") || has("-s") || (has("-h") && s.power.HibernateAllowed);

  try {
    s.Start(line);
  } catch (const quellor::fake::ProcessEnded&) {
    // Only the help window's OK ends the program this early.
    FUZZ_CHECK(helpShown && s.process.Ends == std::vector{quellor::platform::kExitDone});
  }
  FUZZ_CHECK(helpShown == (has("-?") && !operationAsked));
  if (helpShown) {
    // Nothing is run and nothing is stored.
    FUZZ_CHECK(s.process.Runs.empty() && s.power.Suspends.empty());
    FUZZ_CHECK(!s.registry.HasKey(quellor::kAppKey));
    return 0;
  }

  // The state start-up leaves, against what the switches ask for.
  FUZZ_CHECK(s.form.Visible() && s.form.Timer1.Enabled());
  // Start-up trims blanks; a line of blanks alone changes nothing.
  const bool empty = line.find_first_not_of(' ') == std::string::npos;
  FUZZ_CHECK(s.program.CountdownSeconds >= 1 && s.program.CountdownSeconds <= 32767);
  FUZZ_CHECK(s.program.CountdownSeconds == std::floor(s.program.CountdownSeconds));
  FUZZ_CHECK(s.program.TimeOutSeconds >= 1 && s.program.TimeOutSeconds <= 32767);
  if (!has("-t")) FUZZ_CHECK(s.program.TimeOutSeconds == 10);
  const std::string& threshold = s.form.Text2.Text();
  FUZZ_CHECK(IsWholeNumberUpTo(threshold, 100) && threshold.find('.') == std::string::npos);
  if (!has("-c")) FUZZ_CHECK(threshold == "2");
  const int method = SelectedMethod(s.form);
  if (!has("-o")) FUZZ_CHECK(method == 2);
  FUZZ_CHECK(s.form.Text2.Enabled() == (method != 0));
  FUZZ_CHECK(s.form.Check1.Value() == (empty || has("-f") ? 1 : 0));
  // An operation other than the first in the list only when a switch names it.
  const std::string operation = s.form.Combo1.SelectedText();
  const std::string flag = std::string("-") + static_cast<char>(std::tolower(operation[0]));
  FUZZ_CHECK(operation == "Shutdown" || has(flag));
  FUZZ_CHECK(!has("-l") || operation == "Log Off");
  FUZZ_CHECK(operation != "Hibernate" || s.power.HibernateAllowed);
  const bool fired = CheckFiring(s, 40) != 0;
  FUZZ_CHECK((s.registry.Find(quellor::kSettingsKey, "Time Out") != nullptr) == fired);
  for (const auto& run : s.process.Runs) {
    // Started as the system's own program, never looked up on the path.
    const auto launch = quellor::ShutdownLaunch(kSystemFolder, run.commandLine);
    FUZZ_CHECK(launch && launch->Application == kSystemFolder + std::string("\\shutdown.exe") &&
               launch->CommandLine == run.commandLine);
  }
  return 0;
}
