#include "win32/front_end/native_control.h"

#include "common/accessibility.h"
#include "common/layout.h"
#include "win32/front_end/accessible.h"
#include "win32/front_end/native_layout.h"
#include "win32/services/system_library.h"
#include "win32/units.h"

namespace quellor::win32 {

namespace {

// How much room the open list of a drop-down list gets, in face heights.
constexpr int kDropDownRows = 8;

bool HasText(const Control& control) {
  return control.Kind() != ControlKind::Shape && control.Kind() != ControlKind::ComboBox;
}

// The classic look draws in the control's own colours; the themed one would
// draw frames, check boxes, option buttons and coloured lists in the theme's.
bool WantsClassicLook(const Control& control) {
  switch (control.Kind()) {
    case ControlKind::Frame:
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
      return true;
    case ControlKind::ComboBox:
      return control.HasBackColor;
    default:
      return false;
  }
}

}  // namespace

bool NativeControl::Create(HWND parent) {
  const NativeKind kind = KindOf(model_);
  hwnd_ = CreateWindowExA(kind.exStyle, kind.className, "", kind.style, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(model_.Id())),
                          GetModuleHandleA(nullptr), nullptr);
  if (hwnd_ == nullptr) return false;
  if (WantsClassicLook(model_)) SetSystemWindowTheme(hwnd_, L"", L"");
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  classProcedure_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NativeControl::Procedure)));
  return true;
}

void NativeControl::Layout(unsigned dpi) {
  const RECT r = TwipsToPixelRect(PositionInForm(model_), dpi);
  int height = r.bottom - r.top;
  if (model_.Kind() == ControlKind::ComboBox) height *= kDropDownRows;
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (model_.Kind() != ControlKind::Shape) {
    SendMessageA(hwnd_, WM_SETFONT,
                 reinterpret_cast<WPARAM>(form_.Gdi().FontFor(model_.TextFont, dpi)), TRUE);
  }
}

bool NativeControl::OutOfDate() const {
  return shown_ != RevisionWithContainers(model_);
}

void NativeControl::Sync() {
  shown_ = RevisionWithContainers(model_);
  if (HasText(model_) && model_.Caption() != caption_) {
    caption_ = model_.Caption();
    SetWindowTextA(hwnd_, caption_.c_str());
    NotifyTextChanged(hwnd_);
  }
  if (model_.ForeColor() != foreColor_) {
    foreColor_ = model_.ForeColor();
    InvalidateRect(hwnd_, nullptr, TRUE);
  }
  SyncKind();
  const bool enabled = EffectivelyEnabled(model_);
  if (enabled != enabled_) {
    enabled_ = enabled;
    EnableWindow(hwnd_, enabled ? TRUE : FALSE);
  }
  const bool visible = EffectivelyVisible(model_);
  if (visible != visible_) {
    visible_ = visible;
    ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
  }
}

LRESULT NativeControl::CallClass(UINT message, WPARAM wParam, LPARAM lParam) {
  if (classProcedure_ == nullptr) return 0;
  return CallWindowProcA(classProcedure_, hwnd_, message, wParam, lParam);
}

NativeControl* NativeControl::FromHwnd(HWND hwnd) {
  if (hwnd == nullptr ||
      GetWindowLongPtrA(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Procedure)) {
    return nullptr;
  }
  return reinterpret_cast<NativeControl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK NativeControl::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<NativeControl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self == nullptr || self->classProcedure_ == nullptr) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    // The class's own procedure again, for the last message.
    const WNDPROC original = self->classProcedure_;
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->classProcedure_ = nullptr;
    return CallWindowProcA(original, hwnd, message, wParam, lParam);
  }
  if (message == WM_GETOBJECT) {
    if (const auto answer = AnswerGetObject(*self, wParam, lParam)) return *answer;
  } else if (message == kDoDefaultAction) {
    DoDefaultAction(self->model_, self->form_.Presses());
    return 0;
  }
  return self->OnMessage(message, wParam, lParam);
}

}  // namespace quellor::win32
