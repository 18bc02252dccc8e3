// What the native windows of a form look like, decided from the models alone.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "common/controls.h"

namespace quellor::win32 {

// The window class of a form's native window.
const char* FormClassName(const Form& form);
DWORD FormWindowStyle(const Form& form);
DWORD FormWindowExStyle(const Form& form);

// A control's rectangle in the form's client area (twips): its position
// offset by those of its containers.
Rect PositionInForm(const Control& control);
// How many containers hold the control.
int Depth(const Control& control);

struct NativeKind {
  const char* className;
  DWORD style;
  DWORD exStyle;
};
// The window class and styles a control is created with (without WS_VISIBLE
// and WS_DISABLED, which follow the model).
NativeKind KindOf(const Control& control);
// The border styles of a label: flat single line or sunken.
void LabelBorderStyles(const Label& label, DWORD& style, DWORD& exStyle);

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

}  // namespace quellor::win32
