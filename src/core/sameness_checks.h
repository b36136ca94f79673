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

// Compares files found already there with the add-on's own on a thread of its own: a comparison
// reads both files whole, and on the window's thread it would cost as much as the copies
// themselves. A write pass asks for each as it meets the file and gathers them at its end; after
// a read pass ReadComparisons hands them over a few at a time while the window goes on
// answering. Without a thread to be had, each comparison is made when it is asked for. What is
// still waiting when the object goes is dropped; a comparison under way is finished first.
class SamenessChecks {
public:
    // `wanted`, when given, is called on the comparing thread whenever the one that asks has
    // something to do: there is room for more comparisons, or every one asked for is made.
    explicit SamenessChecks(std::function<void()> wanted = {}) : wanted_(std::move(wanted)) {}
    ~SamenessChecks();
    SamenessChecks(const SamenessChecks&) = delete;
    SamenessChecks& operator=(const SamenessChecks&) = delete;

    // Asks for the file's comparison; `index` is its place in the pass record. Check waits for
    // room when many are waiting already; Offer never waits and is false then.
    void Check(std::size_t index, const PassFile& file);
    bool Offer(std::size_t index, const PassFile& file);
    // Notes in the record each outcome made since the last call, and calls `noted` (if any) with
    // each file so noted; true when none is left to make.
    using Noted = std::function<void(const PassFile&)>;
    bool Collect(std::vector<PassFile>& files, const Noted& noted = {});
    // Waits for every comparison asked for, calling `each` every few milliseconds meanwhile, and
    // collects them all.
    void Finish(std::vector<PassFile>& files, const std::function<void()>& each,
                const Noted& noted);

private:
    struct Job {
        std::size_t index;
        PassFile file;  // the two paths
    };
    // With the lock held: false when the job can only be made at once, without a thread.
    bool HaveThread();
    void Queue(std::unique_lock<std::mutex>& lock, std::size_t index, const PassFile& file);
    void Work();

    const std::function<void()> wanted_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> jobs_;
    std::vector<std::pair<std::size_t, Sameness>> done_;
    bool comparing_ = false;  // the thread holds a job
    bool closing_ = false;
    bool no_thread_ = false;  // none could be started: each comparison is made when asked for
    std::thread thread_;      // started by the first request
};

// The comparisons of the files a read pass found already there, made after the pass: the read
// stays as quick as the walk, and the window answers while they run. The window's thread tends
// them whenever `wanted` (called on the comparing thread) says so.
class ReadComparisons {
public:
    explicit ReadComparisons(std::function<void()> wanted) : checks_(std::move(wanted)) {}

    // Notes the outcomes made so far in the record and asks for the next files' comparisons, as
    // many as there is room for. True once every file already there is compared.
    bool Tend(std::vector<PassFile>& files);
    // Makes every comparison left before it returns.
    void Finish(std::vector<PassFile>& files);

private:
    SamenessChecks checks_;
    std::size_t next_ = 0;  // the first file of the record not yet asked for
};

}  // namespace rv
