// The front end with real windows: a form's models are mirrored into native
// controls, the program's own changes never come back as the user's, and the
// user's actions reach the core whichever way their messages arrive.
// First, so that the interfaces keep their names (see services.h).
#include "platform/win32/services/services.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "common/control_ids.h"
#include "platform/win32/front_end/front_end.h"
#include "platform/win32/units.h"

namespace quellor::win32 {
namespace {

using Events = std::vector<std::string>;

enum : int { kFrame = 101, kLabel = 102, kShape = 103, kText = 104, kCheck = 105 };
enum : int { kOptionA = 106, kOptionB = 107, kCombo = 108, kOther = 109 };

struct TestForm : Form {
  TestForm() : Form("Form1") {
    Caption = "Quellor";
    BackColor = Rgb(192, 255, 192);
    ClientWidth = 4830;
    ClientHeight = 3840;
    for (Control* c : std::initializer_list<Control*>{&Frame1, &Shape1, &Label5, &Text2, &Check1,
                                                      &OptionA, &OptionB, &Combo1, &Label2}) {
      Add(*c);
    }
    Add(Timer1);
    Place(Frame1, nullptr, {120, 720, 4590, 3045});
    Frame1.SetCaption("Methods");
    Place(Shape1, &Frame1, {120, 720, 1095, 375});
    Place(Label5, &Frame1, {120, 720, 1095, 375});
    Label5.SetCaption("100%");
    Label5.Border = true;
    Label5.HasBackColor = true;
    Label5.BackColor = kBlack;
    Label5.SetForeColor(Rgb(255, 0, 0));
    Label5.ToolTip = "Processor usage";
    Place(Text2, &Frame1, {3360, 480, 555, 285});
    Text2.SetText("2");
    Place(Check1, &Frame1, {3000, 600, 1335, 375});
    Check1.SetCaption("Force close");
    Group = {&OptionA, &OptionB};
    Place(OptionA, &Frame1, {120, 1320, 1335, 255});
    Place(OptionB, &Frame1, {1680, 1320, 1335, 255});
    for (OptionButton* o : Group) o->Group = &Group;
    OptionA.SetDesignValue(true);
    Place(Combo1, nullptr, {3120, 120, 1335, 315});
    Combo1.AddItem("Shutdown", 0);
    Combo1.AddItem("Restart", 1);
    Combo1.SetListIndex(0);
    Place(Label2, nullptr, {120, 120, 800, 255});
    Label2.SetCaption("Other");
    int tabIndex = 0;
    for (Control* c :
         std::initializer_list<Control*>{&Combo1, &Text2, &Check1, &OptionA, &OptionB}) {
      c->TabStop = true;
      c->TabIndex = tabIndex++;
    }
    Move(1500, 1200);

    Label5.OnMouseDown = [this](const MouseArgs& a) { Note("down " + std::to_string(a.button)); };
    Label5.OnMouseUp = [this](const MouseArgs& a) { Note("up " + std::to_string(a.button)); };
    Label5.OnClick = [this] { Note("click"); };
    Check1.OnClick = [this] { Note("check " + std::to_string(Check1.Value())); };
    OptionB.OnClick = [this] { Note("optionB"); };
    Text2.OnGotFocus = [this] { Note("text got focus"); };
    Text2.OnLostFocus = [this] { Note("text lost focus"); };
    Timer1.OnTimer = [this] { ++Ticks; };
    Timer1.SetEnabled(false);
    Frame1.OnMouseMove = [this](const MouseArgs& a) {
      Note("frame " + std::to_string(a.button) + " " + std::to_string(int(a.x)));
    };
    OnMouseMove = [this](const MouseArgs& a) { Note("form " + std::to_string(a.button)); };
    OnCloseRequest = [this] { Note("close request"); };
  }
  void Note(std::string what) { Log.push_back(std::move(what)); }

