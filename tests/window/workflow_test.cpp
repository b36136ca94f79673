#include <sys/stat.h>
#include <QProcess>
#include <QTimer>

#include "window/window_fixture.h"

namespace rv::test {
namespace {

// The start-up runs before the window shows, in both registry states.
TEST_F(WindowTest, StartUpFollowsTheRegistry) {
    const std::tuple<std::string, const char*, const char*, const char*> cases[] = {
        {"RV2004", "C:\\Games\\RV2004", "cmd_Open2", "cmd_Open2"},
        {"RV2003", "Please open your Ravager 2004 Folder", "cmd_Open1", "cmd_home1"},
    };
    for (const auto& [registered, folder_caption, chain, first_focus] : cases) {
        Open({registered});
        EXPECT_EQ(Text("lbl_folder"), folder_caption);
        EXPECT_EQ(Widget("lbl_folder")->toolTip().toStdString(),
                  registered == "RV2004" ? "Wine prefix: " + prefix_.Path() : "");
        EXPECT_EQ(Chain(), chain);
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }));
        EXPECT_EQ(QApplication::focusWidget()->objectName(), first_focus);
    }
}

// Open, warning box, picker, Read, Write: the add-on ends up in the game folder, replacing
// nothing that was there; the folder's name is shown as it stands.
TEST_F(WindowTest, WholeWorkflowByClicks) {
    Open();
    Pick("cmd_Open2", "  " + addon_ + "  ");
    EXPECT_EQ(boxes_, QStringList("Unofficial RV2004 Add-On Installer|Please choose the Folder "
                                  "with the Maps, Mutators, Skins, Weapons, ...\r\nNO archives "
                                  "supported!|0|1024|2"));
    EXPECT_EQ(pickers_, QStringList(QString::fromUtf8("0|Bitte den Startordner wählen!||1")));
    EXPECT_EQ(window_->Installer().AddOnFolder, addon_.toStdString());
    EXPECT_EQ(Text("lbl_Mods"), addon_);
    EXPECT_EQ(Chain(), "cmd_Open2 cmd_read");

    Click("cmd_read");
    EXPECT_EQ(Text("lbl_status"), "7 File(s) are ready to write - 9 File(s) checked!");
    EXPECT_EQ(Counts(), "1211121 0000000 0100010 1111111");
    EXPECT_EQ(Chain(), "cmd_Open2 cmd_read cmd_write");
    EXPECT_EQ(window_->cursor().shape(), Qt::ArrowCursor);

    Click("cmd_write");
    EXPECT_EQ(Text("lbl_status"), "Ready to play - 7 File(s) written!");
    EXPECT_EQ(Counts(), "1211121 1111111 0100010 1111111");
    EXPECT_EQ(ReadWhole(Game() + "/Maps/DM-Harbour.rv2"), "add-on Maps/DM-Harbour.rv2");
    EXPECT_EQ(ReadWhole(Game() + "/StaticMeshes/Crate.usx"), "add-on Extra/Deep/Crate.usx");
    EXPECT_EQ(ReadWhole(Game() + "/Maps/CTF-Ridge.rv2"), "installed");
    EXPECT_EQ(ReadWhole(Game() + "/System/H.int"), "installed");
    EXPECT_FALSE(Exists(Game() + "/Readme.txt"));
}

