// SPDX-License-Identifier: MIT
#include "window_qt/file_list_dialog.h"

#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "window_qt/row_table.h"

namespace rv {
namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

FileListDialog::FileListDialog(std::unique_ptr<FileList> list, QWidget* parent)
    : QDialog(parent), list_(std::move(list)) {
    setObjectName(QStringLiteral("FileListDialog"));
    setWindowTitle(FromUtf8(FileList::kTitle));
    auto* heading = new QLabel(QString::fromStdString(list_->Heading()), this);
    heading->setTextFormat(Qt::PlainText);

    auto* filter = new QComboBox(this);
    filter->setObjectName(QStringLiteral("stateFilter"));
    filter->setAccessibleName(QStringLiteral("Show files in the state"));
    for (std::string_view choice : FileList::FilterChoices()) {
        filter->addItem(FromUtf8(choice));
    }
    auto* copy = new QPushButton(QStringLiteral("Copy"), this);
    copy->setObjectName(QStringLiteral("copy"));
    auto* tools = new QHBoxLayout;
    auto* show = new QLabel(QStringLiteral("Show:"), this);
    show->setBuddy(filter);
    tools->addWidget(show);
    tools->addWidget(filter);
    tools->addStretch();
    tools->addWidget(copy);

    table_ = new RowTable(FileList::kColumns, this);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setAccessibleName(QStringLiteral("Files of the last pass"));
    table_->horizontalHeader()->setSortIndicatorShown(true);
    table_->ShowRows(list_->Rows());
    table_->on_copy = [this] { CopySelection(); };

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(tools);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    resize(760, 420);

    connect(filter, &QComboBox::currentIndexChanged, this, [this](int choice) {
        list_->SetFilter(static_cast<std::size_t>(choice));
        table_->ShowRows(list_->Rows());
    });
    connect(table_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { SortBy(column); });
    connect(copy, &QPushButton::clicked, this, [this] { CopySelection(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void FileListDialog::SortBy(int column) {
    ascending_ = column == sort_column_ ? !ascending_ : true;
    sort_column_ = column;
    list_->SortBy(static_cast<std::size_t>(column), ascending_);
    table_->horizontalHeader()->setSortIndicator(
        column, ascending_ ? Qt::AscendingOrder : Qt::DescendingOrder);
    table_->ShowRows(list_->Rows());
}

void FileListDialog::CopySelection() {
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(list_->CopyText(table_->SelectedRows())));
}

}  // namespace rv
