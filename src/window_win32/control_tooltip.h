#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace rv::win32 {

// A common-controls tooltip over one control, with text that may run to many lines. An empty
// text shows no tip.
class ControlToolTip {
public:
    ControlToolTip() = default;
    ControlToolTip(const ControlToolTip&) = delete;
    ControlToolTip& operator=(const ControlToolTip&) = delete;

    // Creates the tip window, owned by the control's top-level window, which destroys it.
    void Attach(HWND control);
    void SetText(const std::string& text);
    // What the tip window holds, as UTF-8.
    std::string Text() const;

private:
    TOOLINFOW Tool() const;

    HWND tip_ = nullptr;
    HWND control_ = nullptr;
};

}  // namespace rv::win32
