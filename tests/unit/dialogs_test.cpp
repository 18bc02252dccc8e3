// The timer dialog (field rule, OK's arithmetic with a fake clock, Cancel,
// docking and dragging), the help window's text, and what the models of the
// windows and controls promise every window: the pressed look of the label
// buttons, and a new revision for every change the screen must show.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "common/form_input.h"
#include "common/number.h"
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
    EXPECT_FALSE(dialog.Timer1.Enabled());  // no clock while closed
    process.Clock = {9, 8, 7};
    form1.Label9.OnClick();
    EXPECT_EQ(dialog.Label1.Caption(), "09:08:07");  // at once, before the first tick
    EXPECT_TRUE(!form1.Timer1.Enabled() && dialog.Timer1.Enabled());
    EXPECT_EQ(dialog.Timer1.Interval(), 1000u);  // the clock shows seconds
    dialog.Timer1.OnTimer();
    EXPECT_EQ(dialog.Label1.Caption(), "09:08:08");
  }

  Form1& form1 = program.form1;
  Form3& dialog = program.form3;
  static constexpr WindowHandle kDialogWindow = 0x33;
};

TEST_F(TimerDialogTest, FieldRuleRoundsClampsAndWritesBackAfterABlank) {
  Open();
  // The field, whether the clock is chosen, what is typed and what it becomes.
  const std::tuple<TextBox&, bool, const char*, const char*> kCases[] = {
      {dialog.Text2, false, "75", " 60"},       {dialog.Text2, false, "abc", " 0"},
      {dialog.Text2, false, "2.5", " 2"},       {dialog.Text2, false, "3.5", " 4"},
      {dialog.Text3, false, "59.5", " 60"},     {dialog.Text3, false, "-1e309", " 0"},
      {dialog.Text1, true, "30", " 24"},        {dialog.Text1, true, "-2", " 0"},
      {dialog.Text1, false, "99999", " 32767"},  // back from the clock
  };
  for (const auto& [field, clockMode, typed, kept] : kCases) {
    SCOPED_TRACE(field.Name() + (clockMode ? " (clock) " : " ") + typed);
    clockMode ? dialog.Option2.Select() : dialog.Option1.Select();
    field.TextTypedByUser(typed);
    field.OnLostFocus();
    EXPECT_EQ(field.Text(), kept);
    EXPECT_EQ(dialog.Frame1.Caption(), clockMode ? "Timer" : "Count down");
    EXPECT_NE(dialog.Option1.Value(), dialog.Option2.Value());
  }
  // Entering a field selects all of it.
  dialog.Text2.TextTypedByUser("123");
  FocusArrived(dialog.Text2);
  EXPECT_EQ(dialog.Text2.SelStart(), 0);
  EXPECT_EQ(dialog.Text2.SelLength(), 3);
  EXPECT_EQ(KeyDown(dialog, &dialog.Text1, NavigationKey::Tab, false, false).focus, &dialog.Text2);
}

TEST_F(TimerDialogTest, OkSetsTheCountdownOrRefusesItAndCancelKeepsIt) {
  constexpr double kStood = 36.5;  // the countdown before, kept when refused
  // How it closes ('o': OK, 'c': Cancel, 'x': from outside), whether the
  // clock is chosen, the time, the three fields, the countdown afterwards
  // and the main window's display.
  using Case = std::tuple<char, bool, platform::LocalTime, const char*, const char*, const char*,
                          double, const char*>;
  const std::vector<Case> cases = {
      // clang-format off
      {'o', false, {}, "0", "0", "10", kStood, "-"},
      {'o', false, {}, "0", "0", "10.5", 10.5, "00:00:10"},
      {'o', true, {22, 0, 0}, "22", "0", "0", kStood, "-"},
      // Choosing the clock after typing rounds the hour (22.6: 23).
      {'o', true, {22, 59, 59}, "22.6", "30", "0", 1801, "00:30:01"},  // one reading of the clock
      {'c', true, {22, 0, 0}, "23", "0", "20", kStood, "-"},
      {'x', true, {22, 0, 0}, "23", "0", "20", kStood, "-"}};
  // clang-format on
  for (const auto& [close, clockMode, now, h, m, sec, countdown, shown] : cases) {
    SCOPED_TRACE(std::string(1, close) + " " + h + " " + m + " " + sec +
                 (clockMode ? " (clock)" : ""));
    program.CountdownSeconds = kStood;
    program.TimeOutSeconds = 600;
    Open();
    // Every opening starts afresh, whatever the last one left.
    EXPECT_TRUE(dialog.Option1.Value());
    EXPECT_EQ(dialog.Text3.Text(), "0");
    EXPECT_EQ(dialog.Text3.SelStart() + dialog.Text3.SelLength(), 0);
    EXPECT_FALSE(dialog.Label5.Sunken() || dialog.Label6.Sunken());
    dialog.Text1.TextTypedByUser(h);
    dialog.Text2.TextTypedByUser(m);
    dialog.Text3.TextTypedByUser(sec);
    FocusArrived(dialog.Text3);  // a selection for the next opening to clear
    if (clockMode) dialog.Option2.Select();
    process.Clock = now;
    form1.Label3.SetCaption("-");
    (close == 'o' ? dialog.Label5 : dialog.Label6).OnMouseDown(MouseArgs{kRightButton});
    close == 'o' ? dialog.Label5.OnClick()
                 : (close == 'c' ? dialog.Label6.OnClick() : dialog.OnCloseRequest());
    EXPECT_EQ(program.CountdownSeconds, countdown);
    const int timeOut = countdown == kStood ? 36 : RoundHalfEven(countdown);
    EXPECT_EQ(program.TimeOutSeconds, close == 'o' ? timeOut : 600);
    EXPECT_EQ(form1.Label3.Caption(), shown);
    // However the dialog went away, the main window ticks again.
    EXPECT_TRUE(!dialog.Loaded() && form1.Timer1.Enabled() && !dialog.Timer1.Enabled());
  }
}

