// SPDX-License-Identifier: MIT
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/run_command.h"
#include "platform/console_streams_win.h"
#include "platform/data_folder.h"
#include "platform/registry.h"
#include "platform/wide_text_win.h"
#include "window_win32/main_window.h"
#include "window_win32/message_pump.h"
#include "window_win32/window_thread.h"

namespace {

// The program's arguments after its own name, as UTF-8: a folder dropped on the program's icon
// arrives here.
std::vector<std::string> Arguments() {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) {
        arguments.push_back(rv::platform::Utf8FromWide(wide[i]));
    }
    LocalFree(wide);
    return arguments;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    const auto registry = rv::platform::OpenSystemRegistry();
    std::vector<std::string> arguments = Arguments();
    if (!arguments.empty() && arguments.front() == "/?") {
        arguments.front() = "--help";  // the help switch of Windows' own programs
    }
    // Options run the command line, with no window, on the console the program was started from.
    if (!arguments.empty() && rv::AsksForCommandLine(arguments.front())) {
        rv::platform::ConsoleStreams streams;
        rv::Console console{streams.In(), streams.Out(), streams.Err(), *registry,
                            rv::platform::UserDataFolder()};
        return rv::RunCommandLine(arguments, console);
    }
    const rv::win32::WindowThread thread;
    rv::win32::MainWindow window(*registry, arguments);
    window.Show(show);
    return rv::win32::RunMessageLoop(window.Handle());
}
