// Tests of the front end with real windows: a form's model is mirrored into
// native controls, only what changed is redrawn, the sync never feeds back
// into handlers, and the user's actions reach the models' hooks.
// First, so that the interfaces keep their names (see services.h).
#include "platform/win32/services.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "check.h"
#include "common/control_ids.h"
#include "platform/win32/front_end.h"
#include "platform/win32/units.h"

namespace quellor::win32 {
namespace {

enum : int { kFrame = 101, kLabel = 102, kShape = 103, kText = 104, kCheck = 105 };
enum : int { kOptionA = 106, kOptionB = 107, kCombo = 108, kOther = 109 };

struct TestForm : Form {
  TestForm() : Form("Form1", 1) {
    Caption = "Quellor";
    BackColor = Rgb(192, 255, 192);
    ClientWidth = 4830;
    ClientHeight = 3840;
    for (Control* c : std::initializer_list<Control*>{&Frame1, &Shape1, &Label5, &Text2, &Check1,
                                                      &OptionA, &OptionB, &Combo1, &Label2}) {
      Add(*c);
    }
    Add(Timer1);
    Frame1.Position = {120, 720, 4590, 3045};
    Frame1.SetCaption("Methods");
    Shape1.Container = &Frame1;
    Shape1.Position = {120, 720, 1095, 375};
    Label5.Container = &Frame1;
    Label5.Position = {120, 720, 1095, 375};
    Label5.SetCaption("100%");
    Label5.Border = true;
    Label5.Align = Alignment::Center;
    Label5.HasBackColor = true;
    Label5.BackColor = kBlack;
    Label5.SetForeColor(Rgb(255, 0, 0));
    Label5.ToolTip = "Processor usage";
    Text2.Container = &Frame1;
    Text2.Position = {3360, 480, 555, 285};
    Text2.SetText("2");
    Text2.TabStop = true;
    Text2.TabIndex = 1;
    Check1.Container = &Frame1;
    Check1.Position = {3000, 600, 1335, 375};
    Check1.SetCaption("Force close");
    Check1.TabStop = true;
    Check1.TabIndex = 2;
    Group = {&OptionA, &OptionB};
    for (OptionButton* o : Group) {
      o->Container = &Frame1;
      o->Group = &Group;
      o->TabStop = true;
    }
    OptionA.Position = {120, 1320, 1335, 255};
    OptionA.SetCaption("Timer");
    OptionA.TabIndex = 3;
    OptionB.Position = {1680, 1320, 1335, 255};
    OptionB.SetCaption("CPU");
    OptionB.TabIndex = 4;
    OptionA.SetDesignValue(true);
    Combo1.Position = {3120, 120, 1335, 315};
    Combo1.AddItem("Shutdown", 0);
    Combo1.AddItem("Restart", 1);
    Combo1.SetListIndex(0);
    Combo1.TabStop = true;
    Combo1.TabIndex = 0;
    Label2.Position = {120, 120, 800, 255};
    Label2.SetCaption("Other");
    Move(1500, 1200);

    Label5.OnMouseDown = [this](const MouseArgs& a) { Note("down " + std::to_string(a.button)); };
    Label5.OnMouseUp = [this](const MouseArgs& a) { Note("up " + std::to_string(a.button)); };
    Label5.OnClick = [this] { Note("click"); };
    Label5.OnDblClick = [this] { Note("dblclick"); };
    Check1.OnClick = [this] { Note("check " + std::to_string(Check1.Value())); };
    OptionA.OnClick = [this] { Note("optionA"); };
    OptionB.OnClick = [this] { Note("optionB"); };
    Combo1.OnClick = [this] { Note("combo " + std::to_string(Combo1.ListIndex())); };
    Text2.OnGotFocus = [this] { Note("text got focus"); };
    Text2.OnLostFocus = [this] { Note("text lost focus"); };
    Timer1.OnTimer = [this] { ++Ticks; };
    Timer1.SetEnabled(false);
    Frame1.OnMouseMove = [this](const MouseArgs& a) {
      Note("frame move " + std::to_string(a.button) + " " + std::to_string(int(a.x)) + " " +
           std::to_string(int(a.y)));
    };
    OnMouseMove = [this](const MouseArgs& a) { Note("form move " + std::to_string(a.button)); };
    OnCloseRequest = [this] { Note("close request"); };
  }
  void Note(std::string what) { Events.push_back(std::move(what)); }

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
  std::vector<std::string> Events;
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

std::string ClassOf(HWND hwnd) {
  char buffer[64] = {};
  GetClassNameA(hwnd, buffer, sizeof(buffer));
  return buffer;
}

LONG_PTR StyleOf(HWND hwnd) {
  return GetWindowLongPtrA(hwnd, GWL_STYLE);
}

RECT RectInParent(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

struct Fixture {
  Fixture() {
    frontEnd.Attach(form);
    form.Show();
    frontEnd.SyncAll();
    hwnd = reinterpret_cast<HWND>(form.Handle());
  }
  ~Fixture() { form.Unload(); }
  HWND Item(int id) const { return GetDlgItem(hwnd, id); }

  FrontEnd frontEnd;
  TestForm form;
  HWND hwnd = nullptr;
};

QUELLOR_TEST(LoadingAFormCreatesItsWindowBeforeTheLoadHandler) {
  FrontEnd frontEnd;
  TestForm form;
  frontEnd.Attach(form);
  CHECK(form.Host == &frontEnd);
  CHECK_EQ(form.Handle(), WindowHandle{0});
  form.Show();
  HWND hwnd = reinterpret_cast<HWND>(form.Handle());
  CHECK(IsWindow(hwnd));
  CHECK_EQ(ClassOf(hwnd), std::string(ids::kForm1Class));
  // Shown only by the sync.
  CHECK(!IsWindowVisible(hwnd));
  frontEnd.SyncAll();
  CHECK(IsWindowVisible(hwnd));
  CHECK((StyleOf(hwnd) & WS_POPUP) != 0);
  CHECK((StyleOf(hwnd) & WS_CAPTION) == 0);
  CHECK_EQ(TextOf(hwnd), std::string("Quellor"));
  form.Unload();
  CHECK(!IsWindow(hwnd));
  CHECK_EQ(form.Handle(), WindowHandle{0});
  frontEnd.SyncAll();
}

QUELLOR_TEST(ControlsAreCreatedByKindWithTheirIdsAndStyles) {
  Fixture f;
  CHECK_EQ(ClassOf(f.Item(kLabel)), std::string("Static"));
  CHECK((StyleOf(f.Item(kLabel)) & SS_NOTIFY) != 0);
  CHECK_EQ(StyleOf(f.Item(kLabel)) & SS_TYPEMASK, static_cast<LONG_PTR>(SS_CENTER));
  CHECK((StyleOf(f.Item(kLabel)) & WS_BORDER) != 0);
  CHECK_EQ(ClassOf(f.Item(kText)), std::string("Edit"));
  CHECK_EQ(ClassOf(f.Item(kCheck)), std::string("Button"));
  CHECK_EQ(StyleOf(f.Item(kCheck)) & BS_TYPEMASK, static_cast<LONG_PTR>(BS_CHECKBOX));
  CHECK_EQ(StyleOf(f.Item(kOptionA)) & BS_TYPEMASK, static_cast<LONG_PTR>(BS_RADIOBUTTON));
  CHECK_EQ(StyleOf(f.Item(kFrame)) & BS_TYPEMASK, static_cast<LONG_PTR>(BS_GROUPBOX));
  CHECK_EQ(ClassOf(f.Item(kCombo)), std::string("ComboBox"));
  CHECK_EQ(TextOf(f.Item(kLabel)), std::string("100%"));
  CHECK_EQ(TextOf(f.Item(kFrame)), std::string("Methods"));
  CHECK_EQ(TextOf(f.Item(kText)), std::string("2"));
  CHECK_EQ(SendMessageA(f.Item(kCombo), CB_GETCOUNT, 0, 0), 2);
  CHECK_EQ(SendMessageA(f.Item(kCombo), CB_GETCURSEL, 0, 0), 0);
  CHECK_EQ(SendMessageA(f.Item(kOptionA), BM_GETCHECK, 0, 0), BST_CHECKED);
  CHECK_EQ(SendMessageA(f.Item(kOptionB), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  CHECK(IsWindowVisible(f.Item(kShape)));
}

QUELLOR_TEST(LayoutFollowsTheTwipsAtTheWindowsResolution) {
  Fixture f;
  const unsigned dpi = WindowDpi(f.hwnd);
  RECT client{};
  GetClientRect(f.hwnd, &client);
  CHECK_EQ(client.right, static_cast<LONG>(TwipsToPixels(4830, dpi)));
  CHECK_EQ(client.bottom, static_cast<LONG>(TwipsToPixels(3840, dpi)));
  // Inside the frame: offset by the frame's origin.
  const RECT Label5 = RectInParent(f.Item(kLabel));
  CHECK_EQ(Label5.left, static_cast<LONG>(TwipsToPixels(240, dpi)));
  CHECK_EQ(Label5.top, static_cast<LONG>(TwipsToPixels(1440, dpi)));
  CHECK_EQ(Label5.right, static_cast<LONG>(TwipsToPixels(240 + 1095, dpi)));
  const RECT Combo1 = RectInParent(f.Item(kCombo));
  CHECK_EQ(Combo1.left, static_cast<LONG>(TwipsToPixels(3120, dpi)));
  // The form at its place on the screen, and its outer size reported back.
  RECT outer{};
  GetWindowRect(f.hwnd, &outer);
  CHECK_EQ(outer.left, static_cast<LONG>(TwipsToPixels(1500, SystemDpi())));
  CHECK_EQ(outer.top, static_cast<LONG>(TwipsToPixels(1200, SystemDpi())));
  CHECK_EQ(f.form.Height(), PixelsToTwips(outer.bottom - outer.top, SystemDpi()));
  CHECK_EQ(f.form.Width(), PixelsToTwips(outer.right - outer.left, SystemDpi()));
}

QUELLOR_TEST(ANewResolutionLaysTheFormOutAgain) {
  Fixture f;
  // As the system sends it when the window moves to a screen of 144 dpi.
  RECT suggested{30, 40, 30 + TwipsToPixels(4830, 144), 40 + TwipsToPixels(3840, 144)};
  SendMessageA(f.hwnd, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  RECT outer{};
  GetWindowRect(f.hwnd, &outer);
  CHECK_EQ(outer.left, 30L);
  CHECK_EQ(outer.right - outer.left, 483L);
  CHECK_EQ(outer.bottom - outer.top, 384L);
  const RECT label = RectInParent(f.Item(kLabel));
  CHECK_EQ(label.left, 24L);
  CHECK_EQ(label.top, 144L);
  CHECK_EQ(label.right, static_cast<LONG>(TwipsToPixels(240 + 1095, 144)));
  // Fonts follow: a 8.25 point font is 11 pixels at 96 dpi, 17 at 144.
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(f.Item(kOther), WM_GETFONT, 0, 0));
  LOGFONTA logical{};
  GetObjectA(font, sizeof(logical), &logical);
  CHECK_EQ(logical.lfHeight, -17L);
  CHECK_EQ(f.form.Left(), PixelsToTwips(30, SystemDpi()));
}

QUELLOR_TEST(OnlyChangedControlsAreUpdated) {
  Fixture f;
  // Native texts changed behind the model's back stay as long as the models
  // do not change: an idle sync touches nothing.
  SetWindowTextA(f.Item(kOther), "native");
  SetWindowTextA(f.Item(kLabel), "native");
  f.frontEnd.SyncAll();
  CHECK_EQ(TextOf(f.Item(kOther)), std::string("native"));
  f.form.Label5.SetCaption("7.50%");
  f.frontEnd.SyncAll();
  CHECK_EQ(TextOf(f.Item(kLabel)), std::string("7.50%"));
  CHECK_EQ(TextOf(f.Item(kOther)), std::string("native"));
}

QUELLOR_TEST(VisibleEnabledAndSunkenFollowTheModel) {
  Fixture f;
  f.form.Label2.SetVisible(false);
  f.form.Check1.SetEnabled(false);
  f.form.Label5.SetSunken(true);
  f.frontEnd.SyncAll();
  CHECK(!IsWindowVisible(f.Item(kOther)));
  CHECK(!IsWindowEnabled(f.Item(kCheck)));
  CHECK((GetWindowLongPtrA(f.Item(kLabel), GWL_EXSTYLE) & WS_EX_STATICEDGE) != 0);
  CHECK((StyleOf(f.Item(kLabel)) & WS_BORDER) == 0);
  f.form.Label5.SetSunken(false);
  f.form.Label2.SetVisible(true);
  f.frontEnd.SyncAll();
  CHECK(IsWindowVisible(f.Item(kOther)));
  CHECK((GetWindowLongPtrA(f.Item(kLabel), GWL_EXSTYLE) & WS_EX_STATICEDGE) == 0);
  CHECK((StyleOf(f.Item(kLabel)) & WS_BORDER) != 0);
  // A hidden frame hides what it holds.
  f.form.Frame1.SetVisible(false);
  f.frontEnd.SyncAll();
  CHECK(!IsWindowVisible(f.Item(kFrame)));
  CHECK(!IsWindowVisible(f.Item(kText)));
  CHECK(IsWindowVisible(f.Item(kCombo)));
  f.form.Frame1.SetVisible(true);
  f.frontEnd.SyncAll();
  CHECK(IsWindowVisible(f.Item(kText)));
  // The form itself.
  f.form.SetEnabled(false);
  f.frontEnd.SyncAll();
  CHECK(!IsWindowEnabled(f.hwnd));
  f.form.SetEnabled(true);
  f.form.Hide();
  f.frontEnd.SyncAll();
  CHECK(IsWindowEnabled(f.hwnd));
  CHECK(!IsWindowVisible(f.hwnd));
}

QUELLOR_TEST(ACheckBoxClickRunsTheHandlerOnceAndTheSyncNever) {
  Fixture f;
  SendMessageA(f.Item(kCheck), BM_CLICK, 0, 0);
  f.frontEnd.SyncAll();
  CHECK_EQ(f.form.Check1.Value(), 1);
  CHECK_EQ(SendMessageA(f.Item(kCheck), BM_GETCHECK, 0, 0), BST_CHECKED);
  CHECK_EQ(f.form.Events.size(), std::size_t{1});
  if (!f.form.Events.empty()) CHECK_EQ(f.form.Events[0], std::string("check 1"));
  // Set by the program: shown, and the native change runs nothing.
  f.form.Check1.SetDesignValue(0);
  f.frontEnd.SyncAll();
  Pump(f.frontEnd);
  CHECK_EQ(SendMessageA(f.Item(kCheck), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  CHECK_EQ(f.form.Events.size(), std::size_t{1});
  SendMessageA(f.Item(kCheck), BM_CLICK, 0, 0);
  CHECK_EQ(f.form.Check1.Value(), 1);
  SendMessageA(f.Item(kCheck), BM_CLICK, 0, 0);
  CHECK_EQ(f.form.Check1.Value(), 0);
}

QUELLOR_TEST(AnOptionClickSelectsItAndClearsTheGroup) {
  Fixture f;
  SendMessageA(f.Item(kOptionB), BM_CLICK, 0, 0);
  f.frontEnd.SyncAll();
  CHECK(f.form.OptionB.Value());
  CHECK(!f.form.OptionA.Value());
  CHECK_EQ(SendMessageA(f.Item(kOptionB), BM_GETCHECK, 0, 0), BST_CHECKED);
  CHECK_EQ(SendMessageA(f.Item(kOptionA), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  // Clicking the selected one again runs nothing.
  SendMessageA(f.Item(kOptionB), BM_CLICK, 0, 0);
  CHECK_EQ(f.form.Events.size(), std::size_t{1});
  if (!f.form.Events.empty()) CHECK_EQ(f.form.Events[0], std::string("optionB"));
}

QUELLOR_TEST(AComboSelectionReachesTheModel) {
  Fixture f;
  f.form.Combo1.SetListIndex(1);
  f.frontEnd.SyncAll();
  Pump(f.frontEnd);
  CHECK_EQ(SendMessageA(f.Item(kCombo), CB_GETCURSEL, 0, 0), 1);
  CHECK(f.form.Events.empty());
  // The user picks the first entry.
  SendMessageA(f.Item(kCombo), CB_SETCURSEL, 0, 0);
  SendMessageA(f.hwnd, WM_COMMAND, MAKEWPARAM(kCombo, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(f.Item(kCombo)));
  CHECK_EQ(f.form.Combo1.ListIndex(), 0);
  CHECK_EQ(f.form.Events.size(), std::size_t{1});
  // New items are shown.
  f.form.Combo1.AddItem("Log Off", 2);
  f.frontEnd.SyncAll();
  CHECK_EQ(SendMessageA(f.Item(kCombo), CB_GETCOUNT, 0, 0), 3);
  char item[32] = {};
  SendMessageA(f.Item(kCombo), CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(item));
  CHECK_EQ(std::string(item), std::string("Log Off"));
}

QUELLOR_TEST(TypingReachesTheModelAndTheProgramsTextReachesTheBox) {
  Fixture f;
  SetWindowTextA(f.Item(kText), "150");  // as typing does: EN_CHANGE
  CHECK_EQ(f.form.Text2.Text(), std::string("150"));
  f.frontEnd.SyncAll();
  CHECK_EQ(TextOf(f.Item(kText)), std::string("150"));
  f.form.Text2.SetText("100");
  f.form.Text2.SetSelection(0, 3);
  f.frontEnd.SyncAll();
  CHECK_EQ(TextOf(f.Item(kText)), std::string("100"));
  DWORD start = 0;
  DWORD end = 0;
  SendMessageA(f.Item(kText), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  CHECK_EQ(start, 0ul);
  CHECK_EQ(end, 3ul);
  // The program's text is not reported back as typed.
  CHECK_EQ(f.form.Text2.Text(), std::string("100"));
}

QUELLOR_TEST(LeavingTheBoxForAnotherControlRunsItsCheck) {
  Fixture f;
  SetForegroundWindow(f.hwnd);
  SetFocus(f.Item(kText));
  Pump(f.frontEnd);
  CHECK(GetFocus() == f.Item(kText));
  SetFocus(f.Item(kCheck));
  Pump(f.frontEnd);
  const std::vector<std::string> expected{"text got focus", "text lost focus"};
  CHECK(f.form.Events == expected);
  // Losing the focus to nothing of the form runs no Check1.
  SetFocus(f.Item(kText));
  f.form.Events.clear();
  SetFocus(nullptr);
  Pump(f.frontEnd);
  CHECK(f.form.Events.empty());
}

QUELLOR_TEST(ALabelPressGivesDownUpThenClick) {
  Fixture f;
  HWND label = f.Item(kLabel);
  PostMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Pump(f.frontEnd);
  const std::vector<std::string> expected{"down 1", "up 1", "click"};
  CHECK(f.form.Events == expected);
  // Released outside the label: no click, but the release still arrives.
  f.form.Events.clear();
  PostMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(-50, 5));
  Pump(f.frontEnd);
  const std::vector<std::string> outside{"down 1", "up 1"};
  CHECK(f.form.Events == outside);
  // The right button presses but does not click.
  f.form.Events.clear();
  PostMessageA(label, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  PostMessageA(label, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  Pump(f.frontEnd);
  const std::vector<std::string> right{"down 2", "up 2"};
  CHECK(f.form.Events == right);
  // A click notice without a press (keyboard or another program) clicks at once.
  f.form.Events.clear();
  SendMessageA(f.hwnd, WM_COMMAND, MAKEWPARAM(kLabel, STN_CLICKED),
               reinterpret_cast<LPARAM>(label));
  CHECK(f.form.Events == std::vector<std::string>{"click"});
}

QUELLOR_TEST(MouseMovesGoToTheFrameUnderThemOrTheForm) {
  Fixture f;
  const unsigned dpi = WindowDpi(f.hwnd);
  // Over the frame, where no control lies: relative to the frame.
  const int x = TwipsToPixels(120 + 2400, dpi);
  const int y = TwipsToPixels(720 + 2400, dpi);
  SendMessageA(f.hwnd, WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(x, y));
  CHECK_EQ(f.form.Events.size(), std::size_t{1});
  if (!f.form.Events.empty()) {
    const std::string expected = "frame move 3 " +
                                 std::to_string(int(PixelsToTwips(x, dpi) - 120)) + " " +
                                 std::to_string(int(PixelsToTwips(y, dpi) - 720));
    CHECK_EQ(f.form.Events[0], expected);
  }
  f.form.Events.clear();
  SendMessageA(f.hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(3, 3));
  CHECK(f.form.Events == std::vector<std::string>{"form move 1"});
}

QUELLOR_TEST(ToolTipsComeWithTheFirstMouseMove) {
  Fixture f;
  FormWindow* window = f.frontEnd.WindowOf(f.form);
  CHECK(window != nullptr);
  if (window == nullptr) return;
  CHECK(window->ToolTipWindow() == nullptr);
  PostMessageA(f.Item(kLabel), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  Pump(f.frontEnd);
  HWND tip = window->ToolTipWindow();
  CHECK(tip != nullptr);
  char text[64] = {};
  TOOLINFOA tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = f.hwnd;
  tool.uId = reinterpret_cast<UINT_PTR>(f.Item(kLabel));
  tool.lpszText = text;
  SendMessageA(tip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
  CHECK_EQ(std::string(text), std::string("Processor usage"));
  // Only controls with handlers of their own pass through the form.
  CHECK(GetWindowLongPtrA(f.Item(kOther), GWLP_USERDATA) == 0);
  CHECK(GetWindowLongPtrA(f.Item(kLabel), GWLP_USERDATA) != 0);
}

QUELLOR_TEST(TimersTickWhileEnabledOnly) {
  Fixture f;
  Pump(f.frontEnd, 200);
  CHECK_EQ(f.form.Ticks, 0);
  f.form.Timer1.SetEnabled(true);
  f.frontEnd.SyncAll();
  Pump(f.frontEnd, 400);
  CHECK(f.form.Ticks >= 2);
  f.form.Timer1.SetEnabled(false);
  f.frontEnd.SyncAll();
  const int ticks = f.form.Ticks;
  Pump(f.frontEnd, 200);
  CHECK_EQ(f.form.Ticks, ticks);
}

QUELLOR_TEST(MovesGoBothWays) {
  Fixture f;
  const unsigned dpi = SystemDpi();
  f.form.Move(3000, 2250);
  f.frontEnd.SyncAll();
  RECT outer{};
  GetWindowRect(f.hwnd, &outer);
  CHECK_EQ(outer.left, static_cast<LONG>(TwipsToPixels(3000, dpi)));
  CHECK_EQ(outer.top, static_cast<LONG>(TwipsToPixels(2250, dpi)));
  // Moved natively (as a drag does): the model learns where it is.
  SetWindowPos(f.hwnd, nullptr, 40, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  CHECK_EQ(f.form.Left(), PixelsToTwips(40, dpi));
  CHECK_EQ(f.form.Top(), PixelsToTwips(60, dpi));
  // And the sync does not move it back.
  f.form.Label5.SetCaption("x");
  f.frontEnd.SyncAll();
  GetWindowRect(f.hwnd, &outer);
  CHECK_EQ(outer.left, 40L);
}

QUELLOR_TEST(ACloseRequestGoesToTheForm) {
  Fixture f;
  SendMessageA(f.hwnd, WM_CLOSE, 0, 0);
  CHECK(IsWindow(f.hwnd));
  CHECK(f.form.Events == std::vector<std::string>{"close request"});
  // Without a handler the form unloads.
  f.form.OnCloseRequest = nullptr;
  SendMessageA(f.hwnd, WM_CLOSE, 0, 0);
  CHECK(!f.form.Loaded());
  CHECK(!IsWindow(f.hwnd));
}

QUELLOR_TEST(ColoursComeFromTheModels) {
  Fixture f;
  HDC dc = CreateCompatibleDC(nullptr);
  const auto brush = SendMessageA(f.hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                  reinterpret_cast<LPARAM>(f.Item(kLabel)));
  CHECK(brush != 0);
  CHECK_EQ(GetTextColor(dc), static_cast<COLORREF>(RGB(255, 0, 0)));
  CHECK_EQ(GetBkColor(dc), static_cast<COLORREF>(RGB(0, 0, 0)));
  // Without a colour of its own: the form's.
  SendMessageA(f.hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(f.Item(kOther)));
  CHECK_EQ(GetBkColor(dc), static_cast<COLORREF>(RGB(192, 255, 192)));
  // A text box keeps the system's window colour.
  SendMessageA(f.hwnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(f.Item(kText)));
  CHECK_EQ(GetBkColor(dc), GetSysColor(COLOR_WINDOW));
  DeleteDC(dc);
}

QUELLOR_TEST(TabMovesAlongTheTabOrder) {
  Fixture f;
  SetForegroundWindow(f.hwnd);
  SetFocus(f.Item(kCombo));
  FormWindow* window = f.frontEnd.WindowOf(f.form);
  CHECK(window != nullptr);
  if (window == nullptr) return;
  window->MoveFocus(false);
  CHECK(GetFocus() == f.Item(kText));
  window->MoveFocus(false);
  CHECK(GetFocus() == f.Item(kCheck));
  // The option group is one stop, at its selected button.
  window->MoveFocus(false);
  CHECK(GetFocus() == f.Item(kOptionA));
  window->MoveFocus(false);
  CHECK(GetFocus() == f.Item(kCombo));
  window->MoveFocus(true);
  CHECK(GetFocus() == f.Item(kOptionA));
  // The arrow keys move within the group and select.
  f.form.Events.clear();
  PostMessageA(f.Item(kOptionA), WM_KEYDOWN, VK_DOWN, 0);
  Pump(f.frontEnd);
  CHECK(GetFocus() == f.Item(kOptionB));
  CHECK(f.form.OptionB.Value());
  CHECK(!f.form.OptionA.Value());
  CHECK(f.form.Events == std::vector<std::string>{"optionB"});
  CHECK_EQ(SendMessageA(f.Item(kOptionB), BM_GETCHECK, 0, 0), BST_CHECKED);
  // Tab through the real loop.
  PostMessageA(f.Item(kOptionB), WM_KEYDOWN, VK_TAB, 0);
  Pump(f.frontEnd);
  CHECK(GetFocus() == f.Item(kCombo));
}

QUELLOR_TEST(TheDialogFrameFormHasItsTitleAndClientSize) {
  FrontEnd frontEnd;
  Form form("Form2", 2);
  form.Caption = "Quellor Help";
  form.Style = FormStyle::FixedDialog;
  form.ClientWidth = 3495;
  form.ClientHeight = 4695;
  frontEnd.Attach(form);
  form.Show();
  frontEnd.SyncAll();
  HWND hwnd = reinterpret_cast<HWND>(form.Handle());
  CHECK_EQ(ClassOf(hwnd), std::string(ids::kForm2Class));
  CHECK_EQ(TextOf(hwnd), std::string("Quellor Help"));
  CHECK((StyleOf(hwnd) & WS_CAPTION) == WS_CAPTION);
  CHECK((StyleOf(hwnd) & WS_THICKFRAME) == 0);
  RECT client{};
  GetClientRect(hwnd, &client);
  const unsigned dpi = WindowDpi(hwnd);
  CHECK_EQ(client.right, static_cast<LONG>(TwipsToPixels(3495, dpi)));
  CHECK_EQ(client.bottom, static_cast<LONG>(TwipsToPixels(4695, dpi)));
  // Never placed by the program: somewhere on the screen, and reported.
  CHECK(form.Left() > 0 && form.Top() > 0);
  CHECK(form.Height() > form.ClientHeight);
  form.Unload();
}

QUELLOR_TEST(MonitorQueriesUseScreenTwips) {
  struct NoLoop : EventLoop {
    [[noreturn]] void Run() override { ExitProcess(3); }
  } loop;
  Win32User32 user32(loop);
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const Rect area = user32.NearestWorkArea({1500, 1500, 4830, 3840});
  CHECK(area == PixelRectToTwips(work, SystemDpi()));
  CHECK(user32.IsOnAnyMonitor({1500, 1500, 4830, 3840}));
  CHECK(!user32.IsOnAnyMonitor({-200000, -200000, 4830, 3840}));
  // Far off every screen, the nearest work area is still a real one.
  CHECK(user32.NearestWorkArea({-200000, -200000, 4830, 3840}).width > 0);
}

}  // namespace
}  // namespace quellor::win32
