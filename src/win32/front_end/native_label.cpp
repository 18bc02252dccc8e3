// A label: text that the program sets, and for the labels that serve as
// buttons or links, the presses of the mouse handed to the core.
#include <windowsx.h>

#include "common/form_input.h"
#include "win32/front_end/mouse_keys.h"
#include "win32/front_end/native_control.h"
#include "win32/front_end/native_layout.h"
#include "win32/units.h"

namespace quellor::win32 {

namespace {

class NativeLabel : public NativeControl {
 public:
  NativeLabel(ControlHost& form, Label& model) : NativeControl(form, model), label_(model) {}

  void Notify(int code) override {
    if (code == STN_CLICKED && !form_.Syncing()) form_.Presses().Clicked(label_);
  }

 protected:
  void SyncKind() override {
    if (label_.Sunken() == sunken_) return;
    sunken_ = label_.Sunken();
    auto style = static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_STYLE));
    auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE));
    LabelBorderStyles(label_, style, exStyle);
    SetWindowLongPtrA(hwnd_, GWL_STYLE, static_cast<LONG_PTR>(style));
    SetWindowLongPtrA(hwnd_, GWL_EXSTYLE, static_cast<LONG_PTR>(exStyle));
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    InvalidateRect(hwnd_, nullptr, TRUE);
  }

  // Only labels that serve as buttons (or links) see the mouse first.
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (!label_.IsButton()) return CallClass(message, wParam, lParam);
    switch (message) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        return Down(kLeftButton, message, wParam, lParam);
      case WM_RBUTTONDOWN:
      case WM_RBUTTONDBLCLK:
        return Down(kRightButton, message, wParam, lParam);
      case WM_MBUTTONDOWN:
      case WM_MBUTTONDBLCLK:
        return Down(kMiddleButton, message, wParam, lParam);
      case WM_LBUTTONUP:
        return Up(kLeftButton, message, wParam, lParam);
      case WM_RBUTTONUP:
        return Up(kRightButton, message, wParam, lParam);
      case WM_MBUTTONUP:
        return Up(kMiddleButton, message, wParam, lParam);
      case WM_CAPTURECHANGED:
        if (!releasing_) form_.Presses().CaptureLost(label_);
        return CallClass(message, wParam, lParam);
      default:
        return CallClass(message, wParam, lParam);
    }
  }

 private:
  // From the label's outer corner, its border included, as the model
  // measures the label.
  MouseArgs Args(int button, WPARAM keys, LPARAM position) const {
    POINT at{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    RECT outer{};
    ClientToScreen(hwnd_, &at);
    GetWindowRect(hwnd_, &outer);
    return MouseArgs{button, ShiftState(keys), PixelsToTwips(at.x - outer.left, form_.Dpi()),
                     PixelsToTwips(at.y - outer.top, form_.Dpi())};
  }

  LRESULT Down(int button, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = hwnd_;
    const bool keepsMouse = form_.Presses().MouseDown(label_, Args(button, wParam, lParam));
    if (!IsWindow(hwnd)) return 0;
    if (keepsMouse) SetCapture(hwnd);
    return CallClass(message, wParam, lParam);
  }

  LRESULT Up(int button, UINT message, WPARAM wParam, LPARAM lParam) {
    const MouseArgs args = Args(button, wParam, lParam);
    if (GetCapture() == hwnd_) {
      releasing_ = true;
      ReleaseCapture();
      releasing_ = false;
    }
    const LRESULT result = CallClass(message, wParam, lParam);
    // The click, if this release makes one, may close the window: last.
    form_.Presses().MouseUp(label_, args);
    return result;
  }

  Label& label_;
  bool sunken_ = false;
  bool releasing_ = false;  // our own release of the mouse, not a lost press
};

}  // namespace

std::unique_ptr<NativeControl> MakeNativeLabel(ControlHost& form, Label& model) {
  return std::make_unique<NativeLabel>(form, model);
}

}  // namespace quellor::win32
