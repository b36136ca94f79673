// SPDX-License-Identifier: MIT
#include "form/installed_addons.h"

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <optional>
#include <system_error>
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
    return {text::ShownName(stored.receipt.addon_folder), DateText(stored.receipt.time),
            std::to_string(stored.count.written), std::to_string(stored.count.still_as_written),
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
    std::string problem;
    std::vector<StoredReceipt> listed = book_.List(game_, &problem, Reading::Counted);
    Show(std::move(listed), std::move(problem));
}

bool InstalledAddOns::Removable(std::size_t row) const {
    return row < receipts_.size() && receipts_[row].status == ReceiptStatus::InForce;
}

void InstalledAddOns::Remove(std::size_t row) {
    if (busy_ || !Removable(row)) {
        return;
    }
    busy_ = true;
    const std::string name = receipts_[row].name;
    std::vector<StoredReceipt> all;
    std::optional<StoredReceipt> stored;
    RemovalPlan plan;
    WhileAnswering([&](const Waiting&) {
        all = book_.List();
        if ((stored = TakeOut(book_, all, name))) {
            plan = PlanRemoval(book_, *stored, all);
        }
    });
    if (!stored || !plan.blocked.empty()) {
        outcome_ = {"Nothing was removed: " +
                    (stored ? text::ShownName(plan.blocked) : "the receipt " + name + " is gone") +
                    "."};
    } else if (!plan.to_delete.empty() && !confirm_(Question(*stored, plan))) {
        // Nothing to delete needs no question: the receipt is only marked removed.
        outcome_ = {"Nothing was removed."};
    } else {
        CarryOut(*stored, std::move(all));
    }
    busy_ = false;
}

void InstalledAddOns::CarryOut(StoredReceipt& stored, std::vector<StoredReceipt> all) {
    RemovalResult result;
    std::vector<StoredReceipt> listed;
    std::string problem;
    WhileAnswering([&](const Waiting& waiting) {
        result = CarryOutRemoval(book_, stored, {}, waiting, std::move(all));
        listed = book_.List(game_, &problem, Reading::Counted);
    });
    outcome_ = {result.Line()};
    if (!result.problem.empty()) {
        outcome_.push_back(text::ShownName(result.problem));
    } else if (result.in_force) {
        outcome_.push_back("The add-on stays installed: some files could not be checked.");
    }
    const std::vector<std::string> kept = KeptLines(result.kept);
    outcome_.insert(outcome_.end(), kept.begin(), kept.end());
    Show(std::move(listed), std::move(problem));
}

void InstalledAddOns::WhileAnswering(const std::function<void(const Waiting& waiting)>& job) {
    using Clock = std::chrono::steady_clock;
    std::mutex mutex;
    std::string said;                    // what the job waits for
    std::atomic<Clock::rep> said_at{0};  // when it last said so
    std::atomic<bool> go_on{true};
    const Waiting relayed = [&](const std::string& what) {
        const std::lock_guard<std::mutex> lock(mutex);
        said = what;
        said_at = Clock::now().time_since_epoch().count();
        return go_on.load();
    };
    std::future<void> done;
    try {
        if (answering_) {
            done = std::async(std::launch::async, [&] { job(relayed); });
        }
    } catch (const std::system_error&) {
    }
    if (!done.valid()) {
        job(answering_);  // no thread to be had: the window answers only while it waits
        return;
    }
    while (done.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        // The job asks every few milliseconds while it waits.
        waiting_ = Clock::now() - Clock::time_point(Clock::duration(said_at.load())) <
                   std::chrono::milliseconds(200);
        std::string what;
        if (waiting_) {
            const std::lock_guard<std::mutex> lock(mutex);
            what = said;
        }
        if (!answering_(what)) {
            go_on = false;
        }
    }
    waiting_ = false;
    done.get();
}

void InstalledAddOns::Show(std::vector<StoredReceipt> listed, std::string problem) {
    receipts_ = std::move(listed);
    problem_ = std::move(problem);
    rows_.clear();
    for (const StoredReceipt& stored : receipts_) {
        rows_.push_back(RowOf(stored));
    }
}

}  // namespace rv
