// SPDX-License-Identifier: MIT
#include "receipts/receipt_journal.h"

#include <algorithm>

#include "platform/file_facts.h"
#include "platform/file_system.h"
#include "receipts/receipt_book.h"
#include "receipts/supersede.h"
#include "text/case_fold.h"

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace rv {
namespace {

constexpr std::string_view kJournalEnding = ReceiptBook::kJournalEnding;

// What a file named ahead is known by: its target, folded, and its add-on file.
std::uint64_t AheadKey(const std::string& folded_target, const std::string& source) {
    XXH3_state_t state;
    XXH3_64bits_reset(&state);
    XXH3_64bits_update(&state, folded_target.data(), folded_target.size() + 1);  // and its NUL
    XXH3_64bits_update(&state, source.data(), source.size());
    return XXH3_64bits_digest(&state);
}

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
    ahead_.clear();
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

ReceiptFile ReceiptJournal::Line(const PassFile& file, bool intended) const {
    PassFile named = file;
    if (intended) {
        named.state = FileState::Written;
    }
    return ReceiptOf(PassRecord{true, {}, {}, {named}}, {}, game_).files.front();
}

std::string ReceiptJournal::Append(const ReceiptFile& file, bool now) {
    if (!journal_) {
        return {};
    }
    std::string problem = journal_->Append(JournalLine(file));
    // Each line outlives the process at once; the others are flushed to the disk in batches.
    const auto time = std::chrono::steady_clock::now();
    if (problem.empty() && (now || time - synced_ >= std::chrono::milliseconds(200))) {
        problem = journal_->Sync();
        synced_ = time;
    }
    return problem.empty() ? problem : "the journal of this pass cannot be written: " + problem;
}

void ReceiptJournal::IntendAhead(const std::vector<PassFile>& files,
                                 const std::function<void()>& keep_answering) {
    ahead_.clear();
    if (!journal_) {
        return;
    }
    std::unordered_set<std::uint64_t> targets;  // only the first file for a target is named
    std::unordered_set<std::uint64_t> named;
    std::string problem;
    for (auto file = files.begin(); problem.empty() && file != files.end(); ++file) {
        const ReceiptFile line = Line(*file, true);
        const std::string target = text::FoldUtf8(line.target);
        if (targets.insert(XXH3_64bits(target.data(), target.size())).second) {
            problem = journal_->Append(JournalLine(line));
            named.insert(AheadKey(target, line.source));
        }
        keep_answering();
    }
    // Unless all are flushed, Intend names each file itself.
    if (problem.empty() && journal_->Sync().empty()) {
        synced_ = std::chrono::steady_clock::now();
        ahead_ = std::move(named);
    }
}

std::string ReceiptJournal::Intend(const PassFile& file) {
    const ReceiptFile line = Line(file, true);
    if (ahead_.contains(AheadKey(text::FoldUtf8(line.target), line.source))) {
        return {};
    }
    return Append(line, true);  // on the disk before the copy can appear under its name
}

void ReceiptJournal::Note(const PassFile& file) {
    // A line lost costs little: a written file is compared with its add-on file instead, and the
    // receipt made when the pass ends holds every file anyway.
    static_cast<void>(Append(Line(file, false), false));
}

void ReceiptJournal::AlreadyThere(const PassFile& file) {
    // Only a file named ahead has a line that would claim it.
    const ReceiptFile line = Line(file, false);
    if (ahead_.contains(AheadKey(text::FoldUtf8(line.target), line.source))) {
        static_cast<void>(Append(line, true));
    }
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
