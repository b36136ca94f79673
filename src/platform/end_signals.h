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

// True once such a signal came while an EndSignalsDeferred lives.
bool EndRequested();

}  // namespace rv::platform
