// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "core/control_names.h"
#include "platform/owned_win.h"
#include "platform/wide_text_win.h"
#include "window_win32/control_ids.h"
#include "window_win32/main_window.h"

// The real program, started and driven from another process as a user drives it.
namespace rv::test {

inline constexpr DWORD kPatience = 60000;  // ms

inline HWND ControlWindow(HWND window, std::string_view name) {
    return GetDlgItem(window, win32::ControlId(Control{name, -1}));
}

inline std::string Text(HWND control) {
    wchar_t text[4096] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_BLOCK,
                        kPatience, &copied);
    return platform::Utf8FromWide(text);
}

// Starts the program (the first word) with the other words as its arguments, each quoted; the
// process, not valid when it could not be started.
inline platform::KernelHandle StartProgram(wchar_t* words[], int count, DWORD flags = 0) {
    std::wstring command;
    for (int i = 0; i < count; ++i) {
        command += std::wstring(i > 0 ? L" \"" : L"\"") + words[i] + L"\"";
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (count < 1 || !CreateProcessW(words[0], command.data(), nullptr, nullptr, FALSE, flags,
                                     nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "cannot start the program: error %lu\n", GetLastError());
        return platform::KernelHandle();
    }
    CloseHandle(process.hThread);
    return platform::KernelHandle(process.hProcess);
}

// The program's exit code once it has ended, ending it when it does not within the patience.
inline DWORD ExitCode(const platform::KernelHandle& program) {
    if (WaitForSingleObject(program.get(), kPatience) != WAIT_OBJECT_0) {
        TerminateProcess(program.get(), 1);
    }
    DWORD exit_code = 1;
    GetExitCodeProcess(program.get(), &exit_code);
    return exit_code;
}

// The main window once its start-up has run and it shows; nullptr when it never does.
inline HWND ShownWindow() {
    for (DWORD waited = 0; waited < kPatience; waited += 50) {
        HWND found = FindWindowW(win32::MainWindow::kClassName, nullptr);
        if (found != nullptr && IsWindowVisible(found)) {
            return found;
        }
        Sleep(50);
    }
    return nullptr;
}

// Presses the button, as a user can only when it is enabled, waits until the status line shows
// the end of the pass it started and prints "button: status line".
inline bool Press(HWND window, const std::string& button) {
    if (!IsWindowEnabled(ControlWindow(window, button))) {
        std::printf("%s: disabled\n", button.c_str());
        return false;
    }
    HWND status = ControlWindow(window, names::lbl_status);
    const std::string before = Text(status);
    PostMessageW(ControlWindow(window, button), BM_CLICK, 0, 0);
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

}  // namespace rv::test
