// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/add_on_walk.h"
#include "core/category_table.h"
#include "core/failure_list.h"
#include "core/file_counters.h"
#include "core/sameness_checks.h"
#include "core/window_operations.h"

// Small pieces both passes share.
namespace rv {

inline constexpr Control kStatusLabel{names::lbl_status};
inline constexpr Control kWriteButton{names::cmd_write};

// The member of the category's counter label array that shows the group.
constexpr Control CounterLabel(Category category, CounterKind kind) {
    return Control{Info(category).counter_label, static_cast<int>(kind)};
}

// One add-on file of a row, as both passes handle it.
struct RowFile {
    const WalkedFile& walked;
    Category category;
    std::string name;  // the name as both passes check it: cut from the path, spaces trimmed
};

// Calls `each` for every walked file that matches the row's pattern, until it returns false;
// false then.
bool EachRowFile(const CategoryRow& row, const AddOnWalk& walk,
                 const std::function<bool(const RowFile&)>& each);

// What became of one file the write pass handled.
enum class InstallOutcome {
    Written,
    AlreadyThere,  // there before the pass, or the name was taken after it looked
    Failed,
    Stopped,  // the window is closing or the program is ending: nothing more is copied
};

// What a write pass gathers as it goes.
struct WriteTally {
    explicit WriteTally(bool receipt) : keeping_receipt(receipt) {}

    // Counts a failed copy and lists its source path and reason.
    void Fail(const std::string& path, const std::string& reason) {
        if (failed < FileCounters::kMax) {
            ++failed;
        }
        failures.Add(path + ": " + reason);
    }

    // A receipt needs what was written, learnt as each file is copied, and whether a file
    // already there is the add-on's own, compared beside the pass.
    const bool keeping_receipt;
    std::int32_t failed = 0;
    FailureList failures;  // one line per failed copy
    SamenessChecks sameness;
};

// Marks a pass as running for as long as it is in scope, so clicks taken while it yields are
// refused.
class PassScope {
public:
    explicit PassScope(bool& running) : running_(running) { running_ = true; }
    ~PassScope() { running_ = false; }
    PassScope(const PassScope&) = delete;
    PassScope& operator=(const PassScope&) = delete;

private:
    bool& running_;
};

}  // namespace rv
