#include "Trn_Location.h"

#include <gtest/gtest.h>

namespace {

using Trn::Location;

// Each row: a < b must hold, and everything that follows from it.
TEST(Location, OrdersByLineThenColumn)
{
    const struct {
        Location a, b;
    } rows[] = {
        {{3, 7}, {4, 1}},   // a later line wins over a smaller column
        {{3, 7}, {3, 8}},   // same line: column decides
        {{0, 0}, {1, 0}},   // "no location" is below every real location
        {{0, 0}, {0, 1}},
        {{1, 99}, {2, 0}},  // a token ending with a newline ends at (next line, 0)
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::to_string(r.a.line()) + ":" + std::to_string(r.a.col()) + " vs " +
                     std::to_string(r.b.line()) + ":" + std::to_string(r.b.col()));
        EXPECT_TRUE(r.a < r.b);
        EXPECT_FALSE(r.b < r.a);
        EXPECT_TRUE(r.b > r.a);
        EXPECT_TRUE(r.a <= r.b);
        EXPECT_FALSE(r.b <= r.a);
        EXPECT_TRUE(r.a != r.b);
    }
}

TEST(Location, EqualLocationsAreLessOrEqualButNotLess)
{
    EXPECT_TRUE(Location(3, 7) <= Location(3, 7));
    EXPECT_FALSE(Location(3, 7) < Location(3, 7));
    EXPECT_EQ(Location(3, 7), Location(3, 7));
    EXPECT_EQ(Location(), Location(0, 0));
}

} // namespace
