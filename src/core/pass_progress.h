// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <span>

#include "core/add_on_walk.h"
#include "core/category_table.h"
#include "core/window_operations.h"

namespace rv {

// How many files of the walk the rows handle: a file is counted once for each row that matches
// it, as the passes take it once for each.
std::size_t FilesOfRows(std::span<const CategoryRow> rows, const AddOnWalk& walk);

// Tells the window how far a pass has come: nothing before Start, then the files handled of the
// total, each time they have grown by a fiftieth of it, and no progress once it goes out of
// scope. Reports cost one comparison per file between them.
class ProgressReport {
public:
    explicit ProgressReport(WindowOperations& window) : window_(window) {}
    ~ProgressReport();
    ProgressReport(const ProgressReport&) = delete;
    ProgressReport& operator=(const ProgressReport&) = delete;

    void Start(std::size_t total);
    // One more file handled.
    void Handled() {
        if (++done_ >= next_) {
            Report();
        }
    }

private:
    void Report();

    WindowOperations& window_;
    std::size_t total_ = 0;
    std::size_t done_ = 0;
    std::size_t next_ = 0;  // the count of handled files at which to report next
    bool started_ = false;
};

}  // namespace rv
