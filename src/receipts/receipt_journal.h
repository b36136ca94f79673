// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "core/pass_journal.h"

namespace rv {

// Keeps each write pass's record as a receipt in a folder of receipts.
class ReceiptJournal : public PassJournal {
public:
    explicit ReceiptJournal(std::string folder) : folder_(std::move(folder)) {}

    const std::string& Folder() const { return folder_; }

    std::string Record(const PassRecord& pass, const std::string& edition, std::string& name,
                       const std::function<void()>& keep_answering) override;

private:
    std::string folder_;
};

}  // namespace rv
