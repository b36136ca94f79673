#include "core/failure_list.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace rv {
namespace {

TEST(FailureList, ShowsTheFirstTwentyLinesThenHowManyMore) {
    for (const auto& [added, more] : {std::tuple{0, ""},
                                      {1, ""},
                                      {20, ""},
                                      {21, "\n... and 1 more"},
                                      {100000, "\n... and 99980 more"}}) {
        FailureList failures;
        std::string expected;
        for (int i = 0; i < added; ++i) {
            failures.Add("f" + std::to_string(i) + ".u: reason");
            if (i < 20) {
                expected += (i > 0 ? "\n" : "") + ("f" + std::to_string(i) + ".u: reason");
            }
        }
        EXPECT_EQ(failures.ToolTip(), expected + more) << added;
    }
}

}  // namespace
}  // namespace rv
