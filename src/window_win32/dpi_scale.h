// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

// Layout units to pixels at the dots per inch of the monitor a window is on.
namespace rv::win32 {

inline constexpr UINT kDefaultDpi = 96;

// Rounds to the nearest pixel; at 96 dpi 15 twips make one pixel.
int PixelsFromTwips(int twips, UINT dpi);

// A rectangle given in twips as left, top, width and height, in pixels. Both edges are scaled
// and the size taken between them, so neighbours that touch in twips touch in pixels.
RECT PixelRectFromTwips(int left, int top, int width, int height, UINT dpi);

// The window's dpi where Windows tells it per window (Windows 10 and later), else the
// system's.
UINT WindowDpi(HWND window);

}  // namespace rv::win32
