#include "win32/front_end/window.h"

#include <windowsx.h>

namespace quellor::win32 {

int Window::handlersRunning_ = 0;
void (*Window::afterHandlers_)(void*) = nullptr;
void* Window::afterHandlersContext_ = nullptr;

Window::~Window() {
  Destroy();
}

bool Window::RegisterClassOnce(const char* className, UINT classStyle) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof(existing);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (GetClassInfoExA(instance, className, &existing)) return true;
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = classStyle;
  windowClass.lpfnWndProc = &Window::Procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  // The program's icon (resource 1) in the title bar and on the task bar; a
  // program without one gets the system's.
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
  windowClass.lpszClassName = className;
  return RegisterClassExA(&windowClass) != 0;
}

HWND Window::Create(const char* className, DWORD exStyle, DWORD style, const char* title, int x,
                    int y, int width, int height, HWND parent) {
  return CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, nullptr,
                         GetModuleHandleA(nullptr), this);
}

void Window::Destroy() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = nullptr;
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    self = static_cast<Window*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (self == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);

  ++handlersRunning_;
  const std::optional<LRESULT> handled = self->Dispatch(message, wParam, lParam);
  const LRESULT result = handled ? *handled : DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->OnDestroyed();
  }
  if (--handlersRunning_ == 0 && afterHandlers_ != nullptr) afterHandlers_(afterHandlersContext_);
  return result;
}

std::optional<LRESULT> Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_TIMER:
      return OnTimer(wParam);
    case WM_MOUSEMOVE:
      return OnMouseMove(wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    case WM_CLOSE:
      return OnClose();
    case WM_ENDSESSION:
      return OnEndSession(wParam != 0);
    case WM_WINDOWPOSCHANGED: {
      std::optional<LRESULT> result = OnWindowPosChanged();
      // Let the default handling send WM_MOVE and WM_SIZE as well.
      if (result) DefWindowProcA(hwnd_, message, wParam, lParam);
      return result;
    }
    case 0x02E0:  // WM_DPICHANGED
      // Its parameters are not read: a message posted by another program
      // carries any numbers, and its lParam is no rectangle then.
      return OnDpiChanged();
    case WM_ERASEBKGND:
      return OnEraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      return OnControlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ACTIVATE:
      return OnActivate(LOWORD(wParam) != WA_INACTIVE);
    case WM_SETFOCUS:
      return OnSetFocus();
    default:
      return OnMessage(message, wParam, lParam);
  }
}

}  // namespace quellor::win32
