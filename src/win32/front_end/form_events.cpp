// The native events of a form and its controls, handed to the core.
#include "win32/front_end/form_window.h"

#include "common/form_input.h"
#include "win32/front_end/mouse_keys.h"
#include "win32/units.h"

namespace quellor::win32 {

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
  RouteMouseMove(form_, MouseArgs{HeldButtons(keys), ShiftState(keys), PixelsToTwips(x, dpi_),
                                  PixelsToTwips(y, dpi_)});
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
  GdiCache::Fonts oldFonts = gdi_.TakeFonts();
  if (built_) Layout();
  oldFonts.clear();
  ReportPlacement();
  return 0;
}

void FormWindow::RelayMouse(const MSG& message) {
  if (!built_) return;
  if (!toolTips_.Tried() && message.message == WM_MOUSEMOVE) {
    toolTips_.CreateOnce(Hwnd(), controls_, dpi_);
  }
  toolTips_.Relay(message);
}

}  // namespace quellor::win32
