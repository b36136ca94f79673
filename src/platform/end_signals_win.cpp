// SPDX-License-Identifier: MIT
#include "platform/end_signals.h"

namespace rv::platform {

EndSignalsDeferred::EndSignalsDeferred() = default;
EndSignalsDeferred::~EndSignalsDeferred() = default;

bool EndRequested() {
    return false;
}

}  // namespace rv::platform
