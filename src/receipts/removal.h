// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "receipts/game_lock.h"
#include "receipts/receipt_book.h"
#include "receipts/written_count.h"

namespace rv {

struct KeptFile {
    std::string target;  // below the game folder, as the receipt names it
    std::string reason;  // "changed since it was written", "needed by the add-on from ...", ...
};

// What a removal of the receipt would do now.
struct RemovalPlan {
    std::vector<std::string> to_delete;  // below the game folder
    std::vector<KeptFile> kept;
    int deleted_before = 0;  // by an earlier run of the same removal
    std::string blocked;     // why nothing may be deleted now: a receipt that cannot be read
};

struct RemovalResult {
    int deleted = 0;  // in this run and in earlier ones
    std::vector<KeptFile> kept;
    bool in_force = true;  // files are left that a later run may take back: the receipt stays
    std::string problem;   // the removal stopped: the receipt cannot be used or updated

    // "Removed - 12 File(s) deleted - 2 File(s) kept!", or that nothing was deleted.
    std::string Line() const;
    // Files that could not be looked at or deleted: the receipt stays in force for them.
    bool Unchecked() const;
};

// A file is deleted only when the receipt wrote it, it is a regular file below the game folder
// exactly as written, and no other receipt in force for the same game folder names it at all.
// A receipt that cannot be read blocks every deletion, as it may name any file. A file kept only
// because another receipt names it passes to that one: it no longer keeps this receipt in force.
// The plan judges each file by its size and time, as a listing does; the removal reads and hashes
// each one again right before it deletes it. `all` is the whole book, the receipt itself included.
RemovalPlan PlanRemoval(const ReceiptBook& book, const StoredReceipt& receipt,
                        const std::vector<StoredReceipt>& all);
// Why nothing may be deleted now, as the plan says it; empty when the removal may go ahead.
std::string RemovalBlocked(const ReceiptBook& book, const StoredReceipt& receipt,
                           const std::vector<StoredReceipt>& all);

// Told of each file as it is deleted, in the receipt's order.
using DeletedFile = std::function<void(const ReceiptFile& file)>;

// Takes the game folder's lock (asking `waiting` while another process holds it; without it, it
// waits), reads the book afresh (unless `asked`, the book as read for the question, is still what
// its folder holds) and deletes every file that passes every check then, recording
// the deletions in the receipt as it goes, so that an interrupted removal can be run again. A
// receipt left with nothing to take back is marked removed. A signal that ends the program
// stops the removal before the next file and ends it once the deletions are recorded.
RemovalResult CarryOutRemoval(const ReceiptBook& book, StoredReceipt& receipt,
                              const DeletedFile& deleted = {}, const Waiting& waiting = {},
                              std::optional<std::vector<StoredReceipt>> asked = std::nullopt);

}  // namespace rv
