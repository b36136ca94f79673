#include "core/failure_list.h"

#include <utility>

namespace rv {

void FailureList::Add(std::string line) {
    if (shown_.size() < kShown) {
        shown_.push_back(std::move(line));
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
