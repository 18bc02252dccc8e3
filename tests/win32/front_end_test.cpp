// The front end with real windows: a change that a handler makes for a
// message sent from another thread is mirrored at once, though no message of
// the loop's own follows it to sync after.
// First, so that the interfaces keep their names (see services.h).
#include "platform/win32/services/services.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/win32/front_end/front_end.h"

namespace quellor::win32 {
namespace {

TEST(FrontEnd, AChangeMadeForAMessageSentFromAnotherThreadIsMirrored) {
  FrontEnd frontEnd;
  Form form("Form1");
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