TEST_F(TimerDialogTest, DocksUnderTheMainWindowOnTopAsItAndDragsItAlong) {
  for (int check2 : {2, 0}) {  // greyed counts as ticked
    SCOPED_TRACE(check2);
    form1.Check2.SetDesignValue(check2);
    user32.Calls.clear();
    Open();
    EXPECT_EQ(Rect({dialog.Left(), dialog.Top()}), Rect({600, 900 + 3900}));
    const std::string after = check2 != 0 ? " -1 0 0 0 0 3" : " -2 0 0 0 0 3";
    EXPECT_EQ(user32.Calls,
              std::vector<std::string>{"SetWindowPos " + std::to_string(kDialogWindow) + after});
    // Changed while the dialog is open, both windows follow.
    user32.Calls.clear();
    CheckBoxClicked(form1.Check2);
    const std::string flipped = check2 == 0 ? " -1 0 0 0 0 3" : " -2 0 0 0 0 3";
    EXPECT_EQ(user32.Calls,
              (std::vector<std::string>{"SetWindowPos 0" + flipped, "SetWindowPos 51" + flipped}));
    dialog.Label6.OnClick();
  }
  // A left-button move on either window, or on the frame on it, drags it; the other follows.
  form1.SetHandle(0x10);
  Open();
  struct Drag {
    Form& dragged;
    Control& frame;
    WindowHandle handle;
    Form& other;
    Rect followed;
  };
  for (const Drag& d : {Drag{form1, form1.Frame1, 0x10, dialog, {-300, 200 + 3900}},
                        Drag{dialog, dialog.Frame1, kDialogWindow, form1, {-300, 200 - 3900}}}) {
    user32.Calls.clear();
    user32.DuringDrag = [&](WindowHandle) { d.dragged.ReportPlacement(-300, 200); };
    d.dragged.OnMouseMove({kLeftButton, 0, 5, 5});
    d.frame.OnMouseMove({kLeftButton, 0, 5, 5});
    const std::string drag = "SendMessageA " + std::to_string(d.handle) + " 161 2 0";
    EXPECT_EQ(user32.Calls,
              (std::vector<std::string>{"ReleaseCapture", drag, "ReleaseCapture", drag}));
    EXPECT_EQ(Rect({d.other.Left(), d.other.Top()}), d.followed);
  }
}

