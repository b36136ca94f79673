#pragma once

#include <chrono>

#include "core/window_operations.h"

namespace rv {

// Lets the window handle its messages whenever 100 ms have passed since it last did here, so a
// long stretch of work (a large copy) never holds the window for longer.
class YieldClock {
public:
    explicit YieldClock(WindowOperations& window);

    // False once the window is closing or a signal asked the program to end: the work stops.
    bool KeepGoing();

private:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration kInterval = std::chrono::milliseconds(100);

    WindowOperations& window_;
    Clock::time_point last_yield_;
};

}  // namespace rv
