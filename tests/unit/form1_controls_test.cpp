// The main window's own controls: threshold check, method choice, always on
// top, dragging, the label buttons' pressed look, help and home page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main_window_fixture.h"

namespace quellor::testing {
namespace {

using ControlsTest = MainWindowTest;
using Strings = std::vector<std::string>;

TEST_F(ControlsTest, LeavingTheThresholdMakesItAWholePercentage) {
  Start();
  const struct {
    const char* typed;
    const char* checked;
  } kCases[] = {{"150", "100"}, {"100.4", "100"}, {"99.5", "100"}, {"12.5", "13"},
                {"7.49", "7"},  {"-5", "0"},      {"-0.3", "0"},   {"50%", "50"},
                {"abc", "0"},   {"", "0"},        {"1e2", "100"},  {"2", "2"}};
  for (const auto& c : kCases) {
    form.IdleCountdown = 7;
    form.Text2.TextTypedByUser(c.typed);
    form.Text2.OnLostFocus();
    EXPECT_EQ(form.Text2.Text(), c.checked) << c.typed;
    EXPECT_EQ(form.IdleCountdown, 30) << c.typed;
  }
}

TEST_F(ControlsTest, ChoosingAMethodRaisesShortCountdownsAndRestartsTheIdleCount) {
  Start("-t3 -c40");
  EXPECT_EQ(program.CountdownSeconds, 3);
  form.IdleCountdown = 4;
  form.Option1[kMethodTimer].Select();
  EXPECT_EQ(program.CountdownSeconds, 10);
  EXPECT_EQ(program.TimeOutSeconds, 3);
  EXPECT_EQ(form.IdleCountdown, 30);
  EXPECT_FALSE(form.Text2.Enabled());
  EXPECT_EQ(form.Text2.Text(), "40");

  program.CountdownSeconds = 25;
  form.Option1[kMethodCpuIdle].Select();
  EXPECT_EQ(program.CountdownSeconds, 25);
  EXPECT_TRUE(form.Text2.Enabled());
  EXPECT_EQ(form.Text2.Text(), "40");
}

TEST_F(ControlsTest, AlwaysOnTopAppliesToBothWindows) {
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

TEST_F(ControlsTest, OnlyTheLeftButtonAloneDragsAndTheDialogFollows) {
  form.SetHandle(0x10);
  Start();
  fake.user32.Calls.clear();
  for (int buttons : {2, 1 | 2, 4, 0}) {  // right, left and right, middle, none
    form.OnMouseMove({buttons, 0, 5, 5});
  }
  EXPECT_TRUE(fake.user32.Calls.empty());

  form.Label9_Click();
  fake.user32.Calls.clear();
  form.SetOuterSize(4900, 3900);
  fake.user32.DuringDrag = [&](WindowHandle) { form.MovedByUser(-300, 200); };
  form.Frame1.OnMouseMove({kLeftButton, 0, 5, 5});
  EXPECT_EQ(fake.user32.Calls, (Strings{"ReleaseCapture", "SendMessageA 16 161 2 0"}));
  EXPECT_EQ(program.form3.Left(), -300);
  EXPECT_EQ(program.form3.Top(), 4100);

  form.MovedByUser(0, 0);  // moved without a drag: the dialog still docks
  form.OnMouseMove({0, 0, 1, 1});
  EXPECT_EQ(program.form3.Top(), 3900);
}

TEST_F(ControlsTest, LabelButtonsLookPressedUntilReleased) {
  Start();
  const struct {
    Label* button;
    Color normal;
  } kButtons[] = {{&form.Label9, Rgb(0, 0, 255)},
                  {&form.Label10, Rgb(0, 0, 255)},
                  {&form.Label12, Rgb(255, 128, 0)}};
  for (const auto& b : kButtons) {
    b.button->OnMouseDown({kRightButton, 0, 1, 1});
    EXPECT_TRUE(b.button->Sunken()) << b.button->Name();
    b.button->SetForeColor(Rgb(1, 2, 3));
    b.button->OnMouseUp({kRightButton, 0, 900, 900});  // released off the label
    EXPECT_FALSE(b.button->Sunken());
    EXPECT_EQ(b.button->ForeColor(), b.normal) << b.button->Name();
  }
}

TEST_F(ControlsTest, HelpOpensOnlyWhileTheTimerDialogIsClosed) {
  Start();
  form.Label9_Click();
  form.Label12.OnClick();
  EXPECT_FALSE(program.form2.Loaded());
  program.form3.Unload();

  form.Label12.OnClick();
  const Form2& help = program.form2;
  EXPECT_TRUE(help.Visible());
  EXPECT_TRUE(help.Label2.Visible() && help.Label2.Enabled());
  EXPECT_FALSE(help.Label1.Visible() || help.Label1.Enabled());
}

TEST_F(ControlsTest, TitleOpensTheHomePage) {
  form.SetHandle(0x10);
  Start();
  form.Label8.OnClick();
  ASSERT_EQ(fake.shell32.Calls.size(), 1u);
  EXPECT_EQ(fake.shell32.Calls[0].owner, 0x10u);
  EXPECT_EQ(fake.shell32.Calls[0].operation, "open");
  EXPECT_EQ(fake.shell32.Calls[0].file.rfind("http://", 0), 0u);
  EXPECT_EQ(fake.shell32.Calls[0].showCommand, 1);
  EXPECT_TRUE(form.Visible());
}

}  // namespace
}  // namespace quellor::testing
