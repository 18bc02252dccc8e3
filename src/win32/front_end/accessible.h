// What screen readers ask of a control's window: the system's own
// accessible object for it, answering with the role, name, value, state and
// default action that the core describes.
#pragma once

#include <windows.h>

#include <optional>

namespace quellor::win32 {

class NativeControl;

// The answer to WM_GETOBJECT for a control's client area; nothing for the
// other objects, which the system answers.
std::optional<LRESULT> AnswerGetObject(NativeControl& control, WPARAM flags, LPARAM objectId);

// Tells listening screen readers that a control's name or value changed.
void NotifyTextChanged(HWND control);

}  // namespace quellor::win32
