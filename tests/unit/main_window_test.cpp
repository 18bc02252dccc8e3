// The main window on the fake platform: start-up and its defaults, the
// reading of numbers and the command-line switches, the one-second tick, the operation run when the
// trigger fires, the window's own controls, and the faults of the system
// services that the program survives with its usual outcome.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/number.h"
#include "controller/program.h"
#include "fake_platform.h"
#include "fuzz/fuzz_expect.h"
#include "settings/settings.h"

namespace quellor::testing {
namespace {

using Strings = std::vector<std::string>;

// One program on its own fake platform.
struct Session {
  void Start(const std::string& commandLine = "") {
    fake.process.CommandLine = commandLine;
    program.Main();
  }
  // Queues `count` good samples of `value` percent.
  void Queue(double value, int count) {
    for (int i = 0; i < count; ++i) fake.pdh.Samples.push_back({value, 0});
  }
  // Runs up to `limit` ticks: the tick in which the program ended, or 0.
  int TicksUntilEnd(int limit) { return ::TicksUntilEnd(form, limit); }
  // The one command line that was run, or "" when none or several were.
  std::string OnlyRun() const {
    return fake.process.Runs.size() == 1 ? fake.process.Runs[0].commandLine : "";
  }

  fake::FakePlatform fake;
  platform::Platform os = fake.Get();
  Program program{os};
  Form1& form = program.form1;
};

class MainWindow : public ::testing::Test, protected Session {};

TEST_F(MainWindow, FirstRunShowsTheBuiltInDefaults) {
  form.SetHandle(0x77);
  Queue(3.25, 1);
  Start();
  EXPECT_TRUE(form.Visible() && form.Timer1.Enabled() && form.Text2.Enabled());
  EXPECT_EQ(form.Combo1.SelectedText(), "Shutdown");
  EXPECT_EQ(form.Check1.Value() * 10 + form.Check2.Value(), 11);
  EXPECT_EQ(form.Text2.Text(), "2");
  EXPECT_TRUE(form.Option1[kMethodTimerAndCpu].Value());
  EXPECT_EQ(form.Label3.Caption(), "00:00:10");
  EXPECT_EQ(form.CommandText, "Shutdown -s -f -t10 -c2-o2");
  EXPECT_EQ(Rect({form.Left(), form.Top()}), Rect({7320, 5805}));
  EXPECT_EQ(fake.pdh.Calls,
            (Strings{"open", std::string("add ") + kProcessorCounterPath, "collect", "read"}));
  EXPECT_EQ(form.Label5.Caption(), "3.25%");
  // The stored always-on-top choice is applied last.
  EXPECT_EQ(fake.user32.Calls, (Strings{"SetWindowPos 119 -1 0 0 0 0 3"}));
}

TEST(Numbers, LeadingNumberReadsTheStartOfATextAndRoundingsDiffer) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    const char* text;
    double value;
  } kCases[] = {
      {" 1 2", 12},   {"90 -c20", 90},  {"50%", 50},   {"abc", 0},     {"", 0},
      {"\t\n7", 7},   {"-3.25", -3.25}, {"+4", 4},     {"1.5.5", 1.5}, {".5", 0.5},
      {"-", 0},       {"&H10", 16},     {"&hff", 255}, {"&O17", 15},   {"&O8", 0},
      {"&X1", 0},     {"1e3", 1000},    {"2D2", 200},  {"5e-1", 0.5},  {"7E", 7},
      {"1 e 2", 100}, {"2-o2", 2},      {"1e-400", 0}, {"1e309", inf}, {"-1e309", -inf},
  };
  for (const auto& c : kCases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << c.text;

  // Conversions round halves to even; formatting rounds them away from zero.
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(ToInt16(32767.5), std::nullopt);  // rounds to 32768
  EXPECT_EQ(ToInt16(-32768.5), -32768);       // rounds to the even -32768
  EXPECT_EQ(ToInt32(2147483647.6), std::nullopt);
  EXPECT_EQ(FormatFixed(2.5, 0), "3");
  EXPECT_EQ(FormatFixed(-0.3, 0), "0");
  EXPECT_EQ(FormatFixed(1.005, 2), "1.01");
  EXPECT_EQ(FormatFixed(99.995, 2), "100.00");
  EXPECT_EQ(FormatTwoDigits(-7), "-07");
  EXPECT_EQ(FormatTwoDigits(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST(Numbers, EveryUsageReadingIsWrittenFromItsDecimalDigits) {
  // Every reading from 0.000 % to 100.000 % in steps of a thousandth: what
  // is shown is the decimal value rounded half away from zero, worked out
  // here in whole numbers, whatever the nearest double is.
  auto written = [](long hundredths) {
    return std::to_string(hundredths / 100) + "." + FormatTwoDigits(hundredths % 100);
  };
  int wrong = 0;
  for (long thousandths = 0; thousandths <= 100000; ++thousandths) {
    const std::string shown = FormatFixed(static_cast<double>(thousandths) / 1000.0, 2);
    const long expected = thousandths / 10 + (thousandths % 10 >= 5 ? 1 : 0);
    if (shown != written(expected) && ++wrong <= 5) {
      ADD_FAILURE() << thousandths << " thousandths shown as " << shown;
    }
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(FormatFixed(1e20, 0), "100000000000000000000");
  EXPECT_EQ(FormatFixed(1.234567890123456e-7, 2), "0.00");
  EXPECT_EQ(FormatFixed(-2.675, 2), "-2.68");
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
      {"-T5", 10, 10, "2", 2},     {"-t2.5", 2, 2, "2", 2},       {"-t3.5", 4, 4, "2", 2},
      {"-t0.4", 10, 10, "2", 2},   {"-t-5", 10, 10, "2", 2},      {"-t&H10", 16, 16, "2", 2},
      {"-t40000", 10, 10, "2", 2}, {"-c", 10, 10, "0", 2},        {"-o", 10, 10, "2", 0},
      {"-c 007", 10, 10, "7", 2},  {"-c101", 10, 10, "2", 2},     {"-o4", 10, 10, "2", 2},
      {"-t5 -o1", 10, 5, "2", 1},  {"-t32767", 32767, 32767, "2", 2},
      {"-t5 -o2", 5, 5, "2", 2},  // method 2 is already selected: no raise
      // clang-format on
  };
  for (const auto& c : kCases) {
    Session s;
    s.Start(c.line);
    EXPECT_EQ(s.program.CountdownSeconds, c.countdown) << c.line;
    EXPECT_EQ(s.program.TimeOutSeconds, c.timeOut) << c.line;
    EXPECT_EQ(s.form.Text2.Text(), c.threshold) << c.line;
    EXPECT_TRUE(s.form.Option1[static_cast<std::size_t>(c.method)].Value()) << c.line;
  }
}

TEST_F(MainWindow, HelpSwitchShowsOnlyTheHelpWhoseOkEndsTheProgram) {
  fake.power.HibernateAllowed = false;  // -h is ignored, and -? still counts
  fake.user32.DuringEventLoop = [&] {
    const Form2& help = program.form2;
    EXPECT_TRUE(help.Visible() && help.Label1.Visible() && help.Label1.Enabled());
    EXPECT_FALSE(help.Label2.Visible() || help.Label2.Enabled() || form.Visible());
    EXPECT_TRUE(fake.pdh.Calls.empty());  // start-up waits for the help window
    program.form2.OnCloseRequest();       // closed by other means: as its visible OK
  };
  EXPECT_THROW(Start("-h -t60 -?"), fake::ProcessEnded);
  EXPECT_EQ(fake.user32.Calls, (Strings{"RunEventLoop"}));
  EXPECT_EQ(form.Combo1.Items(), (Strings{"Shutdown", "Restart", "Log Off"}));
  EXPECT_TRUE(fake.process.Runs.empty());
}

TEST_F(MainWindow, HelpPausesTheMainWindowUntilItsOkOrAnOutsideClose) {
  fake.shell32.Result = 2;  // ERROR_FILE_NOT_FOUND: the home page cannot open, nothing changes
  form.SetHandle(0x10);
  Start();
  form.Label8.OnClick();  // the title
  program.CountdownSeconds = 75;
  Form2& help = program.form2;
  for (const bool byOk : {true, false}) {
    if (!byOk) program.DefaultSwitches = "-l";  // the help text is built at each opening
    form.Label12.OnClick();
    help.SetHandle(0x22);
    help.Label5.OnClick();  // "Online Help"
    EXPECT_TRUE(!form.Visible() && !form.Enabled() && !form.Timer1.Enabled() && help.Visible());
    EXPECT_EQ(help.Label4.Caption(), VersionLine());
    EXPECT_EQ(help.Text1.Text(), UsageText(byOk ? "-s -f -t10 -c2-o2" : "-l"));
    help.Text1.TextTypedByUser("scribbled");
    byOk ? help.Label2.OnClick() : help.OnCloseRequest();
    EXPECT_TRUE(form.Visible() && form.Enabled() && form.Timer1.Enabled() && !help.Loaded());
    EXPECT_EQ(program.CountdownSeconds, 75);
  }
  ASSERT_EQ(fake.shell32.Calls.size(), 3u);
  for (const auto& call : fake.shell32.Calls) {
    EXPECT_EQ(call.operation + " " + call.file + " " + std::to_string(call.showCommand),
              std::string("open ") + kHomePageUrl + " 1");
  }
  EXPECT_EQ(fake.shell32.Calls[0].owner + fake.shell32.Calls[1].owner, 0x10u + 0x22u);
  EXPECT_TRUE(fake.user32.Messages.empty() && fake.process.Runs.empty());
}

TEST_F(MainWindow, FailedQueryShowsOnlyTheMessageAndEndsWithoutWriting) {
  fake.pdh.OpenStatus = 5;
  EXPECT_THROW(Start("-t60"), fake::ProcessEnded);
  ASSERT_EQ(fake.user32.Messages.size(), 1u);
  EXPECT_EQ(fake.user32.Messages[0].text + "|" + fake.user32.Messages[0].title,
            "OpenQuery failed|Quellor");
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(fake.pdh.Calls, (Strings{"open"}));
  for (const std::string& call : fake.registry.Calls) {
    EXPECT_TRUE(call.rfind("set ", 0) != 0 && call.rfind("create ", 0) != 0) << call;
  }
}

TEST_F(MainWindow, ClosingFromOutsideUnloadsThenEndsRunningNothing) {
  Start();
  fake.pdh.Calls.clear();
  fake.process.OnEnd = [&] {
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(fake.pdh.Calls, (Strings{"close"}));
  };
  EXPECT_THROW(form.OnCloseRequest(), fake::ProcessEnded);
  EXPECT_TRUE(fake.process.Runs.empty());
}

TEST_F(MainWindow, IdleCountNeedsSamplesStrictlyUnderTheThreshold) {
  fake.pdh.Samples = {{1.50, 0}, {1.99, 0}, {2.00, 0}, {0, 0}};
  Start();  // threshold 2; start-up takes the 1.50
  form.Timer1_Timer();
  form.Timer1_Timer();
  EXPECT_EQ(form.IdleCountdown, 28);
  form.Timer1_Timer();  // reads 2.00: not under the threshold
  EXPECT_EQ(form.IdleCountdown, 30);
}

TEST(Trigger, EachMethodFiresInItsTickWhenTheProcessorIsBusyForAWhile) {
  const struct {
    const char* line;
    int busyFrom, busyTo;  // samples 90 % in [from, to), 10 % otherwise
    int tick;
    const char* run;
  } kCases[] = {
      {"-o1 -c50 -r", 29, 30, 60, "Shutdown -r -t 0"},    // idle count restarts at tick 30
      {"-f -c50", 0, 20, 50, "Shutdown -s -f -t 0"},      // AND waits at zero for 30 idle
      {"-o3 -c50 -t12", 0, 200, 12, "Shutdown -s -t 0"},  // OR: busy, the countdown decides
  };
  for (const auto& c : kCases) {
    Session s;
    for (int i = 0; i < 200; ++i) s.Queue(i >= c.busyFrom && i < c.busyTo ? 90 : 10, 1);
    s.Start(c.line);
    EXPECT_EQ(s.TicksUntilEnd(100), c.tick) << c.line;
    EXPECT_EQ(s.OnlyRun(), c.run) << c.line;
  }
  Session none;
  none.Start();
  for (auto& button : none.form.Option1) button.Clear();
  none.program.CountdownSeconds = 0;
  none.form.IdleCountdown = 0;
  EXPECT_EQ(none.TicksUntilEnd(3), 0);  // nothing fires without a selected method
}

TEST_F(MainWindow, DisplayTimerWritesHoursMinutesSecondsOfAnyValue) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double seconds;
    const char* shown;
  } kCases[] = {
      {0, "00:00:00"},      {3661, "01:01:01"},         {86399, "23:59:59"}, {360000, "100:00:00"},
      {2.5, "00:00:02"},    {3.5, "00:00:04"},          {59.5, "00:00:00"},  {61.5, "00:01:02"},
      {7199.5, "01:59:00"}, {std::nan(""), "00:00:00"}, {inf, "00:00:00"},   {-inf, "00:00:00"}};
  for (const auto& c : kCases) {
    form.DisplayTimer(c.seconds);
    EXPECT_EQ(form.Label3.Caption(), c.shown) << c.seconds;
  }
  form.DisplayTimer(1e300);  // hours written out in full
  EXPECT_EQ(form.Label3.Caption().rfind("27777777777777", 0), 0u) << form.Label3.Caption();
  EXPECT_EQ(form.Label3.Caption().find_first_of("einf"), std::string::npos);
}

TEST(Execute, RunsTheOperationOrAbortStoresTheSettingsAndEnds) {
  constexpr int kAbort = -2;
  const struct {
    int operation, force;
    const char* run;  // "": nothing run
    bool hibernates;
  } kCases[] = {
      // clang-format off
      {kOperationShutdown, 1, "Shutdown -s -f -t 0", false},
      {kOperationShutdown, 0, "Shutdown -s -t 0", false},
      {kOperationShutdown, 2, "Shutdown -s -f -t 0", false},  // greyed counts as ticked
      {kOperationRestart, 1, "Shutdown -r -f -t 0", false},
      {kOperationRestart, 0, "Shutdown -r -t 0", false},
      {kOperationLogOff, 1, "Shutdown -l -f", false}, {kOperationLogOff, 0, "Shutdown -l", false},
      {kOperationHibernate, 0, "", true}, {kAbort, 1, "Shutdown -a", false},
      {-1, 1, "", false},  // an entry that names no operation
      // clang-format on
  };
  for (const auto& c : kCases) {
    Session s;
    s.Start();
    s.form.Combo1.SetListIndex(c.operation == kAbort ? 0 : c.operation);
    s.form.Check1.SetValue(c.force);
    if (c.operation == kAbort) {
      EXPECT_THROW(s.form.Label10.OnClick(), fake::ProcessEnded);
    } else {
      EXPECT_THROW(s.form.Execute(), fake::ProcessEnded);
    }
    EXPECT_EQ(s.OnlyRun(), c.run) << c.operation << c.force;
    EXPECT_EQ(s.fake.process.Runs.size(), *c.run == 0 ? 0u : 1u);
    EXPECT_EQ(s.fake.power.Suspends.size(), c.hibernates ? 1u : 0u) << c.operation;
    EXPECT_EQ(s.fake.process.Ends, 1);
    EXPECT_NE(s.fake.registry.Find(kSettingsKey, "Always Top"), nullptr);
  }
}

TEST_F(MainWindow, SamplerWritesTwoDecimalsAndSkipsBadReadings) {
  fake.pdh.Samples = {{7.5, 0}, {0, 1}, {100, 0}, {3.14159, 0}, {55, 2}, {66, -1}};
  Start();
  EXPECT_EQ(form.Label5.Caption() + " " + form.Label5.Tag, "7.50% 7.50");
  for (const char* shown : {"0.00%", "100.00%", "3.14%", "3.14%", "3.14%"}) {
    form.Timer1_Timer();
    EXPECT_EQ(form.Label5.Caption(), shown);
  }
  EXPECT_EQ(form.Label5.Tag, "3.14");
  for (int i = 0; i < 120; ++i) form.AddCounter("\\Memory\\Pages/sec", form.hQuery);
  EXPECT_EQ(form.CounterCount, 100);  // the table holds at most 100
  EXPECT_EQ(form.Counters[0].Path, kProcessorCounterPath);
}

TEST_F(MainWindow, LeavingTheThresholdMakesItAWholePercentageAndRestartsTheIdleCount) {
  Start();
  const std::pair<const char*, const char*> kCases[] = {
      {"99.5", "100"}, {"12.5", "13"}, {"7.49", "7"}, {"-0.3", "0"}, {"50%", "50"}, {"abc", "0"}};
  for (const auto& [typed, checked] : kCases) {
    form.IdleCountdown = 7;
    form.Text2.TextTypedByUser(typed);
    form.Text2.OnLostFocus();
    EXPECT_EQ(form.Text2.Text(), checked) << typed;
    EXPECT_EQ(form.IdleCountdown, 30) << typed;
  }
}

TEST_F(MainWindow, ChoosingAMethodRaisesShortCountdownsAndRestartsTheIdleCount) {
  Start("-t3 -c40");
  EXPECT_EQ(program.CountdownSeconds, 3);
  form.IdleCountdown = 4;
  form.Option1[kMethodTimer].Select();
  EXPECT_EQ(program.CountdownSeconds, 10);
  EXPECT_EQ(program.TimeOutSeconds, 3);
  EXPECT_EQ(form.IdleCountdown, 30);
  EXPECT_FALSE(form.Text2.Enabled());
  program.CountdownSeconds = 25;
  form.Option1[kMethodCpuIdle].Select();
  EXPECT_EQ(program.CountdownSeconds, 25);
  EXPECT_TRUE(form.Text2.Enabled());
  EXPECT_EQ(form.Text2.Text(), "40");
}

TEST_F(MainWindow, AlwaysOnTopAppliesToBothWindows) {
  form.SetHandle(0x10);
  Start();
  form.Label9_Click();
  program.form3.SetHandle(0x30);
  fake.user32.Calls.clear();
  form.Check2.SetValue(0);
  form.Check2.SetValue(1);
  EXPECT_EQ(fake.user32.Calls,
            (Strings{"SetWindowPos 16 -2 0 0 0 0 3", "SetWindowPos 48 -2 0 0 0 0 3",
                     "SetWindowPos 16 -1 0 0 0 0 3", "SetWindowPos 48 -1 0 0 0 0 3"}));
}

TEST_F(MainWindow, OnlyTheLeftButtonAloneDragsAndTheDialogFollows) {
  form.SetHandle(0x10);
  Start();
  fake.user32.Calls.clear();
  for (int buttons : {2, 1 | 2, 4, 0}) form.OnMouseMove({buttons, 0, 5, 5});
  EXPECT_TRUE(fake.user32.Calls.empty());
  form.Label9_Click();
  fake.user32.Calls.clear();
  form.SetOuterSize(4900, 3900);
  fake.user32.DuringDrag = [&](WindowHandle) { form.ReportPlacement(-300, 200); };
  form.Frame1.OnMouseMove({kLeftButton, 0, 5, 5});
  EXPECT_EQ(fake.user32.Calls, (Strings{"ReleaseCapture", "SendMessageA 16 161 2 0"}));
  EXPECT_EQ(Rect({program.form3.Left(), program.form3.Top()}), Rect({-300, 4100}));
  form.ReportPlacement(0, 0);  // moved without a drag: the dialog still docks
  form.OnMouseMove({0, 0, 1, 1});
  EXPECT_EQ(program.form3.Top(), 3900);
}

TEST_F(MainWindow, LabelButtonsLookPressedUntilReleasedAndHelpWaitsForTheDialog) {
  Start();
  const std::pair<Label*, Color> kButtons[] = {{&form.Label9, Rgb(0, 0, 255)},
                                               {&form.Label10, Rgb(0, 0, 255)},
                                               {&form.Label12, Rgb(255, 128, 0)}};
  for (const auto& [button, normal] : kButtons) {
    button->OnMouseDown({kRightButton, 0, 1, 1});
    EXPECT_TRUE(button->Sunken()) << button->Name();
    button->SetForeColor(Rgb(1, 2, 3));
    button->OnMouseUp({kRightButton, 0, 900, 900});  // released off the label
    EXPECT_FALSE(button->Sunken());
    EXPECT_EQ(button->ForeColor(), normal) << button->Name();
  }
  form.Label9_Click();
  form.Label12.OnClick();
  EXPECT_FALSE(program.form2.Loaded());  // not while the timer dialog is open
  program.form3.Unload();
  form.Label12.OnClick();
  const Form2& help = program.form2;
  EXPECT_TRUE(help.Visible() && help.Label2.Visible() && help.Label2.Enabled());
  EXPECT_FALSE(help.Label1.Visible() || help.Label1.Enabled());
}

TEST(Faults, MissingCounterOrBadSamplesKeepTheDesignDisplayAndReadAsNoUsage) {
  const double inf = std::numeric_limits<double>::infinity();
  // No data yet, invalid data, two statuses no counter gives, and values that
  // are no number whatever their status.
  // clang-format off
  const fake::Sample kBad[] = {
      {99.0, static_cast<platform::Status>(0x800007D5u)},
      {99.0, static_cast<platform::Status>(0xC0000BBAu)}, {99.0, 2}, {99.0, -1},
      {std::nan(""), 0}, {inf, 1}, {-inf, 0}, {50.0, 0}};  // the last with the counter missing
  // clang-format on
  for (const fake::Sample& bad : kBad) {
    Session s;
    s.fake.pdh.Steady = bad;
    s.fake.pdh.CounterExists = &bad != &kBad[std::size(kBad) - 1];
    s.Start("-o1 -c5");
    EXPECT_EQ(s.TicksUntilEnd(29), 0);
    EXPECT_EQ(s.form.Label5.Caption() + "|" + s.form.Label5.Tag, "100%|")
        << bad.value << " " << bad.status;
    // The empty reading is under any positive threshold: the thirtieth tick
    // finds the processor idle.
    EXPECT_EQ(s.TicksUntilEnd(1), 1);
  }
}

TEST(Faults, RegistryThatFailsLeavesTheDefaultsAndTheOperationRuns) {
  // Unreadable: the defaults (force close ticked); unwritable: nothing
  // stored changes. The registry fuzz target covers every other mix.
  Session s;
  s.fake.registry.PlantDword(kSettingsKey, "Time Out", 3600);
  s.fake.registry.Unreadable = s.fake.registry.Unwritable = true;
  s.Start();
  EXPECT_EQ(s.program.CountdownSeconds, 10);
  EXPECT_THROW(s.form.Execute(), fake::ProcessEnded);
  EXPECT_EQ(s.OnlyRun(), "Shutdown -s -f -t 0");
  EXPECT_EQ(s.fake.registry.OpenHandles(), 0);
  EXPECT_EQ(s.fake.registry.Find(kSettingsKey, "PositionX"), nullptr);
  EXPECT_EQ(s.fake.registry.Find(kSettingsKey, "Time Out")->data[1], 3600 >> 8);
}

TEST(Faults, ShutdownCommandThatCannotStartStillEndsTheProgramWithSettingsSaved) {
  // The platform either gives up silently or fails inside; the program
  // cannot tell. "Always Top" is the last value written.
  for (const bool throws : {false, true}) {
    for (const bool abort : {false, true}) {
      Session s;
      Strings events;
      const auto note = [&](const std::string& what) {
        const bool saved = s.fake.registry.Find(kSettingsKey, "Always Top") != nullptr;
        events.push_back(what + (saved ? " after save" : " before save"));
      };
      s.fake.process.OnRun = [&] {
        note("run");
        if (throws) throw std::runtime_error("shutdown.exe cannot be started");
      };
      s.fake.process.OnEnd = [&] { note("end"); };
      s.Start();
      EXPECT_THROW(abort ? s.form.Label10.OnClick() : s.form.Execute(), fake::ProcessEnded);
      // The operation runs once the settings are stored; Abort runs first
      // and stores them afterwards. Either way the program ends last.
      EXPECT_EQ(events, (Strings{abort ? "run before save" : "run after save", "end after save"}))
          << throws << abort;
    }
  }
}

}  // namespace
}  // namespace quellor::testing
