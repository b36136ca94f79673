// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "core/add_on_walk.h"
#include "pass_fixture.h"
#include "platform/end_signals.h"
#include "receipts/game_lock.h"
#include "receipts/receipt_book.h"
#include "receipts/receipt_journal.h"
#include "receipts/removal.h"
#include "support/processes_linux.h"

namespace rv::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// A pass that keeps its receipts in a folder of its own.
struct Journaled : Pass {
    Journaled() { installer.SetJournal(&journal); }
    ReceiptJournal journal{temp.Path("receipts")};
};

// Longer than a pass waits between two yields to the window.
constexpr auto kPastAYield = std::chrono::milliseconds(101);

// Links that stay inside the add-on are walked, each real folder once, at the first path met;
// links that lead outside are neither walked nor taken, however they get there.
TEST(WalkOnLinks, TakesEachRealFolderOnceAndNothingFromOutside) {
    TempFolder temp;
    temp.AddFiles({"add/A/a.u", "add/A/B/b.u", "add/C/c.u", "add/z.u", "add2/n.u"});
    for (const auto& [link, target] : {std::pair{"add/A/up", ".."},
                                       {"add/A/B/toC", "../../C"},
                                       {"add/A/linked.u", "../z.u"},
                                       {"add/A/dangling.u", "nowhere"},
                                       {"add/C/toB", "../A/B"},
                                       {"add/root", "/"},
                                       {"add/passwd.u", "/etc/passwd"},
                                       {"add/sibling", "../add2"},  // its name starts alike
                                       {"add/sibling.u", "../add2/n.u"}}) {
        fs::create_symlink(target, temp.Path(link));
    }
    const Lines expected = {"A/a.u",      "A/B/b.u",          "A/B/toC/c.u",       "A/dangling.u",
                            "A/linked.u", "passwd.u outside", "sibling.u outside", "z.u"};

    AddOnWalk walk;
    RecordingWindow window;
    ASSERT_TRUE(WalkAddOnFolder(temp.Path("add"), walk, window));
    Lines files;
    for (const WalkedFile& file : walk.files) {
        files.push_back(file.path.substr(temp.Path("add/").size()) +
                        (file.outside ? " outside" : ""));
    }
    EXPECT_EQ(files, expected);
    EXPECT_TRUE(walk.problems.empty());
}

// A sub-folder that cannot be listed, a link outside and a file without its game sub-folder fail
// the pass; the rest is still installed and the reasons are named, one line each: names show
// their control characters escaped, so that no name forges a line.
TEST(PassesOnLinux, ReportWhatCouldNotBeReadOrWrittenOneLineEach) {
    Pass p;
    p.temp.AddFiles({"add/map.rv2", "add/two\nlines.usx"});
    fs::remove(p.Game("StaticMeshes"));
    p.temp.AddFile("outside/env.ini", "not ours");
    fs::create_symlink(p.temp.Path("outside/env.ini"), p.Add("env.ini"));
    std::string half = "Deep";  // twice as deep is more than a path the system takes
    for (int i = 0; i < 9; ++i) {
        half += "/" + std::string(250, 'd');
    }
    const std::string make = "cd " + p.Add("") + " && mkdir -p " + half + " && cd " + half;
    ASSERT_EQ(std::system((make + " && mkdir -p " + half).c_str()), 0);
    const std::string outside = p.Add("env.ini") + ": " + std::string(kLeadsOutside);
    const std::string too_long = ": the path is too long for the system";
    const std::string shown = p.Add("two<U+000A>lines.usx");

    p.installer.cmd_read_Click();
    EXPECT_EQ(p.Status(), "2 File(s) are ready to write - 3 File(s) checked!");
    EXPECT_EQ(p.StatusLines()[1], "Reading: two<U+000A>lines.usx");
    EXPECT_EQ(p.Caption(Category::System, CounterKind::Ready), "0");
    EXPECT_TRUE(p.ToolTip().starts_with(outside + "\n" + p.Add("Deep/"))) << p.ToolTip();
    EXPECT_TRUE(p.ToolTip().ends_with(too_long)) << p.ToolTip();
    p.installer.cmd_write_Click();
    EXPECT_EQ(p.Status(), "Write incomplete - 1 File(s) written - 3 File(s) failed!");
    EXPECT_EQ(p.StatusLines()[5], "Copying: " + shown);
    EXPECT_TRUE(p.ToolTip().starts_with(p.Add("Deep/"))) << p.ToolTip();
    EXPECT_TRUE(p.ToolTip().ends_with(too_long + "\n" + shown +
                                      ": the game folder has no StaticMeshes folder\n" + outside))
        << p.ToolTip();
    EXPECT_EQ(NamesIn(p.Game("Maps")), Lines{"map.rv2"});
    EXPECT_TRUE(fs::is_empty(p.Game("System")));
    static_cast<void>(std::system(("rm -rf " + p.Add("Deep")).c_str()));
}

