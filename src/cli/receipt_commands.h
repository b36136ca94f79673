// SPDX-License-Identifier: MIT
#pragma once

#include "cli/command_line.h"
#include "cli/run_command.h"

namespace rv {

// --list: the receipts, newest first.
int ListReceipts(const CommandLine& command, Console& console);

// --remove: shows what would be deleted and kept, asks once unless --yes, then removes.
int RemoveReceipt(const CommandLine& command, Console& console);

}  // namespace rv
