#include "win32/services/services.h"
#include "win32/units.h"

namespace quellor::win32 {

namespace {

// A twips rectangle on the screen in pixels, at least one pixel each way so
// that the system can place it.
RECT ScreenPixels(const Rect& twips) {
  RECT pixels = TwipsToPixelRect(twips, SystemDpi());
  if (pixels.right <= pixels.left) pixels.right = pixels.left + 1;
  if (pixels.bottom <= pixels.top) pixels.bottom = pixels.top + 1;
  return pixels;
}

}  // namespace

int Win32User32::SetWindowPos(WindowHandle window, std::intptr_t insertAfter, int x, int y, int cx,
                              int cy, unsigned flags) {
  return ::SetWindowPos(reinterpret_cast<HWND>(window), reinterpret_cast<HWND>(insertAfter), x, y,
                        cx, cy, flags);
}

int Win32User32::ReleaseCapture() {
  return ::ReleaseCapture();
}

std::intptr_t Win32User32::SendMessageA(WindowHandle window, unsigned message,
                                        std::uintptr_t wParam, std::intptr_t lParam) {
  return ::SendMessageA(reinterpret_cast<HWND>(window), message, wParam, lParam);
}

Rect Win32User32::NearestWorkArea(const Rect& window) {
  const RECT pixels = ScreenPixels(window);
  return MonitorWorkArea(MonitorFromRect(&pixels, MONITOR_DEFAULTTONEAREST));
}

bool Win32User32::IsOnAnyMonitor(const Rect& window) {
  const RECT pixels = ScreenPixels(window);
  return MonitorFromRect(&pixels, MONITOR_DEFAULTTONULL) != nullptr;
}

void Win32User32::MessageBox(const std::string& text, const std::string& title) {
  MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_OK);
}

void Win32User32::RunEventLoop() {
  loop_.Run();
  // Not reached; GCC does not take a virtual call for one that never returns.
  ExitProcess(0);
}

}  // namespace quellor::win32
