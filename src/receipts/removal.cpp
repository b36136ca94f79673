// SPDX-License-Identifier: MIT
#include "receipts/removal.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "platform/end_signals.h"
#include "receipts/game_files.h"
#include "receipts/game_lock.h"
#include "text/case_fold.h"

namespace rv {
namespace {

constexpr std::string_view kUnchecked = "cannot be checked: ";
constexpr std::string_view kUndeleted = "cannot be deleted: ";

// The targets other receipts in force for the same game folder name, written or found there,
// each with the first such receipt. Names are compared as the game's file system compares them,
// without regard to case: a second spelling never frees a file. The folded names are kept one
// after another in one string, and looked up through views of it: a book of a few receipts of a
// million files each costs no string per name.
class Claims {
public:
    struct Claim {
        const StoredReceipt* by;
        bool found_there;  // the claiming pass found it identical, so does not own it yet
    };
    Claims(const StoredReceipt& self, const std::vector<StoredReceipt>& all) {
        struct Named {
            std::size_t end;  // in folded_
            Claim claim;
        };
        std::vector<Named> named;
        for (const StoredReceipt& other : all) {
            if (other.status != ReceiptStatus::InForce || other.name == self.name ||
                !SameGame(other.receipt.game, self.receipt.game)) {
                continue;
            }
            for (const ReceiptFile& file : other.receipt.files) {
                const bool found = file.outcome == Outcome::Identical;
                if ((found || (file.outcome == Outcome::Written && !file.deleted)) &&
                    !file.outside) {
                    folded_ += text::FoldUtf8(file.target);
                    named.push_back({folded_.size(), {&other, found}});
                }
            }
        }
        claims_.reserve(named.size());
        std::size_t start = 0;
        for (const Named& name : named) {  // views only once the string is whole
            claims_.try_emplace(std::string_view(folded_).substr(start, name.end - start),
                                name.claim);
            start = name.end;
        }
    }
    Claims(const Claims&) = delete;
    Claims& operator=(const Claims&) = delete;

