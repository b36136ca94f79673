#include <sys/stat.h>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

#include "window/sample_files.h"
#include "window/window_fixture.h"

namespace rv::test {
namespace {

using WindowWorkflow = WindowTest;

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

struct StartUpCase {
    const char* title;
    std::vector<const char*> registered;
    const char* folder_caption;
    bool open1, open2;
    const char* first_focus;
};

// The start-up runs before the window shows, in both registry states.
TEST_F(WindowWorkflow, StartUpFollowsTheRegistry) {
    const StartUpCase cases[] = {
        {"registered", {"RV2004"}, "C:\\Games\\RV2004", false, true, "cmd_Open2"},
        {"only the other edition",
         {"RV2003"},
         "Please open your Ravager 2004 Folder",
         true,
         false,
         "cmd_home1"},
    };
    for (const StartUpCase& c : cases) {
        SCOPED_TRACE(c.title);
        window_.reset();
        Open(c.registered);
        EXPECT_EQ(Text("lbl_folder"), c.folder_caption);
        EXPECT_EQ(Button("cmd_Open1")->isEnabled(), c.open1);
        EXPECT_EQ(Button("cmd_Open2")->isEnabled(), c.open2);
        EXPECT_FALSE(Button("cmd_read")->isEnabled());
        EXPECT_FALSE(Button("cmd_write")->isEnabled());
        EXPECT_EQ(Text("RV2003_2004_Add_On_Installer"),
                  "Unofficial RV2004 Add-On Installer (Maps, Mutators, Weapons, Skins, ...)");
        EXPECT_EQ(Text("Frame2"), "Ravager 2004 is installed here:");
        EXPECT_EQ(Text("cmd_gameChange"), "Do you want RV 2003 ?");
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }));
        EXPECT_EQ(QApplication::focusWidget()->objectName(), c.first_focus);
    }
}

// Open, warning box, picker, Read, Write: the add-on ends up in the game folder.
TEST_F(WindowWorkflow, WholeWorkflowByClicks) {
    Open();
    const QString game = GameFolder("RV2004");
    MakeSampleAddOn(addon_, game);

    ASSERT_TRUE(Button("cmd_Open2")->isEnabled()) << Text("lbl_folder").toStdString();
    ChooseAddOn("  " + addon_ + "  ");
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].title, "Unofficial RV2004 Add-On Installer");
    EXPECT_EQ(boxes_[0].text,
              "Please choose the Folder with the Maps, Mutators, Skins, Weapons, ...\r\n"
              "NO archives supported!");
    EXPECT_EQ(boxes_[0].icon, QMessageBox::NoIcon);
    EXPECT_EQ(boxes_[0].buttons, QMessageBox::Ok);
    EXPECT_EQ(boxes_[0].button_count, 1);
    EXPECT_EQ(boxes_[0].modality, Qt::ApplicationModal);
    ASSERT_EQ(picker_calls_.size(), 1u);
    EXPECT_EQ(picker_calls_[0].title, QString::fromUtf8("Bitte den Startordner wählen!"));
    EXPECT_EQ(picker_calls_[0].owner, nullptr);
    EXPECT_TRUE(picker_calls_[0].start.isEmpty());
    EXPECT_EQ(picker_calls_[0].options, QFileDialog::ShowDirsOnly);
    EXPECT_EQ(window_->Installer().AddOnFolder, addon_.toStdString());
    EXPECT_EQ(Text("lbl_Mods"), addon_);
    EXPECT_TRUE(Button("cmd_read")->isEnabled());
    EXPECT_FALSE(Button("cmd_write")->isEnabled());

    Click("cmd_read");
    EXPECT_EQ(Text("lbl_status"), "7 File(s) are ready to write - 9 File(s) checked!");
    const std::tuple<const char*, int, int, int> counts[] = {
        {"lbl_AniCounter", 1, 0, 1},    {"lbl_MapCounter", 2, 1, 1},
        {"lbl_MusicCounter", 1, 0, 1},  {"lbl_SoundCounter", 1, 0, 1},
        {"lbl_StaticCounter", 1, 0, 1}, {"lbl_SystemCounter", 2, 1, 1},
        {"lbl_TexturCounter", 1, 0, 1},
    };
    for (const auto& [array, read, exist, ready] : counts) {
        EXPECT_EQ(Text(Counter(array, 0)), QString::number(read)) << array;
        EXPECT_EQ(Text(Counter(array, 2)), QString::number(exist)) << array;
        EXPECT_EQ(Text(Counter(array, 3)), QString::number(ready)) << array;
        EXPECT_EQ(Text(Counter(array, 1)), "0") << array;
    }
    EXPECT_TRUE(Button("cmd_write")->isEnabled());
    EXPECT_EQ(window_->cursor().shape(), Qt::ArrowCursor);

    Click("cmd_write");
    EXPECT_EQ(Text("lbl_status"), "Ready to play - 7 File(s) written!");
    EXPECT_EQ(Text(Counter("lbl_MapCounter", 1)), "1");
    EXPECT_EQ(Contents(game + "/Maps/DM-Harbour.rv2"), "add-on Maps/DM-Harbour.rv2");
    EXPECT_EQ(Contents(game + "/StaticMeshes/Crate.usx"), "add-on Extra/Deep/Crate.usx");
    EXPECT_EQ(Contents(game + "/Maps/CTF-Ridge.rv2"), "installed");
    EXPECT_EQ(Contents(game + "/System/Harbour.int"), "installed");
    EXPECT_FALSE(QFile::exists(game + "/Readme.txt"));
    EXPECT_TRUE(Button("cmd_write")->isEnabled());
}

