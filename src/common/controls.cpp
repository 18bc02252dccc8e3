#include "common/controls.h"

#include <algorithm>

namespace quellor {

namespace {

AccessibleRole RoleOfKind(ControlKind kind) {
  switch (kind) {
    case ControlKind::TextBox:
      return AccessibleRole::Text;
    case ControlKind::CheckBox:
      return AccessibleRole::CheckButton;
    case ControlKind::OptionButton:
      return AccessibleRole::RadioButton;
    case ControlKind::ComboBox:
      return AccessibleRole::ComboBox;
    case ControlKind::Frame:
      return AccessibleRole::Grouping;
    case ControlKind::Shape:
      return AccessibleRole::Graphic;
    case ControlKind::Label:
      break;
  }
  return AccessibleRole::StaticText;
}

}  // namespace

Control::Control(ControlKind kind, std::string name, int id)
    : Role(RoleOfKind(kind)), kind_(kind), name_(std::move(name)), id_(id) {}

void Control::SetCaption(std::string text) {
  if (text == caption_) return;
  caption_ = std::move(text);
  Touch();
}

void Control::SetForeColor(Color color) {
  if (color == foreColor_) return;
  foreColor_ = color;
  Touch();
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Touch();
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Touch();
}

void Label::SetSunken(bool sunken) {
  if (sunken == sunken_) return;
  sunken_ = sunken;
  Touch();
}

void TextBox::SetSelection(int start, int length) {
  const int size = static_cast<int>(Text().size());
  start = std::clamp(start, 0, size);
  length = std::clamp(length, 0, size - start);
  selStart_ = start;
  selLength_ = length;
  ++selectionRevision_;
  Touch();
}

void CheckBox::SetValue(int value) {
  if (value == value_) return;
  value_ = value;
  Touch();
  if (OnClick) OnClick();
}

void CheckBox::SetDesignValue(int value) {
  if (value == value_) return;
  value_ = value;
  Touch();
}

void OptionButton::SetDesignValue(bool selected) {
  if (!selected) {
    Clear();
    return;
  }
  if (Group != nullptr) {
    for (OptionButton* other : *Group) {
      if (other != this) other->Clear();
    }
  }
  if (!value_) {
    value_ = true;
    Touch();
  }
}

void OptionButton::Select() {
  if (value_) return;
  if (Group != nullptr) {
    for (OptionButton* other : *Group) {
      if (other != this) other->Clear();
    }
  }
  value_ = true;
  Touch();
  if (OnClick) OnClick();
}

void OptionButton::Clear() {
  if (!value_) return;
  value_ = false;
  Touch();
}

void ComboBox::AddItem(std::string text, int index) {
  index = std::clamp(index, 0, static_cast<int>(items_.size()));
  items_.insert(items_.begin() + index, std::move(text));
  if (listIndex_ >= index) ++listIndex_;
  Touch();
}

bool ComboBox::SetListIndex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) return false;
  if (index != listIndex_) {
    listIndex_ = index;
    Touch();
  }
  return true;
}

std::string ComboBox::SelectedText() const {
  if (listIndex_ < 0) return {};
  return items_[static_cast<std::size_t>(listIndex_)];
}

void Place(Control& control, Control* container, Rect position) {
  control.Container = container;
  control.Position = position;
}

void MakeLabelButton(Label& label, Font font, Color textColor, PressedLook look,
                     std::string toolTip) {
  label.Border = true;
  label.Align = Alignment::Center;
  font.bold = true;
  label.TextFont = std::move(font);
  label.BackColor = kSystemWindowColor;
  label.HasBackColor = true;
  label.SetForeColor(textColor);
  label.ToolTip = std::move(toolTip);
  label.Role = AccessibleRole::PushButton;
  label.OnMouseDown = [&label](const MouseArgs&) { label.SetSunken(true); };
  if (look == PressedLook::UntilReleased) {
    label.OnMouseUp = [&label, textColor](const MouseArgs&) {
      label.SetSunken(false);
      label.SetForeColor(textColor);
    };
  }
}

}  // namespace quellor
