// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/control_names.h"

namespace rv {

// Names one control of the main window (names::RV2003_2004_Add_On_Installer is the window
// itself, whose caption is its title): a plain control has index -1, a member of a control
// array carries its index (lbl_MapCounter with index 2 is the member written lbl_MapCounter(2)).
struct Control {
    std::string_view name;
    int index = -1;
};

// How far a write pass has come: `done` of the `total` add-on files it handles. A total of 0
// means no pass is under way: nothing to show.
struct PassProgress {
    std::size_t done = 0;
    std::size_t total = 0;
    friend bool operator==(const PassProgress&, const PassProgress&) = default;
};

enum class MousePointer {
    Default = 0,
    Hourglass = 11,
};

// Everything the workflow logic may do to the main window. The Qt window implements it; the
// tests drive the logic with a recording fake. Texts are UTF-8.
class WindowOperations {
public:
    virtual ~WindowOperations() = default;

    virtual void SetCaption(Control control, const std::string& text) = 0;
    virtual std::string Caption(Control control) const = 0;
    virtual void SetEnabled(Control control, bool enabled) = 0;
    virtual void SetToolTip(Control control, const std::string& text) = 0;
    virtual void SetMousePointer(MousePointer pointer) = 0;

    // Lets the window repaint and handle pending clicks, then returns. Returns false once the
    // window is closing: a pass that gets false stops at once and copies nothing more.
    virtual bool ProcessPendingMessages() = 0;

    // Shows a write pass's progress where the desktop shows it. A pass reports 0 of its total
    // once it has counted its files, then now and then as it handles them (every 2 percent at
    // most), and PassProgress{} when it ends, however it ends. A window may show nothing of it.
    virtual void ShowProgress(const PassProgress& /*progress*/) {}
};

}  // namespace rv
