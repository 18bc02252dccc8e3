// The decisions the handlers apply, each over its whole input space: the
// trigger, the idle count, the operation's command line, the usable usage
// reading, the timer dialog's countdown and the command line's switches.
#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "controller/decision_rules.h"
#include "controller/form1.h"
#include "timer_dialog/form3.h"

namespace quellor {
namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// clang-format off
TEST(Rules, TriggerHoldsAsEachMethodCombinesTheCountdownAndTheIdleProcessor) {
  // Whether it holds with neither done, the processor idle only, the countdown done only, both.
  struct Case { int method; bool neither, idleOnly, timerOnly, both; };
  const Case kCases[] = {
      {.method = -1, .neither = false, .idleOnly = false, .timerOnly = false, .both = false},
      {.method = kMethodTimer, .neither = false, .idleOnly = false, .timerOnly = true, .both = true},
      {.method = kMethodCpuIdle, .neither = false, .idleOnly = true, .timerOnly = false, .both = true},
      {.method = kMethodTimerAndCpu, .neither = false, .idleOnly = false, .timerOnly = false, .both = true},
      {.method = kMethodTimerOrCpu, .neither = false, .idleOnly = true, .timerOnly = true, .both = true},
      {.method = 4, .neither = false, .idleOnly = false, .timerOnly = false, .both = false}};
  for (const Case& c : kCases) {
    const bool holds[] = {c.neither, c.idleOnly, c.timerOnly, c.both};
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(TriggerHolds(c.method, i >= 2, i % 2 == 1), holds[i]) << c.method << ", " << i;
    }
  }
}

TEST(Rules, IdleCountRunsDownToZeroOnlyWhileTheUsageIsUnderTheThreshold) {
  struct Case { int count; double threshold, usage; int next; };
  constexpr int kFull = kIdleTicksRequired;
  const Case kCases[] = {
      {.count = kFull, .threshold = 2, .usage = 1.99, .next = kFull - 1}, {.count = kFull, .threshold = 2, .usage = 2, .next = kFull},
      {.count = 7, .threshold = 2, .usage = 2.01, .next = kFull},  {.count = 1, .threshold = 50, .usage = 10, .next = 0},
      {.count = 0, .threshold = 50, .usage = 10, .next = 0},    {.count = 7, .threshold = 0, .usage = 0, .next = kFull},
      {.count = 7, .threshold = 100, .usage = kNan, .next = kFull}, {.count = 7, .threshold = kNan, .usage = 0, .next = kFull}};
  EXPECT_EQ(kIdleTicksRequired, 30);  // thirty one-second ticks in a row
  for (const Case& c : kCases) {
    EXPECT_EQ(NextIdleCount(c.count, c.threshold, c.usage), c.next) << c.count << " at " << c.usage << " under " << c.threshold;
  }
}

TEST(Rules, EachOperationRunsItsOwnCommandLineWithForceAsChosen) {
  struct Case { int operation; const char *plain, *forced; };
  const Case kCases[] = {
      {.operation = -1, .plain = "", .forced = ""},
      {.operation = kOperationShutdown, .plain = "Shutdown -s -t 0", .forced = "Shutdown -s -f -t 0"},
      {.operation = kOperationRestart, .plain = "Shutdown -r -t 0", .forced = "Shutdown -r -f -t 0"},
      {.operation = kOperationLogOff, .plain = "Shutdown -l", .forced = "Shutdown -l -f"},
      {.operation = kOperationHibernate, .plain = "Hibernate", .forced = "Hibernate"},
      {.operation = 4, .plain = "", .forced = ""}};
  for (const Case& c : kCases) {
    EXPECT_EQ(OperationCommand(c.operation, false), c.plain) << c.operation;
    EXPECT_EQ(OperationCommand(c.operation, true), c.forced) << c.operation;
  }
}

TEST(Rules, OnlyAFiniteReadingWithAGoodStatusIsAUsage) {
  struct Case { double value; platform::Status status; std::optional<double> usage; };
  const Case kCases[] = {
      {.value = 3.25, .status = platform::kPdhCstatusValidData, .usage = 3.25},
      {.value = 0, .status = platform::kPdhCstatusNewData, .usage = 0},
      {.value = 3.25, .status = 2, .usage = std::nullopt},
      {.value = 3.25, .status = -1, .usage = std::nullopt},
      {.value = 3.25, .status = static_cast<platform::Status>(0x800007D5u), .usage = std::nullopt},
      {.value = kNan, .status = platform::kPdhCstatusValidData, .usage = std::nullopt},
      {.value = kInf, .status = platform::kPdhCstatusNewData, .usage = std::nullopt},
      {.value = -kInf, .status = platform::kPdhCstatusValidData, .usage = std::nullopt}};
  for (const Case& c : kCases) EXPECT_EQ(UsableReading(c.value, c.status), c.usage) << c.value << " status " << c.status;
}

