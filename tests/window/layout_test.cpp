#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "window/window_fixture.h"

namespace rv::test {
namespace {

using WindowLayout = WindowTest;

struct Placed {
    const char* name;
    const char* container;
    QRect pixels;
};

// A sample from every band and every counter frame, with the odd rectangles among them: the
// systems labels, the wider frames and the last row.
TEST_F(WindowLayout, ControlsStandWhereTheLayoutPutsThem) {
    Open();
    const Placed sample[] = {
        {"Frame2", "RV2003_2004_Add_On_Installer", {0, 0, 628, 49}},
        {"Frame1", "RV2003_2004_Add_On_Installer", {0, 51, 628, 52}},
        {"Frame3", "RV2003_2004_Add_On_Installer", {0, 105, 628, 166}},
        {"cmd_home1", "RV2003_2004_Add_On_Installer", {3, 276, 148, 22}},
        {"cmd_home2", "RV2003_2004_Add_On_Installer", {162, 276, 148, 22}},
        {"cmd_home3", "RV2003_2004_Add_On_Installer", {321, 276, 148, 22}},
        {"Command1", "RV2003_2004_Add_On_Installer", {480, 276, 148, 22}},
        {"cmd_Open1", "Frame2", {6, 18, 61, 22}},
        {"lbl_folder", "Frame2", {72, 21, 385, 16}},
        {"cmd_gameChange", "Frame2", {471, 15, 148, 25}},
        {"cmd_Open2", "Frame1", {6, 21, 55, 22}},
        {"cmd_read", "Frame1", {66, 21, 49, 22}},
        {"cmd_write", "Frame1", {120, 21, 46, 22}},
        {"lbl_Mods", "Frame1", {171, 24, 448, 16}},
        {"lbl_status", "Frame3", {15, 15, 448, 16}},
        {"Frame4(0)", "Frame3", {6, 33, 148, 127}},
        {"Frame4(2)", "Frame3", {159, 33, 151, 127}},
        {"Frame4(3)", "Frame3", {315, 33, 151, 127}},
        {"Frame4(1)", "Frame3", {471, 33, 151, 127}},
        {"Label1(0)", "Frame4(0)", {21, 15, 70, 13}},
        {"lbl_AniCounter(0)", "Frame4(0)", {96, 15, 49, 13}},
        {"Label2(3)", "Frame4(3)", {24, 30, 67, 13}},
        {"Label3(1)", "Frame4(1)", {30, 45, 61, 13}},
        {"lbl_SoundCounter(2)", "Frame4(2)", {96, 60, 49, 13}},
        {"Label5(2)", "Frame4(2)", {9, 75, 82, 13}},
        {"Label7", "Frame4(0)", {9, 90, 82, 13}},
        {"Label8(0)", "Frame4(1)", {12, 90, 79, 13}},
        {"Label8(1)", "Frame4(2)", {9, 90, 82, 13}},
        {"Label8(2)", "Frame4(3)", {12, 90, 79, 13}},
        {"lbl_SystemCounter(1)", "Frame4(1)", {96, 90, 49, 13}},
        {"Label6(3)", "Frame4(3)", {18, 105, 73, 13}},
        {"lbl_TexturCounter(3)", "Frame4(3)", {96, 105, 49, 13}},
    };
    for (const Placed& placed : sample) {
        SCOPED_TRACE(placed.name);
        QWidget* widget = Widget(placed.name);
        EXPECT_EQ(widget->geometry(), placed.pixels);
        EXPECT_EQ(widget->parentWidget()->objectName(), placed.container);
    }
    EXPECT_EQ(window_->size(), QSize(631, 300));
    EXPECT_EQ(window_->minimumSize(), QSize(631, 300));
    EXPECT_EQ(window_->maximumSize(), QSize(631, 300));
}

// 75 controls of the three kinds, each named once, each inside its container and the window.
TEST_F(WindowLayout, EveryControlIsNamedAndContained) {
    Open();
    std::map<QString, int> names;
    int frames = 0;
    int labels = 0;
    int buttons = 0;
    for (QWidget* widget : window_->findChildren<QWidget*>()) {
        frames += qobject_cast<QGroupBox*>(widget) != nullptr;
        labels += qobject_cast<QLabel*>(widget) != nullptr;
        buttons += qobject_cast<QPushButton*>(widget) != nullptr;
        if (!qobject_cast<QGroupBox*>(widget) && !qobject_cast<QLabel*>(widget) &&
            !qobject_cast<QPushButton*>(widget)) {
            continue;
        }
        SCOPED_TRACE(widget->objectName().toStdString());
        ++names[widget->objectName()];
        EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry()));
        EXPECT_TRUE(window_->rect().contains(
            QRect(widget->mapTo(window_.get(), QPoint(0, 0)), widget->size())));
        EXPECT_TRUE(widget->isVisible());
    }
    EXPECT_EQ(frames, 7);
    EXPECT_EQ(labels, 59);
    EXPECT_EQ(buttons, 9);
    EXPECT_EQ(names.size(), 75u);
    for (const auto& [name, count] : names) {
        EXPECT_EQ(count, 1) << name.toStdString();
    }
    // Each counter array has members 0 to 3, one in the counter frame of the same index.
    for (const char* array :
         {"lbl_AniCounter", "lbl_MapCounter", "lbl_MusicCounter", "lbl_SoundCounter",
          "lbl_StaticCounter", "lbl_SystemCounter", "lbl_TexturCounter"}) {
        for (int group = 0; group < 4; ++group) {
            EXPECT_EQ(Widget(Counter(array, group))->parentWidget()->objectName(),
                      Counter("Frame4", group));
        }
    }
}

