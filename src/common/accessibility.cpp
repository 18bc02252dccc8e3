#include "common/accessibility.h"

#include <optional>
#include <string>

#include "common/layout.h"

namespace quellor {

AccessibleDescription Describe(const Control& control) {
  AccessibleDescription description;
  description.role = control.Role;
  description.name = control.AccessibleName.empty() ? control.Caption() : control.AccessibleName;
  if (control.Kind() == ControlKind::ComboBox) {
    description.value = static_cast<const ComboBox&>(control).SelectedText();
  } else if (!control.AccessibleName.empty()) {
    description.value = control.Caption();
  }
  if (control.Role == AccessibleRole::PushButton) description.defaultAction = "Press";
  description.unavailable = !EnabledForUser(control);
  description.invisible = !ShownToUser(control);
  return description;
}

bool HasDefaultAction(const Control& control) {
  return control.Role == AccessibleRole::PushButton && control.Kind() == ControlKind::Label &&
         AcceptsClick(control);
}

std::optional<std::string> ValueTaken(const Control& control, std::string value) {
  if (control.Kind() != ControlKind::TextBox || !AcceptsClick(control)) return std::nullopt;
  return static_cast<const TextBox&>(control).Fitted(std::move(value));
}

bool DoDefaultAction(Control& control, LabelPresses& presses) {
  if (!HasDefaultAction(control)) return false;
  presses.Clicked(static_cast<Label&>(control));
  return true;
}

Colors ColorsOf(const Control& control, const Form& form, bool highContrast) {
  if (!highContrast) {
    return {control.ForeColor(),
            UsesSystemBackground(control) ? kSystemWindowColor : BackColorOf(control, form)};
  }
  const bool button = control.Role == AccessibleRole::PushButton;
  if (button && control.Kind() == ControlKind::Label &&
      static_cast<const Label&>(control).Sunken()) {
    return {System(SystemColor::HighlightText), System(SystemColor::Highlight)};
  }
  const Color back = System(button ? SystemColor::ButtonFace : SystemColor::Window);
  if (!EffectivelyEnabled(control)) return {System(SystemColor::GrayText), back};
  return {System(button ? SystemColor::ButtonText : SystemColor::WindowText), back};
}

Color FormBackColor(const Form& form, bool highContrast) {
  return highContrast ? System(SystemColor::Window) : form.BackColor;
}

}  // namespace quellor
