// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>

#include "core/pass_record.h"

namespace rv {

// Where a write pass keeps the record of what it did to the game folder, so that its add-on can
// be taken out again. The passes know only this interface; the receipts layer, above them,
// implements it, so that how records are stored never reaches the passes.
class PassJournal {
public:
    virtual ~PassJournal() = default;

    // Keeps the record of the write pass that just ended, or was stopped. Returns empty on
    // success and sets `name` to what the user knows the record by; else returns the reason in
    // words. `keep_answering` is called often enough to keep a window answering meanwhile.
    virtual std::string Record(const PassRecord& pass, const std::string& edition,
                               std::string& name, const std::function<void()>& keep_answering) = 0;
};

}  // namespace rv
