// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the receipt and journal readers: they must never crash or hang, a text
// is either a receipt or says why not, and a receipt read is written back and read again to the
// same files.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "receipts/receipt.h"

namespace {

bool SameFiles(const rv::Receipt& a, const rv::Receipt& b) {
    if (a.files.size() != b.files.size() || a.game_folder != b.game_folder ||
        a.addon_folder != b.addon_folder || a.removed != b.removed) {
        return false;
    }
    for (std::size_t i = 0; i < a.files.size(); ++i) {
        const rv::ReceiptFile &x = a.files[i], &y = b.files[i];
        if (x.source != y.source || x.target != y.target || x.outcome != y.outcome ||
            x.hash != y.hash || x.size != y.size || x.deleted != y.deleted) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const rv::ParsedReceipt parsed = rv::ParseReceipt(text);
    if (parsed.receipt.has_value() == !parsed.problem.empty()) {
        std::abort();
    }
    if (parsed.receipt && !parsed.receipt->files.empty() && !parsed.receipt->files[0].outside) {
        const rv::ParsedReceipt again = rv::ParseReceipt(rv::ToJson(*parsed.receipt));
        if (!again.receipt || !SameFiles(*parsed.receipt, *again.receipt)) {
            std::abort();
        }
    }
    if (const auto journal = rv::ParseJournal(text)) {
        for (const rv::ReceiptFile& file : journal->files) {
            (void)rv::JournalLine(file);
        }
    }
    return 0;
}
