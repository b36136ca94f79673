// SPDX-License-Identifier: MIT
#pragma once

// The signals that end the program while a write pass runs: SIGTERM, SIGINT and SIGHUP on Linux;
// Ctrl+C, Ctrl+Break and the console closing on Windows.
namespace rv::platform {

// While it lives, such a signal only asks the pass to stop, so the copy under way can remove its
// unfinished file first; when it goes, a signal that came meanwhile ends the program as it would
// have at once. A signal the program ignores stays ignored. On Windows only a program run from
// a console gets them; a window is ended through its window.
class EndSignalsDeferred {
public:
    EndSignalsDeferred();
    ~EndSignalsDeferred();
    EndSignalsDeferred(const EndSignalsDeferred&) = delete;
    EndSignalsDeferred& operator=(const EndSignalsDeferred&) = delete;
};

// While it lives, such a signal only asks the pass to stop, and the program is not ended when
// the pass's EndSignalsDeferred goes either: the command line then says what was done and ends
// with the status of the signal itself (EndSignal).
class EndSignalsAnswered {
public:
    EndSignalsAnswered();
    ~EndSignalsAnswered();
    EndSignalsAnswered(const EndSignalsAnswered&) = delete;
    EndSignalsAnswered& operator=(const EndSignalsAnswered&) = delete;
};

// True once such a signal came while an EndSignalsDeferred or EndSignalsAnswered lives.
bool EndRequested();

// The signal that came (SIGINT, SIGTERM or SIGHUP; on Windows SIGINT for Ctrl+C, SIGBREAK for
// Ctrl+Break and SIGTERM for the console closing), 0 when none came.
int EndSignal();

// From now on a reader that went away (a closed pipe) ends nothing: writing to it fails, and the
// output stream says so. Windows does so anyway.
void WritesToClosedPipesFail();

}  // namespace rv::platform
