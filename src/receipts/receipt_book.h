// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "receipts/receipt.h"
#include "receipts/written_count.h"

namespace rv {

enum class ReceiptStatus { InForce, Removed, Damaged, UnknownVersion };

// Each status's name as the user reads it, by the status's number: one table for the window's
// dialog and the command line.
inline constexpr std::array<std::string_view, 4> kReceiptStatusNames = {
    "installed", "removed", "damaged", "unknown version"};
inline constexpr std::string_view StatusName(ReceiptStatus status) {
    return kReceiptStatusNames[static_cast<std::size_t>(status)];
}

struct StoredReceipt {
    std::string name;  // the file's name in the book's folder
    ReceiptStatus status = ReceiptStatus::Damaged;
    std::string problem;          // why a damaged or unknown receipt cannot be used, in a few words
    Receipt receipt;              // empty unless in force or removed
    WrittenFiles count;           // only when the book was listed for counts
    std::uint64_t text_hash = 0;  // of its file's text as it was read
};

// Whether a listing keeps each receipt's files, or only counts them: a listing for counts of a
// receipt of a million files takes a small part of the memory its files would.
enum class Reading { Whole, Counted };

// The receipts in one folder, one JSON file each.
class ReceiptBook {
public:
    explicit ReceiptBook(std::string folder) : folder_(std::move(folder)) {}

    const std::string& Folder() const { return folder_; }

    static constexpr std::string_view kEnding = ".json";
    // A running write's journal, named after the receipt it becomes.
    static constexpr std::string_view kJournalEnding = ".journal";
    // A new receipt's name: its time and a short random tag, so names sort as they were made.
    static std::string NameFor(const Receipt& receipt);

    // Every receipt, newest first; with a game folder only its receipts and the ones that cannot
    // be read, which cannot tell their folder. A folder that cannot be listed sets `problem`;
    // one that is not there yet holds no receipts.
    std::vector<StoredReceipt> List(const std::optional<GameIdentity>& game = {},
                                    std::string* problem = nullptr,
                                    Reading reading = Reading::Whole) const;
    // The receipt of that name, or at that path inside the folder.
    std::optional<StoredReceipt> Find(const std::string& name_or_path) const;
    // Whether the folder holds just these receipts, each with the text it was read from, and no
    // journal of a write: then what was read then is what would be read now.
    bool StillHolds(const std::vector<StoredReceipt>& receipts) const;
    // The name of the receipt Find would read, when there is one.
    std::optional<std::string> NameOf(const std::string& name_or_path) const;

    // Stores a new receipt under `name`, or when it is empty a new name it is set to. Empty on
    // success, else the reason; a receipt is stored whole or not at all. `each` is called for every
    // file as the text is made, then every few milliseconds while the text is written out and
    // flushed to the disk.
    std::string Add(Receipt receipt, std::string& name, const EachFile& each = {}) const;
    // Stores the receipt's new state in place of the old one, whole or not at all.
    std::string Update(const StoredReceipt& stored) const;

private:
    std::string folder_;
};

// Takes the receipt of that name out of a listing, so that a large one is not read twice; else
// reads it from the book. Nothing when it is in neither.
std::optional<StoredReceipt> TakeOut(const ReceiptBook& book, std::vector<StoredReceipt>& all,
                                     const std::string& name);

}  // namespace rv
