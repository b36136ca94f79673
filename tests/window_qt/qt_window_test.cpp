// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTextDocument>

#include "core/category_table.h"
#include "form/control_layout.h"
#include "form/form_view.h"
#include "support/sample_addon.h"
#include "support/test_registry.h"
#include "window/window_driver.h"
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

// The keyboard alone reaches everything: Shift+F10 and the menu key open the context menu; Tab,
// Shift+Tab and Ctrl+Tab leave a dialog's table, and Enter in it removes nothing. A screen reader
// hears what each control is: a counter its category and column, the two Open buttons told apart,
// the folder labels and the status their text; the captions stay as they are. The folder labels
// carry the whole path as their tool tip, above where the game was found; after a write the
// status tool tip counts the files of another version left in place.
TEST(QtWindow, KeyboardReachesEverythingAndScreenReadersHearWhatEachControlIs) {
    const auto w = MakeWindowDriver();
    const std::string game = w->Root() + "/Games/RV2004", addon = w->Root() + "/Downloads/Arena";
    MakeSampleAddOn(addon, game);
    w->SetRegistered({{"RV2004", game}});
    w->Start({addon});
    w->Click(names::cmd_read);
    w->Click(names::cmd_write);
    const auto* window = QApplication::activeWindow();
    const auto named = [&](std::string_view key) {
        return window->findChild<QWidget*>(QString::fromUtf8(key));
    };
    std::map<std::string, std::string> heard;
    for (const ControlSpec& entry : MainWindowLayout()) {
        const QWidget* control = named(ControlKey(entry.name, entry.index));
        EXPECT_FALSE(control->accessibleName().isEmpty()) << ControlKey(entry.name, entry.index);
        heard[ControlKey(entry.name, entry.index)] = control->accessibleName().toStdString();
    }
    EXPECT_EQ(heard["lbl_MapCounter(2)"], "Maps, already exist: 1");
    EXPECT_EQ(heard["lbl_SystemCounter(1)"],
              "Systems, written: " + w->Caption({names::lbl_SystemCounter, 1}));
    EXPECT_EQ(heard["Frame4(0)"], "File(s) read");
    EXPECT_EQ(heard["lbl_Mods"], "Add-on folder: " + addon);
    EXPECT_EQ(heard["lbl_status"], "Status: " + w->Caption({names::lbl_status}));
    EXPECT_EQ(heard["cmd_Open1"], "Open");
    EXPECT_EQ(w->Caption({names::cmd_Open2}), "Open");
    EXPECT_NE(named("cmd_Open1")->accessibleDescription(),
              named("cmd_Open2")->accessibleDescription());
    EXPECT_EQ(named("lbl_Mods")->toolTip().toStdString(), addon);
    EXPECT_EQ(named("lbl_status")->toolTip().toStdString(),
              "2 File(s) already there in another version were not replaced (see Files of the "
              "last pass)");
    EXPECT_TRUE(named("lbl_folder")
                    ->toolTip()
                    .startsWith(QString::fromStdString(w->Caption({names::lbl_folder}) +
                                                       "\nWine prefix: ")));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr) << "Shift+F10";
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    ASSERT_TRUE(w->ChooseMenuEntry(kInstalledAddOnsEntry, true)) << "menu key";
    QWidget* dialog = QApplication::activeModalWidget();
    dialog->activateWindow();  // as the window manager does with a new window
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == dialog; }));
    auto* table = dialog->findChild<QTableWidget*>();
    ASSERT_EQ(w->Rows().size(), 2u);
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Space);  // selects the row at the cursor
    for (int press = 0; press < 3; ++press) {
        QTest::keyClick(table, press == 0 ? Qt::Key_Return : Qt::Key_Enter);
    }
    EXPECT_TRUE(w->Dialogs().empty()) << "Enter asked to remove: " << w->Dialogs().front();
    EXPECT_TRUE(table->selectionModel()->hasSelection());
    for (const auto modifiers : {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier}) {
        table->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), table);
        QTest::keyClick(table, modifiers == Qt::ShiftModifier ? Qt::Key_Backtab : Qt::Key_Tab,
                        modifiers);
        EXPECT_NE(QApplication::focusWidget(), table) << modifiers;
    }
    EXPECT_FALSE(table->accessibleName().isEmpty());
    w->CloseDialog();
}

}  // namespace
}  // namespace rv::test
