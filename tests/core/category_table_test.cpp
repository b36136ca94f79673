#include "core/category_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/file_counters.h"
#include "platform/file_system.h"

namespace rv {
namespace {

TEST(CategoryTable, MatchSuffixOfAPattern) {
    struct Case {
        std::string pattern;
        std::string suffix;
    };
    const std::vector<Case> cases = {
        {"*.ukx", "UKX"}, {"*.u", "U"},       {"  *.Ini ", "INI"}, {"*.tar.gz", "TAR.GZ"},
        {"rv2", "RV2"},   {"x.ukx", "X.UKX"}, {"*", "*"},          {"   ", ""},
        {"", ""},         {"*.", ""},         {"*.Ünï", "ÜNï"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchSuffix(c.pattern), c.suffix) << "pattern '" << c.pattern << "'";
    }
}

TEST(CategoryTable, RowsInReadAndWriteOrder) {
    using enum Category;
    struct Row {
        std::string suffix;
        Category category;
    };
    const std::vector<Row> read = {{"UKX", Animations}, {"RV2", Maps},         {"OGG", Music},
                                   {"UAX", Sounds},     {"USX", StaticMeshes}, {"U", System},
                                   {"INI", System},     {"INT", System},       {"UCL", System},
                                   {"DET", System},     {"UPL", System},       {"DLL", System},
                                   {"UTX", Textures}};
    std::vector<Row> write = read;
    std::swap(write[10], write[11]);
    for (std::size_t i = 0; i < kRowCount; ++i) {
        EXPECT_EQ(MatchSuffix(kReadOrder[i].pattern), read[i].suffix) << "read row " << i + 1;
        EXPECT_EQ(kReadOrder[i].category, read[i].category) << "read row " << i + 1;
        EXPECT_EQ(MatchSuffix(kWriteOrder[i].pattern), write[i].suffix) << "write step " << i + 1;
        EXPECT_EQ(kWriteOrder[i].category, write[i].category) << "write step " << i + 1;
    }
}

// A name may match one row only: no suffix may end another.
TEST(CategoryTable, NoSuffixEndsAnother) {
    for (const CategoryRow& a : kReadOrder) {
        for (const CategoryRow& b : kReadOrder) {
            const std::string x = MatchSuffix(a.pattern);
            const std::string y = MatchSuffix(b.pattern);
            if (x != y && x.size() >= y.size()) {
                EXPECT_NE(x.substr(x.size() - y.size()), y) << x << " ends in " << y;
            }
        }
    }
}

TEST(CategoryTable, SubFolderTextsUseThePlatformSeparator) {
    const std::string sep(1, platform::kPathSeparator);
    const std::vector<std::pair<Category, std::string>> cases = {
        {Category::Animations, "Animations"},
        {Category::Maps, "Maps"},
        {Category::Music, "Music"},
        {Category::Sounds, "Sounds"},
        {Category::StaticMeshes, "StaticMeshes"},
        {Category::System, "System"},
        {Category::Textures, "Textures"}};
    for (const auto& [category, name] : cases) {
        EXPECT_EQ(SubFolderText(category), sep + name + sep);
        EXPECT_EQ(Info(category).category, category) << "table indexed out of order";
    }
}

TEST(FileCounters, CountsSumsAndClearsPerGroupAndCategory) {
    FileCounters counters;
    counters.Increment(CounterKind::Read, Category::Maps);
    counters.Increment(CounterKind::Read, Category::Maps);
    counters.Increment(CounterKind::Read, Category::Textures);
    counters.Increment(CounterKind::Exist, Category::Maps);
    EXPECT_EQ(counters.Increment(CounterKind::Ready, Category::System), 1);

    EXPECT_EQ(counters.Total(CounterKind::Read), 0) << "a total is only set by a sum";
    EXPECT_EQ(counters.SumIntoTotal(CounterKind::Read), 3);
    EXPECT_EQ(counters.Total(CounterKind::Read), 3);
    EXPECT_EQ(counters.Count(CounterKind::Read, Category::Maps), 2);
    EXPECT_EQ(counters.Count(CounterKind::Exist, Category::Maps), 1);
    EXPECT_EQ(counters.Count(CounterKind::Written, Category::Maps), 0);

    counters.Clear(CounterKind::Read, Category::Maps);
    EXPECT_EQ(counters.Count(CounterKind::Read, Category::Maps), 0);
    EXPECT_EQ(counters.Count(CounterKind::Read, Category::Textures), 1);
    EXPECT_EQ(counters.Total(CounterKind::Read), 3) << "clearing a count leaves the total";
    counters.ClearTotal(CounterKind::Read);
    EXPECT_EQ(counters.Total(CounterKind::Read), 0);
    EXPECT_EQ(counters.Count(CounterKind::Ready, Category::System), 1);
}

}  // namespace
}  // namespace rv
