// SPDX-License-Identifier: MIT
#include "window_qt/archive_warning.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "form/form_view.h"

namespace rv {

namespace {

// The question dialog's size before it is fitted to the screen.
constexpr int kQuestionWidth = 640;
constexpr int kQuestionHeight = 480;

void RunModal(QDialog& dialog) {
    dialog.exec();
}

MessageBoxRunner& Runner() {
    static MessageBoxRunner runner = RunModal;
    return runner;
}

}  // namespace

void ShowArchiveWarning(QWidget* owner) {
    ShowMessage(owner, kWarningTitle, std::string(kWarningText));
}

void ShowMessage(QWidget* owner, std::string_view title, const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon,
                    QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
                    QString::fromStdString(text), QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    Runner()(box);
}

bool AskListQuestion(QWidget* owner, std::string_view title, const ListQuestion& question,
                     const std::function<void(QDialog&)>& place) {
    QDialog dialog(owner);
    dialog.setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
    dialog.setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(&dialog);
    auto* text = new QLabel(QString::fromStdString(question.text));
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* lines = new QListWidget;
    for (const std::string& line : question.lines) {
        lines->addItem(QString::fromStdString(line));
    }
    layout->addWidget(lines, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Yes | QDialogButtonBox::No);
    buttons->button(QDialogButtonBox::Yes)->setAutoDefault(false);
    buttons->button(QDialogButtonBox::No)->setDefault(true);
    buttons->button(QDialogButtonBox::No)->setFocus();
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(kQuestionWidth, kQuestionHeight);
    place(dialog);
    Runner()(dialog);
    return dialog.result() == QDialog::Accepted;
}

void SetMessageBoxRunner(MessageBoxRunner runner) {
    Runner() = runner ? std::move(runner) : MessageBoxRunner(RunModal);
}

}  // namespace rv
