// SPDX-License-Identifier: MIT
#include "receipts/removal.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "platform/end_signals.h"
#include "receipts/game_files.h"
#include "receipts/game_lock.h"
#include "receipts/side_by_side.h"
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

// Why a file another receipt names is kept.
std::string NeededBy(const Claims::Claim& claim) {
    return "needed by the add-on from " + claim.by->receipt.addon_folder;
}

// Why the written file looked at is kept, or nothing when it was deleted (or, unless the look
// deletes, may be).
std::optional<std::string> KeepReason(const Looked& looked) {
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

// Files looked at and deleted a batch at a time, the batch's files side by side: a removal of a
// million files is mostly waiting on the system, which several threads do at once. Each thread
// has the game folder opened for itself.
class SideBySideLook {
public:
    SideBySideLook(const GameIdentity& game, std::size_t files)
        : games_(GameFilesFor(game, ThreadsFor(files))) {}
    static constexpr std::size_t kBatch = 2048;

    // What became of each file of the batch; nothing for one not reached before a signal came
    // that ends the program, when `heed_signals`.
    std::vector<std::optional<Looked>> Delete(const std::vector<ReceiptFile*>& batch,
                                              bool heed_signals) {
        std::vector<std::optional<Looked>> looked(batch.size());
        for (const std::unique_ptr<GameFiles>& game : games_) {
            game->RecheckFolders();
        }
        SideBySide(batch.size(), games_.size(), [&](std::size_t thread, std::size_t at) {
            if (heed_signals && platform::EndRequested()) {
                return false;
            }
            looked[at] = games_[thread]->Check(*batch[at], Scrutiny::WholeThenDelete);
            return true;
        });
        return looked;
    }

private:
    std::vector<std::unique_ptr<GameFiles>> games_;
};

bool KeepsInForce(const KeptFile& kept) {
    return kept.reason.starts_with(kUnchecked) || kept.reason.starts_with(kUndeleted);
}

// Records deletions in the receipt as they go, but at most every half second, and for a receipt
// that takes long to write, after sixteen times as long as writing it takes: rewriting the
// receipt after each one made the removal of a large add-on take hours, and at four times as
// long, a removal of a million files still spent a fifth of its time on it. Until it was written
// once, writing it is taken to take as long as it takes here for a receipt of its size. One
// deleted and not yet recorded when the run is cut short (a signal that ends the program records
// them all first) is found already gone by the next run.
class Recorder {
public:
    Recorder(const ReceiptBook& book, std::size_t files)
        : book_(book), every_(std::max<Clock::duration>(kShortest, 16 * files * kWritingPerFile)) {}
    std::string WhenDue(const StoredReceipt& receipt) {
        const auto now = Clock::now();
        if (now - recorded_ < every_) {
            return {};
        }
        std::string problem = book_.Update(receipt);
        recorded_ = Clock::now();
        every_ = std::max<Clock::duration>(kShortest, 16 * (recorded_ - now));
        return problem;
    }

private:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration kShortest = std::chrono::milliseconds(500);
    static constexpr Clock::duration kWritingPerFile = std::chrono::microseconds(2);
    const ReceiptBook& book_;
    Clock::time_point recorded_ = Clock::now();
    Clock::duration every_;
};

// A removal under way: what it deleted and kept so far, recorded as it goes.
class Deletion {
public:
    Deletion(const ReceiptBook& book, StoredReceipt& receipt, const std::vector<StoredReceipt>& all,
             const DeletedFile& deleted, RemovalResult& result)
        : book_(book),
          receipt_(receipt),
          claims_(receipt, all),
          look_(receipt.receipt.game, receipt.receipt.files.size()),
          recorder_(book, receipt.receipt.files.size()),
          deleted_(deleted),
          result_(result) {}

    // Takes the files from `next` on that are to be looked at, up to a batch, and counts or keeps
    // the others; true once a signal asks the program to end.
    bool Gather(std::size_t& next, std::vector<ReceiptFile*>& batch) {
        std::vector<ReceiptFile>& files = receipt_.receipt.files;
        for (; next < files.size() && batch.size() < SideBySideLook::kBatch; ++next) {
            if (platform::EndRequested()) {
                return true;  // the files not yet looked at keep the receipt in force
            }
            ReceiptFile& file = files[next];
            if (file.outcome != Outcome::Written || file.deleted) {
                result_.deleted += file.deleted ? 1 : 0;
            } else if (const Claims::Claim* claim = claims_.Of(file)) {
                if (claim->found_there) {
                    given_[claim->by->name].push_back(file);
                }
                result_.kept.push_back({file.target, NeededBy(*claim)});
            } else {
                batch.push_back(&file);
            }
        }
        return false;
    }

    // Looks at the batch again right before deleting (the files may have changed since the plan),
    // deletes what may go and records it. True when a signal stopped it before the batch's end;
    // a batch gathered until a signal came is taken to its end, as each of its files was begun.
    bool Delete(const std::vector<ReceiptFile*>& batch, bool gathered_until_signal) {
        const std::vector<std::optional<Looked>> looked =
            look_.Delete(batch, !gathered_until_signal);
        bool stopped = false;
        for (std::size_t at = 0; at < batch.size(); ++at) {
            ReceiptFile& file = *batch[at];
            if (!looked[at]) {
                stopped = true;
            } else if (std::optional<std::string> reason = KeepReason(*looked[at])) {
                result_.kept.push_back({file.target, std::move(*reason)});
            } else {
                file.deleted = true;
                ++result_.deleted;
                if (deleted_) {
                    deleted_(file);
                }
            }
        }
        return stopped || !(result_.problem = recorder_.WhenDue(receipt_)).empty();
    }

    // Hands over what other receipts found there, and records the end.
    void Finish(bool stopped) {
        if (!result_.problem.empty() || !(result_.problem = HandOver(book_, given_)).empty()) {
            return;
        }
        result_.in_force = stopped || result_.Unchecked();
        receipt_.receipt.removed = !result_.in_force;
        receipt_.status = result_.in_force ? ReceiptStatus::InForce : ReceiptStatus::Removed;
        result_.problem = book_.Update(receipt_);
    }

private:
    const ReceiptBook& book_;
    StoredReceipt& receipt_;
    const Claims claims_;
    SideBySideLook look_;
    Recorder recorder_;
    const DeletedFile& deleted_;
    std::map<std::string, std::vector<ReceiptFile>> given_;
    RemovalResult& result_;
};

// Deletes what may be deleted and records it; marks the receipt removed when nothing is left
// that a later run may take back.
void DeleteFiles(const ReceiptBook& book, StoredReceipt& receipt,
                 const std::vector<StoredReceipt>& all, const DeletedFile& deleted,
                 RemovalResult& result) {
    Deletion deletion(book, receipt, all, deleted, result);
    const platform::EndSignalsDeferred end_signals;
    bool stopped = false;
    for (std::size_t next = 0; !stopped && next < receipt.receipt.files.size();) {
        std::vector<ReceiptFile*> batch;
        stopped = deletion.Gather(next, batch);
        stopped = deletion.Delete(batch, stopped) || stopped;
    }
    deletion.Finish(stopped);
}

}  // namespace

