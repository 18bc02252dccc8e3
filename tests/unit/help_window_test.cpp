#include <gtest/gtest.h>

#include <string>

#include "controller/program.h"
#include "fake_platform.h"

namespace quellor {
namespace {

std::string WithCrLf(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return out;
}

TEST(HelpText, UsageAndVersionReadExactly) {
  const std::string expected = WithCrLf(R"(Command Line Usage:
quellor -[x] -f -tyy -czz -oww
[x]  is l, r,  s or h, where
-l  : Log off
-r  : Reboot window
-s  : Shutdown window
-h  : Hibernate (must enable in Power Options)

-f  : Forces running applications to close without warning. This will not prompt for File-Save in any open applications, so will result in a loss of all unsaved data!!!

yy  : timer in secs

zz  : CPU Usage in %

ww  : 0 = Timer only
         1 = CPU idle only
         2 = Timer AND CPU idle
         3 = Timer OR CPU idle

-?  : Show this help menu

default : -s -f -t10 -c2-o2)");
  EXPECT_EQ(UsageText("-s -f -t10 -c2-o2"), expected);
  EXPECT_EQ(UsageText("-x"), expected.substr(0, expected.rfind(':') + 2) + "-x");
  EXPECT_EQ(VersionLine(), "Version :2.0.3");
}

class HelpWindowTest : public ::testing::Test {
 protected:
  HelpWindowTest() { program.Main(); }
  // As the opener does: one OK label active, then the window shown.
  void Open(bool endsProgram) {
    help.Label1.SetVisible(endsProgram);
    help.Label1.SetEnabled(endsProgram);
    help.Label2.SetVisible(!endsProgram);
    help.Label2.SetEnabled(!endsProgram);
    help.SetHandle(kHelpWindow);
    help.Show();
  }
  bool MainWindowPaused() const {
    return !form1.Visible() && !form1.Enabled() && !form1.Timer1.Enabled() && help.Loaded();
  }
  bool MainWindowBack() const {
    return form1.Visible() && form1.Enabled() && form1.Timer1.Enabled() && !help.Loaded();
  }

  fake::FakePlatform fake;
  platform::Platform os = fake.Get();
  Program program{os};
  Form1& form1 = program.form1;
  Form2& help = program.form2;
  static constexpr WindowHandle kHelpWindow = 0x22;
};

TEST_F(HelpWindowTest, ReturningOkResumesTheMainWindowAndReopeningRebuilds) {
  program.CountdownSeconds = 75;
  Open(false);
  EXPECT_TRUE(MainWindowPaused());
  EXPECT_EQ(help.Label4.Caption(), VersionLine());
  help.Label5.OnClick();
  help.Label5.OnClick();
  ASSERT_EQ(fake.shell32.Calls.size(), 2u);
  for (const fake::FakeShell32::Call& call : fake.shell32.Calls) {
    EXPECT_EQ(std::to_string(call.owner) + " " + call.operation + " " + call.file + " " +
                  std::to_string(call.showCommand),
              std::to_string(kHelpWindow) + " open " + kHomePageUrl + " 1");
  }
  EXPECT_TRUE(MainWindowPaused());
  help.Text1.TextTypedByUser("scribbled");
  help.Label2.OnClick();
  EXPECT_TRUE(MainWindowBack());
  EXPECT_EQ(program.CountdownSeconds, 75);

  program.DefaultSwitches = "-l";
  Open(false);
  EXPECT_TRUE(MainWindowPaused());
  EXPECT_EQ(help.Text1.Text(), UsageText("-l"));
  help.OnCloseRequest();  // closed by other means: as its visible OK
  EXPECT_TRUE(MainWindowBack());
}

TEST_F(HelpWindowTest, EndingOkEndsTheProcessWithTheMainWindowHidden) {
  for (auto close :
       {+[](Form2& h) { h.Label1.OnClick(); }, +[](Form2& h) { h.OnCloseRequest(); }}) {
    Open(true);
    EXPECT_THROW(close(help), fake::ProcessEnded);
    EXPECT_TRUE(MainWindowPaused());
  }
  EXPECT_EQ(fake.process.Ends, 2);
}

}  // namespace
}  // namespace quellor
