// SPDX-License-Identifier: MIT
#include "core/file_counters.h"

#include <algorithm>

namespace rv {
namespace {

constexpr std::size_t Slot(Category category) {
    return static_cast<std::size_t>(category);
}
constexpr std::size_t kTotalSlot = kCategoryCount;

}  // namespace

std::int32_t FileCounters::Count(CounterKind kind, Category category) const {
    return groups_[static_cast<std::size_t>(kind)][Slot(category)];
}

std::int32_t FileCounters::Total(CounterKind kind) const {
    return groups_[static_cast<std::size_t>(kind)][kTotalSlot];
}

std::int32_t FileCounters::Increment(CounterKind kind, Category category) {
    std::int32_t& count = groups_[static_cast<std::size_t>(kind)][Slot(category)];
    if (count < max_) {
        ++count;
    }
    return count;
}

void FileCounters::Clear(CounterKind kind, Category category) {
    groups_[static_cast<std::size_t>(kind)][Slot(category)] = 0;
}

void FileCounters::ClearTotal(CounterKind kind) {
    groups_[static_cast<std::size_t>(kind)][kTotalSlot] = 0;
}

std::int32_t FileCounters::SumIntoTotal(CounterKind kind) {
    Group& group = groups_[static_cast<std::size_t>(kind)];
    std::int64_t sum = 0;
    for (std::size_t slot = 0; slot < kCategoryCount; ++slot) {
        sum += group[slot];
    }
    group[kTotalSlot] = static_cast<std::int32_t>(std::min<std::int64_t>(sum, max_));
    return group[kTotalSlot];
}

}  // namespace rv
