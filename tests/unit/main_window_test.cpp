// The main window on the fake platform: start-up and its defaults, the
// reading of numbers and the command-line switches, the one-second tick, the
// operation run when the trigger fires, the window's own controls, and the
// faults of the system services that the program survives with its usual
// outcome.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
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
  EXPECT_TRUE(form.Visible());
  EXPECT_TRUE(form.Timer1.Enabled());
  EXPECT_EQ(form.Timer1.Interval(), 1000u);  // the countdown counts seconds
  EXPECT_EQ(form.Label8.Caption(), "Quellor");
  EXPECT_EQ(form.Combo1.SelectedText(), "Shutdown");
  EXPECT_EQ(form.Check1.Value(), 1);
  EXPECT_EQ(form.Check2.Value(), 1);
  EXPECT_EQ(form.Text2.Text(), "2");
  EXPECT_TRUE(form.Text2.Enabled());
  EXPECT_TRUE(form.Option1[kMethodTimerAndCpu].Value());
  EXPECT_EQ(form.Label3.Caption(), "00:00:10");
  EXPECT_EQ(pdh.Calls,
            (Strings{"open", std::string("add ") + kProcessorCounterPath, "collect", "read"}));
  EXPECT_EQ(form.Label5.Caption(), "3.25%");
  // The stored always-on-top choice is applied last.
  EXPECT_EQ(user32.Calls, (Strings{"SetWindowPos 119 -1 0 0 0 0 3"}));
}

TEST(Numbers, LeadingNumberReadsTheStartOfATextAndRoundingsDiffer) {
  const struct {
    const char* text;
    double value;
  } kCases[] = {
      {" 1 2", 12},      {"90 -c20", 90},  {"50%", 50},    {"abc", 0},     {"", 0},
      {"\t\n7", 7},      {"-3.25", -3.25}, {"+4", 4},      {"1.5.5", 1.5}, {".5", 0.5},
      {"-", 0},          {"&H10", 16},     {"&hff", 255},  {"&O17", 15},   {"&O8", 0},
      {"&X1", 0},        {"1e3", 1000},    {"2D2", 200},   {"5e-1", 0.5},  {"7E", 7},
      {"1 e 2", 100},    {"2-o2", 2},      {"1e12", 1e12}, {"1e-400", 0},  {"1e309", kInf},
      {"-1e309", -kInf},
  };
  for (const auto& c : kCases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << c.text;

  // Formatting rounds them away from zero, on the decimal digits; the
  // fifteenth significant digit decides.
  const struct {
    double value;
    int decimals;
    const char* text;
  } kFormats[] = {{2.5, 0, "3"},
                  {-0.3, 0, "0"},
                  {-0.001, 2, "0.00"},
                  {1.005, 2, "1.01"},
                  {99.995, 2, "100.00"},
                  {-2.675, 2, "-2.68"},
                  {1.2345e-7, 2, "0.00"},
                  {1e20, 0, "100000000000000000000"},
                  {12345678901234.5, 0, "12345678901235"}};
  for (const auto& f : kFormats) EXPECT_EQ(FormatFixed(f.value, f.decimals), f.text) << f.value;
  EXPECT_EQ(FormatTwoDigits(-7), "-07");
  EXPECT_EQ(FormatTwoDigits(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST(CommandLine, NumbersAreReadRoundedAndRangeCheckedFirstOccurrenceOnly) {
  // Defaults: countdown 10, threshold "2", method 2. Which operation and
  // whether force close is ticked, the command-line fuzz target works out.
  const struct {
    const char* line;
    double countdown;
    int timeOut;
    const char* threshold;
    int method;
  } kCases[] = {
      // clang-format off
      {"-t 1 2", 12, 12, "2", 2},  {"-t90-c20", 90, 90, "20", 2}, {"-t5 -t9", 5, 5, "2", 2},
      {"-T5", 10, 10, "2", 2},     {"-t2.5", 2, 2, "2", 2},       {"-t0.4", 10, 10, "2", 2},
      {"-t&H10", 16, 16, "2", 2},  {"-t40000", 10, 10, "2", 2},   {"-c", 10, 10, "0", 2},
      {"-o", 10, 10, "2", 0},      {"-c 007", 10, 10, "7", 2},    {"-c101", 10, 10, "2", 2},
      {"-o4", 10, 10, "2", 2},     {"-t5 -o1", 10, 5, "2", 1},    {"-t32767", 32767, 32767, "2", 2},
      // clang-format on
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.line);
    Session s;
    s.Start(c.line);
    EXPECT_EQ(s.program.CountdownSeconds, c.countdown);
    EXPECT_EQ(s.program.TimeOutSeconds, c.timeOut);
    EXPECT_EQ(s.form.Text2.Text(), c.threshold);
    EXPECT_TRUE(s.form.Option1[static_cast<std::size_t>(c.method)].Value());
  }
}

TEST_F(MainWindow, HelpPausesTheMainWindowUntilItsOkOrAnOutsideClose) {
  shell32.Result = 2;  // ERROR_FILE_NOT_FOUND: the home page cannot open, nothing changes
  form.SetHandle(0x10);
  Start();
  user32.Calls.clear();
  form.Label8.OnClick();  // the title
  program.CountdownSeconds = 75;
  Form2& help = program.form2;
  for (const bool byOk : {true, false}) {
    SCOPED_TRACE(byOk ? "closed by OK" : "closed from outside");
    if (!byOk) program.DefaultSwitches = "-l";  // the help text is built at each opening
    form.Label12.OnClick();
    help.SetHandle(0x22);
    help.Label5.OnClick();  // "Online Help"
    EXPECT_TRUE(help.Visible());
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.Enabled());
    EXPECT_FALSE(form.Timer1.Enabled());
    EXPECT_EQ(help.Text1.Text(), UsageText(byOk ? "-s -f -t10 -c2-o2" : "-l"));
    EXPECT_EQ(help.Text1.SelStart() + help.Text1.SelLength(), 0);  // nothing selected
    byOk ? help.Label2.OnClick() : help.OnCloseRequest();
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(form.Enabled());
    EXPECT_TRUE(form.Timer1.Enabled());
    EXPECT_FALSE(help.Loaded());
    EXPECT_EQ(program.CountdownSeconds, 75);
  }
  const std::string home = std::string(" open ") + kHomePageUrl + " 1";
  EXPECT_EQ(shell32.Calls, (Strings{"16" + home, "34" + home, "34" + home}));
  EXPECT_TRUE(user32.Calls.empty());  // no message about the page
  EXPECT_TRUE(process.Runs.empty());
}

TEST_F(MainWindow, FailedQueryShowsOnlyTheMessageAndEndsWithoutWriting) {
  pdh.OpenStatus = 5;
  EXPECT_THROW(Start("-t60"), ProcessEnded);
  EXPECT_EQ(user32.Calls, (Strings{"MessageBox OpenQuery failed | Quellor"}));
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(pdh.Calls, (Strings{"open"}));
  for (const std::string& call : registry.Calls) {
    EXPECT_TRUE(call.rfind("set ", 0) != 0 && call.rfind("create ", 0) != 0) << call;
  }
}

TEST(Trigger, TheIdleCountRunsOnlyWhileTheUsageIsUnderTheThreshold) {
  // The tick compares the sample of the previous tick (here: start-up's)
  // with the threshold as it stands, typed or not.
  const struct {
    const char* threshold;
    double usage;
    int idleCount;  // after one tick, from 30
  } kCases[] = {{"2", 1.99, 29},    {"2", 2.00, 30}, {"2", 2.01, 30},   {"0", 0, 30},
                {"50%", 49.99, 29}, {"abc", 0, 30},  {"100", 99.99, 29}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.threshold) + " against " + std::to_string(c.usage));
    Session s;
    s.pdh.Samples = {{c.usage, 0}};
    s.Start("-t100");
    s.form.Text2.TextTypedByUser(c.threshold);
    s.form.Timer1_Timer();
    EXPECT_EQ(s.form.IdleCountdown, c.idleCount);
  }
}

