// A frame, painted by the program: the system's own frame would draw its
// caption in the system's text colour.
#include <algorithm>
#include <string>

#include "common/accessibility.h"
#include "common/layout.h"
#include "win32/front_end/native_control.h"
#include "win32/units.h"

namespace quellor::win32 {

namespace {

class NativeFrame : public NativeControl {
 public:
  using NativeControl::NativeControl;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_PAINT:
        Paint();
        return 0;
      case WM_ERASEBKGND:
        return 1;
      case WM_SETTEXT:
      case WM_ENABLE:
      case WM_UPDATEUISTATE: {
        // The class may draw itself here; the caption is drawn again.
        const LRESULT result = CallClass(message, wParam, lParam);
        InvalidateRect(hwnd_, nullptr, TRUE);
        return result;
      }
      default:
        return CallClass(message, wParam, lParam);
    }
  }

 private:
  void Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    RECT client{};
    GetClientRect(hwnd_, &client);
    const unsigned dpi = form_.Dpi();
    const Colors colors = ColorsOf(model_, form_.Model(), form_.HighContrastOn());
    const COLORREF back = NativeColor(colors.back);
    FillRect(dc, &client, form_.Gdi().BrushFor(back));
    HGDIOBJ oldFont = SelectObject(dc, form_.Gdi().FontFor(model_.TextFont, dpi));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    RECT edge = client;
    edge.top += metrics.tmHeight / 2;
    DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
    const std::string& caption = model_.Caption();
    if (!caption.empty()) {
      SIZE extent{};
      GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
      const int indent = std::max(1, MulDiv(6, static_cast<int>(dpi), 96));
      RECT text{client.left + indent, client.top,
                std::min(client.right - indent, client.left + 2 * indent + extent.cx),
                client.top + metrics.tmHeight};
      FillRect(dc, &text, form_.Gdi().BrushFor(back));
      text.left += indent / 2;
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(
          dc, EffectivelyEnabled(model_) ? NativeColor(colors.text) : GetSysColor(COLOR_GRAYTEXT));
      DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, oldFont);
    EndPaint(hwnd_, &paint);
  }
};

}  // namespace

std::unique_ptr<NativeControl> MakeNativeFrame(ControlHost& form, Control& model) {
  return std::make_unique<NativeFrame>(form, model);
}

}  // namespace quellor::win32
