// The yardstick for the program's footprint: the least that a Windows
// program shaped like Quellor's main window needs to sit and wait. One
// borderless popup window, shown, with one 1000 ms timer whose ticks do
// nothing; no controls, no drawing of its own, no other work.
#include "yardstick.h"

namespace {

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
  HWND window = yardstick::CreatePopup(instance, WindowProc, "QuellorBaselineWindow", 0);
  if (window == nullptr) return 1;
  return yardstick::Run(window, show);
}
