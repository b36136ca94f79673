// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <functional>

#include "core/pass_fixture.h"
#include "platform/file_facts.h"
#include "receipts/game_files.h"
#include "receipts/receipt_journal.h"
#include "receipts/removal.h"

namespace rv {
namespace {

namespace fs = std::filesystem;
using test::NativePath;

// A game and add-on folder whose write passes leave receipts in a folder of their own.
struct Receipts : test::Pass {
    Receipts() { installer.SetJournal(&journal); }
    ReceiptJournal journal{temp.Path("receipts")};
    ReceiptBook book{temp.Path("receipts")};

    // Writes the add-on folder's files into the game folder, as named, and returns the receipt.
    StoredReceipt Install(const std::string& addon, const std::string& game = "game") {
        installer.SetAddOnFolder(temp.Path(addon));
        installer.SetGameFolder(temp.Path(game));
        installer.cmd_write_Click();
        return *book.Find(installer.LastReceiptName());
    }
    // With the book as it was read for the question, when it is given.
    RemovalResult Remove(const StoredReceipt& receipt,
                         std::optional<std::vector<StoredReceipt>> asked = std::nullopt) {
        StoredReceipt current = *book.Find(receipt.name);
        return CarryOutRemoval(book, current, {}, {}, std::move(asked));
    }
    ReceiptStatus Status(const StoredReceipt& receipt) const {
        return book.Find(receipt.name)->status;
    }
    // Rewrites the stored receipt's text.
    void Edit(const StoredReceipt& receipt, const std::function<std::string(std::string)>& edit) {
        const std::string path = temp.Path("receipts/" + receipt.name);
        const std::string text = edit(test::ReadWhole(path));
        std::ofstream(NativePath(path), std::ios::binary) << text;
    }
    static std::string Kept(const RemovalResult& result) {
        std::string text;
        for (const KeptFile& file : result.kept) {
            text += file.target + ": " + file.reason + ";";
        }
        return text;
    }
};

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// A receipt is dated with the UTC time of its write, every field in its place.
TEST(Receipt, IsDatedWithTheTimeOfItsWrite) {
    const auto now = [] {
        const std::time_t seconds = std::time(nullptr);
        char text[32];
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", std::gmtime(&seconds));
        return std::string(text);
    };
    Receipts r;
    r.temp.AddFile("add/a.rv2");
    const std::string before = now();
    const std::string time = r.Install("add").receipt.time;
    const std::string after = now();
    EXPECT_TRUE(before <= time.substr(0, 19) && time.substr(0, 19) <= after)
        << before << " " << time << " " << after;
    EXPECT_TRUE(time.size() == 24 && time[19] == '.' && time.ends_with('Z')) << time;
}

// A receipt is read whatever the order of its keys; one that is not whole, or whose files lack a
// key or hold a value of the wrong kind, is named as such.
TEST(Receipt, IsReadInAnyOrderAndNamesWhatIsWrong) {
    const std::string head =
        R"("format":"rv-addon-installer receipt","version":2,"time":"t","game_folder":"/g",)"
        R"("game_identity":{"path":"/g","device":1,"node":2},"edition":"RV2004",)"
        R"("addon_folder":"/a","removed":false)";
    const std::string written =
        R"("category":"Maps","outcome":"written","source":"/a/a.rv2","size":4,)"
        R"("modified_ns":-1,"xxh3":"0123456789abcdef","deleted":false)";
    const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
        {"{\"files\":[{" + written + R"(,"target":"Maps/a.rv2","more":{"x":[1]}}],)" + head + "}",
         "", "Maps/a.rv2"},
        {"{" + head + R"(,"files":[{)" + written + R"(,"target_bytes":"4d6170732fff"}]})", "",
         "Maps/\xff"},
        {"{" + head +
             R"(,"files":[{"category":"Maps","outcome":"written","source":"/a/a",)"
             R"("target":"M/a","size":4,"modified_ns":1,"deleted":false}]})",
         "a value is missing or of the wrong kind", ""},
        {"{" + head + R"(,"files":[{)" + written + R"(,"target":"M/a","size":"4"}]})",
         "a value is missing or of the wrong kind", ""},
        {"{" + head + R"(,"files":[{)" + written + R"(,"target":"M/a","deleted":{}}]})",
         "a value is missing or of the wrong kind", ""},
        {"{" + head + R"(,"files":[7]})", "a value is missing or of the wrong kind", ""},
        {"{" + head + R"(,"files":{}})", "a value is missing or of the wrong kind", ""},
        {"{" + head + R"(,"files":[{)" + written + R"(,"target":"M/a"})",
         "not a receipt, or not whole", ""},
        {"{" + Replaced(head, ":2,", ":3,") + R"(,"files":[]})", "a receipt of an unknown version",
         ""},
    };
    for (const auto& [text, problem, target] : cases) {
        SCOPED_TRACE(text);
        const ParsedReceipt parsed = ParseReceipt(text);
        EXPECT_EQ(parsed.problem, problem);
        if (parsed.receipt) {
            ASSERT_EQ(parsed.receipt->files.size(), 1u);
            EXPECT_EQ(parsed.receipt->files[0].target, target);
            EXPECT_EQ(parsed.receipt->files[0].modified_ns, -1);
            EXPECT_EQ(parsed.receipt->game.node, 2u);
        }
    }
}

// A written file is deleted only while it is exactly as written and can be checked below the game
// folder; otherwise it is kept with the reason. Only a file that could not be checked keeps the
// receipt in force.
TEST(Removal, DeletesOnlyWhatIsStillAsWrittenBelowTheGameFolder) {
    using Tamper = std::function<void(Receipts&)>;
    const auto rewrite = [](const std::string& data, int seconds_later) {
        return [data, seconds_later](Receipts& p) {
            const auto path = NativePath(p.Game("Maps/a.rv2"));
            const auto time = fs::last_write_time(path);
            std::ofstream(path, std::ios::binary) << data;
            fs::last_write_time(path, time + std::chrono::seconds(seconds_later));
        };
    };
    // The listing counts what is still as written by size and time, without reading the files.
    const std::vector<std::tuple<std::string, Tamper, ReceiptStatus, int>> cases = {
        {"", [](Receipts&) {}, ReceiptStatus::Removed, 2},
        // Same size, time put back: only the hash tells, which the listing does not read. Under
        // Wine the time put back is not the one recorded, which the listing does see.
        {"changed since it was written", rewrite("DATA", 0), ReceiptStatus::Removed,
         platform::kPathSeparator == '/' ? 2 : 1},
        {"changed since it was written", rewrite("DATA!", 0), ReceiptStatus::Removed, 1},
        {"changed since it was written", rewrite("data", 1), ReceiptStatus::Removed, 1},
        {"already gone", [](Receipts& p) { fs::remove(NativePath(p.Game("Maps/a.rv2"))); },
         ReceiptStatus::Removed, 1},
        {"cannot be checked: the folder Maps",  // its folder is a file now
         [](Receipts& p) {
             fs::remove_all(NativePath(p.Game("Maps")));
             p.temp.AddFile("game/Maps");
         },
         ReceiptStatus::InForce, 1},
#ifndef _WIN32  // Wine makes no links
        {"changed since it was written",
         [](Receipts& p) {
             fs::rename(p.Game("Maps/a.rv2"), p.Game("Maps/a.old"));
             fs::create_symlink("a.old", p.Game("Maps/a.rv2"));
         },
         ReceiptStatus::Removed, 1},
        {"outside the game folder",  // the sub-folder swapped for a link after the write
         [](Receipts& p) {
             fs::rename(p.Game("Maps"), p.temp.Path("elsewhere"));
             fs::create_symlink(p.temp.Path("elsewhere"), p.Game("Maps"));
         },
         ReceiptStatus::Removed, 1},
#endif
    };
    for (const auto& [reason, tamper, status, listed] : cases) {
        SCOPED_TRACE(reason);
        const bool deleted = reason.empty();
        Receipts pass;
        pass.temp.AddFile("add/a.rv2");
        pass.temp.AddFile("add/b.utx");
        const StoredReceipt receipt = pass.Install("add");
        tamper(pass);
        const StoredReceipt counted = pass.book.List({}, nullptr, Reading::Counted).at(0);
        EXPECT_EQ(counted.count.still_as_written, listed);
        EXPECT_EQ(counted.count.written, 2);
        EXPECT_EQ(CountWritten(pass.book.Find(receipt.name)->receipt).still_as_written, listed);

        const RemovalResult result = pass.Remove(receipt);
        EXPECT_EQ(result.Line(), deleted ? "Removed - 2 File(s) deleted - 0 File(s) kept!"
                                         : "Removed - 1 File(s) deleted - 1 File(s) kept!");
        EXPECT_EQ(pass.Kept(result).substr(0, 12 + reason.size()),
                  deleted ? "" : "Maps/a.rv2: " + reason);
        EXPECT_FALSE(test::Exists(pass.Game("Textures/b.utx")));
        EXPECT_EQ(pass.Status(receipt), status);
    }
    Receipts gone;  // the whole game folder unplugged: nothing is "already gone"
    gone.temp.AddFile("add/a.rv2");
    const StoredReceipt receipt = gone.Install("add");
    fs::rename(NativePath(gone.Game("")), NativePath(gone.temp.Path("unplugged")));
    EXPECT_EQ(gone.Remove(receipt).Line(), "No file deleted - 1 File(s) kept!");
    EXPECT_EQ(gone.Status(receipt), ReceiptStatus::InForce);
}

// No file is deleted while another receipt in force for the same game folder names it, however
// that folder was named, whichever receipt is older, and also when that pass wrote nothing. The
// file passes to that receipt: the removal completes, and removing that one takes the file. The
// book as read for the question is used only while no receipt came or changed since.
TEST(Removal, NeverDeletesWhatAnotherReceiptNames) {
    // How the second add-on comes to name shared.u, the first add-on's file.
    const std::vector<std::pair<std::string, std::function<void(Receipts&)>>> cases = {
        {"wrote nothing", [](Receipts& p) { p.Install("second"); }},
        {"written again after a hand deletion",  // same size, time and hash
         [](Receipts& p) {
             fs::remove(NativePath(p.Game("System/shared.u")));
             p.Install("second");
         }},
#ifndef _WIN32
        {"through a link to the game folder",
         [](Receipts& p) {
             fs::create_symlink(p.Game(""), p.temp.Path("link"));
             EXPECT_EQ(p.book.List(IdentityOf(p.temp.Path("link"))).size(), 1u);
             p.Install("second", "link");
             EXPECT_EQ(p.book.List(IdentityOf(p.Game(""))).size(), 2u);
         }},
#endif
    };
    for (const auto& [how, second] : cases) {
        SCOPED_TRACE(how);
        Receipts pass;
        pass.temp.AddFile("first/shared.u", "same");
        pass.temp.AddFile("first/other.u", "mine");
        pass.temp.AddFile("second/shared.u", "same");
        fs::last_write_time(NativePath(pass.Add("../second/shared.u")),
                            fs::last_write_time(NativePath(pass.Add("../first/shared.u"))));
        const StoredReceipt first = pass.Install("first");
        const std::vector<StoredReceipt> asked = pass.book.List();
        second(pass);
        const StoredReceipt later = *pass.book.Find(pass.installer.LastReceiptName());

        const RemovalResult result = pass.Remove(first, asked);
        EXPECT_EQ(pass.Kept(result),
                  "System/shared.u: needed by the add-on from " + pass.temp.Path("second") + ";");
        EXPECT_EQ(pass.Status(first), ReceiptStatus::Removed);
        EXPECT_EQ(test::NamesIn(pass.Game("System")), std::vector<std::string>{"shared.u"});
        EXPECT_EQ(pass.Remove(later, pass.book.List()).Line(),
                  "Removed - 1 File(s) deleted - 0 File(s) kept!");
        EXPECT_EQ(test::NamesIn(pass.Game("System")), std::vector<std::string>{});
    }
}

// A receipt that cannot be read may name any file: while one is in the book nothing is deleted,
// and the refusal names it. It is never removed itself.
TEST(Removal, IsBlockedByAReceiptThatCannotBeRead) {
    const std::vector<std::pair<std::function<std::string(std::string)>, ReceiptStatus>> cases = {
        {[](std::string text) { return text.substr(0, text.size() / 2); }, ReceiptStatus::Damaged},
        {[](std::string text) { return Replaced(text, "\"written\"", "\"kept\""); },
         ReceiptStatus::Damaged},
        {[](std::string text) { return Replaced(text, "\"version\":2", "\"version\":3"); },
         ReceiptStatus::UnknownVersion},
    };
    for (const auto& [damage, status] : cases) {
        Receipts pass;
        pass.temp.AddFile("one/a.u");
        pass.temp.AddFile("two/b.u");
        const StoredReceipt one = pass.Install("one");
        const StoredReceipt two = pass.Install("two");
        pass.Edit(two, damage);
        EXPECT_EQ(pass.Status(two), status);

        for (const StoredReceipt& receipt : {one, two}) {
            const RemovalResult result = pass.Remove(receipt);
            EXPECT_NE(result.problem.find("the receipt " + two.name + " cannot be read ("),
                      std::string::npos)
                << result.problem;
            EXPECT_EQ(pass.Status(receipt),
                      receipt.name == one.name ? ReceiptStatus::InForce : status);
        }
        const StoredReceipt current = *pass.book.Find(one.name);
        EXPECT_NE(PlanRemoval(pass.book, current, pass.book.List()).blocked, "");
        EXPECT_TRUE(test::Exists(pass.Game("System/a.u")));
        EXPECT_TRUE(test::Exists(pass.Game("System/b.u")));
    }
}

// A hand-edited receipt never reaches outside its game folder, even to a file exactly as written.
TEST(Removal, KeepsTargetsOutsideTheGameFolder) {
    const std::vector<std::pair<std::string, std::string>> edits = {
        {"\"target\":\"System/a.u\"", "\"target\":\"System/../../victim/a.u\""},
        {"\"target\":\"System/a.u\"", "\"target\":\"../victim/a.u\""},
        {"\"target\":\"System/a.u\"", "\"target\":\"VICTIM/a.u\""},
        {"\"version\":2", "\"version\":1"},  // a version 1 target must start with its game folder
    };
    for (const auto& [from, to] : edits) {
        SCOPED_TRACE(to);
        Receipts pass;
        pass.temp.AddFile("add/a.u");
        const StoredReceipt receipt = pass.Install("add");
        fs::create_directory(NativePath(pass.temp.Path("victim")));
        fs::copy_file(NativePath(pass.Game("System/a.u")),
                      NativePath(pass.temp.Path("victim/a.u")));
        fs::last_write_time(NativePath(pass.temp.Path("victim/a.u")),
                            fs::last_write_time(NativePath(pass.Game("System/a.u"))));
        pass.Edit(receipt, [&](std::string text) { return Replaced(text, from, to); });

        const RemovalResult result = pass.Remove(receipt);
        EXPECT_NE(pass.Kept(result).find("outside the game folder"), std::string::npos)
            << pass.Kept(result);
        EXPECT_TRUE(test::Exists(pass.temp.Path("victim/a.u")));
    }
}

#ifndef _WIN32  // Wine makes no links
// A sub-folder moved away and swapped for a link while its files are being deleted: the files
// still to go are kept, where the folder went.
TEST(Removal, StaysInTheGameFolderWhenASubFolderIsSwappedMidway) {
    Receipts pass;
    pass.temp.AddFile("add/a.rv2");
    pass.temp.AddFile("add/b.rv2");
    const Receipt receipt = pass.Install("add").receipt;
    GameFiles game(receipt.game);
    EXPECT_EQ(game.Check(receipt.files[0], Scrutiny::WholeThenDelete).look, Look::Deleted);
    fs::rename(pass.Game("Maps"), pass.temp.Path("elsewhere"));
    fs::create_symlink(pass.temp.Path("elsewhere"), pass.Game("Maps"));
    game.RecheckFolders();  // as before each batch of deletions
    EXPECT_EQ(game.Check(receipt.files[1], Scrutiny::WholeThenDelete).look, Look::Outside);
    EXPECT_EQ(test::NamesIn(pass.temp.Path("elsewhere")), std::vector<std::string>{"b.rv2"});
}
#endif

#ifndef _WIN32  // thousands of files: slow under Wine, and the logic is the same
// A receipt large enough to be counted while it is read is counted in the game folder its head
// names in the end, also when the head named another before the files. Written again, a piece at
// a time, and read whole, it holds the same files.
TEST(Receipts, AreCountedWhileReadInTheGameFolderNamedLast) {
    Receipts pass;
    pass.temp.AddFile("other/Maps/.keep");
    Receipt receipt{"t", "", IdentityOf(pass.temp.Path("other")), "RV2004", "/a", false, {}};
    for (int n = 0; n < 5000; ++n) {
        const std::string target = "Maps/f" + std::to_string(n) + ".rv2";
        pass.temp.AddFile("game/" + target);
        const platform::FileFacts facts = platform::LookAt(pass.Game(target));
        receipt.files.push_back({"/a/" + std::string(200, 'f'),  // over a megabyte in all
                                 target,
                                 false,
                                 "Maps",
                                 Outcome::Written,
                                 facts.size,
                                 facts.modified_ns,
                                 "0123456789abcdef",
                                 {},
                                 false});
    }
    const GameIdentity last = IdentityOf(pass.Game(""));
    std::string text = ToJson(receipt);
    text.replace(text.rfind("]}"), 2,
                 R"(],"game_identity":{"path":")" + last.path + R"(","device":)" +
                     std::to_string(last.device) + R"(,"node":)" + std::to_string(last.node) +
                     "}}");
    pass.temp.AddFile("receipts/x.json", text);
    const StoredReceipt counted = pass.book.List({}, nullptr, Reading::Counted).at(0);
    EXPECT_EQ(counted.count.written, 5000);
    EXPECT_EQ(counted.count.still_as_written, 5000);

    std::optional<StoredReceipt> whole = pass.book.Find("x.json");
    ASSERT_TRUE(whole && whole->receipt.files.size() == 5000);
    whole->receipt.files.back().deleted = true;
    ASSERT_EQ(pass.book.Update(*whole), "");
    EXPECT_EQ(pass.book.Find("x.json")->receipt.files, whole->receipt.files);
}
#endif

// A removal stopped after recording one deletion, and after deleting one more without recording
// it, finishes the job when run again. Names that are not UTF-8 are kept as they are.
TEST(Removal, FinishesAnInterruptedRun) {
    Receipts pass;
    const bool any_bytes = platform::kPathSeparator == '/';
    const std::string odd = any_bytes ? "\xff\xfe.u" : "c.u";
    for (const std::string& name : {std::string("a.u"), std::string("b.u"), odd}) {
        pass.temp.AddFile("add/" + name);
    }
    StoredReceipt receipt = pass.Install("add");
    fs::remove(NativePath(pass.Game("System/a.u")));
    receipt.receipt.files[0].deleted = true;
    ASSERT_EQ(pass.book.Update(receipt), "");
    fs::remove(NativePath(pass.Game("System/b.u")));

    const RemovalResult result = pass.Remove(receipt);
    EXPECT_EQ(result.Line(), "Removed - 2 File(s) deleted - 1 File(s) kept!");
    EXPECT_EQ(pass.Kept(result), "System/b.u: already gone;");
    EXPECT_EQ(test::NamesIn(pass.Game("System")), std::vector<std::string>{});
    EXPECT_EQ(pass.Status(receipt), ReceiptStatus::Removed);
}

// Writing the same add-on into the same game folder again leaves one receipt in force that names
// everything the add-on wrote, so that removing it takes all of it back.
TEST(Receipts, TheSameAddOnWrittenAgainSupersedesItsReceipt) {
    Receipts pass;
    pass.temp.AddFile("add/a.u");
    const StoredReceipt first = pass.Install("add");
    pass.temp.AddFile("add/b.u");
    const StoredReceipt second = pass.Install("add");
    EXPECT_EQ(pass.Status(first), ReceiptStatus::Removed);
    EXPECT_EQ(pass.Remove(second).Line(), "Removed - 2 File(s) deleted - 0 File(s) kept!");
    EXPECT_EQ(test::NamesIn(pass.Game("System")), std::vector<std::string>{});
}

// A file named ahead of its row's copies needs no line of its own before its copy; a second
// add-on file for the same name, copied when the first one's copy failed, is named on its own;
// one found there when its copy came is not taken for the pass's own after a crash.
TEST(Receipts, TheJournalNamesAheadAndOnItsOwnWhatItMustName) {
    Receipts r;
    r.temp.AddFiles({"add/first/x.rv2", "add/second/x.rv2", "add/y.rv2", "game/Maps/.keep"});
    const auto file = [&r](const std::string& source, const std::string& name) {
        PassFile named;
        named.addon_path = r.temp.Path("add/" + source);
        named.category = Category::Maps;
        named.target_path = r.temp.Path("game/Maps/" + name);
        return named;
    };
    const auto journal_text = [&r] {
        std::string text;
        for (const std::string& name : test::NamesIn(r.temp.Path("receipts"))) {
            text +=
                name.ends_with(".journal") ? test::ReadWhole(r.temp.Path("receipts/" + name)) : "";
        }
        return text;
    };
    {
        ReceiptJournal journal(r.temp.Path("receipts"));  // ends as if its process was killed
        const PassRecord pass{true, r.temp.Path("game"), r.temp.Path("add"), {}};
        ASSERT_EQ(journal.Begin(pass, "RV2004", {}), "");
        journal.IntendAhead(
            {file("first/x.rv2", "x.rv2"), file("second/x.rv2", "x.rv2"), file("y.rv2", "y.rv2")},
            [] {});
        EXPECT_EQ(journal.Intend(file("first/x.rv2", "x.rv2")), "");
        EXPECT_NE(journal_text().find("first"), std::string::npos);
        EXPECT_EQ(journal_text().find("second"), std::string::npos);
        EXPECT_EQ(journal.Intend(file("second/x.rv2", "x.rv2")), "");
        EXPECT_NE(journal_text().find("second"), std::string::npos);
        r.temp.AddFile("game/Maps/y.rv2");  // the same content as the add-on's, from elsewhere
        PassFile there = file("y.rv2", "y.rv2");
        there.state = FileState::AlreadyThere;
        journal.AlreadyThere(there);
    }
    const std::vector<StoredReceipt> recovered = r.book.List();
    ASSERT_EQ(recovered.size(), 1u);
    r.Remove(recovered[0]);
    EXPECT_TRUE(test::Exists(r.Game("Maps/y.rv2")));
}

// Without a data folder the write still runs, and says that it kept no receipt.
TEST(Receipts, WithoutADataFolderTheWriteSaysItKeptNone) {
    test::Pass pass;
    ReceiptJournal nowhere{""};
    pass.installer.SetJournal(&nowhere);
    pass.temp.AddFile("add/a.u");
    pass.installer.cmd_write_Click();
    EXPECT_EQ(pass.Status(), "Ready to play - 1 File(s) written!");
    EXPECT_NE(pass.ToolTip().find("No receipt was saved, so this add-on cannot be removed by this "
                                  "program: there is no data folder"),
              std::string::npos)
        << pass.ToolTip();
}

}  // namespace
}  // namespace rv
