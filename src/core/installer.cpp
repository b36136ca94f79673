#include "core/installer.h"

namespace rv {

RV2003_2004_Add_On_Installer::RV2003_2004_Add_On_Installer(WindowOperations& window)
    : window_(window) {}

}  // namespace rv
