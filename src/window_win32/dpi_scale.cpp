// SPDX-License-Identifier: MIT
#include "window_win32/dpi_scale.h"

namespace rv::win32 {

namespace {

constexpr int kTwipsPerInch = 1440;

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

// Looked up at run time: the call is missing before Windows 10, where the program still runs.
GetDpiForWindowFunction PerWindowDpiCall() {
    static const auto call = [] {
        FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
        return reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void*>(found));
    }();
    return call;
}

UINT SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

}  // namespace

int PixelsFromTwips(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch);
}

RECT PixelRectFromTwips(int left, int top, int width, int height, UINT dpi) {
    return RECT{PixelsFromTwips(left, dpi), PixelsFromTwips(top, dpi),
                PixelsFromTwips(left + width, dpi), PixelsFromTwips(top + height, dpi)};
}

UINT WindowDpi(HWND window) {
    if (GetDpiForWindowFunction call = PerWindowDpiCall()) {
        if (const UINT dpi = call(window); dpi > 0) {
            return dpi;
        }
    }
    return SystemDpi();
}

}  // namespace rv::win32