TEST_F(MainWindow, DisplayTimerWritesHoursMinutesSecondsOfAnyValue) {
  const struct {
    double seconds;
    const char* shown;
  } kCases[] = {
      {0, "00:00:00"},      {3661, "01:01:01"},         {86399, "23:59:59"}, {360000, "100:00:00"},
      {2.5, "00:00:02"},    {3.5, "00:00:04"},          {59.5, "00:00:00"},  {61.5, "00:01:02"},
      {7199.5, "01:59:00"}, {std::nan(""), "00:00:00"}, {kInf, "00:00:00"},  {-kInf, "00:00:00"}};
  for (const auto& c : kCases) {
    form.DisplayTimer(c.seconds);
    EXPECT_EQ(form.Label3.Caption(), c.shown) << c.seconds;
  }
  form.DisplayTimer(1e300);  // hours written out in full
  EXPECT_EQ(form.Label3.Caption().rfind("27777777777777", 0), 0u) << form.Label3.Caption();
  EXPECT_EQ(form.Label3.Caption().find_first_of("einf"), std::string::npos);
}

TEST(Trigger, EachMethodFiresInTheTickItsRuleGivesAndRunsTheChosenOperation) {
  const struct {
    const char* line;
    int busyFrom, busyTo;  // samples 90 % in [from, to), 10 % otherwise
    int tick;              // 0: not within 100 ticks
    const char* run;       // "": nothing run
  } kCases[] = {
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
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.line);
    Session s;
    for (int i = 0; i < 200; ++i)
      s.pdh.Samples.push_back({i >= c.busyFrom && i < c.busyTo ? 90.0 : 10.0});
    s.Start(c.line);
    EXPECT_EQ(s.TicksUntilEnd(100), c.tick);
    EXPECT_EQ(s.process.Ends, c.tick != 0 ? 1 : 0);
    Strings runs;
    for (const auto& run : s.process.Runs) {
      runs.push_back(run.commandLine);
      EXPECT_EQ(run.windowStyle, platform::kWindowStyleMinimizedFocus);
    }
    EXPECT_EQ(runs, *c.run != 0 ? Strings{c.run} : Strings{});
    const bool hibernates = std::string(c.line).find("-h") != std::string::npos;
    ASSERT_EQ(s.power.Suspends.size(), hibernates ? 1u : 0u);
    for (const auto& suspend : s.power.Suspends) {
      EXPECT_TRUE(suspend.hibernate);
      EXPECT_TRUE(suspend.force);
      EXPECT_TRUE(suspend.disableWakeEvent);
    }
    // The settings are stored before the operation runs.
    EXPECT_EQ(s.registry.Find(kSettingsKey, "Always Top") != nullptr, c.tick != 0);
  }
}

