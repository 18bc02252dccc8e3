#include "settings/settings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controller/program.h"
#include "fake_platform.h"

namespace quellor {
namespace {

using namespace std::string_literals;
using Strings = std::vector<std::string>;
using Values = std::vector<RegistryValue>;
const Strings kSaveOrder = {"PositionX", "PositionY", "Operation",   "CPU Usage",
                            "Time Out",  "Option",    "Force Close", "Always Top"};

// One run of the program; the fake machine, and so its registry, outlives it.
struct Launch {
  explicit Launch(platform::Platform machine) : os(machine), program(os) { program.Main(); }
  platform::Platform os;
  Program program;
  Form1& form = program.form1;
};

class SettingsTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(fake_.registry.OpenHandles(), 0); }
  Launch& Start(const std::string& commandLine = "") {
    fake_.process.CommandLine = commandLine;
    runs_.push_back(std::make_unique<Launch>(fake_.Get()));
    return *runs_.back();
  }
  void Plant(const std::string& name, const RegistryValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
      fake_.registry.PlantString(kSettingsKey, name, *text);
    } else {
      fake_.registry.PlantDword(kSettingsKey, name,
                                static_cast<std::uint32_t>(std::get<std::int32_t>(value)));
    }
  }
  void PlantAll(const Values& values) {
    for (std::size_t i = 0; i < values.size(); ++i) Plant(kSaveOrder[i], values[i]);
  }
  RegistryValue Stored(const std::string& name) {
    return RegistryKey(fake_.registry).GetValue(platform::kHkeyCurrentUser, kSettingsKey, name);
  }
  Values StoredAll() {
    Values out;
    for (const std::string& name : kSaveOrder) out.push_back(Stored(name));
    return out;
  }
  // The registry calls so far that begin with `prefix`, repeats folded.
  Strings Calls(const std::string& prefix, std::size_t limit = 100) {
    Strings out;
    for (const std::string& call : fake_.registry.Calls) {
      if (out.size() < limit && call.rfind(prefix, 0) == 0 && (out.empty() || out.back() != call)) {
        out.push_back(call);
      }
    }
    return out;
  }
  fake::FakePlatform fake_;
  std::vector<std::unique_ptr<Launch>> runs_;
};

TEST_F(SettingsTest, FirstRunLoadsNothingAndFirstSaveCreatesBothKeysThenWritesInOrder) {
  Launch& run = Start();
  EXPECT_FALSE(fake_.registry.HasKey(kAppKey));
  fake_.registry.Calls.clear();
  SaveSettings(run.program);
  EXPECT_EQ(Calls("", 7), (Strings{"open Software\\Quellor", "create Software\\Quellor", "close",
                                   "create Software\\Quellor\\Settings", "close",
                                   "open Software\\Quellor\\Settings", "close"}));
  EXPECT_EQ(fake_.registry.WriteOrder(kSettingsKey), kSaveOrder);
  // The design position and the defaults.
  EXPECT_EQ(StoredAll(), (Values{7320, 5805, 0, 2, 10, 2, 1, 1}));
}

TEST_F(SettingsTest, SavesWhatTheWindowShowsAndTheFullCountdownLength) {
  fake_.registry.PlantString(kAppKey, "other", "x");  // the parent key exists already
  Launch& run = Start();
  run.form.MovedByUser(-300.6f, 200.5f);
  run.form.Combo1.SetListIndex(1);
  run.form.Text2.SetText(" abc ");
  run.form.Option1[3].Select();
  run.form.Check1.SetValue(0);
  run.form.Check2.SetValue(2);
  run.program.TimeOutSeconds = 3600;
  run.program.CountdownSeconds = 12;
  fake_.registry.Calls.clear();
  SaveSettings(run.program);
  EXPECT_EQ(Calls("", 5),
            (Strings{"open Software\\Quellor", "close", "open Software\\Quellor\\Settings",
                     "create Software\\Quellor\\Settings", "close"}));
  EXPECT_EQ(StoredAll(), (Values{-301, 200, 1, "abc"s, 3600, 3, 0, 2}));
  EXPECT_EQ(Start().program.CountdownSeconds, 3600);  // the next start runs the full length
}

TEST_F(SettingsTest, WithNoMethodSelectedTheStoredMethodStays) {
  Plant("Option", 1);
  Launch& run = Start();
  for (OptionButton& button : run.form.Option1) button.Clear();
  fake_.registry.Calls.clear();
  SaveSettings(run.program);
  EXPECT_EQ(Stored("Option"), RegistryValue(1));
  EXPECT_EQ(Calls("set").size(), 7u);
}

TEST_F(SettingsTest, ThresholdTextsComeBackAsTheyWereStored) {
  const struct {
    const char* typed;
    RegistryValue stored;
    const char* loaded;
  } cases[] = {{"50", 50, "50"},
               {"7.5", 8, "8"},
               {" 12.5 ", 12, "12"},
               {" abc ", "abc"s, "abc"},
               {"", ""s, "2"}};  // an empty text leaves the default
  for (const auto& c : cases) {
    Launch& run = Start();
    run.form.Text2.SetText(c.typed);
    SaveSettings(run.program);
    EXPECT_EQ(Stored("CPU Usage"), c.stored) << c.typed;
    EXPECT_EQ(Start().form.Text2.Text(), c.loaded) << c.typed;
  }
}

