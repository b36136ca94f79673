// SPDX-License-Identifier: MIT
#include "window_win32/table_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

namespace rv::win32 {
namespace {

// The layout, in twips like the main window's.
constexpr int kFilterWidth = 3600;
constexpr int kOutcomeHeight = 1380;
constexpr int kTextPadding = 210;
constexpr int kClientWidth = 11250;
constexpr int kClientHeight = 6300;

// The width the column needs for its header and its widest cell, with the room the list leaves
// on either side of a text (which its own sizing falls short of under some systems).
int NeededWidth(HWND table, int column, int padding) {
    std::wstring text(1024, L'\0');
    LVCOLUMNW header{};
    header.mask = LVCF_TEXT;
    header.pszText = text.data();
    header.cchTextMax = static_cast<int>(text.size());
    ListView_GetColumn(table, column, &header);
    int widest = ListView_GetStringWidth(table, text.c_str());
    for (int row = 0; row < ListView_GetItemCount(table); ++row) {
        text.assign(text.size(), L'\0');
        ListView_GetItemText(table, row, column, text.data(), static_cast<int>(text.size()));
        widest = std::max(widest, ListView_GetStringWidth(table, text.c_str()));
    }
    return widest + padding;
}

}  // namespace

TableDialog::TableDialog(HWND owner, std::string_view title,
                         std::span<const std::string_view> columns)
    : DialogWindow(owner, kClassName, 0, title, kClientWidth, kClientHeight) {
    AddPart(kTable, WC_LISTVIEWW, WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS);
    HWND table = Part(kTable);
    ListView_SetExtendedListViewStyle(table, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        std::wstring text = WideText(columns[i]);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = text.data();
        column.cx = Pixels(1500);
        ListView_InsertColumn(table, static_cast<int>(i), &column);
    }
}

void TableDialog::Open() {
    AddPart(IDCANCEL, L"BUTTON", WS_TABSTOP, "Close");
    LayOut();
    Show(kTable);
}

void TableDialog::ShowRows(const std::vector<TableRow>& rows) {
    HWND table = Part(kTable);
    filling_ = true;
    SendMessageW(table, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(table);
    ListView_SetItemCount(table, static_cast<int>(rows.size()));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (std::size_t column = 0; column < rows[row].size(); ++column) {
            std::wstring text = WideText(rows[row][column]);
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(row);
            item.iSubItem = static_cast<int>(column);
            item.pszText = text.data();
            SendMessageW(table, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, row,
                         reinterpret_cast<LPARAM>(&item));
        }
    }
    FitColumns();
    SendMessageW(table, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(table, nullptr, TRUE);
    filling_ = false;
    OnSelectionChanged();
}

void TableDialog::MarkSorted(int sorted, bool ascending) {
    HWND header = ListView_GetHeader(Part(kTable));
    for (int column = 0; column < Header_GetItemCount(header); ++column) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        Header_GetItem(header, column, &item);
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        item.fmt |= column != sorted ? 0 : ascending ? HDF_SORTUP : HDF_SORTDOWN;
        Header_SetItem(header, column, &item);
    }
}

// Each column as wide as its header and its widest cell; the last one takes the rest of the
// table's width as well.
void TableDialog::FitColumns() {
    HWND table = Part(kTable);
    if (table == nullptr) {
        return;  // the parts are not made yet
    }
    const int last = Header_GetItemCount(ListView_GetHeader(table)) - 1;
    int used = 0;
    for (int column = 0; column < last; ++column) {
        const int width = NeededWidth(table, column, Pixels(kTextPadding));
        ListView_SetColumnWidth(table, column, width);
        used += width;
    }
    RECT client{};
    GetClientRect(table, &client);
    ListView_SetColumnWidth(table, last,
                            std::max(NeededWidth(table, last, Pixels(kTextPadding)),
                                     static_cast<int>(client.right) - used));
}

std::vector<std::size_t> TableDialog::SelectedRows() const {
    std::vector<std::size_t> rows;
    HWND table = Part(kTable);
    for (int row = ListView_GetNextItem(table, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(table, row, LVNI_SELECTED)) {
        rows.push_back(static_cast<std::size_t>(row));
    }
    return rows;
}

void TableDialog::LayOut() {
    RECT client{};
    GetClientRect(window_, &client);
    const int margin = Pixels(kMargin);
    const int line = Pixels(kLine);
    int top = margin;
    HWND filter = Part(kFilter);
    if (filter != nullptr) {
        MoveWindow(filter, client.right - margin - Pixels(kFilterWidth), top, Pixels(kFilterWidth),
                   line * 8, TRUE);
    }
    if (HWND heading = Part(kHeading)) {
        const int beside = filter != nullptr ? Pixels(kFilterWidth) + margin : 0;
        MoveWindow(heading, margin, top + Pixels(60), client.right - 2 * margin - beside, line,
                   TRUE);
    }
    top += filter != nullptr || Part(kHeading) != nullptr ? line + margin : 0;
    int table_bottom = PlaceButtons({IDCANCEL, kRemove, kCopy}) - margin;
    if (HWND outcome = Part(kOutcome)) {
        table_bottom -= Pixels(kOutcomeHeight) + margin;
        MoveWindow(outcome, margin, table_bottom + margin, client.right - 2 * margin,
                   Pixels(kOutcomeHeight), TRUE);
    }
    MoveWindow(Part(kTable), margin, top, client.right - 2 * margin, table_bottom - top, TRUE);
    FitColumns();
}

LRESULT TableDialog::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wparam) == IDCANCEL) {
                if (MayClose()) {
                    Close();
                }
            } else {
                OnCommand(LOWORD(wparam), HIWORD(wparam));
            }
            return 0;
        case WM_CLOSE:
            if (MayClose()) {
                Close();
            }
            return 0;
        case WM_NOTIFY:
            OnNotify(*reinterpret_cast<const NMHDR*>(lparam));
            return 0;
        default:
            return DialogWindow::HandleMessage(message, wparam, lparam);
    }
}

void TableDialog::OnNotify(const NMHDR& header) {
    if (header.idFrom != kTable || filling_) {
        return;
    }
    if (header.code == LVN_COLUMNCLICK) {
        OnColumnClick(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
    } else if (header.code == LVN_ITEMCHANGED &&
               (reinterpret_cast<const NMLISTVIEW&>(header).uChanged & LVIF_STATE) != 0) {
        OnSelectionChanged();
    } else if (header.code == LVN_KEYDOWN &&
               reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == 'C' &&
               GetKeyState(VK_CONTROL) < 0) {
        OnCopy();
    }
}

void CopyToClipboard(HWND owner, std::string_view text) {
    std::string lines;
    for (char c : text) {
        lines += c == '\n' ? "\r\n" : std::string(1, c);
    }
    const std::wstring wide = WideText(lines);
    if (!OpenClipboard(owner)) {
        return;
    }
    EmptyClipboard();
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        std::memcpy(GlobalLock(memory), wide.c_str(), bytes);
        GlobalUnlock(memory);
        if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
            GlobalFree(memory);  // the clipboard took nothing
        }
    }
    CloseClipboard();
}

}  // namespace rv::win32
