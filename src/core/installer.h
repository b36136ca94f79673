#pragma once

#include <string>

#include "core/window_operations.h"

namespace rv {

// The application object: the state of the workflow and the handlers that change it. It reaches
// the window only through WindowOperations and the disk only through the platform layer.
//
// (Outline for the layers above; the core fills in the private side and the counters.)
class RV2003_2004_Add_On_Installer {
public:
    explicit RV2003_2004_Add_On_Installer(WindowOperations& window);

    std::string GameFolder;
    std::string AddOnFolder;

    void cmd_read_Click();
    void cmd_write_Click();

    // True while a read or write pass runs and yields to the window. Handlers that would change
    // the workflow's state (Read, Write, the edition switch, the folder buttons) do nothing then.
    bool PassRunning() const;

    // Sets all 32 counters to 0 and all 28 counter labels to "0", in the window's reset order.
    void ResetAllCounters();

    static std::string SplitFileFromPath(std::string Pfad);

    WindowOperations& Window() { return window_; }

private:
    WindowOperations& window_;
};

}  // namespace rv
