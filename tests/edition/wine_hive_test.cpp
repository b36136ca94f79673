#include "platform/wine_hive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace rv::platform {
namespace {

using namespace std::string_literals;

const std::string kHead = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";
const std::string kSection = "[Software\\\\Zentor Technology\\\\Installed Apps\\\\RV2004] 1700\n";
const std::string kKey = "Software\\Zentor Technology\\Installed Apps\\RV2004";

// The value's data as text: texts converted from UTF-16LE to UTF-8, other types byte for byte.
std::string Shown(const HiveValue& value) {
    if (value.type == 1 || value.type == 2 || value.type == 7) {
        return Utf16LeToUtf8(value.data.data(), value.data.size());
    }
    return std::string(value.data.begin(), value.data.end());
}

struct ValueCase {
    std::string lines;  // below the section line
    std::string name;
    std::uint32_t type;
    std::string data;
};

TEST(WineHive, ReadsEveryValueFormWithItsRealTypeAndData) {
    const std::vector<ValueCase> cases = {
        {R"("Folder"="C:\\Games\\RV2004")", "Folder", 1, "C:\\Games\\RV2004\0"s},
        {R"("Folder"="say \"hi\"")", "Folder", 1, "say \"hi\"\0"s},
        {R"("Folder"="C:\\R\x00e4v\\x")", "Folder", 1, "C:\\R\xC3\xA4v\\x\0"s},
        {R"("Folder"="\x00e9e\xe9")", "Folder", 1,
         "\xC3\xA9"
         "e\xC3\xA9\0"s},
        {R"("Folder"="\xd83d\xde00")", "Folder", 1, "\xF0\x9F\x98\x80\0"s},
        {R"("Folder"="a\nb\rc\td\0e\101")", "Folder", 1, "a\nb\rc\td\0eA\0"s},
        {"\"Folder\"=\"R\xC3\xA4w\"", "Folder", 1, "R\xC3\xA4w\0"s},
        {R"("Folder"=str:"x")", "Folder", 1, "x\0"s},
        {R"("Folder"=str(2):"%ProgramFiles%\\RV")", "Folder", 2, "%ProgramFiles%\\RV\0"s},
        {R"("Folder"=str(7):"a\0b\0")", "Folder", 7, "a\0b\0\0"s},
        {"\"Folder\"=dword:fffffffe", "Folder", 4, "\xFE\xFF\xFF\xFF"s},
        {"\"Folder\"=dword:12", "Folder", 4, "\x12\0\0\0"s},
        {"\"Folder\"=hex:01,ff", "Folder", 3, "\x01\xFF"s},
        {"\"Folder\"=hex:", "Folder", 3, ""},
        {"\"Folder\"=hex(1):43,00,3a,00", "Folder", 1, "C:"},
        {"\"Folder\"=hex(2):43,00,\\\n  3a,00,00,00\n", "Folder", 2, "C:\0"s},
        {"\"Folder\"=hex(7):61,00,00,\\\r\n  00,00,00\r\n", "Folder", 7, "a\0\0"s},
        {"\"Folder\"=hex(100):01", "Folder", 0x100, "\x01"},
        {"@=\"default\"", "", 1, "default\0"s},
        {"\"FOLDER\"=\"upper\"", "folder", 1, "upper\0"s},
        {R"("\x00c4RGER \x0416\x0401"="x")", "\xC3\xA4rger \xD0\xB6\xD1\x91", 1, "x\0"s},
        {"#time=1d9\n\"Folder\"=\"a\"\n\"Folder\"=\"b\"", "Folder", 1, "b\0"s},
        {"\"\\\"q\\\"\"=\"quoted name\"", "\"q\"", 1, "quoted name\0"s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        const auto hive = WineHive::Parse(kHead + kSection + c.lines + "\n");
        ASSERT_TRUE(hive.has_value());
        const HiveKey* key = hive->FindKey(kKey);
        ASSERT_NE(key, nullptr);
        const HiveValue* value = WineHive::FindValue(*key, c.name);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->type, c.type);
        EXPECT_EQ(Shown(*value), c.data);
    }
}

TEST(WineHive, SkipsWhatItCannotUnderstandWithoutLosingTheRest) {
    const std::vector<std::string> bad_lines = {
        R"("Folder"="no end)",  R"("Folder"="trailing"x)", R"("Folder)",
        R"("Folder"dword:1)",   "\"Folder\"=dword:",       "\"Folder\"=dword:123456789",
        "\"Folder\"=dword:zz",  "\"Folder\"=hex:1g",       "\"Folder\"=hex:123",
        "\"Folder\"=hex:01;02", "\"Folder\"=hex(:01",      "\"Folder\"=hex(1:01",
        "\"Folder\"=text",      "\"Folder\"=\"a\\",        "garbage",
    };
    for (const auto& line : bad_lines) {
        SCOPED_TRACE(line);
        const auto hive = WineHive::Parse(kHead + kSection + line + "\n\"Next\"=\"ok\"\n");
        ASSERT_TRUE(hive.has_value());
        const HiveKey* key = hive->FindKey(kKey);
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(WineHive::FindValue(*key, "Folder"), nullptr);
        ASSERT_NE(WineHive::FindValue(*key, "Next"), nullptr);
        EXPECT_EQ(hive->SkippedLines(), 1u);
    }
}

