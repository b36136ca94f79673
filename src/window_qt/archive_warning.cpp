// SPDX-License-Identifier: MIT
#include "window_qt/archive_warning.h"

#include <QMessageBox>
#include <utility>

#include "form/form_view.h"

namespace rv {

namespace {

void RunModal(QMessageBox& box) {
    box.exec();
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

bool AskQuestion(QWidget* owner, std::string_view title, const std::string& question) {
    QMessageBox box(QMessageBox::Question,
                    QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
                    QString::fromStdString(question), QMessageBox::Yes | QMessageBox::No, owner);
    box.setDefaultButton(QMessageBox::No);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    Runner()(box);
    return box.clickedButton() == box.button(QMessageBox::Yes);
}

void SetMessageBoxRunner(MessageBoxRunner runner) {
    Runner() = runner ? std::move(runner) : MessageBoxRunner(RunModal);
}

}  // namespace rv