// A pass whose journal does not fit on the disk (here: over the process's file size limit)
// writes nothing, since no receipt could name what it wrote, and says so; nothing of the
// journal is left.
TEST(ReceiptOnAFullDisk, IsNeitherStoredInPartNorSilentlyMissing) {
    Journaled pass;
    pass.temp.AddFile("add/a.rv2");
    WithFileSizeLimit(64, [&pass] { pass.installer.cmd_write_Click(); });

    EXPECT_EQ(pass.Status(),
              "Nothing was written: the journal of this pass cannot be kept: the disk is full");
    EXPECT_EQ(NamesIn(pass.temp.Path("receipts")), std::vector<std::string>{"locks"});
    EXPECT_TRUE(fs::is_empty(pass.Game("Maps")));
}

// Unfinished copies that processes now gone left behind are removed; nothing else is.
TEST(LinuxPass, RemovesTheStaleTemporariesOfProcessesThatAreGone) {
    Pass p;
    const std::string dead = ".rv-part-" + std::to_string(GoneProcess()), alive = ".rv-part-1";
    for (const std::string& name : {dead + "-1f-0", alive + "-1f-0", dead + "-1f-", dead + "-g-0",
                                    dead + "-1f-0.u", dead.substr(1) + "-1f-0", dead + "-1f-0 "}) {
        p.temp.AddFile("game/Maps/" + name);
    }
    p.temp.AddFolder("game/Maps/" + dead + "-2-0");
    fs::create_symlink("gone", p.Game("Maps/" + dead + "-3-0"));
    p.temp.AddFile("game/Sounds/" + dead + "-1f-0");
    p.installer.cmd_write_Click();
    EXPECT_EQ(NamesIn(p.Game("Maps")),
              (std::vector<std::string>{alive + "-1f-0", dead + "-1f-", dead + "-1f-0 ",
                                        dead + "-1f-0.u", dead + "-2-0", dead + "-3-0",
                                        dead + "-g-0", dead.substr(1) + "-1f-0"}));
    EXPECT_TRUE(fs::is_empty(p.Game("Sounds")));
}

// A signal that ends the program stops the pass before anything more is copied; the program
// lives on until then, and then ends by that signal.
TEST(LinuxPass, EndsCleanlyOnSignalsThatEndTheProgram) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        Pass p;
        p.temp.AddFile("add/a.ukx");
        p.window.on_yield = [&] {
            kill(getpid(), signal);
            std::fputs("lived on", stderr);
            return true;
        };
        EXPECT_EXIT(p.installer.cmd_write_Click(), testing::KilledBySignal(signal), "lived on");
        EXPECT_TRUE(fs::is_empty(p.Game("Animations")));
    }
}

// A signal that came once the command line answers them, before its write pass began, stops that
// pass before it copies anything and is still there to be answered afterwards.
TEST(LinuxPass, KeepsASignalAnsweredBeforeItBegan) {
    const auto pass = [] {
        Pass p;
        p.temp.AddFile("add/a.ukx");
        const platform::EndSignalsAnswered answered;
        ::raise(SIGINT);
        p.installer.cmd_write_Click();
        std::exit(platform::EndSignal() == SIGINT && fs::is_empty(p.Game("Animations")) ? 0 : 1);
    };
    EXPECT_EXIT(pass(), testing::ExitedWithCode(0), "");
}

