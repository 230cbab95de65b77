// Nothing but whitespace changes: installed test-framework and Boost headers
// that parse without a diagnostic, formatted with schemes of very different
// character, and with every alignment key on (names, function names, class
// members, initialisers, anchored and hanging signs), still lex to the tokens
// they were made of; the plain schemes' output also comes out of a second
// formatting unchanged.
#include "support/StylistCpp_PassRunner.h"
#include "support/StylistCpp_TokenCompare.h"

#include "Stylist_SchemeKeys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace StylistCpp::test;

const std::string GOLDEN_DIR = QUILLON_FORMATTER_GOLDEN_DIR;

// Every step-th header under dir, in name order.
std::vector<std::string> headersUnder(const std::string& dir, bool recursive, std::size_t step = 1)
{
    std::vector<std::string> found, files;
    if (!fs::is_directory(dir))
        return files;
    auto add = [&](const fs::directory_entry& e) {
        std::string ext = e.path().extension().string();
        if (e.is_regular_file() && (ext == ".h" || ext == ".hpp"))
            found.push_back(e.path().string());
    };
    if (recursive)
        for (const auto& e : fs::recursive_directory_iterator(dir))
            add(e);
    else
        for (const auto& e : fs::directory_iterator(dir))
            add(e);
    std::sort(found.begin(), found.end());
    for (std::size_t i = 0; i < found.size(); i += step)
        files.push_back(found[i]);
    return files;
}

// The plain schemes: every header of the test frameworks, and every third
// top-level Boost header and every third one of a few Boost libraries. The
// alignment schemes: the top-level test framework headers and every fourth
// top-level Boost header.
std::vector<std::string> corpus(bool aligned)
{
    if (aligned) {
        std::vector<std::string> files = headersUnder("/usr/include/gtest", false);
        std::vector<std::string> boost = headersUnder("/usr/include/boost", false, 4);
        files.insert(files.end(), boost.begin(), boost.end());
        return files;
    }
    std::vector<std::string> files = headersUnder("/usr/include/gtest", true);
    std::vector<std::string> gmock = headersUnder("/usr/include/gmock", true);
    files.insert(files.end(), gmock.begin(), gmock.end());
    for (const char* dir : {"/usr/include/boost", "/usr/include/boost/algorithm/string", "/usr/include/boost/optional",
                            "/usr/include/boost/smart_ptr", "/usr/include/boost/filesystem"}) {
        std::vector<std::string> boost = headersUnder(dir, false, 3);
        files.insert(files.end(), boost.begin(), boost.end());
    }
    return files;
}

struct TokenScheme {
    const char* m_Name;
    const char* m_Base;
    bool m_Aligned;  // every alignment key on, both signs placed by m_Anchor
    int m_Anchor;
    bool m_Hanging;
    int m_MinFormatted; // most of the corpus must take part
};

Stylist::PropertySet schemeOf(const TokenScheme& p)
{
    Stylist::PropertySet scheme = readScheme(GOLDEN_DIR + "/bases/" + p.m_Base + ".scheme", GOLDEN_DIR + "/bases");
    if (!p.m_Aligned)
        return scheme;
    const std::string anchor = std::to_string(p.m_Anchor);
    const std::string hanging = p.m_Hanging ? "true" : "false";
    applyKeys(scheme, "TAB_SIZE=4 ALIGN_CLASS_MEMBER_NAMES_LEFT=true ALIGN_FN_DECL_NAMES_LEFT=true "
                      "ALIGN_DD_NAMES_LEFT=true ALIGN_DD_INITIALIZERS=true ALIGN_ENUM_INITIALIZERS=true "
                      "ASTERISK_ANCHOR=" + anchor + " AMPERSAND_ANCHOR=" + anchor +
                      " HANGING_ASTERISK=" + hanging + " HANGING_AMPERSAND=" + hanging);
    return scheme;
}

class FormatterTokens : public ::testing::TestWithParam<TokenScheme> {};

TEST_P(FormatterTokens, HeadersKeepTheirTokens)
{
    const TokenScheme& p = GetParam();
    const Stylist::PropertySet scheme = schemeOf(p);
    int formatted = 0;
    for (const std::string& path : corpus(p.m_Aligned)) {
        const std::string text = readFile(path);
        if (!parsesCleanly(text))
            continue;
        ++formatted;
        const std::string out = formatText(text, scheme);
        EXPECT_TRUE(StylistCppTest::sameTokens(text, out)) << path;
        if (!p.m_Aligned) {
            EXPECT_EQ("", firstDifference(out, formatText(out, scheme))) << path << " formatted again";
        }
    }
    EXPECT_GT(formatted, p.m_MinFormatted);
}

INSTANTIATE_TEST_SUITE_P(Schemes, FormatterTokens,
                         ::testing::Values(TokenScheme{"braces", "braces", false, 0, false, 40},
                                           TokenScheme{"kr", "kr", false, 0, false, 40},
                                           TokenScheme{"empty", "empty", false, 0, false, 40},
                                           TokenScheme{"kr_anchor2_hanging", "kr", true, 1, true, 20},
                                           TokenScheme{"kr_anchor0", "kr", true, -1, false, 20},
                                           TokenScheme{"braces_anchor1", "braces", true, 0, false, 20},
                                           TokenScheme{"empty_anchor2", "empty", true, 1, false, 20}),
                         [](const ::testing::TestParamInfo<TokenScheme>& info) { return info.param.m_Name; });

} // namespace
