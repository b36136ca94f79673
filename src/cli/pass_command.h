// SPDX-License-Identifier: MIT
#pragma once

#include "cli/command_line.h"
#include "cli/run_command.h"

namespace rv {

// --read, and --write, which reads first as the window's Read then Write does: prints the
// counters and the status line, or the pass as JSON, and returns the exit status.
int RunPass(const CommandLine& command, Console& console);

}  // namespace rv
