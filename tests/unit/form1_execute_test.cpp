// The operation run when the trigger fires, Abort and Set Timer, and the
// processor-usage sampler.
#include <gtest/gtest.h>

#include <string>

#include "main_window_fixture.h"
#include "settings/settings.h"

namespace quellor::testing {
namespace {

using ExecuteTest = MainWindowTest;

TEST(Execute, RunsTheOperationAndEnds) {
  const struct {
    int operation, force;
    const char* run;  // "": nothing run
    bool hibernates;
  } kCases[] = {
      {kOperationShutdown, 1, "Shutdown -s -f -t 0", false},
      {kOperationShutdown, 0, "Shutdown -s -t 0", false},
      {kOperationShutdown, 2, "Shutdown -s -f -t 0", false},  // greyed counts as ticked
      {kOperationRestart, 1, "Shutdown -r -f -t 0", false},
      {kOperationRestart, 0, "Shutdown -r -t 0", false},
      {kOperationLogOff, 1, "Shutdown -l -f", false},
      {kOperationLogOff, 0, "Shutdown -l", false},
      {kOperationHibernate, 1, "", true},
      {kOperationHibernate, 0, "", true},
      {-1, 1, "", false},  // an entry that names no operation
  };
  for (const auto& c : kCases) {
    Session s;
    s.Start();
    s.form.Combo1.SetListIndex(c.operation);
    s.form.Check1.SetValue(c.force);
    EXPECT_THROW(s.form.Execute(), fake::ProcessEnded);
    EXPECT_EQ(s.OnlyRun(), c.run) << c.operation << c.force;
    EXPECT_EQ(s.fake.process.Runs.size(), *c.run == 0 ? 0u : 1u);
    for (const auto& run : s.fake.process.Runs) EXPECT_EQ(run.windowStyle, 2);
    ASSERT_EQ(s.fake.power.Suspends.size(), c.hibernates ? 1u : 0u) << c.operation;
    for (const auto& h : s.fake.power.Suspends) {
      EXPECT_TRUE(h.hibernate && h.force && h.disableWakeEvent);
    }
    EXPECT_EQ(s.fake.process.Ends, 1);
    // The settings are stored as well.
    EXPECT_NE(s.fake.registry.Find(kSettingsKey, "Force Close"), nullptr);
  }
}

TEST_F(ExecuteTest, AbortCancelsAPendingShutdownAndEnds) {
  Start();
  EXPECT_THROW(form.Label10.OnClick(), fake::ProcessEnded);
  EXPECT_EQ(OnlyRun(), "Shutdown -a");
  EXPECT_EQ(fake.process.Runs[0].windowStyle, 2);
  EXPECT_EQ(fake.process.Ends, 1);
  EXPECT_NE(fake.registry.Find(kSettingsKey, "Time Out"), nullptr);
}

TEST_F(ExecuteTest, SetTimerPausesTheTickAndOpensTheDialog) {
  Start();
  form.Label9.OnClick();
  EXPECT_FALSE(form.Timer1.Enabled());
  EXPECT_TRUE(program.form3.Loaded());
}

TEST_F(ExecuteTest, SamplerWritesTwoDecimalsAndSkipsBadReadings) {
  fake.pdh.Samples = {{7.5, 0}, {0, 1}, {100, 0}, {3.14159, 0}, {55, 2}, {66, -1}};
  Start();
  EXPECT_EQ(form.Label5.Tag, "7.50");
  EXPECT_EQ(form.Label5.Caption(), "7.50%");
  const char* const kShown[] = {"0.00%", "100.00%", "3.14%", "3.14%", "3.14%"};
  for (const char* shown : kShown) {
    form.Timer1_Timer();
    EXPECT_EQ(form.Label5.Caption(), shown);
  }
  EXPECT_EQ(form.Label5.Tag, "3.14");
}

TEST_F(ExecuteTest, MissingCounterKeepsTheDesignDisplay) {
  fake.pdh.CounterExists = false;
  Queue(50, 5);
  Start();
  for (int tick = 0; tick < 3; ++tick) form.Timer1_Timer();
  EXPECT_EQ(form.Label5.Caption(), "100%");
  EXPECT_EQ(form.Label5.Tag, "");
  EXPECT_EQ(form.CounterCount, 1);
  EXPECT_EQ(form.Counters[0].Handle, 0u);
  EXPECT_EQ(form.Counters[0].Path, kProcessorCounterPath);
}

TEST_F(ExecuteTest, CounterTableHoldsAtMostOneHundred) {
  Start();
  for (int i = 0; i < 120; ++i) form.AddCounter("\\Memory\\Pages/sec", form.hQuery);
  EXPECT_EQ(form.CounterCount, 100);
  EXPECT_EQ(form.Counters[0].Path, kProcessorCounterPath);
  EXPECT_EQ(form.Counters[99].Path, "\\Memory\\Pages/sec");
}

}  // namespace
}  // namespace quellor::testing
