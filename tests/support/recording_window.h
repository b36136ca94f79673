// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/window_operations.h"

namespace rv::test {

// A window that remembers what was done to it, for driving the workflow logic without Qt.
// Every operation is also appended to `log` as one line, such as
//   caption lbl_status = Reading: a.ukx
//   enabled cmd_write = 1
//   pointer 11
//   yield
class RecordingWindow : public WindowOperations {
public:
    // Key of a control: its name, with "(index)" for a control-array member.
    static std::string Key(Control control);

    void SetCaption(Control control, const std::string& text) override;
    std::string Caption(Control control) const override;
    void SetEnabled(Control control, bool enabled) override;
    void SetToolTip(Control control, const std::string& text) override;
    void SetMousePointer(MousePointer pointer) override;
    bool ProcessPendingMessages() override;

    bool Enabled(const std::string& key) const;
    std::string ToolTip(const std::string& key) const;

    // Lines of `log` that start with the given prefix, in order.
    std::vector<std::string> LogLines(const std::string& prefix) const;

    std::map<std::string, std::string> captions;
    std::map<std::string, bool> enabled;
    std::map<std::string, std::string> tooltips;
    MousePointer pointer = MousePointer::Default;
    std::vector<std::string> log;
    int yields = 0;

    // Runs at every yield, as a click the user made meanwhile would; returns false to report
    // that the window is closing.
    std::function<bool()> on_yield;
};

}  // namespace rv::test
