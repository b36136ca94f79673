#include "edition/edition_table.h"

namespace rv {

namespace {

constexpr EditionTexts kRV2003{
    "Unofficial RV2003 Add-On Installer (Maps, Mutators, Weapons, Skins, ...)",
    "Ravager 2003 is installed here:",
    "SOFTWARE\\Zentor Technology\\Installed Apps\\RV2003",
    "Folder",
    "Please open your Ravager 2003 Folder",
    "Do you want RV 2004 ?",
};

constexpr EditionTexts kRV2004{
    "Unofficial RV2004 Add-On Installer (Maps, Mutators, Weapons, Skins, ...)",
    "Ravager 2004 is installed here:",
    "SOFTWARE\\Zentor Technology\\Installed Apps\\RV2004",
    "Folder",
    "Please open your Ravager 2004 Folder",
    "Do you want RV 2003 ?",
};

}  // namespace

const EditionTexts& EditionRow(GameEdition edition) {
    return edition == GameEdition::RV2003 ? kRV2003 : kRV2004;
}

}  // namespace rv
