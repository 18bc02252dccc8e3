// The model of a window: its design, whether it is loaded, shown and usable,
// where it stands, and the host that gives it a native window.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "common/controls.h"

namespace quellor {

enum class FormStyle { Borderless, FixedDialog };

class Form;

// Creates and destroys the native window of a form. The front end implements
// it; without a host (unit tests) forms live as models alone.
class FormHost {
 public:
  virtual ~FormHost() = default;
  // Called as the form is loaded, before its load handler runs, so that the
  // handler can already use Handle().
  virtual void CreateWindowFor(Form& form) = 0;
  virtual void DestroyWindowFor(Form& form) = 0;
};

// True when none of `forms` is loaded.
bool NoneLoaded(std::initializer_list<const Form*> forms);

// A window. Its position is the outer window's, in twips on the screen; its
// size is the client area's.
class Form {
 public:
  explicit Form(std::string name) : name_(std::move(name)) {}
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form() = default;

  const std::string& Name() const { return name_; }
  std::uint32_t Revision() const { return revision_; }

  // The design.
  std::string Caption;
  FormStyle Style = FormStyle::Borderless;
  Color BackColor = 0;
  float ClientWidth = 0, ClientHeight = 0;  // twips
  // The native window class the form's window is registered and found by.
  const char* WindowClass = "";

  // Every control in creation order (containers before what they hold).
  const std::vector<Control*>& Controls() const { return controls_; }
  const std::vector<Timer*>& Timers() const { return timers_; }

  // Loaded: the window exists. Show() loads it first when needed.
  bool Loaded() const { return loaded_; }
  bool Visible() const { return visible_; }
  bool Enabled() const { return enabled_; }
  void Show();
  void Hide();
  void SetEnabled(bool enabled);
  // Destroys the window; the next Show() starts again from the design.
  void Unload();

  float Left() const { return left_; }
  float Top() const { return top_; }
  // The outer height (client height plus any frame) as the front end reports it.
  float Height() const { return height_ > 0 ? height_ : ClientHeight; }
  float Width() const { return width_ > 0 ? width_ : ClientWidth; }
  // Places the window; from then on it counts as placed.
  void Move(float left, float top);
  // Whether anything has placed the window yet: a window that nothing has
  // placed opens where the front end's first placement puts it.
  bool Placed() const { return placed_; }
  // The front end reports where the window really is (after a drag, a move
  // by the system or the program's own placement) and how big it is.
  void ReportPlacement(float left, float top) {
    left_ = left;
    top_ = top;
    placed_ = true;
  }
  void SetOuterSize(float width, float height) {
    width_ = width;
    height_ = height;
  }
  // The outer rectangle as the system has it, and whether the window is
  // minimised. A minimised window stands far off the screen (about -32000,
  // -32000 pixels on Windows) at the size of its caption: no place to keep or
  // store, so the form keeps the place and size it had before.
  void ReportWindowRect(const Rect& outer, bool minimised);

  WindowHandle Handle() const { return handle_; }
  void SetHandle(WindowHandle handle) { handle_ = handle; }

  // The control that had the focus when the form last lost it to another
  // window, or null; activation returns the focus there while it can take
  // it (FocusOnActivation). Forgotten when the form is unloaded.
  Control* RememberedFocus() const { return rememberedFocus_; }
  void RememberFocus(Control* control) { rememberedFocus_ = control; }

  FormHost* Host = nullptr;

  std::function<void(const MouseArgs&)> OnMouseMove;
  // A close request from outside (close box, system, log-off) runs
  // OnCloseRequest; a form without one is unloaded.
  void CloseRequested();
  std::function<void()> OnCloseRequest;

 protected:
  // Adds controls in creation order. The tab order follows it; only what
  // takes the focus stops there.
  void Add(std::initializer_list<Control*> controls);
  void Add(Timer& timer) { timers_.push_back(&timer); }
  // Puts the design values of everything that can change back; runs when the
  // window is loaded, before Form_Load.
  virtual void Design() {}
  // Runs each time the window is loaded, before it is shown.
  virtual void Form_Load() {}
  // Runs when the window is unloaded; puts the design values back.
  virtual void Form_Unload() {}

 private:
  std::string name_;
  std::uint32_t revision_ = 1;
  std::vector<Control*> controls_;
  std::vector<Timer*> timers_;
  bool loaded_ = false;
  bool visible_ = false;
  bool enabled_ = true;
  bool placed_ = false;
  float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  Control* rememberedFocus_ = nullptr;
  WindowHandle handle_ = 0;
};

}  // namespace quellor
