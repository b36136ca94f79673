// SPDX-License-Identifier: MIT
#include "receipts/supersede.h"

#include <unordered_map>

#include "platform/file_system.h"
#include "text/case_fold.h"

namespace rv {
namespace {

bool SameAddOn(const std::string& a, const std::string& b) {
    if (a == b) {
        return true;
    }
    const auto real_a = platform::RealPath(a);
    return real_a && real_a == platform::RealPath(b);
}

// Takes the old receipt's files into the new one.
void Absorb(Receipt& receipt, const Receipt& old) {
    std::unordered_map<std::string, std::size_t> at;
    for (std::size_t i = 0; i < receipt.files.size(); ++i) {
        at.try_emplace(text::FoldUtf8(receipt.files[i].target), i);
    }
    for (const ReceiptFile& file : old.files) {
        const bool names = file.outcome == Outcome::Identical ||
                           (file.outcome == Outcome::Written && !file.deleted);
        if (!names || file.outside) {
            continue;
        }
        const auto known = at.find(text::FoldUtf8(file.target));
        if (known == at.end()) {
            at.emplace(text::FoldUtf8(file.target), receipt.files.size());
            receipt.files.push_back(file);
        } else if (ReceiptFile& mine = receipt.files[known->second];
                   mine.outcome == Outcome::Identical && file.outcome == Outcome::Written) {
            const std::string source = mine.source;
            mine = file;
            mine.source = source;
        }
    }
}

}  // namespace

std::vector<StoredReceipt> Supersede(Receipt& receipt, const std::vector<StoredReceipt>& all) {
    std::vector<StoredReceipt> superseded;
    for (const StoredReceipt& old : all) {
        if (old.status == ReceiptStatus::InForce && SameGame(old.receipt.game, receipt.game) &&
            SameAddOn(old.receipt.addon_folder, receipt.addon_folder)) {
            Absorb(receipt, old.receipt);
            superseded.push_back(old);
        }
    }
    return superseded;
}

}  // namespace rv
