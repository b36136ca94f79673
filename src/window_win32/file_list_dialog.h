// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "form/file_list.h"
#include "window_win32/table_dialog.h"

namespace rv::win32 {

// "Files of the last pass": the heading, the state filter, the table sorted by a click on a
// column's header (ascending first, then the other way), and Copy, which Ctrl+C also does.
class FileListDialog final : public TableDialog {
public:
    FileListDialog(HWND owner, std::unique_ptr<FileList> list);

private:
    void OnCommand(int id, int notification) override;
    void OnColumnClick(int column) override;
    void OnCopy() override;

    std::unique_ptr<FileList> list_;
    int sorted_ = -1;
    bool ascending_ = false;
};

}  // namespace rv::win32
