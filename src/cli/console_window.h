// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <string>

#include "core/window_operations.h"

namespace rv {

// The window of the command line: it shows nothing and keeps what the workflow sets, so the
// command line can report it afterwards.
class ConsoleWindow : public WindowOperations {
public:
    void SetCaption(Control control, const std::string& text) override;
    std::string Caption(Control control) const override;
    void SetEnabled(Control, bool) override {}
    void SetToolTip(Control control, const std::string& text) override;
    void SetMousePointer(MousePointer) override {}
    bool ProcessPendingMessages() override { return true; }

    std::string ToolTip(Control control) const;

private:
    static std::string Key(Control control);

    std::map<std::string, std::string> captions_;
    std::map<std::string, std::string> tooltips_;
};

}  // namespace rv
