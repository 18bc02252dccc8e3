// Any command line, read as the Windows program reads its own and applied to
// a fresh main window that is then ticked until the trigger can fire: the
// countdown, time-out, threshold and method stay within their ranges, a
// switch that is absent changes nothing, the help window comes up exactly
// when it is asked for, the method fires in the tick its rule gives, and
// nothing but the program's own command lines is started, each as the
// system's shutdown program.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/command_line_text.h"
#include "common/number.h"
#include "controller/program.h"
#include "fake_platform.h"
#include "fuzz_allowed.h"
#include "fuzz_check.h"
#include "fuzz_expect.h"
#include "settings/settings.h"

using quellor::Program;
using quellor::fake::FakePlatform;
using quellor::fake::ProcessEnded;

namespace {

constexpr int kTicks = 40;
constexpr const char* kSystemFolder = "C:\\Windows\\system32";

int SelectedMethod(const quellor::Form1& form) {
  int method = -1;
  int selected = 0;
  for (std::size_t i = 0; i < form.Option1.size(); ++i) {
    if (form.Option1[i].Value()) {
      method = static_cast<int>(i);
      ++selected;
    }
  }
  FUZZ_CHECK(selected == 1);
  return method;
}

// The state start-up leaves, against what the switches of `line` ask for.
void CheckState(const Program& program, const std::string& line, bool hibernateAllowed) {
  const auto& form = program.form1;
  const auto has = [&line](std::string_view flag) { return line.find(flag) != std::string::npos; };
  // Start-up trims blanks; a line of blanks alone changes nothing.
  const bool empty = line.find_first_not_of(' ') == std::string::npos;

  FUZZ_CHECK(program.CountdownSeconds >= 1 && program.CountdownSeconds <= 32767);
  FUZZ_CHECK(program.CountdownSeconds == std::floor(program.CountdownSeconds));
  FUZZ_CHECK(program.TimeOutSeconds >= 1 && program.TimeOutSeconds <= 32767);
  if (!has("-t")) FUZZ_CHECK(program.TimeOutSeconds == 10);
  const std::string& threshold = form.Text2.Text();
  double value = -1;
  FUZZ_CHECK(quellor::IsPlainNumber(threshold, &value));
  FUZZ_CHECK(value >= 0 && value <= 100 && threshold.find('.') == std::string::npos);
  if (!has("-c")) FUZZ_CHECK(threshold == "2");
  const int method = SelectedMethod(form);
  if (!has("-o")) FUZZ_CHECK(method == 2);
  FUZZ_CHECK(form.Text2.Enabled() == (method != 0));

  FUZZ_CHECK(form.Check1.Value() == (empty || has("-f") ? 1 : 0));
  std::string operation = "Shutdown";
  if (has("-l")) {
    operation = "Log Off";
  } else if (has("-r")) {
    operation = "Restart";
  } else if (has("-h") && !has("-s") && hibernateAllowed) {
    operation = "Hibernate";
  }
  FUZZ_CHECK(form.Combo1.SelectedText() == operation);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 32768) return -1;
  FakePlatform fake;
  const bool hibernateAllowed = size % 2 == 0;
  fake.power.HibernateAllowed = hibernateAllowed;
  // The bytes follow the program's own name in the process's command line,
  // quoted or not; the arguments are what comes after that name and the
  // blanks behind it.
  const std::string typed(reinterpret_cast<const char*>(data), size);
  const std::string path = "C:\\Program Files\\Quellor\\quellor.exe";
  const std::string name = size % 4 < 2 ? "\"" + path + "\"" : path;
  const std::string line = quellor::ArgumentsAfterProgramName(name + " " + typed, path);
  FUZZ_CHECK(line == typed.substr(std::min(typed.size(), typed.find_first_not_of(" \t"))));
  fake.process.CommandLine = line;
  fake.pdh.Steady = quellor::fake::Sample{0.0, 0};
  auto os = fake.Get();
  Program program(os);
  auto& form = program.form1;
  bool helpShown = false;
  fake.user32.DuringEventLoop = [&] {
    helpShown = true;
    FUZZ_CHECK(program.form2.Loaded() && program.form2.Label1.Visible());
    FUZZ_CHECK(!form.Visible() && !form.Timer1.Enabled());
    program.form2.Label1_Click();
  };
  const auto has = [&line](std::string_view flag) { return line.find(flag) != std::string::npos; };
  const bool helpAsked =
      has("-?") && !has("-l") && !has("-r") && !has("-s") && !(has("-h") && hibernateAllowed);

  try {
    program.Main();
  } catch (const ProcessEnded&) {
    // Only the help window's OK ends the program this early.
    FUZZ_CHECK(helpShown && fake.process.Ends == 1);
  }
  FUZZ_CHECK(helpShown == helpAsked);
  if (helpShown) {
    // Nothing is run and nothing is stored.
    FUZZ_CHECK(fake.process.Runs.empty() && fake.power.Suspends.empty());
    for (const auto& call : fake.registry.Calls) {
      FUZZ_CHECK(call.rfind("set ", 0) != 0 && call.rfind("create ", 0) != 0);
    }
    return 0;
  }

  FUZZ_CHECK(form.Visible() && form.Timer1.Enabled());
  CheckState(program, line, hibernateAllowed);
  const int expected = ExpectedFiringTick(program.CountdownSeconds, SelectedMethod(form),
                                          quellor::LeadingNumber(form.Text2.Text()) > 0, kTicks);
  FUZZ_CHECK(TicksUntilEnd(form, kTicks) == expected);
  if (expected != 0) {
    CheckOperationCarriedOut(fake, form);
    FUZZ_CHECK(fake.registry.Find(quellor::kSettingsKey, "Time Out") != nullptr);
  } else {
    FUZZ_CHECK(fake.process.Ends == 0 && fake.process.Runs.empty());
  }
  for (const auto& run : fake.process.Runs) {
    FUZZ_CHECK(IsAllowedCommandLine(run.commandLine));
    // Started as the system's own program, never looked up on the path.
    const auto launch = quellor::ShutdownLaunch(kSystemFolder, run.commandLine);
    FUZZ_CHECK(launch && launch->Application == kSystemFolder + std::string("\\shutdown.exe") &&
               launch->CommandLine == run.commandLine);
  }
  return 0;
}
