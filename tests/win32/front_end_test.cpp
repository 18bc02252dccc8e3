// The front end with real windows: the program's own changes reach the
// native controls without coming back as the user's, and a change that a
// handler makes for a message sent from another thread is mirrored too
// (no timer here gives the loop another message to sync after).
// First, so that the interfaces keep their names (see services.h).
#include "platform/win32/services/services.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/win32/front_end/front_end.h"

namespace quellor::win32 {
namespace {

enum : int { kLabel = 101, kText = 102, kCheck = 103, kCombo = 104, kOther = 105 };

struct TestForm : Form {
  TestForm() : Form("Form1") {
    ClientWidth = 3000;
    ClientHeight = 3000;
    for (Control* c : std::initializer_list<Control*>{&Label5, &Text2, &Check1, &Combo1, &Label2}) {
      Add(*c);
      Place(*c, nullptr, {120, 120 + 480.0f * static_cast<float>(Controls().size()), 1335, 315});
    }
    Combo1.AddItem("Shutdown", 0);
    Combo1.AddItem("Restart", 1);
    Combo1.SetListIndex(0);
    Label5.OnClick = [this] { Log.emplace_back("label click"); };
    Check1.OnClick = [this] { Log.emplace_back("check click"); };
  }

  Label Label5{"Label5", kLabel};
  TextBox Text2{"Text2", kText};
  CheckBox Check1{"Check1", kCheck};
  ComboBox Combo1{"Combo1", kCombo};
  Label Label2{"Label2", kOther};
  std::vector<std::string> Log;
};

class FrontEndTest : public ::testing::Test {
 protected:
  FrontEndTest() {
    frontEnd.Attach(form);
    form.Show();
    frontEnd.SyncAll();
    hwnd = reinterpret_cast<HWND>(form.Handle());
  }
  ~FrontEndTest() override { form.Unload(); }
  HWND Item(int id) const { return GetDlgItem(hwnd, id); }
  // Handles what is queued and what comes within `ms`, as the program's loop.
  void Pump(DWORD ms) {
    for (const DWORD end = GetTickCount() + ms; static_cast<int>(end - GetTickCount()) > 0;) {
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) frontEnd.HandleMessage(message);
      Sleep(5);
    }
  }

  FrontEnd frontEnd;
  TestForm form;
  HWND hwnd = nullptr;
};

TEST_F(FrontEndTest, OnlyWhatChangedIsAppliedAndTheProgramsChangesRunNoHandler) {
  SetWindowTextA(Item(kOther), "native");
  form.Label5.SetCaption("7.50%");
  form.Check1.SetDesignValue(1);
  form.Combo1.SetListIndex(1);
  form.Text2.SetText("100");
  form.Text2.SetSelection(0, 2);
  frontEnd.SyncAll();
  Pump(100);
  char text[32] = {};
  GetWindowTextA(Item(kOther), text, sizeof text);
  EXPECT_STREQ(text, "native");
  GetWindowTextA(Item(kLabel), text, sizeof text);
  EXPECT_STREQ(text, "7.50%");
  EXPECT_EQ(SendMessageA(Item(kCheck), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(Item(kCombo), CB_GETCURSEL, 0, 0), 1);
  DWORD start = 9, end = 9;
  SendMessageA(Item(kText), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 2u);
  EXPECT_EQ(form.Log, std::vector<std::string>{});
}

TEST_F(FrontEndTest, AChangeMadeForAMessageSentFromAnotherThreadIsMirrored) {
  form.OnCloseRequest = [this] { form.Hide(); };
  std::thread other([this] { SendMessageA(hwnd, WM_CLOSE, 0, 0); });
  Pump(300);
  other.join();
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(IsWindowVisible(hwnd));
}

}  // namespace
}  // namespace quellor::win32
