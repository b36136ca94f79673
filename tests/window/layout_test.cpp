#include <QGroupBox>
#include <QPushButton>

#include "window/window_fixture.h"

namespace rv::test {
namespace {

// Each container's controls by caption, in the order they were made; a sample of where the
// layout puts them in pixels, the odd rectangles among them; 75 controls of three kinds, each
// named once, visible inside its container, in the one window font; Tab through the buttons.
TEST_F(WindowTest, LayoutTextsFontAndTabOrder) {
    Open();
    std::map<QString, QString> expected = {
        {"RV2003_2004_Add_On_Installer",
         "Ravager 2004 is installed here:|Open Mods, Maps, Mutators, ... Folder|Status|"
         "example.org|bbs.example.org|www.winehq.org|dl.example.org"},
        {"Frame2", "Open|C:\\Games\\RV2004|Do you want RV 2003 ?"},
        {"Frame1", "Open|Read|Write|Please open Folder with Maps, Mutators, Skins, ..."},
        {"Frame3",
         "loaded ...|File(s) read:|File(s) already exist:|File(s) ready to write:|"
         "File(s) written:"}};
    for (int group = 0; group < 4; ++group) {
        expected[QString("Frame4(%1)").arg(group)] =
            "Animations:|0|Maps:|0|Musics:|0|Sounds:|0|StaticMeshes:|0|Systems:|0|Textures:|0";
    }
    std::map<QString, QString> held;
    std::map<QString, int> names;
    int frames = 0, labels = 0, buttons = 0;
    for (QWidget* widget : window_->findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        const QString container = widget->parentWidget()->objectName();
        held[container] += (held[container].isEmpty() ? "" : "|") + Text(widget);
        ++names[name];
        frames += qobject_cast<QGroupBox*>(widget) != nullptr;
        buttons += qobject_cast<QPushButton*>(widget) != nullptr;
        EXPECT_TRUE(widget->isVisible() && widget->font() == window_->font() &&
                    widget->parentWidget()->rect().contains(widget->geometry()))
            << name.toStdString();
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            ++labels;
            const bool row = name.startsWith("Label");  // flush right against its counter
            EXPECT_TRUE(label->textFormat() == Qt::PlainText &&
                        bool(label->alignment() & Qt::AlignRight) == row &&
                        (!row || label->geometry().right() == 90))
                << name.toStdString();
        }
    }
    EXPECT_EQ(held, expected);
    EXPECT_EQ(std::tuple(frames, labels, buttons, names.size()), std::tuple(7, 59, 9, 75u));

    const std::tuple<const char*, const char*, QRect> sample[] = {
        {"Frame3", "RV2003_2004_Add_On_Installer", {0, 105, 628, 166}},
        {"Command1", "RV2003_2004_Add_On_Installer", {480, 276, 148, 22}},
        {"cmd_gameChange", "Frame2", {471, 15, 148, 25}},
        {"lbl_Mods", "Frame1", {171, 24, 448, 16}},
        {"Frame4(1)", "Frame3", {471, 33, 151, 127}},
        {"Label4(2)", "Frame4(2)", {30, 60, 61, 13}},
        {"Label8(0)", "Frame4(1)", {12, 90, 79, 13}},
        {"lbl_TexturCounter(3)", "Frame4(3)", {96, 105, 49, 13}},
    };
    for (const auto& [name, container, pixels] : sample) {
        EXPECT_EQ(Widget(name)->geometry(), pixels) << name;
        EXPECT_EQ(Widget(name)->parentWidget()->objectName(), container) << name;
    }
    EXPECT_EQ(window_->size(), QSize(631, 300));
    EXPECT_EQ(window_->minimumSize(), window_->maximumSize());
    EXPECT_EQ(window_->windowTitle(),
              "Unofficial RV2004 Add-On Installer (Maps, Mutators, Weapons, Skins, ...)");
    EXPECT_TRUE(window_->font().bold());
    EXPECT_DOUBLE_EQ(window_->font().pointSizeF(), 8.25);
    EXPECT_EQ(window_->font().families().value(0), "MS Sans Serif");
    EXPECT_EQ(window_->windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));

    QStringList order;
    QWidget* next = Widget("cmd_Open2");
    do {
        order << ((next->focusPolicy() & Qt::TabFocus) ? next->objectName() : "");
    } while ((next = next->nextInFocusChain()) != Widget("cmd_Open2") && order.size() < 100);
    EXPECT_EQ(order.join(' ').simplified(),
              "cmd_Open2 cmd_home1 cmd_Open1 cmd_read cmd_write "
              "cmd_home2 cmd_home3 Command1 cmd_gameChange");
}

}  // namespace
}  // namespace rv::test