// After a read pass, no click that arrives while a pass yields gets through; a cancelled picker
// changes nothing, nor does a folder whose name did not survive the picker, which the status
// line then names. Then the edition switch resets the counters and the chain but keeps the
// add-on folder, and closing during a write pass stops it and closes the window.
TEST_F(WindowTest, AfterAReadPass) {
    Open({"RV2003"});
    Pick("cmd_Open1", QString::fromStdString(Game()));
    Pick("cmd_Open2", addon_);
    Click("cmd_read");
    ASSERT_EQ(Chain(), "cmd_Open1 cmd_Open2 cmd_read cmd_write");
    EXPECT_EQ(Text("lbl_folder"), QString::fromStdString(Game()));
    // Not UTF-8: the picker hands back replacement characters instead of these bytes.
    const std::string odd = prefix_.Path() + "/Karten\xff\xfe";
    ASSERT_EQ(::mkdir(odd.c_str(), 0700), 0);
    const QString unusable = QFile::decodeName(odd.c_str());
    const QString not_found = "Folder not found under this name: " + unusable + "|on";

    const std::tuple<const char*, QString, QString, bool> cases[] = {
        {"cmd_read", "", "", true},
        {"cmd_write", "", "", true},
        {"cmd_Open1", "", "", true},
        {"cmd_Open2", "", "", true},
        {"cmd_gameChange", "", "", true},
        {"cmd_Open1", "", "", false},
        {"cmd_Open2", "", "", false},
        {"cmd_Open1", "   ", "", false},
        {"cmd_Open2", addon_ + QChar(0) + "/rest", "", false},
        {"cmd_Open2", "\t" + addon_, "Folder not found under this name: \t" + addon_ + "|on",
         false},
        {"cmd_Open1", unusable, not_found, false},
    };
    for (const auto& [button, answer, status, in_pass] : cases) {
        SCOPED_TRACE(std::string(button) + " answered " + answer.toStdString() +
                     (in_pass ? " in a pass" : ""));
        auto expected = Snapshot();
        expected["lbl_status"] = status.isEmpty() ? expected["lbl_status"] : status;
        const auto boxes = boxes_.size() + (button == std::string_view("cmd_Open2") && !in_pass);
        const auto pickers = pickers_.size() + !in_pass;
        if (in_pass) {
            QTimer::singleShot(0, window_.get(), [&] {
                EXPECT_TRUE(window_->Installer().PassRunning());
                Click(button);
            });
        }
        in_pass ? Click("cmd_read") : Pick(button, answer);
        EXPECT_EQ(Snapshot(), expected);
        EXPECT_EQ(std::pair(boxes_.size(), pickers_.size()), std::pair(boxes, pickers));
    }
    EXPECT_FALSE(Exists(Game() + "/Maps/DM-Harbour.rv2"));

    Click("cmd_gameChange");
    EXPECT_EQ(window_->windowTitle(),
              "Unofficial RV2003 Add-On Installer (Maps, Mutators, Weapons, Skins, ...)");
    EXPECT_EQ(Text("Frame2"), "Ravager 2003 is installed here:");
    EXPECT_EQ(Text("cmd_gameChange"), "Do you want RV 2004 ?");
    EXPECT_EQ(Text("lbl_folder"), "C:\\Games\\RV2003");
    EXPECT_EQ(Counts(), "0000000 0000000 0000000 0000000");
    EXPECT_EQ(Chain(), "cmd_Open2");
    EXPECT_EQ(Text("lbl_Mods"), addon_);
    Pick("cmd_Open2", addon_);
    Click("cmd_read");
    EXPECT_EQ(Text("lbl_status"), "9 File(s) are ready to write - 9 File(s) checked!");

    Qt::CursorShape busy = Qt::ArrowCursor;
    QTimer::singleShot(0, window_.get(), [&] {
        busy = window_->cursor().shape();
        window_->close();
        EXPECT_TRUE(window_->isVisible()) << "closed in the middle of the pass";
    });
    Click("cmd_write");
    EXPECT_EQ(busy, Qt::WaitCursor);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window_->isVisible(); }));
    EXPECT_FALSE(Exists(Game("RV2003") + "/Maps/DM-Harbour.rv2"));
}

// Captions keep '&' as typed on every kind of control; the status line carries a tool tip;
// each link button opens its own page and changes nothing else.
TEST_F(WindowTest, CaptionsToolTipAndLinks) {
    Open();
    for (const char* name : {"Frame2", "cmd_gameChange", "lbl_status"}) {
        window_->SetCaption({name}, "A & B");
        EXPECT_EQ(window_->Caption({name}), "A & B") << name;
        EXPECT_EQ(Text(name), qobject_cast<QLabel*>(Widget(name)) ? "A & B" : "A && B") << name;
    }
    window_->SetToolTip({"lbl_status"}, "failed: a.u");
    EXPECT_EQ(Widget("lbl_status")->toolTip(), "failed: a.u");

    const auto before = Snapshot();
    for (const char* button : {"cmd_home1", "cmd_home2", "cmd_home3", "Command1", "cmd_home1"}) {
        Click(button);
    }
    EXPECT_EQ(opened_, QStringList({"https://example.org/", "https://forum.example.org/",
                                    "https://www.winehq.org/", "https://files.example.org/",
                                    "https://example.org/"}));
    EXPECT_EQ(Snapshot(), before);
}

// Without any display the program says so in one line and fails, instead of crashing.
TEST(Program, WithoutADisplayItSuggestsXvfbRun) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(name);
    }
    program.setProcessEnvironment(environment);
    program.start(RV_PROGRAM_PATH, {});
    ASSERT_TRUE(program.waitForFinished(30000));
    const QString message = QString::fromUtf8(program.readAllStandardError());
    EXPECT_EQ(std::pair(program.exitStatus(), program.exitCode()),
              std::pair(QProcess::NormalExit, 2));
    EXPECT_EQ(message.count('\n'), 1) << message.toStdString();
    EXPECT_TRUE(message.contains("no display") && message.contains("xvfb-run"));
}

}  // namespace
}  // namespace rv::test
