// What the fuzz targets share: the assertion, the splitting of the input, and
// the properties of firing that hold whatever the switches and settings are,
// for the targets that tick the main window until it fires.
#pragma once

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/number.h"
#include "common/shutdown_commands.h"
#include "fake_platform.h"

// A broken property aborts, so both libFuzzer and the corpus driver report it.
#define FUZZ_CHECK(condition)                                                               \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (false)

// Splits a fuzzer's bytes into the pieces a target needs.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  // A piece of at most 255 bytes, its length given by the next byte.
  std::string Piece() {
    const std::size_t wanted = Byte();
    const std::size_t length = std::min(wanted, size_ - pos_);
    std::string out(reinterpret_cast<const char*>(data_ + pos_), length);
    pos_ += length;
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// The index of the selected method button, checked to be the only one.
inline int SelectedMethod(const quellor::Form1& form) {
  FUZZ_CHECK(std::count_if(form.Option1.begin(), form.Option1.end(),
                           [](const quellor::OptionButton& o) { return o.Value(); }) == 1);
  return form.SelectedMethod();
}

// A text that reads as a whole number from 0 to `limit`.
inline bool IsWholeNumberUpTo(const std::string& text, double limit) {
  double value = -1;
  return quellor::IsPlainNumber(text, &value) && value >= 0 && value <= limit &&
         value == std::floor(value);
}

// Ticks the main window `limit` times at most, every sample reading 0 percent,
// and gives the tick in which it ended, or 0. It ends neither before the
// countdown or the idle count (30 ticks, and only above a 0 % threshold) has
// run out nor after both have; it goes on while the method's condition cannot
// have come. Ending, it has stored the settings, then either started one of
// the system's shutdown command lines for the selected operation, minimized,
// with -f exactly when force close is ticked, or hibernated, forced and
// without wake events, only when that was chosen; and nothing else.
inline int CheckFiring(quellor::fake::Session& s, int limit) {
  const quellor::Form1& form = s.form;
  constexpr int kNever = 1 << 30;
  const double countdown = s.program.CountdownSeconds;
  const int timerTick =
      countdown < 0 ? kNever : std::max(1, static_cast<int>(std::min(std::ceil(countdown), 1e9)));
  const int idleTick = quellor::LeadingNumber(form.Text2.Text()) > 0 ? 30 : kNever;
  const int method = SelectedMethod(form);
  const int tick = s.TicksUntilEnd(limit);
  if (tick != 0) {
    FUZZ_CHECK(tick >= std::min(timerTick, idleTick) && tick <= std::max(timerTick, idleTick));
  } else {
    FUZZ_CHECK((method != 0 && method != 3) || timerTick > limit);
    FUZZ_CHECK((method != 1 && method != 3) || idleTick > limit);
    FUZZ_CHECK(method != 2 || std::max(timerTick, idleTick) > limit);
  }
  const std::string operation = form.Combo1.SelectedText();
  const bool force = form.Check1.Value() != 0;
  const quellor::fake::Events& log = s.process.Log;
  if (tick == 0) FUZZ_CHECK(log.empty());
  if (tick == 0) return tick;
  // The settings (as many as could be stored), what carries the operation out, the end.
  const std::size_t acts = operation.empty() ? 0 : 1;
  FUZZ_CHECK(log.size() >= acts + 1 && log.back() == "end");
  using quellor::platform::kExitDone, quellor::platform::kExitNoOperation;
  FUZZ_CHECK(s.process.Ends.size() == 1 &&
             s.process.Ends[0] == (acts == 0 ? kExitNoOperation : kExitDone));
  for (std::size_t i = 0; i + acts + 1 < log.size(); ++i)
    FUZZ_CHECK(log[i].rfind("store ", 0) == 0);
  if (acts == 0) FUZZ_CHECK(s.process.Runs.empty() && s.power.Suspends.empty());
  if (acts == 0) return tick;
  if (operation == "Hibernate") {
    const quellor::fake::FakePower::Suspend forced{true, true, true};
    FUZZ_CHECK(s.power.Suspends.size() == 1 && s.power.Suspends[0] == forced);
    return tick;
  }
  FUZZ_CHECK(s.power.Suspends.empty() && s.process.Runs.size() == 1);
  const auto& run = s.process.Runs[0];
  const std::string named = std::string(" -") + static_cast<char>(std::tolower(operation[0]));
  FUZZ_CHECK(quellor::ShutdownLaunch("C:\\w", run.commandLine).has_value());
  FUZZ_CHECK(run.commandLine.find(named) == 8 && run.windowStyle == 2);
  FUZZ_CHECK((run.commandLine.find(" -f") != std::string::npos) == force);
  return tick;
}
