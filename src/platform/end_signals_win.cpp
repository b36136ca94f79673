// SPDX-License-Identifier: MIT
#include <windows.h>

#include <atomic>

#include "platform/end_signals.h"

namespace rv::platform {
namespace {

// The exit code of a console program that Ctrl+C ended.
constexpr UINT kEndedByControlC = 0xC000013A;

std::atomic<bool> end_requested{false};
// Set when the pass no longer defers the end.
std::atomic<HANDLE> pass_over{nullptr};

// Runs on a thread of its own: notes the request for the pass to see.
BOOL WINAPI NoteEnd(DWORD event) {
    end_requested = true;
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        return TRUE;  // the pass ends the program once the copy under way is done
    }
    // The console closing, a log-off or a shutdown ends the program as soon as this returns, and
    // the system allows a few seconds: wait that long for the pass to stop.
    WaitForSingleObject(pass_over.load(), 4000);
    return FALSE;
}

}  // namespace

EndSignalsDeferred::EndSignalsDeferred() {
    end_requested = false;
    pass_over = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(NoteEnd, TRUE);
}

EndSignalsDeferred::~EndSignalsDeferred() {
    SetConsoleCtrlHandler(NoteEnd, FALSE);
    SetEvent(pass_over.load());
    if (end_requested) {
        ExitProcess(kEndedByControlC);
    }
    CloseHandle(pass_over.exchange(nullptr));
}

bool EndRequested() {
    return end_requested;
}

}  // namespace rv::platform
