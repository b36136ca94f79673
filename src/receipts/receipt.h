// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/pass_record.h"

namespace rv {

// Raised whenever the stored shape changes; a receipt of another version is never acted on.
inline constexpr int kReceiptVersion = 1;

enum class Outcome {
    Written,
    Identical,  // already there with the add-on's content: the add-on relies on it
    Different,  // already there, another version
    Failed,
};

struct ReceiptFile {
    std::string source;
    std::string target;
    std::string category;  // the game sub-folder's name
    Outcome outcome = Outcome::Written;
    // Of what was written, right after writing.
    std::uint64_t size = 0;
    std::int64_t modified_ns = 0;
    std::string hash;
    std::string reason;    // why the copy failed
    bool deleted = false;  // a removal of this receipt deleted it
};

// What one write pass did to the game folder.
struct Receipt {
    std::string time;  // UTC, as 2026-12-06T17:30:05.123Z
    std::string game_folder;
    std::string edition;
    std::string addon_folder;
    bool removed = false;  // every file it could take back is taken back: no longer in force
    std::vector<ReceiptFile> files;
};

// Called once for every file while a receipt is made or turned into text (and every few
// milliseconds while it is saved), so that a window can be kept answering through the receipt
// of a very large add-on.
using EachFile = std::function<void()>;

// The receipt of a write pass, from the facts the pass noted of every file.
Receipt ReceiptOf(const PassRecord& pass, const std::string& edition, const EachFile& each = {});

std::string ToJson(const Receipt& receipt, const EachFile& each = {});

// The receipt in the text, or why the text is not one this program can act on.
struct ParsedReceipt {
    std::optional<Receipt> receipt;
    bool unknown_version = false;
    std::string problem;
};
ParsedReceipt ParseReceipt(const std::string& text);

}  // namespace rv
