// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace rv {

enum class GameEdition { RV2003, RV2004 };

// Everything in which the two editions differ for this program.
struct EditionTexts {
    std::string_view window_caption;
    std::string_view frame_caption;  // Frame2
    std::string_view registry_key;   // below HKEY_LOCAL_MACHINE
    std::string_view registry_value;
    std::string_view folder_prompt;   // lbl_folder when the edition is not registered
    std::string_view switch_caption;  // cmd_gameChange afterwards: offers the other edition
};

inline constexpr EditionTexts kRV2003Texts{
    "Unofficial RV2003 Add-On Installer (Maps, Mutators, Weapons, Skins, ...)",
    "Ravager 2003 is installed here:",
    "SOFTWARE\\Zentor Technology\\Installed Apps\\RV2003",
    "Folder",
    "Please open your Ravager 2003 Folder",
    "Do you want RV 2004 ?",
};

// Also what the window shows when it is created, before the start-up applies it.
inline constexpr EditionTexts kRV2004Texts{
    "Unofficial RV2004 Add-On Installer (Maps, Mutators, Weapons, Skins, ...)",
    "Ravager 2004 is installed here:",
    "SOFTWARE\\Zentor Technology\\Installed Apps\\RV2004",
    "Folder",
    "Please open your Ravager 2004 Folder",
    "Do you want RV 2003 ?",
};

constexpr const EditionTexts& EditionRow(GameEdition edition) {
    return edition == GameEdition::RV2003 ? kRV2003Texts : kRV2004Texts;
}

}  // namespace rv
