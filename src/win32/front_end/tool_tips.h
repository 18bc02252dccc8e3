// The tool tips of one form: one tool tip window for all its controls with a
// tip, made at the first mouse move over the form and shown from the mouse
// messages the loop passes on.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "win32/front_end/native_control.h"
#include "win32/front_end/owned.h"

namespace quellor::win32 {

class ToolTips {
 public:
  // Makes the window for the controls with a tip, once; nothing when none
  // has one or the common controls are missing.
  void CreateOnce(HWND form, const std::vector<std::unique_ptr<NativeControl>>& controls,
                  unsigned dpi);
  bool Tried() const { return tried_; }
  // The width a tip may take before it wraps, at the form's resolution.
  void Layout(unsigned dpi);
  void Relay(const MSG& message);
  HWND Hwnd() const { return window_.get(); }
  void Close() { window_.reset(); }

 private:
  OwnedWindow window_;
  bool tried_ = false;
};

}  // namespace quellor::win32
