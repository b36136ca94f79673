// SPDX-License-Identifier: MIT
#include "cli/command_line.h"

#include <filesystem>
#include <map>

namespace rv {

const char* const kCommandLineHelp =
    "Usage:\n"
    "  rv-addon-installer --read ADDON [--game FOLDER] [--edition 2003|2004] [--json]\n"
    "  rv-addon-installer --write ADDON [--game FOLDER] [--edition 2003|2004] [--json]\n"
    "  rv-addon-installer --list [--game FOLDER] [--json]\n"
    "  rv-addon-installer --remove RECEIPT [--yes] [--json]\n"
    "  rv-addon-installer [FOLDER]     (the window)\n"
    "\n"
    "--read     counts the add-on's files per kind: read, written, already there, ready to\n"
    "           write, and prints the status line.\n"
    "--write    copies the add-on files the game folder does not have yet; nothing is ever\n"
    "           overwritten and no folder is created. Every write that copies a file leaves a\n"
    "           receipt in the user's data folder.\n"
    "--game     the game folder; without it the folder the edition is registered in\n"
    "           (RV2004 unless --edition says 2003), found as the window finds it.\n"
    "--list     the receipts, newest first, only those of the game folder with --game.\n"
    "--remove   takes an add-on back out by its receipt (a name from --list): deletes only the\n"
    "           files that receipt wrote and that are still exactly as written and that no\n"
    "           other add-on relies on; lists every file it keeps and why. Asks once before\n"
    "           deleting unless --yes is given. Run again after an interruption to finish.\n"
    "--json     the result as JSON on standard output.\n"
    "\n"
    "Exit status: 0 success; 1 some file failed (listed on standard error), or the removal\n"
    "was declined or stopped; 2 bad arguments.\n";

namespace {

struct OptionRule {
    bool takes_value;
    std::optional<Action> action;
};

const std::map<std::string, OptionRule>& Options() {
    static const std::map<std::string, OptionRule> options = {
        {"--help", {false, Action::Help}},    {"--read", {true, Action::Read}},
        {"--write", {true, Action::Write}},   {"--list", {false, Action::List}},
        {"--remove", {true, Action::Remove}}, {"--game", {true, std::nullopt}},
        {"--edition", {true, std::nullopt}},  {"--yes", {false, std::nullopt}},
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

// Receipts outlive the working folder, so every folder is kept as an absolute path.
std::string Absolute(const std::string& path) {
    const std::u8string utf8(path.begin(), path.end());
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(utf8, error);
    const std::u8string text = error ? utf8 : absolute.lexically_normal().u8string();
    std::string result(text.begin(), text.end());
    while (result.size() > 1 && (result.back() == '/' || result.back() == '\\') &&
           result[result.size() - 2] != ':') {
        result.pop_back();
    }
    return result;
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
                return {{}, "give only one of --read, --write, --list, --remove, --help"};
            }
            action = option->second.action;
            if (*action == Action::Remove) {
                command.receipt = value;
            } else if (!value.empty()) {
                command.addon = Absolute(value);
            }
        } else if (name == "--game") {
            command.game = Absolute(value);
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
        return {{}, "give one of --read, --write, --list, --remove, --help"};
    }
    command.action = *action;
    if (std::string mismatch = Mismatch(command); !mismatch.empty()) {
        return {{}, std::move(mismatch)};
    }
    return {command, {}};
}

}  // namespace rv
