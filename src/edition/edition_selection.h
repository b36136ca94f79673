// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "core/installer.h"
#include "edition/edition_table.h"
#include "platform/registry.h"

namespace rv {

// The start-up and the edition switch of the main window.
class EditionSelection {
public:
    EditionSelection(WindowOperations& window, RV2003_2004_Add_On_Installer& installer,
                     platform::RegistryBackend& registry);

    // Resets the window and applies RV2004; runs once before the window first shows.
    void Form_Load();
    // Resets the window and applies the edition that cmd_gameChange offers. Does nothing while a
    // pass runs.
    void cmd_gameChange_Click();

private:
    void Reset();
    void Apply(GameEdition edition);

    WindowOperations& window_;
    RV2003_2004_Add_On_Installer& installer_;
    platform::RegistryBackend& registry_;
    std::int32_t registry_root_ = platform::kHKeyLocalMachine;
};

}  // namespace rv
