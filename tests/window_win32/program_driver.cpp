// SPDX-License-Identifier: MIT
// Drives the real program from outside, as a user would: starts it with an add-on folder as its
// argument, presses the named buttons in turn and after each prints the status line, then closes
// the window and prints the exit code.
// Usage: program_driver <program.exe> <add-on folder> <button>...
#include "driven_program.h"

int wmain(int argc, wchar_t* argv[]) {
    using namespace rv::test;
    if (argc < 3) {
        std::fputs("usage: program_driver <program.exe> <add-on folder> <button>...\n", stderr);
        return 2;
    }
    const rv::platform::KernelHandle program = StartProgram(argv + 1, 2);
    if (!program.valid()) {
        return 2;
    }
    WaitForInputIdle(program.get(), kPatience);
    HWND window = ShownWindow();
    if (window == nullptr) {
        std::puts("no window");
        TerminateProcess(program.get(), 1);
        return 1;
    }
    std::printf("title: %s\nlbl_Mods: %s\n", Text(window).c_str(),
                Text(ControlWindow(window, rv::names::lbl_Mods)).c_str());
    for (int button = 3; button < argc; ++button) {
        if (!Press(window, rv::platform::Utf8FromWide(argv[button]))) {
            break;
        }
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    std::printf("exit code: %lu\n", ExitCode(program));
    return 0;
}