    const Claim* Of(const ReceiptFile& file) const {
        const auto claim = claims_.find(text::FoldUtf8(file.target));
        return claim == claims_.end() ? nullptr : &claim->second;
    }

private:
    std::string folded_;
    std::unordered_map<std::string_view, Claim> claims_;
};

// Files kept for receipts that found them there pass to those receipts, as if they had written
// them, so that removing those takes them back. Empty, or why a receipt could not be updated.
std::string HandOver(const ReceiptBook& book,
                     const std::map<std::string, std::vector<ReceiptFile>>& given) {
    for (const auto& [name, files] : given) {
        std::optional<StoredReceipt> other = book.Find(name);
        if (!other || other->status != ReceiptStatus::InForce) {
            continue;
        }
        std::unordered_map<std::string, const ReceiptFile*> by_target;
        for (const ReceiptFile& file : files) {
            by_target.try_emplace(text::FoldUtf8(file.target), &file);
        }
        for (ReceiptFile& mine : other->receipt.files) {
            const auto given_file = by_target.find(text::FoldUtf8(mine.target));
            if (mine.outcome == Outcome::Identical && given_file != by_target.end()) {
                // Its own add-on file and name, with the facts of what was written.
                mine.outcome = Outcome::Written;
                mine.size = given_file->second->size;
                mine.modified_ns = given_file->second->modified_ns;
                mine.hash = given_file->second->hash;
                mine.deleted = false;
            }
        }
        if (std::string problem = book.Update(*other); !problem.empty()) {
            return problem;
        }
    }
    return {};
}

// Why nothing may be deleted while the book holds a receipt it cannot read.
std::string Blocker(const ReceiptBook& book, const StoredReceipt& self,
                    const std::vector<StoredReceipt>& all) {
    for (const StoredReceipt& other : all) {
        if (!other.problem.empty() && other.name != self.name) {
            return "the receipt " + other.name + " cannot be read (" + other.problem +
                   ") and may name any file, so nothing is deleted; to set it aside, move it out "
                   "of " +
                   book.Folder();
        }
    }
    return {};
}

// Why the written file is kept, or nothing when it was deleted (or, unless the scrutiny deletes,
// may be).
std::optional<std::string> KeepReason(const GameFiles& files, const Claims& claims,
                                      const ReceiptFile& file, Scrutiny scrutiny) {
    if (const Claims::Claim* claim = claims.Of(file)) {
        return "needed by the add-on from " + claim->by->receipt.addon_folder;
    }
    const Looked looked = files.Check(file, scrutiny);
    switch (looked.look) {
        case Look::AsWritten:
        case Look::Deleted:
            return std::nullopt;
        case Look::Changed:
            return "changed since it was written";
        case Look::Gone:
            return "already gone";
        case Look::Outside:
            return "outside the game folder";
        case Look::CannotDelete:
            return std::string(kUndeleted) + looked.reason;
        case Look::CannotCheck:
            break;
    }
    return std::string(kUnchecked) + looked.reason;
}

bool KeepsInForce(const KeptFile& kept) {
    return kept.reason.starts_with(kUnchecked) || kept.reason.starts_with(kUndeleted);
}

// Records deletions in the receipt as they go, but at most every half second, and for a receipt
// that takes long to write, after four times as long as writing it took: rewriting the receipt
// after each one made the removal of a large add-on take hours. One deleted and not yet recorded
// when the run is cut short is found already gone by the next run.
class Recorder {
public:
    explicit Recorder(const ReceiptBook& book) : book_(book) {}
    std::string WhenDue(const StoredReceipt& receipt) {
        const auto now = Clock::now();
        if (now - recorded_ < every_) {
            return {};
        }
        std::string problem = book_.Update(receipt);
        recorded_ = Clock::now();
        every_ = std::max<Clock::duration>(std::chrono::milliseconds(500), 4 * (recorded_ - now));
        return problem;
    }

private:
    using Clock = std::chrono::steady_clock;
    const ReceiptBook& book_;
    Clock::time_point recorded_ = Clock::now();
    Clock::duration every_ = std::chrono::milliseconds(500);
};

// Deletes what may be deleted and records it; marks the receipt removed when nothing is left
// that a later run may take back.
void DeleteFiles(const ReceiptBook& book, StoredReceipt& receipt,
                 const std::vector<StoredReceipt>& all, const EachFile& each,
                 RemovalResult& result) {
    const Claims claims(receipt, all);
    const GameFiles files(receipt.receipt.game);
    Recorder recorder(book);
    std::map<std::string, std::vector<ReceiptFile>> given;
    const platform::EndSignalsDeferred end_signals;
    bool stopped = false;
    for (ReceiptFile& file : receipt.receipt.files) {
        if (each) {
            each();
        }
        if ((stopped = platform::EndRequested())) {
            break;  // the files not yet looked at keep the receipt in force
        }
        if (file.outcome != Outcome::Written || file.deleted) {
            result.deleted += file.deleted ? 1 : 0;
            continue;
        }
        // Looked at again right before deleting: the files may have changed since the plan.
        if (std::optional<std::string> reason =
                KeepReason(files, claims, file, Scrutiny::WholeThenDelete)) {
            if (const Claims::Claim* claim = claims.Of(file); claim && claim->found_there) {
                given[claim->by->name].push_back(file);
            }
            result.kept.push_back({file.target, std::move(*reason)});
            continue;
        }
        file.deleted = true;
        ++result.deleted;
        if (!(result.problem = recorder.WhenDue(receipt)).empty()) {
            return;
        }
    }
    if (!(result.problem = HandOver(book, given)).empty()) {
        return;
    }
    result.in_force = stopped || result.Unchecked();
    receipt.receipt.removed = !result.in_force;
    receipt.status = result.in_force ? ReceiptStatus::InForce : ReceiptStatus::Removed;
    result.problem = book.Update(receipt);
}

}  // namespace

std::string RemovalResult::Line() const {
    if (deleted == 0) {
        return "No file deleted - " + std::to_string(kept.size()) + " File(s) kept!";
    }
    return "Removed - " + std::to_string(deleted) + " File(s) deleted - " +
           std::to_string(kept.size()) + " File(s) kept!";
}

bool RemovalResult::Unchecked() const {
    return std::any_of(kept.begin(), kept.end(), KeepsInForce);
}

RemovalPlan PlanRemoval(const ReceiptBook& book, const StoredReceipt& receipt,
                        const std::vector<StoredReceipt>& all) {
    RemovalPlan plan;
    plan.blocked = Blocker(book, receipt, all);
    const Claims claims(receipt, all);
    const GameFiles files(receipt.receipt.game);
    for (const ReceiptFile& file : receipt.receipt.files) {
        if (file.outcome != Outcome::Written) {
            continue;
        }
        if (file.deleted) {
            ++plan.deleted_before;
        } else if (std::optional<std::string> reason =
                       KeepReason(files, claims, file, Scrutiny::SizeAndTime)) {
            plan.kept.push_back({file.target, std::move(*reason)});
        } else {
            plan.to_delete.push_back(file.target);
        }
    }
    return plan;
}

RemovalResult CarryOutRemoval(const ReceiptBook& book, StoredReceipt& receipt, const EachFile& each,
                              const Waiting& waiting) {
    RemovalResult result;
    // Under the game folder's lock, with the book as it is now: a pass that ran meanwhile may
    // rely on files the question listed.
    const GameLock lock(
        book.Folder(), receipt.receipt.game,
        waiting ? waiting : [](const std::string&) { return true; });
    if (!(result.problem = lock.Problem()).empty()) {
        return result;
    }
    std::vector<StoredReceipt> all = book.List();
    if (std::optional<StoredReceipt> now = TakeOut(book, all, receipt.name)) {
        receipt = std::move(*now);
    }
    if (!receipt.problem.empty() || receipt.status != ReceiptStatus::InForce) {
        result.problem = "the receipt " + receipt.name +
                         (receipt.problem.empty() ? " is not installed any more"
                                                  : " cannot be read (" + receipt.problem + ")") +
                         "; nothing was removed";
        return result;
    }
    if (!(result.problem = Blocker(book, receipt, all)).empty()) {
        return result;
    }
    DeleteFiles(book, receipt, all, each, result);
    return result;
}

}  // namespace rv
