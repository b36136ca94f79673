// SPDX-License-Identifier: MIT
#include "receipts/side_by_side.h"

#include <algorithm>
#include <future>
#include <system_error>
#include <thread>
#include <vector>

namespace rv {

std::size_t SlicesFor(std::size_t count) {
    constexpr std::size_t kLeastSlice = 256;  // files: a few milliseconds' work
    constexpr std::size_t kMostThreads = 8;
    return std::clamp<std::size_t>(
        std::min<std::size_t>(std::thread::hardware_concurrency(), count / kLeastSlice), 1,
        kMostThreads);
}

void SideBySide(std::size_t slices, const std::function<void(std::size_t slice)>& job) {
    std::vector<std::future<void>> others;
    for (std::size_t slice = 1; slice < slices; ++slice) {
        try {
            others.push_back(std::async(std::launch::async, job, slice));
        } catch (const std::system_error&) {
            others.push_back(std::async(std::launch::deferred, job, slice));
        }
    }
    if (slices > 0) {
        job(0);
    }
    for (std::future<void>& other : others) {
        other.get();
    }
}

}  // namespace rv
