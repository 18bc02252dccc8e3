#include "win32/front_end/form_window.h"

#include <commctrl.h>

#include <algorithm>

#include "common/layout.h"
#include "win32/front_end/native_layout.h"
#include "win32/units.h"

namespace quellor::win32 {

namespace {

constexpr UINT_PTR kFirstTimerId = 1;
constexpr int kToolTipWidthTwips = 4800;

// The common controls library with its tool tips registered, at the first
// mouse move over a form with tips (the controls of the manifest's version 6
// may have loaded it already). False when it is missing.
bool LoadCommonControls() {
  static const bool kLoaded = [] {
    HMODULE library = LoadLibraryA("comctl32.dll");
    if (library == nullptr) return false;
    using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = reinterpret_cast<Init>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, "InitCommonControlsEx")));
    if (init == nullptr) return false;
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    return init(&controls) != FALSE;
  }();
  return kLoaded;
}

// The main screen's work area, in screen twips.
Rect MainWorkArea() {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return PixelRectToTwips(work, SystemDpi());
}

}  // namespace

FormWindow::FormWindow(Form& form) : form_(form) {}

FormWindow::~FormWindow() {
  Close();
}

bool FormWindow::CreateNative() {
  const char* className = FormClassName(form_);
  RegisterClassOnce(className, 0);
  HWND hwnd = Create(className, FormWindowExStyle(form_), FormWindowStyle(form_),
                     form_.Caption.c_str(), CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr);
  if (hwnd == nullptr) return false;
  dpi_ = WindowDpi(hwnd);
  form_.SetHandle(reinterpret_cast<WindowHandle>(hwnd));
  return true;
}

void FormWindow::Close() {
  if (toolTip_ != nullptr) {
    DestroyWindow(toolTip_);
    toolTip_ = nullptr;
  }
  Destroy();
}

HWND FormWindow::ControlWindow(const Control& control) const {
  for (const auto& native : controls_) {
    if (&native->Model() == &control) return native->Hwnd();
  }
  return nullptr;
}

NativeControl* FormWindow::Find(HWND hwnd) const {
  if (hwnd == nullptr) return nullptr;
  for (const auto& native : controls_) {
    if (native->Owns(hwnd)) return native.get();
  }
  return nullptr;
}

Control* FormWindow::ControlOf(HWND hwnd) const {
  NativeControl* native = Find(hwnd);
  return native != nullptr ? &native->Model() : nullptr;
}

// ---- Building, layout and placement ----

