#include <QApplication>
#include <cstdio>

#include "platform/display.h"
#include "platform/registry.h"
#include "window_qt/main_window.h"

int main(int argc, char* argv[]) {
    if (!rv::platform::HasDisplay()) {
        std::fputs(
            "rv-addon-installer: no display found (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM "
            "are unset); run it in a desktop session, or without one as: xvfb-run "
            "rv-addon-installer\n",
            stderr);
        return 2;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("rv-addon-installer"));
    QApplication::setDesktopFileName(QStringLiteral("rv-addon-installer"));
    const auto registry = rv::platform::OpenSystemRegistry();
    // A folder given to the program ("Open with", or dropped on its icon) is the add-on folder.
    rv::MainWindow window(*registry, QApplication::arguments().mid(1));
    window.show();
    return QApplication::exec();
}
