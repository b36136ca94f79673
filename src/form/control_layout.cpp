// SPDX-License-Identifier: MIT
#include "form/control_layout.h"

#include <algorithm>
#include <array>

#include "core/category_table.h"
#include "edition/edition_table.h"
#include "form/link_buttons.h"

namespace rv {

namespace {

using enum ControlKind;

// The three bands, their contents and the link buttons, one row a control.
// clang-format off
using namespace names;
constexpr std::array kFixedControls = {
    ControlSpec{Frame2,         -1, Frame,  "",     -1, {0, 0, 9420, 735},       kRV2004Texts.frame_caption},
    ControlSpec{Frame1,         -1, Frame,  "",     -1, {0, 765, 9420, 780},     "Open Mods, Maps, Mutators, ... Folder"},
    ControlSpec{Frame3,         -1, Frame,  "",     -1, {0, 1575, 9420, 2490},   "Status"},
    ControlSpec{cmd_home1,      -1, Button, "",     -1, {45, 4140, 2220, 330},   ""},
    ControlSpec{cmd_home2,      -1, Button, "",     -1, {2430, 4140, 2220, 330}, ""},
    ControlSpec{cmd_home3,      -1, Button, "",     -1, {4815, 4140, 2220, 330}, ""},
    ControlSpec{Command1,       -1, Button, "",     -1, {7200, 4140, 2220, 330}, ""},
    ControlSpec{cmd_Open1,      -1, Button, Frame2, -1, {90, 270, 915, 330},     "Open"},
    ControlSpec{lbl_folder,     -1, Label,  Frame2, -1, {1080, 315, 5775, 240},  "laden ..."},
    ControlSpec{cmd_gameChange, -1, Button, Frame2, -1, {7065, 225, 2220, 375},  kRV2004Texts.switch_caption},
    ControlSpec{cmd_Open2,      -1, Button, Frame1, -1, {90, 315, 825, 330},     "Open"},
    ControlSpec{cmd_read,       -1, Button, Frame1, -1, {990, 315, 735, 330},    "Read"},
    ControlSpec{cmd_write,      -1, Button, Frame1, -1, {1800, 315, 690, 330},   "Write"},
    ControlSpec{lbl_Mods,       -1, Label,  Frame1, -1, {2565, 360, 6720, 240},  "Please open Folder with Maps, Mutators, Skins, ..."},
    ControlSpec{lbl_status,     -1, Label,  Frame3, -1, {225, 225, 6720, 240},   "loaded ..."},
};
// clang-format on

// The category label of one row of a counter frame; the row's caption and its counter label
// come from the category table, rows standing in category order.
struct RowLabel {
    std::string_view name;  // empty for the systems row, whose label names differ per frame
    int left;
    int width;
};

constexpr std::array<RowLabel, kCategoryCount> kRowLabels = {{
    {Label1, 315, 1050},
    {Label2, 360, 1005},
    {Label3, 450, 915},
    {Label4, 450, 915},
    {Label5, 135, 1230},
    {"", 0, 0},
    {Label6, 270, 1095},
}};

// The systems label of each counter frame, by the frame's index: a name of its own in the first
// frame, members of a separate array in the others, and two different rectangles.
struct SystemsLabel {
    std::string_view name;
    int index;
    int left;
    int width;
};

constexpr std::array kSystemsLabels = {
    SystemsLabel{Label7, -1, 135, 1230},
    SystemsLabel{Label8, 0, 180, 1185},
    SystemsLabel{Label8, 1, 135, 1230},
    SystemsLabel{Label8, 2, 180, 1185},
};

constexpr int kCounterLeft = 1440;
constexpr int kCounterWidth = 735;
constexpr int kRowHeight = 195;
constexpr int kFirstRowTop = 225;
constexpr int kRowPitch = 225;

// The counter frames inside Frame3, by counter group.
constexpr std::array<TwipsRect, kCounterKindCount> kCounterFrames = {{
    {90, 495, 2220, 1905},
    {7065, 495, 2265, 1905},
    {2385, 495, 2265, 1905},
    {4725, 495, 2265, 1905},
}};

// Frames in the order they stand, left to right.
constexpr std::array kCounterFrameOrder = {0, 2, 3, 1};

constexpr std::array<std::string_view, 9> kTabOrder = {
    cmd_Open2, cmd_home1, cmd_Open1, cmd_read,       cmd_write,
    cmd_home2, cmd_home3, Command1,  cmd_gameChange,
};

std::vector<ControlSpec> BuildLayout() {
    std::vector<ControlSpec> specs(kFixedControls.begin(), kFixedControls.end());
    for (ControlSpec& entry : specs) {
        for (const LinkButton& link : LinkButtons()) {
            entry.caption = entry.name == link.name ? link.caption : entry.caption;
        }
    }
    for (int frame : kCounterFrameOrder) {
        const auto group = static_cast<std::size_t>(frame);
        specs.push_back(ControlSpec{Frame4, frame, Frame, Frame3, -1, kCounterFrames[group],
                                    kCounterKinds[group].frame_caption});
    }
    for (int frame : kCounterFrameOrder) {
        for (std::size_t row = 0; row < kCategoryCount; ++row) {
            const int top = kFirstRowTop + kRowPitch * static_cast<int>(row);
            const RowLabel& row_label = kRowLabels[row];
            ControlSpec label{row_label.name,
                              frame,
                              Label,
                              Frame4,
                              frame,
                              {row_label.left, top, row_label.width, kRowHeight},
                              kCategories[row].row_caption,
                              true};
            if (row_label.name.empty()) {
                const SystemsLabel& systems = kSystemsLabels[static_cast<std::size_t>(frame)];
                label.name = systems.name;
                label.index = systems.index;
                label.rect.left = systems.left;
                label.rect.width = systems.width;
            }
            specs.push_back(label);
            specs.push_back(ControlSpec{kCategories[row].counter_label,
                                        frame,
                                        Label,
                                        Frame4,
                                        frame,
                                        {kCounterLeft, top, kCounterWidth, kRowHeight},
                                        "0"});
        }
    }
    return specs;
}

}  // namespace

std::string_view CreationCaption() {
    return kRV2004Texts.window_caption;
}

std::string ControlKey(std::string_view name, int index) {
    std::string key(name);
    if (index >= 0) {
        // Piece by piece: "(" + std::to_string(...) trips GCC 12's -Wrestrict in a release build.
        key += '(';
        key += std::to_string(index);
        key += ')';
    }
    return key;
}

const std::vector<ControlSpec>& MainWindowLayout() {
    static const std::vector<ControlSpec> layout = BuildLayout();
    return layout;
}

bool IsControl(Control control) {
    if (control.name == names::RV2003_2004_Add_On_Installer && control.index < 0) {
        return true;
    }
    return std::ranges::any_of(MainWindowLayout(), [&](const ControlSpec& entry) {
        return entry.name == control.name && entry.index == control.index;
    });
}

std::span<const std::string_view> TabOrder() {
    return kTabOrder;
}

}  // namespace rv
