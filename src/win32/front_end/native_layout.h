// The native window classes and styles of the forms and their controls.
#pragma once

#include <windows.h>

#include "common/form.h"

namespace quellor::win32 {

DWORD FormWindowStyle(const Form& form);
DWORD FormWindowExStyle(const Form& form);

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

}  // namespace quellor::win32
