// SPDX-License-Identifier: MIT
#pragma once

#include "core/window_operations.h"

namespace rv {

// The progress Linux desktops show on the program's launcher entry (a task manager's button, a
// dock's icon): the launcher entry interface's Update signal on the session bus, for the desktop
// entry the program is installed as. Without a session bus nothing is sent and nothing is said.
class LauncherProgress {
public:
    // How far a write pass has come; PassProgress{} once it has ended hides the progress.
    void Show(const PassProgress& progress);

private:
    bool visible_ = false;
};

}  // namespace rv
