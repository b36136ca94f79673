#include "window/mod_get_folder.h"

#include <QDir>
#include <QFile>
#include <utility>

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

std::string TrimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::string PathFromQt(const QString& folder) {
    return EncodeName(QDir::toNativeSeparators(folder));
}

std::string BrowseForFolder(QWidget* owner) {
    const QString title =
        QString::fromUtf8(kPickerTitle.data(), static_cast<qsizetype>(kPickerTitle.size()));
    const QString chosen = Picker()(owner, title, QString(), QFileDialog::ShowDirsOnly);
    return PathFromQt(TrimAtNull(chosen));
}

void SetDirectoryPicker(DirectoryPicker picker) {
    Picker() = picker ? std::move(picker) : DirectoryPicker(ShowDialog);
}

}  // namespace rv::modGetFolder
