#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstdlib>

#include "window/archive_warning.h"
#include "window/main_window.h"
#include "window/mod_get_folder.h"

namespace {

bool WriteFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(path.section('/', 0, -2));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// A Wine prefix in which RV2004 is registered at C:\Games\RV2004, a game folder with two of the
// add-on's files in it already, and the add-on itself.
bool MakeSample(const QString& prefix, const QString& addon) {
    const QString game = prefix + "/drive_c/Games/RV2004";
    bool ok = WriteFile(prefix + "/system.reg",
                        "WINE REGISTRY Version 2\n\n[SOFTWARE\\\\Zentor Technology\\\\Installed "
                        "Apps\\\\RV2004] 1700000000\n\"Folder\"=\"C:\\\\Games\\\\RV2004\"\n");
    ok = ok && QDir().mkpath(prefix + "/dosdevices") &&
         QFile::link("../drive_c", prefix + "/dosdevices/c:");
    for (const char* sub :
         {"Animations", "Maps", "Music", "Sounds", "StaticMeshes", "System", "Textures"}) {
        ok = ok && QDir().mkpath(game + "/" + sub);
    }
    for (const char* file :
         {"Maps/DM-Harbour.rv2", "Maps/CTF-Ridge.rv2", "Textures/Harbour.utx", "Sounds/Harbour.uax",
          "Music/Harbour.ogg", "System/Harbour.u", "System/Harbour.int", "Docs/Readme.txt",
          "Extra/Deep/Crate.usx", "Extra/Deep/Crate.ukx"}) {
        ok = ok && WriteFile(addon + "/" + file, QByteArray("add-on ") + file);
    }
    ok = ok && WriteFile(game + "/Maps/CTF-Ridge.rv2", "installed") &&
         WriteFile(game + "/System/Harbour.int", "installed");
    ::setenv("WINEPREFIX", QFile::encodeName(prefix).constData(), 1);
    return ok;
}

}  // namespace

// Saves a picture of the real window after a read pass on a small sample add-on, answering the
// warning box and the folder picker itself. Usage: window_screenshot OUTPUT.png
int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: window_screenshot OUTPUT.png\n", stderr);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QTemporaryDir temp(QDir::tempPath() + "/rv-sample-XXXXXX");
    const QString addon = temp.filePath("Downloads/HarbourPack");
    if (!temp.isValid() || !MakeSample(temp.filePath("prefix"), addon)) {
        std::fputs("window_screenshot: cannot make the sample in a temporary folder\n", stderr);
        return 1;
    }
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
