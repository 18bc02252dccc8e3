// The registry layer's type rules, and the eight settings: what is stored and
// loaded, precedence, and the window pulled back on screen.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include "controller/form1_settings.h"
#include "fake_platform.h"
#include "settings/registry_key.h"

namespace quellor::fake {
namespace {

using namespace std::string_literals;
using platform::kHkeyCurrentUser, platform::kRegDword, platform::kRegSz;
using Values = std::vector<RegistryValue>;
using Bytes = std::vector<std::uint8_t>;
constexpr const char* kKey = "Software\\Test";

TEST(RegistryKey, ReadsTextUpToItsFirstZeroSignedDwordsAndNothingElse) {
  FakeRegistry fake;
  // The type and bytes stored, and what reads back.
  const std::tuple<std::uint32_t, std::string, RegistryValue> cases[] = {
      // clang-format off
      {kRegSz, "abc\0def\0"s, "abc"s}, {kRegSz, "abc"s, "abc"s}, {kRegDword, "\xFF\xFF\xFF\xFF"s, -1},
      {kRegDword, "\x01\x02\x03\x84"s, static_cast<std::int32_t>(0x84030201u)},
      {kRegDword, "\1\0\0\0\0\0\0\0"s, ""s}, {kRegDword, "\1\0\0"s, ""s},
      {kRegSz, std::string(32, '7') + '\0', std::string(32, '7')},
      {kRegSz, std::string(33, '7') + '\0', ""s}, {kRegSz, std::string(33, '7'), ""s},
      {platform::kRegExpandSz, "%TEMP%\0"s, ""s}, {platform::kRegBinary, "\1\2\3\4"s, ""s}};
  // clang-format on
  for (const auto& [type, data, read] : cases) {
    fake.Plant(kKey, "v", type, Bytes(data.begin(), data.end()));
    EXPECT_EQ(RegistryKey(fake).GetValue(kHkeyCurrentUser, kKey, "v"), read)
        << "type " << type << " of " << data.size() << " bytes";
  }
  EXPECT_EQ(fake.OpenHandles(), 0);
}

TEST(RegistryKey, WritesNoTextThatCouldNotBeReadBack) {
  FakeRegistry fake;
  // What is written, and what reads back after "old" was stored.
  const std::pair<std::string, RegistryValue> cases[] = {
      {std::string(32, 'a'), std::string(32, 'a')},
      {" " + std::string(32, 'a') + " ", std::string(32, 'a')},
      {std::string(33, 'a'), "old"s}};
  for (const auto& [written, read] : cases) {
    RegistryKey(fake).SetValue(kHkeyCurrentUser, kKey, "v", "old"s);
    RegistryKey(fake).SetValue(kHkeyCurrentUser, kKey, "v", written);
    EXPECT_EQ(RegistryKey(fake).GetValue(kHkeyCurrentUser, kKey, "v"), read)
        << written.size() << " characters";
  }
}

TEST(RegistryKey, WritesWholeNumbersAsDwordsAndOthersAsPlainDecimalText) {
  // clang-format off
  struct Case { RegistryInput written; RegistryValue read; };
  const Case kCases[] = {
      {.written = 2.5, .read = 2}, {.written = -300.6f, .read = -301}, {.written = std::int16_t{-7}, .read = -7},
      {.written = 3e9, .read = "3000000000"s}, {.written = -3e9f, .read = "-3000000000"s},
      {.written = 1e20, .read = "100000000000000000000"s},
      {.written = -std::numeric_limits<double>::infinity(), .read = "-inf"s},
      {.written = 1e40, .read = ""s}};  // written, but longer than a text reads
  // clang-format on
  for (const Case& c : kCases) {
    FakeRegistry fake;
    RegistryKey(fake).SetValue(kHkeyCurrentUser, kKey, "v", c.written);
    EXPECT_EQ(RegistryKey(fake).GetValue(kHkeyCurrentUser, kKey, "v"), c.read)
        << testing::PrintToString(c.read);
  }
}

class SettingsTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(fake_.registry.OpenHandles(), 0); }
  Launch& Start(const std::string& commandLine = "") {
    fake_.process.CommandLine = commandLine;
    runs_.push_back(std::make_unique<Launch>(fake_.Get()));
    runs_.back()->program.Main();
    return *runs_.back();
  }
  // A number stored as the program stores it; a text as it stands, as a hand
  // edit can store one too long for the program to write.
  void Plant(const std::string& name, const RegistryValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
      const char* data = text->c_str();
      fake_.registry.Plant(kSettingsKey, name, kRegSz, Bytes(data, data + text->size() + 1));
      return;
    }
    RegistryKey(fake_.registry)
        .SetValue(kHkeyCurrentUser, kSettingsKey, name, std::get<std::int32_t>(value));
  }
  void PlantAll(const Values& values) {
    for (std::size_t i = 0; i < values.size(); ++i) Plant(kSettingNames[i], values[i]);
  }
  Values StoredAll() {
    Values out;
    for (const char* name : kSettingNames) {
      out.push_back(RegistryKey(fake_.registry).GetValue(kHkeyCurrentUser, kSettingsKey, name));
    }
    return out;
  }
  FakePlatform fake_;
  std::vector<std::unique_ptr<Launch>> runs_;
};

