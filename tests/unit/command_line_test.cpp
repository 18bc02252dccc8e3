// The command-line switches, applied over the built-in defaults at start-up.
#include <gtest/gtest.h>

#include <string>

#include "main_window_fixture.h"

namespace quellor::testing {
namespace {

using CommandLineTest = MainWindowTest;

TEST(CommandLine, SwitchesSetTheCountdownThresholdMethodForceAndOperation) {
  // Defaults: countdown 10, threshold "2", method 2, Shutdown; a non-empty
  // line without -f clears force close.
  const struct {
    const char* line;
    double countdown;
    int timeOut;
    const char* threshold;
    int method, force, operation;
  } kCases[] = {
      {"-t90", 90, 90, "2", 2, 0, 0},       {"-t 90", 90, 90, "2", 2, 0, 0},
      {"-t 1 2", 12, 12, "2", 2, 0, 0},     {"-t90-c20", 90, 90, "20", 2, 0, 0},
      {"-t5 -t9", 5, 5, "2", 2, 0, 0},      {"-T5", 10, 10, "2", 2, 0, 0},
      {"-t2.5", 2, 2, "2", 2, 0, 0},        {"-t3.5", 4, 4, "2", 2, 0, 0},
      {"-t0.6", 1, 1, "2", 2, 0, 0},        {"-t0.4", 10, 10, "2", 2, 0, 0},
      {"-t-5", 10, 10, "2", 2, 0, 0},       {"-t1e3", 1000, 1000, "2", 2, 0, 0},
      {"-t&H10", 16, 16, "2", 2, 0, 0},     {"-t", 10, 10, "2", 2, 0, 0},
      {"-t40000", 10, 10, "2", 2, 0, 0},    {"-t32767", 32767, 32767, "2", 2, 0, 0},
      {"-c", 10, 10, "0", 2, 0, 0},         {"-o", 10, 10, "2", 0, 0, 0},
      {"-c100", 10, 10, "100", 2, 0, 0},    {"-c 007", 10, 10, "7", 2, 0, 0},
      {"-c101", 10, 10, "2", 2, 0, 0},      {"-c-1", 10, 10, "2", 2, 0, 0},
      {"-o3", 10, 10, "2", 3, 0, 0},        {"-o4", 10, 10, "2", 2, 0, 0},
      {"x-f", 10, 10, "2", 2, 1, 0},        {"-s -l", 10, 10, "2", 2, 0, 2},
      {"-h -s", 10, 10, "2", 2, 0, 0},      {"-? -r", 10, 10, "2", 2, 0, 1},
      {"-f -h -t60", 60, 60, "2", 2, 1, 3}, {"-t5 -o1", 10, 5, "2", 1, 0, 0},
      {"-t5 -o2", 5, 5, "2", 2, 0, 0},  // method 2 is already selected: no raise
  };
  for (const auto& c : kCases) {
    Session s;
    s.Start(c.line);
    const Form1& form = s.program.form1;
    EXPECT_EQ(s.program.CountdownSeconds, c.countdown) << c.line;
    EXPECT_EQ(s.program.TimeOutSeconds, c.timeOut) << c.line;
    EXPECT_EQ(form.Text2.Text(), c.threshold) << c.line;
    EXPECT_TRUE(form.Option1[static_cast<std::size_t>(c.method)].Value()) << c.line;
    EXPECT_EQ(form.Check1.Value(), c.force) << c.line;
    EXPECT_EQ(form.Combo1.ListIndex(), c.operation) << c.line;
  }
}

TEST_F(CommandLineTest, HibernateIsIgnoredWhereNotAllowed) {
  fake.power.HibernateAllowed = false;
  Start("-r");
  EXPECT_EQ(fake.power.HibernateQueries, 1);  // the operation list; -r needs no question
  Session other;
  other.fake.power.HibernateAllowed = false;
  other.Start("-h -t60");
  EXPECT_EQ(other.form.Combo1.SelectedText(), "Shutdown");
}

TEST_F(CommandLineTest, HelpSwitchShowsTheHelpThatEndsTheProgram) {
  fake.user32.DuringEventLoop = [&] {
    const Form2& help = program.form2;
    EXPECT_TRUE(help.Visible());
    EXPECT_TRUE(help.Label1.Visible() && help.Label1.Enabled());
    EXPECT_FALSE(help.Label2.Visible() || help.Label2.Enabled());
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(fake.pdh.Calls.empty());  // start-up waits for the help window
    program.form2.Label1_Click();
  };
  EXPECT_THROW(Start("-t60 -?"), fake::ProcessEnded);
  EXPECT_EQ(fake.user32.Calls, (std::vector<std::string>{"RunEventLoop"}));
  EXPECT_TRUE(fake.process.Runs.empty());
}

TEST_F(CommandLineTest, HelpFollowsAnIgnoredHibernate) {
  fake.power.HibernateAllowed = false;
  fake.user32.DuringEventLoop = [&] { program.form2.Label1_Click(); };
  EXPECT_THROW(Start("-h -?"), fake::ProcessEnded);
  EXPECT_TRUE(program.form2.Label1.Visible());
}

}  // namespace
}  // namespace quellor::testing
