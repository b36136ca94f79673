// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <shobjidl.h>

#include <functional>

#include "core/window_operations.h"

namespace rv::win32 {

// The progress the window's taskbar button shows: during a write the share of files handled,
// during a search without one a moving bar, and nothing once the pass ends. Where the shell
// offers no taskbar list (before Windows 7, or no shell at all), nothing shows. Needs COM on the
// window's thread.
class TaskbarProgress {
public:
    TaskbarProgress() = default;
    ~TaskbarProgress();
    TaskbarProgress(const TaskbarProgress&) = delete;
    TaskbarProgress& operator=(const TaskbarProgress&) = delete;

    // A pass starts or ends its search in the window.
    void SetBusy(HWND window, bool busy);
    // How far a write pass has come; PassProgress{} once it has ended.
    void SetProgress(HWND window, const PassProgress& progress);

private:
    ITaskbarList3* List();
    void Show(HWND window);

    ITaskbarList3* list_ = nullptr;
    bool asked_ = false;  // the shell was asked for its list
    bool busy_ = false;
    PassProgress progress_;
    TBPFLAG shown_ = TBPF_NOPROGRESS;
    PassProgress shown_progress_;
};

// What the button was told, each time it changed: its state and, in the normal state, the files
// handled of the total. Tests watch the button here; an empty function watches nothing.
using TaskbarWatcher = std::function<void(HWND window, TBPFLAG state, const PassProgress& shown)>;
void SetTaskbarWatcher(TaskbarWatcher watcher);

}  // namespace rv::win32
