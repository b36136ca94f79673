#pragma once

#include <chrono>

#include "core/window_operations.h"

namespace rv {

// Lets the window handle its messages whenever 50 ms have passed since it last did here, so a
// long stretch of work (a large copy) holds the window well under a quarter second: one chunk of
// a copy may itself take up to 200 ms where the kernel holds back a writer for a slow disk.
class YieldClock {
public:
    explicit YieldClock(WindowOperations& window);

    // False once the window is closing or a signal asked the program to end: the work stops.
    bool KeepGoing();

private:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration kInterval = std::chrono::milliseconds(50);

    WindowOperations& window_;
    Clock::time_point last_yield_;
};

}  // namespace rv
