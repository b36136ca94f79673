// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "receipts/receipt.h"

namespace rv {

// What a listing says of a receipt's written files. "Still as written" is judged by what the
// system says of each file, a regular file with the size and modification time written, without
// reading its content: a listing of a million files must not read them all. A removal reads and
// hashes each file before it deletes it.
struct WrittenFiles {
    int written = 0;           // by the write pass, deleted ones included
    int still_as_written = 0;  // not deleted and unchanged since
};
WrittenFiles CountWritten(const Receipt& receipt);

// Counts the written files of a receipt as it is read, keeping of each only what the count needs
// (the targets' text one after another, in chunks), so that a receipt of a million files is
// counted in tens of megabytes. Once the head has named the game folder, chunks of files are
// looked at by threads of their own while the rest of the receipt is read.
class WrittenCounter {
public:
    WrittenCounter() = default;
    ~WrittenCounter();
    WrittenCounter(const WrittenCounter&) = delete;
    WrittenCounter& operator=(const WrittenCounter&) = delete;

    FileSink Sink();
    // Told the game folder as soon as the head names it before the files.
    GameSink Early();
    // Once the receipt is read: the count for its game folder. Not for a version 1 receipt,
    // whose targets are made relative to its game folder only once the whole receipt is read.
    WrittenFiles Count(const GameIdentity& game);

private:
    struct Entry {
        std::size_t target_end;  // in its chunk's targets, where the previous one's ends it starts
        std::uint64_t size;
        std::int64_t modified_ns;
    };
    struct Chunk {
        std::string targets;
        std::vector<Entry> entries;  // the files not deleted
    };
    // Hands a chunk to the threads that look at them, which may not have started yet.
    void Hand(Chunk chunk);
    // Looks in `game` with `threads` threads besides the one that counts in the end.
    void Start(const GameIdentity& game, std::size_t threads);
    // What one thread does: takes chunks and counts them until no more will come.
    void Look();
    // No more chunks will come: this thread helps until all are counted.
    void Finish();

    Chunk filling_;
    std::deque<Chunk> chunks_;  // kept once counted, should the game folder turn out another
    std::size_t next_ = 0;      // the first chunk no thread has taken
    bool closed_ = false;
    std::mutex mutex_;
    std::condition_variable more_;
    std::optional<GameIdentity> early_;  // as the head named it before the files
    std::optional<GameIdentity> game_;   // where the threads look
    std::vector<std::thread> lookers_;
    std::atomic<int> as_written_{0};
    int written_ = 0;
};

}  // namespace rv
