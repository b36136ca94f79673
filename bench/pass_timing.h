// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/window_operations.h"

// What the pass benchmarks time with: the clock, shell commands, medians, and a window that does
// nothing.
namespace rv::bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Runs the shell command and returns its wall time; a failing command ends the benchmark.
inline double Run(const std::string& command) {
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
    return Seconds(start);
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A window that does nothing, so the figures are those of the walk, the checks and the copies;
// it only notes the longest time between two turns of its event loop.
class QuietWindow : public WindowOperations {
public:
    void SetCaption(Control, const std::string&) override {}
    std::string Caption(Control) const override { return {}; }
    void SetEnabled(Control, bool) override {}
    void SetToolTip(Control, const std::string& text) override { tool_tip = text; }
    void SetMousePointer(MousePointer) override {}
    bool ProcessPendingMessages() override {
        const auto now = Clock::now();
        longest_stall = std::max(longest_stall, now - last_turn);
        last_turn = now;
        return true;
    }
    void StartWatch() {
        last_turn = Clock::now();
        longest_stall = {};
    }

    std::string tool_tip;
    Clock::time_point last_turn = Clock::now();
    Clock::duration longest_stall{};
};

}  // namespace rv::bench
