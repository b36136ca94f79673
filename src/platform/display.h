// SPDX-License-Identifier: MIT
#pragma once

namespace rv::platform {

// True when a graphical session can be reached: on Linux a set DISPLAY or WAYLAND_DISPLAY, or a
// Qt platform chosen through QT_QPA_PLATFORM (offscreen, vnc, ...); always on Windows.
bool HasDisplay();

}  // namespace rv::platform
