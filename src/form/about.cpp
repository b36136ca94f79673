// SPDX-License-Identifier: MIT
#include "form/about.h"

namespace rv {

std::string AboutText() {
    return "RV2003/RV2004 Add-On Installer\r\nVersion " RV_VERSION
           "\r\n\r\nFree software under the MIT License.";
}

}  // namespace rv
