// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "core/category_table.h"
#include "core/window_operations.h"

// Small pieces both passes share.
namespace rv {

inline constexpr Control kStatusLabel{names::lbl_status};
inline constexpr Control kWriteButton{names::cmd_write};

// The member of the category's counter label array that shows the group.
constexpr Control CounterLabel(Category category, CounterKind kind) {
    return Control{Info(category).counter_label, static_cast<int>(kind)};
}

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
