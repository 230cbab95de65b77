// Tests of the wrap pass emitter: golden cases, token preservation,
// idempotence, and the switches of each family.
#include "StylistCpp_LineWrapper.h"

#include "StylistCpp.h"
#include "Corvale_Exception.h"
#include "Cpp_SyntaxTree.h"
#include "Stylist_Exception.h"
#include "Stylist_PropertySetStore.h"
#include "StylistCpp_LineWrapperTestSupport.h"
#include "Stylist_SchemeKeys.h"
#include "support/StylistCpp_PassRunner.h"
#include "support/StylistCpp_TokenCompare.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <fstream>
#include <iostream>
#include <set>
#include <vector>
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
    Stylist::PropertySet scheme = StylistCpp::test::readScheme(bases + "/kr.scheme", bases);
    StylistCpp::test::overlay(scheme, StylistCpp::test::readScheme(realisticDir() + "/wrap_on.scheme", bases));
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
    const std::string input = StylistCpp::test::readFile(realisticDir() + "/inventory.in.cpp");
    const std::string goldenPath = realisticDir() + "/inventory." + std::to_string(margin) + ".out.cpp";
    const Stylist::PropertySet scheme = realisticScheme(margin);
    const std::string actual = runPipeline(scheme, input);
    if (std::getenv("QUILLON_BLESS") != nullptr && !std::ifstream(goldenPath)) {
        std::ofstream(goldenPath) << actual;
        return;
    }
    EXPECT_EQ(StylistCpp::test::readFile(goldenPath), actual);
    EXPECT_TRUE(sameTokens(input, actual));
    // The wrap pass leaves its own output alone.
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
    EXPECT_LT(overlongLines(actual), overlongLines(StylistCpp::test::formatText(input, scheme)));
    if (margin >= 120) {
        EXPECT_EQ(0, overlongLines(actual));
    }
}

INSTANTIATE_TEST_SUITE_P(Margins, RealisticWrap, ::testing::Values(40, 78, 120));

// Formatting the output again through the whole pipeline (format, then
// wrap) gives the same text at every margin.
TEST(RealisticWrap, PipelineIdempotence)
{
    const std::string input = StylistCpp::test::readFile(realisticDir() + "/inventory.in.cpp");
    for (int margin : {40, 78, 120}) {
        const Stylist::PropertySet scheme = realisticScheme(margin);
        const std::string once = runPipeline(scheme, input);
        EXPECT_EQ(once, runPipeline(scheme, once)) << "margin " << margin;
    }
}

// ---- switches ----------------------------------------------------------------------

namespace {

struct SwitchCase {
    const char* name;
    Overrides overrides;
    const char* input;
    bool wraps; // whether the text comes out changed
};

const char* const LONG_CTOR = "Widget::Widget(int width, int height) : m_Width(width), m_Height(height)\n{\n}\n";
const char* const LONG_DECL = "void configureEverything(int alphaValue, int betaValue, int gammaValue);\n";
const char* const LONG_DATA = "int values[] = { 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000 };\n";
const char* const LONG_ENUM = "enum E { FIRST_VALUE, SECOND_VALUE, THIRD_VALUE, FOURTH_VALUE };\n";
const char* const LONG_BASES = "class C : public FirstBase, public SecondBase, public ThirdBase\n{\n};\n";
const char* const LONG_IF = "void f()\n{\n    if (firstCondition && secondCondition && thirdCondition)\n        g();\n}\n";

} // namespace

class LineWrapperSwitches : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(LineWrapperSwitches, TurnFamiliesOnAndOff)
{
    const SwitchCase& c = GetParam();
    const std::string out = wrapText(c.input, lineWrapScheme(c.overrides));
    EXPECT_EQ(c.wraps, out != c.input) << out;
    EXPECT_TRUE(sameTokens(c.input, out));
}

