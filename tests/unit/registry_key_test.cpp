#include "settings/registry_key.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "fake_platform.h"

namespace quellor {
namespace {

using namespace std::string_literals;
using platform::kHkeyCurrentUser;
using Bytes = std::vector<std::uint8_t>;
constexpr const char* kKey = "Software\\Test";

// The bytes a value is stored as: an integer as a little-endian DWORD, a
// text followed by one zero.
Bytes Encoded(const RegistryValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) {
    Bytes bytes(text->begin(), text->end());
    bytes.push_back(0);
    return bytes;
  }
  const auto raw = static_cast<std::uint32_t>(std::get<std::int32_t>(value));
  return {static_cast<std::uint8_t>(raw), static_cast<std::uint8_t>(raw >> 8),
          static_cast<std::uint8_t>(raw >> 16), static_cast<std::uint8_t>(raw >> 24)};
}

class RegistryKeyTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(fake_.OpenHandles(), 0); }  // after every call
  RegistryValue Get(const std::string& name) { return key_.GetValue(kHkeyCurrentUser, kKey, name); }
  void Set(const std::string& name, const RegistryInput& value) {
    key_.SetValue(kHkeyCurrentUser, kKey, name, value);
  }
  fake::FakeRegistry fake_;
  RegistryKey key_{fake_};
};

TEST_F(RegistryKeyTest, ReadsTextUpToItsFirstZeroSignedDwordsAndNothingElse) {
  using platform::kRegDword, platform::kRegSz;
  const struct {
    std::uint32_t type;
    std::string data;
    RegistryValue read;
  } cases[] = {// clang-format off
      {kRegSz, "abc\0"s, "abc"s}, {kRegSz, "abc\0def\0"s, "abc"s}, {kRegSz, "abc"s, "abc"s},
      {kRegSz, "\0"s, ""s}, {kRegSz, ""s, ""s}, {kRegDword, "\xFF\xFF\xFF\xFF"s, -1},
      {kRegDword, "\0\0\0\0"s, 0}, {kRegDword, "\0\0\0\x80"s, INT32_MIN},
      {kRegDword, "\1\0\0\0\0\0\0\0"s, ""s}, {platform::kRegExpandSz, "%TEMP%\0"s, ""s},
      {platform::kRegBinary, "\1\2\3\4"s, ""s}, {platform::kRegMultiSz, "a\0b\0\0"s, ""s}};
  // clang-format on
  for (const auto& c : cases) {
    fake_.Plant(kKey, "v", c.type, Bytes(c.data.begin(), c.data.end()));
    EXPECT_EQ(Get("v"), c.read) << c.type << " of " << c.data.size() << " bytes";
  }
  // Another type is not read at all.
  EXPECT_EQ(fake_.Calls, (std::vector<std::string>{"open Software\\Test", "query v", "close"}));
}

TEST_F(RegistryKeyTest, MissingKeysAndValuesReadAsEmptyAndCreateNothing) {
  EXPECT_EQ(key_.GetValue(kHkeyCurrentUser, "Software\\No\\Key", "v"), RegistryValue(""s));
  EXPECT_NE(key_.LastStatus, 0);
  EXPECT_FALSE(key_.KeyExists(kHkeyCurrentUser, "Software\\No"));
  EXPECT_FALSE(fake_.HasKey("Software\\No"));
  fake_.PlantDword(kKey, "other", 1);
  EXPECT_EQ(Get("v"), RegistryValue(""s));
  fake_.Unreadable = true;
  EXPECT_EQ(Get("other"), RegistryValue(""s));
  EXPECT_FALSE(key_.KeyExists(kHkeyCurrentUser, kKey));
}

