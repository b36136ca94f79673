// SPDX-License-Identifier: MIT
#include "platform/display.h"

namespace rv::platform {

// A Windows desktop session always has its window station.
bool HasDisplay() {
    return true;
}

}  // namespace rv::platform
