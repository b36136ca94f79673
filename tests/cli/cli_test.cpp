// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "cli/run_command.h"
#include "core/pass_fixture.h"
#include "edition/edition_table.h"
#include "platform/registry.h"
#include "support/test_registry.h"

namespace rv {
namespace {

// An add-on with one file the game folder lacks and one it has; RV2004 registered there.
struct CommandLineRun : test::Pass {
    CommandLineRun() {
        temp.AddFolder("bare/System");
        temp.AddFile("add/a.rv2");
        temp.AddFile("add/c.u");
        temp.AddFile("game/System/c.u");
        registry.Set(std::string(kRV2004Texts.registry_key), "Folder", platform::kRegSz,
                     temp.Path("game") + '\0');
    }
    // Runs the arguments, with ADD, GAME and BARE standing for the folders.
    int Run(std::vector<std::string> arguments, const std::string& answer = "") {
        for (std::string& argument : arguments) {
            for (const auto& [token, folder] :
                 {std::pair{"ADD", "add"}, {"GAME", "game"}, {"BARE", "bare"}}) {
                if (argument.starts_with(token)) {
                    argument = temp.Path(folder + argument.substr(std::strlen(token)));
                }
            }
        }
        std::istringstream in(answer);
        out.str("");
        err.str("");
        const auto backend = platform::OpenSystemRegistry();
        Console console{in, out, err, *backend, temp.Path("receipts")};
        return RunCommandLine(arguments, console);
    }

    test::TestRegistry registry;
    std::ostringstream out, err;
};

TEST(CommandLine, ListsAndRemovesAfterAskingOnce) {
    CommandLineRun run;
    ASSERT_EQ(run.Run({"--write", "ADD", "--game", "GAME"}), 0);
    const std::string out = run.out.str();
    const std::string name =
        out.substr(out.find("Receipt: ") + 9, out.size() - out.find("Receipt: ") - 10);
    const std::string written = run.temp.Path("game/Maps/a.rv2");
    EXPECT_EQ(run.Run({"--list", "--game", "GAME/../game"}), 0);  // another spelling, one ledger
    EXPECT_NE(run.out.str().find(name + "  installed"), std::string::npos) << run.out.str();

    EXPECT_EQ(run.Run({"--list", "--game", "GAME"}), 0);
    EXPECT_NE(run.out.str().find(name + "  installed"), std::string::npos) << run.out.str();
    EXPECT_NE(run.out.str().find("1 File(s) written, 1 still as written"), std::string::npos);
    EXPECT_EQ(run.Run({"--list", "--game", "BARE"}), 0);
    EXPECT_EQ(run.out.str(), "");

    EXPECT_EQ(run.Run({"--remove", name}, "n\n"), 1);
    EXPECT_NE(run.out.str().find("  delete Maps/a.rv2\nDelete 1 File(s)? [y/N] Nothing"),
              std::string::npos)
        << run.out.str();
    EXPECT_TRUE(test::Exists(written));

    EXPECT_EQ(run.Run({"--remove", name}, "y\n"), 0);
    EXPECT_NE(run.out.str().find("Removed - 1 File(s) deleted - 0 File(s) kept!"),
              std::string::npos);
    EXPECT_FALSE(test::Exists(written));
    EXPECT_TRUE(test::Exists(run.temp.Path("game/System/c.u")));
    EXPECT_EQ(run.Run({"--list", "--json"}), 0);
    EXPECT_NE(run.out.str().find("\"status\": \"removed\""), std::string::npos);
    EXPECT_EQ(run.Run({"--remove", "no-such"}), 2);
}

}  // namespace
}  // namespace rv
