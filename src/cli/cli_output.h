// SPDX-License-Identifier: MIT
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "cli/run_command.h"

// How the command line answers: JSON in one style, refusals on both streams.
namespace rv {

// The JSON text, two spaces indented: every character outside ASCII is written as \uXXXX, so no
// name can reach a terminal as a control sequence; bytes that are not UTF-8 become U+FFFD.
std::string JsonText(const nlohmann::json& json);

// Says what is wrong on standard error ("rv-addon-installer: " and the message, its names shown
// as the window shows them); with --json also on standard output as {"error": message,
// "exit_status": status} and the details. Returns the status.
int Refuse(Console& console, bool json, int status, const std::string& message,
           const nlohmann::json& details = nlohmann::json::object());

// The text with each line's names shown as the window shows them: control characters escaped.
std::string ShownLines(const std::string& text);

}  // namespace rv
