// SPDX-License-Identifier: MIT
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "support/test_registry.h"

namespace rv::test {

// Where the program's standard output goes: a file the test reads, a full device, or a pipe
// whose reader is gone before the program starts.
enum class Output { Captured, Full, ClosedPipe };

struct ProgramRan {
    int status = -1;  // the exit status; minus the signal's number when a signal ended it
    std::string out, err;
};

// Runs the real program with the arguments, with no display, the answer on standard input, and
// `meanwhile` called with its process id while it runs.
ProgramRan RunProgram(const std::vector<std::string>& arguments, Output output = Output::Captured,
                      const std::string& answer = "",
                      const std::function<void(pid_t)>& meanwhile = {});

// An add-on (add: a.rv2 the game lacks, c.u it has) and a game folder registered as RV2004 in the
// test's Wine prefix, and a game folder that has only System (bare).
struct ProgramFolders {
    ProgramFolders();
    // The folder below the prefix's C: drive, as Linux names it.
    std::string Path(const std::string& relative) const;
    // ADD, GAME, BARE and MANY stand for those folders; WINADD and WINGAME for add and game in
    // the Windows form the program prints (C:\t\add).
    std::vector<std::string> Expand(std::vector<std::string> arguments) const;
    void AddFile(const std::string& relative, const std::string& content = "data") const;

    TestRegistry registry;
};

// True when the text holds nothing a terminal takes as a control: no C0 control but the line
// break, no DEL, no C1 control.
bool TerminalSafe(const std::string& text);

}  // namespace rv::test
