#include "win32/front_end/native_layout.h"

#include "common/control_ids.h"

namespace quellor::win32 {

DWORD FormWindowStyle(const Form& form) {
  if (form.Style == FormStyle::FixedDialog) {
    return WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPSIBLINGS;
  }
  return WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS;
}

DWORD FormWindowExStyle(const Form& form) {
  if (form.Style == FormStyle::FixedDialog) return WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  return WS_EX_CONTROLPARENT;
}

void LabelBorderStyles(const Label& label, DWORD& style, DWORD& exStyle) {
  style &= ~static_cast<DWORD>(WS_BORDER);
  exStyle &= ~static_cast<DWORD>(WS_EX_STATICEDGE);
  if (label.Sunken()) {
    exStyle |= WS_EX_STATICEDGE;
  } else if (label.Border) {
    style |= WS_BORDER;
  }
}

NativeKind KindOf(const Control& control) {
  constexpr DWORD kChild = WS_CHILD | WS_CLIPSIBLINGS;
  const DWORD tabStop = control.TabStop ? WS_TABSTOP : 0;
  switch (control.Kind()) {
    case ControlKind::Label: {
      DWORD style = kChild | SS_NOTIFY;
      if (control.Align == Alignment::Center) {
        style |= SS_CENTER;
      } else if (control.Align == Alignment::Right) {
        style |= SS_RIGHT;
      } else {
        style |= SS_LEFT;
      }
      DWORD exStyle = 0;
      LabelBorderStyles(static_cast<const Label&>(control), style, exStyle);
      return {"STATIC", style, exStyle};
    }
    case ControlKind::TextBox: {
      const auto& box = static_cast<const TextBox&>(control);
      DWORD style = kChild | tabStop;
      if (box.MultiLine) {
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
      } else {
        style |= ES_AUTOHSCROLL;
      }
      if (box.VerticalScrollBar) style |= WS_VSCROLL;
      if (control.Align == Alignment::Center) {
        style |= ES_CENTER;
      } else if (control.Align == Alignment::Right) {
        style |= ES_RIGHT;
      }
      return {"EDIT", style, WS_EX_CLIENTEDGE};
    }
    case ControlKind::CheckBox:
      return {"BUTTON", kChild | tabStop | BS_CHECKBOX, 0};
    case ControlKind::OptionButton:
      return {"BUTTON", kChild | tabStop | BS_RADIOBUTTON, 0};
    case ControlKind::ComboBox:
      return {"COMBOBOX", kChild | tabStop | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case ControlKind::Frame:
      return {"BUTTON", kChild | BS_GROUPBOX, 0};
    case ControlKind::Shape:
      return {"STATIC", kChild | SS_BLACKFRAME, 0};
  }
  return {"STATIC", kChild, 0};
}

}  // namespace quellor::win32
