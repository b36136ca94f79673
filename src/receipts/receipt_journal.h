// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/pass_journal.h"
#include "receipts/game_lock.h"
#include "receipts/journal_file.h"
#include "receipts/receipt.h"

namespace rv {

// Keeps each write pass's record as a receipt in a folder of receipts (the user's data folder).
// While the pass runs it holds the game folder's lock and journals each file ahead of its copy
// in a file beside the receipts; a journal left by a process that ended is made a receipt the
// next time the receipts are listed.
class ReceiptJournal : public PassJournal {
public:
    explicit ReceiptJournal(std::string folder) : folder_(std::move(folder)) {}
    ~ReceiptJournal() override;

    const std::string& Folder() const { return folder_; }

    std::string Begin(const PassRecord& pass, const std::string& edition,
                      const Waiting& waiting) override;
    std::string Intend(const PassFile& file) override;
    void IntendAhead(const std::vector<PassFile>& files,
                     const std::function<void()>& keep_answering) override;
    void Wrote(const PassFile& file) override;
    void AlreadyThere(const PassFile& file) override;
    void Found(const PassFile& file) override;
    std::string Record(const PassRecord& pass, const std::string& edition, std::string& name,
                       const std::function<void()>& keep_answering) override;

private:
    // The journal's line of the file, as named ahead of its copy when `intended`.
    ReceiptFile Line(const PassFile& file, bool intended) const;
    // Appends the line; flushed to the disk at once when `now`, else with the next batch.
    std::string Append(const ReceiptFile& file, bool now);
    void Note(const PassFile& file);
    void End();

    std::string folder_;
    std::unique_ptr<GameLock> lock_;
    std::unique_ptr<JournalFile> journal_;
    std::string name_;  // of the receipt to be, without its ending
    GameIdentity game_;
    std::chrono::steady_clock::time_point synced_;
    // Each file named ahead and flushed, by a hash of its target (folded) and its add-on file.
    std::unordered_set<std::uint64_t> ahead_;
};

}  // namespace rv
