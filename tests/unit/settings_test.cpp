// The registry layer's type rules, and the eight settings: what is stored and
// loaded, precedence, and the values that fit no control.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "controller/program.h"
#include "fake_platform.h"
#include "settings/registry_key.h"
#include "settings/settings.h"

namespace quellor::fake {
namespace {

using namespace std::string_literals;
using platform::kHkeyCurrentUser;
using Strings = std::vector<std::string>;
using Values = std::vector<RegistryValue>;
using Bytes = std::vector<std::uint8_t>;
const Strings kSaveOrder = {"PositionX", "PositionY", "Operation",   "CPU Usage",
                            "Time Out",  "Option",    "Force Close", "Always Top"};
constexpr const char* kKey = "Software\\Test";

class RegistryKeyTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(fake_.OpenHandles(), 0); }  // after every call
  RegistryValue Get(const std::string& name) { return key_.GetValue(kHkeyCurrentUser, kKey, name); }
  void Set(const std::string& name, const RegistryInput& value) {
    key_.SetValue(kHkeyCurrentUser, kKey, name, value);
  }
  FakeRegistry fake_;
  RegistryKey key_{fake_};
};

TEST_F(RegistryKeyTest, ReadsTextUpToItsFirstZeroSignedDwordsAndNothingElse) {
  using platform::kRegDword, platform::kRegSz;
  const struct {
    std::uint32_t type;
    std::string data;
    RegistryValue read;
  } cases[] = {// clang-format off
      {kRegSz, "abc\0def\0"s, "abc"s}, {kRegSz, "abc"s, "abc"s}, {kRegSz, ""s, ""s},
      {kRegDword, "\xFF\xFF\xFF\xFF"s, -1}, {kRegDword, "\0\0\0\x80"s, INT32_MIN},
      {kRegDword, "\x01\x02\x03\x84"s, static_cast<std::int32_t>(0x84030201u)},
      {kRegDword, "\1\0\0\0\0\0\0\0"s, ""s}, {kRegDword, ""s, ""s}, {kRegDword, "\1\0\0"s, ""s},
      {kRegSz, std::string(32, '7') + '\0', std::string(32, '7')},
      {kRegSz, std::string(33, '7') + '\0', ""s}, {kRegSz, std::string(33, '7'), ""s},
      {platform::kRegExpandSz, "%TEMP%\0"s, ""s},
      {platform::kRegBinary, "\1\2\3\4"s, ""s}, {platform::kRegMultiSz, "a\0b\0\0"s, ""s}};
  // clang-format on
  for (const auto& c : cases) {
    fake_.Plant(kKey, "v", c.type, Bytes(c.data.begin(), c.data.end()));
    EXPECT_EQ(Get("v"), c.read) << "type " << c.type << " of " << c.data.size() << " bytes";
  }
  // Missing keys and values read as empty and create nothing.
  EXPECT_EQ(key_.GetValue(kHkeyCurrentUser, "Software\\No\\Key", "v"), RegistryValue(""s));
  EXPECT_FALSE(key_.KeyExists(kHkeyCurrentUser, "Software\\No"));
  EXPECT_FALSE(fake_.HasKey("Software\\No"));
  EXPECT_EQ(Get("missing"), RegistryValue(""s));
}

// A registry whose size answer is scripted, as a value that another program
// changes between the two queries gives it.
class ScriptedSize : public FakeRegistry {
 public:
  platform::Status RegQueryValueExA(platform::KeyHandle key, const std::string& name,
                                    std::uint32_t& type, std::uint8_t* data,
                                    std::uint32_t& count) override {
    const platform::Status status = FakeRegistry::RegQueryValueExA(key, name, type, data, count);
    if (data == nullptr) count = Size;
    DataQueries += data != nullptr ? 1 : 0;
    return status;
  }
  std::uint32_t Size = 0;
  int DataQueries = 0;
};

