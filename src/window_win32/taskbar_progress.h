// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <shobjidl.h>

namespace rv::win32 {

// The progress the window's taskbar button shows while a pass runs: a moving bar, gone once the
// pass ends. Where the shell offers no taskbar list
// (before Windows 7, or no shell at all), nothing shows. Needs COM on the window's thread.
class TaskbarProgress {
public:
    TaskbarProgress() = default;
    ~TaskbarProgress();
    TaskbarProgress(const TaskbarProgress&) = delete;
    TaskbarProgress& operator=(const TaskbarProgress&) = delete;

    // A pass starts or ends in the window.
    void SetBusy(HWND window, bool busy);

private:
    ITaskbarList3* List();

    ITaskbarList3* list_ = nullptr;
    bool asked_ = false;  // the shell was asked for its list
    bool busy_ = false;
};

}  // namespace rv::win32
