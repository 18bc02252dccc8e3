// The timer dialog (field rule, OK's arithmetic with a fake clock, Cancel,
// docking and dragging), the help window's text, and what the models of the
// windows and controls promise every window: the pressed look of the label
// buttons, and a new revision for every change the screen must show.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/number.h"
#include "expected_usage.h"
#include "fake_platform.h"

namespace quellor::fake {
namespace {

class TimerDialogTest : public ::testing::Test, protected Session {
 protected:
  TimerDialogTest() {
    Start();
    form1.ReportPlacement(600, 900);
    form1.SetOuterSize(4830, 3900);
  }
  // "Set Timer": the main window's tick waits while the dialog's clock runs.
  void Open() {
    dialog.SetHandle(kDialogWindow);
    form1.Label9.OnClick();
    EXPECT_FALSE(form1.Timer1.Enabled());
    EXPECT_TRUE(dialog.Timer1.Enabled());
  }
  // However the dialog went away, the main window ticks again.
  void ExpectClosed() {
    EXPECT_FALSE(dialog.Loaded());
    EXPECT_TRUE(form1.Timer1.Enabled());
    EXPECT_FALSE(dialog.Timer1.Enabled());
  }
  void Leave(TextBox& field, const char* typed) {
    field.TextTypedByUser(typed);
    field.OnLostFocus();
  }

  Form1& form1 = program.form1;
  Form3& dialog = program.form3;
  static constexpr WindowHandle kDialogWindow = 0x33;
};

TEST_F(TimerDialogTest, FieldRuleRoundsClampsAndWritesBackAfterABlank) {
  Open();
  const struct {
    TextBox& field;
    bool clockMode;
    const char* typed;
    const char* kept;
  } kCases[] = {
      {dialog.Text2, false, "75", " 60"},       {dialog.Text2, false, "abc", " 0"},
      {dialog.Text2, false, "2.5", " 2"},       {dialog.Text2, false, "3.5", " 4"},
      {dialog.Text3, false, "59.5", " 60"},     {dialog.Text3, false, "-1e309", " 0"},
      {dialog.Text1, false, "99999", " 32767"}, {dialog.Text1, true, "30", " 24"},
      {dialog.Text1, true, "-2", " 0"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.field.Name() + (c.clockMode ? " (clock) " : " ") + c.typed);
    c.clockMode ? dialog.Option2.Select() : dialog.Option1.Select();
    Leave(c.field, c.typed);
    EXPECT_EQ(c.field.Text(), c.kept);
  }
  // Choosing the clock applies the hours' limit at once.
  dialog.Option1.Select();
  Leave(dialog.Text1, "30");
  dialog.Option2.Select();
  EXPECT_EQ(dialog.Text1.Text(), " 24");
  // Entering a field selects all of it.
  dialog.Text2.TextTypedByUser("123");
  dialog.Text2.OnGotFocus();
  EXPECT_EQ(dialog.Text2.SelStart(), 0);
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
      {false, {}, "0", "75", "0", 4500, "01:15:00"},  // minutes still focused
      {false, {}, "0", "0", "10.5", 10.5, "00:00:10"},
      {false, {}, "-1", "0", "0", 82800, "23:00:00"},
      {false, {}, "-30", "0", "0", kStood, "-"},  // still negative after the day
      {false, {}, "600000", "0", "0", kStood, "-"},
      {true, {22, 0, 0}, "23", "0", "0", 3600, "01:00:00"},
      {true, {22, 0, 0}, "21", "0", "0", 82800, "23:00:00"},
      {true, {22, 0, 0}, "22", "0", "0", kStood, "-"},
      {true, {23, 59, 55}, "0", "0", "0", 5, "00:00:05"},
      {true, {13, 14, 15}, "24", "0", "0", 38745, "10:45:45"},
      {true, {22, 59, 59}, "23", "30", "0", 1801, "00:30:01"}};  // one reading of the clock
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.h) + " " + c.m + " " + c.s + (c.clockMode ? " (clock)" : ""));
    program.CountdownSeconds = kStood;
    program.TimeOutSeconds = 600;
    Open();
    if (c.clockMode) dialog.Option2.Select();
    dialog.Text1.TextTypedByUser(c.h);
    dialog.Text2.TextTypedByUser(c.m);
    dialog.Text3.TextTypedByUser(c.s);
    process.Clock = c.now;
    form1.Label3.SetCaption("-");
    dialog.Label5.OnClick();
    EXPECT_EQ(program.CountdownSeconds, c.countdown);
    EXPECT_EQ(program.TimeOutSeconds, c.countdown == kStood ? 36 : RoundHalfEven(c.countdown));
    EXPECT_EQ(form1.Label3.Caption(), c.shown);
    ExpectClosed();
  }
}

TEST_F(TimerDialogTest, CancelOrOutsideCloseKeepsTheCountdownAndTheNextOpeningStartsAfresh) {
  program.CountdownSeconds = 75;
  program.TimeOutSeconds = 600;
  for (const bool cancel : {true, false}) {
    SCOPED_TRACE(cancel ? "Cancel" : "closed from outside");
    Open();
    EXPECT_TRUE(dialog.Option1.Value());
    EXPECT_EQ(dialog.Text3.Text(), "0");
    EXPECT_EQ(dialog.Text3.SelLength(), 0);
    EXPECT_FALSE(dialog.Label6.Sunken());
    dialog.Option2.Select();
    Leave(dialog.Text3, "20");
    dialog.Label6.OnMouseDown(MouseArgs{kRightButton});
    cancel ? dialog.Label6.OnClick() : dialog.OnCloseRequest();
    EXPECT_EQ(program.CountdownSeconds, 75);
    EXPECT_EQ(program.TimeOutSeconds, 600);
    ExpectClosed();
  }
}

