// Nothing but whitespace changes: every installed test-framework header and
// a sample of the Boost headers that parse without a diagnostic, formatted
// with schemes of very different character, still lex to the tokens they
// were made of.
#include "support/FormatterTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string GOLDEN_DIR = QUILLON_FORMATTER_GOLDEN_DIR;

std::vector<std::string> headersUnder(const std::string& dir, bool recursive)
{
    std::vector<std::string> files;
    if (!fs::is_directory(dir))
        return files;
    auto add = [&](const fs::directory_entry& e) {
        std::string ext = e.path().extension().string();
        if (e.is_regular_file() && (ext == ".h" || ext == ".hpp"))
            files.push_back(e.path().string());
    };
    if (recursive)
        for (const auto& e : fs::recursive_directory_iterator(dir))
            add(e);
    else
        for (const auto& e : fs::directory_iterator(dir))
            add(e);
    std::sort(files.begin(), files.end());
    return files;
}

// Every header of the test frameworks, and every third top-level Boost
// header and every third one of a few Boost libraries.
std::vector<std::string> corpus()
{
    std::vector<std::string> files = headersUnder("/usr/include/gtest", true);
    std::vector<std::string> gmock = headersUnder("/usr/include/gmock", true);
    files.insert(files.end(), gmock.begin(), gmock.end());
    for (const char* dir : {"/usr/include/boost", "/usr/include/boost/algorithm/string", "/usr/include/boost/optional",
                            "/usr/include/boost/smart_ptr", "/usr/include/boost/filesystem"}) {
        std::vector<std::string> boost = headersUnder(dir, false);
        for (std::size_t i = 0; i < boost.size(); i += 3)
            files.push_back(boost[i]);
    }
    return files;
}

class FormatterTokens : public ::testing::TestWithParam<std::string> {};

TEST_P(FormatterTokens, HeadersKeepTheirTokens)
{
    const Stylist::PropertySet scheme =
        FormatterTest::readScheme(GOLDEN_DIR + "/bases/" + GetParam() + ".scheme", GOLDEN_DIR + "/bases");
    int formatted = 0;
    for (const std::string& path : corpus()) {
        std::string text = FormatterTest::readFile(path);
        if (!FormatterTest::parsesCleanly(text))
            continue;
        ++formatted;
        std::string out = FormatterTest::format(text, scheme);
        std::string where;
        EXPECT_TRUE(FormatterTest::sameTokens(text, out, &where)) << path << ": " << where;
    }
    // The corpus is the installed headers; most of them must take part.
    EXPECT_GT(formatted, 40);
}

INSTANTIATE_TEST_SUITE_P(Schemes, FormatterTokens, ::testing::Values("braces", "kr", "empty"));

} // namespace
