// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace rv {

// The failures of a pass, one line each, as the status line's tooltip shows them: the first 20,
// then how many more there are. A pass with 100,000 failures so keeps and shows 21 lines. A line
// is shown as names are shown (text::ShownName), so a name cannot break it into more.
class FailureList {
public:
    void Add(std::string_view line);
    std::string ToolTip() const;

private:
    static constexpr std::size_t kShown = 20;

    std::vector<std::string> shown_;
    std::size_t more_ = 0;
};

}  // namespace rv
