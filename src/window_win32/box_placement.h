// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

namespace rv::win32 {

// Moves the window, at its outer size, where a dialog of the owner stands: centred on the owner
// where it fits into the work area of the owner's monitor, moved in where it does not.
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
