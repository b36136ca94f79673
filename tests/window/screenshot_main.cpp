#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "window/archive_warning.h"
#include "window/main_window.h"
#include "window/mod_get_folder.h"
#include "window/sample_files.h"

// Saves a picture of the real window after a read pass on a small sample add-on, driven through
// the same seams as the tests. Usage: window_screenshot OUTPUT.png
int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: window_screenshot OUTPUT.png\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir temp(QDir::tempPath() + "/rv-sample-XXXXXX");
    if (!temp.isValid()) {
        std::fputs("window_screenshot: cannot create a temporary folder\n", stderr);
        return 1;
    }
    const QString prefix = temp.filePath("prefix");
    const QString game = prefix + "/drive_c/Games/RV2004";
    const QString addon = temp.filePath("Downloads/HarbourPack");
    rv::test::MakeWinePrefix(prefix, {{rv::test::EditionKey("RV2004"), "C:\\Games\\RV2004"}});
    rv::test::MakeSampleAddOn(addon, game);

    rv::SetMessageBoxRunner([](QMessageBox&) {});
    rv::modGetFolder::SetDirectoryPicker(
        [&](QWidget*, const QString&, const QString&, QFileDialog::Options) { return addon; });

    auto registry = rv::platform::OpenSystemRegistry();
    rv::MainWindow window(*registry);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fputs("window_screenshot: the window never showed\n", stderr);
        return 1;
    }
    QTest::mouseClick(window.findChild<QWidget*>("cmd_Open2"), Qt::LeftButton);
    QTest::mouseClick(window.findChild<QWidget*>("cmd_read"), Qt::LeftButton);
    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "window_screenshot: cannot save %s\n", argv[1]);
        return 1;
    }
    return 0;
}
