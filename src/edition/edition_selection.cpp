#include "edition/edition_selection.h"

namespace rv {

EditionSelection::EditionSelection(RV2003_2004_Add_On_Installer& installer,
                                   platform::RegistryBackend& registry)
    : installer_(installer), registry_(registry) {}

}  // namespace rv