TEST(RegistryKeyGuard, ImplausibleOrStaleSizesReadAsEmpty) {
  const struct {
    std::uint32_t size;  // as the size query reports it
    RegistryValue read;
    int dataQueries;
  } cases[] = {{kMaxValueBytes + 1, ""s, 0},  // never allocated, never read
               {0xFFFFFFF0u, ""s, 0},
               {3, ""s, 1}};  // grew after its size was asked: the data query fails
  for (const auto& c : cases) {
    ScriptedSize fake;
    RegistryKey key(fake);
    fake.PlantString(kKey, "v", "abcdef");
    fake.Size = c.size;
    EXPECT_EQ(key.GetValue(kHkeyCurrentUser, kKey, "v"), c.read) << c.size;
    EXPECT_EQ(fake.DataQueries, c.dataQueries) << c.size;
    EXPECT_EQ(fake.OpenHandles(), 0);
  }
}

TEST_F(RegistryKeyTest, WritesNumbersAsRoundedDwordsAndEverythingElseAsTrimmedText) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    RegistryInput value;
    RegistryValue stored;
  } cases[] = {// clang-format off
      {" 42 "s, 42}, {"\t7\t"s, 7}, {"+3"s, 3}, {"-7"s, -7}, {"12.5"s, 12}, {"13.5"s, 14},
      {"2147483647"s, INT32_MAX}, {" abc "s, "abc"s}, {"   "s, ""s}, {"1e5"s, "1e5"s},
      {"1,5"s, "1,5"s}, {"&H10"s, "&H10"s}, {" 2147483648 "s, "2147483648"s},
      {std::int16_t{-1}, -1}, {7.5f, 8}, {2.5, 2}, {3e9, "3000000000"s},
      {-3000000000.5, "-3000000000.5"s}, {inf, "inf"s}, {std::nan(""), "nan"s}};
  // clang-format on
  for (const auto& c : cases) {
    Set("v", c.value);
    const auto* stored = fake_.Find(kKey, "v");
    ASSERT_NE(stored, nullptr);
    const bool text = c.stored.index() == 0;
    EXPECT_EQ(stored->type, text ? platform::kRegSz : platform::kRegDword);
    // A text with one terminating zero; a number in four bytes.
    EXPECT_EQ(stored->data.size(), text ? std::get<0>(c.stored).size() + 1 : 4u);
    EXPECT_EQ(Get("v"), c.stored) << testing::PrintToString(c.stored);
  }
}

TEST_F(RegistryKeyTest, WritesIntoMissingKeysRefusesTooLongTextsAndFailsSilently) {
  key_.SetValue(kHkeyCurrentUser, "Software\\A\\B", "v", std::int32_t{1});  // creates the key
  EXPECT_EQ(key_.GetValue(kHkeyCurrentUser, "Software\\A\\B", "v"), RegistryValue(1));
  Set("kept", 7);
  Set("kept", std::string(kMaxWrittenBytes, 'x'));  // too long to store: the old value stays
  EXPECT_EQ(Get("kept"), RegistryValue(7));
  Set("long", std::string(kMaxWrittenBytes - 1, 'x'));  // with its zero, exactly the limit
  const auto* stored = fake_.Find(kKey, "long");
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(stored->data.size(), kMaxWrittenBytes);
  fake_.Unwritable = true;
  Set("kept", 2);
  key_.CreateKey(kHkeyCurrentUser, "Software\\Other");
  EXPECT_NE(key_.LastStatus, 0);
  EXPECT_EQ(Get("kept"), RegistryValue(7));
  EXPECT_FALSE(fake_.HasKey("Software\\Other"));
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
    return RegistryKey(fake_.registry).GetValue(kHkeyCurrentUser, kSettingsKey, name);
  }
  Values StoredAll() {
    Values out;
    for (const std::string& name : kSaveOrder) out.push_back(Stored(name));
    return out;
  }
  FakePlatform fake_;
  std::vector<std::unique_ptr<Launch>> runs_;
};

TEST_F(SettingsTest, FirstRunLoadsNothingAndFirstSaveStoresTheDefaults) {
  Launch& run = Start();
  EXPECT_FALSE(fake_.registry.HasKey(kAppKey));
  SaveSettings(run.program);
  EXPECT_EQ(StoredAll(), (Values{7320, 5805, 0, 2, 10, 2, 1, 1}));
}