TEST_F(MainWindow, SamplerWritesTwoDecimalsAndSkipsEveryBadReading) {
  // New data counts; no data yet, invalid data, two statuses no counter
  // gives, and values that are no number whatever their status do not.
  pdh.Samples = {{7.5, 0},
                 {0, 1},
                 {100, 0},
                 {3.14159, 0},
                 {55, 2},
                 {66, -1},
                 {99, FakePdh::kNoData},
                 {std::nan(""), 0},
                 {kInf, 1},
                 {-kInf, 0}};
  Start();
  EXPECT_EQ(form.Label5.Caption(), "7.50%");
  EXPECT_EQ(form.Label5.Tag, "7.50");
  for (const char* shown :
       {"0.00%", "100.00%", "3.14%", "3.14%", "3.14%", "3.14%", "3.14%", "3.14%", "3.14%"}) {
    form.Timer1_Timer();
    EXPECT_EQ(form.Label5.Caption(), shown);
  }
  EXPECT_EQ(form.Label5.Tag, "3.14");
}

TEST_F(MainWindow, LeavingTheThresholdMakesItAWholePercentageAndRestartsTheIdleCount) {
  Start();
  const std::pair<const char*, const char*> kCases[] = {
      {"99.5", "100"}, {"100.6", "100"}, {"12.5", "13"}, {"7.49", "7"}, {"0.6", "1"},
      {"-0.3", "0"},   {"-3", "0"},      {"50%", "50"},  {"abc", "0"}};
  for (const auto& [typed, checked] : kCases) {
    form.IdleCountdown = 7;
    form.Text2.TextTypedByUser(typed);
    form.Text2.OnLostFocus();
    EXPECT_EQ(form.Text2.Text(), checked) << typed;
    EXPECT_EQ(form.IdleCountdown, 30) << typed;
  }
}

TEST_F(MainWindow, OnlyTheLeftButtonDragsAndTheDialogFollows) {
  form.SetHandle(0x10);
  Start();
  user32.Calls.clear();
  for (int buttons : {2, 1 | 2, 4, 0}) form.OnMouseMove({buttons, 0, 5, 5});
  EXPECT_TRUE(user32.Calls.empty());
  form.Label9.OnClick();
  user32.Calls.clear();
  form.SetOuterSize(4900, 3900);
  user32.DuringDrag = [&](WindowHandle) { form.ReportPlacement(-300, 200); };
  form.Frame1.OnMouseMove({kLeftButton, 0, 5, 5});
  EXPECT_EQ(user32.Calls, (Strings{"ReleaseCapture", "SendMessageA 16 161 2 0"}));
  EXPECT_EQ(Rect({program.form3.Left(), program.form3.Top()}), Rect({-300, 4100}));
  form.ReportPlacement(0, 0);  // moved without a drag: the dialog still docks
  form.OnMouseMove({0, 0, 1, 1});
  EXPECT_EQ(program.form3.Top(), 3900);
}

TEST(Faults, ShutdownCommandThatCannotStartStillEndsTheProgramWithSettingsSaved) {
  // The platform either gives up silently or fails inside; the program
  // cannot tell. "Always Top" is the last value written.
  for (const bool throws : {false, true}) {
    for (const bool abort : {false, true}) {
      SCOPED_TRACE(std::string(abort ? "abort" : "operation") + (throws ? ", throws" : ""));
      Session s;
      Strings events;
      const auto note = [&](const std::string& what) {
        const bool saved = s.registry.Find(kSettingsKey, "Always Top") != nullptr;
        events.push_back(what + (saved ? " after save" : " before save"));
      };
      s.process.OnRun = [&] {
        note("run");
        if (throws) throw std::runtime_error("shutdown.exe cannot be started");
      };
      s.process.OnEnd = [&] { note("end"); };
      s.Start();
      EXPECT_THROW(abort ? s.form.Label10.OnClick() : s.form.Execute(), ProcessEnded);
      // The operation runs once the settings are stored; Abort runs first
      // and stores them afterwards. Either way the program ends last.
      EXPECT_EQ(events, (Strings{abort ? "run before save" : "run after save", "end after save"}));
    }
  }
}

}  // namespace
}  // namespace quellor::fake
