#include "edition/reg_value_get.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/in_memory_registry.h"

namespace rv {
namespace {

using platform::kHKeyLocalMachine;
using test::InMemoryRegistry;
using namespace std::string_literals;

const std::string kKey = "SOFTWARE\\Zentor Technology\\Installed Apps\\RV2004";
const RegValue kUntouched = "as the caller passed it"s;

struct ReadCase {
    const char* name;
    std::function<void(InMemoryRegistry&)> setup;
    std::int32_t result;
    RegValue value;
    std::vector<std::string> calls;
};

const std::string kOpen = "open 0x80000002 " + kKey + " 0x19";

TEST(RegValueGet, ReadsTextsAndNumbersInTheirExactShapeAndKeepsValueOnEveryOtherPath) {
    const std::vector<ReadCase> cases = {
        {"text with NUL: data, NUL, one space",
         [](auto& r) { r.SetText(kKey, "Folder", "C:\\Game\\RV"); },
         0,
         "C:\\Game\\RV\0 "s,
         {kOpen, "query Folder size", "query Folder data 11", "close"}},
        {"empty text with NUL",
         [](auto& r) { r.SetText(kKey, "Folder", ""); },
         0,
         "\0 "s,
         {kOpen, "query Folder size", "query Folder data 1", "close"}},
        {"text without NUL: data and one space",
         [](auto& r) { r.SetText(kKey, "Folder", "C:\\G", false); },
         0,
         "C:\\G "s,
         {kOpen, "query Folder size", "query Folder data 4", "close"}},
        {"empty text without NUL",
         [](auto& r) { r.SetText(kKey, "Folder", "", false); },
         0,
         " "s,
         {kOpen, "query Folder size", "query Folder data 0", "close"}},
        {"number",
         [](auto& r) { r.SetNumber(kKey, "Folder", 2004); },
         0,
         std::int32_t{2004},
         {kOpen, "query Folder size", "query Folder data 4", "close"}},
        {"number with its top bit set is negative",
         [](auto& r) { r.SetNumber(kKey, "Folder", 0xFFFFFFFEu); },
         0,
         std::int32_t{-2},
         {kOpen, "query Folder size", "query Folder data 4", "close"}},
        {"number stored in two bytes",
         [](auto& r) {
             r.SetRaw(kKey, "Folder", platform::kRegDword, {0x34, 0x12});
         },
         0,
         std::int32_t{0x1234},
         {kOpen, "query Folder size", "query Folder data 2", "close"}},
        {"expandable text is not read",
         [](auto& r) {
             r.SetRaw(kKey, "Folder", platform::kRegExpandSz, {'%', 'X', '%', 0});
         },
         0,
         kUntouched,
         {kOpen, "query Folder size", "close"}},
        {"binary is not read",
         [](auto& r) {
             r.SetRaw(kKey, "Folder", platform::kRegBinary, {1, 2});
         },
         0,
         kUntouched,
         {kOpen, "query Folder size", "close"}},
        {"missing key: nothing to close", [](auto&) {}, 2, kUntouched, {kOpen}},
        {"access refused at the open",
         [](auto& r) {
             r.SetText(kKey, "Folder", "C:\\G");
             r.open_fails_with = 5;
         },
         5,
         kUntouched,
         {kOpen}},
        {"missing value: key closed, query's code",
         [](auto& r) { r.SetText(kKey, "Other", "x"); },
         2,
         kUntouched,
         {kOpen, "query Folder size", "close"}},
        {"missing value with a failing close still gives the query's code",
         [](auto& r) {
             r.AddKey(kKey);
             r.close_fails_with = 6;
         },
         2,
         kUntouched,
         {kOpen, "query Folder size", "close"}},
        {"second query of a text fails",
         [](auto& r) {
             r.SetText(kKey, "Folder", "C:\\G");
             r.data_query_fails_with = 234;
         },
         234,
         kUntouched,
         {kOpen, "query Folder size", "query Folder data 5", "close"}},
        {"second query of a number fails",
         [](auto& r) {
             r.SetNumber(kKey, "Folder", 7);
             r.data_query_fails_with = 1;
         },
         1,
         kUntouched,
         {kOpen, "query Folder size", "query Folder data 4", "close"}},
        {"failing close after a read gives the close's code",
         [](auto& r) {
             r.SetText(kKey, "Folder", "C:\\G");
             r.close_fails_with = 6;
         },
         6,
         "C:\\G\0 "s,
         {kOpen, "query Folder size", "query Folder data 5", "close"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        InMemoryRegistry registry;
        c.setup(registry);
        RegValue value = kUntouched;
        const std::int32_t root = kHKeyLocalMachine;
        EXPECT_EQ(RegValueGet(registry, root, kKey, "Folder", value), c.result);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(registry.log, c.calls);
        EXPECT_TRUE(registry.open_handles.empty()) << "a key was left open";
    }
}

TEST(RegValueGet, KeepsAnEmptyValueEmptyWhenNothingIsRead) {
    InMemoryRegistry registry;
    registry.SetRaw(kKey, "Folder", platform::kRegMultiSz, {'a', 0, 0});
    RegValue value;
    EXPECT_EQ(RegValueGet(registry, kHKeyLocalMachine, kKey, "Folder", value), 0);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(value));
}

}  // namespace
}  // namespace rv
