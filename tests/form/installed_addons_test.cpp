// SPDX-License-Identifier: MIT
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/pass_record.h"
#include "form/installed_addons.h"
#include "platform/file_facts.h"
#include "support/temp_folder.h"

namespace rv::test {
namespace {

// A removal runs beside the dialog, which answers meanwhile: while the removal waits for another
// copy of the program it says so and may be closed; after that neither a second removal nor
// closing is taken until the removal's outcome is shown.
TEST(InstalledAddOns, AnswersWhileARemovalRuns) {
    const TempFolder temp;
    constexpr int kFiles = 10000;  // enough to take several answers' time anywhere
    Receipt receipt{"2026-12-07T08:00:00.000Z", temp.Path("game"), {}, "RV2004", "/add", false, {}};
    for (int n = 0; n < kFiles; ++n) {
        const std::string target = "Maps/f" + std::to_string(n) + ".rv2";
        temp.AddFile("game/" + target, std::to_string(n));
        const platform::FileFacts facts = platform::LookAt(temp.Path("game/" + target));
        receipt.files.push_back({"/add/" + target, target, false, "Maps", Outcome::Written,
                                 facts.size, facts.modified_ns,
                                 ContentHash(temp.Path("game/" + target)), {}, false});
    }
    receipt.game = IdentityOf(temp.Path("game"));
    std::string name;
    ASSERT_EQ(ReceiptBook(temp.Path("receipts")).Add(std::move(receipt), name), "");

    InstalledAddOns list(temp.Path("receipts"), temp.Path("game"),
                         [](const ListQuestion&) { return true; });
    auto other_copy = std::make_unique<GameLock>(temp.Path("receipts"),
                                                 IdentityOf(temp.Path("game")), Waiting());
    int waited = 0, answered = 0;
    list.SetAnswering([&](const std::string& what) {
        EXPECT_TRUE(list.Busy());
        if (!what.empty()) {
            EXPECT_EQ(what, kWaitingForLock);
            EXPECT_TRUE(list.MayClose());
            other_copy.reset();  // the other copy is done
            ++waited;
        } else {
            EXPECT_FALSE(list.MayClose());
            ++answered;
        }
        list.Remove(0);  // not taken
        return true;
    });
    list.Remove(0);
    EXPECT_GE(waited, 1);
    EXPECT_GE(answered, 1);
    EXPECT_FALSE(list.Busy());
    EXPECT_THAT(list.Outcome(),
                testing::ElementsAre("Removed - " + std::to_string(kFiles) +
                                     " File(s) deleted - 0 File(s) kept!"));
    EXPECT_EQ(NamesIn(temp.Path("game/Maps")), std::vector<std::string>{});
    EXPECT_THAT(list.Rows().at(0).back(), testing::StartsWith("removed"));
}

}  // namespace
}  // namespace rv::test
