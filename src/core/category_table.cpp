// SPDX-License-Identifier: MIT
#include "core/category_table.h"

#include "platform/file_system.h"
#include "text/text.h"

namespace rv {

std::string MatchSuffix(std::string_view pattern) {
    std::string suffix = text::UpperAscii(text::TrimSpaces(pattern));
    if (suffix.empty()) {
        return suffix;
    }
    if (suffix.front() == '*') {
        const auto dot = suffix.find('.');
        if (dot != std::string::npos) {
            suffix.erase(0, dot + 1);
        }
    }
    return suffix;
}

}  // namespace rv
