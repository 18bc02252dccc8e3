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

#include "win32/front_end/front_end.h"

namespace quellor::win32 {
namespace {

using platform::Status;

TEST(Registry, ReportsSizesTypesAndMissingOnesAsTheSystemDoes) {
  const char* const kKey = "Software\\QuellorWindowsTests\\Deep";
  const std::uint8_t text[] = {'a', 'b', 'c', 0}, minusOne[] = {0xff, 0xff, 0xff, 0xff};
  RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "Name", REG_SZ, text, 4);
  RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "Number", REG_DWORD, minusOne, 4);
  Win32Registry registry;
  platform::KeyHandle key = 0;
  ASSERT_EQ(registry.RegOpenKeyA(platform::kHkeyCurrentUser, kKey, key), 0);
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
    SCOPED_TRACE(std::string(row.name) + " into " + std::to_string(row.room) + " bytes");
    EXPECT_EQ(registry.RegQueryValueExA(key, row.name, type, row.room ? data : nullptr, size),
              row.status);
    EXPECT_EQ(type, row.type);
    EXPECT_EQ(size, row.size);
    if (row.status == 0 && row.room == 4) {
      EXPECT_EQ(0, std::memcmp(data, row.type == REG_SZ ? text : minusOne, 4));
    }
  }
  EXPECT_EQ(registry.RegCloseKey(key), 0);
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QuellorWindowsTests");
}

bool Usable(Status status) {
  return status == platform::kPdhCstatusValidData || status == platform::kPdhCstatusNewData;
}

TEST(Counters, TheFirstProcessorGivesAPercentageFromTheSecondSampleOn) {
  const char* overrides = std::getenv("WINEDLLOVERRIDES");
  const bool withoutLibrary = overrides != nullptr && std::strstr(overrides, ";pdh=") != nullptr;
  EXPECT_EQ(LoadLibraryExW(L"pdh.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32) == nullptr,
            withoutLibrary);
  Win32Pdh pdh;
  platform::QueryHandle query = 0;
  ASSERT_EQ(pdh.PdhOpenQuery(1, query), 0);
  platform::CounterHandle counter = 0;
  EXPECT_EQ(pdh.PdhVbAddCounter(query, "\\Processor(0)\\% Processor Time", counter), 0);
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
  EXPECT_EQ(pdh.PdhCloseQuery(query), 0);
}

TEST(CommandLine, ALookAlikeCharacterNeverBecomesADashOrASwitchLetter) {
  struct Case {
    std::wstring typed;
    std::string read;
  };
  const Case cases[] = {
      {.typed = L"\uFF0D\uFF48", .read = "__"},  // fullwidth dash and h
      {.typed = L"\u2010h", .read = "_h"},       // hyphen
      {.typed = L"-\uFF4C -\uFF52", .read = "-_ -_"},
      {.typed = L"-s -t60", .read = "-s -t60"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NarrowExactly(c.typed), c.read) << c.read;
  }
}

// A change that a handler makes for a message sent from another thread is
// mirrored at once, though no message of the loop's own follows it.
TEST(FrontEnd, AChangeMadeForAMessageSentFromAnotherThreadIsMirrored) {
  FrontEnd frontEnd;
  Form form("Form1");
  form.WindowClass = "QuellorTestForm";
  frontEnd.Attach(form);
  form.Show();
  frontEnd.SyncAll();
  const HWND hwnd = reinterpret_cast<HWND>(form.Handle());
  ASSERT_TRUE(IsWindowVisible(hwnd));
  form.OnCloseRequest = [&] { form.Hide(); };
  std::thread other([&] { SendMessageA(hwnd, WM_CLOSE, 0, 0); });
  for (const DWORD end = GetTickCount() + 300; static_cast<int>(end - GetTickCount()) > 0;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) frontEnd.HandleMessage(message);
    Sleep(5);
  }
  other.join();
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(IsWindowVisible(hwnd));
  form.Unload();
}

}  // namespace
}  // namespace quellor::win32
