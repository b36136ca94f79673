// SPDX-License-Identifier: MIT
#pragma once

// Where a dialog or box of the main window stands on the screen, the same for every toolkit.
namespace rv {

// A rectangle on the screen in pixels: its top-left corner and its size.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// The outer rectangle of a dialog of the wanted outer size, opened over the main window:
// centred on the main window where it fits into the work area of the monitor the main window is
// on, moved in where it does not, and shrunk to the work area where it is larger. Its top-left
// corner, and with it the title bar, always lies inside the work area.
ScreenRect PlaceDialog(const ScreenRect& work_area, const ScreenRect& main_window, int width,
                       int height);

}  // namespace rv
