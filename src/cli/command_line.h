// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace rv {

enum class Action { Help, Version, Read, Write, List, Remove };

struct CommandLine {
    Action action = Action::Help;
    std::string addon;    // --read / --write
    std::string receipt;  // --remove
    std::optional<std::string> game;
    std::optional<std::string> edition;  // "RV2003" or "RV2004"
    bool yes = false;
    bool json = false;
};

// The command line, or what is wrong with it in one sentence.
struct ParsedCommandLine {
    std::optional<CommandLine> command;
    std::string problem;
};
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

extern const char* const kCommandLineHelp;

// True when the program's first argument asks for the command line rather than the window: an
// option ("--read", "--help", ...) or "-h".
bool AsksForCommandLine(const std::string& first_argument);

}  // namespace rv
