// What screen readers read of the controls, what their default action does,
// and the colours the controls take in the design and in high contrast.
#include <gtest/gtest.h>

#include "common/accessibility.h"
#include "fake_platform.h"

namespace quellor::testing {
namespace {

struct Started : fake::Session {
  Started() { Start("-t3000"); }
};

constexpr Color kHc(SystemColor color) {
  return System(color);
}

TEST(Accessibility, EachControlReportsItsRoleNameValueActionAndState) {
  Started s;
  Form1& f = s.form;
  Form2& help = s.program.form2;
  f.Label3.SetCaption("00:49:59");
  f.Option1[kMethodTimer].Select();  // the threshold box becomes unusable
  f.Label12.OnClick();               // help shown with its returning OK
  struct Case {
    const Control* control;
    AccessibleRole role;
    const char *name, *value, *action;
    bool unavailable, invisible;
  };
  const Case kCases[] = {
      {.control = &f.Label10,
       .role = AccessibleRole::PushButton,
       .name = "Abort",
       .value = "",
       .action = "Press",
       .unavailable = false,
       .invisible = false},
      {.control = &f.Label3,
       .role = AccessibleRole::StaticText,
       .name = "Time out",
       .value = "00:49:59",
       .action = "",
       .unavailable = false,
       .invisible = false},
      {.control = &f.Text2,
       .role = AccessibleRole::Text,
       .name = "% CPU Usage",
       .value = "2",
       .action = "",
       .unavailable = true,
       .invisible = false},
      {.control = &f.Combo1,
       .role = AccessibleRole::ComboBox,
       .name = "Computer Operation",
       .value = "Shutdown",
       .action = "",
       .unavailable = false,
       .invisible = false},
      {.control = &f.Check1,
       .role = AccessibleRole::CheckButton,
       .name = "Force close",
       .value = "",
       .action = "",
       .unavailable = false,
       .invisible = false},
      {.control = &help.Label1,
       .role = AccessibleRole::PushButton,
       .name = "OK",
       .value = "",
       .action = "Press",
       .unavailable = true,
       .invisible = true},
      {.control = &f.Shape1,
       .role = AccessibleRole::Graphic,
       .name = "",
       .value = "",
       .action = "",
       .unavailable = false,
       .invisible = false},
  };
  for (const Case& c : kCases) {
    const AccessibleDescription d = Describe(*c.control);
    const std::string row = c.control->Name();
    EXPECT_EQ(d.role, c.role) << row;
    EXPECT_EQ(d.name, c.name) << row;
    EXPECT_EQ(d.value, c.value) << row;
    EXPECT_EQ(d.defaultAction, c.action) << row;
    EXPECT_EQ(d.unavailable, c.unavailable) << row;
    EXPECT_EQ(d.invisible, c.invisible) << row;
  }
}

TEST(Accessibility, TheDefaultActionClicksOnlyAUsableLabelButton) {
  Started s;
  Form1& f = s.form;
  Form2& help = s.program.form2;
  LabelPresses presses;
  const int forceClose = f.Check1.Value();
  EXPECT_FALSE(DoDefaultAction(f.Check1, presses));
  EXPECT_EQ(f.Check1.Value(), forceClose);
  EXPECT_FALSE(DoDefaultAction(f.Label5, presses));
  f.Label9.SetEnabled(false);
  EXPECT_FALSE(DoDefaultAction(f.Label9, presses));  // shown but unusable
  EXPECT_FALSE(s.program.form3.Loaded());
  EXPECT_TRUE(DoDefaultAction(f.Label12, presses));  // "?"
  EXPECT_TRUE(help.Visible() && !f.Visible());
  EXPECT_FALSE(DoDefaultAction(help.Label1, presses));  // the hidden OK that would end
  EXPECT_TRUE(help.Visible());
  EXPECT_TRUE(DoDefaultAction(help.Label2, presses));
  EXPECT_TRUE(f.Visible() && !help.Loaded());
  EXPECT_THROW(DoDefaultAction(f.Label10, presses), fake::ProcessEnded);
  ASSERT_EQ(s.process.Runs.size(), 1u);
  EXPECT_EQ(s.process.Runs[0].commandLine, "Shutdown -a");
}

TEST(Accessibility, ColoursFollowTheDesignOrTheSystemsHighContrastOnes) {
  Started s;
  Form1& f = s.form;
  f.Option1[kMethodTimer].Select();  // the threshold box becomes unusable
  PressLabelButton(f.Label9);
  struct Case {
    const char* row;
    const Control* control;
    bool highContrast;
    Colors colors;
  };
  const Case kCases[] = {
      {.row = "button",
       .control = &f.Label10,
       .highContrast = false,
       .colors = {Rgb(0, 0, 255), kSystemWindowColor}},
      {.row = "read-out",
       .control = &f.Label3,
       .highContrast = false,
       .colors = {Rgb(255, 0, 0), kBlack}},
      {.row = "box",
       .control = &f.Text2,
       .highContrast = false,
       .colors = {kBlack, kSystemWindowColor}},
      {.row = "on the form",
       .control = &f.Check1,
       .highContrast = false,
       .colors = {kBlack, Rgb(192, 255, 192)}},
      {.row = "button hc",
       .control = &f.Label10,
       .highContrast = true,
       .colors = {kHc(SystemColor::ButtonText), kHc(SystemColor::ButtonFace)}},
      {.row = "pressed hc",
       .control = &f.Label9,
       .highContrast = true,
       .colors = {kHc(SystemColor::HighlightText), kHc(SystemColor::Highlight)}},
      {.row = "read-out hc",
       .control = &f.Label3,
       .highContrast = true,
       .colors = {kHc(SystemColor::WindowText), kHc(SystemColor::Window)}},
      {.row = "unusable box hc",
       .control = &f.Text2,
       .highContrast = true,
       .colors = {kHc(SystemColor::GrayText), kHc(SystemColor::Window)}},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(ColorsOf(*c.control, f, c.highContrast), c.colors) << c.row;
  }
  f.Label10.SetEnabled(false);
  EXPECT_EQ(ColorsOf(f.Label10, f, true),
            (Colors{kHc(SystemColor::GrayText), kHc(SystemColor::ButtonFace)}));
  EXPECT_EQ(FormBackColor(f, false), Rgb(192, 255, 192));
  EXPECT_EQ(FormBackColor(f, true), kHc(SystemColor::Window));
}

TEST(Accessibility, TabIntoAOneLineBoxSelectsItsWholeText) {
  Started s;
  Form1& f = s.form;
  f.Text2.SetText("15");
  f.Text2.SetSelection(2, 0);
  KeyDown(f, &f.Option1[kMethodTimerAndCpu], NavigationKey::Tab, false, false);
  EXPECT_EQ(f.Text2.SelStart(), 0);
  EXPECT_EQ(f.Text2.SelLength(), 2);
  f.Text2.SetSelection(1, 0);
  KeyDown(f, &f.Combo1, NavigationKey::Tab, true, false);  // Shift+Tab round to it
  EXPECT_EQ(f.Text2.SelLength(), 2);
  // The help's many lines keep their caret.
  Form2& help = s.program.form2;
  f.Label12.OnClick();
  help.Text1.SetSelection(3, 0);
  KeyDown(help, nullptr, NavigationKey::Tab, false, false);
  EXPECT_EQ(help.Text1.SelLength(), 0);
}

TEST(Accessibility, TheFocusGoesBackToTheMainWindowWhenADialogCloses) {
  Started s;
  Program& p = s.program;
  const std::vector<Form*> forms{&p.form1, &p.form2, &p.form3};
  p.form1.Label9.OnClick();  // the timer dialog
  EXPECT_EQ(FormAfterClosing(forms, p.form3), &p.form1);
  EXPECT_EQ(FormAfterClosing(forms, p.form1), &p.form3);
  p.form3.Label6.OnClick();   // Cancel
  p.form1.Label12.OnClick();  // help hides and disables the main window
  EXPECT_EQ(FormAfterClosing(forms, p.form2), nullptr);
  p.form2.Label2.OnClick();
  EXPECT_EQ(FormAfterClosing(forms, p.form2), &p.form1);
  p.form1.SetEnabled(false);
  EXPECT_EQ(FormAfterClosing(forms, p.form2), nullptr);
}

}  // namespace
}  // namespace quellor::testing
