// The focus inside a form and the keys that move it.
#include "win32/front_end/form_window.h"

namespace quellor::win32 {

bool FormWindow::SetFocusInside() {
  Control* target = FocusOnActivation(form_, form_.RememberedFocus());
  HWND hwnd = target != nullptr ? ControlWindow(*target) : nullptr;
  if (hwnd == nullptr) return false;
  SetFocus(hwnd);
  return true;
}

bool FormWindow::NavigationKeyDown(NavigationKey key, bool shift, bool controlOrAlt) {
  const KeyOutcome outcome = KeyDown(form_, ControlOf(GetFocus()), key, shift, controlOrAlt);
  if (outcome.focus != nullptr) {
    if (HWND hwnd = ControlWindow(*outcome.focus)) SetFocus(hwnd);
  }
  return outcome.handled;
}

std::optional<LRESULT> FormWindow::OnActivate(bool active) {
  if (!active) {
    // ControlOf knows only this form's controls: null otherwise.
    if (Control* focus = ControlOf(GetFocus())) form_.RememberFocus(focus);
    return 0;
  }
  // With nothing to take the focus, the form keeps it (and its keys).
  if (!built_ || !SetFocusInside()) SetFocus(Hwnd());
  return 0;
}

std::optional<LRESULT> FormWindow::OnSetFocus() {
  if (built_) SetFocusInside();
  return 0;
}

}  // namespace quellor::win32
