// What the user's keys, clicks, focus changes and mouse moves mean to a form.
//
// The front end translates the system's messages into these calls and
// mirrors the models afterwards; every decision about them is made here.
#pragma once

#include <cstdint>
#include <vector>

#include "common/form.h"

namespace quellor {

// The control that takes the focus when the form gets it: the first tab stop
// that can take it, and within a group of option buttons its selected one.
Control* FirstFocus(const Form& form);

// The control that takes the focus when the form is activated again: the
// one that had it before, while it still can take it, else FirstFocus.
Control* FocusOnActivation(const Form& form, Control* before);

enum class NavigationKey { Tab, Up, Down, Left, Right };

// A navigation key pressed while `focus` has the focus (nullptr: none of the
// form's controls). Tab and Shift+Tab go round the tab stops that can take
// the focus, a group of option buttons counting as one stop at its selected
// button; the arrow keys go round the buttons of the focused option button's
// group and select as they go, as a click would. With Ctrl or Alt held the
// keys are left to the system. Tab into a one-line text box selects its whole
// text, so that typing replaces it.
struct KeyOutcome {
  bool handled = false;      // the key is used up; the system does not see it
  Control* focus = nullptr;  // where the focus goes, when it moves
};
KeyOutcome KeyDown(const Form& form, Control* focus, NavigationKey key, bool shift,
                   bool controlOrAlt);

// The form that takes the keyboard focus when the active one (`closing`)
// hides or unloads: the first of `forms`, in the program's order, that is
// shown and usable; nullptr when there is none. Left to the system, the
// focus could end on no window at all.
Form* FormAfterClosing(const std::vector<Form*>& forms, const Form& closing);

// The focus came to `control`, from another control or from another window:
// its handling of the focus runs each time (a field that selects its text).
void FocusArrived(Control& control);
// The focus went from `from` to `to` (nullptr: out of the form's controls).
// Leaving a control for another control of the same form runs its check on
// leaving; losing the focus to another window does not.
void FocusMoved(Control& from, const Control* to);

// Whether a click on `control` may act: only on one that shows and is
// enabled, with all its containers and its window. The system gives any
// other control no click, but another program can send a message that
// claims one.
bool AcceptsClick(const Control& control);

// Whether a timer message that comes `now` (milliseconds) is a tick of a
// timer of `interval` whose last tick, or start, was at `last`. The system's
// timer never comes much sooner than its interval, but any program can post
// the same message: one that comes sooner is not the timer's and must not
// count, or a stream of them would run a countdown out at once.
bool IsTimerTick(std::uint64_t last, std::uint64_t now, unsigned interval);

// A check box clicked by the user: ticked when it was clear, clear otherwise.
void CheckBoxClicked(CheckBox& box);
// An option button clicked by the user: selected, the others of its group
// cleared; its click handling runs only when it was not selected already.
void OptionButtonClicked(OptionButton& button);

// A mouse move over the form's client area at (x, y) twips: it goes to the
// innermost visible frame under it, relative to that frame, else to the form.
void RouteMouseMove(Form& form, MouseArgs args);

// The mouse on a form's labels that serve as buttons, at positions in twips
// from the label's outer corner. A press shows the pressed look at once; the
// label keeps the mouse until the release, which ends the pressed look
// wherever it happens. The label's click runs after the release, and only for
// a left-button press released on the label (within its width and height)
// that the label itself reported as clicked (a double click's second press is
// no click). A label that does not accept clicks takes no press and gives no
// click.
class LabelPresses {
 public:
  // Whether the label takes the press: then it keeps the mouse (the front
  // end captures it) until the release.
  bool MouseDown(Label& label, const MouseArgs& args);
  // The label's own click notification. Outside a press (the keyboard, the
  // system's accessibility tools) it is a click at once.
  void Clicked(Label& label);
  // Call after the label has seen its release.
  void MouseUp(Label& label, const MouseArgs& args);
  // Another window took the mouse: the press gives no click.
  void CaptureLost(const Label& label);

 private:
  const Label* pressed_ = nullptr;
  bool clickReported_ = false;
};

}  // namespace quellor
