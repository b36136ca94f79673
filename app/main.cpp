#include <QApplication>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string_view>

#include "cli/run_command.h"
#include "platform/data_folder.h"

#include "platform/display.h"
#include "platform/registry.h"
#include "window/main_window.h"

namespace {

// Stands in when the machine has no registry to read: every key is missing, so the window
// offers to choose the game folder by hand.
class NoRegistry : public rv::platform::RegistryBackend {
public:
    std::int32_t OpenKey(std::int32_t, const std::string&, std::uint32_t,
                         rv::platform::RegKeyHandle&) override {
        return rv::platform::kRegNotFound;
    }
    std::int32_t QueryValue(rv::platform::RegKeyHandle, const std::string&, std::uint32_t&,
                            std::uint8_t*, std::uint32_t&) override {
        return rv::platform::kRegNotFound;
    }
    std::int32_t CloseKey(rv::platform::RegKeyHandle) override { return rv::platform::kRegSuccess; }
};

}  // namespace

int main(int argc, char* argv[]) {
    std::unique_ptr<rv::platform::RegistryBackend> registry = rv::platform::OpenSystemRegistry();
    if (!registry) {
        registry = std::make_unique<NoRegistry>();
    }
    // Options run the command line, which needs no display.
    if (argc > 1 && std::string_view(argv[1]).starts_with("--")) {
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

    rv::MainWindow window(*registry);
    window.Installer().ReceiptFolder = rv::platform::UserDataFolder();
    window.show();
    return QApplication::exec();
}