void FormWindow::Build() {
  built_ = true;
  SetWindowTextA(Hwnd(), form_.Caption.c_str());
  for (Control* control : form_.Controls()) {
    auto native = MakeNativeControl(*this, *control);
    if (native->Create(Hwnd())) controls_.push_back(std::move(native));
  }
  // Containers behind what they hold, later controls above earlier ones.
  HWND after = HWND_TOP;
  for (Control* control : StackingOrder(form_)) {
    HWND hwnd = ControlWindow(*control);
    if (hwnd == nullptr) continue;
    SetWindowPos(hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = hwnd;
  }
  Layout();
  PlaceIfNeverPlaced(form_, MainWorkArea());
}

void FormWindow::CreateToolTips() {
  toolTipsTried_ = true;
  const bool wanted = std::any_of(controls_.begin(), controls_.end(),
                                  [](const auto& n) { return !n->Model().ToolTip.empty(); });
  if (!wanted || !LoadCommonControls()) return;
  toolTip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(), nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  if (toolTip_ == nullptr) return;
  for (const auto& native : controls_) {
    if (native->Model().ToolTip.empty()) continue;
    // The loop passes the mouse messages on (RelayMouse), so that the
    // controls need no subclass of the tool tips' own.
    TOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = Hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(native->Hwnd());
    tool.lpszText = const_cast<char*>(native->Model().ToolTip.c_str());
    SendMessageA(toolTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  SendMessageA(toolTip_, TTM_SETMAXTIPWIDTH, 0, TwipsToPixels(kToolTipWidthTwips, dpi_));
}

void FormWindow::RelayMouse(const MSG& message) {
  if (!built_) return;
  if (!toolTipsTried_ && message.message == WM_MOUSEMOVE) CreateToolTips();
  if (toolTip_ != nullptr) {
    SendMessageA(toolTip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
  }
}

// The client area at the window's resolution, the frame around it, and the
// controls; the model learns the outer size.
void FormWindow::Layout() {
  HWND form = Hwnd();
  RECT outer{0, 0, TwipsToPixels(form_.ClientWidth, dpi_), TwipsToPixels(form_.ClientHeight, dpi_)};
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(form, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(form, GWL_EXSTYLE));
  using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto kAdjustForDpi = reinterpret_cast<AdjustForDpi>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleA("user32.dll"), "AdjustWindowRectExForDpi")));
  if (kAdjustForDpi != nullptr) {
    kAdjustForDpi(&outer, style, FALSE, exStyle, dpi_);
  } else {
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  }
  SetWindowPos(form, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const unsigned screenDpi = SystemDpi();
  form_.SetOuterSize(PixelsToTwips(outer.right - outer.left, screenDpi),
                     PixelsToTwips(outer.bottom - outer.top, screenDpi));
  for (const auto& native : controls_) native->Layout(dpi_);
  if (toolTip_ != nullptr) {
    SendMessageA(toolTip_, TTM_SETMAXTIPWIDTH, 0, TwipsToPixels(kToolTipWidthTwips, dpi_));
  }
}

void FormWindow::ReportPlacement() {
  HWND form = Hwnd();
  // Before the program's first placement the window stands where the system
  // created it, which is no place of the program's.
  if (form == nullptr || !positioned_ || IsIconic(form)) return;
  RECT outer{};
  if (!GetWindowRect(form, &outer)) return;
  const Rect twips = PixelRectToTwips(outer, SystemDpi());
  positionLeft_ = twips.left;
  positionTop_ = twips.top;
  form_.ReportPlacement(twips.left, twips.top);
  form_.SetOuterSize(twips.width, twips.height);
}

// ---- Bringing the windows in line with the models ----

bool FormWindow::OutOfDate() const {
  if (Hwnd() == nullptr) return false;
  if (!built_ || form_.Revision() != formRevision_) return true;
  if (std::any_of(controls_.begin(), controls_.end(),
                  [](const auto& native) { return native->OutOfDate(); })) {
    return true;
  }
  const std::vector<Timer*>& timers = form_.Timers();
  for (std::size_t i = 0; i < timers.size(); ++i) {
    const bool running = i < timersRunning_.size() && timersRunning_[i];
    if (timers[i]->Enabled() != running) return true;
  }
  return false;
}

bool FormWindow::Sync() {
  if (Hwnd() == nullptr) return false;
  bool changed = !built_;
  if (!built_) Build();
  syncing_ = true;
  for (const auto& native : controls_) {
    if (!native->OutOfDate()) continue;
    changed = true;
    native->Sync();
    if (native->Model().Kind() != ControlKind::Frame) continue;
    // What a frame holds shows and works only as the frame does.
    for (const auto& inner : controls_) {
      if (Depth(inner->Model()) > 0 && inner.get() != native.get()) {
        for (const Control* c = inner->Model().Container; c != nullptr; c = c->Container) {
          if (c == &native->Model()) inner->Sync();
        }
      }
    }
  }
  syncing_ = false;
  SyncTimers();
  if (form_.Revision() != formRevision_) {
    changed = true;
    ApplyForm();
  }
  return changed;
}

void FormWindow::ApplyForm() {
  HWND form = Hwnd();
  formRevision_ = form_.Revision();
  if (form_.Placed() &&
      (!positioned_ || form_.Left() != positionLeft_ || form_.Top() != positionTop_)) {
    positioned_ = true;
    const unsigned screenDpi = SystemDpi();
    SetWindowPos(form, nullptr, TwipsToPixels(form_.Left(), screenDpi),
                 TwipsToPixels(form_.Top(), screenDpi), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ReportPlacement();
  }
  const bool enabled = form_.Enabled();
  if ((IsWindowEnabled(form) != FALSE) != enabled) EnableWindow(form, enabled ? TRUE : FALSE);
  const bool visible = form_.Visible();
  if ((IsWindowVisible(form) != FALSE) != visible) {
    ShowWindow(form, visible ? SW_SHOW : SW_HIDE);
    if (visible && !shownOnce_) {
      shownOnce_ = true;
      if (GetActiveWindow() == form) SetFocusInside();
    }
  }
}

void FormWindow::SyncTimers() {
  const std::vector<Timer*>& timers = form_.Timers();
  timersRunning_.resize(timers.size(), false);
  lastTicks_.resize(timers.size(), 0);
  for (std::size_t i = 0; i < timers.size(); ++i) {
    const bool wanted = timers[i]->Enabled();
    if (wanted == timersRunning_[i]) continue;
    timersRunning_[i] = wanted;
    if (wanted) {
      lastTicks_[i] = GetTickCount64();
      SetTimer(Hwnd(), kFirstTimerId + i, timers[i]->Interval(), nullptr);
    } else {
      KillTimer(Hwnd(), kFirstTimerId + i);
    }
  }
}

// ---- Focus and keys ----

bool FormWindow::SetFocusInside() {
  Control* before = IsChild(Hwnd(), lastFocus_) ? ControlOf(lastFocus_) : nullptr;
  Control* target = FocusOnActivation(form_, before);
  HWND hwnd = target != nullptr ? ControlWindow(*target) : nullptr;
  if (hwnd == nullptr) return false;
  SetFocus(hwnd);
  return true;
}

bool FormWindow::NavigationKeyDown(NavigationKey key, bool shift, bool controlOrAlt) {
  const KeyOutcome outcome = KeyDown(form_, ControlOf(GetFocus()), key, shift, controlOrAlt);
  if (outcome.focus != nullptr) {
    if (HWND hwnd = ControlWindow(*outcome.focus)) SetFocus(hwnd);
  }
  return outcome.handled;
}

std::optional<LRESULT> FormWindow::OnActivate(bool active) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(Hwnd(), focus)) lastFocus_ = focus;
    return 0;
  }
  // With nothing to take the focus, the form keeps it (and its keys).
  if (!built_ || !SetFocusInside()) SetFocus(Hwnd());
  return 0;
}

