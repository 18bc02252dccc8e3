// Any texts in the timer dialog's fields, any clock, either mode, with or
// without the field rules run: the rules leave " " and a whole number within
// the field's limits, and OK leaves a finite countdown of 0 or more, a
// time-out equal to it rounded, and the main window ticking again; the timer
// then fires in the tick in which that countdown has run out, and never
// earlier.
#include <cmath>
#include <cstdint>
#include <string>

#include "common/number.h"
#include "controller/program.h"
#include "fake_platform.h"
#include "fuzz_check.h"
#include "fuzz_expect.h"
#include "fuzz_input.h"

using quellor::Program;
using quellor::TextBox;
using quellor::fake::FakePlatform;
using quellor::fake::ProcessEnded;

namespace {

constexpr int kTicks = 64;

void CheckField(const TextBox& field, double limit) {
  const std::string& text = field.Text();
  FUZZ_CHECK(text.size() >= 2 && text[0] == ' ');
  double value = -1;
  FUZZ_CHECK(quellor::IsPlainNumber(text, &value));
  FUZZ_CHECK(value >= 0 && value <= limit && value == std::floor(value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  FakePlatform fake;
  fake.process.CommandLine = "-t3000 -o0";
  fake.process.Clock = {in.Byte() % 24, in.Byte() % 60, in.Byte() % 60};
  const std::uint8_t flags = in.Byte();
  auto os = fake.Get();
  Program program(os);
  try {
    program.Main();
    const double before = program.CountdownSeconds;
    program.form1.Label9_Click();
    auto& dialog = program.form3;
    FUZZ_CHECK(dialog.Loaded() && !program.form1.Timer1.Enabled());
    if ((flags & 1) != 0) dialog.Option2.Select();
    const bool clockMode = dialog.Option2.Value();
    dialog.Text1.TextTypedByUser(in.Piece());
    dialog.Text2.TextTypedByUser(in.Piece());
    dialog.Text3.TextTypedByUser(in.Piece());
    if ((flags & 2) != 0) {
      dialog.Text1_Validate();
      CheckField(dialog.Text1, clockMode ? 24 : 32767);
    }
    if ((flags & 4) != 0) {
      dialog.Text2_Validate();
      CheckField(dialog.Text2, 60);
    }
    if ((flags & 8) != 0) {
      dialog.Text3_Validate();
      CheckField(dialog.Text3, 60);
    }
    if ((flags & 16) != 0) {
      dialog.Label6_Click();
      FUZZ_CHECK(program.CountdownSeconds == before);
    } else {
      dialog.Label5_Click();
    }
    FUZZ_CHECK(!dialog.Loaded() && program.form1.Timer1.Enabled());
    FUZZ_CHECK(std::isfinite(program.CountdownSeconds) && program.CountdownSeconds >= 0);
    const auto rounded = quellor::ToInt32(program.CountdownSeconds);
    FUZZ_CHECK(rounded.has_value() && *rounded == program.TimeOutSeconds);
  } catch (const ProcessEnded&) {
    FUZZ_CHECK(false);  // nothing in the dialog ends the program
  }
  // Method "Timer", force close clear (the command line has no -f).
  const int expected = ExpectedFiringTick(program.CountdownSeconds, 0, false, kTicks);
  FUZZ_CHECK(TicksUntilEnd(program.form1, kTicks) == expected);
  FUZZ_CHECK(fake.process.Runs.size() == (expected != 0 ? 1u : 0u));
  for (const auto& run : fake.process.Runs) FUZZ_CHECK(run.commandLine == "Shutdown -s -t 0");
  return 0;
}