// A cancelled picker leaves the folder, its label and every button as they were; so does a
// folder whose name did not survive the picker, which the status line then names. The warning
// box still shows on every press of cmd_Open2.
TEST_F(WindowWorkflow, CancelOrAnUnusableFolderChangesNothing) {
    Open({});
    const QString game = GameFolder("RV2004");
    MakeSampleAddOn(addon_, game);
    AnswerPicker(game);
    Click("cmd_Open1");
    ChooseAddOn(addon_);
    Click("cmd_read");
    ASSERT_EQ(window_->Installer().GameFolder, game.toStdString());
    ASSERT_TRUE(Button("cmd_write")->isEnabled());

    // Not UTF-8: the picker hands back replacement characters instead of these bytes.
    const QByteArray odd = QFile::encodeName(temp_.path()) + "/Karten\xff\xfe";
    ASSERT_EQ(::mkdir(odd.constData(), 0700), 0);
    const QString unusable = QFile::decodeName(odd);

    const std::tuple<const char*, QString, QString> cases[] = {
        {"cmd_Open1", "", ""},
        {"cmd_Open2", "", ""},
        {"cmd_Open1", "   ", ""},
        {"cmd_Open1", unusable, "Folder not found under this name: " + unusable},
        {"cmd_Open2", unusable, "Folder not found under this name: " + unusable},
    };
    for (const auto& [button, answer, status] : cases) {
        SCOPED_TRACE(std::string(button) + " answered " + answer.toStdString());
        auto expected = Snapshot();
        if (!status.isEmpty()) {
            expected["lbl_status"] = status + "|on";
        }
        const std::size_t boxes = boxes_.size();
        AnswerPicker(answer);
        Click(button);
        EXPECT_EQ(Snapshot(), expected);
        EXPECT_EQ(boxes_.size(), boxes + (QString(button) == "cmd_Open2" ? 1 : 0));
    }
}

// The switch resets counters and the chain but keeps the add-on folder; choosing it again
// enables Read.
TEST_F(WindowWorkflow, EditionSwitchAfterReadPass) {
    Open({"RV2004", "RV2003"});
    MakeSampleAddOn(addon_, GameFolder("RV2004"));
    ChooseAddOn(addon_);
    Click("cmd_read");
    ASSERT_EQ(Text(Counter("lbl_MapCounter", 0)), "2");

    Click("cmd_gameChange");
    EXPECT_EQ(Text("RV2003_2004_Add_On_Installer"),
              "Unofficial RV2003 Add-On Installer (Maps, Mutators, Weapons, Skins, ...)");
    EXPECT_EQ(Text("Frame2"), "Ravager 2003 is installed here:");
    EXPECT_EQ(Text("cmd_gameChange"), "Do you want RV 2004 ?");
    EXPECT_EQ(Text("lbl_folder"), "C:\\Games\\RV2003");
    for (QLabel* label : window_->findChildren<QLabel*>()) {
        if (label->objectName().contains("Counter")) {
            EXPECT_EQ(label->text(), "0") << label->objectName().toStdString();
        }
    }
    EXPECT_FALSE(Button("cmd_read")->isEnabled());
    EXPECT_FALSE(Button("cmd_write")->isEnabled());
    EXPECT_FALSE(Button("cmd_Open1")->isEnabled());
    EXPECT_EQ(Text("lbl_Mods"), addon_);
    EXPECT_EQ(window_->Installer().AddOnFolder, addon_.toStdString());

    ChooseAddOn(addon_);
    Click("cmd_read");
    EXPECT_EQ(Text("lbl_status"), "9 File(s) are ready to write - 9 File(s) checked!");
}

