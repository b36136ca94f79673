// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "core/add_on_walk.h"
#include "core/category_table.h"
#include "core/file_counters.h"
#include "core/pass_journal.h"
#include "core/pass_record.h"
#include "core/window_operations.h"

namespace rv {

// The application object: the state of the workflow and the handlers that change it. It reaches
// the window only through WindowOperations and the disk only through the platform layer.
class RV2003_2004_Add_On_Installer {
public:
    explicit RV2003_2004_Add_On_Installer(WindowOperations& window);

    std::string GameFolder;
    std::string AddOnFolder;

    // "RV2003" or "RV2004": the edition GameFolder belongs to, kept in receipts.
    std::string Edition;
    // Where a write pass that copied a file keeps its record; none keeps none.
    PassJournal* Journal = nullptr;

    void cmd_read_Click();
    void cmd_write_Click();

    // True while a read or write pass runs and yields to the window. Handlers that would change
    // the workflow's state (Read, Write, the edition switch, the folder buttons) do nothing then.
    bool PassRunning() const { return pass_running_; }

    // Sets all 32 counters to 0 and all 28 counter labels to "0", in the window's reset order.
    void ResetAllCounters();

    static std::string SplitFileFromPath(std::string Pfad);

    const FileCounters& Counters() const { return counters_; }
    // Every add-on file of the last read or write pass and what became of it.
    const PassRecord& LastPass() const { return last_pass_; }
    // The last write pass's receipt: its name, or why it could not be stored (both empty when
    // the pass left none).
    const std::string& LastReceiptName() const { return receipt_name_; }
    const std::string& LastReceiptProblem() const { return receipt_problem_; }

private:
    // Working values of the one file a pass handles; after a pass they hold the last file's.
    std::string SourcePath;
    std::string TargetPath;
    bool TargetExists = false;

    void ReadAddOns();
    void WriteAddOns();

    // Adds one to the counter and shows the new count in the category's label of the group.
    void CountOne(CounterKind kind, Category category);
    // Busy pointer, yield, the walk of the add-on folder on a pass's first row, default pointer,
    // yield. False when the window is closing.
    bool SearchRow(std::optional<AddOnWalk>& walk);
    // Yields to the window; so does YieldWhenDue when 100 ms have passed since the last yield,
    // so that long loops keep the window alive. False when the window is closing.
    bool YieldToWindow();
    bool YieldWhenDue();
    // Refuses a pass without an add-on folder (or, for writing, without a game folder).
    bool RefuseEmptyFolders(bool writing);
    // Stores the receipt of the write pass that just ended; a failure is added to `failures`.
    void LeaveReceipt(std::string& failures);

    WindowOperations& window_;
    FileCounters counters_;
    bool pass_running_ = false;
    std::chrono::steady_clock::time_point last_yield_;
    PassRecord last_pass_;
    std::string receipt_name_;
    std::string receipt_problem_;
};

}  // namespace rv
