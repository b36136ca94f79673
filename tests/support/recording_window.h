// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/window_operations.h"
#include "form/control_layout.h"

namespace rv::test {

// A window that remembers what was done to it, for driving the passes without a toolkit. Like a
// real window, it fails loudly on a name the layout does not know.
struct RecordingWindow : WindowOperations {
    // The control's key: its name, with "(index)" for a control-array member.
    static std::string Key(Control control) {
        EXPECT_TRUE(IsControl(control)) << "no control " << ControlKey(control);
        return ControlKey(control);
    }
    void SetCaption(Control control, const std::string& text) override {
        captions[Key(control)] = text;
        given[Key(control)].push_back(text);
    }
    std::string Caption(Control control) const override { return Of(captions, Key(control)); }
    void SetEnabled(Control control, bool on) override { enabled[Key(control)] = on; }
    void SetToolTip(Control control, const std::string& text) override {
        tooltips[Key(control)] = text;
    }
    void SetMousePointer(MousePointer shown) override { pointer = shown; }
    bool ProcessPendingMessages() override { return on_yield ? on_yield() : true; }
    void ShowProgress(const PassProgress& shown) override { progress.push_back(shown); }

    bool Enabled(const std::string& key) const { return enabled.contains(key) && enabled.at(key); }
    std::string ToolTip(const std::string& key) const { return Of(tooltips, key); }
    template <typename Value>
    static Value Of(const std::map<std::string, Value>& map, const std::string& key) {
        return map.contains(key) ? map.at(key) : Value();
    }

    std::map<std::string, std::string> captions, tooltips;
    std::map<std::string, std::vector<std::string>> given;  // every caption, in order
    std::map<std::string, bool> enabled;
    MousePointer pointer = MousePointer::Default;
    std::vector<PassProgress> progress;  // every report, in order
    // Runs at every yield, as a click the user made meanwhile would; returns false to report
    // that the window is closing.
    std::function<bool()> on_yield;
};

}  // namespace rv::test
