// SPDX-License-Identifier: MIT
#include "window_qt/row_table.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>

namespace rv {

RowTable::RowTable(std::span<const std::string_view> columns, QWidget* parent)
    : QTableWidget(0, static_cast<int>(columns.size()), parent) {
    QStringList headers;
    for (std::string_view column : columns) {
        headers << QString::fromUtf8(column.data(), static_cast<qsizetype>(column.size()));
    }
    setHorizontalHeaderLabels(headers);
    setObjectName(QStringLiteral("rows"));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setWordWrap(false);
    // Tab moves on to the dialog's next control, not to the next cell.
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
}

void RowTable::ShowRows(const std::vector<TableRow>& rows) {
    clearContents();
    setRowCount(static_cast<int>(rows.size()));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (std::size_t column = 0; column < rows[row].size(); ++column) {
            // An item shows its text as it stands, never as markup.
            setItem(static_cast<int>(row), static_cast<int>(column),
                    new QTableWidgetItem(QString::fromStdString(rows[row][column])));
        }
    }
    resizeColumnsToContents();
}

std::vector<std::size_t> RowTable::SelectedRows() const {
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        rows.push_back(static_cast<std::size_t>(index.row()));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Ctrl+Tab leaves the table as Tab does; Enter does nothing here, so it never presses a button
// of the dialog for the row under the cursor.
void RowTable::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy) && on_copy) {
        on_copy();
        return;
    }
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    if (ctrl && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)) {
        focusNextPrevChild(event->key() == Qt::Key_Tab &&
                           !event->modifiers().testFlag(Qt::ShiftModifier));
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

}  // namespace rv
