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

// The index of the one selected method button (checked to be one).
inline int SelectedMethod(const quellor::Form1& form) {
  int method = -1;
  for (std::size_t i = 0; i < form.Option1.size(); ++i) {
    if (!form.Option1[i].Value()) continue;
    FUZZ_CHECK(method == -1);
    method = static_cast<int>(i);
  }
  FUZZ_CHECK(method != -1);
  return method;
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

// The command lines the program may ever start.
inline bool IsAllowedCommandLine(const std::string& line) {
  for (const char* allowed : {"Shutdown -s -f -t 0", "Shutdown -s -t 0", "Shutdown -r -f -t 0",
                              "Shutdown -r -t 0", "Shutdown -l -f", "Shutdown -l", "Shutdown -a"}) {
    if (line == allowed) return true;
  }
  return false;
}

// After the trigger fired: exactly the operation selected in the list was
// carried out, once, with force close as ticked, and the program ended.
inline void CheckOperationCarriedOut(const quellor::fake::FakePlatform& fake,
                                     const quellor::Form1& form) {
  const std::string operation = form.Combo1.SelectedText();
  const bool force = form.Check1.Value() != 0;
  std::string expected;
  if (operation == "Shutdown" || operation == "Restart") {
    expected = std::string("Shutdown ") + (operation == "Shutdown" ? "-s" : "-r") +
               (force ? " -f -t 0" : " -t 0");
  } else if (operation == "Log Off") {
    expected = force ? "Shutdown -l -f" : "Shutdown -l";
  }
  FUZZ_CHECK(fake.process.Ends == 1);
  FUZZ_CHECK(fake.process.Runs.size() == (expected.empty() ? 0u : 1u));
  for (const auto& run : fake.process.Runs) {
    FUZZ_CHECK(run.commandLine == expected && run.windowStyle == 2);
  }
  FUZZ_CHECK(fake.power.Suspends.size() == (operation == "Hibernate" ? 1u : 0u));
  for (const auto& suspend : fake.power.Suspends) {
    FUZZ_CHECK(suspend.hibernate && suspend.force && suspend.disableWakeEvent);
  }
}
