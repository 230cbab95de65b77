// Golden cases of the formatter: golden/Formatter/<group>/<case>.in.cpp is
// formatted with <case>.scheme (a base scheme and the keys the case is
// about) and must give <case>.out.cpp exactly; the expected output must
// come out unchanged when formatted again, and both must lex to the input's
// tokens.
#include "support/StylistCpp_PassRunner.h"
#include "support/StylistCpp_TokenCompare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace StylistCpp::test;

const std::string GOLDEN_DIR = QUILLON_FORMATTER_GOLDEN_DIR;

// "<group>/<case>" for every input file.
std::vector<std::string> goldenCases()
{
    std::vector<std::string> cases;
    const std::string suffix = ".in.cpp";
    for (const auto& entry : fs::recursive_directory_iterator(GOLDEN_DIR)) {
        std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || name.size() <= suffix.size() ||
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        std::string rel = fs::relative(entry.path(), GOLDEN_DIR).generic_string();
        cases.push_back(rel.substr(0, rel.size() - suffix.size()));
    }
    std::sort(cases.begin(), cases.end());
    return cases;
}

class FormatterGolden : public ::testing::TestWithParam<std::string> {};

TEST_P(FormatterGolden, FormatsAsExpected)
{
    const std::string base = GOLDEN_DIR + "/" + GetParam();
    const Stylist::PropertySet scheme = readScheme(base + ".scheme", GOLDEN_DIR + "/bases");
    const std::string input = readFile(base + ".in.cpp");
    const std::string expected = readFile(base + ".out.cpp");

    const std::string actual = formatText(input, scheme);
    EXPECT_EQ("", firstDifference(expected, actual)) << "formatting " << GetParam() << ".in.cpp";
    const std::string again = formatText(expected, scheme);
    EXPECT_EQ("", firstDifference(expected, again)) << "formatting " << GetParam() << ".out.cpp";
    EXPECT_TRUE(StylistCppTest::sameTokens(input, expected)) << "expected output changes a token";
    EXPECT_TRUE(StylistCppTest::sameTokens(input, actual)) << "output changes a token";
}

INSTANTIATE_TEST_SUITE_P(Golden, FormatterGolden, ::testing::ValuesIn(goldenCases()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return testNameOf(info.param); });

} // namespace
