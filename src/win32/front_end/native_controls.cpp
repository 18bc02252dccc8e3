// The kinds of native control. Each translates its native notifications into
// the core's events and mirrors its own part of the model.
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "common/form_input.h"
#include "common/layout.h"
#include "win32/front_end/form_window.h"
#include "win32/front_end/native_control.h"
#include "win32/front_end/native_layout.h"
#include "win32/units.h"

namespace quellor::win32 {

namespace {

std::string WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
  const int copied = GetWindowTextA(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

class NativeLabel : public NativeControl {
 public:
  NativeLabel(FormWindow& form, Label& model) : NativeControl(form, model), label_(model) {}

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
  bool Subclassed() const override {
    return label_.OnMouseDown || label_.OnMouseUp || label_.OnClick;
  }

  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
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
  MouseArgs Args(int button, WPARAM keys, LPARAM position) const {
    return MouseArgs{button, ShiftState(static_cast<unsigned>(keys), GetKeyState(VK_MENU) < 0),
                     PixelsToTwips(GET_X_LPARAM(position), form_.Dpi()),
                     PixelsToTwips(GET_Y_LPARAM(position), form_.Dpi())};
  }

  LRESULT Down(int button, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = hwnd_;
    form_.Presses().MouseDown(label_, Args(button, wParam, lParam));
    if (!IsWindow(hwnd)) return 0;
    // The label keeps the mouse until the release, wherever that happens.
    SetCapture(hwnd);
    return CallClass(message, wParam, lParam);
  }

  LRESULT Up(int button, UINT message, WPARAM wParam, LPARAM lParam) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const bool inside = PtInRect(&client, at) != FALSE;
    if (GetCapture() == hwnd_) {
      releasing_ = true;
      ReleaseCapture();
      releasing_ = false;
    }
    const LRESULT result = CallClass(message, wParam, lParam);
    // The click, if this release makes one, may close the window: last.
    form_.Presses().MouseUp(label_, Args(button, wParam, lParam), inside);
    return result;
  }

  Label& label_;
  bool sunken_ = false;
  bool releasing_ = false;  // our own release of the mouse, not a lost press
};

class NativeTextBox : public NativeControl {
 public:
  NativeTextBox(FormWindow& form, TextBox& model) : NativeControl(form, model), box_(model) {}

  void Notify(int code) override {
    if (code == EN_CHANGE && !form_.Syncing()) {
      std::string typed = WindowText(hwnd_);
      KeepShownText(typed);
      box_.TextTypedByUser(std::move(typed));
    } else if (code == EN_SETFOCUS) {
      if (box_.OnGotFocus) box_.OnGotFocus();
    } else if (code == EN_KILLFOCUS) {
      HWND next = focusGoingTo_ != nullptr ? focusGoingTo_ : GetFocus();
      FocusMoved(box_, form_.ControlOf(next));
    }
  }

 protected:
  void SyncKind() override {
    if (box_.SelectionRevision() == selectionShown_) return;
    selectionShown_ = box_.SelectionRevision();
    SendMessageA(hwnd_, EM_SETSEL, static_cast<WPARAM>(box_.SelStart()),
                 static_cast<LPARAM>(box_.SelStart()) + box_.SelLength());
  }

  // A box with a check on leaving learns where the focus goes.
  bool Subclassed() const override { return static_cast<bool>(box_.OnLostFocus); }

  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_KILLFOCUS) return CallClass(message, wParam, lParam);
    focusGoingTo_ = reinterpret_cast<HWND>(wParam);
    const LRESULT result = CallClass(message, wParam, lParam);
    focusGoingTo_ = nullptr;
    return result;
  }

 private:
  TextBox& box_;
  HWND focusGoingTo_ = nullptr;       // during WM_KILLFOCUS
  std::uint32_t selectionShown_ = 0;  // the selection revision last applied
};

// Check boxes and option buttons: the program keeps their state, so the
// system's own toggling is off (BS_CHECKBOX, BS_RADIOBUTTON) and a click
// goes to the core.
class NativeCheck : public NativeControl {
 public:
  using NativeControl::NativeControl;

  void Notify(int code) override {
    if (code != BN_CLICKED || form_.Syncing()) return;
    if (model_.Kind() == ControlKind::CheckBox) {
      CheckBoxClicked(static_cast<CheckBox&>(model_));
    } else {
      OptionButtonClicked(static_cast<OptionButton&>(model_));
    }
  }

 protected:
  void SyncKind() override {
    const int value = model_.Kind() == ControlKind::CheckBox
                          ? static_cast<const CheckBox&>(model_).Value()
                          : (static_cast<const OptionButton&>(model_).Value() ? 1 : 0);
    if (value == value_) return;
    value_ = value;
    const WPARAM state = value == 0 ? BST_UNCHECKED : value == 2 ? BST_INDETERMINATE : BST_CHECKED;
    SendMessageA(hwnd_, BM_SETCHECK, state, 0);
  }

 private:
  int value_ = -1;
};

class NativeComboBox : public NativeControl {
 public:
  NativeComboBox(FormWindow& form, ComboBox& model) : NativeControl(form, model), combo_(model) {}

  void Notify(int code) override {
    if (code != CBN_SELCHANGE || form_.Syncing()) return;
    combo_.SetListIndex(static_cast<int>(SendMessageA(hwnd_, CB_GETCURSEL, 0, 0)));
  }

  // The parts of a drop-down list tell their colours through the list's parent.
  bool Owns(HWND hwnd) const override {
    if (hwnd == hwnd_) return true;
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    return GetComboBoxInfo(hwnd_, &info) && (info.hwndList == hwnd || info.hwndItem == hwnd);
  }

 protected:
  void SyncKind() override {
    if (combo_.Items() != items_) {
      items_ = combo_.Items();
      SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0);
      for (const std::string& item : items_) {
        SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
      }
    }
    if (SendMessageA(hwnd_, CB_GETCURSEL, 0, 0) != combo_.ListIndex()) {
      SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(combo_.ListIndex()), 0);
    }
  }

 private:
  ComboBox& combo_;
  std::vector<std::string> items_;
};

// The system's frame draws its caption in the system's text colour; this one
// draws it in the frame's.
class NativeFrame : public NativeControl {
 public:
  using NativeControl::NativeControl;

 protected:
  bool Subclassed() const override { return true; }

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
    const COLORREF back = NativeColor(BackColorOf(model_, form_.Model()));
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
      SetTextColor(dc, EffectivelyEnabled(model_) ? NativeColor(model_.ForeColor())
                                                  : GetSysColor(COLOR_GRAYTEXT));
      DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, oldFont);
    EndPaint(hwnd_, &paint);
  }
};

}  // namespace

std::unique_ptr<NativeControl> MakeNativeControl(FormWindow& form, Control& model) {
  switch (model.Kind()) {
    case ControlKind::Label:
      return std::make_unique<NativeLabel>(form, static_cast<Label&>(model));
    case ControlKind::TextBox:
      return std::make_unique<NativeTextBox>(form, static_cast<TextBox&>(model));
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
      return std::make_unique<NativeCheck>(form, model);
    case ControlKind::ComboBox:
      return std::make_unique<NativeComboBox>(form, static_cast<ComboBox&>(model));
    case ControlKind::Frame:
      return std::make_unique<NativeFrame>(form, model);
    case ControlKind::Shape:
      break;
  }
  return std::make_unique<NativeControl>(form, model);
}

}  // namespace quellor::win32
