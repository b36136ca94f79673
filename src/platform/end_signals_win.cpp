// SPDX-License-Identifier: MIT
#include <windows.h>

#include <atomic>
#include <csignal>

#include "platform/end_signals.h"
#include "platform/end_signals_system.h"

namespace rv::platform {
namespace {

// The exit code of a console program that Ctrl+C ended.
constexpr UINT kEndedByControlC = 0xC000013A;

std::atomic<int> end_signal{0};
// Set when the pass no longer defers the end.
std::atomic<HANDLE> pass_over{nullptr};

// Runs on a thread of its own: notes the request for the pass to see.
BOOL WINAPI NoteEnd(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        end_signal = event == CTRL_C_EVENT ? SIGINT : SIGBREAK;
        return TRUE;  // the pass ends the program once the copy under way is done
    }
    // The console closing, a log-off or a shutdown ends the program as soon as this returns, and
    // the system allows a few seconds: wait that long for the pass to stop.
    end_signal = SIGTERM;
    WaitForSingleObject(pass_over.load(), 4000);
    return FALSE;
}

}  // namespace

void DeferEndSignals() {
    end_signal = 0;
    pass_over = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(NoteEnd, TRUE);
}

void RestoreEndSignals(bool end_now) {
    SetConsoleCtrlHandler(NoteEnd, FALSE);
    SetEvent(pass_over.load());
    if (end_now && end_signal != 0) {
        ExitProcess(kEndedByControlC);
    }
    CloseHandle(pass_over.exchange(nullptr));
}

int EndSignal() {
    return end_signal;
}

void WritesToClosedPipesFail() {}

}  // namespace rv::platform
