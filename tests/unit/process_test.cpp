// The process's side of the program: the arguments in its own command line,
// the only commands it may start, and the processor counter that stands in
// for a performance counter the system cannot give.
#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <tuple>

#include "common/processor_counter.h"
#include "common/program_arguments.h"
#include "common/shutdown_commands.h"

namespace quellor {
namespace {

TEST(CommandLineText, ArgumentsFollowTheProgramsOwnPathQuotedOrNot) {
  const std::string inProgramFiles = "C:\\Program Files\\Quellor\\quellor.exe";
  const std::string withSwitch = "C:\\My Apps-l\\quellor.exe";
  // The command line, the program's own path, and the arguments found.
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"\"" + inProgramFiles + "\" -r -t600", inProgramFiles, "-r -t600"},
      {"\"C:\\quellor.exe -s", "C:\\quellor.exe", ""},  // an unclosed quote holds it all
      {"quellor.exe   -s -o0  ", "C:\\q\\quellor.exe", "-s -o0  "},
      {"C:\\q\\quellor.exe\t-l", "C:\\q\\quellor.exe", "-l"},
      {"", "C:\\q\\quellor.exe", ""},
      // Unquoted with blanks: the system ran the first beginning that named
      // a program file, which is this one.
      {withSwitch + " -t600 -o0", withSwitch, "-t600 -o0"},
      {"c:/my apps-l/QUELLOR -t600", withSwitch, "-t600"},
      {"My Apps-l\\quellor.exe -s", withSwitch, "-s"},
      {"c:\\my zone-l\\quellor -s", "C:\\My Zone-l\\quellor.exe", "-s"},
      // Not a name of the program file: up to the first blank.
      {"C:\\My Apps-l\\other.exe -s", withSwitch, "Apps-l\\other.exe -s"},
      {"ps x\\quellor.exe -s", "C:\\Apps x\\quellor.exe", "x\\quellor.exe -s"},
      {"C:\\My Apps-l\\quellor.exe -s", "", "Apps-l\\quellor.exe -s"},
      {"C:\\My Apps-l\\quellor.exe", withSwitch, ""},
      {"  C:\\My Apps-l\\quellor.exe -s", withSwitch, "-s"},
      {"C:\\My Apps-l\\quellor -s", "C:\\My Apps-l\\quellor",
       "-s"},  // a program file of no extension
      {"\"C:\\a b\\ \" -s", "C:\\q.exe", "-s"},
  };
  for (const auto& [commandLine, module, arguments] : cases) {
    EXPECT_EQ(ArgumentsAfterProgramName(commandLine, module), arguments)
        << commandLine << " run as " << module;
  }
}

TEST(CommandLineText, OnlyTheProgramsOwnCommandLinesRunAndFromTheSystemFolder) {
  for (const char* line : {"Shutdown -s -f -t 0", "Shutdown -s -t 0", "Shutdown -r -f -t 0",
                           "Shutdown -r -t 0", "Shutdown -l -f", "Shutdown -l", "Shutdown -a"}) {
    for (const std::string folder : {"C:\\windows\\system32", "D:\\sys\\"}) {
      const std::optional<CommandLaunch> launch = ShutdownLaunch(folder, line);
      ASSERT_TRUE(launch.has_value()) << line << " from " << folder;
      EXPECT_EQ(launch->Application, folder + (folder.back() == '\\' ? "" : "\\") + "shutdown.exe");
      EXPECT_EQ(launch->CommandLine, line);
    }
    EXPECT_EQ(ShutdownLaunch("", line), std::nullopt) << line << " without a system folder";
  }
  for (const char* line :
       {"Shutdown -s -f -t 0 & calc", "Shutdown -s -t 600", "Shutdown -l -t 0", "Shutdown -h",
        "Shutdown -a ", "shutdown -a", "Shutdown ", "Shutdownx -a", "cmd /c del x", ""}) {
    EXPECT_EQ(ShutdownLaunch("C:\\w", line), std::nullopt) << line;
  }
}

TEST(ProcessorCounter, BusyShareCountsIdleInsideKernelTimeAndNeedsTimeToPass) {
  // Idle, kernel and user times before and after, and the busy share.
  const std::tuple<ProcessorTimes, ProcessorTimes, std::optional<double>> cases[] = {
      {{100, 300, 200}, {150, 360, 240}, 50.0},  // 50 idle of 60 kernel and 40 user
      {{100, 300, 200}, {200, 400, 200}, 0.0},
      {{100, 300, 200}, {100, 350, 250}, 100.0},
      {{100, 300, 200}, {100, 300, 260}, 100.0},  // no kernel time passed, user time did
      {{1, 2, 3}, {1, 2, 3}, std::nullopt},
      {{5, 10, 10}, {4, 12, 12}, std::nullopt},  // idle went backwards
      {{5, 10, 10}, {6, 9, 12}, std::nullopt},   // kernel went backwards
  };
  int row = 0;
  for (const auto& [before, after, busy] : cases) {
    EXPECT_NEAR(BusyPercent(before, after).value_or(-1), busy.value_or(-1), 1e-9)
        << "row " << row++;
  }
}

TEST(ProcessorCounter, StandsInOnlyForTheFirstProcessorsBusyShareOnAnOpenQuery) {
  // clang-format off
  struct Case { std::uintptr_t query; const char* path; bool standsIn; };
  const Case cases[] = {
      {.query = 7, .path = "\\Processor(0)\\% Processor Time", .standsIn = true},
      {.query = 7, .path = "\\PROCESSOR(0)\\% processor TIME", .standsIn = true},
      {.query = 0, .path = "\\Processor(0)\\% Processor Time", .standsIn = false},
      {.query = 7, .path = "\\Processor(1)\\% Processor Time", .standsIn = false},
      {.query = 7, .path = "\\Processor(0)\\% Processor Time ", .standsIn = false},
      {.query = 7, .path = "\\Processor(0)\\% Processor Tim", .standsIn = false},
      {.query = 7, .path = "/Processor(0)\\% Processor Time", .standsIn = false}};
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(StandsInForCounter(c.query, c.path), c.standsIn) << c.query << " " << c.path;
  }
}

std::deque<std::optional<ProcessorTimes>> scriptedTimes;
bool ScriptedReader(ProcessorTimes& times) {
  const std::optional<ProcessorTimes> next = scriptedTimes.front();
  scriptedTimes.pop_front();
  if (next) times = *next;
  return next.has_value();
}

TEST(ProcessorCounter, GivesValuesFromTheSecondGoodSampleInARow) {
  scriptedTimes = {ProcessorTimes{0, 0, 0},      ProcessorTimes{75, 100, 0},
                   ProcessorTimes{75, 200, 100}, std::nullopt,
                   ProcessorTimes{80, 300, 100}, ProcessorTimes{130, 400, 100}};
  // After each collection (none before the first): the value, or nothing.
  const std::optional<double> expected[] = {std::nullopt, std::nullopt, 25.0, 100.0,
                                            std::nullopt, std::nullopt, 50.0};
  ProcessorCounter counter(&ScriptedReader);
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    if (i > 0) counter.Collect();
    CounterStatus status = 1;  // neither answer
    const double value = counter.Value(status);
    EXPECT_EQ(status, expected[i] ? kCounterValidData : kCounterInvalidData)
        << "after " << i << " collections";
    EXPECT_NEAR(value, expected[i].value_or(0), 1e-9) << "after " << i << " collections";
  }
}

}  // namespace
}  // namespace quellor
