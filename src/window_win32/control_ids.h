// SPDX-License-Identifier: MIT
#pragma once

#include "core/window_operations.h"

namespace rv::win32 {

// Each control's id is its place in the layout table after this one; no control takes IDOK
// (1), which the dialog keys send for Enter.
inline constexpr int kFirstControlId = 100;

// The id of a control of the main window; 0 for a name that is not one of them.
int ControlId(Control control);

}  // namespace rv::win32
