// The key flags of the system's mouse messages as the core's MouseArgs count
// them.
#pragma once

#include <windows.h>

namespace quellor::win32 {

// The buttons held: 1 left, 2 right, 4 middle.
inline int HeldButtons(WPARAM keys) {
  int buttons = 0;
  if ((keys & MK_LBUTTON) != 0) buttons |= 1;
  if ((keys & MK_RBUTTON) != 0) buttons |= 2;
  if ((keys & MK_MBUTTON) != 0) buttons |= 4;
  return buttons;
}

// The shift state: 1 shift, 2 control, 4 alt (which the flags do not carry).
inline int ShiftState(WPARAM keys) {
  int shift = 0;
  if ((keys & MK_SHIFT) != 0) shift |= 1;
  if ((keys & MK_CONTROL) != 0) shift |= 2;
  if (GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

}  // namespace quellor::win32