// A close asked once a file is copied stops the pass before the next file, also where the copy
// went in one go, never asking between chunks, as a small file hashed for its receipt does.
// (Each yield takes long enough that the pass's next ask yields too.)
TEST(LinuxPass, StopsAfterTheFileWhenTheWindowClosesDuringItsCopy) {
    Journaled p;
    p.temp.AddFiles({"add/a.ukx", "add/b.ukx"});
    int asked_in_a = 0;
    bool closed = false;
    p.window.on_yield = [&] {
        if (!closed) {
            std::this_thread::sleep_for(kPastAYield);
            closed = p.Status().ends_with("a.ukx") && ++asked_in_a == 2;
        }
        return !closed;
    };
    p.installer.cmd_write_Click();
    EXPECT_EQ(NamesIn(p.Game("Animations")), Lines{"a.ukx"});
    EXPECT_EQ(p.Status(), "Copying: " + p.Add("a.ukx"));
}

// A close asked during the copy of a long file stops it after the current chunk: the pass ends
// there, nothing of the file stays in the game folder, and what was written before keeps its
// receipt, with the file found there compared. (From the row of b.rv2 on, each yield takes long
// enough that the copy's next ask yields too.)
TEST(LinuxPass, StopsMidCopyWhenTheWindowCloses) {
    Journaled p;
    p.temp.AddFile("add/a.ukx");
    p.temp.AddFile("add/b.rv2", std::string(8 << 20, 'b'));
    p.temp.AddFile("add/c.uax");
    p.temp.AddFile("add/e.ukx", "same");
    p.temp.AddFile("game/Animations/e.ukx", "same");
    int in_copy = 0;
    p.window.on_yield = [&] {
        const bool in_b = p.Status().ends_with("b.rv2");
        if (in_copy < 2 && (in_b || p.Status().ends_with("a.ukx"))) {
            std::this_thread::sleep_for(kPastAYield);
        }
        return !in_b || (in_copy < 2 && ++in_copy < 2);
    };
    p.installer.cmd_write_Click();
    EXPECT_EQ(in_copy, 2) << "asked before the first chunk and after it";
    EXPECT_EQ(p.Status(), "Copying: " + p.Add("b.rv2"));
    EXPECT_EQ(NamesIn(p.Game("Animations")), (Lines{"a.ukx", "e.ukx"}));
    EXPECT_TRUE(fs::is_empty(p.Game("Maps")) && fs::is_empty(p.Game("Sounds")));
    EXPECT_FALSE(p.installer.PassRunning());
    const std::optional<StoredReceipt> receipt =
        ReceiptBook(p.journal.Folder()).Find(p.installer.LastReceiptName());
    ASSERT_TRUE(receipt.has_value());
    ASSERT_EQ(receipt->receipt.files.size(), 2u);
    EXPECT_EQ(receipt->receipt.files[0].target, "Animations/a.ukx");
    EXPECT_EQ(receipt->receipt.files[1].outcome, Outcome::Identical);
}

