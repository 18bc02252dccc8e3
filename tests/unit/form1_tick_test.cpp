// The one-second tick: countdown, idle count, the methods' firing ticks, and
// the countdown display.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "main_window_fixture.h"
#include "settings/settings.h"

namespace quellor::testing {
namespace {

using TickTest = MainWindowTest;

TEST_F(TickTest, TimerFiresWhenTheCountdownReachesZero) {
  Start("-o0 -s");  // no -f: force close clear
  form.Timer1_Timer();
  EXPECT_EQ(form.Label3.Caption(), "00:00:09");
  EXPECT_EQ(TicksUntilEnd(20), 9);  // the tenth tick
  EXPECT_EQ(form.Label3.Caption(), "00:00:00");
  EXPECT_EQ(OnlyRun(), "Shutdown -s -t 0");
  // Stored first, with the full length rather than the 0 it ran down to.
  const auto* timeOut = fake.registry.Find(kSettingsKey, "Time Out");
  ASSERT_NE(timeOut, nullptr);
  EXPECT_EQ(timeOut->data, (std::vector<std::uint8_t>{10, 0, 0, 0}));
}

TEST(TickEdges, TimerWithAtMostOneSecondFiresInTheNextTick) {
  // 0.5 comes from a timer-dialog field OK'd while it had the focus.
  for (double left : {0.0, 0.5, 1.0}) {
    Session s;
    s.Start("-o0");
    s.program.CountdownSeconds = left;
    EXPECT_EQ(s.TicksUntilEnd(1), 1) << left;
    EXPECT_EQ(s.form.Label3.Caption(), "00:00:00");
  }
}

TEST_F(TickTest, IdleCountComparesThePreviousSampleWithTheThreshold) {
  fake.pdh.Samples = {{1.50, 0}, {1.99, 0}, {2.00, 0}, {0, 0}};
  Start();  // threshold 2; start-up takes the 1.50
  form.Timer1_Timer();
  EXPECT_EQ(form.IdleCountdown, 29);
  form.Timer1_Timer();
  EXPECT_EQ(form.IdleCountdown, 28);
  form.Timer1_Timer();  // reads 2.00: not under the threshold
  EXPECT_EQ(form.IdleCountdown, 30);
}

TEST_F(TickTest, CpuIdleNeedsThirtyIdleTicksInARow) {
  Queue(10, 29);  // start-up and ticks 1..28
  Queue(80, 1);   // taken in tick 29, read in tick 30
  Queue(10, 40);
  Start("-o1 -c50 -r");
  EXPECT_EQ(TicksUntilEnd(100), 60);
  EXPECT_EQ(OnlyRun(), "Shutdown -r -t 0");
}

TEST_F(TickTest, TimerAndCpuWaitsAtZeroForTheIdleProcessor) {
  Queue(90, 20);  // busy through tick 20
  Queue(5, 40);
  Start("-f -c50");  // method 2 from the defaults
  EXPECT_EQ(TicksUntilEnd(49), 0);
  EXPECT_EQ(form.Label3.Caption(), "00:00:00");
  EXPECT_EQ(TicksUntilEnd(1), 1);  // tick 50: the thirtieth idle one
  EXPECT_EQ(OnlyRun(), "Shutdown -s -f -t 0");
}

TEST_F(TickTest, TimerOrCpuFiresOnWhicheverComesFirst) {
  fake.pdh.Steady = fake::Sample{90, 0};
  Start("-o3 -c50 -t12");
  EXPECT_EQ(TicksUntilEnd(20), 12);  // busy: the countdown decides

  Session idle;
  idle.fake.pdh.Steady = fake::Sample{1, 0};
  idle.Start("-o3 -c50 -t100");
  EXPECT_EQ(idle.TicksUntilEnd(40), 30);  // idle: the processor decides
}

TEST_F(TickTest, NothingFiresWithoutASelectedMethod) {
  Start();
  for (auto& button : form.Option1) button.Clear();
  program.CountdownSeconds = 0;
  form.IdleCountdown = 0;
  EXPECT_EQ(TicksUntilEnd(3), 0);
  EXPECT_EQ(form.TriggerFired, 0);
}

TEST_F(TickTest, DisplayTimerWritesHoursMinutesSeconds) {
  const struct {
    double seconds;
    const char* shown;
  } kCases[] = {{0, "00:00:00"},       {3661, "01:01:01"},  {59, "00:00:59"},  {86399, "23:59:59"},
                {360000, "100:00:00"}, {2.5, "00:00:02"},   {3.5, "00:00:04"}, {59.5, "00:00:00"},
                {61.5, "00:01:02"},    {7199.5, "01:59:00"}};
  for (const auto& c : kCases) {
    form.DisplayTimer(c.seconds);
    EXPECT_EQ(form.Label3.Caption(), c.shown) << c.seconds;
  }
}

TEST_F(TickTest, DisplayTimerCopesWithValuesNoCountdownHolds) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double odd : {std::nan(""), inf, -inf}) {
    form.DisplayTimer(odd);
    EXPECT_EQ(form.Label3.Caption(), "00:00:00");
  }
  form.DisplayTimer(1e300);  // hours written out in full
  EXPECT_EQ(form.Label3.Caption().rfind("27777777777777", 0), 0u) << form.Label3.Caption();
  EXPECT_EQ(form.Label3.Caption().find_first_of("einf"), std::string::npos);
}

}  // namespace
}  // namespace quellor::testing
