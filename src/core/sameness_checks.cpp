// SPDX-License-Identifier: MIT
#include "core/sameness_checks.h"

#include <chrono>
#include <system_error>

namespace rv {
namespace {

// Comparisons asked for and not yet made are kept to this many: enough for the thread never to
// wait while the pass copies, few enough that a pass stopped midway soon has them all made.
constexpr std::size_t kMostWaiting = 64;

}  // namespace

SamenessChecks::~SamenessChecks() {
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void SamenessChecks::Check(std::size_t index, const PassFile& file) {
    PassFile paths;
    paths.addon_path = file.addon_path;
    paths.target_path = file.target_path;
    std::unique_lock lock(mutex_);
    if (!thread_.joinable() && !no_thread_) {
        try {
            thread_ = std::thread([this] { Work(); });
        } catch (const std::system_error&) {
            no_thread_ = true;
        }
    }
    if (no_thread_) {
        done_.emplace_back(index, CompareWithTarget(paths));
        return;
    }
    changed_.wait(lock, [this] { return jobs_.size() < kMostWaiting; });
    jobs_.push_back({index, std::move(paths)});
    const bool thread_idle = jobs_.size() == 1 && !comparing_;
    lock.unlock();
    if (thread_idle) {
        changed_.notify_all();  // else it finds the job when done with its own
    }
}

void SamenessChecks::Collect(std::vector<PassFile>& files, const Noted& noted) {
    std::vector<std::pair<std::size_t, Sameness>> done;
    {
        const std::lock_guard lock(mutex_);
        done.swap(done_);
    }
    for (const auto& [index, sameness] : done) {
        files[index].sameness = sameness;
        noted(files[index]);
    }
}

void SamenessChecks::Finish(std::vector<PassFile>& files, const std::function<void()>& each,
                            const Noted& noted) {
    std::unique_lock lock(mutex_);
    while (!changed_.wait_for(lock, std::chrono::milliseconds(10),
                              [this] { return jobs_.empty() && !comparing_; })) {
        lock.unlock();
        each();
        lock.lock();
    }
    lock.unlock();
    Collect(files, noted);
}

void SamenessChecks::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return closing_ || !jobs_.empty(); });
        if (jobs_.empty()) {
            return;
        }
        const Job job = std::move(jobs_.front());
        const bool was_full = jobs_.size() == kMostWaiting;
        jobs_.pop_front();
        comparing_ = true;
        lock.unlock();
        if (was_full) {
            changed_.notify_all();  // room for the job waiting to be asked
        }
        const Sameness sameness = CompareWithTarget(job.file);
        lock.lock();
        comparing_ = false;
        done_.emplace_back(job.index, sameness);
        if (jobs_.empty()) {
            changed_.notify_all();  // all done, for Finish
        }
    }
}

}  // namespace rv
