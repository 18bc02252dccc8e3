// What a control is to a screen reader, and the colours it is drawn in, in
// the design's colours or in high contrast: decided from the models alone, so
// that the front end only answers and paints.
#pragma once

#include <optional>
#include <string>

#include "common/controls.h"
#include "common/form_input.h"

namespace quellor {

// A control as assistive technology reads it.
struct AccessibleDescription {
  AccessibleRole role = AccessibleRole::StaticText;
  std::string name;
  // What the control shows besides its name: a read-out's or a box's text,
  // the list's choice; empty for the rest.
  std::string value;
  // The verb of the default action; empty where the system's own stands.
  std::string defaultAction;
  bool unavailable = false;
  bool invisible = false;
  bool operator==(const AccessibleDescription&) const = default;
};
AccessibleDescription Describe(const Control& control);

// Whether the control has a default action of ours that can run now: a
// usable label button.
bool HasDefaultAction(const Control& control);
// A value that a screen reader puts into the control: what of it the control
// takes, or nothing. Only a text box that the user could type into takes one,
// and no more of it than typing would put there.
std::optional<std::string> ValueTaken(const Control& control, std::string value);
// Runs it: the label button clicked as the mouse clicks it. False when there
// is none.
bool DoDefaultAction(Control& control, LabelPresses& presses);

struct Colors {
  Color text = kBlack;
  Color back = kBlack;
  bool operator==(const Colors&) const = default;
};
// In high contrast every control takes the system's colours for what it is
// (buttons the button colours, everything else the window's), grey text when
// it cannot be used, and a pressed button the highlight; otherwise the
// design's.
Colors ColorsOf(const Control& control, const Form& form, bool highContrast);
Color FormBackColor(const Form& form, bool highContrast);

}  // namespace quellor