std::optional<LRESULT> FormWindow::OnSetFocus() {
  if (built_) SetFocusInside();
  return 0;
}

// ---- Events ----

std::optional<LRESULT> FormWindow::OnCommand(int /*id*/, int code, HWND control) {
  NativeControl* native = Find(control);
  if (native == nullptr) return std::nullopt;
  native->Notify(code);
  return 0;
}

std::optional<LRESULT> FormWindow::OnTimer(UINT_PTR id) {
  const std::vector<Timer*>& timers = form_.Timers();
  if (id < kFirstTimerId || id - kFirstTimerId >= timers.size()) return std::nullopt;
  Timer& timer = *timers[id - kFirstTimerId];
  // The message itself cannot tell the system's timer from a message another
  // program posted, so its time does: only one that comes when the timer is
  // due counts.
  ULONGLONG& last = lastTicks_[id - kFirstTimerId];
  const ULONGLONG now = GetTickCount64();
  if (!IsTimerTick(last, now, timer.Interval())) return 0;
  last = now;
  if (timer.Enabled() && timer.OnTimer) timer.OnTimer();
  return 0;
}

std::optional<LRESULT> FormWindow::OnMouseMove(WPARAM keys, int x, int y) {
  const auto flags = static_cast<unsigned>(keys);
  RouteMouseMove(form_, MouseArgs{HeldButtons(flags), ShiftState(flags, GetKeyState(VK_MENU) < 0),
                                  PixelsToTwips(x, dpi_), PixelsToTwips(y, dpi_)});
  return 0;
}

std::optional<LRESULT> FormWindow::OnClose() {
  form_.CloseRequested();
  return 0;
}

std::optional<LRESULT> FormWindow::OnEndSession(bool ending) {
  if (ending) form_.CloseRequested();
  return 0;
}

std::optional<LRESULT> FormWindow::OnWindowPosChanged() {
  ReportPlacement();
  return 0;
}

std::optional<LRESULT> FormWindow::OnDpiChanged() {
  // The window's resolution as the system gives it; the window keeps its
  // place, and the layout gives it the size for the new resolution.
  const unsigned dpi = WindowDpi(Hwnd());
  if (dpi == dpi_) return 0;
  dpi_ = dpi;
  // The controls keep their fonts until they have the new ones.
  auto oldFonts = gdi_.TakeFonts();
  if (built_) Layout();
  for (auto& [key, font] : oldFonts) DeleteObject(font);
  ReportPlacement();
  return 0;
}

std::optional<LRESULT> FormWindow::OnEraseBackground(HDC dc) {
  RECT client{};
  GetClientRect(Hwnd(), &client);
  FillRect(dc, &client, gdi_.BrushFor(NativeColor(form_.BackColor)));
  return 1;
}

std::optional<LRESULT> FormWindow::OnControlColor(UINT /*message*/, HDC dc, HWND control) {
  NativeControl* native = Find(control);
  if (native == nullptr) return std::nullopt;
  const Control& model = native->Model();
  SetTextColor(dc, NativeColor(model.ForeColor()));
  if (UsesSystemBackground(model)) {
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  }
  const COLORREF back = NativeColor(BackColorOf(model, form_));
  SetBkColor(dc, back);
  return reinterpret_cast<LRESULT>(gdi_.BrushFor(back));
}

}  // namespace quellor::win32
