// SPDX-License-Identifier: MIT
#include "window_win32/taskbar_progress.h"

#include <utility>

namespace rv::win32 {

namespace {

TaskbarWatcher& Watcher() {
    static TaskbarWatcher watcher;
    return watcher;
}

}  // namespace

TaskbarProgress::~TaskbarProgress() {
    if (list_ != nullptr) {
        list_->Release();
    }
}

ITaskbarList3* TaskbarProgress::List() {
    if (!asked_) {
        asked_ = true;
        void* list = nullptr;
        if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_ITaskbarList3, &list))) {
            list_ = static_cast<ITaskbarList3*>(list);
        }
    }
    return list_;
}

void TaskbarProgress::SetBusy(HWND window, bool busy) {
    busy_ = busy;
    Show(window);
}

void TaskbarProgress::SetProgress(HWND window, const PassProgress& progress) {
    progress_ = progress;
    Show(window);
}

// A share, once a write has counted its files, wins over the moving bar of its searches.
void TaskbarProgress::Show(HWND window) {
    const TBPFLAG state = progress_.total > 0 ? TBPF_NORMAL
                          : busy_             ? TBPF_INDETERMINATE
                                              : TBPF_NOPROGRESS;
    const PassProgress shown = state == TBPF_NORMAL ? progress_ : PassProgress{};
    if (state == shown_ && shown == shown_progress_) {
        return;
    }
    if (ITaskbarList3* list = List()) {
        if (state != shown_) {
            list->SetProgressState(window, state);
        }
        if (state == TBPF_NORMAL) {
            list->SetProgressValue(window, shown.done, shown.total);
        }
    }
    shown_ = state;
    shown_progress_ = shown;
    if (const TaskbarWatcher& watcher = Watcher()) {
        watcher(window, state, shown);
    }
}

void SetTaskbarWatcher(TaskbarWatcher watcher) {
    Watcher() = std::move(watcher);
}

}  // namespace rv::win32
