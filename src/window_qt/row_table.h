// SPDX-License-Identifier: MIT
#pragma once

#include <QTableWidget>
#include <cstddef>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "form/dialog_table.h"

namespace rv {

// The table of a context-menu dialog: whole rows, shown as plain text, read only, sorted by the
// dialog's model rather than by the table itself.
class RowTable : public QTableWidget {
public:
    RowTable(std::span<const std::string_view> columns, QWidget* parent);

    // Shows these rows in place of the ones shown before.
    void ShowRows(const std::vector<TableRow>& rows);
    // The selected rows' places, in order.
    std::vector<std::size_t> SelectedRows() const;

    // Runs on Ctrl+C (the platform's copy keys) instead of copying the current cell alone.
    std::function<void()> on_copy;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The columns are sized again once the table has its size; the last takes the rest.
    void showEvent(QShowEvent* event) override;
};

}  // namespace rv
