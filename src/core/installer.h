// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/add_on_walk.h"
#include "core/category_table.h"
#include "core/file_counters.h"
#include "core/pass_journal.h"
#include "core/pass_record.h"
#include "core/sameness_checks.h"
#include "core/window_operations.h"

namespace rv {

class GameFolderNames;
class FailureList;
struct RowFile;
struct WriteTally;
enum class InstallOutcome;

// The application object: the state of the workflow and the handlers that change it. It reaches
// the window only through WindowOperations and the disk only through the platform layer.
class RV2003_2004_Add_On_Installer {
public:
    explicit RV2003_2004_Add_On_Installer(WindowOperations& window);

    // A folder set drops the comparisons of the last read, which were of the folder before.
    const std::string& GetGameFolder() const { return GameFolder; }
    void SetGameFolder(std::string folder) {
        DropComparisons();
        GameFolder = std::move(folder);
    }
    const std::string& GetAddOnFolder() const { return AddOnFolder; }
    void SetAddOnFolder(std::string folder) {
        DropComparisons();
        AddOnFolder = std::move(folder);
    }

    // "RV2003" or "RV2004": the edition the game folder belongs to, kept in receipts.
    const std::string& GetEdition() const { return edition_; }
    void SetEdition(std::string edition) { edition_ = std::move(edition); }
    // Where a write pass that copied a file keeps its record; none keeps none.
    void SetJournal(PassJournal* journal) { journal_ = journal; }

    void cmd_read_Click();
    void cmd_write_Click();

    // A read pass that found files already there compares them with the add-on's after it has
    // ended (read_pass.cpp); the status tool tip then gains the line of those of another version.
    // `wanted` is called on the comparing thread, never the window's, whenever the window's
    // thread should call TendComparisons; without it they are made by FinishComparisons.
    void SetComparisonsWanted(std::function<void()> wanted) {
        comparisons_wanted_ = std::move(wanted);
    }
    // On the window's thread: notes what is compared, asks for more, and shows the line once
    // all are made. Nothing happens when no comparison is pending.
    void TendComparisons();
    // Makes every pending comparison before it returns, and shows the line.
    void FinishComparisons();
    // Forgets the pending comparisons, which then never show: the status line has moved on.
    void DropComparisons() { comparisons_.reset(); }
    bool ComparisonsPending() const { return comparisons_.has_value(); }

    // True while a read or write pass runs and yields to the window. Handlers that would change
    // the workflow's state (Read, Write, the edition switch, the folder buttons) do nothing then.
    bool PassRunning() const { return pass_running_; }

    // Sets all 32 counters to 0 and all 28 counter labels to "0", in the window's reset order.
    void ResetAllCounters();

    // The file's name in the path, as both passes take it: what follows platform::NameStart.
    static std::string SplitFileFromPath(std::string Pfad);

    const FileCounters& Counters() const { return counters_; }
    // Every add-on file of the last read or write pass and what became of it.
    const PassRecord& LastPass() const { return last_pass_; }
    // The last write pass's receipt: its name, or why it could not be stored (both empty when
    // the pass left none).
    const std::string& LastReceiptName() const { return receipt_name_; }
    const std::string& LastReceiptProblem() const { return receipt_problem_; }

private:
    std::string GameFolder;
    std::string AddOnFolder;
    std::string edition_;
    PassJournal* journal_ = nullptr;

    // Working values of the one file a pass handles; after a pass they hold the last file's.
    std::string SourcePath;
    std::string TargetPath;
    bool TargetExists = false;

    void ReadAddOns();
    void WriteAddOns();

    // The per-row walk both passes make: for each row of `rows`, the add-on folder's walk (made
    // on the first row), then `start` with the row's index, then `each` for every walked file
    // that matches the row's pattern, yielding to the window when due after each. False when the
    // window is closing or `each` returned false: the walk has stopped then.
    bool WalkRows(std::span<const CategoryRow> rows, std::optional<AddOnWalk>& walk,
                  const std::function<void(std::size_t row)>& start,
                  const std::function<bool(const RowFile&)>& each);
    // The read pass's look at one file: counted as read, and as already there or ready to write.
    void CheckOne(const RowFile& file, GameFolderNames& game, FailureList& unread);
    // The write pass's handling of one file: copied when the game lacks it, else left alone.
    InstallOutcome InstallOne(const RowFile& file, GameFolderNames& game, WriteTally& tally);
    // Notes what the copy of one file came to.
    InstallOutcome NoteCopy(const RowFile& file, GameFolderNames& game, WriteTally& tally,
                            platform::CopyResult result, std::string hash);
    // Notes a file found at its target, and asks for its comparison when a receipt is kept.
    void NoteAlreadyThere(Category category, WriteTally& tally);
    // The closing line of a pass that went through all its rows.
    void ShowReadResult();
    // After a read pass: starts the comparisons of the files already there, or shows their line.
    void StartComparisons(std::string tool_tip);
    void ShowComparisons();
    void ShowWriteResult(const WriteTally& tally);
    // Gathers the comparisons asked for and stores the receipt; a failure is added to
    // `failures`. A pass stopped midway leaves one too, so that what it wrote can be taken back.
    void FinishWrite(WriteTally& tally, std::string& failures);

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
    // The journal's hooks of a write pass (leave_receipt.cpp): false when the pass may not write.
    bool BeginJournal();
    // Names the target in the journal before it is copied; empty, or why it must not be.
    std::string NoteIntent(Category category);
    // Names in the journal, before the row's first copy, every file of the row whose name the
    // game folder lacks now.
    void NoteIntentsAhead(const CategoryRow& row, const AddOnWalk& walk, GameFolderNames& game);

    WindowOperations& window_;
    FileCounters counters_;
    bool pass_running_ = false;
    std::chrono::steady_clock::time_point last_yield_;
    PassRecord last_pass_;
    std::string receipt_name_;
    std::string receipt_problem_;
    std::function<void()> comparisons_wanted_;
    std::optional<ReadComparisons> comparisons_;
    std::string read_tool_tip_;  // what the read pass put in the status tool tip
};

}  // namespace rv
