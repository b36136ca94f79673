// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <memory>

#include "form/file_list.h"

namespace rv {

class RowTable;

// "Files of the last pass": the list's heading, a state filter and a Copy button over the rows;
// a click on a column header sorts by it, ascending first, then each click the other way.
class FileListDialog : public QDialog {
public:
    FileListDialog(std::unique_ptr<FileList> list, QWidget* parent);

private:
    void SortBy(int column);
    void CopySelection();

    std::unique_ptr<FileList> list_;
    RowTable* table_ = nullptr;
    int sort_column_ = -1;
    bool ascending_ = true;
};

}  // namespace rv