TEST(LabelButtons, LookPressedFromTheMouseDownUntilReleasedAndHelpPausesTheMainWindow) {
  Session s;
  s.Start();
  // Those without a release handler stay pressed until their window closes.
  const std::pair<Label&, bool> kButtons[] = {
      {s.form.Label9, true},           {s.form.Label10, true},
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
  // Unloaded, whether never shown or last shown to end the program, help has its returning OK.
  Form2& help = s.program.form2;
  const auto returningOk = [&] {
    return help.Label2.Visible() && help.Label2.Enabled() && !help.Label1.Visible() &&
           !help.Label1.Enabled();
  };
  EXPECT_TRUE(returningOk());
  help.ShowWithOk(true);  // for -?: its presses above undone
  EXPECT_TRUE(help.Label1.Enabled() && !help.Label1.Sunken());
  help.Text1.SetSelection(3, 1);
  help.Unload();
  EXPECT_TRUE(returningOk());
  s.form.Label12.OnClick();
  EXPECT_TRUE(help.Visible());
  // The usage text byte for byte, the built-in defaults last.
  EXPECT_EQ(
      help.Text1.Text(),
      "Command Line Usage:\r\nquellor -[x] -f -tyy -czz -oww\r\n[x]  is l, r,  s or h, where\r\n"
      "-l  : Log off\r\n-r  : Reboot window\r\n-s  : Shutdown window\r\n"
      "-h  : Hibernate (must enable in Power Options)\r\n\r\n-f  : Forces running applications "
      "to close without warning. This will not prompt for File-Save in any open applications, so "
      "will result in a loss of all unsaved data!!!\r\n\r\nyy  : timer in secs\r\n\r\nzz  : CPU "
      "Usage in %\r\n\r\nww  : 0 = Timer only\r\n         1 = CPU idle only\r\n         2 = "
      "Timer AND CPU idle\r\n         3 = Timer OR CPU idle\r\n\r\n-?  : Show this help "
      "menu\r\n\r\ndefault : -s -f -t10 -c2-o2");
  EXPECT_EQ(help.Text1.SelStart() + help.Text1.SelLength(), 0);
  EXPECT_EQ(help.Label4.Caption(), "Version :2.0.3");
  EXPECT_EQ(KeyDown(help, nullptr, NavigationKey::Tab, false, false).focus, &help.Text1);
  EXPECT_TRUE(returningOk());
  help.Label5.OnClick();  // "Online Help"
  // The help pauses the main window until it closes, from outside as by its OK.
  EXPECT_FALSE(s.form.Enabled() || s.form.Timer1.Enabled());
  help.OnCloseRequest();
  EXPECT_TRUE(s.form.Visible() && s.form.Enabled() && s.form.Timer1.Enabled() && !help.Loaded());
  s.form.Label8.OnClick();  // the title, like "Online Help", opens the home page
  const std::string open = "ShellExecuteA 0 1 open " + std::string(kHomePageUrl);
  EXPECT_EQ(s.shell32.Calls, (std::vector<std::string>{open, open}));
}

TEST(Program, FinishesOnlyOnceNoWindowIsLoaded) {
  // clang-format off
  struct Case { const char* name; bool help, timerDialog; };
  const Case cases[] = {{.name = "main window alone", .help = false, .timerDialog = false},
                        {.name = "help left", .help = true, .timerDialog = false},
                        {.name = "timer dialog left", .help = false, .timerDialog = true}};
  // clang-format on
  for (const Case& c : cases) {
    Session s;
    s.Start();
    if (c.help) s.form.Label12.OnClick();
    if (c.timerDialog) s.form.Label9.OnClick();
    EXPECT_FALSE(s.program.Finished()) << c.name;
    s.form.SetHandle(0x10);
    s.form.RememberFocus(&s.form.Text2);
    s.form.Unload();
    // Unloaded, the main window stops ticking and forgets its window and focus.
    EXPECT_TRUE(!s.form.Timer1.Enabled() && s.form.Handle() == 0 && !s.form.RememberedFocus());
    EXPECT_EQ(s.program.Finished(), !c.help && !c.timerDialog) << c.name;
  }
}

// Controls of each kind, two option buttons in one group.
struct Controls {
  Controls() {
    for (OptionButton* o : group) o->Group = &group;
    a.Select();
    combo.AddItem("x", 0);
  }
  Label label{"Label", 1};
  CheckBox check{"Check", 3};
  TextBox box{"Text", 2};
  ComboBox combo{"Combo", 4};
  OptionButton a{"A", 5}, b{"B", 6};
  std::vector<OptionButton*> group{&a, &b};
};

// clang-format off
TEST(Models, EveryChangeTheScreenShowsGivesTheChangedControlANewRevision) {
  using Apply = void (*)(Controls&);
  struct Case { const char* change; Apply apply; Control& (*changed)(Controls&); };
  const auto label = [](Controls& c) -> Control& { return c.label; };
  const auto check = [](Controls& c) -> Control& { return c.check; };
  const auto combo = [](Controls& c) -> Control& { return c.combo; };
  const auto a = [](Controls& c) -> Control& { return c.a; };
  const Case kCases[] = {
      {.change = "caption", .apply = [](Controls& c) { c.label.SetCaption("x"); }, .changed = label},
      {.change = "colour", .apply = [](Controls& c) { c.label.SetForeColor(1); }, .changed = label},
      {.change = "hidden", .apply = [](Controls& c) { c.label.SetVisible(false); }, .changed = label},
      {.change = "greyed", .apply = [](Controls& c) { c.label.SetEnabled(false); }, .changed = label},
      {.change = "sunken", .apply = [](Controls& c) { c.label.SetSunken(true); }, .changed = label},
      {.change = "value", .apply = [](Controls& c) { c.check.SetValue(2); }, .changed = check},
      {.change = "design value", .apply = [](Controls& c) { c.check.SetDesignValue(1); }, .changed = check},
      {.change = "selection", .apply = [](Controls& c) { c.box.SetSelection(0, 0); },
       .changed = [](Controls& c) -> Control& { return c.box; }},
      {.change = "list index", .apply = [](Controls& c) { c.combo.SetListIndex(0); }, .changed = combo},
      {.change = "list cleared", .apply = [](Controls& c) { c.combo.Clear(); }, .changed = combo},
      {.change = "other selected", .apply = [](Controls& c) { c.b.Select(); }, .changed = a},
      {.change = "other placed", .apply = [](Controls& c) { c.b.SetDesignValue(true); }, .changed = a},
      {.change = "selected", .apply = [](Controls& c) { c.b.Select(); }, .changed = [](Controls& c) -> Control& { return c.b; }},
      {.change = "placed", .apply = [](Controls& c) { c.b.SetDesignValue(true); }, .changed = [](Controls& c) -> Control& { return c.b; }},
      {.change = "item added", .apply = [](Controls& c) { c.combo.AddItem("y", 0); }, .changed = combo}};
  for (const Case& c : kCases) {
    Controls controls;
    const std::uint32_t before = c.changed(controls).Revision();
    c.apply(controls);
    EXPECT_GT(c.changed(controls).Revision(), before) << c.change;
    EXPECT_TRUE(controls.a.Value() != controls.b.Value()) << c.change;
  }
  // The same selection again still moves the caret, which the user may have
  // moved since; typing leaves the caret to the user.
  Controls c;
  c.box.SetSelection(0, 0);
  c.box.SetSelection(0, 0);
  c.box.TextTypedByUser("12");
  EXPECT_EQ(c.box.SelectionRevision(), 2u);
}

TEST(Models, AListTakesAnIndexOfItsItemsOrNoneAndAClickTurnsAnyTickedBoxClear) {
  struct Case { int index; bool taken; };
  Controls c;
  c.combo.AddItem("y", 1);
  for (const Case& row : {Case{.index = -2, .taken = false}, Case{.index = -1, .taken = true},
                          Case{.index = 1, .taken = true}, Case{.index = 2, .taken = false}}) {
    c.combo.SetListIndex(0);
    EXPECT_EQ(c.combo.SetListIndex(row.index), row.taken) << row.index;
    EXPECT_EQ(c.combo.ListIndex(), row.taken ? row.index : 0) << row.index;
  }
  // An item added before the selected one moves the selection along; an index out of range adds at that end.
  c.combo.SetListIndex(0);
  for (const auto& [text, index] : {std::pair{"w", 0}, {"z", 99}, {"v", -5}}) c.combo.AddItem(text, index);
  EXPECT_EQ(c.combo.Items(), (std::vector<std::string>{"v", "w", "x", "y", "z"}));
  EXPECT_EQ(c.combo.SelectedText(), "x");
  // A selection is clamped to the text.
  c.box.SetText("12");
  struct Selection { int start, length, selStart, selLength; };
  for (const Selection& row : {Selection{5, 9, 2, 0}, {-1, 9, 0, 2}, {1, 5, 1, 1}}) {
    c.box.SetSelection(row.start, row.length);
    EXPECT_EQ(std::pair(c.box.SelStart(), c.box.SelLength()), std::pair(row.selStart, row.selLength)) << row.start;
  }
  c.a.SetDesignValue(false);  // the design may leave a group with none selected
  EXPECT_FALSE(c.a.Value() || c.b.Value());
  for (const auto& [before, after] : {std::pair{0, 1}, {1, 0}, {2, 0}}) {
    c.check.SetDesignValue(before);
    CheckBoxClicked(c.check);
    EXPECT_EQ(c.check.Value(), after) << "from " << before;
  }
}
// clang-format on

}  // namespace
}  // namespace quellor::fake
