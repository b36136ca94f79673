// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace rv {

// A yes/no question over a list that may be long: a short text, then the lines (one file each,
// with the headings between them), which a window shows in a list that scrolls.
struct ListQuestion {
    std::string text;
    std::vector<std::string> lines;
};

}  // namespace rv
