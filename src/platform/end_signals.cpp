// SPDX-License-Identifier: MIT
#include "platform/end_signals.h"

#include "platform/end_signals_system.h"

namespace rv::platform {
namespace {

bool answered = false;  // an EndSignalsAnswered lives

}  // namespace

EndSignalsDeferred::EndSignalsDeferred() {
    if (!answered) {
        DeferEndSignals();
    }
}

EndSignalsDeferred::~EndSignalsDeferred() {
    if (!answered) {
        RestoreEndSignals(true);
    }
}

EndSignalsAnswered::EndSignalsAnswered() {
    DeferEndSignals();
    answered = true;
}

EndSignalsAnswered::~EndSignalsAnswered() {
    answered = false;
    RestoreEndSignals(false);
}

bool EndRequested() {
    return EndSignal() != 0;
}

}  // namespace rv::platform
