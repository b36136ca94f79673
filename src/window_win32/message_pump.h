// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

// The message loop of the main window, with the keyboard handling of a dialog: Tab and
// Shift+Tab move the focus between buttons, Space and Enter press the focused one.
namespace rv::win32 {

// Runs until the program is asked to quit; returns the exit code that came with the request.
int RunMessageLoop(HWND window);

// Handles every message waiting for this thread, then returns. False when a quit request came
// among them; it is posted again, so the outer loop still ends.
bool PumpPendingMessages(HWND window);

}  // namespace rv::win32
