// SPDX-License-Identifier: MIT
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace rv {

// What the command line works with: its three streams, the registry the game folder is looked
// up in, and the folder of the receipts.
struct Console {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    platform::RegistryBackend& registry;
    std::string receipt_folder;
};

// Runs the command line (the arguments after the program's name) without any window and
// returns the exit status (cli/exit_status.h).
int RunCommandLine(const std::vector<std::string>& arguments, Console& console);

}  // namespace rv
