// Any command line, applied to a fresh main window and then ticked until the
// trigger can fire: the countdown, time-out, threshold and method stay within
// their ranges, and nothing but the program's own command lines is started.
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "common/number.h"
#include "controller/program.h"
#include "fake_platform.h"
#include "fuzz_allowed.h"
#include "fuzz_check.h"

using quellor::Program;
using quellor::fake::FakePlatform;
using quellor::fake::ProcessEnded;

namespace {

void CheckState(const Program& program) {
  const auto& form = program.form1;
  FUZZ_CHECK(program.CountdownSeconds >= 0 && program.CountdownSeconds <= 32767);
  FUZZ_CHECK(program.CountdownSeconds == std::floor(program.CountdownSeconds));
  FUZZ_CHECK(program.TimeOutSeconds >= 1 && program.TimeOutSeconds <= 32767);
  const std::string& threshold = form.Text2.Text();
  double value = -1;
  FUZZ_CHECK(quellor::IsPlainNumber(threshold, &value));
  FUZZ_CHECK(value >= 0 && value <= 100 && threshold.find('.') == std::string::npos);
  int selected = 0;
  for (const auto& button : form.Option1) selected += button.Value() ? 1 : 0;
  FUZZ_CHECK(selected == 1);
  FUZZ_CHECK(form.Check1.Value() == 0 || form.Check1.Value() == 1);
  FUZZ_CHECK(form.Combo1.ListIndex() >= 0 &&
             form.Combo1.ListIndex() < static_cast<int>(form.Combo1.Items().size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 32768) return -1;
  FakePlatform fake;
  fake.power.HibernateAllowed = size % 2 == 0;
  fake.process.CommandLine.assign(reinterpret_cast<const char*>(data), size);
  for (int i = 0; i < 40; ++i) fake.pdh.Samples.push_back({0.0, 0});
  auto os = fake.Get();
  Program program(os);
  bool helpShown = false;
  fake.user32.DuringEventLoop = [&] {
    helpShown = true;
    FUZZ_CHECK(program.form2.Loaded() && program.form2.Label1.Visible());
    program.form2.Label1_Click();
  };
  try {
    program.Main();
    CheckState(program);
    for (int tick = 0; tick < 35; ++tick) program.form1.Timer1_Timer();
  } catch (const ProcessEnded&) {
  }
  for (const auto& run : fake.process.Runs) {
    FUZZ_CHECK(IsAllowedCommandLine(run.commandLine));
    FUZZ_CHECK(run.windowStyle == 2);
  }
  if (helpShown) {
    FUZZ_CHECK(fake.process.Runs.empty());
    for (const auto& call : fake.registry.Calls) {
      FUZZ_CHECK(call.rfind("set ", 0) != 0 && call.rfind("create ", 0) != 0);
    }
  }
  for (const auto& suspend : fake.power.Suspends) {
    FUZZ_CHECK(suspend.hibernate && suspend.force && suspend.disableWakeEvent);
    FUZZ_CHECK(program.form1.Combo1.SelectedText() == "Hibernate");
  }
  return 0;
}
