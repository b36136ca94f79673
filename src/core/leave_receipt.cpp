// SPDX-License-Identifier: MIT
#include <algorithm>

#include "core/installer.h"

namespace rv {

void RV2003_2004_Add_On_Installer::LeaveReceipt(std::string& failures) {
    receipt_name_.clear();
    receipt_problem_.clear();
    // A pass that wrote nothing still relies on the files it found already there and identical.
    const bool relies =
        std::any_of(last_pass_.files.begin(), last_pass_.files.end(), [](const PassFile& file) {
            return file.state == FileState::Written ||
                   (file.state == FileState::AlreadyThere && file.sameness == Sameness::Identical);
        });
    if (Journal == nullptr || !relies) {
        return;
    }
    // The files are written: their receipt is made and saved even when the window asks to
    // close meanwhile, which it may do while a large add-on's receipt is made.
    receipt_problem_ =
        Journal->Record(last_pass_, Edition, receipt_name_, [this] { YieldWhenDue(); });
    if (!receipt_problem_.empty()) {
        receipt_name_.clear();
        receipt_problem_ =
            "No receipt was saved, so this add-on cannot be removed by this program: " +
            receipt_problem_;
        failures += (failures.empty() ? "" : "\n") + receipt_problem_;
    }
}

}  // namespace rv
