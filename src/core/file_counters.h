// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>

#include "core/category_table.h"

namespace rv {

// The 32 counters of the two passes: for each counter group one count per Category and the
// group's total. Counts are 32-bit signed and saturate at their maximum instead of overflowing;
// a total is summed in 64 bits and saturates the same way.
class FileCounters {
public:
    static constexpr std::int32_t kMax = INT32_MAX;

    // A lower limit than kMax lets a test reach it.
    explicit FileCounters(std::int32_t max = kMax) : max_(max) {}

    std::int32_t Count(CounterKind kind, Category category) const;
    std::int32_t Total(CounterKind kind) const;

    // Adds 1 (unless the count is at the limit) and returns the new count.
    std::int32_t Increment(CounterKind kind, Category category);
    void Clear(CounterKind kind, Category category);
    void ClearTotal(CounterKind kind);
    // Stores the sum of the group's seven counts as its total and returns it.
    std::int32_t SumIntoTotal(CounterKind kind);

private:
    // One slot per category followed by the total.
    using Group = std::array<std::int32_t, kCategoryCount + 1>;
    std::array<Group, kCounterKindCount> groups_{};  // indexed by the kind's number
    std::int32_t max_;
};

}  // namespace rv
