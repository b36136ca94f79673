// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include "form/dialog_placement.h"

namespace rv::win32 {

// Where a window of this outer size stands as a dialog of the owner: centred on the owner where it
// fits into the work area of the owner's monitor, moved in where it does not.
ScreenRect PlaceOverOwner(HWND owner, int outer_width, int outer_height);

// Moves the window, at its outer size, to that place.
void PlaceOnOwner(HWND window, HWND owner);

// For as long as it is in scope, the first window the calling thread activates is placed on the
// owner: a box or dialog the system makes and shows in one call.
class PlaceNextActivated {
public:
    explicit PlaceNextActivated(HWND owner);
    ~PlaceNextActivated();
    PlaceNextActivated(const PlaceNextActivated&) = delete;
    PlaceNextActivated& operator=(const PlaceNextActivated&) = delete;

private:
    HHOOK hook_ = nullptr;
    HWND previous_owner_ = nullptr;  // of a placement this one is nested in
};

}  // namespace rv::win32
