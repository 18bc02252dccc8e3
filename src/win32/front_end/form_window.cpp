#include "win32/front_end/form_window.h"

#include <algorithm>

#include "common/accessibility.h"
#include "common/layout.h"
#include "win32/front_end/native_layout.h"
#include "win32/units.h"

namespace quellor::win32 {

FormWindow::FormWindow(Form& form) : form_(form) {}

FormWindow::~FormWindow() {
  Close();
}

bool FormWindow::CreateNative() {
  const char* className = form_.WindowClass;
  if (!RegisterClassOnce(className, 0)) return false;
  HWND hwnd = Create(className, FormWindowExStyle(form_), FormWindowStyle(form_),
                     form_.Caption.c_str(), CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr);
  if (hwnd == nullptr) return false;
  dpi_ = WindowDpi(hwnd);
  form_.SetHandle(reinterpret_cast<WindowHandle>(hwnd));
  return true;
}

void FormWindow::Close() {
  toolTips_.Close();
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
  // A form nothing has placed opens on the monitor where the system put it.
  PlaceIfNeverPlaced(form_, MonitorWorkArea(MonitorFromWindow(Hwnd(), MONITOR_DEFAULTTONEAREST)));
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
  toolTips_.Layout(dpi_);
}

void FormWindow::ReportPlacement() {
  HWND form = Hwnd();
  // Before the program's first placement the window stands where the system
  // created it, which is no place of the program's.
  if (form == nullptr || !positioned_) return;
  RECT outer{};
  if (!GetWindowRect(form, &outer)) return;
  form_.ReportWindowRect(PixelRectToTwips(outer, SystemDpi()), IsIconic(form) != FALSE);
  // The window stands where the model now has it, or, minimised, will again.
  positionLeft_ = form_.Left();
  positionTop_ = form_.Top();
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

}  // namespace quellor::win32
