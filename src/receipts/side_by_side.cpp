// SPDX-License-Identifier: MIT
#include "receipts/side_by_side.h"

#include <algorithm>
#include <atomic>
#include <future>
#include <system_error>
#include <thread>
#include <vector>

namespace rv {

std::size_t ThreadsFor(std::size_t count) {
    constexpr std::size_t kLeastShare = 256;  // files: a few milliseconds' work
    constexpr std::size_t kMostThreads = 8;
    return std::clamp<std::size_t>(
        std::min<std::size_t>(std::thread::hardware_concurrency(), count / kLeastShare), 1,
        kMostThreads);
}

void SideBySide(std::size_t count, std::size_t threads,
                const std::function<bool(std::size_t thread, std::size_t item)>& job) {
    constexpr std::size_t kTaken = 32;  // items taken at once
    std::atomic<std::size_t> next{0};
    const auto share = [&](std::size_t thread) {
        for (std::size_t first = next.fetch_add(kTaken); first < count;
             first = next.fetch_add(kTaken)) {
            for (std::size_t item = first; item < std::min(first + kTaken, count); ++item) {
                if (!job(thread, item)) {
                    return;
                }
            }
        }
    };
    std::vector<std::future<void>> others;
    for (std::size_t thread = 1; thread < threads; ++thread) {
        try {
            others.push_back(std::async(std::launch::async, share, thread));
        } catch (const std::system_error&) {
            others.push_back(std::async(std::launch::deferred, share, thread));
        }
    }
    share(0);
    for (std::future<void>& other : others) {
        other.get();
    }
}

}  // namespace rv
