// SPDX-License-Identifier: MIT
#include "window_win32/window_font.h"

namespace rv::win32 {

OwnedFont CreateWindowFont(UINT dpi) {
    // 8.25 point is 825/7200 inch; a negative height asks for the character height.
    const int height = -MulDiv(825, static_cast<int>(dpi), 7200);
    return OwnedFont(CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif"));
}

}  // namespace rv::win32
