// Alignment only moves whitespace: installed headers formatted with every
// alignment key on (names, function names, class members, initialisers,
// anchored and hanging signs) still lex to the tokens they were made of.
#include "support/FormatterTestSupport.h"

#include "Stylist_SchemeKeys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string GOLDEN_DIR = QUILLON_FORMATTER_GOLDEN_DIR;

// Every header of the test framework and every fourth top-level Boost
// header.
std::vector<std::string> corpus()
{
    std::vector<std::string> files;
    for (const char* dir : {"/usr/include/gtest", "/usr/include/boost"}) {
        if (!fs::is_directory(dir))
            continue;
        std::vector<std::string> found;
        for (const auto& e : fs::directory_iterator(dir))
            if (e.is_regular_file() && (e.path().extension() == ".h" || e.path().extension() == ".hpp"))
                found.push_back(e.path().string());
        std::sort(found.begin(), found.end());
        std::size_t step = std::string(dir) == "/usr/include/boost" ? 4 : 1;
        for (std::size_t i = 0; i < found.size(); i += step)
            files.push_back(found[i]);
    }
    return files;
}

void setFlag(Stylist::PropertySet& scheme, const char* key, bool value)
{
    scheme.remove(key);
    scheme.setBool(key, value);
}

void setInt(Stylist::PropertySet& scheme, const char* key, int value)
{
    scheme.remove(key);
    scheme.setInt(key, value);
}

// A base scheme with every alignment key on; anchor is the placement of
// both signs.
Stylist::PropertySet alignedScheme(const std::string& base, int anchor, bool hanging)
{
    namespace Key = Stylist::Key;
    Stylist::PropertySet scheme = FormatterTest::readScheme(GOLDEN_DIR + "/bases/" + base + ".scheme", GOLDEN_DIR + "/bases");
    setInt(scheme, Key::TAB_SIZE, 4);
    for (const char* key : {Key::ALIGN_CLASS_MEMBER_NAMES_LEFT, Key::ALIGN_FN_DECL_NAMES_LEFT, Key::ALIGN_DD_NAMES_LEFT,
                            Key::ALIGN_DD_INITIALIZERS, Key::ALIGN_ENUM_INITIALIZERS})
        setFlag(scheme, key, true);
    setInt(scheme, Key::ASTERISK_ANCHOR, anchor);
    setInt(scheme, Key::AMPERSAND_ANCHOR, anchor);
    setFlag(scheme, Key::HANGING_ASTERISK, hanging);
    setFlag(scheme, Key::HANGING_AMPERSAND, hanging);
    return scheme;
}

struct AlignedScheme {
    const char* m_Base;
    int m_Anchor;
    bool m_Hanging;
};

class AlignmentTokens : public ::testing::TestWithParam<AlignedScheme> {};

TEST_P(AlignmentTokens, HeadersKeepTheirTokens)
{
    const AlignedScheme& p = GetParam();
    const Stylist::PropertySet scheme = alignedScheme(p.m_Base, p.m_Anchor, p.m_Hanging);
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
    EXPECT_GT(formatted, 20);
}

INSTANTIATE_TEST_SUITE_P(Schemes, AlignmentTokens,
                         ::testing::Values(AlignedScheme{"kr", 1, true}, AlignedScheme{"kr", -1, false},
                                           AlignedScheme{"braces", 0, false}, AlignedScheme{"empty", 1, false}),
                         [](const ::testing::TestParamInfo<AlignedScheme>& info) {
                             return std::string(info.param.m_Base) + "_anchor" +
                                    std::to_string(info.param.m_Anchor + 1) + (info.param.m_Hanging ? "_hanging" : "");
                         });

} // namespace
