// The text boxes, check boxes, option buttons and drop-down lists. Each
// translates its native notifications into the core's events and mirrors its
// own part of the model.
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "common/form_input.h"
#include "common/layout.h"
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

class NativeTextBox : public NativeControl {
 public:
  NativeTextBox(ControlHost& form, TextBox& model) : NativeControl(form, model), box_(model) {}

  void Notify(int code) override {
    if (code == EN_CHANGE && !form_.Syncing()) {
      std::string typed = WindowText(hwnd_);
      KeepShownText(typed);
      box_.TextTypedByUser(std::move(typed));
    } else if (code == EN_SETFOCUS) {
      FocusArrived(box_);
    } else if (code == EN_KILLFOCUS) {
      HWND next = focusGoingTo_ != nullptr ? focusGoingTo_ : GetFocus();
      FocusMoved(box_, form_.ControlOf(next));
    }
  }

 protected:
  void SyncKind() override {
    // Typing stops at the model's limit (0: the system's own).
    SendMessageA(hwnd_, EM_LIMITTEXT, box_.MaxLength, 0);
    if (box_.SelectionRevision() == selectionShown_) return;
    selectionShown_ = box_.SelectionRevision();
    SendMessageA(hwnd_, EM_SETSEL, static_cast<WPARAM>(box_.SelStart()),
                 static_cast<LPARAM>(box_.SelStart()) + box_.SelLength());
  }

  // The box learns where the focus goes as it leaves.
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
  NativeComboBox(ControlHost& form, ComboBox& model) : NativeControl(form, model), combo_(model) {}

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

}  // namespace

std::unique_ptr<NativeControl> MakeNativeControl(ControlHost& form, Control& model) {
  switch (model.Kind()) {
    case ControlKind::Label:
      return MakeNativeLabel(form, static_cast<Label&>(model));
    case ControlKind::TextBox:
      return std::make_unique<NativeTextBox>(form, static_cast<TextBox&>(model));
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
      return std::make_unique<NativeCheck>(form, model);
    case ControlKind::ComboBox:
      return std::make_unique<NativeComboBox>(form, static_cast<ComboBox&>(model));
    case ControlKind::Frame:
      return MakeNativeFrame(form, model);
    case ControlKind::Shape:
      break;
  }
  return std::make_unique<NativeControl>(form, model);
}

}  // namespace quellor::win32
