// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "form/dialog_table.h"
#include "window_win32/owned_gdi.h"
#include "window_win32/window_procedure.h"

namespace rv::win32 {

// A modal window built in code around one table: a report-view list with sortable columns,
// optional parts above and below it, and a Close button. The owner takes no input while it
// shows; the window scales with the monitor's dpi, in the main window's font.
class TableDialog {
public:
    static constexpr const wchar_t* kClassName = L"RvTableDialog";
    // The parts' ids; a test driver finds them by these.
    enum PartId : int { kTable = 100, kHeading, kFilter, kCopy, kRemove, kOutcome };

    virtual ~TableDialog();
    TableDialog(const TableDialog&) = delete;
    TableDialog& operator=(const TableDialog&) = delete;

    // Null once the dialog has closed.
    HWND Handle() const { return window_; }

protected:
    TableDialog(HWND owner, std::string_view title, std::span<const std::string_view> columns);

    // Adds a part; its place follows from its id.
    void AddPart(PartId id, const wchar_t* system_class, DWORD style, std::string_view text = {});
    HWND Part(int id) const { return GetDlgItem(window_, id); }
    // Disables the owner and shows the dialog.
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

private:
    template <typename Owner>
    friend LRESULT CALLBACK ObjectWindowProcedure(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
    void OnNotify(const NMHDR& header);
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void LayOut();
    void FitColumns();
    void Close();

    HWND owner_;
    HWND window_ = nullptr;
    UINT dpi_ = 96;
    OwnedFont font_;
    bool filling_ = false;  // no selection news while the rows are refilled
};

// Places the window, with a client area of the given size, over the middle of the owner inside
// the work area of the owner's monitor.
void PlaceOver(HWND window, HWND owner, int width, int height);

// Puts the text on the clipboard as Unicode, each line ended by CR LF.
void CopyToClipboard(HWND owner, std::string_view text);

}  // namespace rv::win32
