// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "form/dialog_table.h"
#include "form/list_question.h"
#include "receipts/game_lock.h"
#include "receipts/receipt_book.h"

namespace rv {

// The dialog "Installed add-ons": the receipts of the current game folder, newest first, and the
// removal of one of them.
class InstalledAddOns {
public:
    static constexpr std::string_view kTitle = "Installed add-ons";
    static constexpr std::array<std::string_view, 5> kColumns = {
        "Add-on folder", "Date", "Files written", "Still as written", "Status"};
    // The title of the one question asked before anything is deleted.
    static constexpr std::string_view kConfirmTitle = "Remove add-on";

    // Asks the user a yes/no question; true for yes.
    using Confirm = std::function<bool(const ListQuestion& question)>;

    // The receipts in the folder that belong to the game folder, and the damaged ones, which
    // cannot tell their game folder.
    InstalledAddOns(std::string receipt_folder, std::string game_folder, Confirm confirm);

    const std::vector<TableRow>& Rows() const { return rows_; }
    // Why the receipts could not be listed; empty when they could (none may be there).
    const std::string& ListProblem() const { return problem_; }
    // Only a receipt in force can be removed: never a damaged one, one of an unknown version or
    // one already removed.
    bool Removable(std::size_t row) const;

    // Asked every few milliseconds while a removal runs, with what it waits for while another
    // copy of the program holds the game folder (else with nothing); a window answers there, and
    // false gives up the wait. Without it the removal runs, and waits, in silence.
    void SetAnswering(Waiting answering) { answering_ = std::move(answering); }
    // While a removal runs, nothing but giving up its wait for the game folder is taken: no second
    // removal, and no closing the dialog.
    bool Busy() const { return busy_; }
    bool MayClose() const { return !busy_ || waiting_; }

    // Shows what the removal would delete and keep in one question, and when the user agrees,
    // deletes what may be deleted; then lists the receipts afresh. Outcome() tells what happened.
    // The reading and the deletions run beside the window, which answers meanwhile.
    void Remove(std::size_t row);
    // After Remove: the result line ("Removed - 12 File(s) deleted - 2 File(s) kept!"), or why
    // nothing was removed, followed by each kept file and its reason.
    const std::vector<std::string>& Outcome() const { return outcome_; }

private:
    // Deletes what may be deleted once the user agreed, and lists the receipts afresh.
    void CarryOut(StoredReceipt& stored, std::vector<StoredReceipt> all);
    // Shows the receipts listed, counted, and why they could not be listed.
    void Show(std::vector<StoredReceipt> listed, std::string problem);
    // Runs the job on a thread of its own while the window answers here; `waiting` passes on
    // what the job waits for. Without a window to answer, the job runs here.
    void WhileAnswering(const std::function<void(const Waiting& waiting)>& job);

    ReceiptBook book_;
    GameIdentity game_;
    std::string problem_;  // why the receipts could not be listed
    Confirm confirm_;
    Waiting answering_;
    bool busy_ = false;
    bool waiting_ = false;  // for another copy of the program
    std::vector<StoredReceipt> receipts_;
    std::vector<TableRow> rows_;
    std::vector<std::string> outcome_;
};

}  // namespace rv
