// SPDX-License-Identifier: MIT
#include "window_win32/installed_addons_dialog.h"

#include "platform/wide_text_win.h"

namespace rv::win32 {

InstalledAddOnsDialog::InstalledAddOnsDialog(HWND owner, std::unique_ptr<InstalledAddOns> list)
    : TableDialog(owner, InstalledAddOns::kTitle, InstalledAddOns::kColumns),
      list_(std::move(list)) {
    AddPart(kOutcome, L"EDIT",
            WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL);
    AddPart(kRemove, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, "Remove");
    ShowRows(list_->Rows());
    Open();
}

int InstalledAddOnsDialog::RemovableRow() const {
    const std::vector<std::size_t> rows = SelectedRows();
    return rows.size() == 1 && list_->Removable(rows[0]) ? static_cast<int>(rows[0]) : -1;
}

void InstalledAddOnsDialog::OnSelectionChanged() {
    EnableWindow(Part(kRemove), RemovableRow() >= 0);
}

void InstalledAddOnsDialog::OnCommand(int id, int notification) {
    const int row = RemovableRow();
    if (id != kRemove || notification != BN_CLICKED || row < 0) {
        return;
    }
    list_->Remove(static_cast<std::size_t>(row));  // asks first
    ShowRows(list_->Rows());
    std::string outcome;
    for (const std::string& line : list_->Outcome()) {
        outcome += (outcome.empty() ? "" : "\r\n") + line;
    }
    SetWindowTextW(Part(kOutcome),
                   platform::WideFromUtf8(outcome).value_or(std::wstring()).c_str());
}

}  // namespace rv::win32
