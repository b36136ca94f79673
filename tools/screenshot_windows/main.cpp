// SPDX-License-Identifier: MIT
// Sets the Windows program up for a picture: with --start, starts it on an add-on folder and
// leaves it running; then, in the window of the program running, presses each named button
// (waiting until the status line shows the end of its pass) or, for "menu:N", chooses the context
// menu's entry N (waiting until its dialog shows and is drawn).
// Usage: screenshot_driver [--start <program.exe> <add-on folder>] <button or menu:N>...
#include "window_win32/driven_program.h"
#include "window_win32/table_dialog.h"

namespace {

// Chooses the entry as the system menu does, and waits until a new dialog shows and is drawn.
void ChooseEntry(HWND window, std::size_t entry) {
    using rv::win32::TableDialog;
    HWND before = FindWindowW(TableDialog::kClassName, nullptr);
    PostMessageW(window, WM_SYSCOMMAND, rv::win32::MainWindow::MenuCommand(entry), 0);
    for (DWORD waited = 0; waited < rv::test::kPatience; waited += 50) {
        HWND dialog = FindWindowW(TableDialog::kClassName, nullptr);
        if (dialog != nullptr && dialog != before && IsWindowVisible(dialog)) {
            break;
        }
        Sleep(50);
    }
    Sleep(1000);
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
    int word = 1;
    if (argc >= 4 && std::wstring_view(argv[1]) == L"--start") {
        const rv::platform::KernelHandle program = rv::test::StartProgram(argv + 2, 2);
        if (!program.valid()) {
            return 2;
        }
        WaitForInputIdle(program.get(), rv::test::kPatience);
        word = 4;
    }
    HWND window = rv::test::ShownWindow();
    if (window == nullptr) {
        std::puts("no window");
        return 1;
    }
    for (; word < argc; ++word) {
        const std::string what = rv::platform::Utf8FromWide(argv[word]);
        if (what.starts_with("menu:")) {
            ChooseEntry(window, std::stoul(what.substr(5)));
        } else if (!rv::test::Press(window, what)) {
            return 1;
        }
    }
    return 0;
}
