// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include "window_win32/owned_gdi.h"

namespace rv::win32 {

// The one font of every control: "MS Sans Serif", 8.25 point, bold, ANSI character set, sized
// for the given dots per inch. Where the face is missing, Windows' font mapper picks its stand-in.
OwnedFont CreateWindowFont(UINT dpi);

}  // namespace rv::win32
