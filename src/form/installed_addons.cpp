// SPDX-License-Identifier: MIT
#include "form/installed_addons.h"

#include <utility>

#include "receipts/removal.h"
#include "text/text.h"

namespace rv {
namespace {

std::string StatusText(const StoredReceipt& stored) {
    switch (stored.status) {
        case ReceiptStatus::InForce:
        case ReceiptStatus::Removed:
            return std::string(StatusName(stored.status));
        case ReceiptStatus::UnknownVersion:
            break;
        case ReceiptStatus::Damaged:
            return std::string(StatusName(stored.status)) + " (" + stored.problem +
                   "): cannot be removed";
    }
    return std::string(StatusName(stored.status)) + ": cannot be removed";
}

// "2026-12-06T17:30:05.123Z" as "2026-12-06 17:30:05 UTC".
std::string DateText(const std::string& time) {
    if (time.size() < 19) {
        return text::ShownName(time);
    }
    return time.substr(0, 10) + " " + time.substr(11, 8) + " UTC";
}

TableRow RowOf(const StoredReceipt& stored) {
    if (!stored.problem.empty()) {  // nothing but its name is known
        return {text::ShownName(stored.name), "", "", "", StatusText(stored)};
    }
    const WrittenFiles count = CountWritten(stored.receipt);
    return {text::ShownName(stored.receipt.addon_folder), DateText(stored.receipt.time),
            std::to_string(count.written), std::to_string(count.still_as_written),
            StatusText(stored)};
}

// The heading with the count, then every line: the list scrolls, so none is left out.
void AddLines(ListQuestion& question, std::string_view heading,
              const std::vector<std::string>& lines) {
    if (lines.empty()) {
        return;
    }
    question.lines.push_back(std::string(heading) + " (" + std::to_string(lines.size()) + "):");
    question.lines.insert(question.lines.end(), lines.begin(), lines.end());
}

std::vector<std::string> KeptLines(const std::vector<KeptFile>& kept) {
    std::vector<std::string> lines;
    for (const KeptFile& file : kept) {
        lines.push_back(text::ShownName(file.target) + ": " + text::ShownName(file.reason));
    }
    return lines;
}

// The files are named as the receipt stores them, relative to the game folder.
ListQuestion Question(const StoredReceipt& stored, const RemovalPlan& plan) {
    ListQuestion question{
        "Remove the add-on from " + text::ShownName(stored.receipt.addon_folder) + "?", {}};
    std::vector<std::string> deleted;
    for (const std::string& target : plan.to_delete) {
        deleted.push_back(text::ShownName(target));
    }
    AddLines(question, "Will be deleted", deleted);
    AddLines(question, "Will be kept", KeptLines(plan.kept));
    return question;
}

}  // namespace

InstalledAddOns::InstalledAddOns(std::string receipt_folder, std::string game_folder,
                                 Confirm confirm)
    : book_(std::move(receipt_folder)),
      game_(IdentityOf(game_folder)),
      confirm_(std::move(confirm)) {
    List();
}

bool InstalledAddOns::Removable(std::size_t row) const {
    return row < receipts_.size() && receipts_[row].status == ReceiptStatus::InForce;
}

void InstalledAddOns::Remove(std::size_t row) {
    if (!Removable(row)) {
        return;
    }
    StoredReceipt stored = receipts_[row];
    std::vector<StoredReceipt> all = book_.List();
    const RemovalPlan plan = PlanRemoval(book_, stored, all);
    if (!plan.blocked.empty()) {
        outcome_ = {"Nothing was removed: " + text::ShownName(plan.blocked) + "."};
        return;
    }
    // Nothing to delete needs no question: the receipt is only marked removed.
    if (!plan.to_delete.empty() && !confirm_(Question(stored, plan))) {
        outcome_ = {"Nothing was removed."};
        return;
    }
    const RemovalResult result = CarryOutRemoval(book_, stored, {}, waiting_, std::move(all));
    outcome_ = {result.Line()};
    if (!result.problem.empty()) {
        outcome_.push_back(text::ShownName(result.problem));
    } else if (result.in_force) {
        outcome_.push_back("The add-on stays installed: some files could not be checked.");
    }
    const std::vector<std::string> kept = KeptLines(result.kept);
    outcome_.insert(outcome_.end(), kept.begin(), kept.end());
    List();
}

void InstalledAddOns::List() {
    receipts_ = book_.List(game_, &problem_);
    rows_.clear();
    for (const StoredReceipt& stored : receipts_) {
        rows_.push_back(RowOf(stored));
    }
}

}  // namespace rv