TEST_F(SettingsTest, SavesWhatTheWindowShowsAndTheFullCountdownLength) {
  fake_.registry.PlantString(kAppKey, "other", "x");  // the parent key exists already
  Launch& run = Start();
  run.form.ReportPlacement(-300.6f, 200.5f);
  run.form.Combo1.SetListIndex(1);
  run.form.Text2.SetText(" abc ");
  run.form.Option1[3].Select();
  run.form.Check1.SetValue(0);
  run.form.Check2.SetValue(2);
  run.program.TimeOutSeconds = 3600;
  run.program.CountdownSeconds = 12;
  SaveSettings(run.program);
  EXPECT_EQ(StoredAll(), (Values{-301, 200, 1, "abc"s, 3600, 3, 0, 2}));
  run.form.Option1[kMethodTimer].Select();
  SaveSettings(run.program);
  EXPECT_EQ(Stored("Option"), RegistryValue(kMethodTimer));  // the first button counts too
  EXPECT_EQ(Start().program.CountdownSeconds, 3600);         // the next start runs the full length
}

TEST_F(SettingsTest, ThresholdTextsComeBackAsTheyWereStored) {
  const std::string longest(kMaxTextLength, '5'), tooLong = longest + 'x';
  const struct {
    std::string typed;
    RegistryValue stored;
    std::string loaded;
  } cases[] = {{"7.5", 8, "8"},
               {" 12.5 ", 12, "12"},
               {" abc ", "abc"s, "abc"},
               {longest, longest, longest},
               {tooLong, ""s, "2"},  // written, but too long to read back
               {"", ""s, "2"}};      // an empty text leaves the default
  for (const auto& c : cases) {
    Launch& run = Start();
    run.form.Text2.SetText(c.typed);
    SaveSettings(run.program);
    EXPECT_EQ(Stored("CPU Usage"), c.stored) << c.typed;
    EXPECT_EQ(Start().form.Text2.Text(), c.loaded) << c.typed;
  }
}

TEST_F(SettingsTest, LoadsEveryValueWithTheUsersConsequencesTimeOutAfterMethod) {
  PlantAll({1000, -300, 2, "abc"s, 5, 0, 0, 0});
  Launch& run = Start();
  EXPECT_EQ(Rect({run.form.Left(), run.form.Top()}), Rect({1000, -300}));  // partly off: kept
  EXPECT_EQ(run.form.Combo1.SelectedText(), "Log Off");
  EXPECT_EQ(run.form.Text2.Text(), "abc");
  EXPECT_TRUE(run.form.Option1[0].Value());
  EXPECT_FALSE(run.form.Text2.Enabled());
  // Read after the method, whose choice would have raised it to 10.
  EXPECT_EQ(run.program.CountdownSeconds, 5);
  EXPECT_EQ(run.form.Check1.Value(), 0);
  EXPECT_EQ(run.form.Check2.Value(), 0);
  // Taken off the top as the box is cleared, and again by start-up's last step.
  EXPECT_EQ(fake_.user32.Calls, (Strings(2, "SetWindowPos 0 -2 0 0 0 0 3")));
}

TEST_F(SettingsTest, CommandLineWinsOverStoredValuesWhichWinOverDefaults) {
  PlantAll({7320, 5805, 0, "35"s, 3600, kMethodTimer, 1});
  Launch& run = Start("-t120");
  EXPECT_EQ(run.form.Label3.Caption(), "00:02:00");
  EXPECT_FALSE(run.form.Text2.Enabled());  // the stored Timer method
  EXPECT_EQ(run.form.Text2.Text(), "35");
  EXPECT_EQ(run.form.Check1.Value(), 0);  // -f is absent from a non-empty line
  // A stored method is applied as a click is: a short countdown is raised.
  run.program.CountdownSeconds = 3;
  Plant("Option", kMethodCpuIdle);
  fake_.registry.Plant(kSettingsKey, "Time Out", platform::kRegBinary, {});  // reads as missing
  LoadSettings(run.program);
  EXPECT_TRUE(run.form.Text2.Enabled());
  EXPECT_EQ(run.program.CountdownSeconds, 10);
  // With no method selected, the stored one stays.
  for (OptionButton& button : run.form.Option1) button.Clear();
  SaveSettings(run.program);
  EXPECT_EQ(Stored("Option"), RegistryValue(kMethodCpuIdle));
}