INSTANTIATE_TEST_SUITE_P(
    Families, LineWrapperSwitches,
    ::testing::Values(
        SwitchCase{"ctor_on", {}, LONG_CTOR, true},
        SwitchCase{"ctor_line_wrap_off", {{Stylist::Key::CLASS_INIT_LINE_WRAP, "b:false"}}, LONG_CTOR, false},
        SwitchCase{"ctor_do_not_format", {{Stylist::Key::CLASS_INIT_DO_NOT_FORMAT, "b:true"}}, LONG_CTOR, false},
        SwitchCase{"ctor_inits_on_own_lines", {{Stylist::Key::WS_BETWEEN_CLASS_INITS, "\n"}}, LONG_CTOR, false},
        SwitchCase{"decl_on", {}, LONG_DECL, true},
        SwitchCase{"decl_line_wrap_off", {{Stylist::Key::FN_DECL_LINE_WRAP, "b:false"}}, LONG_DECL, false},
        SwitchCase{"decl_defn_flag_is_not_its_own", {{Stylist::Key::FN_DEFN_LINE_WRAP, "b:false"}}, LONG_DECL, true},
        SwitchCase{"fn_do_not_format", {{Stylist::Key::FN_DO_NOT_FORMAT, "b:true"}}, LONG_DECL, false},
        SwitchCase{"data_on", {}, LONG_DATA, true},
        SwitchCase{"data_line_wrap_off", {{Stylist::Key::DD_LINE_WRAP, "b:false"}}, LONG_DATA, false},
        SwitchCase{"data_do_not_format", {{Stylist::Key::DD_DO_NOT_FORMAT, "b:true"}}, LONG_DATA, false},
        SwitchCase{"enum_on", {}, LONG_ENUM, true},
        SwitchCase{"enum_line_wrap_off", {{Stylist::Key::ENUM_LINE_WRAP, "b:false"}}, LONG_ENUM, false},
        SwitchCase{"enum_do_not_format", {{Stylist::Key::ENUM_DO_NOT_FORMAT, "b:true"}}, LONG_ENUM, false},
        SwitchCase{"bases_on", {}, LONG_BASES, true},
        SwitchCase{"bases_class_do_not_format", {{Stylist::Key::CLASS_DO_NOT_FORMAT, "b:true"}}, LONG_BASES, false},
        SwitchCase{"if_on", {}, LONG_IF, true},
        SwitchCase{"if_expr_line_wrap_off", {{Stylist::Key::EXPR_LINE_WRAP, "b:false"}}, LONG_IF, false},
        SwitchCase{"if_cs_do_not_format", {{Stylist::Key::CS_DO_NOT_FORMAT, "b:true"}}, LONG_IF, false},
        SwitchCase{"margin_zero", {{Stylist::Key::RIGHT_MARGIN, "i:0"}}, LONG_CTOR, false},
        SwitchCase{"wide_margin_leaves_fitting_lines",
                   {{Stylist::Key::RIGHT_MARGIN, "i:80"}}, LONG_CTOR, false}),
    [](const ::testing::TestParamInfo<SwitchCase>& info) { return std::string(info.param.name); });

TEST(LineWrapper, ReadsItsKeysOnceWithTheDoNotFormatRules)
{
    // Under LINE_WRAP_DO_NOT_FORMAT the GLOBAL_LINE_WRAP key need not exist;
    // a family left unformatted needs none of its wrap keys.
    Overrides o = {{Stylist::Key::LINE_WRAP_DO_NOT_FORMAT, "b:true"},
                   {Stylist::Key::GLOBAL_LINE_WRAP, "-"},
                   {Stylist::Key::DD_DO_NOT_FORMAT, "b:true"},
                   {Stylist::Key::DD_LINE_WRAP, "-"},
                   {Stylist::Key::DD_WRAP_STYLE, "-"}};
    std::ostringstream out;
    const std::string text = "int x;\n";
    StylistCpp::LineWrapper wrapper(text, out, lineWrapScheme(o));
    EXPECT_FALSE(wrapper.settings().m_GlobalLineWrap);
    EXPECT_FALSE(wrapper.settings().m_DdWrap.m_LineWrap);
    // A negative margin fails every wrap pass.
    EXPECT_THROW(StylistCpp::LineWrapper(text, out, lineWrapScheme({{Stylist::Key::RIGHT_MARGIN, "i:-4"}})),
                 Corvale::ContractViolation);
    // A missing family switch is a missing property.
    EXPECT_THROW(StylistCpp::LineWrapper(text, out, lineWrapScheme({{Stylist::Key::EXPR_LINE_WRAP, "-"}})),
                 Stylist::PropertyMissingException);
}

TEST(LineWrapper, OverlongTestAndEnumHeadContract)
{
    const std::string text = "int a;\nint bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb;\nint c;\n";
    std::ostringstream out;
    StylistCpp::LineWrapper wrapper(text, out, lineWrapScheme({{Stylist::Key::ENUM_LINE_WRAP, "b:false"}}));
    EXPECT_EQ(std::set<int>{2}, wrapper.overlongLines());
    Cpp::ExprNode first(Trn::Location(1, 1), Trn::Location(1, 6));
    Cpp::ExprNode span(Trn::Location(1, 1), Trn::Location(3, 6));
    Cpp::ExprNode backwards(Trn::Location(3, 1), Trn::Location(1, 6));
    Cpp::ExprNode none((Trn::Location()), Trn::Location());
    EXPECT_FALSE(wrapper.overlong(first));
    EXPECT_TRUE(wrapper.overlong(span));
    EXPECT_FALSE(wrapper.overlong(backwards));
    EXPECT_FALSE(wrapper.overlong(none));
    Cpp::EnumHeadNode head(Trn::Location(1, 1), Trn::Location(1, 4), "E");
    EXPECT_THROW(wrapper.visitEnumHeadNode(head), Corvale::ContractViolation);
}

