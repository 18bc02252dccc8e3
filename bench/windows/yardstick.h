// What the two yardstick programs share: a borderless popup window the size
// of Quellor's main window at 96 dots per inch (4830 by 3840 twips), and the
// message loop.
#pragma once

#include <windows.h>

namespace yardstick {

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMilliseconds = 1000;

inline HWND CreatePopup(HINSTANCE instance, WNDPROC procedure, const char* className, DWORD style) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // the arrow
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = className;
  if (RegisterClassA(&windowClass) == 0) return nullptr;
  return CreateWindowExA(0, className, className, WS_POPUP | style, 100, 100, 322, 256, nullptr,
                         nullptr, instance, nullptr);
}

// Starts the tick, shows the window and runs until it is destroyed.
inline int Run(HWND window, int show) {
  SetTimer(window, kTickTimer, kTickMilliseconds, nullptr);
  ShowWindow(window, show);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace yardstick
