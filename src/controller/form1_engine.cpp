// The main window's one-second tick, the countdown display, the operation it
// carries out when the trigger fires, and the processor-usage monitor.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>

#include "common/number.h"
#include "controller/decision_rules.h"
#include "controller/form1.h"
#include "controller/form1_settings.h"
#include "controller/program_state.h"

namespace quellor {
namespace {

constexpr int kMinimizedFocus = platform::kWindowStyleMinimizedFocus;

// A whole number with at least two digits. Any double is written without
// overflow: values beyond 64 bits are written from the double itself.
std::string TwoDigits(double whole) {
  if (!std::isfinite(whole)) return "00";
  if (std::fabs(whole) < 1e18) return FormatTwoDigits(static_cast<std::int64_t>(whole));
  return FormatFixed(whole, 0);
}

}  // namespace

void Form1::Timer1_Timer() {
  double& countdown = program_.CountdownSeconds;
  // One second off while time is left, never going below 0: a countdown with
  // a fraction (the timer dialog takes one from a field that still has the
  // focus) reaches 0 too, so the timer is done at its end.
  if (countdown > 0) countdown = std::max(0.0, countdown - 1.0);

  // The usage is the sample of the previous tick (or of start-up).
  const double threshold = LeadingNumber(Text2.Text());
  const double usage = LeadingNumber(Label5.Tag);
  IdleCountdown = NextIdleCount(IdleCountdown, threshold, usage);

  DisplayTimer(countdown);
  UpdateCpuUsage();

  if (TriggerHolds(SelectedMethod(), countdown == 0, IdleCountdown == 0)) TriggerFired = -1;
  if (TriggerFired != 0) Execute();
}

void Form1::DisplayTimer(double sec1) {
  // A countdown that is no number at all shows as run out.
  if (!std::isfinite(sec1)) sec1 = 0;
  const double hours = std::trunc(sec1 / 3600);
  const double minutes = std::trunc((sec1 - hours * 3600) / 60);
  const double seconds = std::fmod(RoundHalfEven(sec1), 60);
  Label3.SetCaption(TwoDigits(hours) + ":" + TwoDigits(minutes) + ":" + TwoDigits(seconds));
}

void Form1::Execute() {
  // The entry is known by its text; one that names no operation runs nothing.
  const Operation* row = nullptr;
  for (const Operation& candidate : Operations()) {
    if (Combo1.SelectedText() == candidate.listText) row = &candidate;
  }
  const bool force = Check1.Value() != 0;
  CommandText = OperationCommand(row != nullptr ? row->kind : -1, force);

  SaveSettings(program_);

  platform::ExitCode code = platform::kExitNoOperation;
  bool started = false;
  if (row != nullptr && row->hibernates) {
    try {
      started = program_.Os.power.SetSuspendState(true, true, true) != 0;
    } catch (...) {  // NOLINT(bugprone-empty-catch): the program ends all the same
    }
  } else if (!CommandText.empty()) {
    started = StartCommand(CommandText);
  }
  if (!CommandText.empty()) code = started ? platform::kExitDone : platform::kExitCommandNotStarted;
  program_.Os.process.EndProcess(code);
  // GCC does not take a virtual call for one that never returns, even when
  // the function is declared so.
  std::terminate();
}

bool Form1::StartCommand(const std::string& commandLine) {
  // A failure inside the platform must not keep the program from ending
  // after it; it only counts as a command not started.
  try {
    return program_.Os.process.RunCommandLine(commandLine, kMinimizedFocus);
  } catch (...) {
    return false;
  }
}

void Form1::AddCounter(const std::string& strCounterName, platform::QueryHandle& query) {
  if (CounterCount >= static_cast<std::int32_t>(Counters.size())) return;
  platform::CounterHandle counter = 0;
  program_.Os.pdh.PdhVbAddCounter(query, strCounterName, counter);
  CounterEntry& entry = Counters[static_cast<std::size_t>(CounterCount)];
  entry.Handle = counter;
  entry.Path = strCounterName;
  ++CounterCount;
}

void Form1::UpdateCpuUsage() {
  program_.Os.pdh.PdhCollectQueryData(hQuery);
  platform::Status status = 0;
  const double value = program_.Os.pdh.PdhVbGetDoubleCounterValue(Counters[0].Handle, status);
  const std::optional<double> usage = UsableReading(value, status);
  if (!usage) return;
  Label5.Tag = FormatFixed(*usage, 2);
  Label5.SetCaption(Label5.Tag + "%");
}

}  // namespace quellor
