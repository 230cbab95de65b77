// Golden cases through the program: each shipped scheme formats a few
// realistic files exactly as recorded under golden/<scheme>/, and formats
// its own output to the same text again.
//
// golden/input/ holds the inputs; golden/<scheme>/<input name> the expected
// output with LF line ends (the program writes CR LF).
#include "Stylist_ProgramFixture.h"

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace ProgramTest;

const std::string GOLDEN_DIR = std::string(QUILLON_SOURCE_DIR) + "/App/test/golden";

std::vector<std::string> entries(const std::string& dir, bool directories)
{
    std::vector<std::string> names;
    namespace fs = boost::filesystem;
    for (fs::directory_iterator it(dir), end; it != end; ++it)
        if (fs::is_directory(it->path()) == directories)
            names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string withoutCr(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

// Where two texts first differ, as "line N: expected ... got ...".
std::string firstDifference(const std::string& expected, const std::string& actual)
{
    if (expected == actual)
        return std::string();
    std::size_t pos = 0;
    int line = 1;
    while (pos < expected.size() && pos < actual.size() && expected[pos] == actual[pos])
        line += expected[pos++] == '\n';
    auto lineAt = [](const std::string& s, std::size_t p) {
        const std::size_t b = s.rfind('\n', p == 0 ? 0 : p - 1);
        const std::size_t start = (b == std::string::npos || p == 0) ? 0 : b + 1;
        return s.substr(start, s.find('\n', p) - start);
    };
    return "line " + std::to_string(line) + ": expected \"" + lineAt(expected, pos) + "\" got \"" +
           lineAt(actual, pos) + "\"";
}

TEST_F(Program, ShippedSchemesFormatTheGoldenFiles)
{
    const std::vector<std::string> inputs = entries(GOLDEN_DIR + "/input", false);
    ASSERT_GE(inputs.size(), 3u);
    std::vector<std::string> schemes = entries(GOLDEN_DIR, true);
    schemes.erase(std::remove(schemes.begin(), schemes.end(), "input"), schemes.end());
    ASSERT_GE(schemes.size(), 5u);
    for (const std::string& scheme : schemes) {
        for (const std::string& input : inputs) {
            const std::string expectedPath = GOLDEN_DIR + "/" + scheme + "/" + input;
            ASSERT_TRUE(boost::filesystem::exists(expectedPath)) << expectedPath;
            const std::string expected = slurp(expectedPath);

            Outcome r = run("--scheme " + scheme + " --in '" + GOLDEN_DIR + "/input/" + input + "' --out out.cpp");
            ASSERT_EQ(0, r.status) << r.err;
            EXPECT_EQ(1, std::count(r.out.begin(), r.out.end(), '\n')) << r.out;
            EXPECT_EQ("", firstDifference(expected, withoutCr(slurp(path("out.cpp"))))) << scheme << "/" << input;

            r = run("--scheme " + scheme + " --in - --out -", expected);
            ASSERT_EQ(0, r.status) << r.err;
            const std::string again = withoutCr(r.out.substr(r.out.find('\n') + 1));
            EXPECT_EQ("", firstDifference(expected, again)) << "formatting " << scheme << "/" << input << " again";
        }
    }
}

} // namespace
