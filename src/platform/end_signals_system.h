// SPDX-License-Identifier: MIT
#pragma once

// What each platform does for EndSignalsDeferred and EndSignalsAnswered.
namespace rv::platform {

// From now on a signal that ends the program only notes itself; one noted before is forgotten.
void DeferEndSignals();

// Such signals act as they did before DeferEndSignals again. With `end_now`, a signal that came
// meanwhile then ends the program as it would have at once.
void RestoreEndSignals(bool end_now);

}  // namespace rv::platform