TEST_F(SettingsTest, TheRecordHoldsOnlyWhatFitsAndWritesOnlyWhatItHolds) {
  // clang-format off
  struct Case { const char* name; Values planted; Settings read; };
  const Case cases[] = {
      {.name = "nothing stored", .planted = {}, .read = {}},
      {.name = "each fits", .planted = {100, -300, 2, "abc"s, 0, 3, 2, 0},
       .read = {.positionX = 100, .positionY = -300, .operation = 2, .cpuUsage = "abc", .timeOut = 0,
                .option = 3, .forceClose = 2, .alwaysTop = 0}},
      {.name = "none fits", .planted = {"x"s, "1e39"s, 40000, ""s, -1, 70000, 3, -1}, .read = {}}};
  // clang-format on
  for (const Case& c : cases) {
    fake_.registry = FakeRegistry();
    PlantAll(c.planted);
    RegistryKey registry(fake_.registry);
    EXPECT_TRUE(ReadSettings(registry) == c.read) << c.name;
    // Written back, it reads the same; what it lacks stays as stored.
    const Values before = StoredAll();
    WriteSettings(registry, c.read);
    EXPECT_TRUE(ReadSettings(registry) == c.read) << c.name;
    EXPECT_EQ(StoredAll(), before) << c.name;
  }
}

TEST_F(SettingsTest, FirstSaveStoresTheDefaultsThenWhatTheWindowShowsAndTheFullCountdown) {
  Launch& run = Start();
  EXPECT_FALSE(fake_.registry.HasKey(kAppKey));  // the first run loads nothing
  SaveSettings(run.program);
  EXPECT_EQ(StoredAll(), (Values{7320, 5805, 0, 2, 10, 2, 1, 1}));
  run.form.ReportWindowRect({-300.6f, 200.5f, 4000, 3000}, false);
  run.form.ReportWindowRect({-480000, -480000, 2400, 435}, true);  // minimised: kept as before
  EXPECT_EQ(Rect({run.form.Width(), run.form.Height()}), Rect({4000, 3000}));
  run.form.Text2.SetText(" abc ");
  run.form.Check2.SetValue(2);
  run.program.TimeOutSeconds = 3600;
  run.program.CountdownSeconds = 12;
  SaveSettings(run.program);
  EXPECT_EQ(StoredAll(), (Values{-301, 200, 0, "abc"s, 3600, 2, 1, 2}));
  run.form.Option1[kMethodTimer].Select();  // the first button counts too
  SaveSettings(run.program);
  EXPECT_EQ(StoredAll()[5], RegistryValue(kMethodTimer));
  const Launch& next = Start();
  EXPECT_EQ(next.program.CountdownSeconds, 3600);  // the next start runs the full length
  EXPECT_EQ(next.form.Check2.Value(), 2);
}

