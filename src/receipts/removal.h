// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "receipts/receipt_book.h"

namespace rv {

struct KeptFile {
    std::string target;
    std::string reason;  // "changed since it was written", "needed by the add-on from ...", ...
};

// What a removal of the receipt would do now.
struct RemovalPlan {
    std::vector<std::string> to_delete;
    std::vector<KeptFile> kept;
    int deleted_before = 0;  // by an earlier run of the same removal
};

struct RemovalResult {
    int deleted = 0;  // in this run and in earlier ones
    std::vector<KeptFile> kept;
    std::string problem;  // the removal stopped: the receipt cannot be used or updated

    // "Removed - 12 File(s) deleted - 2 File(s) kept!"
    std::string Line() const;
};

// True when the file this receipt wrote is still at its target as it was written.
bool StillAsWritten(const ReceiptFile& file);

struct WrittenFiles {
    int written = 0;           // by the write pass, deleted ones included
    int still_as_written = 0;  // not deleted and unchanged since
};
WrittenFiles CountWritten(const Receipt& receipt);

// `all` is the whole book, the receipt itself included.
RemovalPlan PlanRemoval(const StoredReceipt& receipt, const std::vector<StoredReceipt>& all);

// Deletes every file of the plan that still passes every check, recording the deletions in the
// receipt as it goes, so that an interrupted removal can be run again. A receipt left with
// nothing to take back is marked removed. `each` is called before each file. A signal that ends
// the program stops the removal before the next file and ends it once the deletions are recorded.
RemovalResult CarryOutRemoval(const ReceiptBook& book, StoredReceipt& receipt,
                              const std::vector<StoredReceipt>& all, const EachFile& each = {});

}  // namespace rv
