// SPDX-License-Identifier: MIT
#include "cli/cli_output.h"

#include <ostream>

#include "text/text.h"

namespace rv {

std::string JsonText(const nlohmann::json& json) {
    return json.dump(2, ' ', true, nlohmann::json::error_handler_t::replace) + "\n";
}

int Refuse(Console& console, bool json, int status, const std::string& message,
           const nlohmann::json& details) {
    console.err << "rv-addon-installer: " << ShownLines(message) << '\n' << std::flush;
    if (json) {
        nlohmann::json error = details;
        error["error"] = message;
        error["exit_status"] = status;
        console.out << JsonText(error);
    }
    return status;
}

std::string ShownLines(const std::string& text) {
    std::string shown;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        shown += text::ShownName(std::string_view(text).substr(start, end - start));
        if (end == std::string::npos) {
            return shown;
        }
        shown += '\n';
        start = end + 1;
    }
}

}  // namespace rv
