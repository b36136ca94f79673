// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTest>

#include "support/fake_prefix.h"
#include "window_qt/main_window.h"

namespace rv::test {
namespace {

// The controls whose caption, drawn in the font, leaves the room the widget's style gives it.
QStringList CutOff(const QWidget& window, const QFont& font) {
    const QFontMetrics metrics(font);
    QStringList cut;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        QRect room = widget->rect(), used;
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            used.setSize({metrics.horizontalAdvance(label->text()), 1});
        } else if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            used = QRect(room.topLeft(), QSize(metrics.horizontalAdvance(option.text), 1));
        } else if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) {
            QStyleOptionGroupBox option;
            option.initFrom(frame);
            option.fontMetrics = metrics;
            option.text = frame->title();
            option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
            used = frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                  QStyle::SC_GroupBoxLabel, frame);
        }
        if (!room.contains(used)) {
            cut << widget->objectName();
        }
    }
    return cut;
}

// On an X display with only the fonts the run command installs: every caption of both editions
// fits, in bold, at the largest size up to the layout's 8.25 point that lets it.
TEST(WindowFont, EveryCaptionFitsAtTheLargestSizeThatLetsIt) {
    ASSERT_EQ(QApplication::platformName(), QStringLiteral("xcb")) << "run through scripts/with-run-fonts";
    FakePrefix prefix;
    const auto registry = platform::OpenSystemRegistry();
    MainWindow window(*registry);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (const char* edition : {"RV2004", "RV2003"}) {
        EXPECT_EQ(CutOff(window, window.font()).join(u' ').toStdString(), "") << edition;
        QTest::mouseClick(window.findChild<QWidget*>(QString::fromUtf8(names::cmd_gameChange)),
                          Qt::LeftButton);
    }
    QFont larger = window.font();
    larger.setPointSizeF(larger.pointSizeF() + 0.25);
    EXPECT_TRUE(window.font().pointSizeF() == 8.25 || !CutOff(window, larger).isEmpty());
    EXPECT_TRUE(QFontInfo(window.font()).bold());
}

}  // namespace
}  // namespace rv::test

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
