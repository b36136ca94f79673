// SPDX-License-Identifier: MIT
#include "cli/command_line.h"

#include <map>

#include "platform/absolute_path.h"

namespace rv {

const char* const kCommandLineHelp =
    "Usage:\n"
    "  rv-addon-installer --read ADDON [--game FOLDER] [--edition 2003|2004] [--json]\n"
    "  rv-addon-installer --write ADDON [--game FOLDER] [--edition 2003|2004] [--json]\n"
    "  rv-addon-installer --list [--game FOLDER] [--json]\n"
    "  rv-addon-installer --remove RECEIPT [--yes] [--json]\n"
    "  rv-addon-installer -h | --help | --version\n"
    "  rv-addon-installer [FOLDER]     (the window)\n"
    "\n"
    "--read     counts the add-on's files per kind: read, written, already there, ready to\n"
    "           write, and prints the status line.\n"
    "--write    reads as --read does, then copies the add-on files the game folder does not\n"
    "           have yet; nothing is ever overwritten and no folder is created. Every write\n"
    "           that copies a file leaves a receipt in the user's data folder.\n"
    "--game     the game folder; without it the folder the edition is registered in\n"
    "           (RV2004 unless --edition says 2003), found as the window finds it. Folders\n"
    "           may be given as the program prints them, C:\\Games\\RV2004 included.\n"
    "--list     the receipts, newest first, only those of the game folder with --game.\n"
    "--remove   takes an add-on back out by its receipt (a name from --list): deletes only the\n"
    "           files that receipt wrote and that are still exactly as written and that no\n"
    "           other add-on relies on; lists every file it keeps and why. Asks once before\n"
    "           deleting; with --yes it asks nothing and lists each file as it deletes it.\n"
    "           Run again after an interruption to finish.\n"
    "--json     the result as JSON on standard output; an error as {\"error\": ...} there too.\n"
    "--version  the program's version.\n"
    "\n"
    "Exit status:\n"
    "  0    success\n"
    "  1    a file failed (listed on standard error), a removal was declined, stopped or kept\n"
    "       files it could not check, or the output could not be written\n"
    "  2    bad arguments\n"
    "  3    the game or add-on folder was not found (not registered, or not a folder)\n"
    "  130  ended by Ctrl+C, 143 by SIGTERM (128 and the signal's number): the last line says\n"
    "       what was done, and the receipt of what was written is kept\n";

bool AsksForCommandLine(const std::string& first_argument) {
    return first_argument.starts_with("--") || first_argument == "-h";
}

namespace {

struct OptionRule {
    bool takes_value;
    std::optional<Action> action;
};

const std::map<std::string, OptionRule>& Options() {
    static const std::map<std::string, OptionRule> options = {
        {"--help", {false, Action::Help}},       {"-h", {false, Action::Help}},
        {"--version", {false, Action::Version}}, {"--read", {true, Action::Read}},
        {"--write", {true, Action::Write}},      {"--list", {false, Action::List}},
        {"--remove", {true, Action::Remove}},    {"--game", {true, std::nullopt}},
        {"--edition", {true, std::nullopt}},     {"--yes", {false, std::nullopt}},
        {"--json", {false, std::nullopt}},
    };
    return options;
}

// What is wrong with options that do not go with the action, if anything.
std::string Mismatch(const CommandLine& command) {
    const bool pass = command.action == Action::Read || command.action == Action::Write;
    if (command.edition && !pass) {
        return "--edition goes with --read or --write only";
    }
    if (command.game && !pass && command.action != Action::List) {
        return "--game goes with --read, --write or --list only";
    }
    if (command.yes && command.action != Action::Remove) {
        return "--yes goes with --remove only";
    }
    return {};
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine command;
    std::optional<Action> action;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        const auto option = Options().find(name);
        if (option == Options().end()) {
            return {{}, "unknown argument " + name};
        }
        std::string value;
        if (option->second.takes_value) {
            if (i + 1 == arguments.size() || arguments[i + 1].empty()) {
                return {{}, name + " needs a value"};
            }
            value = arguments[++i];
        }
        if (option->second.action) {
            if (action) {
                return {{},
                        "give only one of --read, --write, --list, --remove, --help, --version"};
            }
            action = option->second.action;
            if (*action == Action::Remove) {
                command.receipt = value;
            } else if (!value.empty()) {
                command.addon =
                    platform::AbsolutePath(value);  // receipts outlive the working folder
            }
        } else if (name == "--game") {
            command.game = platform::AbsolutePath(value);
        } else if (name == "--edition") {
            if (value != "2003" && value != "2004") {
                return {{}, "--edition takes 2003 or 2004"};
            }
            command.edition = "RV" + value;
        } else {
            (name == "--yes" ? command.yes : command.json) = true;
        }
    }
    if (!action) {
        return {{}, "give one of --read, --write, --list, --remove, --help, --version"};
    }
    command.action = *action;
    if (std::string mismatch = Mismatch(command); !mismatch.empty()) {
        return {{}, std::move(mismatch)};
    }
    return {command, {}};
}

}  // namespace rv