TEST_F(TimerDialogTest, DocksUnderTheMainWindowOnTopAsItAndDragsItAlong) {
  EXPECT_FALSE(dialog.Timer1.Enabled());  // the clock runs only while the dialog is open
  for (int check2 : {2, 0}) {             // greyed counts as ticked
    SCOPED_TRACE(check2);
    form1.Check2.SetDesignValue(check2);
    process.Clock = {7, 5, 9};
    user32.Calls.clear();
    Open();
    EXPECT_EQ(dialog.Label1.Caption(), "07:05:09");
    EXPECT_EQ(Rect({dialog.Left(), dialog.Top()}), Rect({600, 900 + 3900}));
    const std::string after = check2 != 0 ? " -1 0 0 0 0 3" : " -2 0 0 0 0 3";
    EXPECT_EQ(user32.Calls,
              std::vector<std::string>{"SetWindowPos " + std::to_string(kDialogWindow) + after});
    dialog.Timer1.OnTimer();
    EXPECT_EQ(dialog.Label1.Caption(), "07:05:10");
    EXPECT_EQ(dialog.Timer1.Interval(), 1000u);
    dialog.Label6.OnClick();
  }
  Open();
  user32.Calls.clear();
  user32.DuringDrag = [&](WindowHandle) {
    dialog.ReportPlacement(dialog.Left() + 50, dialog.Top() + 300);
  };
  dialog.OnMouseMove(MouseArgs{kLeftButton});
  const std::string drag = "SendMessageA " + std::to_string(kDialogWindow) + " 161 2 0";
  EXPECT_EQ(user32.Calls, (std::vector<std::string>{"ReleaseCapture", drag}));
  EXPECT_EQ(Rect({form1.Left(), form1.Top()}), Rect({650, 1200}));
  dialog.ReportPlacement(100, 7000);  // moved otherwise: the main window follows, no drag
  dialog.Frame1.OnMouseMove(MouseArgs{kLeftButton | kRightButton});
  EXPECT_EQ(user32.Calls.size(), 2u);
  EXPECT_EQ(Rect({form1.Left(), form1.Top() + form1.Height()}), Rect({100, 7000}));
}

TEST(HelpText, UsageAndVersionReadExactly) {
  const std::string expected = ExpectedUsageText();
  EXPECT_EQ(UsageText("-s -f -t10 -c2-o2"), expected);
  EXPECT_EQ(UsageText("-x"), expected.substr(0, expected.rfind(':') + 2) + "-x");
  EXPECT_EQ(VersionLine(), "Version :2.0.3");
}

TEST(LabelButtons, LookPressedFromTheMouseDownUntilReleased) {
  Session s;
  s.Start();
  // Those without a release handler stay pressed until their window closes.
  const struct {
    Label& button;
    bool releases;
  } kButtons[] = {{s.form.Label9, true},           {s.form.Label10, true},
                  {s.form.Label12, true},          {s.program.form2.Label5, true},
                  {s.program.form2.Label1, false}, {s.program.form2.Label2, false},
                  {s.program.form3.Label5, false}, {s.program.form3.Label6, false}};
  for (const auto& [button, releases] : kButtons) {
    SCOPED_TRACE(button.Name());
    const Color normal = button.ForeColor();
    button.OnMouseDown({kRightButton, 0, 1, 1});
    EXPECT_TRUE(button.Sunken());
    if (!releases) continue;
    button.SetForeColor(normal + 1);
    button.OnMouseUp({kRightButton, 0, 900, 900});  // released off the label
    EXPECT_FALSE(button.Sunken());
    EXPECT_EQ(button.ForeColor(), normal);
  }
  // No help while the timer dialog is open: its return would restart the tick.
  s.form.Label9.OnClick();
  s.form.Label12.OnClick();
  EXPECT_FALSE(s.program.form2.Loaded());
  s.program.form3.Label6.OnClick();
  s.form.Label12.OnClick();
  const Form2& help = s.program.form2;
  EXPECT_TRUE(help.Visible());
  EXPECT_TRUE(help.Label2.Visible() && help.Label2.Enabled());  // the OK that returns
  EXPECT_FALSE(help.Label1.Visible() || help.Label1.Enabled());
}

TEST(Models, EveryChangeTheScreenShowsGivesANewRevision) {
  Label label("Label", 1);
  CheckBox check("Check", 3);
  OptionButton first("First", 4), second("Second", 5);
  std::vector<OptionButton*> group{&first, &second};
  first.Group = second.Group = &group;
  Form window("Form");
  const auto of = [](const auto& model) { return [&model] { return model.Revision(); }; };
  const struct {
    const char* change;
    std::function<std::uint32_t()> revision;
    std::function<void()> make;
  } kChanges[] = {
      {"caption", of(label), [&] { label.SetCaption("x"); }},
      {"pressed", of(label), [&] { label.SetSunken(true); }},
      {"checked", of(check), [&] { check.SetValue(1); }},
      {"design check", of(check), [&] { check.SetDesignValue(2); }},
      {"selected", of(first), [&] { first.Select(); }},
      {"cleared by another", of(first), [&] { second.Select(); }},
      {"shown", of(window), [&] { window.Show(); }},
      {"moved down", of(window), [&] { window.Move(100, 50); }},
      {"unloaded", of(window), [&] { window.Unload(); }},
  };
  for (const auto& c : kChanges) {
    const std::uint32_t before = c.revision();
    c.make();
    EXPECT_GT(c.revision(), before) << c.change;
  }
  EXPECT_EQ(Rect({window.Left(), window.Top()}), Rect({100, 50}));
  EXPECT_FALSE(window.Visible());  // unloading hides
}

}  // namespace
}  // namespace quellor::fake
