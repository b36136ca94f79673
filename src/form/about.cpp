// SPDX-License-Identifier: MIT
#include "form/about.h"

#include "text/version.h"

namespace rv {

std::string AboutText() {
    return std::string("RV2003/RV2004 Add-On Installer\r\nVersion ") + kProgramVersion +
           "\r\n\r\nFree software under the MIT License.";
}

}  // namespace rv
