// SPDX-License-Identifier: MIT
#include "cli/console_window.h"

namespace rv {
namespace {

std::string Find(const std::map<std::string, std::string>& texts, const std::string& key) {
    const auto it = texts.find(key);
    return it == texts.end() ? std::string() : it->second;
}

}  // namespace

std::string ConsoleWindow::Key(Control control) {
    return std::string(control.name) + "(" + std::to_string(control.index) + ")";
}

void ConsoleWindow::SetCaption(Control control, const std::string& text) {
    captions_[Key(control)] = text;
}

std::string ConsoleWindow::Caption(Control control) const {
    return Find(captions_, Key(control));
}

void ConsoleWindow::SetToolTip(Control control, const std::string& text) {
    tooltips_[Key(control)] = text;
}

std::string ConsoleWindow::ToolTip(Control control) const {
    return Find(tooltips_, Key(control));
}

}  // namespace rv
