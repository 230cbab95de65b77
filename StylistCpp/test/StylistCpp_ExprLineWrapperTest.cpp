// Tests of the expression line wrapper and its strategies: the needs-wrap
// test, break positions by style, continuation columns, the heads that are
// never broken, the level table, and the bounded search.
#include "StylistCpp_ExprLineWrapper.h"
#include "StylistCpp_StdWrapStrategy.h"

#include "Corvale_Exception.h"
#include "Cpp.h"
#include "StylistCpp_ExprFormatterTestSupport.h"
#include "Stylist_SchemeKeys.h"
#include "support/Corvale_GoldenCases.h"
#include "support/StylistCpp_TokenCompare.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using namespace StylistCpp;
using StylistCppTest::exprScheme;

namespace {

ExprLineWrapper wrapperWithMargin(int margin)
{
    return ExprLineWrapper(exprScheme({{Stylist::Key::RIGHT_MARGIN, "i:" + std::to_string(margin)}}));
}

Stylist::WrapSettings settings(int wrapStyle, int commaStyle, int operatorStyle, int shiftStyle = 1,
                               int indentStyle = 1, const std::string& wrapIndent = "    ", int strategy = 1)
{
    Stylist::WrapSettings s;
    s.m_WrapStyle = wrapStyle;
    s.m_WrapIndent = wrapIndent;
    s.m_CommaWrapStyle = commaStyle;
    s.m_OperatorWrapStyle = operatorStyle;
    s.m_ShiftWrapStyle = shiftStyle;
    s.m_IndentWrapStyle = indentStyle;
    s.m_ListWrapStrategy = strategy;
    return s;
}

// "wrap=1 comma=2 operator=1 shift=1 indent=1 strategy=1 wrap-indent="    "".
Stylist::WrapSettings settingsOf(const std::string& line)
{
    Stylist::WrapSettings s;
    const std::size_t quote = line.find("wrap-indent=");
    s.m_WrapIndent = CorvaleTest::unquoteGolden(line.substr(quote + 12));
    std::istringstream in(line.substr(0, quote));
    for (std::string item; in >> item;) {
        const std::string key = item.substr(0, item.find('='));
        const std::int32_t value = std::stoi(item.substr(item.find('=') + 1));
        (key == "wrap"       ? s.m_WrapStyle
         : key == "comma"    ? s.m_CommaWrapStyle
         : key == "operator" ? s.m_OperatorWrapStyle
         : key == "shift"    ? s.m_ShiftWrapStyle
         : key == "indent"   ? s.m_IndentWrapStyle
                             : s.m_ListWrapStrategy) = value;
    }
    return s;
}

} // namespace

// Golden cases: golden/ExprLineWrapper/*.cases give a case name, the right
// margin, the wrap settings, the position, the input and the wrapped text.
// Each output keeps the input's tokens, and wrapping it again changes
// nothing.
TEST(ExprLineWrapperCases, Wraps)
{
    const auto cases = CorvaleTest::readGoldenFolder(std::string(QUILLON_STYLISTCPP_GOLDEN_DIR) + "/ExprLineWrapper");
    EXPECT_GE(cases.size(), 20u) << "cases missing from " << QUILLON_STYLISTCPP_GOLDEN_DIR;
    for (const CorvaleTest::GoldenCase& c : cases) {
        SCOPED_TRACE(c.where() + " " + c["case"]);
        const ExprLineWrapper w = wrapperWithMargin(std::stoi(c["margin"]));
        const Stylist::WrapSettings settings = settingsOf(c["settings"]);
        const std::string& position = c["position"];
        const int col = std::stoi(position.substr(0, position.find(' ')));
        const std::string indent = CorvaleTest::unquoteGolden(position.substr(position.find(' ') + 1));
        const StdWrapStrategy strategy;
        const std::string out = w.wrap(c["input"], w.position(col, indent), settings, strategy);
        EXPECT_EQ(c["expected"], out);
        EXPECT_TRUE(StylistCppTest::sameTokens(c["input"], out));
        EXPECT_EQ(out, w.wrap(out, w.position(col, indent), settings, strategy));
    }
}

TEST(ExprLineWrapper, ContinuationsAreBuiltFromTheIndentation)
{
    // Tab size 4: the continuation is the line's indentation (two tabs)
    // followed by spaces up to the first argument's column.
    const ExprLineWrapper w = wrapperWithMargin(30);
    const StdWrapStrategy strategy;
    EXPECT_EQ("foo(alpha, beta,\n\t\t     gamma, delta)",
              w.wrap("foo(alpha, beta, gamma, delta)", w.position(9, "\t\t"), settings(1, 2, 1), strategy));
}

