// SPDX-License-Identifier: MIT
#include "receipts/receipt_journal.h"

#include <algorithm>

#include "platform/file_facts.h"
#include "platform/file_system.h"
#include "receipts/receipt_book.h"
#include "receipts/supersede.h"

namespace rv {
namespace {

constexpr std::string_view kJournalEnding = ReceiptBook::kJournalEnding;

// Whether the pass wrote a file or found one it relies on: else it leaves no receipt.
bool Relies(const Receipt& receipt) {
    return std::any_of(receipt.files.begin(), receipt.files.end(), [](const ReceiptFile& file) {
        return file.outcome == Outcome::Written || file.outcome == Outcome::Identical;
    });
}

}  // namespace

ReceiptJournal::~ReceiptJournal() {
    End();
}

void ReceiptJournal::End() {
    journal_.reset();
    lock_.reset();
}

std::string ReceiptJournal::Begin(const PassRecord& pass, const std::string& edition,
                                  const Waiting& waiting) {
    End();
    game_ = IdentityOf(pass.game_folder);
    if (folder_.empty()) {
        return {};  // written without a receipt; Record says so
    }
    lock_ = std::make_unique<GameLock>(folder_, game_, waiting);
    if (std::string problem = lock_->Problem(); !problem.empty()) {
        lock_.reset();
        return problem;
    }
    const Receipt head =
        ReceiptOf(PassRecord{true, pass.game_folder, pass.addon_folder, {}}, edition, game_);
    name_ = ReceiptBook::NameFor(head);
    name_.resize(name_.size() - ReceiptBook::kEnding.size());
    const std::string path =
        folder_ + platform::kPathSeparator + name_ + std::string(kJournalEnding);
    journal_ = std::make_unique<JournalFile>(path);
    std::string problem = journal_->Problem();
    if (problem.empty() && (problem = journal_->Append(JournalHead(head))).empty()) {
        problem = journal_->Sync();
        synced_ = std::chrono::steady_clock::now();
    }
    if (!problem.empty()) {
        if (journal_->Problem().empty()) {
            static_cast<void>(platform::RemoveFile(path));
        }
        End();
        return "the journal of this pass cannot be kept: " + problem;
    }
    return {};
}

std::string ReceiptJournal::Append(const ReceiptFile& file) {
    if (!journal_) {
        return {};
    }
    std::string problem = journal_->Append(JournalLine(file));
    // Flushed to the disk in batches: each line outlives the process at once, and a power cut
    // loses at most the last fifth of a second's names.
    const auto now = std::chrono::steady_clock::now();
    if (problem.empty() && now - synced_ >= std::chrono::milliseconds(200)) {
        problem = journal_->Sync();
        synced_ = now;
    }
    return problem.empty() ? problem : "the journal of this pass cannot be written: " + problem;
}

std::string ReceiptJournal::Intend(const PassFile& file) {
    PassFile named = file;
    named.state = FileState::Written;
    return Append(ReceiptOf(PassRecord{true, {}, {}, {named}}, {}, game_).files.front());
}

void ReceiptJournal::Note(const PassFile& file) {
    // A line lost costs little: a written file is compared with its add-on file instead, and the
    // receipt made when the pass ends holds every file anyway.
    static_cast<void>(Append(ReceiptOf(PassRecord{true, {}, {}, {file}}, {}, game_).files.front()));
}

void ReceiptJournal::Wrote(const PassFile& file) {
    Note(file);
}

void ReceiptJournal::Found(const PassFile& file) {
    Note(file);
}

std::string ReceiptJournal::Record(const PassRecord& pass, const std::string& edition,
                                   std::string& name, const std::function<void()>& keep_answering) {
    Receipt receipt = ReceiptOf(
        pass, edition, game_.path.empty() ? IdentityOf(pass.game_folder) : game_, keep_answering);
    const std::string journal = name_ + std::string(kJournalEnding);
    std::string problem;
    if (!Relies(receipt)) {
        // nothing to keep
    } else if (folder_.empty()) {
        problem = "there is no data folder to keep it in (neither XDG_DATA_HOME nor HOME is set)";
    } else {
        const ReceiptBook book(folder_);
        const std::vector<StoredReceipt> superseded = Supersede(receipt, book.List());
        name = name_.empty() ? std::string() : name_ + std::string(ReceiptBook::kEnding);
        problem = book.Add(std::move(receipt), name, keep_answering);
        for (StoredReceipt old : problem.empty() ? superseded : std::vector<StoredReceipt>{}) {
            old.receipt.removed = true;
            static_cast<void>(book.Update(old));  // else both name the files: neither deletes
        }
    }
    if (journal_) {
        journal_.reset();
        static_cast<void>(platform::RemoveFile(folder_ + platform::kPathSeparator + journal));
    }
    End();
    return problem;
}

}  // namespace rv