// A click that arrives while a pass yields is refused: the pass ends as if it never came.
TEST_F(WindowWorkflow, ClicksDuringAPassAreRefused) {
    for (const char* button :
         {"cmd_read", "cmd_write", "cmd_Open1", "cmd_Open2", "cmd_gameChange"}) {
        SCOPED_TRACE(button);
        window_.reset();
        temp_.remove();
        ASSERT_TRUE(QDir().mkpath(temp_.path()));
        Open({});
        const QString game = GameFolder("RV2004");
        MakeSampleAddOn(addon_, game);
        AnswerPicker(game);
        Click("cmd_Open1");
        ChooseAddOn(addon_);
        Click("cmd_read");
        const auto after_one_pass = Snapshot();
        const std::size_t boxes = boxes_.size();
        const std::size_t pickers = picker_calls_.size();

        bool clicked = false;
        QTimer::singleShot(0, window_.get(), [&] {
            clicked = window_->Installer().PassRunning();
            Click(button);
        });
        Click("cmd_read");
        EXPECT_TRUE(clicked);
        EXPECT_EQ(Snapshot(), after_one_pass);
        EXPECT_EQ(boxes_.size(), boxes);
        EXPECT_EQ(picker_calls_.size(), pickers);
        EXPECT_FALSE(QFile::exists(game + "/Maps/DM-Harbour.rv2"));
    }
}

// Closing during a write pass stops it at its next yield; the window then closes.
TEST_F(WindowWorkflow, ClosingDuringAPassStopsItAndCloses) {
    Open();
    const QString game = GameFolder("RV2004");
    MakeSampleAddOn(addon_, game);
    ChooseAddOn(addon_);
    Click("cmd_read");
    ASSERT_TRUE(Button("cmd_write")->isEnabled());

    Qt::CursorShape busy = Qt::ArrowCursor;
    QTimer::singleShot(0, window_.get(), [&] {
        busy = window_->cursor().shape();
        window_->close();
        EXPECT_TRUE(window_->isVisible()) << "closed in the middle of the pass";
    });
    Click("cmd_write");
    EXPECT_EQ(busy, Qt::WaitCursor);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window_->isVisible(); }));
    EXPECT_FALSE(QFile::exists(game + "/Maps/DM-Harbour.rv2"));
    EXPECT_NE(Text("lbl_status"), "Ready to play - 7 File(s) written!");
}

// The operations the workflow uses, each on every kind of control it can reach.
TEST_F(WindowWorkflow, WindowOperationsActOnTheNamedControl) {
    Open();
    WindowOperations& window = *window_;
    const std::pair<Control, const char*> captions[] = {
        {{kMainWindowName}, "Tom & Jerry"},
        {{"Frame2"}, "Maps & Mods"},
        {{"Frame4", 3}, "Ready & set"},
        {{"cmd_gameChange"}, "Do you & me?"},
        {{"lbl_status"}, "<b>Copying</b> & more"},
        {{"lbl_TexturCounter", 2}, "4711"},
    };
    for (const auto& [control, text] : captions) {
        const QString key = control.index < 0
                                ? QString::fromUtf8(control.name.data(),
                                                    static_cast<qsizetype>(control.name.size()))
                                : Counter(std::string(control.name).c_str(), control.index);
        SCOPED_TRACE(key.toStdString());
        window.SetCaption(control, text);
        EXPECT_EQ(window.Caption(control), text);
        window.SetToolTip(control, text);
        EXPECT_EQ(Widget(key)->toolTip(), text);
    }
    EXPECT_EQ(Label("lbl_status")->text(), "<b>Copying</b> & more");
    EXPECT_EQ(Button("cmd_gameChange")->text(), "Do you && me?");
    EXPECT_EQ(Text("lbl_TexturCounter(1)"), "0");

    window.SetEnabled({"cmd_write"}, true);
    EXPECT_TRUE(Button("cmd_write")->isEnabled());
    window.SetEnabled({"cmd_write"}, false);
    EXPECT_FALSE(Button("cmd_write")->isEnabled());

    window.SetMousePointer(MousePointer::Hourglass);
    EXPECT_EQ(window_->cursor().shape(), Qt::WaitCursor);
    window.SetMousePointer(MousePointer::Default);
    EXPECT_EQ(window_->cursor().shape(), Qt::ArrowCursor);

    bool ran = false;
    QTimer::singleShot(0, window_.get(), [&] { ran = true; });
    EXPECT_TRUE(window.ProcessPendingMessages());
    EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace rv::test
