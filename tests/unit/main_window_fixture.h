// A program on the fake platform, with helpers to start it and to run ticks
// until it ends.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "controller/program.h"
#include "fake_platform.h"

namespace quellor::testing {

// One program on its own fake platform.
struct Session {
  // Starts the program with `commandLine` as its arguments.
  void Start(const std::string& commandLine = "") {
    fake.process.CommandLine = commandLine;
    program.Main();
  }
  // Queues `count` samples of `value` percent, all of them good.
  void Queue(double value, int count) {
    for (int i = 0; i < count; ++i) fake.pdh.Samples.push_back({value, 0});
  }
  // Runs up to `limit` ticks; the number of the tick in which the program
  // ended, or 0 when it was still running after the last one.
  int TicksUntilEnd(int limit) {
    for (int tick = 1; tick <= limit; ++tick) {
      try {
        form.Timer1_Timer();
      } catch (const fake::ProcessEnded&) {
        return tick;
      }
    }
    return 0;
  }
  // The one command line that was run, or "" when none or several were.
  std::string OnlyRun() const {
    return fake.process.Runs.size() == 1 ? fake.process.Runs[0].commandLine : "";
  }

  fake::FakePlatform fake;
  platform::Platform os = fake.Get();
  Program program{os};
  Form1& form = program.form1;
};

class MainWindowTest : public ::testing::Test, protected Session {};

}  // namespace quellor::testing
