// SPDX-License-Identifier: MIT
#include "cli/run_command.h"

#include <algorithm>
#include <iostream>

#include "cli/cli_output.h"
#include "cli/command_line.h"
#include "cli/exit_status.h"
#include "cli/pass_command.h"
#include "cli/receipt_commands.h"
#include "platform/end_signals.h"
#include "text/version.h"

namespace rv {
namespace {

int RunAction(const std::vector<std::string>& arguments, Console& console) {
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    if (!parsed.command) {
        const bool json =
            std::find(arguments.begin(), arguments.end(), "--json") != arguments.end();
        const int status = Refuse(console, json, exit_status::kBadArguments, parsed.problem);
        console.err << "Try rv-addon-installer --help for the options.\n";
        return status;
    }
    switch (parsed.command->action) {
        case Action::Help:
            console.out << kCommandLineHelp;
            return exit_status::kSuccess;
        case Action::Version:
            console.out << "rv-addon-installer " << kProgramVersion << '\n';
            return exit_status::kSuccess;
        case Action::Read:
        case Action::Write:
            return RunPass(*parsed.command, console);
        case Action::List:
            return ListReceipts(*parsed.command, console);
        case Action::Remove:
            return RemoveReceipt(*parsed.command, console);
    }
    return exit_status::kBadArguments;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& arguments, Console& console) {
    platform::WritesToClosedPipesFail();
    const int status = RunAction(arguments, console);
    // Output that did not reach its reader is a failure, whatever the action did.
    if (console.out.flush()) {
        return status;
    }
    console.err << "rv-addon-installer: the output could not be written\n" << std::flush;
    return status == exit_status::kSuccess ? exit_status::kFailed : status;
}

}  // namespace rv
