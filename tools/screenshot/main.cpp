// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <cstdio>

#include "support/fake_prefix.h"
#include "support/sample_addon.h"
#include "window_qt/archive_warning.h"
#include "window_qt/main_window.h"
#include "window_qt/mod_get_folder.h"

// Saves a picture of the real window after a read pass on the tests' sample add-on, in a Wine
// prefix where RV2004 is registered, answering the warning box and the folder picker itself; the
// add-on's label shows a path in a player's home.
// Usage: window_screenshot OUTPUT.png
int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: window_screenshot OUTPUT.png\n", stderr);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const rv::test::FakePrefix prefix;
    const std::string addon = prefix.Path("Downloads/HarbourPack");
    rv::test::MakeSampleAddOn(addon, prefix.Path("drive_c/Games/RV2004"));
    prefix.AddFile("system.reg",
                   "WINE REGISTRY Version 2\n\n[SOFTWARE\\\\Zentor Technology\\\\Installed "
                   "Apps\\\\RV2004] 1700000000\n\"Folder\"=\"C:\\\\Games\\\\RV2004\"\n");
    rv::SetMessageBoxRunner([](QDialog&) {});
    rv::modGetFolder::SetDirectoryPicker(
        [&](QWidget*, const QString&, const QString&, QFileDialog::Options) {
            return QString::fromStdString(addon);
        });

    const auto registry = rv::platform::OpenSystemRegistry();
    rv::MainWindow window(*registry);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fputs("window_screenshot: the window never showed\n", stderr);
        return 1;
    }
    QTest::mouseClick(window.findChild<QWidget*>(QStringLiteral("cmd_Open2")), Qt::LeftButton);
    QTest::mouseClick(window.findChild<QWidget*>(QStringLiteral("cmd_read")), Qt::LeftButton);
    // The add-on lies in a temporary folder; the label shows it where a player keeps downloads.
    window.SetCaption({rv::names::lbl_Mods}, "/home/player/Downloads/HarbourPack");
    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "window_screenshot: cannot save %s\n", argv[1]);
        return 1;
    }
    return 0;
}
