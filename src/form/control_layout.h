// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/window_operations.h"

// The main window as data: every control with its name, kind, container, rectangle and caption
// at creation. Rectangles are in twips (1/1440 inch) relative to the container's outer top-left
// corner, as the layout was drawn; 15 twips make one pixel at 96 dots per inch.
namespace rv {

enum class ControlKind { Frame, Label, Button };

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct ControlSpec {
    std::string_view name;
    int index = -1;  // member of a control array when >= 0
    ControlKind kind = ControlKind::Label;
    std::string_view container;  // empty: a direct child of the window
    int container_index = -1;
    TwipsRect rect;
    std::string_view caption;
    bool right_aligned = false;
};

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kClientWidthTwips = 9465;
inline constexpr int kClientHeightTwips = 4500;

inline constexpr int TwipsToPixels(int twips) {
    return twips / kTwipsPerPixel;
}

// The window's caption when it is created: RV2004's, which the start-up then applies.
std::string_view CreationCaption();

// The key of a control: its name, and "(index)" for a control-array member.
std::string ControlKey(std::string_view name, int index);
inline std::string ControlKey(Control control) {
    return ControlKey(control.name, control.index);
}

// All 75 controls, containers before what they contain.
const std::vector<ControlSpec>& MainWindowLayout();

// True for the window itself and each of its 75 controls.
bool IsControl(Control control);

// The buttons in keyboard focus order.
std::span<const std::string_view> TabOrder();

}  // namespace rv
