// Golden cases of the formatter: golden/Formatter/<group>/<case>.in.cpp is
// formatted with <case>.scheme (a base scheme and the keys the case is
// about) and must give <case>.out.cpp exactly; the expected output must
// come out unchanged when formatted again, and both must lex to the input's
// tokens.
#include "support/FormatterTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

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
    const Stylist::PropertySet scheme = FormatterTest::readScheme(base + ".scheme", GOLDEN_DIR + "/bases");
    const std::string input = FormatterTest::readFile(base + ".in.cpp");
    const std::string expected = FormatterTest::readFile(base + ".out.cpp");

    const std::string actual = FormatterTest::format(input, scheme);
    EXPECT_EQ("", FormatterTest::firstDifference(expected, actual)) << "formatting " << GetParam() << ".in.cpp";

    const std::string again = FormatterTest::format(expected, scheme);
    EXPECT_EQ("", FormatterTest::firstDifference(expected, again)) << "formatting " << GetParam() << ".out.cpp";

    std::string where;
    EXPECT_TRUE(FormatterTest::sameTokens(input, expected, &where)) << "expected output changes a token: " << where;
    EXPECT_TRUE(FormatterTest::sameTokens(input, actual, &where)) << "output changes a token: " << where;
}

std::string caseName(const ::testing::TestParamInfo<std::string>& info)
{
    std::string name = info.param;
    std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Golden, FormatterGolden, ::testing::ValuesIn(goldenCases()), caseName);

} // namespace
