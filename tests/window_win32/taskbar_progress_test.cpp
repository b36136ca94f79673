// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/control_names.h"
#include "support/sample_addon.h"
#include "window/window_driver.h"
#include "window_win32/taskbar_progress.h"

namespace rv::test {
namespace {

using Lines = std::vector<std::string>;

// The taskbar button of the real window: a read shows a moving bar while it searches; a write
// shows it while it searches the add-on folder, then the files handled of all it handles, and
// nothing once it ends.
TEST(TaskbarButton, ShowsAWritesShareOfFilesThenNothing) {
    Lines told;
    win32::SetTaskbarWatcher([&](HWND, TBPFLAG state, const PassProgress& shown) {
        told.push_back(state == TBPF_NORMAL
                           ? std::to_string(shown.done) + "/" + std::to_string(shown.total)
                           : (state == TBPF_INDETERMINATE ? "moving" : "none"));
    });
    std::unique_ptr<WindowDriver> w = MakeWindowDriver();
    const std::string addon = w->Root() + "\\Add-on", game = w->Root() + "\\Game";
    MakeSampleAddOn(addon, game);
    w->SetRegistered({{"RV2004", game}});
    w->Start({addon});
    w->Click(names::cmd_read);
    Lines searches;
    for (std::size_t row = 0; row < kRowCount; ++row) {
        searches.insert(searches.end(), {"moving", "none"});
    }
    EXPECT_EQ(told, searches);

    told.clear();
    w->Click(names::cmd_write);
    Lines expected = {"moving", "none"};
    for (int done = 0; done <= 13; ++done) {
        expected.push_back(std::to_string(done) + "/13");
    }
    expected.push_back("none");
    EXPECT_EQ(told, expected);
    win32::SetTaskbarWatcher({});
}

}  // namespace
}  // namespace rv::test
