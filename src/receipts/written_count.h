// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
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
// (the targets' text one after another in one string), so that a receipt of a million files is
// counted in tens of megabytes.
class WrittenCounter {
public:
    FileSink Sink();
    // Once the receipt's head is read: the count for its game folder. Not for a version 1 receipt,
    // whose targets are made relative to its game folder only once the whole receipt is read.
    WrittenFiles Count(const GameIdentity& game) const;

private:
    struct Entry {
        std::size_t target_end;  // in targets_, where the previous one's ends it starts
        std::uint64_t size;
        std::int64_t modified_ns;
    };
    std::string targets_;
    std::vector<Entry> entries_;  // the files not deleted
    int written_ = 0;
};

}  // namespace rv
