// SPDX-License-Identifier: MIT
// Drives the real program from outside, as a user would: starts it with an add-on folder as its
// argument, presses the named buttons in turn and after each prints the status line. Closes the
// window and prints the exit code, unless the last word is --stay. With --attached it drives the
// window of a program already running, where "menu:N" also chooses the context menu's entry N.
// Usage: program_driver <program.exe> <add-on folder> <button>... [--stay]
//        program_driver --attached <button or menu:N>...
#include <windows.h>

#include <cstdio>
#include <string>

#include "core/control_names.h"
#include "platform/owned_win.h"
#include "platform/wide_text_win.h"
#include "window_win32/control_ids.h"
#include "window_win32/main_window.h"

namespace {

using namespace rv;

constexpr DWORD kPatience = 60000;  // ms

HWND window = nullptr;

HWND ControlWindow(std::string_view name, int index = -1) {
    return GetDlgItem(window, win32::ControlId(Control{name, index}));
}

std::string Text(HWND control) {
    wchar_t text[4096] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_BLOCK,
                        kPatience, &copied);
    return platform::Utf8FromWide(text);
}

// Presses the button, as a user can only when it is enabled, and waits until the status line
// shows the end of the pass it started.
bool Press(const std::string& button) {
    if (!IsWindowEnabled(ControlWindow(button))) {
        std::printf("%s: disabled\n", button.c_str());
        return false;
    }
    HWND status = ControlWindow(names::lbl_status);
    const std::string before = Text(status);
    PostMessageW(ControlWindow(button), BM_CLICK, 0, 0);
    for (DWORD waited = 0; waited < kPatience; waited += 50) {
        const std::string now = Text(status);
        if (now != before && now.rfind("Reading: ", 0) != 0 && now.rfind("Copying: ", 0) != 0) {
            std::printf("%s: %s\n", button.c_str(), now.c_str());
            return true;
        }
        Sleep(50);
    }
    std::printf("%s: no end of the pass in sight\n", button.c_str());
    return false;
}

}  // namespace

// Chooses the entry as the system menu does, and waits until a new dialog shows and is drawn.
void ChooseEntry(std::size_t entry) {
    HWND before = FindWindowW(win32::TableDialog::kClassName, nullptr);
    PostMessageW(window, WM_SYSCOMMAND, win32::MainWindow::MenuCommand(entry), 0);
    for (DWORD waited = 0; waited < kPatience; waited += 50) {
        HWND dialog = FindWindowW(win32::TableDialog::kClassName, nullptr);
        if (dialog != nullptr && dialog != before && IsWindowVisible(dialog)) {
            break;
        }
        Sleep(50);
    }
    Sleep(1000);
}

// Presses the buttons or chooses the menu entries in the window of a program already running.
int DriveAttached(int argc, wchar_t* argv[]) {
    window = FindWindowW(win32::MainWindow::kClassName, nullptr);
    for (int word = 2; window != nullptr && word < argc; ++word) {
        const std::string what = platform::Utf8FromWide(argv[word]);
        if (what.starts_with("menu:")) {
            ChooseEntry(std::stoul(what.substr(5)));
        } else if (!Press(what)) {
            return 1;
        }
    }
    return window != nullptr ? 0 : 1;
}

int wmain(int argc, wchar_t* argv[]) {
    if (argc >= 2 && std::wstring_view(argv[1]) == L"--attached") {
        return DriveAttached(argc, argv);
    }
    if (argc < 3) {
        std::fputs("usage: program_driver <program.exe> <add-on folder> <button>... [--stay]\n",
                   stderr);
        return 2;
    }
    const bool stay = std::wstring_view(argv[argc - 1]) == L"--stay";
    std::wstring command = L"\"" + std::wstring(argv[1]) + L"\" \"" + argv[2] + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(argv[1], command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "cannot start the program: error %lu\n", GetLastError());
        return 2;
    }
    const platform::KernelHandle program(process.hProcess);
    const platform::KernelHandle thread(process.hThread);
    WaitForInputIdle(program.get(), kPatience);
    // The window shows once its start-up has run.
    for (DWORD waited = 0; window == nullptr && waited < kPatience; waited += 50) {
        HWND found = FindWindowW(win32::MainWindow::kClassName, nullptr);
        window = found != nullptr && IsWindowVisible(found) ? found : nullptr;
        Sleep(window == nullptr ? 50 : 0);
    }
    if (window == nullptr) {
        std::puts("no window");
        TerminateProcess(program.get(), 1);
        return 1;
    }
    std::printf("title: %s\nlbl_Mods: %s\n", Text(window).c_str(),
                Text(ControlWindow(names::lbl_Mods)).c_str());
    bool passed = true;
    for (int button = 3; passed && button < argc - (stay ? 1 : 0); ++button) {
        passed = Press(platform::Utf8FromWide(argv[button]));
    }
    if (stay) {
        return 0;
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD exit_code = 1;
    if (WaitForSingleObject(program.get(), kPatience) != WAIT_OBJECT_0) {
        TerminateProcess(program.get(), 1);
    }
    GetExitCodeProcess(program.get(), &exit_code);
    std::printf("exit code: %lu\n", exit_code);
    return 0;
}
