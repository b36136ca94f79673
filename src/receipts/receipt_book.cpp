// SPDX-License-Identifier: MIT
#include "receipts/receipt_book.h"

#include <algorithm>
#include <chrono>
#include <future>
#include <random>
#include <system_error>

#include "platform/data_folder.h"
#include "platform/file_facts.h"
#include "platform/file_system.h"
#include "receipts/journal_recovery.h"

namespace rv {
namespace {

constexpr std::string_view kEnding = ReceiptBook::kEnding;
constexpr std::string_view kJournalEnding = ReceiptBook::kJournalEnding;

// The counts of a receipt read for them; a version 1 receipt is read again whole, as its targets
// are known only once its game folder is.
WrittenFiles Counted(const std::string& path, const ParsedReceipt& parsed,
                     WrittenCounter& counter) {
    if (parsed.version != 1) {
        return counter.Count(parsed.receipt->game);
    }
    bool read = false;
    const ParsedReceipt whole = ReadReceipt(path, read);
    return whole.receipt ? CountWritten(*whole.receipt) : WrittenFiles{};
}

StoredReceipt Load(const std::string& folder, const std::string& name, Reading reading) {
    // Only a regular file is read: a FIFO or a device named like a receipt would hang or never
    // end the listing.
    const std::string path = folder + platform::kPathSeparator + name;
    const bool regular = platform::LookAt(path).kind == platform::EntryKind::RegularFile;
    bool read = false;
    WrittenCounter counter;
    ParsedReceipt parsed =
        regular ? ReadReceipt(path, read, reading == Reading::Counted ? counter.Sink() : FileSink{},
                              reading == Reading::Counted ? counter.Early() : GameSink{})
                : ParsedReceipt{};
    if (!regular || !read) {
        parsed = {{}, false, regular ? "its file cannot be read" : "not a regular file"};
    }
    if (!parsed.receipt) {
        return {name,
                parsed.unknown_version ? ReceiptStatus::UnknownVersion : ReceiptStatus::Damaged,
                parsed.problem,
                {},
                {},
                parsed.text_hash};
    }
    const ReceiptStatus status =
        parsed.receipt->removed ? ReceiptStatus::Removed : ReceiptStatus::InForce;
    const WrittenFiles count =
        reading == Reading::Counted ? Counted(path, parsed, counter) : WrittenFiles{};
    return {name, status, {}, std::move(*parsed.receipt), count, parsed.text_hash};
}

}  // namespace

// The name starts with the time, so names sort as the receipts were made; the time's colons
// are not allowed in a Windows name.
std::string ReceiptBook::NameFor(const Receipt& receipt) {
    std::string name = receipt.time;
    std::replace(name.begin(), name.end(), ':', '-');
    const auto tag = std::random_device{}() & 0xffffu;
    char hex[8];
    std::snprintf(hex, sizeof hex, "-%04x", tag);
    return name + hex + std::string(kEnding);
}

namespace {

// Runs the job on a thread of its own and calls `each` every few milliseconds until it ends:
// flushing a large receipt to the disk may take seconds, and the window keeps answering
// meanwhile. Without `each`, or without a thread to be had, the job runs here.
std::string WhileAnswering(const std::function<std::string()>& job, const EachFile& each) {
    if (!each) {
        return job();
    }
    std::future<std::string> done;
    try {
        done = std::async(std::launch::async, job);
    } catch (const std::system_error&) {
        return job();
    }
    while (done.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        each();
    }
    return done.get();
}

}  // namespace

std::vector<StoredReceipt> ReceiptBook::List(const std::optional<GameIdentity>& game,
                                             std::string* problem, Reading reading) const {
    RecoverJournals(folder_);
    std::vector<StoredReceipt> receipts;
    std::string why;
    const std::optional<platform::FolderListing> listing = platform::ListFolder(folder_, &why);
    if (!listing) {
        if (problem != nullptr && platform::PathExists(folder_)) {
            *problem = "the receipts in " + folder_ + " cannot be listed: " + why;
        }
        return receipts;
    }
    for (const platform::FolderEntry& entry : listing->entries) {
        if (!entry.is_folder && entry.name.ends_with(kEnding) && !entry.name.starts_with('.')) {
            StoredReceipt stored = Load(folder_, entry.name, reading);
            if (!game || !stored.problem.empty() || SameGame(stored.receipt.game, *game)) {
                receipts.push_back(std::move(stored));
            }
        }
    }
    std::sort(receipts.begin(), receipts.end(),
              [](const StoredReceipt& a, const StoredReceipt& b) { return a.name > b.name; });
    return receipts;
}

bool ReceiptBook::StillHolds(const std::vector<StoredReceipt>& receipts) const {
    const std::optional<platform::FolderListing> listing = platform::ListFolder(folder_);
    if (!listing) {
        return false;
    }
    std::size_t held = 0;
    for (const platform::FolderEntry& entry : listing->entries) {
        if (entry.name.ends_with(kJournalEnding)) {
            return false;  // a write ran, or ran until it was cut short
        }
        if (entry.is_folder || !entry.name.ends_with(kEnding) || entry.name.starts_with('.')) {
            continue;
        }
        const auto read =
            std::find_if(receipts.begin(), receipts.end(),
                         [&entry](const StoredReceipt& r) { return r.name == entry.name; });
        if (read == receipts.end() ||
            TextHash(folder_ + platform::kPathSeparator + entry.name) != read->text_hash) {
            return false;
        }
        ++held;
    }
    return held == receipts.size();
}

std::optional<std::string> ReceiptBook::NameOf(const std::string& name_or_path) const {
    std::string name = name_or_path;
    const std::string prefix = folder_ + platform::kPathSeparator;
    if (name.starts_with(prefix)) {
        name.erase(0, prefix.size());
    }
    if (!name.ends_with(kEnding)) {
        name += kEnding;
    }
    if (name.find_first_of("/\\") != std::string::npos ||
        platform::LookAt(folder_ + platform::kPathSeparator + name).kind !=
            platform::EntryKind::RegularFile) {
        return std::nullopt;
    }
    return name;
}

std::optional<StoredReceipt> ReceiptBook::Find(const std::string& name_or_path) const {
    const std::optional<std::string> name = NameOf(name_or_path);
    return name ? std::optional(Load(folder_, *name, Reading::Whole)) : std::nullopt;
}

std::optional<StoredReceipt> TakeOut(const ReceiptBook& book, std::vector<StoredReceipt>& all,
                                     const std::string& name) {
    const auto listed = std::find_if(all.begin(), all.end(),
                                     [&name](const StoredReceipt& s) { return s.name == name; });
    if (listed == all.end()) {
        return book.Find(name);
    }
    StoredReceipt taken = std::move(*listed);
    all.erase(listed);
    return taken;
}

std::string ReceiptBook::Add(Receipt receipt, std::string& name, const EachFile& each) const {
    if (name.empty()) {
        name = NameFor(receipt);
    }
    std::string text = ToJson(receipt, each);
    return WhileAnswering(
        [&] {
            // A new receipt never takes the place of another that happens to have its name.
            std::string problem =
                platform::WriteFileSafely(folder_, name, text, platform::Existing::Keep);
            // Letting go of a large receipt and its text takes a while too.
            std::string().swap(text);
            std::vector<ReceiptFile>().swap(receipt.files);
            return problem;
        },
        each);
}

std::string ReceiptBook::Update(const StoredReceipt& stored) const {
    return platform::WriteFileSafely(folder_, stored.name, JsonPieces(stored.receipt));
}

}  // namespace rv
