#include "win32/units.h"

#include <iterator>

#include <cmath>

namespace quellor::win32 {

int TwipsToPixels(float twips, unsigned dpi) {
  return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / kTwipsPerInch));
}

float PixelsToTwips(int pixels, unsigned dpi) {
  if (dpi == 0) return 0;
  return static_cast<float>(static_cast<double>(pixels) * kTwipsPerInch / dpi);
}

RECT TwipsToPixelRect(const Rect& twips, unsigned dpi) {
  RECT pixels;
  pixels.left = TwipsToPixels(twips.left, dpi);
  pixels.top = TwipsToPixels(twips.top, dpi);
  pixels.right = TwipsToPixels(twips.left + twips.width, dpi);
  pixels.bottom = TwipsToPixels(twips.top + twips.height, dpi);
  return pixels;
}

Rect PixelRectToTwips(const RECT& pixels, unsigned dpi) {
  return Rect{PixelsToTwips(pixels.left, dpi), PixelsToTwips(pixels.top, dpi),
              PixelsToTwips(pixels.right - pixels.left, dpi),
              PixelsToTwips(pixels.bottom - pixels.top, dpi)};
}

int FontHeight(float points, unsigned dpi) {
  return -static_cast<int>(std::lround(static_cast<double>(points) * dpi / 72.0));
}

namespace {

template <typename Function>
Function SystemFunction(const char* name) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  if (user32 == nullptr) return nullptr;
  // Through the generic function type, which any function pointer converts to.
  auto generic = reinterpret_cast<void (*)()>(GetProcAddress(user32, name));
  return reinterpret_cast<Function>(generic);
}

unsigned ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<unsigned>(dpi) : 96;
}

}  // namespace

unsigned SystemDpi() {
  using GetDpiForSystemFunction = UINT(WINAPI*)();
  static const auto kGetDpiForSystem = SystemFunction<GetDpiForSystemFunction>("GetDpiForSystem");
  if (kGetDpiForSystem != nullptr) {
    const UINT dpi = kGetDpiForSystem();
    if (dpi != 0) return dpi;
  }
  return ScreenDpi();
}

unsigned WindowDpi(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto kGetDpiForWindow = SystemFunction<GetDpiForWindowFunction>("GetDpiForWindow");
  if (kGetDpiForWindow != nullptr && window != nullptr) {
    const UINT dpi = kGetDpiForWindow(window);
    if (dpi != 0) return dpi;
  }
  return ScreenDpi();
}

COLORREF NativeColor(Color color) {
  // In the order of SystemColor.
  static constexpr int kSystemIndex[] = {COLOR_WINDOW,       COLOR_WINDOWTEXT, COLOR_BTNFACE,
                                         COLOR_BTNTEXT,      COLOR_GRAYTEXT,   COLOR_HIGHLIGHT,
                                         COLOR_HIGHLIGHTTEXT};
  if ((color & kSystemColorFlag) != kSystemColorFlag) return color & 0x00FFFFFFu;
  const std::uint32_t index = color & ~kSystemColorFlag;
  return GetSysColor(index < std::size(kSystemIndex) ? kSystemIndex[index] : COLOR_WINDOW);
}

bool HighContrast() {
  HIGHCONTRASTA setting{};
  setting.cbSize = sizeof setting;
  return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) != FALSE &&
         (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

Rect MonitorWorkArea(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (monitor == nullptr || !GetMonitorInfoA(monitor, &info)) {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &info.rcWork, 0);
  }
  return PixelRectToTwips(info.rcWork, SystemDpi());
}

}  // namespace quellor::win32
