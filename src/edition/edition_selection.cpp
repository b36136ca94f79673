// SPDX-License-Identifier: MIT
#include "edition/edition_selection.h"

#include <string>
#include <type_traits>
#include <variant>

#include "edition/reg_value_get.h"
#include "text/text.h"

namespace rv {

namespace {

// The value as text: a text as it came, a number as its decimal text, nothing as empty text.
std::string AsText(const RegValue& value) {
    return std::visit(
        [](const auto& held) -> std::string {
            using Held = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<Held, std::string>) {
                return held;
            } else if constexpr (std::is_same_v<Held, std::int32_t>) {
                return std::to_string(held);
            } else {
                return {};
            }
        },
        value);
}

// Undoes the reader's text shape: the trailing spaces, then the NUL that ends a text stored with
// one. A text stored without NUL keeps its last character. A NUL inside ends the text there, as
// it does for every system call the folder is handed to.
std::string CleanFolder(const std::string& value) {
    std::string folder(text::TrimTrailingSpaces(value));
    if (!folder.empty() && folder.back() == '\0') {
        folder.pop_back();
    }
    return folder.substr(0, folder.find('\0'));
}

}  // namespace

EditionSelection::EditionSelection(WindowOperations& window,
                                   RV2003_2004_Add_On_Installer& installer,
                                   platform::RegistryBackend& registry)
    : window_(window), installer_(installer), registry_(registry) {}

void EditionSelection::Form_Load() {
    Reset();
    Apply(GameEdition::RV2004);
}

void EditionSelection::cmd_gameChange_Click() {
    if (installer_.PassRunning()) {
        return;
    }
    Reset();
    // The button offers the other edition; RV2004's texts leave it offering RV2003.
    const std::string offered = window_.Caption({names::cmd_gameChange});
    Apply(offered == kRV2004Texts.switch_caption ? GameEdition::RV2003 : GameEdition::RV2004);
}

void EditionSelection::Reset() {
    registry_root_ = platform::kHKeyLocalMachine;
    window_.SetEnabled({names::cmd_read}, false);
    window_.SetEnabled({names::cmd_Open1}, true);
    window_.SetEnabled({names::cmd_write}, false);
    installer_.ResetAllCounters();
}

void EditionSelection::Apply(GameEdition edition) {
    const EditionTexts& row = EditionRow(edition);
    window_.SetCaption({names::Frame2}, std::string(row.frame_caption));
    window_.SetCaption({names::RV2003_2004_Add_On_Installer}, std::string(row.window_caption));

    RegValue value;
    const std::int32_t result =
        RegValueGet(registry_, registry_root_, std::string(row.registry_key),
                    std::string(row.registry_value), value);
    // An empty folder is no folder: it leaves the user to pick one, as an unregistered edition.
    const std::string folder = result == platform::kRegSuccess ? CleanFolder(AsText(value)) : "";
    if (!folder.empty()) {
        installer_.SetGameFolder(folder);
        window_.SetCaption({names::lbl_folder}, text::ShownName(folder));
        window_.SetEnabled({names::cmd_Open1}, false);
        window_.SetEnabled({names::cmd_Open2}, true);
    } else {
        window_.SetCaption({names::lbl_folder}, std::string(row.folder_prompt));
        window_.SetEnabled({names::cmd_Open1}, true);
        window_.SetEnabled({names::cmd_Open2}, false);
    }
    window_.SetToolTip({names::lbl_folder}, folder.empty() ? "" : registry_.FoundIn());
    // Where the key was looked for, when it was not found.
    window_.SetToolTip({names::lbl_status}, folder.empty() ? registry_.WhereLooked() : "");
    window_.SetCaption({names::cmd_gameChange}, std::string(row.switch_caption));
    installer_.SetEdition(edition == GameEdition::RV2003 ? "RV2003" : "RV2004");
}

}  // namespace rv
