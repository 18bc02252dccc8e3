#include "common/form_input.h"

#include <algorithm>
#include <vector>

#include "common/layout.h"

namespace quellor {

namespace {

bool CanTakeFocus(const Control& control) {
  return EffectivelyVisible(control) && EffectivelyEnabled(control);
}

// An option button that is not where the focus enters its group: another
// button of the group is selected.
bool PassedOverInGroup(const Control& control) {
  if (control.Kind() != ControlKind::OptionButton) return false;
  const auto& option = static_cast<const OptionButton&>(control);
  if (option.Value() || option.Group == nullptr) return false;
  return std::any_of(option.Group->begin(), option.Group->end(),
                     [](const OptionButton* other) { return other->Value(); });
}

// The next (or previous) entry after `current` in a ring; the first (or
// last) when `current` is not in it.
Control* Around(const std::vector<Control*>& ring, const Control* current, bool backwards) {
  if (ring.empty()) return nullptr;
  const auto at = std::find(ring.begin(), ring.end(), current);
  const std::size_t size = ring.size();
  if (at == ring.end()) return backwards ? ring.back() : ring.front();
  const auto index = static_cast<std::size_t>(at - ring.begin());
  return ring[backwards ? (index + size - 1) % size : (index + 1) % size];
}

KeyOutcome Tab(const Form& form, Control* focus, bool backwards) {
  std::vector<Control*> stops;
  for (Control* control : TabOrder(form)) {
    if (!CanTakeFocus(*control)) continue;
    if (control != focus && PassedOverInGroup(*control)) continue;
    stops.push_back(control);
  }
  Control* next = Around(stops, focus, backwards);
  if (next != nullptr && next != focus && next->Kind() == ControlKind::TextBox) {
    auto* box = static_cast<TextBox*>(next);
    if (!box->MultiLine) box->SetSelection(0, static_cast<int>(box->Text().size()));
  }
  return {true, next};
}

KeyOutcome Arrow(const Form& form, Control* focus, bool backwards) {
  if (focus == nullptr || focus->Kind() != ControlKind::OptionButton) return {};
  const auto* group = static_cast<const OptionButton*>(focus)->Group;
  if (group == nullptr) return {};
  std::vector<Control*> buttons;
  for (Control* control : TabOrder(form)) {
    if (!CanTakeFocus(*control) || control->Kind() != ControlKind::OptionButton) continue;
    if (std::find(group->begin(), group->end(), control) != group->end()) {
      buttons.push_back(control);
    }
  }
  if (buttons.size() < 2 || std::find(buttons.begin(), buttons.end(), focus) == buttons.end()) {
    return {true, nullptr};
  }
  Control* next = Around(buttons, focus, backwards);
  static_cast<OptionButton*>(next)->Select();
  return {true, next};
}

}  // namespace

Control* FirstFocus(const Form& form) {
  for (Control* control : TabOrder(form)) {
    if (CanTakeFocus(*control) && !PassedOverInGroup(*control)) return control;
  }
  return nullptr;
}

Control* FocusOnActivation(const Form& form, Control* before) {
  if (before != nullptr && CanTakeFocus(*before)) return before;
  return FirstFocus(form);
}

KeyOutcome KeyDown(const Form& form, Control* focus, NavigationKey key, bool shift,
                   bool controlOrAlt) {
  if (controlOrAlt) return {};
  switch (key) {
    case NavigationKey::Tab:
      return Tab(form, focus, shift);
    case NavigationKey::Up:
    case NavigationKey::Left:
      return Arrow(form, focus, true);
    case NavigationKey::Down:
    case NavigationKey::Right:
      return Arrow(form, focus, false);
  }
  return {};
}

Form* FormAfterClosing(const std::vector<Form*>& forms, const Form& closing) {
  for (Form* form : forms) {
    if (form != &closing && form->Loaded() && form->Visible() && form->Enabled()) return form;
  }
  return nullptr;
}

void FocusArrived(Control& control) {
  if (control.OnGotFocus) control.OnGotFocus();
}

void FocusMoved(Control& from, const Control* to) {
  if (to == nullptr || to == &from) return;
  if (from.OnLostFocus) from.OnLostFocus();
}

bool AcceptsClick(const Control& control) {
  return ShownToUser(control) && EnabledForUser(control);
}

bool IsTimerTick(std::uint64_t last, std::uint64_t now, unsigned interval) {
  // A quarter of the interval early still counts: the system's timer is
  // coarse, and a late tick does not make the next one come early.
  return now >= last && now - last >= interval - interval / 4;
}

void CheckBoxClicked(CheckBox& box) {
  if (!AcceptsClick(box)) return;
  box.SetValue(box.Value() == 0 ? 1 : 0);
}

void OptionButtonClicked(OptionButton& button) {
  if (AcceptsClick(button)) button.Select();
}

void RouteMouseMove(Form& form, MouseArgs args) {
  if (Control* frame = FrameAt(form, args.x, args.y)) {
    const Rect at = PositionInForm(*frame);
    args.x -= at.left;
    args.y -= at.top;
    if (frame->OnMouseMove) frame->OnMouseMove(args);
    return;
  }
  if (form.OnMouseMove) form.OnMouseMove(args);
}

bool LabelPresses::MouseDown(Label& label, const MouseArgs& args) {
  if (!AcceptsClick(label)) return false;
  pressed_ = &label;
  clickReported_ = false;
  if (label.OnMouseDown) label.OnMouseDown(args);
  return true;
}

void LabelPresses::Clicked(Label& label) {
  if (!AcceptsClick(label)) return;
  if (pressed_ == &label) {
    clickReported_ = true;
    return;
  }
  if (label.OnClick) label.OnClick();
}

void LabelPresses::MouseUp(Label& label, const MouseArgs& args) {
  const bool inside =
      args.x >= 0 && args.x < label.Position.width && args.y >= 0 && args.y < label.Position.height;
  const bool click = pressed_ == &label && clickReported_ && inside && args.button == kLeftButton;
  pressed_ = nullptr;  // the next press starts its own report afresh
  if (label.OnMouseUp) label.OnMouseUp(args);
  if (click && label.OnClick) label.OnClick();
}

void LabelPresses::CaptureLost(const Label& label) {
  if (pressed_ == &label) pressed_ = nullptr;
}

}  // namespace quellor
