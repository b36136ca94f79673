// SPDX-License-Identifier: MIT
#include "core/pass_progress.h"

#include <algorithm>
#include <string>

namespace rv {

namespace {

// Reports come every fiftieth of the files, so a window is told of every 2 percent at most.
constexpr std::size_t kReports = 50;

}  // namespace

std::size_t FilesOfRows(std::span<const CategoryRow> rows, const AddOnWalk& walk) {
    std::size_t files = 0;
    for (const CategoryRow& row : rows) {
        const std::string suffix = MatchSuffix(row.pattern);
        files += static_cast<std::size_t>(std::count_if(
            walk.files.begin(), walk.files.end(),
            [&](const WalkedFile& file) { return NameMatches(file.Name(), suffix); }));
    }
    return files;
}

ProgressReport::~ProgressReport() {
    if (started_) {
        window_.ShowProgress(PassProgress{});
    }
}

void ProgressReport::Start(std::size_t total) {
    started_ = true;
    total_ = total;
    done_ = 0;
    next_ = 0;
    Report();
}

void ProgressReport::Report() {
    window_.ShowProgress({done_, total_});
    next_ = std::min(done_ + std::max<std::size_t>(total_ / kReports, 1), total_);
}

}  // namespace rv
