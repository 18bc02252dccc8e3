// What a native control needs of the form window that holds it, and no more.
#pragma once

#include <windows.h>

#include "common/controls.h"
#include "common/form_input.h"
#include "win32/front_end/gdi_cache.h"

namespace quellor::win32 {

class ControlHost {
 public:
  virtual Form& Model() const = 0;
  // The resolution the form's window draws at.
  virtual unsigned Dpi() const = 0;
  virtual GdiCache& Gdi() = 0;
  virtual LabelPresses& Presses() = 0;
  // Whether the form draws in the system's high-contrast colours.
  virtual bool HighContrastOn() const = 0;
  // True while the form changes its native controls to match the models:
  // their notifications then report the program's own changes, not the
  // user's.
  virtual bool Syncing() const = 0;
  // The control of a native window of this form, or null.
  virtual Control* ControlOf(HWND hwnd) const = 0;

 protected:
  ControlHost() = default;
  ControlHost(const ControlHost&) = default;
  ControlHost& operator=(const ControlHost&) = default;
  ~ControlHost() = default;
};

}  // namespace quellor::win32