// Nothing may be deleted while the book holds a receipt it cannot read.
std::string RemovalBlocked(const ReceiptBook& book, const StoredReceipt& self,
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
    plan.blocked = RemovalBlocked(book, receipt, all);
    const Claims claims(receipt, all);
    const std::vector<ReceiptFile>& files = receipt.receipt.files;
    // The files no other receipt names are looked at side by side.
    std::vector<std::optional<Looked>> looked(files.size());
    const std::size_t threads = ThreadsFor(files.size());
    const std::vector<std::unique_ptr<GameFiles>> games =
        GameFilesFor(receipt.receipt.game, threads);
    SideBySide(files.size(), threads, [&](std::size_t thread, std::size_t at) {
        const ReceiptFile& file = files[at];
        if (file.outcome == Outcome::Written && !file.deleted && !claims.Of(file)) {
            looked[at] = games[thread]->Check(file, Scrutiny::SizeAndTime);
        }
        return true;
    });
    for (std::size_t at = 0; at < files.size(); ++at) {
        const ReceiptFile& file = files[at];
        if (file.outcome != Outcome::Written) {
            continue;
        }
        if (file.deleted) {
            ++plan.deleted_before;
        } else if (std::optional<std::string> reason =  // not looked at: another receipt names it
                   looked[at] ? KeepReason(*looked[at]) : NeededBy(*claims.Of(file))) {
            plan.kept.push_back({file.target, std::move(*reason)});
        } else {
            plan.to_delete.push_back(file.target);
        }
    }
    return plan;
}

namespace {

// The book as it is now, the receipt itself taken out of it and brought up to date.
std::vector<StoredReceipt> BookNow(const ReceiptBook& book, StoredReceipt& receipt,
                                   std::optional<std::vector<StoredReceipt>> asked) {
    if (asked) {
        const auto self = [&receipt](const StoredReceipt& s) { return s.name == receipt.name; };
        std::erase_if(*asked, self);
        asked->push_back(std::move(receipt));
        const bool same = book.StillHolds(*asked);
        receipt = std::move(asked->back());
        asked->pop_back();
        if (same) {
            return std::move(*asked);  // a large book is not read twice
        }
    }
    std::vector<StoredReceipt> all = book.List();
    if (std::optional<StoredReceipt> now = TakeOut(book, all, receipt.name)) {
        receipt = std::move(*now);
    }
    return all;
}

}  // namespace

RemovalResult CarryOutRemoval(const ReceiptBook& book, StoredReceipt& receipt,
                              const DeletedFile& deleted, const Waiting& waiting,
                              std::optional<std::vector<StoredReceipt>> asked) {
    RemovalResult result;
    // Under the game folder's lock, with the book as it is now: a pass that ran meanwhile may
    // rely on files the question listed.
    const GameLock lock(
        book.Folder(), receipt.receipt.game,
        waiting ? waiting : [](const std::string&) { return true; });
    if (!(result.problem = lock.Problem()).empty()) {
        return result;
    }
    const std::vector<StoredReceipt> all = BookNow(book, receipt, std::move(asked));
    if (!receipt.problem.empty() || receipt.status != ReceiptStatus::InForce) {
        result.problem = "the receipt " + receipt.name +
                         (receipt.problem.empty() ? " is not installed any more"
                                                  : " cannot be read (" + receipt.problem + ")") +
                         "; nothing was removed";
        return result;
    }
    if (!(result.problem = RemovalBlocked(book, receipt, all)).empty()) {
        return result;
    }
    DeleteFiles(book, receipt, all, deleted, result);
    return result;
}

}  // namespace rv
