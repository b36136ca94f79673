#pragma once

#include <gtest/gtest.h>

#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <map>
#include <memory>
#include <stdexcept>

#include "edition/fake_prefix.h"
#include "support/temp_folder.h"
#include "window/archive_warning.h"
#include "window/link_buttons.h"
#include "window/main_window.h"
#include "window/mod_get_folder.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace rv::test {

// The real window over a Wine prefix in a temporary folder. The test answers the folder picker
// and the warning box and records each showing as one line, and the pages opened.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        modGetFolder::SetDirectoryPicker([this](QWidget* owner, const QString& title,
                                                const QString& start, QFileDialog::Options how) {
            pickers_ << QString("%1|%2|%3|%4").arg(owner != nullptr).arg(title, start).arg(how);
            EXPECT_FALSE(answers_.isEmpty()) << "the folder picker opened without an answer";
            return answers_.isEmpty() ? QString() : answers_.takeFirst();
        });
        SetMessageBoxRunner([this](QMessageBox& box) {
            boxes_ << box.windowTitle() + '|' + box.text() +
                          QString("|%1|%2|%3")
                              .arg(box.icon())
                              .arg(box.standardButtons())
                              .arg(box.windowModality());
        });
        SetUrlOpener([this](const QUrl& address) { opened_ << address.toString(); });
    }
    void TearDown() override {
        window_.reset();
        modGetFolder::SetDirectoryPicker({});
        SetMessageBoxRunner({});
        SetUrlOpener({});
        EXPECT_TRUE(answers_.isEmpty()) << "an answer was left for a picker that never opened";
    }

    // Registers the editions with their game folders C:\Games\<edition>, makes an add-on of
    // nine game files in all categories and a text file, two of them in the RV2004 game folder
    // already, and shows the window.
    void Open(const std::vector<std::string>& registered = {"RV2004"}) {
        std::string hive =
            "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n#arch=win32\n";
        for (const std::string& edition : registered) {
            hive += "\n[SOFTWARE\\\\Zentor Technology\\\\Installed Apps\\\\" + edition +
                    "] 1700000000\n\"Folder\"=\"C:\\\\Games\\\\" + edition + "\"\n";
        }
        prefix_.WriteSystemReg(hive);
        for (const char* sub :
             {"Animations", "Maps", "Music", "Sounds", "StaticMeshes", "System", "Textures"}) {
            std::filesystem::create_directories(Game("RV2003") + "/" + sub);
            std::filesystem::create_directories(Game() + "/" + sub);
        }
        for (const std::string file :
             {"Maps/DM-Harbour.rv2", "Maps/CTF-Ridge.rv2", "Music/H.ogg", "Textures/H.utx",
              "Sounds/H.uax", "System/H.u", "System/H.int", "Docs/Readme.txt",
              "Extra/Deep/Crate.usx", "Extra/Deep/Crate.ukx"}) {
            FakePrefix::Write(addon_.toStdString() + "/" + file, "add-on " + file);
        }
        FakePrefix::Write(Game() + "/Maps/CTF-Ridge.rv2", "installed");
        FakePrefix::Write(Game() + "/System/H.int", "installed");
        window_.reset();
        registry_ = platform::OpenSystemRegistry();
        window_ = std::make_unique<MainWindow>(*registry_);
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }
    std::string Game(const std::string& edition = "RV2004") const {
        return prefix_.DriveC().string() + "/Games/" + edition;
    }

    QWidget* Widget(const QString& name) const {
        auto* widget = window_->findChild<QWidget*>(name);
        return widget ? widget : throw std::runtime_error("no control " + name.toStdString());
    }
    QString Text(const QString& name) const { return Text(Widget(name)); }
    // What a control shows: a frame's title, a label's or a button's text.
    static QString Text(const QWidget* widget) {
        return widget->property(widget->property("title").isValid() ? "title" : "text").toString();
    }
    void Click(const QString& name) { QTest::mouseClick(Widget(name), Qt::LeftButton); }
    void Pick(const QString& button, const QString& folder) {
        answers_ << folder;
        Click(button);
    }
    // The enabled buttons of the workflow chain, e.g. "cmd_Open2 cmd_read".
    QString Chain() const {
        QString chain;
        for (const char* name : {"cmd_Open1", "cmd_Open2", "cmd_read", "cmd_write"}) {
            chain += Widget(name)->isEnabled() ? QString(name) + ' ' : "";
        }
        return chain.trimmed();
    }
    // The counters of the four counter frames in category order, e.g. "1211121 0000000 ...".
    QString Counts() const {
        QString counts;
        for (int group = 0; group < 4; ++group) {
            counts += group > 0 ? " " : "";
            for (const QLabel* label :
                 Widget(QString("Frame4(%1)").arg(group))->findChildren<QLabel*>()) {
                counts += label->objectName().contains("Counter") ? label->text() : "";
            }
        }
        return counts;
    }
    // Every caption and Enabled state and both folders, to tell that nothing changed.
    std::map<QString, QString> Snapshot() const {
        std::map<QString, QString> state{
            {"title", window_->windowTitle()},
            {"GameFolder", QString::fromStdString(window_->Installer().GameFolder)},
            {"AddOnFolder", QString::fromStdString(window_->Installer().AddOnFolder)}};
        for (const QWidget* widget : window_->findChildren<QWidget*>()) {
            state[widget->objectName()] = Text(widget) + (widget->isEnabled() ? "|on" : "|off");
        }
        return state;
    }

    FakePrefix prefix_;
    QString addon_ = QString::fromStdString(prefix_.Root().string() + "/Add-on ä & <b>x</b>");
    QStringList answers_, pickers_, boxes_, opened_;
    std::unique_ptr<platform::RegistryBackend> registry_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace rv::test
