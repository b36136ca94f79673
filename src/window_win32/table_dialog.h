// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "form/dialog_table.h"
#include "window_win32/dialog_window.h"

namespace rv::win32 {

// A dialog around one table: a report-view list with sortable columns, optional parts above and
// below it, and a Close button.
class TableDialog : public DialogWindow {
public:
    static constexpr const wchar_t* kClassName = L"RvTableDialog";
    // The parts' ids; a test driver finds them by these.
    enum PartId : int { kTable = 100, kHeading, kFilter, kCopy, kRemove, kOutcome };

protected:
    // The parts added by AddPart take their places from their ids.
    TableDialog(HWND owner, std::string_view title, std::span<const std::string_view> columns);

    // Adds the Close button and shows the dialog.
    void Open();
    void ShowRows(const std::vector<TableRow>& rows);
    // Shows the sort arrow on the column's header, and on no other.
    void MarkSorted(int column, bool ascending);
    // The rows selected, by their place among the rows shown.
    std::vector<std::size_t> SelectedRows() const;

    virtual void OnCommand(int /*id*/, int /*notification*/) {}
    virtual void OnColumnClick(int /*column*/) {}
    virtual void OnSelectionChanged() {}
    virtual void OnCopy() {}
    // Whether Close, Escape or the title bar's close box may close the dialog now.
    virtual bool MayClose() const { return true; }

private:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void OnNotify(const NMHDR& header);
    void LayOut() override;
    void FitColumns();

    bool filling_ = false;  // no selection news while the rows are refilled
};

// Puts the text on the clipboard as Unicode, each line ended by CR LF.
void CopyToClipboard(HWND owner, std::string_view text);

}  // namespace rv::win32
