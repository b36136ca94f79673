// SPDX-License-Identifier: MIT
#include "window_win32/taskbar_progress.h"

namespace rv::win32 {

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
    if (busy == busy_) {
        return;
    }
    busy_ = busy;
    if (ITaskbarList3* list = List()) {
        list->SetProgressState(window, busy ? TBPF_INDETERMINATE : TBPF_NOPROGRESS);
    }
}

}  // namespace rv::win32
