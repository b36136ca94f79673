// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <set>
#include <string>

namespace rv::win32 {

// The common-controls tool tips of a window's controls, with texts that may run to many lines.
// An empty text shows no tip.
class ControlToolTips {
public:
    ControlToolTips() = default;
    ControlToolTips(const ControlToolTips&) = delete;
    ControlToolTips& operator=(const ControlToolTips&) = delete;

    // Creates the tip window, owned by the given window, which destroys it.
    void Create(HWND owner);
    void SetText(HWND control, const std::string& text);
    // What the tip of the control holds, as UTF-8.
    std::string Text(HWND control) const;

private:
    HWND tips_ = nullptr;
    std::set<HWND> tools_;  // controls that have a tip
};

}  // namespace rv::win32