TEST_F(SettingsTest, LoadsEveryValueWithTheUsersConsequencesTimeOutAfterMethod) {
  PlantAll({1000, -300, 2, "abc"s, 5, 0, 0, 0});
  Launch& run = Start();
  EXPECT_EQ(Rect({run.form.Left(), run.form.Top()}), Rect({1000, -300}));  // partly off: kept
  EXPECT_EQ(run.form.Combo1.SelectedText(), "Log Off");
  EXPECT_EQ(run.form.Text2.Text(), "abc");
  EXPECT_TRUE(run.form.Option1[0].Value());
  EXPECT_FALSE(run.form.Text2.Enabled());
  // Read after the method, whose choice would have raised it to 10: kept as stored.
  EXPECT_EQ(run.program.TimeOutSeconds, 5);
  EXPECT_EQ(run.form.Check1.Value(), 0);
  EXPECT_EQ(run.form.Check2.Value(), 0);
  // Taken off the top as the box is cleared, and again by start-up's last step.
  EXPECT_EQ(fake_.user32.Calls, (std::vector<std::string>(2, "SetWindowPos 0 -2 0 0 0 0 3")));
  EXPECT_EQ(Start("-t120").program.CountdownSeconds, 120);  // the command line wins
}

TEST_F(SettingsTest, AStoredCountdownUnderTenStartsAtTenOnlyTheCommandLineGoesLower) {
  // "Time Out" stored with "Option" 0, the command line, and the countdown and time-out.
  // clang-format off
  struct Case { std::int32_t stored; const char* commandLine; double countdown; std::int32_t timeOut; };
  const Case cases[] = {
      {.stored = 0, .commandLine = "", .countdown = 10, .timeOut = 0},
      {.stored = 9, .commandLine = "-s", .countdown = 10, .timeOut = 9},
      {.stored = 11, .commandLine = "", .countdown = 11, .timeOut = 11},
      {.stored = 36000, .commandLine = "", .countdown = 36000, .timeOut = 36000},  // a time of day
      {.stored = 0, .commandLine = "-t1 -o0", .countdown = 1, .timeOut = 1}};
  // clang-format on
  for (const Case& c : cases) {
    PlantAll({"x"s, "x"s, 0, "2"s, c.stored, kMethodTimer});
    const Launch& run = Start(c.commandLine);
    EXPECT_EQ(run.program.CountdownSeconds, c.countdown) << c.stored << " " << c.commandLine;
    EXPECT_EQ(run.program.TimeOutSeconds, c.timeOut) << c.stored << " " << c.commandLine;
  }
}

TEST_F(SettingsTest, AStoredValueThatFitsNothingIsIgnored) {
  // clang-format off
  struct Case { const char* name; RegistryValue value; };
  const Case kCases[] = {
      {.name = "Time Out", .value = -5},      {.name = "Operation", .value = 4},
      {.name = "Operation", .value = -2},     {.name = "Option", .value = 4},
      {.name = "Option", .value = -1},        {.name = "Force Close", .value = 3},
      {.name = "Always Top", .value = -1},    {.name = "CPU Usage", .value = ""s},
      {.name = "Time Out", .value = "1e10"s}, {.name = "PositionX", .value = "1e39"s}};
  // clang-format on
  for (const Case& c : kCases) {
    Plant(c.name, c.value);
    Launch& run = Start();
    SaveSettings(run.program);
    EXPECT_EQ(StoredAll(), (Values{7320, 5805, 0, 2, 10, 2, 1, 1}))
        << c.name << " " << testing::PrintToString(c.value);
  }
}

TEST_F(SettingsTest, OnlyAWindowWhollyOffEveryMonitorIsPulledBack) {
  fake_.user32.Monitors.push_back(Rect{19200, 0, 19200, 10800});
  const RegistryValue kMissing = "x"s;  // fits no position: that one stays as designed
  // The stored left and top, and where the window shows.
  const std::tuple<RegistryValue, RegistryValue, Rect> cases[] = {
      {-300, 400, {-300, 400}},
      {0, 0, {0, 0}},
      {25000, 400, {25000, 400}},  // on the second monitor
      {-50000, -50000, {0, 0}},
      {60000, 400, {38400 - 4830, 400}},
      {std::string(32, '9'), 400, {19200 - 4830, 400}},  // as far as a text goes
      {std::string(33, '9'), 400, {7320, 400}},          // too long: not stored
      {400, 60000, {400, 10800 - 3840}},
      {60000, kMissing, {38400 - 4830, 5805}},
      {kMissing, 60000, {7320, 10800 - 3840}}};
  for (const auto& [left, top, want] : cases) {
    PlantAll({left, top});
    const Launch& run = Start();
    EXPECT_EQ(Rect({run.form.Left(), run.form.Top()}), want)
        << testing::PrintToString(left) << ", " << testing::PrintToString(top);
  }
}

}  // namespace
}  // namespace quellor::fake
