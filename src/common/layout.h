// Where the controls of a form lie, in what order they are stacked and take
// the focus, and what they look like: decided from the models alone, so that
// the front end only applies it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/form.h"

namespace quellor {

// A control's rectangle in the form's client area (twips): its position
// offset by those of its containers.
Rect PositionInForm(const Control& control);
// A revision that changes whenever the control's or any container's does:
// what a frame holds shows and works only as the frame does, so a change to
// the frame is one to them too.
std::uint32_t RevisionWithContainers(const Control& control);
// How many containers hold the control.
int Depth(const Control& control);
// Shown and usable only as far as all its containers are.
bool EffectivelyVisible(const Control& control);
bool EffectivelyEnabled(const Control& control);
// As the user and a screen reader find it: as far as its window is shown and
// usable too. Help hides and disables the main window, whose controls must
// then be out of reach, whatever a message from another program claims.
bool ShownToUser(const Control& control);
bool EnabledForUser(const Control& control);

// The colour behind a control: its own, else its containers', else the
// form's. TextBox and ComboBox without their own colour keep the system's.
bool UsesSystemBackground(const Control& control);
Color BackColorOf(const Control& control, const Form& form);

// The controls from the top of the stacking order to the bottom: controls
// with windows of their own above labels, labels above shapes, shapes above
// frames, inner frames above outer ones, so every container lies behind what
// it holds; within a layer, later controls above earlier ones.
std::vector<Control*> StackingOrder(const Form& form);
// The controls that take the focus with Tab, in their tab order.
std::vector<Control*> TabOrder(const Form& form);

// The font face to use for a design face: itself when installed, else the
// first installed of its usual stand-ins, else itself (the system's match).
std::string ChooseFace(const std::string& face,
                       const std::function<bool(const std::string&)>& installed);

// The innermost visible frame under a point of the client area (twips).
Control* FrameAt(const Form& form, float x, float y);

// A form that nothing has placed yet is centred in the work area (twips,
// screen coordinates) that the front end finds for it; a placed form stays.
void PlaceIfNeverPlaced(Form& form, const Rect& workArea);

}  // namespace quellor
