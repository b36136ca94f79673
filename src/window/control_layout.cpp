#include "window/control_layout.h"

#include <array>

namespace rv {

namespace {

using enum ControlKind;

// The three bands, their contents, the link buttons and the four counter frames.
constexpr std::array kFixedControls = {
    ControlSpec{"Frame2", -1, Frame, "", -1, {0, 0, 9420, 735}, "Ravager 2004 is installed here:"},
    ControlSpec{
        "Frame1", -1, Frame, "", -1, {0, 765, 9420, 780}, "Open Mods, Maps, Mutators, ... Folder"},
    ControlSpec{"Frame3", -1, Frame, "", -1, {0, 1575, 9420, 2490}, "Status"},
    ControlSpec{"cmd_home1", -1, Button, "", -1, {45, 4140, 2220, 330}, ""},
    ControlSpec{"cmd_home2", -1, Button, "", -1, {2430, 4140, 2220, 330}, ""},
    ControlSpec{"cmd_home3", -1, Button, "", -1, {4815, 4140, 2220, 330}, ""},
    ControlSpec{"Command1", -1, Button, "", -1, {7200, 4140, 2220, 330}, ""},
    ControlSpec{"cmd_Open1", -1, Button, "Frame2", -1, {90, 270, 915, 330}, "Open"},
    ControlSpec{"lbl_folder", -1, Label, "Frame2", -1, {1080, 315, 5775, 240}, "laden ..."},
    ControlSpec{"cmd_gameChange",
                -1,
                Button,
                "Frame2",
                -1,
                {7065, 225, 2220, 375},
                "Do you want RV 2003 ?"},
    ControlSpec{"cmd_Open2", -1, Button, "Frame1", -1, {90, 315, 825, 330}, "Open"},
    ControlSpec{"cmd_read", -1, Button, "Frame1", -1, {990, 315, 735, 330}, "Read"},
    ControlSpec{"cmd_write", -1, Button, "Frame1", -1, {1800, 315, 690, 330}, "Write"},
    ControlSpec{"lbl_Mods",
                -1,
                Label,
                "Frame1",
                -1,
                {2565, 360, 6720, 240},
                "Please open Folder with Maps, Mutators, Skins, ..."},
    ControlSpec{"lbl_status", -1, Label, "Frame3", -1, {225, 225, 6720, 240}, "loaded ..."},
    ControlSpec{"Frame4", 0, Frame, "Frame3", -1, {90, 495, 2220, 1905}, "File(s) read:"},
    ControlSpec{
        "Frame4", 2, Frame, "Frame3", -1, {2385, 495, 2265, 1905}, "File(s) already exist:"},
    ControlSpec{
        "Frame4", 3, Frame, "Frame3", -1, {4725, 495, 2265, 1905}, "File(s) ready to write:"},
    ControlSpec{"Frame4", 1, Frame, "Frame3", -1, {7065, 495, 2265, 1905}, "File(s) written:"},
};

// One row of a counter frame: the category label on the left, its counter to the right.
struct CounterRow {
    int top;
    std::string_view label;  // empty for the systems row, whose label names differ per frame
    int label_left;
    int label_width;
    std::string_view caption;
    std::string_view counter;
};

constexpr std::array kCounterRows = {
    CounterRow{225, "Label1", 315, 1050, "Animations:", "lbl_AniCounter"},
    CounterRow{450, "Label2", 360, 1005, "Maps:", "lbl_MapCounter"},
    CounterRow{675, "Label3", 450, 915, "Musics:", "lbl_MusicCounter"},
    CounterRow{900, "Label4", 450, 915, "Sounds:", "lbl_SoundCounter"},
    CounterRow{1125, "Label5", 135, 1230, "StaticMeshes:", "lbl_StaticCounter"},
    CounterRow{1350, "", 0, 0, "Systems:", "lbl_SystemCounter"},
    CounterRow{1575, "Label6", 270, 1095, "Textures:", "lbl_TexturCounter"},
};

// The systems label of each counter frame, by the frame's index: a name of its own in the first
// frame, members of a separate array in the others, and two different rectangles.
struct SystemsLabel {
    std::string_view name;
    int index;
    int left;
    int width;
};

constexpr std::array kSystemsLabels = {
    SystemsLabel{"Label7", -1, 135, 1230},
    SystemsLabel{"Label8", 0, 180, 1185},
    SystemsLabel{"Label8", 1, 135, 1230},
    SystemsLabel{"Label8", 2, 180, 1185},
};

constexpr int kCounterLeft = 1440;
constexpr int kCounterWidth = 735;
constexpr int kRowHeight = 195;

// Frames in the order they stand, left to right.
constexpr std::array kCounterFrameOrder = {0, 2, 3, 1};

constexpr std::array<std::string_view, 9> kTabOrder = {
    "cmd_Open2", "cmd_home1", "cmd_Open1", "cmd_read",       "cmd_write",
    "cmd_home2", "cmd_home3", "Command1",  "cmd_gameChange",
};

std::vector<ControlSpec> BuildLayout() {
    std::vector<ControlSpec> specs(kFixedControls.begin(), kFixedControls.end());
    for (int frame : kCounterFrameOrder) {
        for (const CounterRow& row : kCounterRows) {
            ControlSpec label{row.label,   frame,
                              Label,       "Frame4",
                              frame,       {row.label_left, row.top, row.label_width, kRowHeight},
                              row.caption, true};
            if (row.label.empty()) {
                const SystemsLabel& systems = kSystemsLabels[static_cast<std::size_t>(frame)];
                label.name = systems.name;
                label.index = systems.index;
                label.rect.left = systems.left;
                label.rect.width = systems.width;
            }
            specs.push_back(label);
            specs.push_back(ControlSpec{row.counter,
                                        frame,
                                        Label,
                                        "Frame4",
                                        frame,
                                        {kCounterLeft, row.top, kCounterWidth, kRowHeight},
                                        "0"});
        }
    }
    return specs;
}

}  // namespace

QString ControlKey(std::string_view name, int index) {
    QString key = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    if (index >= 0) {
        key += QStringLiteral("(%1)").arg(index);
    }
    return key;
}

const std::vector<ControlSpec>& MainWindowLayout() {
    static const std::vector<ControlSpec> layout = BuildLayout();
    return layout;
}

std::span<const std::string_view> TabOrder() {
    return kTabOrder;
}

}  // namespace rv
