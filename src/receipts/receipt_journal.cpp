// SPDX-License-Identifier: MIT
#include "receipts/receipt_journal.h"

#include "receipts/receipt_book.h"

namespace rv {

std::string ReceiptJournal::Record(const PassRecord& pass, const std::string& edition,
                                   std::string& name, const std::function<void()>& keep_answering) {
    return ReceiptBook(folder_).Add(
        ReceiptOf(pass, edition, IdentityOf(pass.game_folder), keep_answering), name,
        keep_answering);
}

}  // namespace rv
