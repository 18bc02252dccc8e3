// The colours of a form's background and of its controls, in the design's or
// in high contrast the system's.
#include "win32/front_end/form_window.h"

#include "common/accessibility.h"
#include "win32/units.h"

namespace quellor::win32 {

std::optional<LRESULT> FormWindow::OnEraseBackground(HDC dc) {
  RECT client{};
  GetClientRect(Hwnd(), &client);
  FillRect(dc, &client, gdi_.BrushFor(NativeColor(FormBackColor(form_, highContrast_))));
  return 1;
}

std::optional<LRESULT> FormWindow::OnControlColor(UINT /*message*/, HDC dc, HWND control) {
  NativeControl* native = Find(control);
  if (native == nullptr) return std::nullopt;
  const Colors colors = ColorsOf(native->Model(), form_, highContrast_);
  SetTextColor(dc, NativeColor(colors.text));
  const COLORREF back = NativeColor(colors.back);
  SetBkColor(dc, back);
  return reinterpret_cast<LRESULT>(gdi_.BrushFor(back));
}

// High contrast turned on or off, or the system's colours changed: drawn
// again in the colours that now hold.
std::optional<LRESULT> FormWindow::OnMessage(UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/) {
  if (message != WM_SETTINGCHANGE && message != WM_SYSCOLORCHANGE) return std::nullopt;
  highContrast_ = HighContrast();
  for (const auto& native : controls_) SendMessageA(native->Hwnd(), WM_SYSCOLORCHANGE, 0, 0);
  RedrawWindow(Hwnd(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  return std::nullopt;
}

}  // namespace quellor::win32
