// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "core/pass_fixture.h"
#include "receipts/receipt_journal.h"
#include "receipts/removal.h"

namespace rv {
namespace {

namespace fs = std::filesystem;

// A game and add-on folder whose write passes leave receipts in a folder of their own.
struct Receipts : test::Pass {
    Receipts() { installer.Journal = &journal; }
    ReceiptJournal journal{temp.Path("receipts")};
    ReceiptBook book{temp.Path("receipts")};

    // Writes the add-on folder's files and returns the pass's receipt.
    StoredReceipt Install(const std::string& addon) {
        installer.AddOnFolder = temp.Path(addon);
        installer.cmd_write_Click();
        return *book.Find(installer.LastReceiptName());
    }
    RemovalResult Remove(const StoredReceipt& receipt) {
        StoredReceipt current = *book.Find(receipt.name);
        return CarryOutRemoval(book, current, book.List());
    }
    std::string Kept(const RemovalResult& result) const {
        std::string text;
        for (const KeptFile& file : result.kept) {
            std::string target = file.target.substr(Game("").size());
            std::replace(target.begin(), target.end(), platform::kPathSeparator, '/');
            text += target + ": " + file.reason + ";";
        }
        return text;
    }
};

// A written file is deleted only while it is exactly as written; otherwise it is kept with the
// reason, and the receipt is done with either way.
TEST(Removal, DeletesOnlyWhatIsStillAsWritten) {
    const std::vector<std::pair<std::string, std::function<void(const std::string&)>>> cases = {
        {"", [](const std::string&) {}},
        {"changed since it was written",  // same size, time put back: only the hash tells
         [](const std::string& path) {
             const auto time = fs::last_write_time(path);
             std::ofstream(path, std::ios::binary) << "DATA";
             fs::last_write_time(path, time);
         }},
        {"changed since it was written",
         [](const std::string& path) {
             fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(2));
         }},
        {"already gone", [](const std::string& path) { fs::remove(path); }},
#ifndef _WIN32  // Wine makes no links
        {"changed since it was written",
         [](const std::string& path) {
             fs::rename(path, path + ".old");
             fs::create_symlink(path + ".old", path);
         }},
#endif
    };
    for (const auto& [reason, tamper] : cases) {
        SCOPED_TRACE(reason);
        const bool deleted = reason.empty();
        Receipts pass;
        pass.temp.AddFile("add/a.rv2");
        pass.temp.AddFile("add/b.utx");
        const StoredReceipt receipt = pass.Install("add");
        tamper(pass.Game("Maps/a.rv2"));

        const RemovalResult result = pass.Remove(receipt);
        EXPECT_EQ(result.Line(), deleted ? "Removed - 2 File(s) deleted - 0 File(s) kept!"
                                         : "Removed - 1 File(s) deleted - 1 File(s) kept!");
        EXPECT_EQ(pass.Kept(result), deleted ? "" : "Maps/a.rv2: " + reason + ";");
        EXPECT_EQ(test::Exists(pass.Game("Maps/a.rv2")), reason.starts_with("changed"));
        EXPECT_FALSE(test::Exists(pass.Game("Textures/b.utx")));
        EXPECT_EQ(pass.book.Find(receipt.name)->status, ReceiptStatus::Removed);
    }
}

// The second add-on finds one file identical and one different: removing the first keeps the
// identical one while the second is in force, and takes it once the second is gone.
TEST(Removal, KeepsWhatAnotherAddOnReliesOn) {
    Receipts pass;
    pass.temp.AddFile("first/shared.u", "same");
    pass.temp.AddFile("first/other.u", "mine");
    const StoredReceipt first = pass.Install("first");
    pass.temp.AddFile("second/SHARED.u", "same");  // found there as Wine finds it
    pass.temp.AddFile("second/other.u", "your");
    pass.temp.AddFile("second/more.u", "more");
    // A twin in other letters, made outside Wine where names may be: Wine opens the exact name.
    const bool twins = platform::kPathSeparator == '/';
    if (twins) {
        pass.temp.AddFile("game/System/OTHER.u", "your");
    }
    const StoredReceipt second = pass.Install("second");
    if (twins) {
        fs::remove(pass.Game("System/OTHER.u"));
    }

    std::string outcomes;
    for (const ReceiptFile& file : second.receipt.files) {
        outcomes += RV2003_2004_Add_On_Installer::SplitFileFromPath(file.source) + "=" +
                    std::to_string(static_cast<int>(file.outcome)) + " ";
    }
    EXPECT_EQ(outcomes, "more.u=0 other.u=2 SHARED.u=1 ");

    RemovalResult result = pass.Remove(first);
    EXPECT_EQ(result.Line(), "Removed - 1 File(s) deleted - 1 File(s) kept!");
    EXPECT_EQ(pass.Kept(result),
              "System/shared.u: needed by the add-on from " + pass.temp.Path("second") + ";");
    EXPECT_EQ(pass.book.Find(first.name)->status, ReceiptStatus::InForce);

    EXPECT_EQ(pass.Remove(second).Line(), "Removed - 1 File(s) deleted - 0 File(s) kept!");
    EXPECT_EQ(pass.Remove(first).Line(), "Removed - 2 File(s) deleted - 0 File(s) kept!");
    EXPECT_EQ(test::NamesIn(pass.Game("System")), std::vector<std::string>{});
}

// A removal stopped after recording one deletion, and after deleting one more without recording
// it, finishes the job when run again.
TEST(Removal, FinishesAnInterruptedRun) {
    Receipts pass;
    for (const char* name : {"a.u", "b.u", "c.u"}) {
        pass.temp.AddFile(std::string("add/") + name);
    }
    StoredReceipt receipt = pass.Install("add");
    fs::remove(pass.Game("System/a.u"));
    receipt.receipt.files[0].deleted = true;
    ASSERT_EQ(pass.book.Update(receipt), "");
    fs::remove(pass.Game("System/b.u"));

    const RemovalResult result = pass.Remove(receipt);
    EXPECT_EQ(result.Line(), "Removed - 2 File(s) deleted - 1 File(s) kept!");
    EXPECT_EQ(pass.Kept(result), "System/b.u: already gone;");
    EXPECT_EQ(test::NamesIn(pass.Game("System")), std::vector<std::string>{});
    EXPECT_EQ(pass.book.Find(receipt.name)->status, ReceiptStatus::Removed);
}

// A receipt that is not whole, or of another version, is listed as such and never acted on.
TEST(Removal, RefusesDamagedReceipts) {
    const std::vector<std::pair<std::function<std::string(std::string)>, ReceiptStatus>> cases = {
        {[](std::string text) { return text.substr(0, text.size() / 2); }, ReceiptStatus::Damaged},
        {[](std::string text) { return text.replace(text.find("\"written\""), 9, "\"kept\""); },
         ReceiptStatus::Damaged},
        {[](std::string text) {
             return text.replace(text.find("\"version\":1"), 11, "\"version\":2");
         },
         ReceiptStatus::UnknownVersion},
    };
    for (const auto& [damage, status] : cases) {
        Receipts pass;
        pass.temp.AddFile("add/a.u");
        const StoredReceipt receipt = pass.Install("add");
        const std::string path = pass.temp.Path("receipts/" + receipt.name);
        const std::string text = test::ReadWhole(path);
        std::ofstream(path, std::ios::binary) << damage(text);

        StoredReceipt found = pass.book.List().at(0);
        EXPECT_EQ(found.status, status) << damage(text);
        EXPECT_NE(CarryOutRemoval(pass.book, found, pass.book.List()).problem, "");
        EXPECT_TRUE(test::Exists(pass.Game("System/a.u")));
    }
}

}  // namespace
}  // namespace rv
