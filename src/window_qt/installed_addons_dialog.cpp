// SPDX-License-Identifier: MIT
#include "window_qt/installed_addons_dialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "window_qt/row_table.h"

namespace rv {

InstalledAddOnsDialog::InstalledAddOnsDialog(std::unique_ptr<InstalledAddOns> list, QWidget* parent)
    : QDialog(parent), list_(std::move(list)) {
    setObjectName(QStringLiteral("InstalledAddOnsDialog"));
    setWindowTitle(QString::fromUtf8(InstalledAddOns::kTitle.data(),
                                     static_cast<qsizetype>(InstalledAddOns::kTitle.size())));
    table_ = new RowTable(InstalledAddOns::kColumns, this);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->ShowRows(list_->Rows());

    // Plain text by nature: a kept file's name shows as typed, and a long list scrolls.
    outcome_ = new QPlainTextEdit(this);
    outcome_->setObjectName(QStringLiteral("outcome"));
    outcome_->setReadOnly(true);
    outcome_->setMaximumHeight(120);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    remove_ = buttons->addButton(QStringLiteral("Remove"), QDialogButtonBox::ActionRole);
    remove_->setObjectName(QStringLiteral("remove"));
    // Never pressed by Enter: a removal is asked for only by a click or Space on it.
    remove_->setAutoDefault(false);
    table_->setAccessibleName(QStringLiteral("Installed add-ons"));
    outcome_->setAccessibleName(QStringLiteral("Outcome of the removal"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(outcome_);
    layout->addWidget(buttons);
    resize(760, 360);
    UpdateRemove();
    if (!list_->ListProblem().empty()) {
        outcome_->setPlainText(QString::fromStdString(list_->ListProblem()));
    }
    // While a removal runs the dialog keeps answering, refusing Remove and Close; while another
    // copy of the program holds the game folder it says so, and closing it gives up.
    list_->SetAnswering([this](const std::string& what) {
        if (!what.empty()) {
            outcome_->setPlainText(QString::fromStdString(what));
        }
        QCoreApplication::processEvents();
        return isVisible();
    });

    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { UpdateRemove(); });
    connect(remove_, &QPushButton::clicked, this, [this] { RemoveSelected(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void InstalledAddOnsDialog::RemoveSelected() {
    const std::vector<std::size_t> selected = table_->SelectedRows();
    if (selected.size() != 1 || !list_->Removable(selected.front())) {
        return;
    }
    remove_->setEnabled(false);  // no second removal while this one waits
    list_->Remove(selected.front());
    QStringList lines;
    for (const std::string& line : list_->Outcome()) {
        lines << QString::fromStdString(line);
    }
    outcome_->setPlainText(lines.join(u'\n'));
    table_->ShowRows(list_->Rows());
    UpdateRemove();
}

void InstalledAddOnsDialog::UpdateRemove() {
    const std::vector<std::size_t> selected = table_->SelectedRows();
    remove_->setEnabled(!list_->Busy() && selected.size() == 1 &&
                        list_->Removable(selected.front()));
}

void InstalledAddOnsDialog::reject() {
    if (list_->MayClose()) {
        QDialog::reject();
    }
}

}  // namespace rv
