// What screen readers read of the controls and what their default action
// does; the colours in the design and in high contrast; Tab into a box; the
// window that takes the focus when a dialog closes.
#include <gtest/gtest.h>

#include "common/accessibility.h"
#include "fake_platform.h"

namespace quellor::testing {
namespace {

struct Started : fake::Session {
  Started() { Start("-t3000"); }
};

using Role = AccessibleRole;

TEST(Accessibility, EachControlReportsItsRoleNameValueActionAndState) {
  Started s;
  Form1& f = s.form;
  const Form3& t = s.program.form3;
  f.Label3.SetCaption("00:49:59");
  f.Option1[kMethodTimer].Select();  // the threshold box becomes unusable
  f.Label12.OnClick();               // help, with its hidden OK that would end
  // clang-format off
  struct Case { const Control* control; AccessibleDescription read; };
  const Case kCases[] = {
      // The main window, hidden and disabled behind help.
      {.control = &f.Label10, .read = {Role::PushButton, "Abort", "", "Press", true, true}},
      {.control = &f.Label3, .read = {Role::StaticText, "Time out", "00:49:59", "", true, true}},
      {.control = &f.Text2, .read = {Role::Text, "% CPU Usage", "2", "", true, true}},
      {.control = &f.Combo1, .read = {Role::ComboBox, "Computer Operation", "Shutdown", "", true, true}},
      {.control = &f.Option1[kMethodTimer], .read = {Role::RadioButton, "Timer", "", "", true, true}},
      {.control = &s.program.form2.Label1, .read = {Role::PushButton, "OK", "", "Press", true, true}},
      {.control = &s.program.form2.Text1, .read = {Role::Text, "Switches", UsageText(s.program.DefaultSwitches), "", false, false}},
      // The timer dialog, not opened yet.
      {.control = &t.Label1, .read = {Role::StaticText, "Clock", "", "", false, true}},
      {.control = &t.Text1, .read = {Role::Text, "Hour", "", "", false, true}},
      {.control = &t.Text2, .read = {Role::Text, "Min", "", "", false, true}},
      {.control = &t.Text3, .read = {Role::Text, "Sec", "", "", false, true}}};
  // clang-format on
  for (const Case& c : kCases) EXPECT_TRUE(Describe(*c.control) == c.read) << c.control->Name();
}

TEST(Accessibility, TheDefaultActionClicksOnlyAUsableLabelButton) {
  Started s;
  Form1& f = s.form;
  Form2& help = s.program.form2;
  LabelPresses presses;
  f.Label9.SetEnabled(false);
  for (Control* none : std::initializer_list<Control*>{&f.Check1, &f.Label5, &f.Label9}) {
    EXPECT_FALSE(DoDefaultAction(*none, presses)) << none->Name();
  }
  EXPECT_FALSE(s.program.form3.Loaded());
  // A value put reaches a usable text box alone, as far as typing would go.
  const std::string longer(kMaxTextLength + 1, '7');
  EXPECT_EQ(ValueTaken(f.Text2, longer), longer.substr(0, kMaxTextLength));
  EXPECT_EQ(ValueTaken(f.Label5, "5"), std::nullopt);
  EXPECT_TRUE(DoDefaultAction(f.Label12, presses));  // "?"
  EXPECT_EQ(ValueTaken(f.Text2, "55"), std::nullopt);
  EXPECT_TRUE(help.Visible() && !f.Visible());
  EXPECT_FALSE(DoDefaultAction(help.Label1, presses));  // hidden
  EXPECT_FALSE(DoDefaultAction(f.Label10, presses));    // its window hidden
  EXPECT_TRUE(DoDefaultAction(help.Label2, presses));
  EXPECT_TRUE(f.Visible() && !help.Loaded());
  EXPECT_THROW(DoDefaultAction(f.Label10, presses), fake::ProcessEnded);
  EXPECT_EQ(s.process.Runs.at(0).commandLine, "Shutdown -a");
}

TEST(Accessibility, ColoursAreTheDesignsOrInHighContrastTheSystemsForWhatTheControlIs) {
  Started s;
  Form1& f = s.form;
  f.Option1[kMethodTimer].Select();  // the threshold box becomes unusable
  f.Label12.OnClick();               // help, with its unusable OK
  f.Label9.OnMouseDown({});
  const auto sys = [](SystemColor color) { return System(color); };
  using enum SystemColor;
  // clang-format off
  struct Case { const Control* control; bool highContrast; Colors colors; };
  const Case kCases[] = {
      {.control = &f.Label10, .highContrast = false, .colors = {Rgb(0, 0, 255), kSystemWindowColor}},
      {.control = &f.Label3, .highContrast = false, .colors = {Rgb(255, 0, 0), kBlack}},
      {.control = &f.Text2, .highContrast = false, .colors = {kBlack, kSystemWindowColor}},
      {.control = &f.Label10, .highContrast = true, .colors = {sys(ButtonText), sys(ButtonFace)}},
      {.control = &f.Label9, .highContrast = true, .colors = {sys(HighlightText), sys(Highlight)}},
      {.control = &f.Label3, .highContrast = true, .colors = {sys(WindowText), sys(Window)}},
      {.control = &f.Text2, .highContrast = true, .colors = {sys(GrayText), sys(Window)}},
      {.control = &s.program.form2.Label1, .highContrast = true, .colors = {sys(GrayText), sys(ButtonFace)}}};
  // clang-format on
  for (const Case& c : kCases) {
    EXPECT_TRUE(ColorsOf(*c.control, f, c.highContrast) == c.colors)
        << c.control->Name() << (c.highContrast ? " in high contrast" : "");
  }
  EXPECT_EQ(FormBackColor(f, false), f.BackColor);
  EXPECT_EQ(FormBackColor(f, true), sys(Window));
}

TEST(Accessibility, TabIntoAOneLineBoxSelectsItsWholeText) {
  Started s;
  Form1& f = s.form;
  Form2& help = s.program.form2;
  f.Text2.SetText("15");
  for (const bool backwards : {false, true}) {
    f.Text2.SetSelection(1, 0);
    KeyDown(f, backwards ? static_cast<Control*>(&f.Combo1) : &f.Option1[kMethodTimerAndCpu],
            NavigationKey::Tab, backwards, false);
    EXPECT_TRUE(f.Text2.SelStart() == 0 && f.Text2.SelLength() == 2) << backwards;
  }
  f.Label12.OnClick();
  help.Text1.SetSelection(3, 0);
  KeyDown(help, nullptr, NavigationKey::Tab, false, false);
  EXPECT_EQ(help.Text1.SelLength(), 0);  // many lines keep their caret
}

TEST(Accessibility, TheFocusGoesBackToTheMainWindowWhenADialogCloses) {
  Started s;
  Program& p = s.program;
  const std::vector<Form*> forms{&p.form1, &p.form2, &p.form3};
  p.form1.Label9.OnClick();   // the timer dialog
  p.form1.Label12.OnClick();  // no help while it is loaded: closing would restart the tick
  EXPECT_EQ(FormAfterClosing(forms, p.form3), &p.form1);
  EXPECT_EQ(FormAfterClosing(forms, p.form1), &p.form3);
  p.form3.Label6.OnClick();   // Cancel
  p.form1.Label12.OnClick();  // help hides and disables the main window
  p.form1.Label9.OnClick();   // and no timer dialog while it is loaded
  EXPECT_EQ(FormAfterClosing(forms, p.form2), nullptr);
  p.form2.Label2.OnClick();
  EXPECT_EQ(FormAfterClosing(forms, p.form2), &p.form1);
}

}  // namespace
}  // namespace quellor::testing
