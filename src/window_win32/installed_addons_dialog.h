// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "form/installed_addons.h"
#include "window_win32/table_dialog.h"

namespace rv::win32 {

// "Installed add-ons": the receipts of the game folder, Remove for the one selected when it can
// be removed, and below the table what the last removal did and which files it kept.
class InstalledAddOnsDialog final : public TableDialog {
public:
    InstalledAddOnsDialog(HWND owner, std::unique_ptr<InstalledAddOns> list);

private:
    void OnCommand(int id, int notification) override;
    void OnSelectionChanged() override;
    bool MayClose() const override;
    // The one selected row that can be removed, or -1.
    int RemovableRow() const;
    void ShowOutcome(const std::string& text);

    std::unique_ptr<InstalledAddOns> list_;
};

}  // namespace rv::win32
