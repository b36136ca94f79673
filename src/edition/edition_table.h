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

const EditionTexts& EditionRow(GameEdition edition);

}  // namespace rv
