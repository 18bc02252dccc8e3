// The timer dialog (field rules, OK's arithmetic with a fake clock, Cancel,
// docking and dragging), and the help window's text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controller/program.h"
#include "expected_usage.h"
#include "fake_platform.h"

namespace quellor {
namespace {

// A clock that moves on by a second at every reading.
struct SteppingProcess : fake::FakeProcess {
  platform::LocalTime Now() override {
    const platform::LocalTime now = Clock;
    if (++Clock.second == 60) Clock = {Clock.hour + (Clock.minute == 59), (Clock.minute + 1) % 60};
    return now;
  }
};

class TimerDialogTest : public ::testing::Test {
 protected:
  TimerDialogTest() {
    program.Main();
    form1.ReportPlacement(600, 900);
    form1.SetOuterSize(4830, 3900);
  }
  // As the main window's "Set Timer" opens the dialog.
  void Open() {
    form1.Timer1.SetEnabled(false);
    dialog.SetHandle(kDialogWindow);
    dialog.Show();
  }
  void Leave(TextBox& field, const char* typed) {
    field.TextTypedByUser(typed);
    field.OnLostFocus();
  }

  fake::FakePlatform fake;
  SteppingProcess clock;
  platform::Platform os{fake.pdh, fake.power, fake.registry, fake.user32, fake.shell32, clock};
  Program program{os};
  Form1& form1 = program.form1;
  Form3& dialog = program.form3;
  static constexpr WindowHandle kDialogWindow = 0x33;
};

TEST_F(TimerDialogTest, FieldRulesRoundClampAndWriteBackWithABlank) {
  Open();
  const std::pair<const char*, const char*> kMinutes[] = {
      {"75", " 60"}, {"-3", " 0"}, {"abc", " 0"}, {"2.5", " 2"}, {"3.5", " 4"}, {"1e309", " 60"}};
  for (const auto& [typed, kept] : kMinutes) {
    Leave(dialog.Text2, typed);
    Leave(dialog.Text3, typed);
    EXPECT_EQ(dialog.Text2.Text() + "|" + dialog.Text3.Text(), std::string(kept) + "|" + kept)
        << typed;
  }
  // Count-down hours stop only where 16 bits do; clock hours at 24.
  Leave(dialog.Text1, "99999");
  EXPECT_EQ(dialog.Text1.Text(), " 32767");
  Leave(dialog.Text1, "30");
  dialog.Option2.Select();
  EXPECT_EQ(dialog.Frame1.Caption() + dialog.Text1.Text(), "Timer 24");
  dialog.Option1.Select();
  EXPECT_EQ(dialog.Frame1.Caption() + dialog.Text1.Text(), "Count down 24");
  dialog.Text2.TextTypedByUser("123");
  dialog.Text2.OnGotFocus();
  EXPECT_EQ(dialog.Text2.SelLength(), 3);
}

TEST_F(TimerDialogTest, OkSetsTheCountdownOrRefusesIt) {
  constexpr double kStood = 36.5;  // the countdown before OK, kept when refused
  struct Case {
    bool clockMode;
    platform::LocalTime now;
    const char *h, *m, *s;
    double countdown;
    const char* shown;  // the main window's display afterwards
  };
  const std::vector<Case> cases = {
      // clang-format off
      {false, {}, "0", "0", "10", kStood, "-"}, {false, {}, "0", "0", "11", 11, "00:00:11"},
      {false, {}, "1", "30", "0", 5400, "01:30:00"},
      {false, {}, "100", "0", "0", 360000, "100:00:00"},
      {false, {}, "0", "75", "0", 4500, "01:15:00"},  // minutes still focused
      {false, {}, "-1", "0", "0", 82800, "23:00:00"},
      {false, {}, "-30", "0", "0", kStood, "-"},  // still negative after the day
      {false, {}, "1e309", "-1e309", "0", kStood, "-"},
      {false, {}, "600000", "0", "0", kStood, "-"},
      {true, {22, 0, 0}, "23", "0", "0", 3600, "01:00:00"},
      {true, {22, 0, 0}, "21", "0", "0", 82800, "23:00:00"},
      {true, {22, 0, 0}, "22", "0", "0", kStood, "-"},
      {true, {22, 0, 0}, "1e309", "0", "0", kStood, "-"},
      {true, {23, 59, 55}, "0", "0", "0", 5, "00:00:05"},
      {true, {13, 14, 15}, "24", "0", "0", 38745, "10:45:45"},
      {true, {22, 59, 59}, "23", "30", "0", 1801, "00:30:01"}};  // one reading of the clock
  // clang-format on
  for (const Case& c : cases) {
    program.CountdownSeconds = kStood;
    program.TimeOutSeconds = 600;
    Open();
    if (c.clockMode) dialog.Option2.Select();
    dialog.Text1.TextTypedByUser(c.h);
    dialog.Text2.TextTypedByUser(c.m);
    dialog.Text3.TextTypedByUser(c.s);
    clock.Clock = c.now;
    form1.Label3.SetCaption("-");
    dialog.Label5.OnClick();
    const std::string at = std::string(c.h) + " " + c.m + " " + c.s;
    EXPECT_EQ(program.CountdownSeconds, c.countdown) << at;
    EXPECT_EQ(program.TimeOutSeconds, c.countdown == kStood ? 36 : c.countdown) << at;
    EXPECT_EQ(form1.Label3.Caption(), c.shown) << at;
    EXPECT_TRUE(form1.Timer1.Enabled() && !dialog.Loaded());
  }
}

TEST_F(TimerDialogTest, CancelOrOutsideCloseKeepsTheCountdownAndTheNextOpeningStartsAfresh) {
  program.CountdownSeconds = 75;
  program.TimeOutSeconds = 600;
  for (auto close :
       {+[](Form3& d) { d.Label6.OnClick(); }, +[](Form3& d) { d.OnCloseRequest(); }}) {
    Open();
    EXPECT_TRUE(dialog.Option1.Value() && dialog.Text3.Text() == "0" && !dialog.Label6.Sunken());
    dialog.Option2.Select();
    Leave(dialog.Text3, "20");
    dialog.Label6.OnMouseDown(MouseArgs{kRightButton});
    EXPECT_TRUE(dialog.Label6.Sunken());
    close(dialog);
    EXPECT_EQ(program.CountdownSeconds + program.TimeOutSeconds, 75 + 600);
    EXPECT_TRUE(form1.Timer1.Enabled() && !dialog.Loaded());
  }
}

TEST_F(TimerDialogTest, DocksUnderTheMainWindowOnTopAsItAndDragsItAlong) {
  for (int check2 : {1, 2, 0}) {
    form1.Check2.SetDesignValue(check2);
    clock.Clock = {7, 5, 9};
    fake.user32.Calls.clear();
    Open();
    EXPECT_EQ(dialog.Label1.Caption(), "07:05:09");
    EXPECT_EQ(Rect({dialog.Left(), dialog.Top()}), Rect({600, 900 + 3900}));
    const std::string after = check2 != 0 ? " -1 0 0 0 0 3" : " -2 0 0 0 0 3";
    EXPECT_EQ(fake.user32.Calls,
              std::vector<std::string>{"SetWindowPos " + std::to_string(kDialogWindow) + after});
    dialog.Timer1.OnTimer();
    EXPECT_EQ(dialog.Label1.Caption(), "07:05:10");
    dialog.Label6.OnClick();
  }
  Open();
  fake.user32.Calls.clear();
  fake.user32.DuringDrag = [&](WindowHandle) {
    dialog.ReportPlacement(dialog.Left() + 50, dialog.Top() + 300);
  };
  dialog.OnMouseMove(MouseArgs{kLeftButton});
  const std::string drag = "SendMessageA " + std::to_string(kDialogWindow) + " 161 2 0";
  EXPECT_EQ(fake.user32.Calls, (std::vector<std::string>{"ReleaseCapture", drag}));
  EXPECT_EQ(Rect({form1.Left(), form1.Top()}), Rect({650, 1200}));
  for (int buttons : {int{kRightButton}, kLeftButton | kRightButton}) {
    dialog.ReportPlacement(100, 7000);  // moved otherwise: the main window follows, no drag
    dialog.Frame1.OnMouseMove(MouseArgs{buttons});
    EXPECT_EQ(fake.user32.Calls.size(), 2u) << buttons;
    EXPECT_EQ(Rect({form1.Left(), form1.Top() + form1.Height()}), Rect({100, 7000}));
  }
}

TEST(HelpText, UsageAndVersionReadExactly) {
  const std::string expected = ExpectedUsageText();
  EXPECT_EQ(UsageText("-s -f -t10 -c2-o2"), expected);
  EXPECT_EQ(UsageText("-x"), expected.substr(0, expected.rfind(':') + 2) + "-x");
  EXPECT_EQ(VersionLine(), "Version :2.0.3");
}

}  // namespace
}  // namespace quellor
