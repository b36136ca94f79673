// SPDX-License-Identifier: MIT
#include "window_win32/file_list_dialog.h"

#include <commctrl.h>

#include "platform/wide_text_win.h"

namespace rv::win32 {

FileListDialog::FileListDialog(HWND owner, std::unique_ptr<FileList> list)
    : TableDialog(owner, FileList::kTitle, FileList::kColumns), list_(std::move(list)) {
    AddPart(kHeading, L"STATIC", SS_NOPREFIX | SS_LEFTNOWORDWRAP, list_->Heading());
    AddPart(kFilter, WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST);
    for (std::string_view choice : FileList::FilterChoices()) {
        const std::wstring text = platform::WideFromUtf8(choice).value_or(std::wstring());
        SendMessageW(Part(kFilter), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(Part(kFilter), CB_SETCURSEL, 0, 0);
    AddPart(kCopy, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, "Copy");
    ShowRows(list_->Rows());
    Open();
}

void FileListDialog::OnCommand(int id, int notification) {
    if (id == kFilter && notification == CBN_SELCHANGE) {
        const LRESULT choice = SendMessageW(Part(kFilter), CB_GETCURSEL, 0, 0);
        list_->SetFilter(choice > 0 ? static_cast<std::size_t>(choice) : 0);
        ShowRows(list_->Rows());
    } else if (id == kCopy && notification == BN_CLICKED) {
        OnCopy();
    }
}

void FileListDialog::OnColumnClick(int column) {
    ascending_ = column != sorted_ || !ascending_;
    sorted_ = column;
    list_->SortBy(static_cast<std::size_t>(column), ascending_);
    MarkSorted(column, ascending_);
    ShowRows(list_->Rows());
}

void FileListDialog::OnCopy() {
    CopyToClipboard(Handle(), list_->CopyText(SelectedRows()));
}

}  // namespace rv::win32
