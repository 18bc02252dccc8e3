// What the fuzz targets share: the assertion, the splitting of the input, and
// the expectations worked out from the rules of the trigger and the operation
// alone, for the targets that tick the main window until it fires.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/number.h"
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

// The tick (counting from 1) in which the method fires when every sample reads
// 0 percent, or 0 when that is not within `limit` ticks. `countdown` is the
// time left before the first tick; the processor counts as idle from the
// thirtieth tick on when the threshold is above 0, and never otherwise.
inline int ExpectedFiringTick(double countdown, int method, bool thresholdAboveZero, int limit) {
  constexpr int kNever = 1 << 30;
  // The countdown loses one second a tick and stops at 0; a negative one
  // never reaches 0.
  const int timerTick =
      countdown < 0 ? kNever : std::max(1, static_cast<int>(std::min(std::ceil(countdown), 1e9)));
  const int idleTick = thresholdAboveZero ? 30 : kNever;
  const int ticks[] = {timerTick, idleTick, std::max(timerTick, idleTick),
                       std::min(timerTick, idleTick)};
  const int tick = method >= 0 && method < 4 ? ticks[method] : kNever;
  return tick <= limit ? tick : 0;
}

// A text that reads as a whole number from 0 to `limit`.
inline bool IsWholeNumberUpTo(const std::string& text, double limit) {
  double value = -1;
  return quellor::IsPlainNumber(text, &value) && value >= 0 && value <= limit &&
         value == std::floor(value);
}

// Ticks the main window `limit` times at most, every sample reading 0 percent:
// it ends in the tick its method's rule gives, having carried out exactly the
// operation selected in the list, once, with force close as ticked; or it runs
// nothing at all. Gives that tick, or 0.
inline int CheckFiring(quellor::fake::Session& s, int limit) {
  const quellor::Form1& form = s.form;
  const int expected = ExpectedFiringTick(s.program.CountdownSeconds, SelectedMethod(form),
                                          quellor::LeadingNumber(form.Text2.Text()) > 0, limit);
  FUZZ_CHECK(s.TicksUntilEnd(limit) == expected);
  const std::string operation = form.Combo1.SelectedText();
  const bool force = form.Check1.Value() != 0;
  std::string command;
  if (operation == "Shutdown" || operation == "Restart") {
    command = std::string("Shutdown ") + (operation == "Shutdown" ? "-s" : "-r") +
              (force ? " -f -t 0" : " -t 0");
  } else if (operation == "Log Off") {
    command = force ? "Shutdown -l -f" : "Shutdown -l";
  }
  const bool fired = expected != 0;
  FUZZ_CHECK(s.process.Ends.size() == (fired ? 1u : 0u));
  using quellor::platform::kExitDone, quellor::platform::kExitNoOperation;
  FUZZ_CHECK(!fired || s.process.Ends[0] == (operation.empty() ? kExitNoOperation : kExitDone));
  FUZZ_CHECK(s.process.Runs.size() == (fired && !command.empty() ? 1u : 0u));
  for (const auto& run : s.process.Runs) {
    FUZZ_CHECK(run.commandLine == command && run.windowStyle == 2);
  }
  FUZZ_CHECK(s.power.Suspends.size() == (fired && operation == "Hibernate" ? 1u : 0u));
  for (const auto& suspend : s.power.Suspends) {
    FUZZ_CHECK(suspend.hibernate && suspend.force && suspend.disableWakeEvent);
  }
  return expected;
}
