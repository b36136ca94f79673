// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "form/dialog_placement.h"

namespace rv::test {
namespace {

// A 1366x768 screen with a 40-pixel task bar at the bottom, and a second monitor to its right
// whose work area leaves a bar at its top; the main window where a user may have left it.
TEST(DialogPlacement, CentredOnTheMainWindowInsideTheWorkArea) {
    const ScreenRect screen{0, 0, 1366, 728};
    const ScreenRect right{1366, 30, 1920, 1050};
    struct Case {
        const char* what;
        ScreenRect area, main;
        int width, height;
        ScreenRect placed;
    };
    const Case cases[] = {
        {"fits centred", screen, {300, 100, 640, 480}, 400, 300, {420, 190, 400, 300}},
        {"main window partly off the bottom right",
         screen,
         {1200, 600, 637, 530},
         766,
         459,
         {600, 269, 766, 459}},
        {"larger than the work area", screen, {0, 0, 1274, 1000}, 1516, 878, {0, 0, 1366, 728}},
        {"wider only", screen, {500, 100, 400, 300}, 1400, 200, {0, 150, 1366, 200}},
        {"on the second monitor", right, {1300, 0, 400, 300}, 766, 459, {1366, 30, 766, 459}},
        {"exactly the work area", screen, {10, 10, 100, 100}, 1366, 728, {0, 0, 1366, 728}},
    };
    for (const Case& c : cases) {
        const ScreenRect placed = PlaceDialog(c.area, c.main, c.width, c.height);
        EXPECT_EQ(std::tuple(placed.left, placed.top, placed.width, placed.height),
                  std::tuple(c.placed.left, c.placed.top, c.placed.width, c.placed.height))
            << c.what;
    }
}

}  // namespace
}  // namespace rv::test
