// SPDX-License-Identifier: MIT
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/pass_record.h"

namespace rv {

// Compares the files a write pass finds already there with the add-on's own on a thread of its
// own, while the pass goes on copying: a comparison reads both files whole, and on the window's
// thread it would cost as much as the copies themselves. Without a thread to be had, each
// comparison is made when it is asked for.
class SamenessChecks {
public:
    SamenessChecks() = default;
    ~SamenessChecks();
    SamenessChecks(const SamenessChecks&) = delete;
    SamenessChecks& operator=(const SamenessChecks&) = delete;

    // Asks for the file's comparison; `index` is its place in the pass record.
    void Check(std::size_t index, const PassFile& file);
    // Notes in the record the outcome of each comparison made since the last call, and calls
    // `noted` with each file so noted.
    using Noted = std::function<void(const PassFile&)>;
    void Collect(std::vector<PassFile>& files, const Noted& noted);
    // Waits for every comparison asked for, calling `each` every few milliseconds meanwhile, and
    // collects them all.
    void Finish(std::vector<PassFile>& files, const std::function<void()>& each,
                const Noted& noted);

private:
    struct Job {
        std::size_t index;
        PassFile file;  // the two paths
    };
    void Work();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> jobs_;
    std::vector<std::pair<std::size_t, Sameness>> done_;
    bool comparing_ = false;  // the thread holds a job
    bool closing_ = false;
    bool no_thread_ = false;  // none could be started: each comparison is made in Check
    std::thread thread_;      // started by the first Check
};

}  // namespace rv