// Two processes, one game folder named two ways: while one holds the folder for a write, the
// other's removal waits, says what for, and deletes nothing until it is let go.
TEST(LinuxRemoval, WaitsForAnotherProcessThatHoldsTheGameFolder) {
    Journaled p;
    p.temp.AddFile("add/a.u");
    p.installer.cmd_write_Click();
    fs::create_symlink(p.Game(""), p.temp.Path("link"));
    int held[2], go[2];
    ASSERT_EQ(::pipe(held), 0);
    ASSERT_EQ(::pipe(go), 0);
    const pid_t writer = fork();
    if (writer == 0) {
        const GameLock lock(p.journal.Folder(), IdentityOf(p.temp.Path("link")), {});
        char byte = lock.Problem().empty() ? '1' : '0';
        static_cast<void>(::write(held[1], &byte, 1));
        static_cast<void>(::read(go[0], &byte, 1));
        _exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(held[0], &byte, 1), 1);
    ASSERT_EQ(byte, '1');
    const ReceiptBook book(p.journal.Folder());
    StoredReceipt receipt = *book.Find(p.installer.LastReceiptName());
    std::string said;
    const RemovalResult refused = CarryOutRemoval(book, receipt, {}, [&](const std::string& what) {
        said = what;
        return false;
    });
    EXPECT_EQ(said, kWaitingForLock);
    EXPECT_NE(refused.problem.find("another copy of the program"), std::string::npos);
    EXPECT_TRUE(Exists(p.Game("System/a.u")));

    int waits = 0;
    const RemovalResult done = CarryOutRemoval(book, receipt, {}, [&](const std::string&) {
        if (++waits == 3) {
            static_cast<void>(::write(go[1], "x", 1));  // the writer ends, letting go
        }
        return true;
    });
    ASSERT_EQ(waitpid(writer, nullptr, 0), writer);
    EXPECT_GE(waits, 3);
    EXPECT_EQ(done.Line(), "Removed - 1 File(s) deleted - 0 File(s) kept!");
}

// A write killed outright leaves its journal, which named each file of a row before the row's
// first copy; the next listing makes it a receipt that names every file the write made, and
// those it found already there and relies on, so that its removal takes back what it wrote and
// another add-on's removal keeps what it relies on.
TEST(LinuxPass, AKilledWriteLeavesWhatItWroteAndReliesOnNamed) {
    struct Row {
        std::string other;          // a file another add-on wrote before, "" for none
        std::string kill_at;        // the file whose copy the write is killed after
        std::string removed;        // what removing the killed write's receipt says
        std::string other_removed;  // what removing the other add-on's receipt then says
    };
    const std::vector<Row> rows = {
        {"", "a.u", "Removed - 1 File(s) deleted - 0 File(s) kept!", ""},
        // The other add-on's file passes to the killed write, which relies on it.
        {"a.u", "b.u", "Removed - 2 File(s) deleted - 0 File(s) kept!",
         "No file deleted - 1 File(s) kept!"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.kill_at);
        Journaled p;
        const ReceiptBook book(p.journal.Folder());
        if (!row.other.empty()) {
            p.temp.AddFile("other/" + row.other);
            p.installer.SetAddOnFolder(p.temp.Path("other"));
            p.installer.cmd_write_Click();
            p.installer.SetAddOnFolder(p.temp.Path("add"));
        }
        p.temp.AddFiles({"add/a.u", "add/b.u", "add/c.u"});
        const pid_t writer = fork();
        if (writer == 0) {
            // Each yield outlasts the time between yields, so the pass yields after each file.
            p.window.on_yield = [&p, &row] {
                std::this_thread::sleep_for(std::chrono::milliseconds(110));
                if (Exists(p.Game("System/" + row.kill_at))) {
                    kill(getpid(), SIGKILL);
                }
                return true;
            };
            p.installer.cmd_write_Click();
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(writer, &status, 0), writer);
        ASSERT_TRUE(WIFSIGNALED(status));
        std::string journal;
        for (const std::string& name : NamesIn(p.journal.Folder())) {
            journal += name.ends_with(".journal") ? ReadWhole(p.journal.Folder() + "/" + name) : "";
        }
        EXPECT_NE(journal.find("\"System/c.u\""), std::string::npos) << journal;

        std::vector<StoredReceipt> listed = book.List();
        ASSERT_EQ(listed.size(), row.other.empty() ? 1u : 2u);
        StoredReceipt& killed = listed[0];  // the newest
        EXPECT_EQ(killed.status, ReceiptStatus::InForce);
        if (!row.other.empty()) {
            EXPECT_EQ(CarryOutRemoval(book, listed[1]).Line(), row.other_removed);
        }
        EXPECT_EQ(CarryOutRemoval(book, killed).Line(), row.removed);
        EXPECT_EQ(NamesIn(p.Game("System")), Lines{});
        EXPECT_EQ(NamesIn(p.journal.Folder()).size(), listed.size() + 1);  // and "locks"
    }
}

}  // namespace
}  // namespace rv::test
