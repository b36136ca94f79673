// SPDX-License-Identifier: MIT
// Starts a program as a console shell on Windows starts a windowed one: the console is there, but
// no standard stream is handed over. Prints what the program left on the console, then its exit
// code. With --ctrl-c-when, presses Ctrl+C in the console once that folder holds something.
// Usage: console_driver [--ctrl-c-when <folder>] <program.exe> <argument>...
#include <windows.h>

#include <filesystem>

#include "driven_program.h"

int wmain(int argc, wchar_t* argv[]) {
    using rv::platform::KernelHandle;
    std::wstring ctrl_c_when;
    if (argc > 3 && std::wstring(argv[1]) == L"--ctrl-c-when") {
        ctrl_c_when = argv[2];
        argc -= 2;
        argv += 2;
    }
    FreeConsole();  // the streams Wine handed this program may be pipes, not a console
    AllocConsole();
    const KernelHandle screen(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
    SetConsoleScreenBufferSize(screen.get(), COORD{240, 200});  // wide enough for no wraps
    const KernelHandle program = rv::test::StartProgram(argv + 1, argc - 1, DETACHED_PROCESS);
    if (!program.valid()) {
        std::fputs("usage: console_driver <program.exe> <argument>...\n", stderr);
        return 2;
    }
    if (!ctrl_c_when.empty()) {
        SetConsoleCtrlHandler(nullptr, TRUE);  // only the program is to end
        std::error_code error;
        while (std::filesystem::is_empty(ctrl_c_when, error) && !error &&
               WaitForSingleObject(program.get(), 5) == WAIT_TIMEOUT) {
        }
        GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    }
    const DWORD exit_code = rv::test::ExitCode(program);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    GetConsoleScreenBufferInfo(screen.get(), &info);
    for (SHORT row = 0; row < info.dwCursorPosition.Y; ++row) {
        std::wstring line(static_cast<std::size_t>(info.dwSize.X), L' ');
        DWORD read = 0;
        ReadConsoleOutputCharacterW(screen.get(), line.data(), static_cast<DWORD>(line.size()),
                                    COORD{0, row}, &read);
        line.erase(line.find_last_not_of(L' ') + 1);
        std::printf("%s\n", rv::platform::Utf8FromWide(line).c_str());
    }
    std::printf("exit code: %lu\n", exit_code);
    return 0;
}
