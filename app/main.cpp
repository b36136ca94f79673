// SPDX-License-Identifier: MIT
#include <QApplication>
#include <cstdio>
#include <iostream>

#include "cli/command_line.h"
#include "cli/run_command.h"
#include "platform/data_folder.h"

#include "platform/display.h"
#include "platform/registry.h"
#include "window_qt/main_window.h"

int main(int argc, char* argv[]) {
    const auto registry = rv::platform::OpenSystemRegistry();
    // Options run the command line, which needs no display.
    if (argc > 1 && rv::AsksForCommandLine(argv[1])) {
        rv::Console console{std::cin, std::cout, std::cerr, *registry,
                            rv::platform::UserDataFolder()};
        return rv::RunCommandLine({argv + 1, argv + argc}, console);
    }
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
    // A folder given to the program ("Open with", or dropped on its icon) is the add-on folder.
    rv::MainWindow window(*registry, QApplication::arguments().mid(1));
    window.show();
    return QApplication::exec();
}
