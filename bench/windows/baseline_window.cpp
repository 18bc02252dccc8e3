// The yardstick for the program's footprint: the least that a Windows
// program shaped like Quellor's main window needs to sit and wait. One
// borderless popup window, shown, with one 1000 ms timer whose ticks do
// nothing; no controls, no drawing of its own, no other work.
#include <windows.h>

namespace {

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMilliseconds = 1000;
// The size of the main window at 96 dots per inch (4830 by 3840 twips).
constexpr int kWidth = 322;
constexpr int kHeight = 256;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int show) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // the arrow
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = "QuellorBaselineWindow";
  if (RegisterClassA(&windowClass) == 0) return 1;

  HWND window = CreateWindowExA(0, windowClass.lpszClassName, "Baseline", WS_POPUP, 100, 100,
                                kWidth, kHeight, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  SetTimer(window, kTickTimer, kTickMilliseconds, nullptr);
  ShowWindow(window, show);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
