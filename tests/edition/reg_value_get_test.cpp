#include "edition/reg_value_get.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/in_memory_registry.h"

namespace rv {
namespace {

using namespace std::string_literals;
using Bytes = std::vector<std::uint8_t>;

const std::string kKey = "SOFTWARE\\Zentor Technology\\Installed Apps\\RV2004";
const RegValue kUntouched = "as the caller passed it"s;

struct ReadCase {
    const char* name;
    std::optional<std::uint32_t> type;  // none: no "Folder" value in the key
    Bytes data;
    std::int32_t open_fails, data_query_fails, close_fails;
    std::int32_t result;
    RegValue value;
    std::string calls;  // o open, s size query, d data query, c close
};

TEST(RegValueGet, ReadsTextsAndNumbersInTheirExactShapeAndKeepsValueOnEveryOtherPath) {
    const Bytes kText = {'C', ':', '\\', 'G', 'a', 'm', 'e', '\\', 'R', 'V', 0};
    const std::vector<ReadCase> cases = {
        {"text with NUL: data, NUL, space", 1, kText, 0, 0, 0, 0, "C:\\Game\\RV\0 "s, "osdc"},
        {"empty text with NUL", 1, {0}, 0, 0, 0, 0, "\0 "s, "osdc"},
        {"text without NUL: data, space", 1, {'C', ':'}, 0, 0, 0, 0, "C: "s, "osdc"},
        {"empty text without NUL", 1, {}, 0, 0, 0, 0, " "s, "osdc"},
        {"number", 4, {0xD4, 0x07, 0, 0}, 0, 0, 0, 0, std::int32_t{2004}, "osdc"},
        {"number with top bit set",
         4,
         {0xFE, 0xFF, 0xFF, 0xFF},
         0,
         0,
         0,
         0,
         std::int32_t{-2},
         "osdc"},
        {"number in two bytes", 4, {0x34, 0x12}, 0, 0, 0, 0, std::int32_t{0x1234}, "osdc"},
        {"expandable text not read", 2, {'%', 0}, 0, 0, 0, 0, kUntouched, "osc"},
        {"binary not read", 3, {1, 2}, 0, 0, 0, 0, kUntouched, "osc"},
        {"missing key: open fails", std::nullopt, {}, 2, 0, 0, 2, kUntouched, "o"},
        {"access refused", 1, kText, 5, 0, 0, 5, kUntouched, "o"},
        {"missing value", std::nullopt, {}, 0, 0, 0, 2, kUntouched, "osc"},
        {"missing value, failing close", std::nullopt, {}, 0, 0, 6, 2, kUntouched, "osc"},
        {"text's second query fails", 1, kText, 0, 234, 0, 234, kUntouched, "osdc"},
        {"number's second query fails", 4, {7, 0, 0, 0}, 0, 1, 0, 1, kUntouched, "osdc"},
        {"close fails after a read", 1, {'C', 0}, 0, 0, 6, 6, "C\0 "s, "osdc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::InMemoryRegistry registry;
        registry.keys[kKey];
        if (c.type) {
            registry.SetRaw(kKey, "Folder", *c.type, c.data);
        }
        registry.open_fails_with = c.open_fails;
        registry.data_query_fails_with = c.data_query_fails;
        registry.close_fails_with = c.close_fails;
        RegValue value = kUntouched;
        EXPECT_EQ(RegValueGet(registry, platform::kHKeyLocalMachine, kKey, "Folder", value),
                  c.result);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(registry.calls, c.calls);
        EXPECT_EQ(registry.open_handles, 0) << "a key was left open";
        EXPECT_EQ(registry.opened_key, kKey);
        EXPECT_EQ(registry.opened_access, 0x19u);
        if (c.calls.find('d') != std::string::npos) {
            EXPECT_EQ(registry.data_sizes,
                      std::vector<std::uint32_t>{static_cast<std::uint32_t>(c.data.size())});
        }
    }
}

}  // namespace
}  // namespace rv