TEST(ExprLineWrapper, MemberInitialisersAreNeverBrokenBeforeTheirColon)
{
    const ExprLineWrapper w = wrapperWithMargin(30);
    EXPECT_EQ(": alpha(1),\n              beta(2),\n              gamma(3),\n              delta(4)",
              w.wrap(": alpha(1), beta(2), gamma(3), delta(4)", w.position(12), settings(1, 2, 1),
                     ClassInitWrapStrategy::shared()));
    // A text without a ":" is a head only: it is left alone.
    EXPECT_EQ("Widget::Widget(int aaaaaaaaaa, int bbbbbbbbbbbb)",
              w.wrap("Widget::Widget(int aaaaaaaaaa, int bbbbbbbbbbbb)", w.position(0), settings(1, 2, 1),
                     ClassInitWrapStrategy::shared()));
}

TEST(ExprLineWrapper, FunctionHeadsBreakOnlyAfterTheParenthesisAfterTheName)
{
    const ExprLineWrapper w = wrapperWithMargin(40);
    const FnDeclWrapStrategy strategy;
    EXPECT_EQ("std::map<std::string, int> countWords(\n    const std::string& text,\n    bool ignoreCase)",
              w.wrap("std::map<std::string, int> countWords(const std::string& text, bool ignoreCase)",
                     w.position(0), settings(1, 2, 1), strategy));
    // The return type is never broken, not even at an operator.
    const ExprLineWrapper narrow = wrapperWithMargin(10);
    EXPECT_EQ("unsigned long long a * b(\n    int x)",
              narrow.wrap("unsigned long long a * b(int x)", narrow.position(0), settings(1, 2, 1), strategy));
}

TEST(ExprLineWrapper, BaseClauseListsAlignUnderTheirFirstBase)
{
    const ExprLineWrapper w = wrapperWithMargin(30);
    const StdWrapStrategy list(false, true);
    EXPECT_EQ("public Alpha,\n               public Beta,\n               protected Gamma",
              w.wrap("public Alpha, public Beta, protected Gamma", w.position(15), settings(1, 2, 1), list));
}

TEST(ExprLineWrapper, MarginZeroNeverWraps)
{
    const ExprLineWrapper w = wrapperWithMargin(0);
    const std::string text(500, 'a');
    EXPECT_FALSE(w.needsWrap(text + " + " + text, w.position(0)));
    EXPECT_EQ(text + " + " + text, w.wrap(text + " + " + text, w.position(0), settings(1, 2, 1), StdWrapStrategy()));
}

TEST(ExprLineWrapper, NegativeMarginAndBadShiftStyleAreContractViolations)
{
    EXPECT_THROW(ExprLineWrapper(exprScheme({{Stylist::Key::RIGHT_MARGIN, "i:-1"}})), Corvale::ContractViolation);
    EXPECT_THROW(ExprLineWrapper(exprScheme({{Stylist::Key::SHIFT_WRAP_STYLE, "i:3"}})), Corvale::ContractViolation);
    EXPECT_EQ(1, wrapperWithMargin(10).shiftWrapStyle());
}

TEST(StdWrapStrategy, LevelTableAndSets)
{
    EXPECT_EQ(0, StdWrapStrategy::level(Cpp::COMMA));
    EXPECT_EQ(0, StdWrapStrategy::level(Cpp::SEMICOLON));
    EXPECT_EQ(1, StdWrapStrategy::level(Cpp::OR_OR));
    EXPECT_EQ(1, StdWrapStrategy::level(Cpp::COLON));
    EXPECT_EQ(2, StdWrapStrategy::level(Cpp::PIPE));
    EXPECT_EQ(2, StdWrapStrategy::level(Cpp::NOT_EQUALS));
    EXPECT_EQ(3, StdWrapStrategy::level(Cpp::SHIFT_RIGHT));
    EXPECT_EQ(4, StdWrapStrategy::level(Cpp::PIPE_EQUALS));
    EXPECT_EQ(4, StdWrapStrategy::level(Cpp::EQUALS));
    EXPECT_EQ(-1, StdWrapStrategy::level(Cpp::CARET));
    EXPECT_EQ(-1, StdWrapStrategy::level(Cpp::DOT));
    EXPECT_EQ(-1, StdWrapStrategy::level(Trn::END_OF_FILE));
    EXPECT_FALSE(StdWrapStrategy::isBreakOperator(Cpp::COMMA));
    EXPECT_TRUE(StdWrapStrategy::isBreakOperator(Cpp::AND_AND));
    EXPECT_TRUE(StdWrapStrategy::isListOpener(Cpp::LPAREN));
    EXPECT_TRUE(StdWrapStrategy::isListOpener(Cpp::LBRACE));
    EXPECT_FALSE(StdWrapStrategy::isListOpener(Cpp::LBRACKET));
}

TEST(StdWrapStrategy, StartsWithShift)
{
    const StdWrapStrategy strategy;
    const WrapTokens shift = lexForWrapping("out << a + b");
    const WrapTokens plus = lexForWrapping("a + b << c");
    EXPECT_TRUE(strategy.startsWithShift(shift.begin(), shift.end()));
    EXPECT_FALSE(strategy.startsWithShift(plus.begin(), plus.end()));
    EXPECT_THROW(strategy.startsWithShift(shift.begin(), shift.begin()), Corvale::ContractViolation);
}