  Frame Frame1{"Frame1", kFrame};
  Shape Shape1{"Shape1", kShape};
  Label Label5{"Label5", kLabel};
  TextBox Text2{"Text2", kText};
  CheckBox Check1{"Check1", kCheck};
  OptionButton OptionA{"Option1", kOptionA};
  OptionButton OptionB{"Option2", kOptionB};
  ComboBox Combo1{"Combo1", kCombo};
  Label Label2{"Label2", kOther};
  Timer Timer1{50};
  std::vector<OptionButton*> Group;
  Events Log;
  int Ticks = 0;
};

// Handles what is queued (and what comes within `ms`) as the program's loop does.
void Pump(FrontEnd& frontEnd, DWORD ms = 0) {
  const DWORD end = GetTickCount() + ms;
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) frontEnd.HandleMessage(message);
    if (ms > 0) Sleep(5);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

std::string TextOf(HWND hwnd) {
  char buffer[256] = {};
  GetWindowTextA(hwnd, buffer, sizeof(buffer));
  return buffer;
}

LONG_PTR StyleOf(HWND hwnd, int which = GWL_STYLE) {
  return GetWindowLongPtrA(hwnd, which);
}

RECT RectInParent(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

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
  LRESULT Check(int id) const { return SendMessageA(Item(id), BM_GETCHECK, 0, 0); }

  FrontEnd frontEnd;
  TestForm form;
  HWND hwnd = nullptr;
};

TEST_F(FrontEndTest, ControlsMirrorTheirModelsInPlaceAtTheWindowsResolution) {
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(StyleOf(hwnd) & WS_CAPTION, 0);
  EXPECT_EQ(TextOf(Item(kLabel)), "100%");
  EXPECT_EQ(TextOf(Item(kFrame)), "Methods");
  EXPECT_EQ(TextOf(Item(kText)), "2");
  EXPECT_EQ(SendMessageA(Item(kCombo), CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(Item(kCombo), CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(Check(kOptionA), BST_CHECKED);
  EXPECT_EQ(Check(kOptionB), BST_UNCHECKED);
  const unsigned dpi = WindowDpi(hwnd);
  RECT client{};
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, TwipsToPixels(4830, dpi));
  EXPECT_EQ(client.bottom, TwipsToPixels(3840, dpi));
  const RECT label = RectInParent(Item(kLabel));  // offset by its frame
  EXPECT_EQ(label.left, TwipsToPixels(240, dpi));
  EXPECT_EQ(label.top, TwipsToPixels(1440, dpi));
  RECT outer{};
  GetWindowRect(hwnd, &outer);
  EXPECT_EQ(outer.left, TwipsToPixels(1500, SystemDpi()));
  EXPECT_EQ(outer.top, TwipsToPixels(1200, SystemDpi()));
  EXPECT_EQ(form.Height(), PixelsToTwips(outer.bottom - outer.top, SystemDpi()));
}

TEST_F(FrontEndTest, OnlyWhatChangedIsAppliedAndTheProgramsChangesRunNoHandler) {
  SetWindowTextA(Item(kOther), "native");
  form.Label5.SetCaption("7.50%");
  form.Check1.SetDesignValue(1);
  form.Combo1.SetListIndex(1);
  form.Text2.SetText("100");
  form.Text2.SetSelection(0, 3);
  frontEnd.SyncAll();
  Pump(frontEnd);
  EXPECT_EQ(TextOf(Item(kOther)), "native");
  EXPECT_EQ(TextOf(Item(kLabel)), "7.50%");
  EXPECT_EQ(Check(kCheck), BST_CHECKED);
  EXPECT_EQ(SendMessageA(Item(kCombo), CB_GETCURSEL, 0, 0), 1);
  DWORD start = 9, end = 9;
  SendMessageA(Item(kText), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 3u);
  EXPECT_EQ(form.Log, Events{});
}

TEST_F(FrontEndTest, VisibleEnabledAndSunkenFollowTheModelAndTheirContainers) {
  form.Label2.SetVisible(false);
  form.Check1.SetEnabled(false);
  form.Label5.SetSunken(true);
  frontEnd.SyncAll();
  EXPECT_FALSE(IsWindowVisible(Item(kOther)));
  EXPECT_FALSE(IsWindowEnabled(Item(kCheck)));
  EXPECT_NE(StyleOf(Item(kLabel), GWL_EXSTYLE) & WS_EX_STATICEDGE, 0);
  EXPECT_EQ(StyleOf(Item(kLabel)) & WS_BORDER, 0);
  form.Label5.SetSunken(false);
  form.Frame1.SetVisible(false);
  frontEnd.SyncAll();
  EXPECT_EQ(StyleOf(Item(kLabel), GWL_EXSTYLE) & WS_EX_STATICEDGE, 0);
  EXPECT_NE(StyleOf(Item(kLabel)) & WS_BORDER, 0);
  EXPECT_FALSE(IsWindowVisible(Item(kText)));
  EXPECT_TRUE(IsWindowVisible(Item(kCombo)));
  form.SetEnabled(false);
  form.Hide();
  frontEnd.SyncAll();
  EXPECT_FALSE(IsWindowEnabled(hwnd));
  EXPECT_FALSE(IsWindowVisible(hwnd));
}

TEST_F(FrontEndTest, ClicksTypingAndSelectionsReachTheModels) {
  SendMessageA(Item(kCheck), BM_CLICK, 0, 0);
  SendMessageA(Item(kOptionB), BM_CLICK, 0, 0);
  SendMessageA(Item(kOptionB), BM_CLICK, 0, 0);  // selected already: runs nothing
  SetWindowTextA(Item(kText), "150");            // as typing does: EN_CHANGE
  SendMessageA(Item(kCombo), CB_SETCURSEL, 1, 0);
  SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(kCombo, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(Item(kCombo)));
  frontEnd.SyncAll();
  EXPECT_EQ(form.Log, (Events{"check 1", "optionB"}));
  EXPECT_EQ(form.Check1.Value(), 1);
  EXPECT_EQ(Check(kCheck), BST_CHECKED);
  EXPECT_TRUE(form.OptionB.Value() && !form.OptionA.Value());
  EXPECT_EQ(Check(kOptionA), BST_UNCHECKED);
  EXPECT_EQ(form.Text2.Text(), "150");
  EXPECT_EQ(form.Combo1.ListIndex(), 1);
}

TEST_F(FrontEndTest, LeavingTheBoxForAnotherControlOfTheFormRunsItsCheck) {
  SetForegroundWindow(hwnd);
  SetFocus(Item(kText));
  SetFocus(Item(kCheck));
  SetFocus(Item(kText));
  SetFocus(nullptr);  // to no control of the form: no check
  Pump(frontEnd);
  EXPECT_EQ(form.Log, (Events{"text got focus", "text lost focus", "text got focus"}));
}

TEST_F(FrontEndTest, ALabelClicksAfterItsReleaseAndOnlyForTheLeftButtonOverIt) {
  const HWND label = Item(kLabel);
  const struct {
    UINT down, up;
    WPARAM held;
    int releaseX;
    Events log;
  } kRows[] = {
      {WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, 5, {"down 1", "up 1", "click"}},
      {WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, -50, {"down 1", "up 1"}},
      {WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, 5, {"down 2", "up 2"}},
  };
  for (const auto& row : kRows) {
    form.Log.clear();
    PostMessageA(label, row.down, row.held, MAKELPARAM(5, 5));
    PostMessageA(label, row.up, 0, MAKELPARAM(row.releaseX, 5));
    Pump(frontEnd);
    EXPECT_EQ(form.Log, row.log) << "released at x " << row.releaseX;
  }
  form.Log.clear();
  SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(kLabel, STN_CLICKED), reinterpret_cast<LPARAM>(label));
  EXPECT_EQ(form.Log, Events{"click"});  // not from the mouse: at once
}

TEST_F(FrontEndTest, MouseMovesKeysAndTimersGoToTheCore) {
  const unsigned dpi = WindowDpi(hwnd);
  const int x = TwipsToPixels(120 + 2400, dpi);
  SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON,
               MAKELPARAM(x, TwipsToPixels(720 + 2400, dpi)));
  SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_EQ(form.Log,
            (Events{"frame 3 " + std::to_string(int(PixelsToTwips(x, dpi) - 120)), "form 1"}));
  form.Log.clear();
  SetForegroundWindow(hwnd);
  SetFocus(Item(kCombo));
  for (HWND at : {Item(kCombo), Item(kText), Item(kCheck)}) PostMessageA(at, WM_KEYDOWN, VK_TAB, 0);
  Pump(frontEnd);
  EXPECT_EQ(GetFocus(), Item(kOptionA));  // the group is one stop, at its selected button
  PostMessageA(Item(kOptionA), WM_KEYDOWN, VK_DOWN, 0);
  Pump(frontEnd);
  EXPECT_EQ(GetFocus(), Item(kOptionB));
  EXPECT_EQ(Check(kOptionB), BST_CHECKED);
  form.Timer1.SetEnabled(true);
  frontEnd.SyncAll();
  Pump(frontEnd, 400);
  form.Timer1.SetEnabled(false);
  frontEnd.SyncAll();
  const int ticks = form.Ticks;
  Pump(frontEnd, 200);
  EXPECT_GE(ticks, 2);
  EXPECT_EQ(form.Ticks, ticks);
}

TEST_F(FrontEndTest, MovesGoBothWaysAndCloseRequestsGoToTheForm) {
  const unsigned dpi = SystemDpi();
  form.Move(0, 0);  // the screen's corner is a place like any other
  frontEnd.SyncAll();
  RECT outer{};
  GetWindowRect(hwnd, &outer);
  EXPECT_EQ(outer.left, 0);
  EXPECT_EQ(outer.top, 0);
  SetWindowPos(hwnd, nullptr, 40, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(form.Left(), PixelsToTwips(40, dpi));
  EXPECT_EQ(form.Top(), PixelsToTwips(60, dpi));
  SendMessageA(hwnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(form.Log, Events{"close request"});
}

TEST_F(FrontEndTest, ChangesMadeByAMessageSentFromElsewhereAreMirroredToo) {
  form.OnCloseRequest = [this] { form.Hide(); };
  std::thread other([this] { SendMessageA(hwnd, WM_CLOSE, 0, 0); });
  Pump(frontEnd, 300);
  other.join();
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(IsWindowVisible(hwnd));
}

TEST_F(FrontEndTest, ColoursAndToolTipsComeFromTheModels) {
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_NE(SendMessageA(hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(Item(kLabel))),
            0);
  EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
  EXPECT_EQ(GetBkColor(dc), RGB(0, 0, 0));
  SendMessageA(hwnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(Item(kText)));
  EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_WINDOW));
  DeleteDC(dc);
  FormWindow* window = frontEnd.WindowOf(form);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->ToolTipWindow(), nullptr);
  PostMessageA(Item(kLabel), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  Pump(frontEnd);
  ASSERT_NE(window->ToolTipWindow(), nullptr);
  char text[64] = {};
  TOOLINFOA tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = hwnd;
  tool.uId = reinterpret_cast<UINT_PTR>(Item(kLabel));
  tool.lpszText = text;
  SendMessageA(window->ToolTipWindow(), TTM_GETTEXTA, sizeof(text),
               reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(text, "Processor usage");
}

TEST(FrontEnd, AWindowNothingPlacedOpensCentredWithItsTitleAndClientSize) {
  FrontEnd frontEnd;
  Form form("Form2");
  form.Caption = "Quellor Help";
  form.Style = FormStyle::FixedDialog;
  form.ClientWidth = 3495;
  form.ClientHeight = 4695;
  frontEnd.Attach(form);
  form.Show();
  frontEnd.SyncAll();
  const HWND hwnd = reinterpret_cast<HWND>(form.Handle());
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof(name));
  EXPECT_STREQ(name, ids::kForm2Class);
  EXPECT_EQ(TextOf(hwnd), "Quellor Help");
  EXPECT_EQ(StyleOf(hwnd) & WS_CAPTION, WS_CAPTION);
  RECT client{}, outer{}, work{};
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.bottom, TwipsToPixels(4695, WindowDpi(hwnd)));
  GetWindowRect(hwnd, &outer);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR(outer.left - work.left, work.right - outer.right, 2);
  EXPECT_NEAR(outer.top - work.top, work.bottom - outer.bottom, 2);
  form.Unload();
  EXPECT_FALSE(IsWindow(hwnd));
}

}  // namespace
}  // namespace quellor::win32
