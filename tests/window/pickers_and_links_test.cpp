#include <QProcess>
#include <QProcessEnvironment>

#include "window/link_buttons.h"
#include "window/mod_get_folder.h"
#include "window/window_fixture.h"

namespace rv::test {
namespace {

TEST(TrimAtNull, KeepsWhatComesBeforeTheFirstNul) {
    using namespace std::string_literals;
    const std::pair<std::string, std::string> cases[] = {
        {"/home/me/Add-On", "/home/me/Add-On"},
        {"\0"s, ""},
        {"\0/after"s, ""},
        {"C:\\Add\0\0 junk "s, "C:\\Add"},
        {"", ""},
        {"a" + std::string(259, ' '), "a" + std::string(259, ' ')},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(modGetFolder::TrimAtNull(text), expected);
        const QString wide = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        EXPECT_EQ(modGetFolder::TrimAtNull(wide).toStdString(), expected);
    }
}

TEST(TrimSpaces, RemovesOnlyOuterSpaces) {
    const std::pair<std::string, std::string> cases[] = {
        {"  /a b/c  ", "/a b/c"}, {"\t/a\t", "\t/a\t"}, {"   ", ""}, {"", ""}, {" \n/x ", "\n/x"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(modGetFolder::TrimSpaces(text), expected) << '"' << text << '"';
    }
}

// The picker's answer travels into the workflow cut at its first NUL, with native separators,
// and on Linux as the bytes of the name.
TEST(BrowseForFolder, ReturnsTheChosenFolderOrEmptyText) {
    const std::pair<QString, std::string> cases[] = {
        {"/srv/Add-On", "/srv/Add-On"},
        {QString::fromUtf8("/srv/Karten ä\0rest", 18), "/srv/Karten \xc3\xa4"},
        {"/", "/"},
        {"", ""},
    };
    for (const auto& [answer, expected] : cases) {
        QString title;
        modGetFolder::SetDirectoryPicker(
            [&](QWidget*, const QString& asked, const QString&, QFileDialog::Options) {
                title = asked;
                return answer;
            });
        EXPECT_EQ(modGetFolder::BrowseForFolder(nullptr), expected);
        EXPECT_EQ(title, QString::fromUtf8("Bitte den Startordner w\xc3\xa4hlen!"));
    }
    modGetFolder::SetDirectoryPicker({});
}

using LinkButtons = WindowTest;

// Each button opens its own address on every click and changes nothing in the window.
TEST_F(LinkButtons, EveryClickOpensTheButtonsPage) {
    Open();
    const std::tuple<const char*, const char*, const char*> links[] = {
        {"cmd_home1", "example.org", "https://example.org/"},
        {"cmd_home2", "bbs.example.org", "https://forum.example.org/"},
        {"cmd_home3", "www.winehq.org", "https://www.winehq.org/"},
        {"Command1", "dl.example.org", "https://files.example.org/"},
    };
    const auto before = Snapshot();
    for (const auto& [button, caption, address] : links) {
        SCOPED_TRACE(button);
        EXPECT_EQ(Text(button), caption);
        opened_.clear();
        Click(button);
        Click(button);
        EXPECT_EQ(opened_, std::vector<QUrl>(2, QUrl(address)));
        EXPECT_TRUE(Button(button)->isEnabled());
    }
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
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(program.exitCode(), 0);
    const QString message = QString::fromUtf8(program.readAllStandardError());
    EXPECT_EQ(message.count('\n'), 1) << message.toStdString();
    EXPECT_TRUE(message.contains("no display")) << message.toStdString();
    EXPECT_TRUE(message.contains("xvfb-run")) << message.toStdString();
}

}  // namespace
}  // namespace rv::test
