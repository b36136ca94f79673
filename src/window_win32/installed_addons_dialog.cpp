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
    ShowOutcome(list_->ListProblem());
    // While a removal runs the dialog keeps answering, refusing Remove and Close; while another
    // copy of the program holds the game folder it says so, and closing it gives up.
    list_->SetAnswering([this](const std::string& what) {
        if (!what.empty()) {
            ShowOutcome(what);
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        return IsWindowVisible(Part(kOutcome)) != FALSE;
    });
}

void InstalledAddOnsDialog::ShowOutcome(const std::string& text) {
    SetWindowTextW(Part(kOutcome), platform::WideFromUtf8(text).value_or(std::wstring()).c_str());
}

int InstalledAddOnsDialog::RemovableRow() const {
    const std::vector<std::size_t> rows = SelectedRows();
    return rows.size() == 1 && list_->Removable(rows[0]) ? static_cast<int>(rows[0]) : -1;
}

void InstalledAddOnsDialog::OnSelectionChanged() {
    EnableWindow(Part(kRemove), !list_->Busy() && RemovableRow() >= 0);
}

bool InstalledAddOnsDialog::MayClose() const {
    return list_->MayClose();
}

void InstalledAddOnsDialog::OnCommand(int id, int notification) {
    const int row = RemovableRow();
    if (id != kRemove || notification != BN_CLICKED || row < 0) {
        return;
    }
    EnableWindow(Part(kRemove), FALSE);            // no second removal while this one waits
    list_->Remove(static_cast<std::size_t>(row));  // asks first
    OnSelectionChanged();
    ShowRows(list_->Rows());
    std::string outcome;
    for (const std::string& line : list_->Outcome()) {
        outcome += (outcome.empty() ? "" : "\r\n") + line;
    }
    ShowOutcome(outcome);
}

}  // namespace rv::win32
