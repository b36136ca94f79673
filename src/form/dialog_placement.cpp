// SPDX-License-Identifier: MIT
#include "form/dialog_placement.h"

#include <algorithm>

namespace rv {

namespace {

// The start of a span of the length centred on the owner's span, kept inside the area's span.
int PlaceSpan(int area_start, int area_length, int owner_start, int owner_length, int length) {
    const int centred = owner_start + (owner_length - length) / 2;
    return std::clamp(centred, area_start, area_start + area_length - length);
}

}  // namespace

ScreenRect PlaceDialog(const ScreenRect& work_area, const ScreenRect& main_window, int width,
                       int height) {
    width = std::clamp(width, 0, std::max(work_area.width, 0));
    height = std::clamp(height, 0, std::max(work_area.height, 0));
    return {PlaceSpan(work_area.left, work_area.width, main_window.left, main_window.width, width),
            PlaceSpan(work_area.top, work_area.height, main_window.top, main_window.height, height),
            width, height};
}

}  // namespace rv
