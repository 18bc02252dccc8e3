#include "platform/win32/layout.h"

#include <algorithm>
#include <cstring>

#include "common/control_ids.h"

namespace quellor::win32 {

const char* FormClassName(const Form& form) {
  if (form.Name() == "Form2") return ids::kForm2Class;
  if (form.Name() == "Form3") return ids::kForm3Class;
  return ids::kForm1Class;
}

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

Rect PositionInForm(const Control& control) {
  Rect rect = control.Position;
  for (const Control* container = control.Container; container != nullptr;
       container = container->Container) {
    rect.left += container->Position.left;
    rect.top += container->Position.top;
  }
  return rect;
}

int Depth(const Control& control) {
  int depth = 0;
  for (const Control* c = control.Container; c != nullptr; c = c->Container) ++depth;
  return depth;
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

bool UsesSystemBackground(const Control& control) {
  if (control.HasBackColor) return false;
  return control.Kind() == ControlKind::TextBox || control.Kind() == ControlKind::ComboBox;
}

Color BackColorOf(const Control& control, const Form& form) {
  for (const Control* c = &control; c != nullptr; c = c->Container) {
    if (c->HasBackColor) return c->BackColor;
  }
  return form.BackColor;
}

std::vector<Control*> StackingOrder(const Form& form) {
  auto layer = [](const Control* c) {
    switch (c->Kind()) {
      case ControlKind::Label:
        return 1;
      case ControlKind::Shape:
        return 2;
      case ControlKind::Frame:
        return 3;
      default:
        return 0;
    }
  };
  const std::vector<Control*>& created = form.Controls();
  // Later controls lie above earlier ones of the same layer.
  std::vector<Control*> order(created.rbegin(), created.rend());
  std::stable_sort(order.begin(), order.end(), [&](const Control* a, const Control* b) {
    const int layerA = layer(a);
    const int layerB = layer(b);
    if (layerA != layerB) return layerA < layerB;
    if (layerA == 3) return Depth(*a) > Depth(*b);
    return false;
  });
  return order;
}

std::vector<Control*> TabOrder(const Form& form) {
  std::vector<Control*> order;
  for (Control* c : form.Controls()) {
    if (c->TabStop) order.push_back(c);
  }
  std::stable_sort(order.begin(), order.end(),
                   [](const Control* a, const Control* b) { return a->TabIndex < b->TabIndex; });
  return order;
}

std::string ChooseFace(const std::string& face,
                       const std::function<bool(const std::string&)>& installed) {
  if (installed(face)) return face;
  std::vector<std::string> candidates;
  auto is = [&](const char* name) { return _stricmp(face.c_str(), name) == 0; };
  // Closest widths first, so that captions keep to the lines they were laid
  // out on: Liberation Sans has the widths of Arial, which are close to those
  // of Microsoft Sans Serif, and Liberation Mono those of Courier New. Tahoma
  // comes last for MS Sans Serif: it runs wider, and some Wine installations
  // carry a Tahoma whose bold face draws regular strokes at bold widths.
  if (is("Courier") || is("Courier New")) {
    candidates = {"Courier New", "Courier", "Liberation Mono", "DejaVu Sans Mono",
                  "Lucida Console"};
  } else if (is("MS Sans Serif")) {
    candidates = {"Microsoft Sans Serif", "Arial", "Liberation Sans", "Tahoma"};
  } else if (is("Tahoma")) {
    candidates = {"Verdana", "Microsoft Sans Serif", "Arial", "Liberation Sans"};
  }
  for (const std::string& candidate : candidates) {
    if (installed(candidate)) return candidate;
  }
  return face;
}

Control* FrameAt(const Form& form, float x, float y) {
  Control* best = nullptr;
  for (Control* c : form.Controls()) {
    if (c->Kind() != ControlKind::Frame) continue;
    bool shown = true;
    for (const Control* v = c; v != nullptr; v = v->Container) shown = shown && v->Visible();
    if (!shown) continue;
    const Rect r = PositionInForm(*c);
    if (x < r.left || y < r.top || x >= r.left + r.width || y >= r.top + r.height) continue;
    if (best == nullptr || Depth(*c) > Depth(*best)) best = c;
  }
  return best;
}

}  // namespace quellor::win32
