// SPDX-License-Identifier: MIT
#include "receipts/written_count.h"

#include <algorithm>
#include <future>
#include <system_error>
#include <thread>

#include "receipts/game_files.h"

namespace rv {

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

FileSink WrittenCounter::Sink() {
    return [this](const ReceiptFile& file) {
        if (file.outcome != Outcome::Written) {
            return;
        }
        ++written_;
        if (!file.deleted) {
            targets_ += file.target;
            entries_.push_back({targets_.size(), file.size, file.modified_ns});
        }
    };
}

int WrittenCounter::CountSlice(const GameIdentity& game, std::size_t first,
                               std::size_t last) const {
    const GameFiles files(game);
    ReceiptFile file;  // one for all, its text's room kept from file to file
    std::size_t start = first == 0 ? 0 : entries_[first - 1].target_end;
    int as_written = 0;
    for (std::size_t at = first; at < last; ++at) {
        const Entry& entry = entries_[at];
        file.target.assign(targets_, start, entry.target_end - start);
        file.size = entry.size;
        file.modified_ns = entry.modified_ns;
        start = entry.target_end;
        as_written += files.Check(file, Scrutiny::SizeAndTime).look == Look::AsWritten ? 1 : 0;
    }
    return as_written;
}

WrittenFiles WrittenCounter::Count(const GameIdentity& game) const {
    // Looking at a million files is mostly waiting on the system: slices of them are looked at
    // side by side, on as many threads as the machine runs at once, and one slice here.
    constexpr std::size_t kLeastSlice = 4096;
    const std::size_t slices = std::clamp<std::size_t>(
        std::min<std::size_t>(std::thread::hardware_concurrency(), entries_.size() / kLeastSlice),
        1, 8);
    std::vector<std::future<int>> others;
    const auto bound = [&](std::size_t slice) { return entries_.size() * slice / slices; };
    for (std::size_t slice = 1; slice < slices; ++slice) {
        try {
            others.push_back(std::async(std::launch::async, &WrittenCounter::CountSlice, this,
                                        std::cref(game), bound(slice), bound(slice + 1)));
        } catch (const std::system_error&) {
            others.push_back(std::async(std::launch::deferred, &WrittenCounter::CountSlice, this,
                                        std::cref(game), bound(slice), bound(slice + 1)));
        }
    }
    WrittenFiles count{written_, CountSlice(game, 0, bound(1))};
    for (std::future<int>& other : others) {
        count.still_as_written += other.get();
    }
    return count;
}

}  // namespace rv