TEST(Rules, DialogCountdownTakesADurationOrTheNextSuchTimeOfDayAndRefusesTheRest) {
  struct Case { bool clock; double h, m, s; platform::LocalTime now = {}; std::optional<double> countdown = {}; };
  const Case kCases[] = {
      {.clock = false, .h = 0, .m = 0, .s = 10},
      {.clock = false, .h = 0, .m = 0, .s = 11, .countdown = 11},
      {.clock = false, .h = 1, .m = 30, .s = 0, .now = {5, 0, 0}, .countdown = 5400},
      {.clock = false, .h = 0, .m = 75, .s = 0, .countdown = 4500},
      {.clock = false, .h = 0, .m = 0, .s = 10.5, .countdown = 10.5},
      {.clock = false, .h = -1, .m = 0, .s = 0, .countdown = 82800},
      {.clock = false, .h = -24, .m = 0, .s = 0, .countdown = 0},
      {.clock = false, .h = -30, .m = 0, .s = 0},  // still negative after the day
      {.clock = false, .h = 600000, .m = 0, .s = 0},
      {.clock = false, .h = 0, .m = 0, .s = 2147483647, .countdown = 2147483647},
      {.clock = false, .h = kInf, .m = -kInf, .s = 0},
      {.clock = true, .h = 23, .m = 0, .s = 0, .now = {22, 0, 0}, .countdown = 3600},
      {.clock = true, .h = 21, .m = 0, .s = 0, .now = {22, 0, 0}, .countdown = 82800},
      {.clock = true, .h = 22, .m = 0, .s = 0, .now = {22, 0, 0}},
      {.clock = true, .h = 0, .m = 0, .s = 0, .now = {23, 59, 55}, .countdown = 5},
      {.clock = true, .h = 24, .m = 0, .s = 0, .now = {13, 14, 15}, .countdown = 38745},
      {.clock = true, .h = 12, .m = 1, .s = 2, .now = {12, 0, 0}, .countdown = 62}};
  for (const Case& c : kCases) {
    EXPECT_EQ(DialogCountdown(c.clock, c.h, c.m, c.s, c.now), c.countdown)
        << c.h << ":" << c.m << ":" << c.s << (c.clock ? " at " : " from ") << c.now.hour << ":" << c.now.minute << ":" << c.now.second;
  }
}

TEST(Rules, SwitchesAreReadFirstOccurrenceOnlyRoundedAndRangeChecked) {
  struct Case { const char* line; bool hibernateAllowed = true; Switches read; };
  const Case kCases[] = {
      {.line = "-t 1 2 -c 007 -o3 -f", .read = {.countdown = 12, .threshold = 7, .method = 3, .force = true}},
      {.line = "-t5 -t9 -c100 -o0", .read = {.countdown = 5, .threshold = 100, .method = 0}},
      {.line = "-t2.5 -c0", .read = {.countdown = 2, .threshold = 0}},
      {.line = "-t&H10", .read = {.countdown = 16}},
      {.line = "-t32767", .read = {.countdown = 32767}},
      {.line = "-t0.4 -c101 -o4", .read = {}},
      {.line = "-t-1 -c-1 -o-1", .read = {}},
      {.line = "-t40000 -T5 -c -o", .read = {.threshold = 0, .method = 0}},
      {.line = "-l -r -s -h -?", .read = {.operation = kOperationLogOff}},
      {.line = "-r -s -h", .read = {.operation = kOperationRestart}},
      {.line = "-s -h", .read = {.operation = kOperationShutdown}},
      {.line = "-h -?", .read = {.operation = kOperationHibernate}},
      {.line = "-h -?", .hibernateAllowed = false, .read = {.help = true}},
      {.line = "-h", .hibernateAllowed = false, .read = {}},
      {.line = "-? -f", .read = {.force = true, .help = true}},
      {.line = "-S -L -R -H -F", .read = {}}};
  for (const Case& c : kCases) {
    EXPECT_EQ(ReadSwitches(c.line, c.hibernateAllowed), c.read) << c.line << (c.hibernateAllowed ? "" : " without hibernation");
  }
}
// clang-format on

}  // namespace
}  // namespace quellor
