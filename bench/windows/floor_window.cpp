// The second yardstick: the least program that shows what Quellor shows
// while it waits. The baseline's window and timer, Quellor's manifest
// (common controls 6, DPI awareness), and on each tick one reading of the
// processor times and two red-on-black read-outs whose texts change: the
// countdown and the processor usage. No settings, no other controls, no
// behaviour. Whatever Quellor costs beyond this is its own overhead.
#include <winternl.h>

#include <cstdio>

#include "yardstick.h"

namespace {

constexpr int kMaxProcessors = 64;

HWND countdown = nullptr;
HWND usage = nullptr;
HBRUSH black = nullptr;
int secondsLeft = 30000;
ULONGLONG lastIdle = 0;
ULONGLONG lastTotal = 0;

// The first processor's busy share since the previous tick, in percent.
int BusyPercent() {
  static SYSTEM_PROCESSOR_PERFORMANCE_INFORMATION info[kMaxProcessors];
  ULONG returned = 0;
  if (NtQuerySystemInformation(SystemProcessorPerformanceInformation, info, sizeof(info),
                               &returned) < 0) {
    return 0;
  }
  const auto idle = static_cast<ULONGLONG>(info[0].IdleTime.QuadPart);
  const auto total =
      static_cast<ULONGLONG>(info[0].KernelTime.QuadPart + info[0].UserTime.QuadPart);
  const ULONGLONG dIdle = idle - lastIdle;
  const ULONGLONG dTotal = total - lastTotal;
  lastIdle = idle;
  lastTotal = total;
  if (dTotal == 0 || dIdle > dTotal) return 0;
  return static_cast<int>(100 - dIdle * 100 / dTotal);
}

// Sets a read-out's text when it differs, as Quellor does.
void Show(HWND label, const char* text) {
  char shown[32];
  GetWindowTextA(label, shown, sizeof(shown));
  if (lstrcmpA(shown, text) != 0) SetWindowTextA(label, text);
}

void Tick() {
  char text[32];
  std::snprintf(text, sizeof(text), "%d%%", BusyPercent());
  Show(usage, text);
  if (secondsLeft > 0) --secondsLeft;
  std::snprintf(text, sizeof(text), "%02d:%02d:%02d", secondsLeft / 3600, secondsLeft / 60 % 60,
                secondsLeft % 60);
  Show(countdown, text);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      Tick();
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, RGB(255, 0, 0));
      SetBkColor(dc, RGB(0, 0, 0));
      return reinterpret_cast<LRESULT>(black);
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

HWND ReadOut(HWND parent, HINSTANCE instance, int top, HFONT font) {
  HWND label = CreateWindowExA(WS_EX_STATICEDGE, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_CENTER, 8,
                               top, 73, 25, parent, nullptr, instance, nullptr);
  SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return label;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int show) {
  HWND window = yardstick::CreatePopup(instance, WindowProc, "QuellorFloorWindow", WS_CLIPCHILDREN);
  if (window == nullptr) return 1;
  black = CreateSolidBrush(RGB(0, 0, 0));
  // Quellor's read-outs: 12 point bold, 96 dots per inch.
  HFONT font =
      CreateFontA(-16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial");
  usage = ReadOut(window, instance, 48, font);
  countdown = ReadOut(window, instance, 96, font);
  BusyPercent();
  Tick();
  return yardstick::Run(window, show);
}
