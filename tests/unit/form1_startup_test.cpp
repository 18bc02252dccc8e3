// Start-up of the main window, its defaults, and its two ways of ending
// before the first tick.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "main_window_fixture.h"
#include "settings/settings.h"

namespace quellor::testing {
namespace {

using StartUpTest = MainWindowTest;
using Strings = std::vector<std::string>;

TEST_F(StartUpTest, FirstRunShowsTheBuiltInDefaults) {
  form.SetHandle(0x77);
  Queue(3.25, 1);
  Start();
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(form.Label8.Caption(), "Quellor");
  EXPECT_EQ(form.Combo1.Items(), (Strings{"Shutdown", "Restart", "Log Off", "Hibernate"}));
  EXPECT_EQ(form.Combo1.SelectedText(), "Shutdown");
  EXPECT_EQ(form.Check1.Value(), 1);
  EXPECT_EQ(form.Check2.Value(), 1);
  EXPECT_EQ(form.Text2.Text(), "2");
  EXPECT_TRUE(form.Text2.Enabled());
  EXPECT_TRUE(form.Option1[kMethodTimerAndCpu].Value());
  EXPECT_EQ(form.Label3.Caption(), "00:00:10");
  EXPECT_EQ(program.TimeOutSeconds, 10);
  EXPECT_EQ(program.DefaultSwitches, "-s -f -t10 -c2-o2");
  EXPECT_EQ(form.CommandText, "Shutdown -s -f -t10 -c2-o2");
  EXPECT_EQ(form.Left(), 7320);
  EXPECT_EQ(form.Top(), 5805);
  EXPECT_TRUE(form.Timer1.Enabled());
  // The query is opened, the counter added and a first sample shown.
  EXPECT_EQ(fake.pdh.OpenUserData, 1u);
  EXPECT_EQ(fake.pdh.Calls,
            (Strings{"open", std::string("add ") + kProcessorCounterPath, "collect", "read"}));
  EXPECT_EQ(form.Label5.Caption(), "3.25%");
  // The stored always-on-top choice is applied last.
  EXPECT_EQ(fake.user32.Calls, (Strings{"SetWindowPos 119 -1 0 0 0 0 3"}));
}

TEST_F(StartUpTest, WithoutHibernationTheListHasThreeEntries) {
  fake.power.HibernateAllowed = false;
  Start("-h");
  EXPECT_EQ(form.Combo1.Items(), (Strings{"Shutdown", "Restart", "Log Off"}));
  EXPECT_EQ(form.Combo1.SelectedText(), "Shutdown");
}

TEST_F(StartUpTest, BlankCommandLineChangesNothing) {
  Start("   ");
  EXPECT_EQ(form.Check1.Value(), 1);  // a non-empty line without -f would clear it
  EXPECT_EQ(form.Label3.Caption(), "00:00:10");
}

TEST_F(StartUpTest, CommandLineWinsOverStoredValuesWhichWinOverDefaults) {
  fake.registry.PlantDword(kSettingsKey, "Time Out", 3600);
  fake.registry.PlantDword(kSettingsKey, "Option", kMethodTimer);
  fake.registry.PlantDword(kSettingsKey, "Force Close", 1);
  fake.registry.PlantString(kSettingsKey, "CPU Usage", "35");
  Start("-t120");
  EXPECT_EQ(form.Label3.Caption(), "00:02:00");
  EXPECT_FALSE(form.Text2.Enabled());  // the stored Timer method
  EXPECT_EQ(form.Text2.Text(), "35");
  EXPECT_EQ(form.Check1.Value(), 0);  // -f is absent from a non-empty line
}

TEST_F(StartUpTest, FailedQueryShowsOnlyTheMessageAndEnds) {
  fake.pdh.OpenStatus = 5;
  EXPECT_THROW(Start("-t60"), fake::ProcessEnded);
  ASSERT_EQ(fake.user32.Messages.size(), 1u);
  EXPECT_EQ(fake.user32.Messages[0].text, "OpenQuery failed");
  EXPECT_EQ(fake.user32.Messages[0].title, "Quellor");
  EXPECT_EQ(fake.process.Ends, 1);
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(fake.pdh.Calls, (Strings{"open"}));
  for (const std::string& call : fake.registry.Calls) {
    EXPECT_NE(call.rfind("set ", 0), 0u) << call;
    EXPECT_NE(call.rfind("create ", 0), 0u) << call;
  }
}

TEST_F(StartUpTest, ClosingFromOutsideUnloadsThenEnds) {
  Start();
  fake.pdh.Calls.clear();
  fake.process.OnEnd = [&] {
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(fake.pdh.Calls, (Strings{"close"}));
  };
  EXPECT_THROW(form.OnCloseRequest(), fake::ProcessEnded);
  EXPECT_FALSE(form.Timer1.Enabled());
  EXPECT_TRUE(fake.process.Runs.empty());
}

TEST_F(StartUpTest, EveryContainerComesBeforeWhatItHolds) {
  std::set<const Control*> seen;
  std::set<int> ids;
  for (const Control* control : form.Controls()) {
    if (control->Container != nullptr) {
      EXPECT_TRUE(seen.count(control->Container)) << control->Name();
    }
    EXPECT_TRUE(ids.insert(control->Id()).second) << control->Name();
    seen.insert(control);
  }
  EXPECT_EQ(form.Controls().size(), 23u);
  EXPECT_EQ(form.Timers().size(), 1u);
}

}  // namespace
}  // namespace quellor::testing
