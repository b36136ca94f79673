// SPDX-License-Identifier: MIT
#include "support/recording_window.h"

#include <gtest/gtest.h>

#include "form/control_layout.h"

namespace rv::test {

// Like a real window, the recording one fails loudly on a name the layout does not know.
std::string RecordingWindow::Key(Control control) {
    std::string key = ControlKey(control);
    if (!IsControl(control)) {
        ADD_FAILURE() << "no control " << key;
    }
    return key;
}

void RecordingWindow::SetCaption(Control control, const std::string& text) {
    captions[Key(control)] = text;
    log.push_back("caption " + Key(control) + " = " + text);
}

std::string RecordingWindow::Caption(Control control) const {
    auto it = captions.find(Key(control));
    return it == captions.end() ? std::string() : it->second;
}

void RecordingWindow::SetEnabled(Control control, bool on) {
    enabled[Key(control)] = on;
    log.push_back("enabled " + Key(control) + " = " + (on ? "1" : "0"));
}

void RecordingWindow::SetToolTip(Control control, const std::string& text) {
    tooltips[Key(control)] = text;
    log.push_back("tooltip " + Key(control) + " = " + text);
}

void RecordingWindow::SetMousePointer(MousePointer p) {
    pointer = p;
    log.push_back("pointer " + std::to_string(static_cast<int>(p)));
}

bool RecordingWindow::ProcessPendingMessages() {
    ++yields;
    log.push_back("yield");
    return on_yield ? on_yield() : true;
}

bool RecordingWindow::Enabled(const std::string& key) const {
    auto it = enabled.find(key);
    return it != enabled.end() && it->second;
}

std::string RecordingWindow::ToolTip(const std::string& key) const {
    auto it = tooltips.find(key);
    return it == tooltips.end() ? std::string() : it->second;
}

std::vector<std::string> RecordingWindow::LogLines(const std::string& prefix) const {
    std::vector<std::string> lines;
    for (const auto& line : log) {
        if (line.rfind(prefix, 0) == 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

}  // namespace rv::test
