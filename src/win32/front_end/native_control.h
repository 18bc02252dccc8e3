// The native window of one control: created from its model, brought in line
// with it whenever the model changed, and passing what the user does to it on
// to the core. One small class per kind of control.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "common/controls.h"
#include "win32/front_end/control_host.h"

namespace quellor::win32 {

class NativeControl {
 public:
  NativeControl(ControlHost& form, Control& model) : form_(form), model_(model) {}
  NativeControl(const NativeControl&) = delete;
  NativeControl& operator=(const NativeControl&) = delete;
  virtual ~NativeControl() = default;

  Control& Model() const { return model_; }
  HWND Hwnd() const { return hwnd_; }
  // Creates the hidden child window; false when the system refused.
  bool Create(HWND parent);
  // Position and font at the window's resolution.
  void Layout(unsigned dpi);
  // Whether the model changed since the last Sync.
  bool OutOfDate() const;
  // Brings the window in line with the model: what it shows, whether it is
  // visible and usable (as far as its containers are, whose changes make it
  // out of date too).
  void Sync();
  // A notification the control sent to the form (the code of WM_COMMAND).
  virtual void Notify(int /*code*/) {}
  // Whether `hwnd` is this control's window or a part of it.
  virtual bool Owns(HWND hwnd) const { return hwnd == hwnd_; }
  // The control whose window `hwnd` is, while it exists; else null.
  static NativeControl* FromHwnd(HWND hwnd);
  // Posted to a control's window to run its default action (a screen
  // reader's request) from the message loop, as a click runs.
  static constexpr UINT kDoDefaultAction = WM_APP + 0x41;

 protected:
  // The kind's own part of Sync.
  virtual void SyncKind() {}
  // Every control sees its messages before its class does.
  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallClass(message, wParam, lParam);
  }
  // The window shows `text` already (the user typed it): Sync leaves it, as
  // setting it again would put the caret back at the start.
  void KeepShownText(std::string text) { caption_ = std::move(text); }
  // The class's own handling of a message; nothing once the window is gone.
  LRESULT CallClass(UINT message, WPARAM wParam, LPARAM lParam);

  ControlHost& form_;
  Control& model_;
  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  WNDPROC classProcedure_ = nullptr;
  std::uint32_t shown_ = 0;  // RevisionWithContainers last shown; 0 nothing yet
  std::string caption_;
  Color foreColor_ = 0;
  bool visible_ = false;
  bool enabled_ = true;
};

std::unique_ptr<NativeControl> MakeNativeControl(ControlHost& form, Control& model);
// The kinds with classes of their own (native_label.cpp, native_frame.cpp).
std::unique_ptr<NativeControl> MakeNativeLabel(ControlHost& form, Label& model);
std::unique_ptr<NativeControl> MakeNativeFrame(ControlHost& form, Control& model);

}  // namespace quellor::win32