// A registry whose size answer is scripted, as a value that another program
// changes between the two queries gives it.
class ScriptedSize : public fake::FakeRegistry {
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
  ScriptedSize fake;
  RegistryKey key(fake);
  fake.PlantString(kKey, "v", "abcdef");
  for (std::uint32_t size : {0xFFFFFFF0u, kMaxValueBytes + 1}) {  // never allocated, never read
    fake.Size = size;
    EXPECT_EQ(key.GetValue(kHkeyCurrentUser, kKey, "v"), RegistryValue(""s));
  }
  EXPECT_EQ(fake.DataQueries, 0);
  fake.Size = 3;  // grew after its size was asked: the data query fails
  EXPECT_EQ(key.GetValue(kHkeyCurrentUser, kKey, "v"), RegistryValue(""s));
  EXPECT_EQ(fake.DataQueries, 1);
  EXPECT_EQ(fake.OpenHandles(), 0);
}

TEST_F(RegistryKeyTest, WritesNumbersAsRoundedDwordsAndEverythingElseAsTrimmedText) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    RegistryInput value;
    RegistryValue stored;
  } cases[] = {// clang-format off
      {" 42 "s, 42}, {"\t7\t"s, 7}, {"+3"s, 3}, {"-7"s, -7}, {"12.5"s, 12}, {"13.5"s, 14},
      {".5"s, 0}, {"2147483647"s, INT32_MAX}, {" abc "s, "abc"s}, {""s, ""s}, {"   "s, ""s},
      {"1e5"s, "1e5"s}, {"1,5"s, "1,5"s}, {"&H10"s, "&H10"s}, {"- 5"s, "- 5"s},
      {" 2147483648 "s, "2147483648"s}, {"-2147483649"s, "-2147483649"s},
      {std::int16_t{-1}, -1}, {7.5f, 8}, {2.5, 2}, {-300.0f, -300}, {3e9, "3000000000"s},
      {-3000000000.5, "-3000000000.5"s}, {1e20, "100000000000000000000"s},
      {inf, "inf"s}, {-inf, "-inf"s}, {std::nan(""), "nan"s}};
  // clang-format on
  for (const auto& c : cases) {
    Set("v", c.value);
    ASSERT_NE(fake_.Find(kKey, "v"), nullptr);
    EXPECT_EQ(fake_.Find(kKey, "v")->type,
              c.stored.index() == 0 ? platform::kRegSz : platform::kRegDword);
    EXPECT_EQ(fake_.Find(kKey, "v")->data, Encoded(c.stored)) << testing::PrintToString(c.stored);
    EXPECT_EQ(Get("v"), c.stored);
  }
}

TEST_F(RegistryKeyTest, CreatesMissingLevelsAndKeepsWhatExists) {
  fake_.PlantDword(kKey, "kept", 7);
  EXPECT_TRUE(key_.KeyExists(kHkeyCurrentUser, kKey));
  key_.CreateKey(kHkeyCurrentUser, kKey);
  key_.SetValue(kHkeyCurrentUser, "Software\\A\\B\\C", "v", std::int32_t{1});
  for (const char* path : {"Software\\A", "Software\\A\\B", "Software\\A\\B\\C"}) {
    EXPECT_TRUE(key_.KeyExists(kHkeyCurrentUser, path)) << path;
  }
  EXPECT_EQ(Get("kept"), RegistryValue(7));
  Set("kept", std::string(kMaxValueBytes, 'x'));  // too long to store: the old value stays
  EXPECT_EQ(Get("kept"), RegistryValue(7));
}

TEST_F(RegistryKeyTest, UnwritableRegistryStaysUnchangedSilently) {
  fake_.PlantDword(kKey, "v", 1);
  fake_.Unwritable = true;
  Set("v", 2);
  Set("new", "x"s);
  key_.CreateKey(kHkeyCurrentUser, "Software\\Other");
  EXPECT_NE(key_.LastStatus, 0);
  EXPECT_EQ(fake_.Find(kKey, "v")->data, Encoded(1));
  EXPECT_EQ(fake_.Find(kKey, "new"), nullptr);
  EXPECT_FALSE(fake_.HasKey("Software\\Other"));
}

}  // namespace
}  // namespace quellor
