// SPDX-License-Identifier: MIT
#include "receipts/removal.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <unordered_map>

#include "platform/end_signals.h"
#include "platform/file_facts.h"

namespace rv {
namespace {

constexpr std::string_view kChanged = "changed since it was written";
constexpr std::string_view kGone = "already gone";

// The targets that other receipts in force found already there with their add-on's content and
// so rely on, each with the add-on folder of the first such receipt.
using ReliedOn = std::unordered_map<std::string, std::string>;

ReliedOn TargetsReliedOn(const StoredReceipt& self, const std::vector<StoredReceipt>& all) {
    ReliedOn relied;
    for (const StoredReceipt& other : all) {
        if (other.status != ReceiptStatus::InForce || other.name == self.name) {
            continue;
        }
        for (const ReceiptFile& file : other.receipt.files) {
            if (file.outcome == Outcome::Identical) {
                relied.try_emplace(file.target, other.receipt.addon_folder);
            }
        }
    }
    return relied;
}

// Why the written file must be kept, or nothing when it may be deleted.
std::optional<std::string> KeepReason(const ReceiptFile& file, const ReliedOn& relied) {
    if (platform::LookAt(file.target).kind == platform::EntryKind::Missing) {
        return std::string(kGone);
    }
    if (!StillAsWritten(file)) {
        return std::string(kChanged);
    }
    if (const auto addon = relied.find(file.target); addon != relied.end()) {
        return "needed by the add-on from " + addon->second;
    }
    return std::nullopt;
}

std::string Refusal(const StoredReceipt& receipt) {
    return "the receipt " + receipt.name + " is " + receipt.problem + "; nothing was removed";
}

}  // namespace

std::string RemovalResult::Line() const {
    return "Removed - " + std::to_string(deleted) + " File(s) deleted - " +
           std::to_string(kept.size()) + " File(s) kept!";
}

bool StillAsWritten(const ReceiptFile& file) {
    const platform::FileFacts facts = platform::LookAt(file.target);
    return facts.kind == platform::EntryKind::RegularFile && facts.size == file.size &&
           facts.modified_ns == file.modified_ns && ContentHash(file.target) == file.hash;
}

WrittenFiles CountWritten(const Receipt& receipt) {
    WrittenFiles count;
    for (const ReceiptFile& file : receipt.files) {
        if (file.outcome == Outcome::Written) {
            ++count.written;
            count.still_as_written += !file.deleted && StillAsWritten(file) ? 1 : 0;
        }
    }
    return count;
}

RemovalPlan PlanRemoval(const StoredReceipt& receipt, const std::vector<StoredReceipt>& all) {
    RemovalPlan plan;
    const ReliedOn relied = TargetsReliedOn(receipt, all);
    for (const ReceiptFile& file : receipt.receipt.files) {
        if (file.outcome != Outcome::Written) {
            continue;
        }
        if (file.deleted) {
            ++plan.deleted_before;
        } else if (std::optional<std::string> reason = KeepReason(file, relied)) {
            plan.kept.push_back({file.target, std::move(*reason)});
        } else {
            plan.to_delete.push_back(file.target);
        }
    }
    return plan;
}

RemovalResult CarryOutRemoval(const ReceiptBook& book, StoredReceipt& receipt,
                              const std::vector<StoredReceipt>& all, const EachFile& each) {
    RemovalResult result;
    if (receipt.status == ReceiptStatus::Damaged ||
        receipt.status == ReceiptStatus::UnknownVersion) {
        result.problem = Refusal(receipt);
        return result;
    }
    const ReliedOn relied = TargetsReliedOn(receipt, all);
    // Deletions are recorded in the receipt as they go, but at most every half second, and for a
    // receipt that takes long to write, after four times as long as writing it took: rewriting
    // the receipt after each one made the removal of a large add-on take hours. One deleted and
    // not yet recorded when the run is cut short is found already gone by the next run.
    using Clock = std::chrono::steady_clock;
    constexpr Clock::duration kRecordEvery = std::chrono::milliseconds(500);
    auto recorded = Clock::now();
    Clock::duration record_every = kRecordEvery;
    const platform::EndSignalsDeferred end_signals;
    bool open_files = false;
    for (ReceiptFile& file : receipt.receipt.files) {
        if (each) {
            each();
        }
        if (platform::EndRequested()) {
            open_files = true;  // the files not yet looked at
            break;
        }
        if (file.outcome != Outcome::Written || file.deleted) {
            result.deleted += file.deleted ? 1 : 0;
            continue;
        }
        // Checked again right before deleting: the files may have changed since the plan.
        std::optional<std::string> reason = KeepReason(file, relied);
        if (!reason) {
            const std::string failure = platform::RemoveFile(file.target);
            if (failure.empty()) {
                file.deleted = true;
                ++result.deleted;
                if (const auto now = Clock::now(); now - recorded >= record_every) {
                    result.problem = book.Update(receipt);
                    recorded = Clock::now();
                    record_every = std::max(kRecordEvery, 4 * (recorded - now));
                    if (!result.problem.empty()) {
                        return result;
                    }
                }
                continue;
            }
            reason = "cannot be deleted: " + failure;
        }
        // A file another add-on needs, or one that could not be deleted, may be taken back by
        // a later run; a changed or vanished one never.
        open_files = open_files || (*reason != kGone && *reason != kChanged);
        result.kept.push_back({file.target, std::move(*reason)});
    }
    receipt.receipt.removed = !open_files;
    receipt.status = open_files ? ReceiptStatus::InForce : ReceiptStatus::Removed;
    result.problem = book.Update(receipt);
    return result;
}

}  // namespace rv
