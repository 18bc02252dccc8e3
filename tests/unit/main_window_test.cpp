// The main window on the fake platform: start-up and its defaults, the
// reading of numbers and the command-line switches, the one-second tick, the
// operation run when the trigger fires, and the window's own controls.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "common/number.h"
#include "controller/form1_settings.h"
#include "fake_platform.h"

namespace quellor::fake {
namespace {

using Strings = std::vector<std::string>;
constexpr double kInf = std::numeric_limits<double>::infinity();

class MainWindow : public ::testing::Test, protected Session {
 protected:
  // Each control's caption, state, colour and value, and what the tick goes by.
  std::string Shown() const {
    std::string out;
    for (const Control* c : form.Controls()) {
      out += c->Name() + " " + c->Caption() + " " + std::to_string(c->Visible()) +
             std::to_string(c->Enabled()) + std::to_string(c->ForeColor());
      if (const auto* box = dynamic_cast<const CheckBox*>(c)) out += std::to_string(box->Value());
      if (const auto* o = dynamic_cast<const OptionButton*>(c)) out += std::to_string(o->Value());
      if (const auto* l = dynamic_cast<const Label*>(c)) out += std::to_string(l->Sunken());
      if (const auto* list = dynamic_cast<const ComboBox*>(c)) {
        out += std::to_string(list->Items().size()) + std::to_string(list->ListIndex());
      }
      out += "\n";
    }
    return out + std::to_string(program.CountdownSeconds) + " " +
           std::to_string(program.TimeOutSeconds) + " " + std::to_string(form.IdleCountdown) +
           std::to_string(form.TriggerFired) + std::to_string(form.Timer1.Enabled());
  }
};

TEST_F(MainWindow, FirstRunShowsTheBuiltInDefaults) {
  form.SetHandle(0x77);
  pdh.Samples = {{3.25, 0}, {1, 0}, {0, FakePdh::kNoData}, {std::nan(""), 0}};
  Start();
  EXPECT_EQ(form.Timer1.Interval(), 1000u);  // the countdown counts seconds
  EXPECT_EQ(form.Label8.Caption(), "Quellor");
  EXPECT_EQ(form.Caption, "Quellor");  // the taskbar's and a screen reader's name
  EXPECT_EQ(form.Label3.Caption(), "00:00:10");
  EXPECT_EQ(pdh.Calls,
            (Strings{"open", std::string("add ") + kProcessorCounterPath, "collect", "read"}));
  EXPECT_EQ(form.Label5.Caption(), "3.25%");
  // The stored always-on-top choice is applied last.
  EXPECT_EQ(user32.Calls, (Strings{"SetWindowPos 119 -1 0 0 0 0 3"}));
  // Each tick judges idleness by the reading before it (start-up's 3.25, then
  // 1), then samples; an unusable reading leaves the last usable one.
  for (const int idle : {kIdleTicksRequired, kIdleTicksRequired - 1, kIdleTicksRequired - 2}) {
    form.Timer1_Timer();
    EXPECT_EQ(form.IdleCountdown, idle);
    EXPECT_EQ(form.Label5.Caption(), "1.00%");
  }
  EXPECT_EQ(form.Label3.Caption(), "00:00:07");  // each tick shows the time left
}

TEST(Numbers, LeadingNumberReadsTheStartOfATextAndFormattingRoundsHalvesAway) {
  const std::pair<const char*, double> kNumbers[] = {
      {" 1 2", 12},      {"90 -c20", 90},  {"50%", 50},    {"abc", 0},     {"", 0},
      {"\t\n7", 7},      {"-3.25", -3.25}, {"+4", 4},      {"1.5.5", 1.5}, {".5", 0.5},
      {"-", 0},          {"&H10", 16},     {"&hFf", 255},  {"&O17", 15},   {"&O8", 0},
      {"&X1", 0},        {"1e3", 1000},    {"2D2", 200},   {"5e-1", 0.5},  {"7E", 7},
      {"1 e 2", 100},    {"2-o2", 2},      {"1e12", 1e12}, {"1e-400", 0},  {"1e309", kInf},
      {"-1e309", -kInf}, {"&HaA", 170}};
  for (const auto& [text, value] : kNumbers) EXPECT_DOUBLE_EQ(LeadingNumber(text), value) << text;
  // Beyond a double's range, the digits before the point (leading zeros not) tell huge from tiny.
  const std::pair<std::string, double> kFar[] = {{std::string(400, '9') + "e-90", kInf},
                                                 {"1" + std::string(400, '0') + "e-90", kInf},
                                                 {std::string(500, '0') + "1e-400", 0},
                                                 {"0." + std::string(500, '1') + "e-400", 0}};
  for (const auto& [text, value] : kFar) EXPECT_EQ(LeadingNumber(text), value) << text.substr(0, 9);
  EXPECT_EQ(LeadingNumber("0." + std::string(400, '0') + "1"), 0);  // too small without an exponent
  // On the decimal digits, the fifteenth significant one deciding.
  const struct {
    double value;
    int decimals;
    const char* text;
  } kFormats[] = {// clang-format off
      {2.5, 0, "3"}, {-0.3, 0, "0"}, {-0.001, 2, "0.00"}, {1.005, 2, "1.01"},
      {99.995, 2, "100.00"}, {-2.675, 2, "-2.68"}, {1.2345e-7, 2, "0.00"},
      {1e20, 0, "100000000000000000000"}, {12345678901234.5, 0, "12345678901235"}, {0.05, 1, "0.1"}, {2.5, -1, "3"}};
  // clang-format on
  for (const auto& f : kFormats) EXPECT_EQ(FormatFixed(f.value, f.decimals), f.text) << f.value;
}

TEST(Numbers, RoundingGoesHalfToEvenAndAWholeNumberMustFitItsWidth) {
  // clang-format off
  struct Case { double value, rounded; std::optional<std::int16_t> small; std::optional<std::int32_t> whole; };
  const Case kCases[] = {
      {.value = 2.5, .rounded = 2, .small = 2, .whole = 2}, {.value = 3.5, .rounded = 4, .small = 4, .whole = 4},
      {.value = -2.5, .rounded = -2, .small = -2, .whole = -2}, {.value = 0.4, .rounded = 0, .small = 0, .whole = 0},
      {.value = 1.6, .rounded = 2, .small = 2, .whole = 2}, {.value = 32767.4, .rounded = 32767, .small = 32767, .whole = 32767},
      {.value = 32767.5, .rounded = 32768, .small = {}, .whole = 32768},
      {.value = -32768.5, .rounded = -32768, .small = -32768, .whole = -32768},
      {.value = -32769, .rounded = -32769, .small = {}, .whole = -32769},
      {.value = 2147483647.4, .rounded = 2147483647, .small = {}, .whole = 2147483647},
      {.value = 2147483647.5, .rounded = 2147483648, .small = {}, .whole = {}},
      {.value = -2147483648.5, .rounded = -2147483648, .small = {}, .whole = -2147483648},
      {.value = -2147483649, .rounded = -2147483649, .small = {}, .whole = {}},
      {.value = kInf, .rounded = kInf, .small = {}, .whole = {}}};
  // clang-format on
  for (const Case& c : kCases) {
    EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;
    EXPECT_EQ(ToInt16(c.value), c.small) << c.value;
    EXPECT_EQ(ToInt32(c.value), c.whole) << c.value;
  }
}

TEST(Numbers, OnlyASignedRunOfDigitsWithOnePointBetweenBlanksIsAPlainNumber) {
  // clang-format off
  struct Case { const char* text; std::optional<double> value = {}; };
  const Case kCases[] = {{.text = " 12.5\t", .value = 12.5}, {.text = "-.5", .value = -0.5}, {.text = "+7", .value = 7},
                         {.text = "1e3"}, {.text = "+"}, {.text = "1.2.3"}, {.text = " \t"}, {.text = "1 2"}, {.text = "&H10"}};
  // clang-format on
  for (const Case& c : kCases) {
    double value = -1;
    EXPECT_EQ(IsPlainNumber(c.text, &value), c.value.has_value()) << c.text;
    EXPECT_EQ(value, c.value.value_or(-1)) << c.text;
  }
  for (const auto& [whole, text] :
       {std::pair<std::int64_t, const char*>{5, "05"}, {-5, "-05"}, {123, "123"}}) {
    EXPECT_EQ(FormatTwoDigits(whole), text) << whole;
  }
  EXPECT_EQ(TrimSpaces("  a b  "), "a b");
  EXPECT_EQ(TrimSpaces("   "), "");
}

// clang-format off
TEST(CommandLine, SwitchesReachTheWindowWhereAMethodRaisesAShortCountdown) {
  struct Case { const char* line; double countdown; int timeOut; const char* threshold; std::size_t method; const char* operation; int force; };
  const Case kCases[] = {
      {.line = "-t5 -o1 -c 007 -r", .countdown = 10, .timeOut = 5, .threshold = "7", .method = 1, .operation = "Restart", .force = 0},
      {.line = "-t90 -o3 -h -f", .countdown = 90, .timeOut = 90, .threshold = "2", .method = 3, .operation = "Hibernate", .force = 1}};
  // clang-format on
  for (const Case& c : kCases) {
    Session s;
    s.Start(c.line);
    EXPECT_EQ(s.program.CountdownSeconds, c.countdown) << c.line;
    EXPECT_EQ(s.program.TimeOutSeconds, c.timeOut) << c.line;
    EXPECT_EQ(s.form.Text2.Text(), c.threshold) << c.line;
    EXPECT_TRUE(s.form.Option1[c.method].Value()) << c.line;
    EXPECT_EQ(s.form.Combo1.SelectedText(), c.operation) << c.line;
    EXPECT_EQ(s.form.Check1.Value(), c.force) << c.line;
  }
}

TEST_F(MainWindow, ReloadedItShowsItsDesignAndDefaultsAgainWhateverItShowedBefore) {
  Start();
  const std::string first = Shown();
  for (Control* c : form.Controls()) {
    c->SetVisible(false);
    c->SetEnabled(false);
  }
  for (Control* shows : std::initializer_list<Control*>{&form.Label8, &form.Label5, &form.Text2}) {
    shows->SetCaption("x");
  }
  form.Combo1.SetListIndex(2);
  form.Option1[0].Select();
  form.Check1.SetValue(0);
  form.Check2.SetValue(0);
  form.Label9.SetSunken(true);
  program.CountdownSeconds = program.TimeOutSeconds = form.IdleCountdown = 3;
  form.TriggerFired = -1;
  form.Timer1.SetEnabled(false);
  form.Unload();
  form.Show();
  EXPECT_EQ(Shown(), first);
}

TEST_F(MainWindow, FailedQueryShowsOnlyTheMessageAndEnds) {
  pdh.OpenStatus = 5;
  EXPECT_THROW(Start("-t60"), ProcessEnded);
  EXPECT_EQ(process.Ends, std::vector{platform::kExitQueryFailed});
  EXPECT_EQ(user32.Calls, (Strings{"MessageBox OpenQuery failed | Quellor"}));
  EXPECT_EQ(pdh.Calls, (Strings{"open"}));
}

TEST_F(MainWindow, AbortRunsTheAbortCommandThenStoresTheSettingsAndEnds) {
  Start();
  process.Startable = false;  // nothing to abort is no failure
  EXPECT_THROW(form.Label10.OnClick(), ProcessEnded);
  EXPECT_EQ(process.Ends, std::vector{platform::kExitDone});
  Events expected{"run Shutdown -a"};
  for (const char* name : kSettingNames) expected.push_back(std::string("store ") + name);
  expected.emplace_back("end");
  EXPECT_EQ(process.Log, expected);
}

TEST(Trigger, LeavingTheThresholdMakesItAWholePercentAndRestartsTheIdleCount) {
  // clang-format off
  struct Case { const char* typed; const char* kept; };
  const Case kCases[] = {{.typed = "50%", .kept = "50"}, {.typed = "abc", .kept = "0"}, {.typed = "99.5", .kept = "100"},
                         {.typed = "100.6", .kept = "100"}, {.typed = "12.5", .kept = "13"}, {.typed = "7.49", .kept = "7"},
                         {.typed = "0.6", .kept = "1"}, {.typed = "-0.3", .kept = "0"}, {.typed = "-3", .kept = "0"},
                         {.typed = "000000000000000000000000000000005", .kept = "0"}};  // takes 32 characters
  // clang-format on
  Session s;
  s.Start("-t100");
  for (const Case& c : kCases) {
    s.form.Text2.TextTypedByUser(c.typed);
    s.form.IdleCountdown = 7;
    s.form.Text2.OnLostFocus();
    EXPECT_EQ(s.form.Text2.Text(), c.kept) << c.typed;
    EXPECT_EQ(s.form.IdleCountdown, kIdleTicksRequired) << c.typed;
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
  EXPECT_EQ(form.Label3.Caption().find_first_of("einf."), std::string::npos);
}

TEST(Operation, StoresTheSettingsThenRunsOnceAndEndsSayingWhetherItStarted) {
  // Check1 as the tick finds it (greyed counts as ticked); whether the run or
  // the suspension throws, or is refused; what carries the operation out ("":
  // no list entry is left selected) and the exit code.
  // clang-format off
  struct Case { const char* line; int force = 0; bool fails = false, refused = false; const char* acts; platform::ExitCode code; };
  const Case kCases[] = {
      {.line = "-o0 -t12", .force = 2, .acts = "run Shutdown -s -f -t 0", .code = platform::kExitDone},
      {.line = "-o0 -t12 -r", .refused = true, .acts = "run Shutdown -r -t 0", .code = platform::kExitCommandNotStarted},
      {.line = "-o0 -t12 -l", .fails = true, .acts = "run Shutdown -l", .code = platform::kExitCommandNotStarted},
      {.line = "-o0 -t12 -h", .force = 1, .fails = true, .acts = "suspend", .code = platform::kExitCommandNotStarted},
      {.line = "-o0 -t12 -h", .acts = "suspend", .code = platform::kExitDone},
      {.line = "-o0 -t12 -h", .refused = true, .acts = "suspend", .code = platform::kExitCommandNotStarted},
      {.line = "-o0 -t12", .acts = "", .code = platform::kExitNoOperation}};
  // clang-format on
  for (const Case& c : kCases) {
    Session s;
    s.Start(c.line);
    s.form.Check1.SetValue(c.force);
    s.process.RunFails = s.power.Fails = c.fails;
    s.process.Startable = !c.refused;
    s.power.SuspendResult = c.refused ? 0 : 1;
    if (*c.acts == '\0') s.form.Combo1.SetListIndex(-1);
    EXPECT_EQ(s.TicksUntilEnd(20), 12) << c.line;
    Events stored;
    for (const char* name : kSettingNames) stored.push_back(std::string("store ") + name);
    if (*c.acts != '\0') stored.emplace_back(c.acts);
    stored.emplace_back("end");
    EXPECT_EQ(s.process.Log, stored) << c.line;
    EXPECT_EQ(s.process.Ends, std::vector{c.code}) << c.line;
  }
}

TEST(Closing, FromOutsideOrWhileAnotherCopyCountsNothingRunsOrIsStoredHelpStillShows) {
  for (const char* line : {"-t60", "-? -f"}) {
    for (const bool counting : {false, true}) {  // whether another copy counts
      Session s;
      s.process.OtherCopyCounts = counting;
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
      // A start that would count shows the copy that counts, and ends at once.
      const bool yields = counting && line[1] != '?';
      EXPECT_EQ(s.process.Log, yields ? (Events{"show counting copy", "end"}) : Events{"end"});
      EXPECT_EQ(s.process.Ends,
                std::vector{yields ? platform::kExitAnotherCounts : platform::kExitDone});
      EXPECT_FALSE(s.registry.HasKey(kAppKey)) << line;
      EXPECT_TRUE(s.pdh.Calls.empty() || s.pdh.Calls.back() == "close") << line << counting;
    }
  }
}

}  // namespace
}  // namespace quellor::fake
