// SPDX-License-Identifier: MIT
#include "wine/wine_hive.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace rv::wine {
namespace {

using namespace std::string_literals;

const std::string kHead = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";
const std::string kSection = "[Software\\\\Zentor Technology\\\\Installed Apps\\\\RV2004] 1700\n";
const std::string kKey = "Software\\Zentor Technology\\Installed Apps\\RV2004";

const HiveValue* ValueIn(const std::optional<WineHive>& hive, const std::string& name) {
    const HiveKey* key = hive ? hive->FindKey(kKey) : nullptr;
    return key != nullptr ? WineHive::FindValue(*key, name) : nullptr;
}

// Each value form with its type and data; texts compared as UTF-8, other data byte for byte.
TEST(WineHive, ReadsEveryValueFormWithItsRealTypeAndData) {
    const std::vector<std::tuple<std::string, std::string, std::uint32_t, std::string>> cases = {
        {R"("Folder"="say \"hi\"")", "Folder", 1, "say \"hi\"\0"s},
        {R"("Folder"="R\x00e4e\xe9")", "Folder", 1,
         "R\xC3\xA4"
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
    for (const auto& [lines, name, type, data] : cases) {
        SCOPED_TRACE(lines);
        const auto hive = WineHive::Parse(kHead + kSection + lines + "\n");
        const HiveValue* value = ValueIn(hive, name);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->type, type);
        const bool text = type == 1 || type == 2 || type == 7;
        EXPECT_EQ(text ? Utf16LeToUtf8(value->data.data(), value->data.size())
                       : std::string(value->data.begin(), value->data.end()),
                  data);
    }
}

// A line it cannot understand is skipped and counted; the lines after it still count.
TEST(WineHive, SkipsWhatItCannotUnderstandWithoutLosingTheRest) {
    for (const std::string line :
         {R"("Folder"="no end)", R"("Folder"="trailing"x)", R"("Folder)", R"("Folder"dword:1)",
          "\"Folder\"=dword:", "\"Folder\"=dword:123456789", "\"Folder\"=dword:zz",
          "\"Folder\"=hex:1g", "\"Folder\"=hex:123", "\"Folder\"=hex:01;02", "\"Folder\"=hex(:01",
          "\"Folder\"=hex(1:01", "\"Folder\"=text", "\"Folder\"=\"a\\", "garbage"}) {
        SCOPED_TRACE(line);
        const auto hive = WineHive::Parse(kHead + kSection + line + "\n\"Next\"=\"ok\"\n");
        EXPECT_EQ(ValueIn(hive, "Folder"), nullptr);
        EXPECT_NE(ValueIn(hive, "Next"), nullptr);
        EXPECT_EQ(hive->SkippedLines(), 1u);
    }
    EXPECT_EQ(ValueIn(WineHive::Parse(kHead + kSection + "\"Folder\"=hex:01,\\"), "Folder"),
              nullptr)
        << "a list the file ends in is dropped";
}

// Only Wine's exact header line makes a hive; "#arch=" counts only before the first section.
TEST(WineHive, AcceptsOnlyWinesHeaderAndTakesTheArchitectureFromTheHead) {
    const std::vector<std::pair<std::string, std::optional<HiveArch>>> texts = {
        {"WINE REGISTRY Version 2", HiveArch::Unknown},
        {"WINE REGISTRY Version 2\r\n#arch=win64\r\n[A]\r\n", HiveArch::Win64},
        {kHead + "#arch=win32\n" + kSection, HiveArch::Win32},
        {kHead + kSection + "#arch=win64\n", HiveArch::Unknown},
        {"WINE REGISTRY Version 1\n", std::nullopt},
        {"WINE REGISTRY Version 23\n", std::nullopt},
        {"WINE REGISTRY Version 2 \n", std::nullopt},
        {"\nWINE REGISTRY Version 2\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, arch] : texts) {
        SCOPED_TRACE(text);
        const auto hive = WineHive::Parse(text);
        EXPECT_EQ(hive ? std::optional(hive->Arch()) : std::nullopt, arch);
    }
}

TEST(WineHive, FindsKeysWithoutRegardToCaseAndKnowsTheirParents) {
    const auto hive = WineHive::Parse(
        kHead + kSection + "\"A\"=\"1\"\n[Software\\\\Other\\\\K\\[1\\]] 5\n#time=1\n" +
        "[software\\\\zentor technology\\\\installed apps\\\\rv2004]\n\"B\"=\"2\"\n" +
        "[Broken\n\"C\"=\"3\"\n");
    const HiveKey* key = hive->FindKey("SOFTWARE\\ZENTOR TECHNOLOGY\\Installed Apps\\RV2004\\");
    ASSERT_NE(key, nullptr);
    EXPECT_NE(WineHive::FindValue(*key, "a"), nullptr);
    EXPECT_NE(WineHive::FindValue(*key, "b"), nullptr) << "a repeated section adds its values";
    EXPECT_EQ(WineHive::FindValue(*key, "c"), nullptr) << "values of a broken section go nowhere";
    EXPECT_NE(hive->FindKey("Software\\Other\\K[1]"), nullptr);
    for (const auto& [path, exists] : std::vector<std::pair<std::string, bool>>{
             {"Software", true},
             {"software\\zentor technology", true},
             {"Software\\\\Zentor Technology\\", true},
             {"Software\\Zentor", false},
             {"Software\\Zentor Technology\\Installed Apps\\RV2003", false},
             {"Broken", false}}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(hive->KeyExists(path), exists);
        EXPECT_EQ(hive->FindKey(path), nullptr) << "only keys with a section of their own";
    }
}

TEST(WineHive, TakesHugeLinesDeepKeysAndLongListsInFull) {
    std::string deep = "[", list = "\"Big\"=hex:";
    for (int part = 0; part < 100000; ++part) {
        deep += "k\\\\";
    }
    for (int line = 0; line < 50000; ++line) {
        list += "00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,\\\n  ";
    }
    const auto hive = WineHive::Parse(kHead + deep + "end]\n" + kSection + list + "ff\n");
    const HiveValue* big = ValueIn(hive, "Big");
    ASSERT_NE(big, nullptr);
    EXPECT_TRUE(hive->KeyExists("k\\k\\k"));
    EXPECT_EQ(big->data.size(), 50000u * 20 + 1);
    EXPECT_EQ(big->data[20 * 777 + 19], 0x13);
}

}  // namespace
}  // namespace rv::wine