TEST_F(WindowLayout, TabGoesThroughTheButtonsInTheirOrder) {
    Open();
    const QStringList expected = {"cmd_Open2", "cmd_home1", "cmd_Open1",
                                  "cmd_read",  "cmd_write", "cmd_home2",
                                  "cmd_home3", "Command1",  "cmd_gameChange"};
    QStringList order;
    QWidget* widget = Widget("cmd_Open2");
    do {
        if (widget->focusPolicy() & Qt::TabFocus) {
            order << widget->objectName();
        }
        widget = widget->nextInFocusChain();
    } while (widget != Widget("cmd_Open2") && order.size() <= expected.size());
    EXPECT_EQ(order, expected);
    for (QWidget* child : window_->findChildren<QWidget*>()) {
        if (!qobject_cast<QPushButton*>(child)) {
            EXPECT_EQ(child->focusPolicy() & Qt::TabFocus, 0) << child->objectName().toStdString();
        }
    }
}

// Texts before any pass: captions at creation, and the category rows of every counter frame.
TEST_F(WindowLayout, CaptionsAtStart) {
    Open();
    const std::pair<const char*, const char*> captions[] = {
        {"Frame1", "Open Mods, Maps, Mutators, ... Folder"},
        {"Frame3", "Status"},
        {"Frame4(0)", "File(s) read:"},
        {"Frame4(1)", "File(s) written:"},
        {"Frame4(2)", "File(s) already exist:"},
        {"Frame4(3)", "File(s) ready to write:"},
        {"cmd_Open1", "Open"},
        {"cmd_Open2", "Open"},
        {"cmd_read", "Read"},
        {"cmd_write", "Write"},
        {"lbl_Mods", "Please open Folder with Maps, Mutators, Skins, ..."},
        {"lbl_status", "loaded ..."},
        {"Label7", "Systems:"},
        {"Label8(0)", "Systems:"},
        {"Label8(1)", "Systems:"},
        {"Label8(2)", "Systems:"},
    };
    for (const auto& [name, caption] : captions) {
        EXPECT_EQ(Text(name), QString::fromUtf8(caption)) << name;
    }
    const std::pair<const char*, const char*> rows[] = {
        {"Label1", "Animations:"}, {"Label2", "Maps:"},         {"Label3", "Musics:"},
        {"Label4", "Sounds:"},     {"Label5", "StaticMeshes:"}, {"Label6", "Textures:"},
    };
    for (int group = 0; group < 4; ++group) {
        for (const auto& [label, caption] : rows) {
            EXPECT_EQ(Text(Counter(label, group)), caption) << label << group;
        }
    }
    // Category labels end flush right against their counters, which read from the left.
    for (QLabel* label : window_->findChildren<QLabel*>()) {
        const QString name = label->objectName();
        SCOPED_TRACE(name.toStdString());
        if (name.startsWith("Label")) {
            EXPECT_TRUE(label->alignment() & Qt::AlignRight);
            EXPECT_EQ(label->geometry().right(), 90);
        } else if (name.contains("Counter")) {
            EXPECT_TRUE(label->alignment() & Qt::AlignLeft);
            EXPECT_EQ(label->text(), "0");
        }
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
    }
}

// One font, set on the window alone: bold at 8.25 point; the icon in its three sizes.
TEST_F(WindowLayout, EveryControlShowsTheWindowFont) {
    Open();
    EXPECT_EQ(window_->windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
    EXPECT_TRUE(window_->font().bold());
    EXPECT_DOUBLE_EQ(window_->font().pointSizeF(), 8.25);
    EXPECT_EQ(window_->font().families().value(0), "MS Sans Serif");
    for (QWidget* child : window_->findChildren<QWidget*>()) {
        SCOPED_TRACE(child->objectName().toStdString());
        EXPECT_FALSE(child->testAttribute(Qt::WA_SetFont));
        EXPECT_EQ(child->font(), window_->font());
    }
}

}  // namespace
}  // namespace rv::test