TEST(StdWrapStrategy, CollectsIntoBucketsAndFindsListStarts)
{
    const std::string text = "x = f(a, b) + g(\"s\" \"t\") << 1 && c";
    const WrapTokens tokens = lexForWrapping(text);
    BreakCollection out;
    StdWrapStrategy().collectBreaks(text, tokens.begin(), tokens.end(), Corvale::OIndentState(), settings(1, 2, 1),
                                    1, out);
    EXPECT_EQ(1u, out.m_Buckets[SEPARATOR_BUCKET].size());
    EXPECT_EQ(1u, out.m_Buckets[LOGICAL_BUCKET].size());
    EXPECT_EQ(1u, out.m_Buckets[ARITHMETIC_BUCKET].size());
    EXPECT_EQ(1u, out.m_Buckets[SHIFT_BUCKET].size());
    EXPECT_EQ(1u, out.m_Buckets[ASSIGNMENT_BUCKET].size());
    EXPECT_EQ(2u, out.m_Buckets[OPENER_BUCKET].size());
    EXPECT_EQ(1u, out.m_Buckets[STRING_BUCKET].size());
    EXPECT_EQ(1, out.m_Buckets[SEPARATOR_BUCKET][0].m_Depth);
    // The list of the standard strategy begins inside the first "(".
    EXPECT_EQ(text.find("a,"), tokens[static_cast<std::size_t>(out.m_ListStart)].m_Begin);
    EXPECT_EQ(6, out.m_ListStartColumn);

    BreakCollection head;
    const std::string fn = "int (*table)[3] name(int a, int b)";
    const WrapTokens fnTokens = lexForWrapping(fn);
    FnDeclWrapStrategy().collectBreaks(fn, fnTokens.begin(), fnTokens.end(), Corvale::OIndentState(),
                                       settings(1, 2, 1), 1, head);
    EXPECT_EQ(fn.find("int a"), fnTokens[static_cast<std::size_t>(head.m_ListStart)].m_Begin);
}

TEST(ExprLineWrapper, SearchIsBounded)
{
    // Deeply nested calls each too long: the wrapper stops after its fixed
    // number of layouts and still only changes whitespace.
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "someFunction" + std::to_string(i) + "(argumentOne, argumentTwo, ";
    text += "x";
    for (int i = 0; i < 60; ++i)
        text += ")";
    const ExprLineWrapper w = wrapperWithMargin(40);
    const std::string out = w.wrap(text, w.position(0), settings(1, 2, 1), StdWrapStrategy());
    EXPECT_LE(w.lastLayoutCount(), ExprLineWrapper::MAX_LAYOUTS);
    EXPECT_TRUE(StylistCppTest::sameTokens(text, out));
}

TEST(ExprLineWrapper, RandomTokenSoupsKeepTheirTokensUnderEveryStyle)
{
    // Pieces that exercise every bucket, nesting, comments, literals and
    // unmatched brackets; a fixed seed keeps the test repeatable.
    const char* const pieces[] = {"a",  "bb", "ccc", "f(",  ")",  "{", "}",     ",",      ";",  "+",   "-",
                                  "*",  "&",  "&&", "||",   "?",  ":", "<<",    ">>",     "=",  "+=",  "^",
                                  "[",  "]",  "\"s\"", "'c'", "42", "// c\n", "/* m */", "\n", "  ", "x.y",
                                  "->", "!",  "~",  "<",    ">",  "==", "::z", "#define Q\n"};
    const std::size_t count = sizeof(pieces) / sizeof(pieces[0]);
    unsigned state = 12345;
    auto next = [&state]() {
        state = state * 1103515245u + 12345u;
        return (state >> 16) & 0x7fff;
    };
    const StdWrapStrategy standard;
    const StdWrapStrategy list(false, true);
    const FnDeclWrapStrategy head;
    const ExprWrapStrategy* const strategies[] = {&standard, &list, &head, &ClassInitWrapStrategy::shared()};
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int length = 5 + static_cast<int>(next() % 60);
        for (int i = 0; i < length; ++i)
            text += std::string(pieces[next() % count]) + (next() % 3 == 0 ? "" : " ");
        const ExprLineWrapper w = wrapperWithMargin(8 + static_cast<int>(next() % 30));
        const Stylist::WrapSettings s = settings(1 + static_cast<int>(next() % 2), 1 + static_cast<int>(next() % 2),
                                                 1 + static_cast<int>(next() % 2), 1 + static_cast<int>(next() % 2),
                                                 1 + static_cast<int>(next() % 2), next() % 2 ? "    " : "\t",
                                                 1 + static_cast<int>(next() % 2));
        const ExprWrapStrategy& strategy = *strategies[next() % 4];
        const Corvale::OIndentState at = w.position(static_cast<int>(next() % 12), next() % 2 ? "    " : "");
        const std::string out = w.wrap(text, at, s, strategy);
        ASSERT_TRUE(StylistCppTest::sameTokens(text, out)) << text;
        EXPECT_LE(w.lastLayoutCount(), ExprLineWrapper::MAX_LAYOUTS);
        EXPECT_EQ(out, w.wrap(out, at, s, strategy)) << text;
    }
}
