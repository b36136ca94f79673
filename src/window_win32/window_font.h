// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <string>

#include "window_win32/owned_gdi.h"

namespace rv::win32 {

// The face of every control: "Microsoft Sans Serif" where the system has it; else the layout's
// "MS Sans Serif" where that is a scalable face; else "Microsoft Sans Serif" still, for which
// the font mapper stands in a scalable face. A scalable face is crisp at any dpi and draws
// names of any script through the system's font linking, which bitmap faces take no part in.
std::wstring WindowFace();

// The one font of every control: the window's face, bold, at the size in points, sized for the
// given dots per inch, with no character set asked for so that font linking can take part.
OwnedFont CreateWindowFont(UINT dpi, double point_size);

// The window's font at the dpi, at the largest size up to the layout's 8.25 point at which every
// fixed caption of both editions fits its control, as measured in that font; 6 point at least.
OwnedFont CreateFittingFont(UINT dpi);

}  // namespace rv::win32