TEST_F(SettingsTest, ValuesThatFitNoControlKeepTheStartUpDefault) {
  const struct {
    const char* name;
    RegistryValue stored;
  } ignored[] = {// clang-format off
      {"Operation", 4}, {"Operation", -2}, {"Operation", 65536}, {"Operation", "x"s},
      {"Option", 4}, {"Option", -1}, {"Force Close", 3}, {"Force Close", -1},
      {"Force Close", 65536}, {"Always Top", 3}, {"Time Out", -5}, {"Time Out", "abc"s},
      {"Time Out", "99999999999"s}, {"PositionX", "left"s}, {"PositionY", "1e3"s}};
  // clang-format on
  for (const auto& c : ignored) {
    SCOPED_TRACE(std::string(c.name) + " " + testing::PrintToString(c.stored));
    Plant(c.name, c.stored);
    const Launch& run = Start();
    EXPECT_EQ(run.form.Combo1.ListIndex(), 0);
    EXPECT_TRUE(run.form.Option1[2].Value());
    EXPECT_EQ(run.form.Check1.Value(), 1);
    EXPECT_EQ(run.form.Check2.Value(), 1);
    EXPECT_EQ(run.program.TimeOutSeconds, 10);
    EXPECT_EQ(Rect({run.form.Left(), run.form.Top()}), Rect({7320, 5805}));
    fake_.registry.Plant(kSettingsKey, c.name, platform::kRegBinary, {});  // reads as missing
  }
  Plant("Operation", 3);
  EXPECT_EQ(Start().form.Combo1.SelectedText(), "Hibernate");
  fake_.power.HibernateAllowed = false;
  EXPECT_EQ(Start().form.Combo1.ListIndex(), 0);
  Plant("Operation", -1);
  EXPECT_EQ(Start().form.Combo1.ListIndex(), -1);
  // Any time-out from 0 up is kept, and a text that reads as a number is one.
  for (const RegistryValue& timeOut :
       {RegistryValue(0), RegistryValue(INT32_MAX), RegistryValue(" 120 "s)}) {
    Plant("Time Out", timeOut);
    const double want = timeOut.index() == 0 ? 120 : std::get<std::int32_t>(timeOut);
    EXPECT_EQ(Start().program.CountdownSeconds, want);
  }
}

TEST_F(SettingsTest, OnlyAWindowWhollyOffEveryMonitorIsPulledBack) {
  fake_.user32.Monitors.push_back(Rect{19200, 0, 19200, 10800});
  const RegistryValue kMissing = "x"s;  // fits no position: that one stays as designed
  const struct {
    RegistryValue left, top;
    Rect want;
  } cases[] = {{-300, 400, {-300, 400}},
               {25000, 400, {25000, 400}},  // on the second monitor
               {-50000, -50000, {0, 0}},
               {60000, 400, {38400 - 4830, 400}},
               {std::string(32, '9'), 400, {19200 - 4830, 400}},  // as far as a text goes
               {std::string(33, '9'), 400, {7320, 400}},          // too long: not stored
               {400, 60000, {400, 10800 - 3840}},
               {60000, kMissing, {38400 - 4830, 5805}},
               {kMissing, 60000, {7320, 10800 - 3840}}};
  for (const auto& c : cases) {
    PlantAll({c.left, c.top});
    const Launch& run = Start();
    EXPECT_EQ(Rect({run.form.Left(), run.form.Top()}), c.want)
        << testing::PrintToString(c.left) << ", " << testing::PrintToString(c.top);
  }
}

}  // namespace
}  // namespace quellor::fake
