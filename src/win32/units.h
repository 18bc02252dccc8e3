// Twips and pixels, screen resolution and colours.
#pragma once

#include <windows.h>

#include "common/controls.h"

namespace quellor::win32 {

inline constexpr unsigned kTwipsPerInch = 1440;

// Twips to whole pixels at `dpi`, rounded to the nearest pixel.
int TwipsToPixels(float twips, unsigned dpi);
float PixelsToTwips(int pixels, unsigned dpi);
// The pixel rectangle of a twips rectangle; its edges are rounded, not its
// size, so that touching rectangles stay touching.
RECT TwipsToPixelRect(const Rect& twips, unsigned dpi);
Rect PixelRectToTwips(const RECT& pixels, unsigned dpi);
// The height to give CreateFont for a size in points.
int FontHeight(float points, unsigned dpi);

// The resolution screen positions are converted with.
unsigned SystemDpi();
// A monitor's work area in screen twips; the main monitor's when the monitor
// is null or tells none.
Rect MonitorWorkArea(HMONITOR monitor);
// The resolution of a window, where the system tells it per window.
unsigned WindowDpi(HWND window);

// A model colour as the system's, resolving the system-colour markers.
COLORREF NativeColor(Color color);
// Whether Windows reports high contrast on now.
bool HighContrast();

}  // namespace quellor::win32
