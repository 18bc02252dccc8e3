// What a run must do, worked out from the rules of the trigger and the
// operation alone, for the targets that tick the main window until it fires.
#pragma once

#include <algorithm>
#include <cmath>
#include <string>

#include "controller/form1.h"
#include "fake_platform.h"
#include "fuzz_check.h"

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
  int tick = kNever;
  switch (method) {
    case 0:
      tick = timerTick;
      break;
    case 1:
      tick = idleTick;
      break;
    case 2:
      tick = std::max(timerTick, idleTick);
      break;
    case 3:
      tick = std::min(timerTick, idleTick);
      break;
    default:
      break;
  }
  return tick <= limit ? tick : 0;
}

// The command line that the operation selected in the list runs, with force
// close in the given state; "" for hibernation and for no operation.
inline std::string ExpectedCommandLine(const std::string& operation, int forceClose) {
  const bool force = forceClose != 0;
  if (operation == "Shutdown") return force ? "Shutdown -s -f -t 0" : "Shutdown -s -t 0";
  if (operation == "Restart") return force ? "Shutdown -r -f -t 0" : "Shutdown -r -t 0";
  if (operation == "Log Off") return force ? "Shutdown -l -f" : "Shutdown -l";
  return "";
}

// Ticks the main window up to `limit` times: the tick in which the program
// ended, or 0 when it still runs.
inline int TicksUntilEnd(quellor::Form1& form, int limit) {
  for (int tick = 1; tick <= limit; ++tick) {
    try {
      form.Timer1_Timer();
    } catch (const quellor::fake::ProcessEnded&) {
      return tick;
    }
  }
  return 0;
}

// After the trigger fired: exactly the operation selected in the list was
// carried out, once, and the program ended.
inline void CheckOperationCarriedOut(const quellor::fake::FakePlatform& fake,
                                     const quellor::Form1& form) {
  const std::string operation = form.Combo1.SelectedText();
  const std::string expected = ExpectedCommandLine(operation, form.Check1.Value());
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
