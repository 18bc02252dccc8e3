// The front end: the native windows of all forms, and the message loop that
// keeps them in line with the models.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "common/controls.h"
#include "win32/event_loop.h"
#include "win32/front_end/form_window.h"

namespace quellor::win32 {

class FrontEnd : public FormHost, public EventLoop {
 public:
  FrontEnd();
  FrontEnd(const FrontEnd&) = delete;
  FrontEnd& operator=(const FrontEnd&) = delete;
  // The forms may be gone by now: nothing here touches them.
  ~FrontEnd() override;

  // Makes this the form's host; the form gets its window when it is loaded.
  // The main window comes first.
  void Attach(Form& form);
  // The program's own answer to whether it has finished; once it has, the
  // loop ends. Without one the loop runs until WM_QUIT comes from elsewhere.
  void SetFinished(std::function<bool()> finished) { finished_ = std::move(finished); }
  void CreateWindowFor(Form& form) override;
  void DestroyWindowFor(Form& form) override;

  // Brings every form's windows in line with its model.
  void SyncAll();
  // Handles one message as the loop does: keyboard navigation, dispatch,
  // then the sync. False on WM_QUIT.
  bool HandleMessage(MSG& message);
  // The message loop: returns never; the process ends on WM_QUIT, which the
  // loop posts itself once the program has finished.
  [[noreturn]] void Run() override;

  FormWindow* WindowOf(const Form& form) const;
  // The window of the form that holds a native window, or null.
  FormWindow* FormWindowOf(HWND hwnd) const;

 private:
  // A hidden window whose only message brings the windows in line with the
  // models: posted when a handler changed them outside the loop's own
  // dispatch (a message sent by another program, a system loop).
  class SyncWindow : public Window {
   public:
    explicit SyncWindow(FrontEnd& frontEnd);
    void Post();

   protected:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

   private:
    FrontEnd& frontEnd_;
    bool posted_ = false;
  };

  static void AfterHandlers(void* self);
  bool OutOfDate() const;
  void ActivateAfterClosing();
  bool Finished() const { return running_ && !quitting_ && finished_ && finished_(); }

  std::function<bool()> finished_;
  std::vector<Form*> forms_;  // in the order attached: the program's
  std::vector<std::unique_ptr<FormWindow>> windows_;
  // Windows destroyed while one of their handlers may still be running.
  std::vector<std::unique_ptr<FormWindow>> retired_;
  std::unique_ptr<SyncWindow> syncWindow_;
  int dispatching_ = 0;  // messages of the loop's own being handled
  bool running_ = false;
  bool quitting_ = false;
  // The form whose window was active when it hid or closed, until the
  // focus has gone on.
  const Form* closingActive_ = nullptr;
};

}  // namespace quellor::win32
