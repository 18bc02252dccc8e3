// The main window on the fake platform: start-up and its defaults, the
// reading of numbers and the command-line switches, the one-second tick, the
// operation run when the trigger fires, and the window's own controls.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "common/number.h"
#include "fake_platform.h"
#include "settings/settings.h"

namespace quellor::fake {
namespace {

using Strings = std::vector<std::string>;
constexpr double kInf = std::numeric_limits<double>::infinity();

class MainWindow : public ::testing::Test, protected Session {};

TEST_F(MainWindow, FirstRunShowsTheBuiltInDefaults) {
  form.SetHandle(0x77);
  pdh.Samples = {{3.25, 0}};
  Start();
  EXPECT_EQ(form.Timer1.Interval(), 1000u);  // the countdown counts seconds
  EXPECT_EQ(form.Label8.Caption(), "Quellor");
  EXPECT_EQ(form.Label3.Caption(), "00:00:10");
  EXPECT_EQ(pdh.Calls,
            (Strings{"open", std::string("add ") + kProcessorCounterPath, "collect", "read"}));
  EXPECT_EQ(form.Label5.Caption(), "3.25%");
  // The stored always-on-top choice is applied last.
  EXPECT_EQ(user32.Calls, (Strings{"SetWindowPos 119 -1 0 0 0 0 3"}));
}

TEST(Numbers, LeadingNumberReadsTheStartOfATextAndFormattingRoundsHalvesAway) {
  const std::pair<const char*, double> kNumbers[] = {
      {" 1 2", 12},     {"90 -c20", 90},  {"50%", 50},    {"abc", 0},     {"", 0},
      {"\t\n7", 7},     {"-3.25", -3.25}, {"+4", 4},      {"1.5.5", 1.5}, {".5", 0.5},
      {"-", 0},         {"&H10", 16},     {"&hff", 255},  {"&O17", 15},   {"&O8", 0},
      {"&X1", 0},       {"1e3", 1000},    {"2D2", 200},   {"5e-1", 0.5},  {"7E", 7},
      {"1 e 2", 100},   {"2-o2", 2},      {"1e12", 1e12}, {"1e-400", 0},  {"1e309", kInf},
      {"-1e309", -kInf}};
  for (const auto& [text, value] : kNumbers) EXPECT_DOUBLE_EQ(LeadingNumber(text), value) << text;
  // On the decimal digits, the fifteenth significant one deciding.
  const struct {
    double value;
    int decimals;
    const char* text;
  } kFormats[] = {// clang-format off
      {2.5, 0, "3"}, {-0.3, 0, "0"}, {-0.001, 2, "0.00"}, {1.005, 2, "1.01"},
      {99.995, 2, "100.00"}, {-2.675, 2, "-2.68"}, {1.2345e-7, 2, "0.00"},
      {1e20, 0, "100000000000000000000"}, {12345678901234.5, 0, "12345678901235"}};
  // clang-format on
  for (const auto& f : kFormats) EXPECT_EQ(FormatFixed(f.value, f.decimals), f.text) << f.value;
}

TEST(CommandLine, NumbersAreReadRoundedAndRangeCheckedFirstOccurrenceOnly) {
  // Defaults: countdown 10, threshold "2", method 2. Which operation and
  // whether force close is ticked, the command-line fuzz target works out.
  // The line, the countdown and its stored length, the threshold and the method.
  const std::tuple<const char*, double, int, const char*, std::size_t> kCases[] = {
      // clang-format off
      {"-t 1 2", 12, 12, "2", 2},  {"-t90-c20", 90, 90, "20", 2}, {"-t5 -t9", 5, 5, "2", 2},
      {"-T5", 10, 10, "2", 2},     {"-t2.5", 2, 2, "2", 2},       {"-t0.4", 10, 10, "2", 2},
      {"-t&H10", 16, 16, "2", 2},  {"-t40000", 10, 10, "2", 2},   {"-c", 10, 10, "0", 2},
      {"-o", 10, 10, "2", 0},      {"-c 007", 10, 10, "7", 2},    {"-c101", 10, 10, "2", 2},
      {"-o4", 10, 10, "2", 2},     {"-t5 -o1", 10, 5, "2", 1},    {"-t32767", 32767, 32767, "2", 2},
      // clang-format on
  };
  for (const auto& [line, countdown, timeOut, threshold, method] : kCases) {
    SCOPED_TRACE(line);
    Session s;
    s.Start(line);
    EXPECT_EQ(s.program.CountdownSeconds, countdown);
    EXPECT_EQ(s.program.TimeOutSeconds, timeOut);
    EXPECT_EQ(s.form.Text2.Text(), threshold);
    EXPECT_TRUE(s.form.Option1[method].Value());
  }
}

TEST_F(MainWindow, FailedQueryShowsOnlyTheMessageAndEnds) {
  pdh.OpenStatus = 5;
  EXPECT_THROW(Start("-t60"), ProcessEnded);
  EXPECT_EQ(user32.Calls, (Strings{"MessageBox OpenQuery failed | Quellor"}));
  EXPECT_EQ(pdh.Calls, (Strings{"open"}));
}

TEST_F(MainWindow, AbortRunsTheAbortCommandThenStoresTheSettingsAndEnds) {
  Start();
  EXPECT_THROW(form.Label10.OnClick(), ProcessEnded);
  ASSERT_EQ(process.Runs.size(), 1u);
  EXPECT_EQ(process.Runs[0].commandLine, "Shutdown -a");
  EXPECT_NE(registry.Find(kSettingsKey, "Always Top"), nullptr);
}

TEST(Trigger, TheIdleCountRunsWhileTheUsageIsUnderTheThresholdWhichLeavingMakesWhole) {
  // The tick compares the sample of the previous tick (here: start-up's)
  // with the threshold as it stands, typed or not; leaving the box rounds
  // it and restarts the idle count.
  // What is typed, the usage, the idle count after one tick (from 30) and
  // the threshold once the box is left.
  const std::tuple<const char*, double, int, const char*> kCases[] = {
      // clang-format off
      {"2", 1.99, 29, "2"}, {"2", 2.00, 30, "2"}, {"2", 2.01, 30, "2"}, {"0", 0, 30, "0"},
      {"50%", 49.99, 29, "50"}, {"abc", 0, 30, "0"}, {"100", 99.99, 29, "100"},
      {"99.5", 200, 30, "100"}, {"100.6", 200, 30, "100"}, {"12.5", 200, 30, "13"},
      {"7.49", 200, 30, "7"}, {"0.6", 200, 30, "1"}, {"-0.3", 200, 30, "0"}, {"-3", 200, 30, "0"}};
  // clang-format on
  for (const auto& [typed, usage, idleCount, checked] : kCases) {
    SCOPED_TRACE(std::string(typed) + " against " + std::to_string(usage));
    Session s;
    s.pdh.Samples = {{usage, 0}};
    s.Start("-t100");
    s.form.Text2.TextTypedByUser(typed);
    s.form.Timer1_Timer();
    EXPECT_EQ(s.form.IdleCountdown, idleCount);
    s.form.IdleCountdown = 7;
    s.form.Text2.OnLostFocus();
    EXPECT_EQ(s.form.Text2.Text(), checked);
    EXPECT_EQ(s.form.IdleCountdown, 30);
  }
}

TEST_F(MainWindow, DisplayTimerWritesHoursMinutesSecondsOfAnyValue) {
  const std::pair<double, const char*> kCases[] = {
      {0, "00:00:00"},      {3661, "01:01:01"},         {86399, "23:59:59"}, {360000, "100:00:00"},
      {2.5, "00:00:02"},    {3.5, "00:00:04"},          {59.5, "00:00:00"},  {61.5, "00:01:02"},
      {7199.5, "01:59:00"}, {std::nan(""), "00:00:00"}, {kInf, "00:00:00"},  {-kInf, "00:00:00"}};
  for (const auto& [seconds, shown] : kCases) {
    form.DisplayTimer(seconds);
    EXPECT_EQ(form.Label3.Caption(), shown) << seconds;
  }
  form.DisplayTimer(1e300);  // hours written out in full
  EXPECT_EQ(form.Label3.Caption().rfind("27777777777777", 0), 0u) << form.Label3.Caption();
  EXPECT_EQ(form.Label3.Caption().find_first_of("einf"), std::string::npos);
}

TEST(Trigger, EachMethodFiresInTheTickItsRuleGivesAndRunsTheChosenOperation) {
  // The line; samples 90 % in [from, to), 10 % otherwise; the tick that
  // fires (0: none within 100) and the command run ("": none).
  const std::tuple<const char*, int, int, int, const char*> kCases[] = {
      // clang-format off
      {"-o0 -c50 -t12", 0, 0, 12, "Shutdown -s -t 0"},
      {"-o0 -t1 -f", 0, 0, 10, "Shutdown -s -f -t 0"},  // choosing the method raised it
      {"-o0 -t1 -r", 0, 0, 10, "Shutdown -r -t 0"},
      {"-o0 -t1 -l -f", 0, 0, 10, "Shutdown -l -f"},  // log-off takes no delay
      {"-o0 -t1 -h", 0, 0, 10, ""},  // hibernates
      {"-o1 -c50 -r", 29, 30, 60, "Shutdown -r -t 0"},  // idle count restarts at tick 30
      {"-o1 -c0", 0, 0, 0, ""},                         // nothing is under 0 %
      {"-f -c50", 0, 20, 50, "Shutdown -s -f -t 0"},    // AND waits for 30 idle ticks
      {"-f -c50 -t40", 0, 0, 40, "Shutdown -s -f -t 0"},  // AND waits for the countdown
      {"-o3 -c50 -t12", 0, 200, 12, "Shutdown -s -t 0"},  // OR: busy, the countdown decides
      {"-o3 -c50 -t99 -l", 0, 0, 30, "Shutdown -l"},      // OR: idle first
      // clang-format on
  };
  for (const auto& [line, busyFrom, busyTo, tick, run] : kCases) {
    SCOPED_TRACE(line);
    Session s;
    for (int i = 0; i < 200; ++i)
      s.pdh.Samples.push_back({i >= busyFrom && i < busyTo ? 90.0 : 10.0});
    s.Start(line);
    EXPECT_EQ(s.TicksUntilEnd(100), tick);
    EXPECT_EQ(s.process.Ends, tick != 0 ? 1 : 0);
    const FakeProcess::Run minimized{run, platform::kWindowStyleMinimizedFocus};
    EXPECT_EQ(s.process.Runs, std::vector<FakeProcess::Run>(*run != 0 ? 1 : 0, minimized));
    const bool hibernates = std::string(line).find("-h") != std::string::npos;
    // Hibernation is forced, and no wake event may end it.
    const FakePower::Suspend forced{true, true, true};
    EXPECT_EQ(s.power.Suspends, std::vector<FakePower::Suspend>(hibernates ? 1 : 0, forced));
    // The settings are stored before the operation runs.
    EXPECT_EQ(s.registry.Find(kSettingsKey, "Always Top") != nullptr, tick != 0);
  }
}

TEST(Operation, StoresTheSettingsThenRunsOnceAndEndsWhateverThePlatformDoes) {
  struct Case {
    const char* line;
    int force;   // Check1 as the tick finds it; greyed counts as ticked
    bool fails;  // the run or the suspension throws
    const char* acts;
  };
  const Case kCases[] = {
      {.line = "-o0 -t12", .force = 2, .fails = false, .acts = "run Shutdown -s -f -t 0"},
      {.line = "-o0 -t12 -l", .force = 0, .fails = true, .acts = "run Shutdown -l"},
      {.line = "-o0 -t12 -h", .force = 1, .fails = true, .acts = "suspend"}};
  for (const Case& c : kCases) {
    Session s;
    s.Start(c.line);
    s.form.Check1.SetValue(c.force);
    s.process.RunFails = s.power.Fails = c.fails;
    EXPECT_EQ(s.TicksUntilEnd(20), 12) << c.line;
    Events stored;
    for (const char* name : kSettingNames) stored.push_back(std::string("store ") + name);
    stored.insert(stored.end(), {c.acts, "end"});
    EXPECT_EQ(s.process.Log, stored) << c.line;
  }
}

TEST(Closing, FromOutsideRunsAndStoresNothingAndEndsInEitherMode) {
  for (const char* line : {"-t60", "-? -f"}) {
    Session s;
    s.user32.DuringEventLoop = [&] {
      // Only the OK that ends the program shows for a help switch.
      EXPECT_FALSE(s.program.form2.Label2.Visible() || s.program.form2.Label2.Enabled());
      s.program.form2.CloseRequested();
    };
    try {
      s.Start(line);
      s.form.CloseRequested();
    } catch (const ProcessEnded&) {
    }
    EXPECT_EQ(s.process.Log, Events{"end"}) << line;
    EXPECT_FALSE(s.registry.HasKey(kAppKey)) << line;
  }
}

}  // namespace
}  // namespace quellor::fake
