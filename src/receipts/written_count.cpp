// SPDX-License-Identifier: MIT
#include "receipts/written_count.h"

#include "receipts/game_files.h"
#include "receipts/side_by_side.h"

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

WrittenFiles WrittenCounter::Count(const GameIdentity& game) const {
    const std::size_t threads = ThreadsFor(entries_.size());
    const std::vector<std::unique_ptr<GameFiles>> games = GameFilesFor(game, threads);
    // Each thread's own file and count, on cache lines of their own: threads writing next to each
    // other's would slow each other down at every file.
    struct alignas(64) Share {
        ReceiptFile file;  // its text's room kept from file to file
        int as_written = 0;
    };
    std::vector<Share> shares(threads);
    SideBySide(entries_.size(), threads, [&](std::size_t thread, std::size_t at) {
        const std::size_t start = at == 0 ? 0 : entries_[at - 1].target_end;
        ReceiptFile& file = shares[thread].file;
        file.target.assign(targets_, start, entries_[at].target_end - start);
        file.size = entries_[at].size;
        file.modified_ns = entries_[at].modified_ns;
        shares[thread].as_written +=
            games[thread]->Check(file, Scrutiny::SizeAndTime).look == Look::AsWritten ? 1 : 0;
        return true;
    });
    WrittenFiles count{written_, 0};
    for (const Share& share : shares) {
        count.still_as_written += share.as_written;
    }
    return count;
}

}  // namespace rv
