// The front end: the native windows of all forms, and the message loop that
// keeps them in line with the models.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "common/controls.h"
#include "platform/win32/form_window.h"
#include "platform/win32/services.h"

namespace quellor::win32 {

class FrontEnd : public FormHost, public EventLoop {
 public:
  FrontEnd() = default;
  FrontEnd(const FrontEnd&) = delete;
  FrontEnd& operator=(const FrontEnd&) = delete;
  // The forms may be gone by now: nothing here touches them.
  ~FrontEnd() override = default;

  // Makes this the form's host; the form gets its window when it is loaded.
  void Attach(Form& form);
  void CreateWindowFor(Form& form) override;
  void DestroyWindowFor(Form& form) override;

  // Brings every form's windows in line with its model.
  void SyncAll();
  // Handles one message as the loop does: keyboard navigation, dispatch,
  // then the sync. False on WM_QUIT.
  bool HandleMessage(MSG& message);
  // The message loop: returns never; the process ends on WM_QUIT, which the
  // loop posts itself once no form is loaded any more.
  [[noreturn]] void Run() override;

  FormWindow* WindowOf(const Form& form) const;
  // The window of the form that holds a native window, or null.
  FormWindow* FormWindowOf(HWND hwnd) const;

 private:
  std::vector<Form*> forms_;
  std::vector<std::unique_ptr<FormWindow>> windows_;
  // Windows destroyed while one of their handlers may still be running.
  std::vector<std::unique_ptr<FormWindow>> retired_;
  bool running_ = false;
  bool quitting_ = false;
};

}  // namespace quellor::win32
