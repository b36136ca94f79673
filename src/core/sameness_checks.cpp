// SPDX-License-Identifier: MIT
#include "core/sameness_checks.h"

#include <chrono>
#include <system_error>

namespace rv {
namespace {

// Comparisons asked for and not yet made are kept to this many: enough for the thread never to
// wait while the pass copies, few enough that a pass stopped midway soon has them all made, and
// that the paths held beside the record stay few.
constexpr std::size_t kMostWaiting = 64;

}  // namespace

SamenessChecks::~SamenessChecks() {
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
        jobs_.clear();
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

bool SamenessChecks::HaveThread() {
    if (!thread_.joinable() && !no_thread_) {
        try {
            thread_ = std::thread([this] { Work(); });
        } catch (const std::system_error&) {
            no_thread_ = true;
        }
    }
    return !no_thread_;
}

void SamenessChecks::Queue(std::unique_lock<std::mutex>& lock, std::size_t index,
                           const PassFile& file) {
    PassFile paths;
    paths.addon_path = file.addon_path;
    paths.target_path = file.target_path;
    jobs_.push_back({index, std::move(paths)});
    const bool thread_idle = jobs_.size() == 1 && !comparing_;
    lock.unlock();
    if (thread_idle) {
        changed_.notify_all();  // else it finds the job when done with its own
    }
}

void SamenessChecks::Check(std::size_t index, const PassFile& file) {
    std::unique_lock lock(mutex_);
    if (!HaveThread()) {
        done_.emplace_back(index, CompareWithTarget(file));
        return;
    }
    changed_.wait(lock, [this] { return jobs_.size() < kMostWaiting; });
    Queue(lock, index, file);
}

bool SamenessChecks::Offer(std::size_t index, const PassFile& file) {
    std::unique_lock lock(mutex_);
    if (!HaveThread()) {
        done_.emplace_back(index, CompareWithTarget(file));
        return true;
    }
    if (jobs_.size() >= kMostWaiting) {
        return false;
    }
    Queue(lock, index, file);
    return true;
}

bool SamenessChecks::Collect(std::vector<PassFile>& files, const Noted& noted) {
    std::vector<std::pair<std::size_t, Sameness>> done;
    bool idle = false;
    {
        const std::lock_guard lock(mutex_);
        done.swap(done_);
        idle = jobs_.empty() && !comparing_;
    }
    for (const auto& [index, sameness] : done) {
        files[index].sameness = sameness;
        if (noted) {
            noted(files[index]);
        }
    }
    return idle;
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
        const bool half_empty = jobs_.size() == kMostWaiting / 2;
        comparing_ = true;
        lock.unlock();
        if (was_full) {
            changed_.notify_all();  // room for the job waiting to be asked
        }
        if (half_empty && wanted_) {
            wanted_();  // room for more, asked for while these are made
        }
        const Sameness sameness = CompareWithTarget(job.file);
        lock.lock();
        comparing_ = false;
        done_.emplace_back(job.index, sameness);
        if (jobs_.empty()) {
            changed_.notify_all();  // all done, for Finish
            if (wanted_) {
                lock.unlock();
                wanted_();
                lock.lock();
            }
        }
    }
}

bool ReadComparisons::Tend(std::vector<PassFile>& files) {
    for (; next_ < files.size(); ++next_) {
        const PassFile& file = files[next_];
        if (file.state == FileState::AlreadyThere && !checks_.Offer(next_, file)) {
            break;
        }
    }
    // Collected after asking: what the thread finished meanwhile would bring no further call.
    return checks_.Collect(files) && next_ == files.size();
}

void ReadComparisons::Finish(std::vector<PassFile>& files) {
    for (; next_ < files.size(); ++next_) {
        if (files[next_].state == FileState::AlreadyThere) {
            checks_.Check(next_, files[next_]);
        }
    }
    checks_.Finish(files, [] {}, {});
}

}  // namespace rv
