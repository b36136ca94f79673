#include <windows.h>

#include <gtest/gtest.h>

#include "edition/edition_selection.h"
#include "edition/reg_value_get.h"
#include "support/recording_window.h"
#include "windows/reg_tool.h"

namespace rv {
namespace {

const std::wstring kKey2004 = L"HKLM\\SOFTWARE\\Zentor Technology\\Installed Apps\\RV2004";
const std::string kKey2004Utf8 = "SOFTWARE\\Zentor Technology\\Installed Apps\\RV2004";

// The game's own key, removed from both views at the end. A machine where the game is really
// registered is left alone: the test skips rather than touch that key.
class GameFolderOnWindows : public ::testing::Test {
protected:
    void SetUp() override {
        for (const wchar_t* view : {L"/reg:32", L"/reg:64"}) {
            if (test::RunReg(L"query \"" + kKey2004 + L"\" " + view) == 0) {
                GTEST_SKIP() << "the game is registered on this machine; its key is left alone";
            }
        }
        owns_key_ = true;
    }
    void TearDown() override {
        if (owns_key_) {
            for (const wchar_t* view : {L"/reg:32", L"/reg:64"}) {
                test::RunReg(L"delete \"" + kKey2004 + L"\" /f " + view);
            }
        }
    }
    bool owns_key_ = false;
};

TEST_F(GameFolderOnWindows, StartUpFindsTheFolderThe32BitInstallerRegistered) {
    // C:\Spiele\Рав Ω: a folder outside the ANSI code page.
    const std::wstring folder = L"C:\\Spiele\\\u0420\u0430\u0432 \u03A9";
    const std::string folder_utf8 = "C:\\Spiele\\\xD0\xA0\xD0\xB0\xD0\xB2 \xCE\xA9";
    const std::wstring other = L"C:\\Games\\RV64";
    const struct {
        const char* what;
        std::wstring view32;  // folder written in the 32-bit view, or empty
        std::wstring view64;  // folder written in the 64-bit view, or empty
        std::int32_t result;
        std::string game_folder;
        bool open_game_folder_enabled;
    } cases[] = {
        {"written by a 32-bit installer", folder, L"", 0, folder_utf8, false},
        {"both views: the 32-bit one counts", folder, other, 0, folder_utf8, false},
        {"only the 64-bit view, which the game never reads", L"", other, 2, "", true},
    };
    for (const auto& item : cases) {
        SCOPED_TRACE(item.what);
        for (const wchar_t* view : {L"/reg:32", L"/reg:64"}) {
            test::RunReg(L"delete \"" + kKey2004 + L"\" /f " + view);
        }
        for (const auto& [view, written] :
             {std::pair{L"/reg:32", item.view32}, std::pair{L"/reg:64", item.view64}}) {
            if (!written.empty()) {
                ASSERT_EQ(test::RunReg(L"add \"" + kKey2004 + L"\" /v Folder /t REG_SZ /d \"" +
                                       written + L"\" /f " + view),
                          0u);
            }
        }
        const std::unique_ptr<platform::RegistryBackend> registry = platform::OpenSystemRegistry();

        RegValue value = std::int32_t{7};
        EXPECT_EQ(
            RegValueGet(*registry, platform::kHKeyLocalMachine, kKey2004Utf8, "Folder", value),
            item.result);
        const RegValue expected_value = item.result == 0
                                            ? RegValue{item.game_folder + std::string("\0 ", 2)}
                                            : RegValue{std::int32_t{7}};
        EXPECT_EQ(value, expected_value);

        test::RecordingWindow window;
        RV2003_2004_Add_On_Installer installer(window);
        EditionSelection selection(installer, *registry);
        selection.Form_Load();
        EXPECT_EQ(installer.GameFolder, item.game_folder);
        EXPECT_EQ(window.Enabled("cmd_Open1"), item.open_game_folder_enabled);
        EXPECT_EQ(window.Enabled("cmd_Open2"), !item.open_game_folder_enabled);
    }
}

}  // namespace
}  // namespace rv
