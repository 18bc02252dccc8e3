// The colours of a form's background and of its controls.
#include "win32/front_end/form_window.h"

#include "common/layout.h"
#include "win32/units.h"

namespace quellor::win32 {

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
