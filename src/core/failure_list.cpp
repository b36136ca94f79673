// SPDX-License-Identifier: MIT
#include "core/failure_list.h"

#include <string>

#include "text/text.h"

namespace rv {

void FailureList::Add(std::string_view line) {
    if (shown_.size() < kShown) {
        shown_.push_back(text::ShownName(line));
    } else {
        ++more_;
    }
}

std::string FailureList::ToolTip() const {
    std::string text;
    for (const std::string& line : shown_) {
        if (!text.empty()) {
            text += '\n';
        }
        text += line;
    }
    if (more_ > 0) {
        text += "\n... and " + std::to_string(more_) + " more";
    }
    return text;
}

}  // namespace rv