TEST_F(SettingsTest, LoadsInItsOwnOrderWithTheUsersConsequences) {
  PlantAll({1000, -300, 2, "abc"s, 5, 0, 0, 0});
  Launch& run = Start();
  EXPECT_EQ(Calls("query"),
            (Strings{"query PositionX", "query PositionY", "query Operation", "query CPU Usage",
                     "query Option", "query Time Out", "query Force Close", "query Always Top"}));
  EXPECT_EQ(run.form.Left(), 1000);
  EXPECT_EQ(run.form.Top(), -300);  // partly off the screen: kept
  EXPECT_EQ(run.form.Combo1.SelectedText(), "Log Off");
  EXPECT_EQ(run.form.Text2.Text(), "abc");
  EXPECT_TRUE(run.form.Option1[0].Value());
  // Read after the method, whose choice would have raised it to 10.
  EXPECT_EQ(run.program.CountdownSeconds, 5);
  EXPECT_EQ(run.program.TimeOutSeconds, 5);
  EXPECT_EQ(run.form.Check1.Value(), 0);
  EXPECT_EQ(run.form.Check2.Value(), 0);
  // Taken off the top as the box is cleared, and again by start-up's last step.
  EXPECT_EQ(fake_.user32.Calls, (Strings(2, "SetWindowPos 0 -2 0 0 0 0 3")));
}

TEST_F(SettingsTest, ApplyingAMethodRunsItsClickHandling) {
  Launch& run = Start();
  run.program.CountdownSeconds = 3;
  Plant("Option", 0);
  LoadSettings(run.program);
  EXPECT_FALSE(run.form.Text2.Enabled());
  EXPECT_EQ(run.program.CountdownSeconds, 10);  // raised, as choosing a method does
}

TEST_F(SettingsTest, ValuesThatFitNoControlKeepTheStartUpDefault) {
  const struct {
    const char* name;
    RegistryValue stored;
  } ignored[] = {// clang-format off
      {"Operation", 4}, {"Operation", -2}, {"Operation", 65536}, {"Operation", "x"s},
      {"Option", 4}, {"Option", -1}, {"Option", 65536}, {"Force Close", 3}, {"Force Close", -1},
      {"Force Close", 65536}, {"Always Top", 3}, {"Time Out", -5}, {"Time Out", "abc"s},
      {"Time Out", "99999999999"s}, {"PositionX", "left"s}, {"PositionY", "1e3"s}};
  // clang-format on
  for (const auto& c : ignored) {
    Plant(c.name, c.stored);
    const Launch& run = Start();
    EXPECT_EQ(run.form.Combo1.ListIndex(), 0) << c.name;
    EXPECT_TRUE(run.form.Option1[2].Value()) << c.name;
    EXPECT_EQ(run.form.Check1.Value(), 1) << c.name;
    EXPECT_EQ(run.form.Check2.Value(), 1) << c.name;
    EXPECT_EQ(run.program.TimeOutSeconds, 10) << c.name;
    EXPECT_EQ(Rect({run.form.Left(), run.form.Top()}), Rect({7320, 5805})) << c.name;
    fake_.registry.Plant(kSettingsKey, c.name, platform::kRegBinary, {});  // reads as missing
  }
  Plant("Operation", 3);
  EXPECT_EQ(Start().form.Combo1.SelectedText(), "Hibernate");
  fake_.power.HibernateAllowed = false;
  EXPECT_EQ(Start().form.Combo1.ListIndex(), 0);
  Plant("Operation", -1);
  EXPECT_EQ(Start().form.Combo1.ListIndex(), -1);
}

TEST_F(SettingsTest, AnyTimeOutFromZeroUpIsKept) {
  Plant("Time Out", 0);
  const Launch& zero = Start();
  EXPECT_EQ(zero.program.TimeOutSeconds, 0);
  EXPECT_EQ(zero.program.CountdownSeconds, 0);
  EXPECT_EQ(zero.form.Label3.Caption(), "00:00:00");
  Plant("Time Out", INT32_MAX);
  EXPECT_EQ(Start().program.CountdownSeconds, 2147483647.0);
  Plant("Time Out", " 120 "s);  // a text that reads as a number counts as one
  EXPECT_EQ(Start().program.TimeOutSeconds, 120);
}

TEST_F(SettingsTest, OnlyAWindowWhollyOffEveryMonitorIsPulledBack) {
  fake_.user32.Monitors.push_back(Rect{19200, 0, 19200, 10800});
  const struct {
    std::int32_t left, top;
    Rect want;
  } cases[] = {{-300, 400, {-300, 400}},
               {25000, 400, {25000, 400}},  // on the second monitor
               {-50000, -50000, {0, 0}},
               {60000, 400, {38400 - 4830, 400}}};
  for (const auto& c : cases) {
    PlantAll({c.left, c.top});
    const Launch& run = Start();
    EXPECT_EQ(Rect({run.form.Left(), run.form.Top()}), c.want) << c.left << "," << c.top;
  }
}

TEST_F(SettingsTest, FailingRegistryNeverStopsStartUpOrTheOperation) {
  Plant("Time Out", 3600);
  fake_.registry.Unreadable = fake_.registry.Unwritable = true;
  Launch& run = Start();
  EXPECT_EQ(run.program.CountdownSeconds, 10);
  EXPECT_THROW(run.form.Execute(), fake::ProcessEnded);
  ASSERT_EQ(fake_.process.Runs.size(), 1u);
  EXPECT_EQ(fake_.process.Runs[0].commandLine, "Shutdown -s -f -t 0");
  fake_.registry.Unreadable = false;
  EXPECT_EQ(Stored("Time Out"), RegistryValue(3600));
}

}  // namespace
}  // namespace quellor
