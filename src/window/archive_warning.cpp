#include "window/archive_warning.h"

#include <QMessageBox>
#include <utility>

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
    // The same title for both editions.
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Unofficial RV2004 Add-On Installer"),
                    QStringLiteral("Please choose the Folder with the Maps, Mutators, Skins, "
                                   "Weapons, ...\r\nNO archives supported!"),
                    QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    Runner()(box);
}

void SetMessageBoxRunner(MessageBoxRunner runner) {
    Runner() = runner ? std::move(runner) : MessageBoxRunner(RunModal);
}

}  // namespace rv