// Lines are measured with tabs to the next tab stop (size 4 here), the
// first from the column the text starts at, against a margin of 10.
TEST(LineWrapper, OverlongLinesAreMeasuredInColumns)
{
    const struct {
        const char* name;
        const char* text;
        int startCol;
        std::set<int> overlong;
    } cases[] = {
        {"exactly at the margin", "aaaaaaaaaa\naaaaaaaaaaa\n", 0, {2}},
        {"a tab widens a short line", "\t\tabc\nab\tc\n", 0, {1}},
        {"a tab after text goes to the next stop", "abcdefghi\tx\nabcdef\tx\n", 0, {1}},
        {"the first line starts at the start column", "aaaaaaa\naaaaaaa\n", 4, {1}},
        {"a tab counts from the start column", "\taaaaaa\n", 3, {}},
        {"a last line without a newline", "a\naaaaaaaaaaaa", 0, {2}},
        {"empty lines and no text", "\n\n", 0, {}},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        const StylistCpp::LineWrapper wrapper(
            c.text, out,
            lineWrapScheme({{Stylist::Key::RIGHT_MARGIN, "i:10"}, {Stylist::Key::TAB_SIZE, "i:4"}}), c.startCol);
        EXPECT_EQ(c.overlong, wrapper.overlongLines()) << c.name;
    }
}

// The wrapper hands its finished lines on in blocks; the output must not
// depend on where a block ends. Independent functions wrapped in a long run
// give the same text as each wrapped alone, and a line longer than a block
// is wrapped as a whole.
TEST(LineWrapper, OutputHandedOnInBlocksIsTheSame)
{
    const Stylist::PropertySet scheme = lineWrapScheme({{Stylist::Key::RIGHT_MARGIN, "i:40"}});
    const std::string unit = "void f()\n{\n    total = firstArgument + secondArgument * thirdArgument - "
                             "fourthArgument / fifthArgument;\n    g(alpha, beta, gamma, delta, epsilon);\n}\n";
    const std::string alone = wrapText(unit, scheme);
    ASSERT_NE(unit, alone);
    // A comment just short of a block before the function, so that the
    // first block ends at each place in the function in turn.
    for (std::size_t size = 64 * 1024 - 240; size < 64 * 1024; size += 3) {
        const std::string comment = "/*" + std::string(size - 4, 'x') + "*/\n";
        EXPECT_EQ(comment + alone, wrapText(comment + unit, scheme)) << size;
    }
    std::string many, expected;
    while (many.size() < 300 * 1024) {
        many += unit;
        expected += alone;
    }
    EXPECT_EQ(expected, wrapText(many, scheme));

    std::string longLine = "int x[] = {";
    while (longLine.size() < 200 * 1024)
        longLine += "1, ";
    longLine += "1};\n";
    const std::string text = unit + longLine + unit;
    const std::string wrapped = wrapText(text, scheme);
    EXPECT_EQ(0u, wrapped.find(alone));
    EXPECT_EQ(wrapped.size() - alone.size(), wrapped.rfind(alone));
}

// ---- the corpus: the project's own sources and the formatter's golden outputs ----

TEST(LineWrapperCorpus, KeepsTokensAndIsIdempotent)
{
    std::vector<std::string> files;
    const std::string root = QUILLON_SOURCE_DIR;
    for (const char* dir : {"/Cpp/src", "/StylistCpp/src", "/Stylist/src", "/StylistCpp/test/golden/Formatter"}) {
        if (!std::filesystem::exists(root + dir))
            continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root + dir)) {
            const std::string name = entry.path().string();
            if (name.size() > 4 && (name.substr(name.size() - 4) == ".cpp" || name.substr(name.size() - 2) == ".h"))
                files.push_back(name);
        }
    }
    int runs = 0;
    int idempotent = 0;
    for (const std::string& file : files) {
        const std::string text = StylistCpp::test::readFile(file);
        if (!StylistCpp::test::parsesCleanly(text))
            continue;
        for (int margin : {40, 78}) {
            SCOPED_TRACE(file + " at " + std::to_string(margin));
            const Stylist::PropertySet scheme = lineWrapScheme({{Stylist::Key::RIGHT_MARGIN,
                                                                 "i:" + std::to_string(margin)}});
            const std::string once = wrapText(text, scheme);
            EXPECT_TRUE(sameTokens(text, once));
            const std::string twice = wrapText(once, scheme);
            ++runs;
            idempotent += once == twice ? 1 : 0;
            if (once != twice && std::getenv("QUILLON_SHOW") != nullptr)
                std::cout << file << " " << margin << ": " << StylistCpp::test::firstDifference(once, twice) << "\n";
        }
    }
    EXPECT_GT(runs, 20);
    std::cout << "corpus runs: " << runs << ", idempotent: " << idempotent << "\n";
    EXPECT_EQ(runs, idempotent);
}

