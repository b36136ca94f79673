// SPDX-License-Identifier: MIT
#include "receipts/journal_recovery.h"

#include <algorithm>
#include <chrono>

#include "platform/data_folder.h"
#include "platform/file_facts.h"
#include "platform/file_system.h"
#include "receipts/game_lock.h"
#include "receipts/receipt_book.h"

namespace rv {
namespace {

constexpr std::string_view kJournalEnding = ReceiptBook::kJournalEnding;
// A file of the data folder's own this much older than now belongs to no running pass.
constexpr std::chrono::minutes kStale{10};

bool Stale(const std::string& path) {
    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::system_clock::now().time_since_epoch());
    return platform::LookAt(path).modified_ns < (now - kStale).count();
}

std::optional<std::string> ReadWhole(const std::string& path) {
    if (platform::LookAt(path).kind != platform::EntryKind::RegularFile) {
        return std::nullopt;
    }
    std::string text;
    const bool read = platform::ReadPieces(
        path, [&text](std::span<const char> piece) { text.append(piece.data(), piece.size()); });
    return read ? std::optional(text) : std::nullopt;
}

// A file named ahead of its copy without word that the copy was whole is the pass's own only
// when it is there with its add-on file's content; then its facts are taken now.
void ConfirmNamedFiles(Receipt& receipt) {
    std::erase_if(receipt.files, [&receipt](ReceiptFile& file) {
        if (file.outcome != Outcome::Written || !file.hash.empty()) {
            return false;
        }
        const std::string target = TargetPath(receipt, file);
        if (!platform::SameContent(file.source, target)) {
            return true;
        }
        const platform::FileFacts facts = platform::LookAt(target);
        file.size = facts.size;
        file.modified_ns = facts.modified_ns;
        file.hash = ContentHash(target);
        return file.hash.empty();
    });
}

void RecoverOne(const std::string& folder, const std::string& name) {
    const std::string path = folder + platform::kPathSeparator + name;
    const std::optional<std::string> text = ReadWhole(path);
    std::optional<Receipt> receipt = text ? ParseJournal(*text) : std::nullopt;
    if (!receipt) {
        // Not even its head is whole: its pass ended before it named a file.
        if (text && Stale(path)) {
            static_cast<void>(platform::RemoveFile(path));
        }
        return;
    }
    const GameLock lock(folder, receipt->game, {});
    if (!lock.Problem().empty()) {
        return;  // its pass still runs, or the lock cannot be had now
    }
    const std::string stored =
        name.substr(0, name.size() - kJournalEnding.size()) + std::string(ReceiptBook::kEnding);
    ConfirmNamedFiles(*receipt);
    if (receipt->files.empty() ||
        platform::LookAt(folder + platform::kPathSeparator + stored).kind ==
            platform::EntryKind::RegularFile ||
        platform::WriteFileSafely(folder, stored, ToJson(*receipt)).empty()) {
        static_cast<void>(platform::RemoveFile(path));
    }
}

}  // namespace

void RecoverJournals(const std::string& folder) {
    const std::optional<platform::FolderListing> listing = platform::ListFolder(folder);
    if (!listing) {
        return;
    }
    for (const platform::FolderEntry& entry : listing->entries) {
        if (entry.is_folder || entry.is_link) {
            continue;
        }
        if (entry.name.ends_with(kJournalEnding)) {
            RecoverOne(folder, entry.name);
        } else if (entry.name.starts_with('.') && entry.name.ends_with(".tmp") &&
                   Stale(folder + platform::kPathSeparator + entry.name)) {
            // A receipt's temporary, left by a process that ended while it wrote it.
            static_cast<void>(platform::RemoveFile(folder + platform::kPathSeparator + entry.name));
        }
    }
}

}  // namespace rv
