// What the fuzz targets share: the headers they all need, the assertion, the
// splitting of the input, and the properties of firing that hold whatever the
// switches and settings are.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "common/number.h"
#include "common/shutdown_commands.h"
#include "fake_platform.h"

// A broken property aborts, so both libFuzzer and the corpus driver report it.
#define FUZZ_CHECK(...)                                                                       \
  do {                                                                                        \
    if (!(__VA_ARGS__)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #__VA_ARGS__); \
      std::abort();                                                                           \
    }                                                                                         \
  } while (false)

inline constexpr const char* kSystemFolder = "C:\\Windows\\system32";

// Hands out a fuzzer's bytes one at a time, or as a piece of at most 255
// bytes whose length is the byte before it; 0 and "" once they run out.
struct FuzzInput {
  std::uint8_t Byte() { return Rest.empty() ? 0 : static_cast<std::uint8_t>(Take(1)[0]); }
  std::string Piece() { return std::string(Take(Byte())); }
  std::string_view Take(std::size_t length) {
    const std::string_view out = Rest.substr(0, length);
    Rest.remove_prefix(out.size());
    return out;
  }
  std::string_view Rest;
};

// A text that reads as a whole number from 0 to `limit`.
inline bool IsWholeNumberUpTo(const std::string& text, double limit) {
  double value = -1;
  return quellor::IsPlainNumber(text, &value) && value >= 0 && value <= limit &&
         value == std::floor(value);
}

// Ticks the main window up to `limit` times, every sample reading 0 %, and
// gives the tick in which it ended, or 0. The countdown is over in tick
// ceil(countdown), at least 1 (never when below 0); the processor idle in
// the tick that completes the idle count, only above a 0 % threshold. It
// ends in the first tick in which its method's condition holds, so never
// before the earlier of the two nor after the later, and not at all before
// the condition can hold. Ending, it has stored the settings (unless the
// registry refuses them), then carried out the selected operation once, as
// the system folder's shutdown.exe with one of the program's own command
// lines, minimized, or hibernated (forced,
// without wake events) only when that is selected; then ended with the exit
// code that says so.
inline int CheckFiring(quellor::fake::Session& s, int limit) {
  constexpr int kNever = 1 << 30;
  const double countdown = s.program.CountdownSeconds;
  const int timer =
      countdown < 0 ? kNever : static_cast<int>(std::clamp(std::ceil(countdown), 1.0, 1e9));
  const int idle =
      quellor::LeadingNumber(s.form.Text2.Text()) > 0 ? quellor::kIdleTicksRequired : kNever;
  const int due[] = {timer, idle, std::max(timer, idle), std::min(timer, idle)};
  const auto method = static_cast<std::size_t>(s.form.SelectedMethod());
  const int expected = method < 4 && due[method] <= limit ? due[method] : 0;
  const std::string operation = s.form.Combo1.SelectedText();
  s.pdh.Samples = {{0.0}};
  const int tick = s.TicksUntilEnd(limit);
  const quellor::fake::Events& log = s.process.Log;
  FUZZ_CHECK(tick == expected && (tick != 0 || log.empty()));
  if (tick == 0) return 0;
  const std::size_t acts = operation.empty() ? 0 : 1;
  const std::size_t stores = s.registry.Unwritable ? 0 : quellor::fake::kSettingNames.size();
  FUZZ_CHECK(log.size() == stores + acts + 1 && log.back() == "end");
  for (std::size_t i = 0; i < stores; ++i) FUZZ_CHECK(log[i].rfind("store ", 0) == 0);
  using quellor::platform::kExitDone, quellor::platform::kExitNoOperation;
  FUZZ_CHECK(s.process.Ends == std::vector{acts != 0 ? kExitDone : kExitNoOperation});
  const bool hibernate = operation == "Hibernate";
  using Suspend = quellor::fake::FakePower::Suspend;
  FUZZ_CHECK(s.power.Suspends == std::vector<Suspend>(hibernate ? acts : 0, {true, true, true}));
  FUZZ_CHECK(s.process.Runs.size() == (hibernate ? 0 : acts));
  for (const auto& run : s.process.Runs) {
    const auto launch = quellor::ShutdownLaunch(kSystemFolder, run.commandLine);
    FUZZ_CHECK(launch && launch->Application == std::string(kSystemFolder) + "\\shutdown.exe" &&
               run.windowStyle == quellor::platform::kWindowStyleMinimizedFocus);
  }
  return tick;
}
