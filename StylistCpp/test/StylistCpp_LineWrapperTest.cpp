// Tests of the wrap pass emitter: golden cases, token preservation,
// idempotence, and the switches of each family.
#include "StylistCpp_LineWrapper.h"

#include "StylistCpp_LineWrapperTestSupport.h"
#include "support/StylistCpp_TokenCompare.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <fstream>
#include <iostream>

using namespace StylistCppTest;

namespace {

std::string goldenDir()
{
    return std::string(QUILLON_SOURCE_DIR) + "/StylistCpp/test/golden/LineWrapper";
}

} // namespace

TEST(LineWrapperGolden, EveryCase)
{
    int cases = 0;
    int idempotent = 0;
    for (const auto& entry : std::filesystem::directory_iterator(goldenDir())) {
        if (entry.path().extension() != ".txt")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        Overrides overrides;
        std::string input, expected;
        ASSERT_TRUE(readGoldenCase(entry.path().string(), overrides, input, expected));
        const Stylist::PropertySet scheme = lineWrapScheme(overrides);
        const std::string actual = wrapText(input, scheme);
        if (std::getenv("QUILLON_SHOW") != nullptr)
            std::cout << "==== " << entry.path().filename().string() << "\n" << actual;
        if (std::getenv("QUILLON_BLESS") != nullptr && expected.empty()) {
            // A new case: its expected text is the output, to be reviewed.
            std::ofstream(entry.path().string(), std::ios::app) << actual;
            continue;
        }
        EXPECT_EQ(expected, actual);
        EXPECT_TRUE(sameTokens(input, actual));
        const std::string again = wrapText(actual, scheme);
        EXPECT_EQ(actual, again) << "not idempotent";
        ++cases;
        idempotent += actual == again ? 1 : 0;
    }
    EXPECT_GT(cases, 0);
    std::cout << "golden cases: " << cases << ", idempotent: " << idempotent << "\n";
}
