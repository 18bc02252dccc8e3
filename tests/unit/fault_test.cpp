// Faults of the system services that the program survives with its usual
// outcome: bad processor samples, a registry that cannot be read or written,
// a shutdown command that cannot be started, a home page that cannot open.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "main_window_fixture.h"
#include "settings/settings.h"

namespace quellor::testing {
namespace {

TEST(Faults, EveryBadSampleKeepsTheDesignDisplayAndReadsAsNoUsage) {
  const double inf = std::numeric_limits<double>::infinity();
  // No data yet, invalid data, two statuses no counter gives, and values that
  // are no number whatever their status.
  const fake::Sample kBad[] = {{99.0, static_cast<platform::Status>(0x800007D5u)},
                               {99.0, static_cast<platform::Status>(0xC0000BBAu)},
                               {99.0, 2},
                               {99.0, -1},
                               {std::nan(""), 0},
                               {inf, 1},
                               {-inf, 0}};
  for (const fake::Sample& bad : kBad) {
    Session s;
    s.fake.pdh.Steady = bad;
    s.Start("-o1 -c5");
    EXPECT_EQ(s.TicksUntilEnd(29), 0);
    EXPECT_EQ(s.form.Label5.Caption(), "100%") << bad.value << " " << bad.status;
    EXPECT_EQ(s.form.Label5.Tag, "");
    // The empty reading is under any positive threshold: the thirtieth tick
    // finds the processor idle.
    EXPECT_EQ(s.TicksUntilEnd(1), 1);
  }
}

TEST(Faults, RegistryThatFailsLeavesTheDefaultsAndTheOperationRuns) {
  const struct {
    bool unreadable, unwritable, abort;
    const char* run;
  } kCases[] = {
      {true, false, false, "Shutdown -s -f -t 0"}, {true, false, true, "Shutdown -a"},
      {false, true, false, "Shutdown -s -t 0"},    {false, true, true, "Shutdown -a"},
      {true, true, false, "Shutdown -s -f -t 0"},  {true, true, true, "Shutdown -a"},
  };
  for (const auto& c : kCases) {
    Session s;
    s.fake.registry.PlantDword(kSettingsKey, "Time Out", 3600);
    s.fake.registry.PlantDword(kSettingsKey, "Force Close", 0);
    s.fake.registry.Unreadable = c.unreadable;
    s.fake.registry.Unwritable = c.unwritable;
    s.Start();
    EXPECT_EQ(s.program.CountdownSeconds, c.unreadable ? 10 : 3600);
    EXPECT_EQ(s.form.Check1.Value(), c.unreadable ? 1 : 0);
    if (c.abort) {
      EXPECT_THROW(s.form.Label10.OnClick(), fake::ProcessEnded);
    } else {
      EXPECT_THROW(s.form.Execute(), fake::ProcessEnded);
    }
    EXPECT_EQ(s.OnlyRun(), c.run) << c.unreadable << c.unwritable << c.abort;
    EXPECT_EQ(s.fake.process.Ends, 1);
    EXPECT_EQ(s.fake.registry.OpenHandles(), 0);
    // Unwritable: nothing stored changes; otherwise the values in use are stored.
    EXPECT_EQ(s.fake.registry.Find(kSettingsKey, "PositionX") == nullptr, c.unwritable);
    const auto* timeOut = s.fake.registry.Find(kSettingsKey, "Time Out");
    ASSERT_NE(timeOut, nullptr);
    ASSERT_EQ(timeOut->data.size(), 4u);
    EXPECT_EQ(timeOut->data[0] | timeOut->data[1] << 8, c.unwritable ? 3600 : 10);
  }
}

// A shutdown command that is missing or cannot be started: the platform
// either gives up silently or fails inside; the program cannot tell.
class FailingProcess : public fake::FakeProcess {
 public:
  explicit FailingProcess(const fake::FakeRegistry& registry) : registry_(registry) {}
  void RunCommandLine(const std::string& commandLine, int windowStyle) override {
    FakeProcess::RunCommandLine(commandLine, windowStyle);
    Note("run");
    if (Throws) throw std::runtime_error("shutdown.exe cannot be started");
  }
  // What happened, and whether the settings had been stored by then ("Always
  // Top" is the last value written).
  void Note(const std::string& what) {
    Events.push_back(what + (registry_.Find(kSettingsKey, "Always Top") != nullptr
                                 ? " after save"
                                 : " before save"));
  }
  bool Throws = false;
  std::vector<std::string> Events;

 private:
  const fake::FakeRegistry& registry_;
};

TEST(Faults, ShutdownCommandThatCannotStartStillEndsTheProgramWithSettingsSaved) {
  for (const bool throws : {false, true}) {
    for (const bool abort : {false, true}) {
      fake::FakePlatform fake;
      FailingProcess process(fake.registry);
      process.Throws = throws;
      process.OnEnd = [&process] { process.Note("end"); };
      platform::Platform os{fake.pdh,    fake.power,   fake.registry,
                            fake.user32, fake.shell32, process};
      Program program(os);
      program.Main();
      if (abort) {
        EXPECT_THROW(program.form1.Label10.OnClick(), fake::ProcessEnded);
      } else {
        EXPECT_THROW(program.form1.Execute(), fake::ProcessEnded);
      }
      // The operation runs once the settings are stored; Abort runs first
      // and stores them afterwards. Either way the program ends last.
      const std::string run = abort ? "run before save" : "run after save";
      EXPECT_EQ(process.Events, (std::vector<std::string>{run, "end after save"}))
          << throws << abort;
    }
  }
}

// The home page cannot be opened: the system answers with an error code.
class FailingShell32 : public fake::FakeShell32 {
 public:
  std::intptr_t ShellExecuteA(WindowHandle owner, const std::string& operation,
                              const std::string& file, int showCommand) override {
    FakeShell32::ShellExecuteA(owner, operation, file, showCommand);
    return 2;  // ERROR_FILE_NOT_FOUND: no browser
  }
};

TEST(Faults, HomePageThatCannotOpenChangesNothing) {
  fake::FakePlatform fake;
  FailingShell32 shell32;
  platform::Platform os{fake.pdh, fake.power, fake.registry, fake.user32, shell32, fake.process};
  Program program(os);
  program.Main();
  Form1& form = program.form1;
  form.Label8.OnClick();
  EXPECT_TRUE(form.Visible() && form.Enabled() && form.Timer1.Enabled());

  form.Label12.OnClick();
  program.form2.Label5.OnClick();
  EXPECT_TRUE(program.form2.Visible());
  EXPECT_FALSE(form.Visible() || form.Timer1.Enabled());
  program.form2.Label2.OnClick();
  EXPECT_TRUE(form.Visible() && form.Timer1.Enabled());

  EXPECT_EQ(shell32.Calls.size(), 2u);
  EXPECT_TRUE(fake.user32.Messages.empty());
  EXPECT_TRUE(fake.process.Runs.empty());
  EXPECT_EQ(fake.process.Ends, 0);
}

}  // namespace
}  // namespace quellor::testing
