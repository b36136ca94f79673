// SPDX-License-Identifier: MIT
#include "window_win32/table_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "form/dialog_placement.h"
#include "platform/wide_text_win.h"
#include "window_win32/dpi_scale.h"
#include "window_win32/window_font.h"

namespace rv::win32 {
namespace {

// The layout, in twips like the main window's.
constexpr int kMargin = 120;
constexpr int kLine = 345;
constexpr int kButtonWidth = 1350;
constexpr int kFilterWidth = 3600;
constexpr int kOutcomeHeight = 1380;
constexpr int kTextPadding = 210;
constexpr int kClientWidth = 11250;
constexpr int kClientHeight = 6300;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;

std::wstring Wide(std::string_view text) {
    return platform::WideFromUtf8(text).value_or(std::wstring());
}

ScreenRect FromRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// The width the column needs for its header and its widest cell, with the room the list leaves
// on either side of a text (which its own sizing falls short of under some systems).
int NeededWidth(HWND table, int column, UINT dpi) {
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
    return widest + PixelsFromTwips(kTextPadding, dpi);
}

}  // namespace

void PlaceOver(HWND window, HWND owner, int width, int height) {
    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
    RECT below{};
    GetWindowRect(owner, &below);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
    const ScreenRect place = PlaceDialog(FromRect(monitor.rcWork), FromRect(below),
                                         outer.right - outer.left, outer.bottom - outer.top);
    SetWindowPos(window, nullptr, place.left, place.top, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

TableDialog::TableDialog(HWND owner, std::string_view title,
                         std::span<const std::string_view> columns)
    : owner_(owner) {
    RegisterObjectWindowClass<TableDialog>(kClassName);
    CreateWindowExW(0, kClassName, Wide(title).c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                    owner, nullptr, GetModuleHandleW(nullptr), this);
    dpi_ = WindowDpi(window_);
    font_ = CreateFittingFont(dpi_);
    PlaceOver(window_, owner, PixelsFromTwips(kClientWidth, dpi_),
              PixelsFromTwips(kClientHeight, dpi_));
    AddPart(kTable, WC_LISTVIEWW, WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS);
    HWND table = Part(kTable);
    ListView_SetExtendedListViewStyle(table, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        std::wstring text = Wide(columns[i]);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = text.data();
        column.cx = PixelsFromTwips(1500, dpi_);
        ListView_InsertColumn(table, static_cast<int>(i), &column);
    }
}

TableDialog::~TableDialog() {
    Close();
}

void TableDialog::AddPart(PartId id, const wchar_t* system_class, DWORD style,
                          std::string_view text) {
    HWND part = CreateWindowExW(0, system_class, Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style,
                                0, 0, 0, 0, window_, reinterpret_cast<HMENU>(INT_PTR{id}),
                                GetModuleHandleW(nullptr), nullptr);
    SendMessageW(part, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

void TableDialog::Open() {
    HWND close = CreateWindowExW(0, L"BUTTON", L"Close", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0,
                                 0, 0, window_, reinterpret_cast<HMENU>(INT_PTR{IDCANCEL}),
                                 GetModuleHandleW(nullptr), nullptr);
    SendMessageW(close, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    LayOut();
    EnableWindow(owner_, FALSE);
    ShowWindow(window_, SW_SHOW);
    SetFocus(Part(kTable));
}

void TableDialog::ShowRows(const std::vector<TableRow>& rows) {
    HWND table = Part(kTable);
    filling_ = true;
    SendMessageW(table, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(table);
    ListView_SetItemCount(table, static_cast<int>(rows.size()));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (std::size_t column = 0; column < rows[row].size(); ++column) {
            std::wstring text = Wide(rows[row][column]);
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
        const int width = NeededWidth(table, column, dpi_);
        ListView_SetColumnWidth(table, column, width);
        used += width;
    }
    RECT client{};
    GetClientRect(table, &client);
    ListView_SetColumnWidth(
        table, last,
        std::max(NeededWidth(table, last, dpi_), static_cast<int>(client.right) - used));
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
    const auto pixels = [this](int twips) { return PixelsFromTwips(twips, dpi_); };
    const int margin = pixels(kMargin);
    const int line = pixels(kLine);
    int top = margin;
    HWND filter = Part(kFilter);
    if (filter != nullptr) {
        MoveWindow(filter, client.right - margin - pixels(kFilterWidth), top, pixels(kFilterWidth),
                   line * 8, TRUE);
    }
    if (HWND heading = Part(kHeading)) {
        const int beside = filter != nullptr ? pixels(kFilterWidth) + margin : 0;
        MoveWindow(heading, margin, top + pixels(60), client.right - 2 * margin - beside, line,
                   TRUE);
    }
    top += filter != nullptr || Part(kHeading) != nullptr ? line + margin : 0;
    const int buttons = client.bottom - margin - line;
    int right = client.right - margin;
    for (int id : {IDCANCEL, static_cast<int>(kRemove), static_cast<int>(kCopy)}) {
        if (HWND button = GetDlgItem(window_, id)) {
            right -= pixels(kButtonWidth);
            MoveWindow(button, right, buttons, pixels(kButtonWidth), line, TRUE);
            right -= margin;
        }
    }
    int table_bottom = buttons - margin;
    if (HWND outcome = Part(kOutcome)) {
        table_bottom -= pixels(kOutcomeHeight) + margin;
        MoveWindow(outcome, margin, table_bottom + margin, client.right - 2 * margin,
                   pixels(kOutcomeHeight), TRUE);
    }
    MoveWindow(Part(kTable), margin, top, client.right - 2 * margin, table_bottom - top, TRUE);
    FitColumns();
}

void TableDialog::Close() {
    if (window_ != nullptr) {
        EnableWindow(owner_, TRUE);  // before the dialog goes, so the owner is activated again
        DestroyWindow(window_);
    }
}

LRESULT TableDialog::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wparam) == IDCANCEL) {
                Close();
            } else {
                OnCommand(LOWORD(wparam), HIWORD(wparam));
            }
            return 0;
        case WM_CLOSE:
            Close();
            return 0;
        case WM_NOTIFY:
            OnNotify(*reinterpret_cast<const NMHDR*>(lparam));
            return 0;
        case WM_SIZE:
            LayOut();
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
            return 0;
        default:
            return DefWindowProcW(window_, message, wparam, lparam);
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

void TableDialog::OnDpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    OwnedFont font = CreateFittingFont(dpi);
    for (HWND part = GetWindow(window_, GW_CHILD); part != nullptr;
         part = GetWindow(part, GW_HWNDNEXT)) {
        SendMessageW(part, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
    font_ = std::move(font);
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut();
}

void CopyToClipboard(HWND owner, std::string_view text) {
    std::string lines;
    for (char c : text) {
        lines += c == '\n' ? "\r\n" : std::string(1, c);
    }
    const std::wstring wide = Wide(lines);
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
