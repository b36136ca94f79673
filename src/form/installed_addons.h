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

    // Asked while another copy of the program holds the game folder, with what is waited for; a
    // window keeps answering there. Without it the removal waits in silence.
    void SetWaiting(Waiting waiting) { waiting_ = std::move(waiting); }

    // Shows what the removal would delete and keep in one question, and when the user agrees,
    // deletes what may be deleted; then lists the receipts afresh. Outcome() tells what happened.
    void Remove(std::size_t row);
    // After Remove: the result line ("Removed - 12 File(s) deleted - 2 File(s) kept!"), or why
    // nothing was removed, followed by each kept file and its reason.
    const std::vector<std::string>& Outcome() const { return outcome_; }

private:
    void List();

    ReceiptBook book_;
    GameIdentity game_;
    std::string problem_;  // why the receipts could not be listed
    Confirm confirm_;
    Waiting waiting_;
    std::vector<StoredReceipt> receipts_;
    std::vector<TableRow> rows_;
    std::vector<std::string> outcome_;
};

}  // namespace rv
