// A native window owned by a C++ object: the object is stored with the window
// as it is created and receives its messages through virtual handlers.
#pragma once

#include <windows.h>

#include <optional>

namespace quellor::win32 {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Hwnd() const { return hwnd_; }
  // How many messages are being handled by window objects right now; 0 once
  // every handler has returned to the message loop.
  static int HandlersRunning() { return handlersRunning_; }
  // Runs each time the outermost handler has returned, whoever called it: the
  // program's own loop, a system loop (a drag, a message box) or another
  // thread or process through SendMessage.
  static void SetAfterHandlers(void (*after)(void*), void* context) {
    afterHandlers_ = after;
    afterHandlersContext_ = context;
  }

 protected:
  // Registers the class once per process; every window of it dispatches to
  // its object. False when the system refused it.
  static bool RegisterClassOnce(const char* className, UINT classStyle);
  HWND Create(const char* className, DWORD exStyle, DWORD style, const char* title, int x, int y,
              int width, int height, HWND parent);
  void Destroy();

  // The handlers; nothing means "not handled", and the default handling runs.
  virtual std::optional<LRESULT> OnCommand(int /*id*/, int /*code*/, HWND /*control*/) {
    return std::nullopt;
  }
  virtual std::optional<LRESULT> OnTimer(UINT_PTR /*id*/) { return std::nullopt; }
  virtual std::optional<LRESULT> OnMouseMove(WPARAM /*keys*/, int /*x*/, int /*y*/) {
    return std::nullopt;
  }
  virtual std::optional<LRESULT> OnClose() { return std::nullopt; }
  virtual std::optional<LRESULT> OnEndSession(bool /*ending*/) { return std::nullopt; }
  virtual std::optional<LRESULT> OnWindowPosChanged() { return std::nullopt; }
  virtual std::optional<LRESULT> OnDpiChanged() { return std::nullopt; }
  virtual std::optional<LRESULT> OnEraseBackground(HDC /*dc*/) { return std::nullopt; }
  virtual std::optional<LRESULT> OnControlColor(UINT /*message*/, HDC /*dc*/, HWND /*control*/) {
    return std::nullopt;
  }
  virtual std::optional<LRESULT> OnActivate(bool /*active*/) { return std::nullopt; }
  virtual std::optional<LRESULT> OnSetFocus() { return std::nullopt; }
  // Every other message.
  virtual std::optional<LRESULT> OnMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {
    return std::nullopt;
  }
  // After WM_NCDESTROY: the native window is gone.
  virtual void OnDestroyed() {}

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  static int handlersRunning_;
  static void (*afterHandlers_)(void*);
  static void* afterHandlersContext_;
};

}  // namespace quellor::win32
