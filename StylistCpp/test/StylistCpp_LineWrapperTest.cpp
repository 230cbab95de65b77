// Tests of the wrap pass emitter: golden cases, token preservation,
// idempotence, and the switches of each family.
#include "StylistCpp_LineWrapper.h"

#include "StylistCpp.h"
#include "StylistCpp_LineWrapperTestSupport.h"
#include "Stylist_SchemeKeys.h"
#include "support/FormatterTestSupport.h"
#include "support/StylistCpp_TokenCompare.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <fstream>
#include <iostream>
#include <sstream>

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
        if (std::getenv("QUILLON_SHOW") != nullptr) {
            std::cout << "==== " << entry.path().filename().string() << "\n" << actual;
        }
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

// ---- end to end through the format pipeline ---------------------------------------

namespace {

std::string realisticDir()
{
    return goldenDir() + "/realistic";
}

// The K&R layout of the formatter's golden cases with every wrap family on.
Stylist::PropertySet realisticScheme(int rightMargin)
{
    const std::string bases = std::string(QUILLON_FORMATTER_GOLDEN_DIR) + "/bases";
    Stylist::PropertySet scheme = FormatterTest::readScheme(bases + "/kr.scheme", bases);
    const Stylist::PropertySet wrapOn = FormatterTest::readScheme(realisticDir() + "/wrap_on.scheme", bases);
    for (const auto& p : wrapOn.bools())
        scheme.setBool(p.first, p.second);
    for (const auto& p : wrapOn.ints())
        scheme.setInt(p.first, p.second);
    for (const auto& p : wrapOn.strings())
        scheme.setString(p.first, p.second);
    scheme.setInt(Stylist::Key::RIGHT_MARGIN, rightMargin);
    return scheme;
}

std::string runPipeline(const Stylist::PropertySet& scheme, const std::string& text)
{
    StylistCpp::FormatPipeline pipeline(scheme);
    std::istringstream in(text);
    std::ostringstream out;
    EXPECT_EQ(0, pipeline.format(in, out));
    return out.str();
}

} // namespace

class RealisticWrap : public ::testing::TestWithParam<int> {};

TEST_P(RealisticWrap, MatchesGoldenKeepsTokensAndIsIdempotent)
{
    const int margin = GetParam();
    const std::string input = FormatterTest::readFile(realisticDir() + "/inventory.in.cpp");
    const std::string goldenPath = realisticDir() + "/inventory." + std::to_string(margin) + ".out.cpp";
    const Stylist::PropertySet scheme = realisticScheme(margin);
    const std::string actual = runPipeline(scheme, input);
    if (std::getenv("QUILLON_BLESS") != nullptr && !std::ifstream(goldenPath)) {
        std::ofstream(goldenPath) << actual;
        return;
    }
    EXPECT_EQ(FormatterTest::readFile(goldenPath), actual);
    EXPECT_TRUE(sameTokens(input, actual));
    // The wrap pass leaves its own output alone. (Formatting the output
    // again through the whole pipeline also re-indents, in the format pass,
    // continuation lines that end with a comma; PipelineIdempotence below
    // measures that.)
    EXPECT_EQ(actual, wrapText(actual, scheme)) << "wrapping the output again changes it";
    // Fewer lines pass the margin than before, and none at the widest one.
    auto overlongLines = [margin](const std::string& text) {
        std::istringstream lines(text);
        std::string line;
        int n = 0;
        while (std::getline(lines, line))
            n += static_cast<int>(line.size()) > margin ? 1 : 0;
        return n;
    };
    EXPECT_LT(overlongLines(actual), overlongLines(FormatterTest::format(input, scheme)));
    if (margin >= 120) {
        EXPECT_EQ(0, overlongLines(actual));
    }
}

INSTANTIATE_TEST_SUITE_P(Margins, RealisticWrap, ::testing::Values(40, 78, 120));

// How many of the realistic runs give the same text when the output goes
// through the whole pipeline again (printed for the record).
TEST(RealisticWrap, PipelineIdempotence)
{
    const std::string input = FormatterTest::readFile(realisticDir() + "/inventory.in.cpp");
    int same = 0;
    const int margins[] = {40, 78, 120};
    for (int margin : margins) {
        const Stylist::PropertySet scheme = realisticScheme(margin);
        const std::string once = runPipeline(scheme, input);
        const std::string twice = runPipeline(scheme, once);
        EXPECT_TRUE(sameTokens(input, twice));
        same += once == twice ? 1 : 0;
    }
    std::cout << "pipeline idempotent at " << same << " of 3 margins\n";
}
