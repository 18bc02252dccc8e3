// The Windows layer against the real system (under Wine in the tests): the
// registry's sizes and errors as the system reports them; the first
// processor's busy share from the second sample on, from the counters'
// library or, where it is missing (win32.counters-without-pdh), from the
// program's own reading of the processor's times; and the front end's sync
// after a handler ran for a message sent from another thread; the command
// line narrowed without best fit.
// First, so that the interfaces keep their names (see services.h).
#include "win32/services/services.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "controller/decision_rules.h"
#include "win32/front_end/front_end.h"

namespace quellor::win32 {
namespace {

using namespace platform;

TEST(Registry, ReportsSizesTypesAndMissingOnesAsTheSystemDoes) {
  const char* const kKey = "Software\\QuellorWindowsTests\\Deep";
  const std::uint8_t text[] = {'a', 'b', 'c', 0}, minusOne[] = {0xff, 0xff, 0xff, 0xff};
  RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "Name", REG_SZ, text, 4);
  RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "Number", REG_DWORD, minusOne, 4);
  Win32Registry registry;
  KeyHandle key = 0;
  ASSERT_EQ(registry.RegOpenKeyA(kHkeyCurrentUser, kKey, key), 0);
  // clang-format off
  struct Case { const char* name; std::uint32_t room; Status status; std::uint32_t type, size; };
  const Case cases[] = {
      {.name = "Name", .room = 0, .status = 0, .type = kRegSz, .size = 4},
      {.name = "Name", .room = 2, .status = kErrorMoreData, .type = kRegSz, .size = 4},
      {.name = "Name", .room = 4, .status = 0, .type = kRegSz, .size = 4},
      {.name = "Number", .room = 4, .status = 0, .type = kRegDword, .size = 4},
      {.name = "Missing", .room = 0, .status = ERROR_FILE_NOT_FOUND, .type = 0, .size = 0}};
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " into " + std::to_string(c.room) + " bytes");
    std::uint8_t data[4] = {};
    std::uint32_t type = 0, size = c.room;
    EXPECT_EQ(registry.RegQueryValueExA(key, c.name, type, c.room ? data : nullptr, size),
              c.status);
    EXPECT_EQ(std::pair(type, size), std::pair(c.type, c.size));
    EXPECT_TRUE(c.status != 0 || c.room < 4 ||
                !std::memcmp(data, c.type == kRegSz ? text : minusOne, 4));
  }
  EXPECT_EQ(registry.RegCloseKey(key), 0);
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QuellorWindowsTests");
}

TEST(Counters, TheFirstProcessorGivesAPercentageFromTheSecondSampleOn) {
  const char* overrides = std::getenv("WINEDLLOVERRIDES");
  EXPECT_EQ(LoadLibraryExW(L"pdh.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32) == nullptr,
            overrides != nullptr && std::strstr(overrides, ";pdh=") != nullptr);
  Win32Pdh pdh;
  QueryHandle query = 0;
  CounterHandle counter = 0;
  ASSERT_EQ(pdh.PdhOpenQuery(1, query), 0);
  EXPECT_EQ(pdh.PdhVbAddCounter(query, "\\Processor(0)\\% Processor Time", counter), 0);
  std::optional<double> reading;
  for (int sample = 0; sample < 6 && !reading; ++sample) {
    Status status = 0;
    Sleep(sample == 0 ? 0 : 250);
    pdh.PdhCollectQueryData(query);
    const double value = pdh.PdhVbGetDoubleCounterValue(counter, status);
    reading = UsableReading(value, status);
    EXPECT_TRUE(sample > 0 || !reading) << "a rate needs two samples";
  }
  EXPECT_TRUE(reading && *reading >= 0 && *reading <= 100) << reading.value_or(-1);
  EXPECT_EQ(pdh.PdhCloseQuery(query), 0);
}

TEST(CommandLine, ALookAlikeCharacterNeverBecomesADashOrASwitchLetter) {
  // A fullwidth dash and h, a hyphen, a fullwidth l and r; then plain switches.
  EXPECT_EQ(NarrowExactly(L"\uFF0D\uFF48 \u2010h -\uFF4C -\uFF52 -s -t60"), "__ _h -_ -_ -s -t60");
}

// A change that a handler makes for a message sent from another thread is
// mirrored at once, though no message of the loop's own follows it.
TEST(FrontEnd, AChangeMadeForAMessageSentFromAnotherThreadIsMirrored) {
  FrontEnd frontEnd;
  Form form("Form1");
  form.WindowClass = "QuellorTestForm";
  form.OnCloseRequest = [&] { form.Hide(); };
  frontEnd.Attach(form);
  form.Show();
  frontEnd.SyncAll();
  const HWND hwnd = reinterpret_cast<HWND>(form.Handle());
  ASSERT_TRUE(IsWindowVisible(hwnd));
  std::thread other([&] { SendMessageA(hwnd, WM_CLOSE, 0, 0); });
  for (const DWORD end = GetTickCount() + 300; static_cast<int>(end - GetTickCount()) > 0;
       Sleep(5)) {
    for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);)
      frontEnd.HandleMessage(message);
  }
  other.join();
  EXPECT_FALSE(form.Visible() || IsWindowVisible(hwnd));
  form.Unload();
}

}  // namespace
}  // namespace quellor::win32
