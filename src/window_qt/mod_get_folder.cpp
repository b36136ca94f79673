// SPDX-License-Identifier: MIT
#include "window_qt/mod_get_folder.h"

#include <QDir>
#include <QFile>
#include <utility>

#include "form/form_view.h"

namespace rv::modGetFolder {

namespace {

QString ShowDialog(QWidget* owner, const QString& title, const QString& start,
                   QFileDialog::Options options) {
    return QFileDialog::getExistingDirectory(owner, title, start, options);
}

DirectoryPicker& Picker() {
    static DirectoryPicker picker = ShowDialog;
    return picker;
}

#ifdef _WIN32
// The file-system layer takes UTF-8 on Windows and widens it itself.
std::string EncodeName(const QString& name) {
    return name.toStdString();
}
#else
std::string EncodeName(const QString& name) {
    return QFile::encodeName(name).toStdString();
}
#endif

}  // namespace

QString TrimAtNull(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

std::string PathFromQt(const QString& folder) {
    return EncodeName(QDir::toNativeSeparators(folder));
}

std::string BrowseForFolder(QWidget* owner) {
    const QString chosen =
        Picker()(owner, QString::fromUtf8(kPickerTitle), QString(), QFileDialog::ShowDirsOnly);
    return PathFromQt(TrimAtNull(chosen));
}

void SetDirectoryPicker(DirectoryPicker picker) {
    Picker() = picker ? std::move(picker) : DirectoryPicker(ShowDialog);
}

}  // namespace rv::modGetFolder
