// SPDX-License-Identifier: MIT
#include "receipts/written_count.h"

#include <algorithm>
#include <limits>
#include <system_error>
#include <utility>

#include "receipts/game_files.h"
#include "receipts/side_by_side.h"

namespace rv {
namespace {

constexpr std::size_t kChunk = 4096;  // files handed to a thread at once

}  // namespace

WrittenFiles CountWritten(const Receipt& receipt) {
    WrittenFiles count;
    const GameFiles files(receipt.game);
    for (const ReceiptFile& file : receipt.files) {
        if (file.outcome == Outcome::Written) {
            ++count.written;
            count.still_as_written +=
                !file.deleted && files.Check(file, Scrutiny::SizeAndTime).look == Look::AsWritten
                    ? 1
                    : 0;
        }
    }
    return count;
}

WrittenCounter::~WrittenCounter() {
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
        next_ = chunks_.size();  // what is not counted yet never will be
    }
    more_.notify_all();
    for (std::thread& looker : lookers_) {
        if (looker.joinable()) {
            looker.join();
        }
    }
}

FileSink WrittenCounter::Sink() {
    return [this](const ReceiptFile& file) {
        if (file.outcome != Outcome::Written) {
            return;
        }
        ++written_;
        if (!file.deleted) {
            filling_.targets += file.target;
            filling_.entries.push_back({filling_.targets.size(), file.size, file.modified_ns});
            if (filling_.entries.size() == kChunk) {
                if (early_ && !game_) {  // a receipt large enough to look at while it is read
                    Start(*early_, ThreadsFor(std::numeric_limits<std::size_t>::max()));
                }
                Hand(std::exchange(filling_, Chunk{}));
            }
        }
    };
}

GameSink WrittenCounter::Early() {
    return [this](const GameIdentity& game) { early_ = game; };
}

WrittenFiles WrittenCounter::Count(const GameIdentity& game) {
    Hand(std::exchange(filling_, Chunk{}));
    if (game_ && !SameGame(*game_, game)) {
        // The head named another game folder before the files than in the end: count again.
        Finish();
        lookers_.clear();
        game_.reset();
        next_ = 0;
        closed_ = false;
        as_written_ = 0;
    }
    if (!game_) {
        Start(game, ThreadsFor(std::size_t(written_)) - 1);
    }
    Finish();
    return {written_, as_written_};
}

void WrittenCounter::Hand(Chunk chunk) {
    {
        const std::lock_guard lock(mutex_);
        chunks_.push_back(std::move(chunk));
    }
    more_.notify_one();
}

void WrittenCounter::Start(const GameIdentity& game, std::size_t threads) {
    game_ = game;
    for (std::size_t thread = 0; thread < threads; ++thread) {
        try {
            lookers_.emplace_back(&WrittenCounter::Look, this);
        } catch (const std::system_error&) {
            break;  // the thread that counts in the end looks at what these would have
        }
    }
}

void WrittenCounter::Look() {
    const GameFiles files(*game_);
    ReceiptFile file;  // one for all, its text's room kept from file to file
    for (;;) {
        const Chunk* chunk = nullptr;
        {
            std::unique_lock lock(mutex_);
            more_.wait(lock, [this] { return next_ < chunks_.size() || closed_; });
            if (next_ == chunks_.size()) {
                return;
            }
            chunk = &chunks_[next_++];  // a deque's items stay where they are as it grows
        }
        std::size_t start = 0;
        int as_written = 0;
        for (const Entry& entry : chunk->entries) {
            file.target.assign(chunk->targets, start, entry.target_end - start);
            file.size = entry.size;
            file.modified_ns = entry.modified_ns;
            start = entry.target_end;
            as_written += files.Check(file, Scrutiny::SizeAndTime).look == Look::AsWritten ? 1 : 0;
        }
        as_written_ += as_written;
    }
}

void WrittenCounter::Finish() {
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
    }
    more_.notify_all();
    Look();
    for (std::thread& looker : lookers_) {
        looker.join();
    }
}

}  // namespace rv
