// SPDX-License-Identifier: MIT
#include "window_win32/table_dialog.h"

#include <commctrl.h>

#include <cstring>

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
constexpr int kClientWidth = 11250;
constexpr int kClientHeight = 6300;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;

std::wstring Wide(std::string_view text) {
    return platform::WideFromUtf8(text).value_or(std::wstring());
}

// Places the window with a client area of the given size over the middle of the owner.
void PlaceOver(HWND window, HWND owner, int width, int height) {
    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, kStyle, FALSE, 0);
    RECT below{};
    GetWindowRect(owner, &below);
    const int outer_width = outer.right - outer.left;
    const int outer_height = outer.bottom - outer.top;
    SetWindowPos(window, nullptr, (below.left + below.right - outer_width) / 2,
                 (below.top + below.bottom - outer_height) / 2, outer_width, outer_height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

TableDialog::TableDialog(HWND owner, std::string_view title,
                         std::span<const std::string_view> columns)
    : owner_(owner) {
    RegisterObjectWindowClass<TableDialog>(kClassName);
    CreateWindowExW(0, kClassName, Wide(title).c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                    owner, nullptr, GetModuleHandleW(nullptr), this);
    dpi_ = WindowDpi(window_);
    font_ = CreateWindowFont(dpi_);
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
    const int columns = Header_GetItemCount(ListView_GetHeader(table));
    for (int column = 0; column < columns; ++column) {
        ListView_SetColumnWidth(table, column, LVSCW_AUTOSIZE_USEHEADER);
    }
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
    OwnedFont font = CreateWindowFont(dpi);
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