TEST(WineHive, DropsAListTheFileEndsIn) {
    const auto hive = WineHive::Parse(kHead + kSection + "\"Folder\"=hex:01,\\");
    ASSERT_TRUE(hive.has_value());
    EXPECT_EQ(WineHive::FindValue(*hive->FindKey(kKey), "Folder"), nullptr);
}

TEST(WineHive, AcceptsOnlyWinesHeader) {
    const std::vector<std::pair<std::string, bool>> texts = {
        {"WINE REGISTRY Version 2\n", true},
        {"WINE REGISTRY Version 2\r\n[A]\r\n", true},
        {"WINE REGISTRY Version 2", true},
        {"WINE REGISTRY Version 1\n", false},
        {"WINE REGISTRY Version 23\n", false},
        {"WINE REGISTRY Version 2 \n", false},
        {"REGEDIT4\n", false},
        {"\nWINE REGISTRY Version 2\n", false},
        {"", false},
    };
    for (const auto& [text, accepted] : texts) {
        SCOPED_TRACE(text);
        EXPECT_EQ(WineHive::Parse(text).has_value(), accepted);
    }
}

TEST(WineHive, TellsTheArchitectureOnlyFromTheHeadOfTheFile) {
    const std::vector<std::pair<std::string, HiveArch>> texts = {
        {kHead + "#arch=win64\n" + kSection, HiveArch::Win64},
        {kHead + "#arch=win32\n" + kSection, HiveArch::Win32},
        {kHead + kSection, HiveArch::Unknown},
        {kHead + kSection + "#arch=win64\n", HiveArch::Unknown},
    };
    for (const auto& [text, arch] : texts) {
        EXPECT_EQ(WineHive::Parse(text)->Arch(), arch);
    }
}

TEST(WineHive, FindsKeysWithoutRegardToCaseAndKnowsTheirParents) {
    const auto hive = WineHive::Parse(
        kHead + kSection + "\"A\"=\"1\"\n" + "[Software\\\\Other\\\\K\\[1\\]] 5\n#time=1\n" +
        "[software\\\\zentor technology\\\\installed apps\\\\rv2004]\n" + "\"B\"=\"2\"\n" +
        "[Broken\n\"C\"=\"3\"\n");
    ASSERT_TRUE(hive.has_value());
    const HiveKey* key = hive->FindKey("SOFTWARE\\ZENTOR TECHNOLOGY\\Installed Apps\\RV2004\\");
    ASSERT_NE(key, nullptr);
    EXPECT_NE(WineHive::FindValue(*key, "a"), nullptr);
    EXPECT_NE(WineHive::FindValue(*key, "b"), nullptr) << "a repeated section adds its values";
    EXPECT_EQ(WineHive::FindValue(*key, "c"), nullptr) << "values of a broken section go nowhere";
    EXPECT_NE(hive->FindKey("Software\\Other\\K[1]"), nullptr);

    const std::vector<std::pair<std::string, bool>> paths = {
        {"Software", true},
        {"software\\zentor technology", true},
        {"Software\\\\Zentor Technology\\", true},
        {"Software\\Zentor", false},
        {"Software\\Zentor Technology\\Installed Apps\\RV2003", false},
        {"Broken", false},
    };
    for (const auto& [path, exists] : paths) {
        SCOPED_TRACE(path);
        EXPECT_EQ(hive->KeyExists(path), exists);
        EXPECT_EQ(hive->FindKey(path), nullptr);
    }
}

TEST(WineHive, TakesHugeLinesDeepKeysAndLongListsInFull) {
    std::string deep = "[";
    for (int part = 0; part < 100000; ++part) {
        deep += "k\\\\";
    }
    std::string list = "\"Big\"=hex:";
    for (int line = 0; line < 50000; ++line) {
        list += "00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,\\\n  ";
    }
    list += "ff\n";
    const auto hive = WineHive::Parse(kHead + deep + "end]\n\"V\"=\"x\"\n" + kSection + list);
    ASSERT_TRUE(hive.has_value());
    EXPECT_TRUE(hive->KeyExists("k\\k\\k"));
    const HiveValue* big = WineHive::FindValue(*hive->FindKey(kKey), "Big");
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big->data.size(), 50000u * 20 + 1);
    EXPECT_EQ(big->data.back(), 0xFF);
    EXPECT_EQ(big->data[20 * 777 + 19], 0x13);
}

// Inputs the fuzzer found worth keeping: each must parse without fault, and be taken as a hive
// exactly when it starts with Wine's header line.
TEST(WineHive, ParsesEveryKeptFuzzInputSafely) {
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(RV_HIVE_CASES_DIR)) {
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream file(entry.path(), std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        const std::string content = text.str();
        std::string first_line = content.substr(0, content.find('\n'));
        if (!first_line.empty() && first_line.back() == '\r') {
            first_line.pop_back();
        }
        const bool has_header = first_line == "WINE REGISTRY Version 2";
        const auto hive = WineHive::Parse(content);
        EXPECT_EQ(hive.has_value(), has_header);
        ++inputs;
    }
    EXPECT_GE(inputs, 5);
}

}  // namespace
}  // namespace rv::platform
