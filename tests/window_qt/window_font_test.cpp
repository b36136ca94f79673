// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QPushButton>
#include <QTest>

#include "support/fake_prefix.h"
#include "window_qt/caption_fits.h"
#include "window_qt/main_window.h"

namespace rv::test {
namespace {

// On an X display with only the fonts the run command installs: every caption of both editions
// fits, in bold, at the largest size up to the layout's 8.25 point that lets it.
TEST(WindowFont, EveryCaptionFitsAtTheLargestSizeThatLetsIt) {
    ASSERT_EQ(QApplication::platformName(), QStringLiteral("xcb"))
        << "run through scripts/with-run-fonts";
    FakePrefix prefix;
    const auto registry = platform::OpenSystemRegistry();
    MainWindow window(*registry);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (const char* edition : {"RV2004", "RV2003"}) {
        EXPECT_EQ(CutCaptions(window, window.font()).join(u' ').toStdString(), "") << edition;
        QTest::mouseClick(window.findChild<QWidget*>(QString::fromUtf8(names::cmd_gameChange)),
                          Qt::LeftButton);
    }
    QFont larger = window.font();
    larger.setPointSizeF(larger.pointSizeF() + 0.25);
    EXPECT_TRUE(window.font().pointSizeF() == 8.25 || !CutCaptions(window, larger).isEmpty());
    EXPECT_TRUE(QFontInfo(window.font()).bold());
}

}  // namespace
}  // namespace rv::test
