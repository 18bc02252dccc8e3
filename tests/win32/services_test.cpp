// The system services against the real system (under Wine in the tests):
// unit conversions, the registry, the performance counters and the monitors.
// First, so that the interfaces keep their names (see services.h).
#include "platform/win32/services/services.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/units.h"

namespace quellor::win32 {
namespace {

using platform::CounterHandle;
using platform::KeyHandle;
using platform::QueryHandle;
using platform::Status;

TEST(Units, TwipsBecomeWholePixelsAtTheResolutionAndBack) {
  const struct {
    float twips;
    unsigned dpi;
    int pixels;
  } kRows[] = {{1440, 96, 96}, {4830, 96, 322}, {4830, 144, 483}, {7, 96, 0},
               {8, 96, 1},     {-300, 96, -20}, {1095, 120, 91}};
  for (const auto& row : kRows) {
    EXPECT_EQ(TwipsToPixels(row.twips, row.dpi), row.pixels) << row.twips << " at " << row.dpi;
  }
  EXPECT_FLOAT_EQ(PixelsToTwips(322, 96), 4830);
  EXPECT_FLOAT_EQ(PixelsToTwips(40, 120), 480);
  // Edges are rounded, not sizes, so touching rectangles stay touching.
  const RECT a = TwipsToPixelRect({0, 0, 1095, 375}, 96);
  const RECT b = TwipsToPixelRect({1095, 375, 1215, 375}, 96);
  EXPECT_EQ(a.right, b.left);
  EXPECT_EQ(a.bottom, b.top);
  EXPECT_EQ(FontHeight(8.25f, 96), -11);
  EXPECT_EQ(FontHeight(8.25f, 144), -17);
  EXPECT_EQ(FontHeight(12, 96), -16);
}

constexpr const char* kTestKey = "Software\\QuellorWindowsTests";

TEST(Registry, KeepsTextsAndNumbersAndReportsSizesAsTheSystemDoes) {
  Win32Registry registry;
  const std::string path = std::string(kTestKey) + "\\Deep\\Settings";
  KeyHandle key = 0;
  ASSERT_EQ(registry.RegCreateKeyA(platform::kHkeyCurrentUser, path, key), 0);
  const std::uint8_t text[] = {'a', 'b', 'c', 0};
  const std::int32_t minusOne = -1;
  EXPECT_EQ(registry.RegSetValueExA(key, "Name", platform::kRegSz, text, 4), 0);
  EXPECT_EQ(registry.RegSetValueExA(key, "Number", platform::kRegDword,
                                    reinterpret_cast<const std::uint8_t*>(&minusOne), 4),
            0);
  EXPECT_EQ(registry.RegCloseKey(key), 0);

  KeyHandle opened = 0;
  ASSERT_EQ(registry.RegOpenKeyA(platform::kHkeyCurrentUser, path, opened), 0);
  const struct {
    const char* name;
    std::uint32_t room;
    Status status;
    std::uint32_t type, size;
  } kRows[] = {{"Name", 0, 0, platform::kRegSz, 4},
               {"Name", 2, platform::kErrorMoreData, platform::kRegSz, 4},
               {"Name", 4, 0, platform::kRegSz, 4},
               {"Number", 4, 0, platform::kRegDword, 4},
               {"Missing", 0, ERROR_FILE_NOT_FOUND, 0, 0}};
  for (const auto& row : kRows) {
    std::uint8_t data[4] = {};
    std::uint32_t type = 0;
    std::uint32_t size = row.room;
    EXPECT_EQ(registry.RegQueryValueExA(opened, row.name, type, row.room ? data : nullptr, size),
              row.status)
        << row.name << " into " << row.room;
    EXPECT_EQ(type, row.type) << row.name;
    EXPECT_EQ(size, row.size) << row.name;
    if (row.status == 0 && row.room == 4) {
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), 3),
                row.type == platform::kRegSz ? "abc" : "\xff\xff\xff");
    }
  }
  EXPECT_EQ(registry.RegCloseKey(opened), 0);

  KeyHandle missing = 12345;
  EXPECT_EQ(registry.RegOpenKeyA(platform::kHkeyCurrentUser, path + "\\Never\\There", missing),
            static_cast<Status>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(missing, KeyHandle{0});
  EXPECT_EQ(NativeKey(platform::kHkeyCurrentUser), HKEY_CURRENT_USER);
  EXPECT_EQ(NativeKey(0x80000002u), HKEY_LOCAL_MACHINE);
  EXPECT_EQ(NativeKey(0x1234), reinterpret_cast<HKEY>(0x1234));
  RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
}

bool Usable(Status status) {
  return status == platform::kPdhCstatusValidData || status == platform::kPdhCstatusNewData;
}

TEST(Counters, TheFirstProcessorGivesAPercentageFromTheSecondSampleOn) {
  Win32Pdh pdh;
  QueryHandle query = 0;
  ASSERT_EQ(pdh.PdhOpenQuery(1, query), 0);
  CounterHandle counter = 0;
  pdh.PdhVbAddCounter(query, "\\Processor(0)\\% Processor Time", counter);
  EXPECT_NE(counter, CounterHandle{0});
  Status status = 0;
  pdh.PdhCollectQueryData(query);
  pdh.PdhVbGetDoubleCounterValue(counter, status);
  EXPECT_FALSE(Usable(status)) << "a rate needs two samples";
  double value = -1;
  for (int attempt = 0; attempt < 5 && !Usable(status); ++attempt) {
    Sleep(250);
    pdh.PdhCollectQueryData(query);
    value = pdh.PdhVbGetDoubleCounterValue(counter, status);
  }
  EXPECT_TRUE(Usable(status));
  EXPECT_GE(value, 0);
  EXPECT_LE(value, 100);

  CounterHandle unknown = 0;
  EXPECT_NE(pdh.PdhVbAddCounter(query, "\\No Such Object(0)\\Nothing", unknown), 0);
  EXPECT_EQ(unknown, CounterHandle{0});
  pdh.PdhVbGetDoubleCounterValue(unknown, status);
  EXPECT_FALSE(Usable(status));
  EXPECT_EQ(pdh.PdhCloseQuery(query), 0);
}

TEST(Monitors, WorkAreasAndPresenceAreInScreenTwips) {
  struct NoLoop : EventLoop {
    [[noreturn]] void Run() override { ExitProcess(3); }
  } loop;
  Win32User32 user32(loop);
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(user32.NearestWorkArea({1500, 1500, 4830, 3840}), PixelRectToTwips(work, SystemDpi()));
  EXPECT_TRUE(user32.IsOnAnyMonitor({1500, 1500, 4830, 3840}));
  EXPECT_FALSE(user32.IsOnAnyMonitor({-200000, -200000, 4830, 3840}));
  // Far off every screen, the nearest work area is still a real one.
  EXPECT_GT(user32.NearestWorkArea({-200000, -200000, 4830, 3840}).width, 0);
}

}  // namespace
}  // namespace quellor::win32
