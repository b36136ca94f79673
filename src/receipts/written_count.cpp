// SPDX-License-Identifier: MIT
#include "receipts/written_count.h"

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

WrittenFiles WrittenCounter::Count(const GameIdentity& game) const {
    WrittenFiles count{written_, 0};
    const GameFiles files(game);
    ReceiptFile file;  // one for all, its text's room kept from file to file
    std::size_t start = 0;
    for (const Entry& entry : entries_) {
        file.target.assign(targets_, start, entry.target_end - start);
        file.size = entry.size;
        file.modified_ns = entry.modified_ns;
        start = entry.target_end;
        count.still_as_written +=
            files.Check(file, Scrutiny::SizeAndTime).look == Look::AsWritten ? 1 : 0;
    }
    return count;
}

}  // namespace rv
