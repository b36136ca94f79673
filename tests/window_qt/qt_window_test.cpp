// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTextDocument>

#include "support/test_registry.h"
#include "window_qt/main_window.h"
#include "window_qt/mod_get_folder.h"

namespace rv::test {
namespace {

// What only the Qt window does: tool tips shown as typed, '&' shown as typed, the labels'
// alignment, one font, the icon, the picker's NUL cut; and a control name the layout does not know
// stops a debug build.
TEST(QtWindow, ShowsCaptionsAsTypedInOneFont) {
    TestRegistry registry;
    const auto backend = platform::OpenSystemRegistry();
    MainWindow window(*backend);
    // A tool tip that looks like markup is shown as rich text, as Qt decides for tool tips.
    const std::string tip = "<b>x</b>.rv2: the disk is full\n<img src=y.png>  &amp; a.u: gone";
    window.SetToolTip({names::lbl_status}, tip);
    const QString set = window.findChild<QWidget*>(QStringLiteral("lbl_status"))->toolTip();
    QTextDocument document;
    Qt::mightBeRichText(set) ? document.setHtml(set) : document.setPlainText(set);
    EXPECT_EQ(document.toPlainText().toStdString(), tip);
    for (const auto& [name, property, shown] : {std::tuple(names::Frame2, "title", "A && B"),
                                                std::tuple(names::cmd_read, "text", "A && B"),
                                                std::tuple(names::lbl_status, "text", "A & B")}) {
        window.SetCaption({name}, "A & B");
        EXPECT_EQ(window.findChild<QWidget*>(QString::fromUtf8(name))->property(property),
                  QString::fromUtf8(shown));
        EXPECT_EQ(window.Caption({name}), "A & B");
    }
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        const bool row = label->objectName().startsWith(QStringLiteral("Label"));
        EXPECT_TRUE(label->textFormat() == Qt::PlainText &&
                    bool(label->alignment() & Qt::AlignRight) == row &&
                    (!row || label->geometry().right() == 90) && label->font() == window.font())
            << label->objectName().toStdString();
    }
    EXPECT_EQ(window.font().families().value(0), QStringLiteral("MS Sans Serif"));
    EXPECT_TRUE(window.font().bold() && window.font().pointSizeF() <= 8.25);
    EXPECT_EQ(window.size(), QSize(631, 300));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
    EXPECT_EQ(modGetFolder::TrimAtNull(QStringLiteral("C:\\A") + QChar(0) + QStringLiteral("x")),
              QStringLiteral("C:\\A"));
    // A refused pick clears an earlier write's failures from the status line and shows the
    // name with its control characters escaped.
    modGetFolder::SetDirectoryPicker(
        [](QWidget*, const QString&, const QString&, QFileDialog::Options) {
            return QStringLiteral("/nonexistent/a\nb");
        });
    window.SetToolTip({names::lbl_status}, "x.utx: the disk is full");
    window.SetEnabled({names::cmd_Open1}, true);
    window.findChild<QPushButton*>(QStringLiteral("cmd_Open1"))->click();
    EXPECT_EQ(window.Caption({names::lbl_status}),
              "Folder not found under this name: /nonexistent/a<U+000A>b");
    EXPECT_TRUE(window.findChild<QWidget*>(QStringLiteral("lbl_status"))->toolTip().isEmpty());
#ifndef NDEBUG
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(window.SetEnabled({"cmd_raed"}, false), "no control");
#endif
}

// Without any display the program says so in one line and fails, instead of crashing.
TEST(Program, WithoutADisplayItSuggestsXvfbRun) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(QString::fromUtf8(name));
    }
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(RV_PROGRAM_PATH), {});
    ASSERT_TRUE(program.waitForFinished(30000));
    const QString message = QString::fromUtf8(program.readAllStandardError());
    EXPECT_EQ(std::pair(program.exitStatus(), program.exitCode()),
              std::pair(QProcess::NormalExit, 2));
    EXPECT_EQ(message.count(u'\n'), 1) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("no display")) &&
                message.contains(QStringLiteral("xvfb-run")));
}

}  // namespace
}  // namespace rv::test