// ---- formatting twice with the shipped schemes -----------------------------------

// Texts that once came out different from a second run under a shipped
// scheme; each must come out of the second run unchanged.
const char* const TEMPLATE_HEAD_WRAPPED_IN_ARGUMENTS =
    "namespace std\n{\ntemplate <typename T>\nclass tuple\n{\npublic:\n"
    "    template <bool _Dummy = true, _ImplicitCtor<_Dummy, const _T1&, const _T2&> = true>\n"
    "    constexpr tuple(const _T1& __a1, const _T2& __a2) : _Inherited(__a1, __a2)\n    {\n    }\n};\n}\n";

const char* const DIRECTIVE_IN_TEMPLATE_HEAD =
    "namespace boost {\n"
    "namespace asio {\n"
    "template <typename Protocol,\n"
    "#if defined(BOOST_ASIO_HAS_BOOST_DATE_TIME) \\\n"
    "  && defined(BOOST_ASIO_USE_BOOST_DATE_TIME_FOR_SOCKET_IOSTREAM)\n"
    "    typename Clock = boost::posix_time::ptime,\n"
    "    typename WaitTraits = time_traits<Clock> >\n"
    "#else // defined(BOOST_ASIO_HAS_BOOST_DATE_TIME)\n"
    "      // && defined(BOOST_ASIO_USE_BOOST_DATE_TIME_FOR_SOCKET_IOSTREAM)\n"
    "    typename Clock = chrono::steady_clock,\n"
    "    typename WaitTraits = wait_traits<Clock> >\n"
    "#endif // defined(BOOST_ASIO_HAS_BOOST_DATE_TIME)\n"
    "       // && defined(BOOST_ASIO_USE_BOOST_DATE_TIME_FOR_SOCKET_IOSTREAM)\n"
    "class basic_socket_streambuf;\n"
    "}\n"
    "}\n";

TEST(ShippedSchemeIdempotence, SecondRunChangesNothing)
{
    Stylist::PropertySetStore store(std::string(QUILLON_SOURCE_DIR) + "/schemes");
    store.load();
    const struct {
        const char* scheme;
        const char* text;
    } cases[] = {
        // A nested template parameter whose kept line breaks the wrap pass
        // indented one step further on every line.
        {"KR", "namespace pbds\n{\n  namespace detail\n  {\n"
               "    template<typename Key,\n\t     typename Mapped,\n\t     typename Cmp_Fn,\n"
               "\t     template<typename Node_CItr,\n\t\t      typename Node_Itr,\n\t\t      typename Cmp_Fn_,\n"
               "\t\t      typename _Alloc_>\n\t     class Node_Update,\n\t     typename _Alloc>\n"
               "    struct tree_traits<Key, Mapped, Cmp_Fn, Node_Update, rb_tree_tag,_Alloc>\n    {\n    };\n"
               "  }\n}\n"},
        // A template head wrapped inside a template argument list of one of
        // its parameters: the next run's format pass put the continuation
        // at the declaration's column, and the wrap pass, finding every line
        // short enough, left it there.
        {"Default", TEMPLATE_HEAD_WRAPPED_IN_ARGUMENTS},
        {"GNU", TEMPLATE_HEAD_WRAPPED_IN_ARGUMENTS},
        {"Whitesmiths", TEMPLATE_HEAD_WRAPPED_IN_ARGUMENTS},
        {"KR", TEMPLATE_HEAD_WRAPPED_IN_ARGUMENTS},
        // A directive with a continuation line inside a wrapped template
        // head: the wrap pass indented the directive, and the next run laid
        // its continuation out from there.
        {"Default", DIRECTIVE_IN_TEMPLATE_HEAD},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scheme);
        const Stylist::PropertySetStore::Entry* pEntry = store.find(c.scheme);
        ASSERT_NE(nullptr, pEntry);
        const std::string once = runPipeline(pEntry->m_Set, c.text);
        EXPECT_EQ(once, runPipeline(pEntry->m_Set, once));
    }
}
