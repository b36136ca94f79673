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
    const std::size_t slices = SlicesFor(entries_.size());
    std::vector<int> as_written(slices);
    const auto bound = [&](std::size_t slice) { return entries_.size() * slice / slices; };
    SideBySide(slices, [&](std::size_t slice) {
        as_written[slice] = CountSlice(game, bound(slice), bound(slice + 1));
    });
    WrittenFiles count{written_, 0};
    for (const int slice : as_written) {
        count.still_as_written += slice;
    }
    return count;
}

}  // namespace rv
