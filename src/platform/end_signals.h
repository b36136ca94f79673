// SPDX-License-Identifier: MIT
#pragma once

// The signals that end the program (SIGTERM, SIGINT, SIGHUP on Linux) while a write pass runs.
namespace rv::platform {

// While it lives, such a signal only asks the pass to stop, so the copy under way can remove its
// unfinished file first; when it goes, a signal that came meanwhile ends the program as it would
// have at once. A signal the program ignores stays ignored. Does nothing on Windows, where a
// windowed program is ended through its window.
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
