// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

namespace rv::win32 {

// What the window's thread needs for as long as the window lives: COM in a single-threaded
// apartment for the shell's folder browser, and the common controls for the tool tip.
class WindowThread {
public:
    WindowThread();
    ~WindowThread();
    WindowThread(const WindowThread&) = delete;
    WindowThread& operator=(const WindowThread&) = delete;

private:
    HRESULT ole_;
};

}  // namespace rv::win32
