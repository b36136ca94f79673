#include "core/yield_clock.h"

#include "platform/end_signals.h"

namespace rv {

YieldClock::YieldClock(WindowOperations& window) : window_(window), last_yield_(Clock::now()) {}

bool YieldClock::KeepGoing() {
    if (platform::EndRequested()) {
        return false;
    }
    if (Clock::now() - last_yield_ < kInterval) {
        return true;
    }
    const bool open = window_.ProcessPendingMessages();
    last_yield_ = Clock::now();
    return open;
}

}  // namespace rv
