// SPDX-License-Identifier: MIT
// The real program run as a script or a terminal runs it.
#include <gmock/gmock.h>
#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <sstream>

#include "program_run.h"
#include "support/temp_folder.h"
#include "text/version.h"

namespace rv {
namespace {

using test::Output;
using testing::HasSubstr;

struct ExitRow {
    std::vector<std::string> arguments;
    int status;
    std::string out;  // a text standard output holds
    std::string err;  // a text standard error holds
    Output output = Output::Captured;
    int signal = 0;         // sent once the write has copied a file
    std::string made = "";  // a file the game folder holds afterwards
    std::string file = "";  // put in the add-on first, when given
};

// Gives the add-on MANY 2000 files, and sends the signal once the number of files in the game's
// Maps has changed: a write or a removal is under way.
std::function<void(pid_t)> SignalWhenMapsChange(const test::ProgramFolders& folders, int signal) {
    if (signal == 0) {
        return {};
    }
    for (int n = 0; n < 2000; ++n) {
        folders.AddFile("many/Many-" + std::to_string(n) + ".rv2");
    }
    const std::size_t before = test::NamesIn(folders.Path("game/Maps")).size();
    return [&folders, signal, before](pid_t pid) {
        for (int wait = 0;
             wait < 200000 && test::NamesIn(folders.Path("game/Maps")).size() == before; ++wait) {
            ::usleep(300);
        }
        ::kill(pid, signal);
    };
}

// The Total row's count of files written, from the table or from the JSON counters.
std::size_t TotalWritten(const std::string& out) {
    const std::size_t json = out.find("\"total\": {");
    if (json != std::string::npos) {
        const std::size_t key = out.find("\"written\": ", json);
        return std::stoul(out.substr(key + 11));
    }
    std::istringstream row(out.substr(out.find("\nTotal") + 1));
    std::string name;
    std::size_t read = 0, written = 0;
    row >> name >> read >> written;
    return written;
}

// Read and write passes: their output, and where it goes.
std::vector<ExitRow> PassRows() {
    return {
        {{"--read", "ADD"}, 0, "1 File(s) are ready to write - 2 File(s) checked!", ""},
        {{"--read", "WINADD", "--game", "WINGAME"}, 0, "1 File(s) are ready to write", ""},
        {{"--read", "ADD", "--json", "--game", "GAME"}, 0, "\"state\": \"already_there\"", ""},
        {.arguments = {"--write", "ADD", "--json"},
         .status = 0,
         .out = "\"total\": {\n      \"already_exist\": 1,\n      \"read\": 2,\n      "
                "\"ready_to_write\": 1,\n      \"written\": 1\n    }",
         .err = "",
         .made = "Maps/a.rv2"},
        {{"--write", "OTHER"},
         0,
         "Ready to play - 0 File(s) written!",
         "1 File(s) already there in another version were not replaced"},
        {{"--read", "OTHER"}, 0, "", "1 File(s) already there in another version would not"},
        {{"--read", "ADD", "--json"}, 1, "", "the output could not be written", Output::Full},
        {.arguments = {"--write", "ADD"},
         .status = 1,
         .out = "",
         .err = "the output could not be written",
         .output = Output::ClosedPipe,
         .made = "Maps/a.rv2"},
        {.arguments = {"--write", "MANY"},
         .status = 130,
         .out = " File(s) written! Their receipt is kept: ",
         .err = "",
         .signal = SIGINT},
        {.arguments = {"--write", "MANY", "--json"},
         .status = 143,
         .out = "\"status\": \"Stopped - ",
         .err = "",
         .signal = SIGTERM},
        // Names are shown as the window shows them: control characters escaped.
        {.arguments = {"--read", "ADD", "--json"},
         .status = 0,
         .out = "x\\u001b[2K\\rok.rv2\"",
         .err = "",
         .file = "Maps/x\x1b[2K\rok.rv2"},
        {.arguments = {"--write", "ADD", "--game", "BARE"},
         .status = 1,
         .out = "2 File(s) failed!",
         .err = "m<U+009B>31m.rv2: ",
         .file = "Maps/m\xc2\x9b"
                 "31m.rv2"},
    };
}

// Arguments refused or answered without a pass, and folders that are not there.
std::vector<ExitRow> ArgumentRows() {
    const std::string version = std::string("rv-addon-installer ") + kProgramVersion + "\n";
    return {
        {{"--read", "ADD", "--edition", "2003"},
         3,
         "",
         "no game folder is registered for RV2003; name one with --game FOLDER\nNone of these "
         "Wine prefixes holds HKEY_LOCAL_MACHINE\\"},
        {{"--read", "ADD", "--edition", "2003", "--json"},
         3,
         "\"error\": \"no game folder is registered for RV2003; name one with --game "
         "FOLDER\",\n  \"exit_status\": 3,\n  \"where_looked\": \"None of these Wine prefixes "
         "holds HKEY_LOCAL_MACHINE\\\\",
         ""},
        {{"--read", "ADD", "--game", "ADD/none"}, 3, "", "is not a folder"},
        {{"--write", "GAME/none"}, 3, "", "the add-on folder"},
        {{"--read"}, 2, "", "--read needs a value"},
        {{"--list", "--bogus", "--json"}, 2, "\"error\": \"unknown argument --bogus\"", ""},
        {{"--edition", "2005", "--list"}, 2, "", "--edition takes 2003 or 2004"},
        {{"--list", "--yes"}, 2, "", "--yes goes with --remove only"},
        {{"--list", "--write", "ADD"}, 2, "", "give only one of"},
        {{"-h"}, 0, "  3    the game or add-on folder was not found", ""},
        {{"--help"}, 0, "--remove RECEIPT [--yes]", ""},
        {{"--version"}, 0, version, ""},
        // Without a display the window is not started: one line says what to do instead.
        {{"ADD"},
         2,
         "",
         "rv-addon-installer: no display found (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are "
         "unset); run it in a desktop session, or without one as: xvfb-run rv-addon-installer\n"},
        // Names are shown as the window shows them: control characters escaped.
        {{"--read", "ADD/x\x1b[2K\rok"}, 3, "", "x<U+001B>[2K<U+000D>ok is not a folder"},
        {{"--read", "ADD/\xd0\x90\x7f", "--json"},
         3,
         "\\u0410\\u007f is",
         "\xd0\x90<U+007F> is not a folder"},
    };
}

TEST(Program, ExitStatusAndMessages) {
    std::vector<ExitRow> rows = PassRows(), more = ArgumentRows();
    rows.insert(rows.end(), more.begin(), more.end());
    for (const ExitRow& row : rows) {
        SCOPED_TRACE(row.arguments[0] + " " + (row.arguments.size() > 1 ? row.arguments[1] : ""));
        const test::ProgramFolders folders;
        if (!row.file.empty()) {
            folders.AddFile("add/" + row.file);
        }
        const test::ProgramRan ran = test::RunProgram(folders.Expand(row.arguments), row.output, "",
                                                      SignalWhenMapsChange(folders, row.signal));
        EXPECT_EQ(ran.status, row.status) << ran.out << ran.err;
        EXPECT_THAT(ran.out, HasSubstr(row.out));
        EXPECT_THAT(ran.err, HasSubstr(row.err));
        EXPECT_TRUE(test::TerminalSafe(ran.out) && test::TerminalSafe(ran.err));
        if (!row.made.empty()) {
            EXPECT_TRUE(test::Exists(folders.Path("game/" + row.made)));
        }
        if (row.signal != 0) {  // stopped midway: the last line counts what the game now has
            const std::size_t maps = test::NamesIn(folders.Path("game/Maps")).size();
            EXPECT_LT(maps, 2000u);
            EXPECT_THAT(ran.out,
                        HasSubstr("Stopped - " + std::to_string(maps) + " File(s) written"));
            EXPECT_EQ(TotalWritten(ran.out), maps) << ran.out;
        }
    }
}

// Ctrl+C during a removal that was answered stops it after the file under way: the last line
// counts what was deleted, each file deleted is listed, the receipt keeps the rest, and the
// status is the signal's.
TEST(Program, SaysWhatAStoppedRemovalDeleted) {
    const test::ProgramFolders folders;
    SignalWhenMapsChange(folders, SIGINT);  // only for its 2000 add-on files
    const test::ProgramRan wrote = test::RunProgram(folders.Expand({"--write", "MANY"}));
    ASSERT_EQ(wrote.status, 0) << wrote.out << wrote.err;
    const std::size_t name = wrote.out.find("Receipt: ") + 9;
    const std::string receipt = wrote.out.substr(name, wrote.out.find('\n', name) - name);
    const std::string maps = folders.Path("game/Maps");
    const test::ProgramRan ran = test::RunProgram({"--remove", receipt, "--yes"}, Output::Captured,
                                                  "", SignalWhenMapsChange(folders, SIGINT));
    const std::size_t left = test::NamesIn(maps).size();
    EXPECT_EQ(ran.status, 130) << ran.out << ran.err;
    EXPECT_GT(left, 0u);
    EXPECT_THAT(ran.out,
                HasSubstr("Stopped - " + std::to_string(2000 - left) + " File(s) deleted!"));
    std::size_t listed = 0;
    for (std::size_t at = 0; (at = ran.out.find("  deleted Maps/", at)) != std::string::npos;
         ++at) {
        ++listed;
    }
    EXPECT_EQ(listed, 2000 - left);
    const test::ProgramRan again = test::RunProgram({"--remove", receipt, "--yes"});
    EXPECT_THAT(again.out, HasSubstr("Removed - 2000 File(s) deleted - 0 File(s) kept!"));
    EXPECT_EQ(test::NamesIn(maps).size(), 0u);
}

// A receipt is listed under any spelling of its game folder and removed once the user says yes.
TEST(Program, ListsAndRemovesAfterAskingOnce) {
    const test::ProgramFolders folders;
    const auto run = [&folders](std::vector<std::string> arguments,
                                const std::string& answer = "") {
        return test::RunProgram(folders.Expand(std::move(arguments)), Output::Captured, answer);
    };
    const std::string out = run({"--write", "ADD", "--game", "GAME"}).out;
    ASSERT_THAT(out, HasSubstr("Receipt: "));
    const std::string name =
        out.substr(out.find("Receipt: ") + 9, out.size() - out.find("Receipt: ") - 10);
    const std::string written = folders.Path("game/Maps/a.rv2");
    const test::ProgramRan listed = run({"--list", "--game", "GAME/../game"});
    EXPECT_EQ(listed.status, 0);
    EXPECT_THAT(listed.out, HasSubstr(name + "  installed"));
    EXPECT_THAT(listed.out, HasSubstr("1 File(s) written, 1 still as written"));
    EXPECT_EQ(run({"--list", "--game", "BARE"}).out, "");

    const test::ProgramRan refused = run({"--remove", name}, "n\n");
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.out, HasSubstr("  delete Maps/a.rv2\nDelete 1 File(s)? [y/N] Nothing"));
    EXPECT_TRUE(test::Exists(written));

    const test::ProgramRan removed = run({"--remove", name}, "y\n");
    EXPECT_EQ(removed.status, 0);
    EXPECT_THAT(removed.out, HasSubstr("Removed - 1 File(s) deleted - 0 File(s) kept!"));
    EXPECT_FALSE(test::Exists(written));
    EXPECT_TRUE(test::Exists(folders.Path("game/System/c.u")));
    EXPECT_THAT(run({"--list", "--json"}).out, HasSubstr("\"status\": \"removed\""));
    EXPECT_EQ(run({"--remove", "no-such"}).status, 2);
}

}  // namespace
}  // namespace rv
