// The expression formatter: golden cases rule by rule (scheme overrides, an
// input and the expected output, each also checked to keep the input's
// tokens), construction and the operator predicates.
#include "Corvale_Exception.h"
#include "Corvale_ITextDocStream.h"
#include "Corvale_OIndentStream.h"
#include "Cpp.h"
#include "Stylist_Exception.h"
#include "StylistCpp_ExprFormatter.h"
#include "StylistCpp_ExprFormatterTestSupport.h"
#include "support/Corvale_GoldenCases.h"
#include "support/StylistCpp_TokenCompare.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace StylistCppTest;
namespace Key = Stylist::Key;
using StylistCpp::ExprFormatter;

// Golden cases: golden/ExprFormatter/*.cases give an input, optional
// scheme overrides ("KEY = "value"" a line), an optional name gap (then
// the input is formatted as a declarator) and output position, and the
// expected output; every output must keep the input's tokens.
TEST(ExprFormatterGolden, EveryCase)
{
    const auto cases = CorvaleTest::readGoldenFolder(std::string(QUILLON_STYLISTCPP_GOLDEN_DIR) + "/ExprFormatter");
    EXPECT_GE(cases.size(), 137u) << "cases missing from " << QUILLON_STYLISTCPP_GOLDEN_DIR;
    for (const CorvaleTest::GoldenCase& c : cases) {
        SCOPED_TRACE(c.where());
        std::vector<std::string> keys;
        std::vector<std::string> values;
        std::istringstream scheme(c.has("scheme") ? c["scheme"] : std::string());
        for (std::string line; std::getline(scheme, line);) {
            const std::size_t eq = line.find(" = ");
            ASSERT_NE(std::string::npos, eq) << line;
            keys.push_back(line.substr(0, eq));
            values.push_back(CorvaleTest::unquoteGolden(line.substr(eq + 3)));
        }
        Overrides overrides;
        for (std::size_t i = 0; i < keys.size(); ++i)
            overrides.emplace_back(keys[i].c_str(), values[i]);
        int col = 0;
        std::string indent;
        if (c.has("position")) {
            const std::string& position = c["position"];
            const std::size_t blank = position.find(' ');
            col = std::stoi(position.substr(0, blank));
            indent = CorvaleTest::unquoteGolden(position.substr(blank + 1));
        }
        ExprFormatter f(exprScheme(overrides));
        const std::string out =
            c.has("name gap")
                ? f.formatDeclarator(c["input"], f.position(col, indent), CorvaleTest::unquoteGolden(c["name gap"]))
                : f.formatExpression(c["input"], f.position(col, indent));
        EXPECT_EQ(c["expected"], out);
        EXPECT_TRUE(sameTokens(c["input"], out));
    }
}

TEST(ExprFormatterDeclarators, CallStateIsRestoredAfterAnException)
{
    ExprFormatter f(exprScheme({{Key::ASTERISK_ANCHOR, "i:1"}}));
    Corvale::OIndentState bad = f.position(0);
    bad.tabSize = 0; // accepted by the streams as 1
    EXPECT_NO_THROW(f.formatDeclarator("int*p", bad, "  "));
    // After a declarator call, an expression has no name gap and no
    // declaration mode: a star after a name is a multiplication.
    EXPECT_EQ("a * b", f.formatExpression("a*b", f.position(0)));
}

TEST(ExprFormatterConstruction, ReadsAndChecksKeys)
{
    EXPECT_THROW(ExprFormatter(exprScheme({{Key::WS_BETWEEN_CAST_OPERAND, "-"}})),
                 Stylist::PropertyMissingException);
    EXPECT_THROW(ExprFormatter(exprScheme({{Key::LEFT_MARGIN, "-"}})), Stylist::PropertyMissingException);
    EXPECT_THROW(ExprFormatter(exprScheme({{Key::ASTERISK_ANCHOR, "i:2"}})), Corvale::ContractViolation);
    EXPECT_THROW(ExprFormatter(exprScheme({{Key::AMPERSAND_ANCHOR, "i:-2"}})), Corvale::ContractViolation);
    // Filled by the defaulting step when line wrapping is on.
    ExprFormatter f(exprScheme({{Key::WS_BETWEEN_EXPR_OP_OPERANDS, "-"}, {Key::GLOBAL_LINE_WRAP, "b:true"}}));
    EXPECT_EQ(" ", f.settings().m_WsBetweenExprOpOperands);
    EXPECT_EQ(4, f.tabSize());
    EXPECT_FALSE(f.hasAlignPpdLeftMost());
}

TEST(ExprFormatterPredicates, OperatorSetAndUnaryContexts)
{
    using B = StylistCpp::ExprFormatterBase;
    for (std::int32_t t : {Cpp::COLON, Cpp::EQUALS, Cpp::STAR, Cpp::AMPERSAND, Cpp::SLASH, Cpp::PLUS, Cpp::MINUS,
                           Cpp::TILDE, Cpp::EXCLAMATION, Cpp::PERCENT, Cpp::PIPE_EQUALS, Cpp::QUESTION})
        EXPECT_TRUE(B::isOpType(t)) << t;
    for (std::int32_t t : std::initializer_list<std::int32_t>{Cpp::DOT, Cpp::ARROW, Cpp::PLUS_PLUS, Cpp::MINUS_MINUS, Cpp::DOT_STAR, Cpp::ARROW_STAR,
                           Cpp::COMMA, Cpp::LPAREN, Cpp::IDENTIFIER, Trn::END_OF_FILE})
        EXPECT_FALSE(B::isOpType(t)) << t;
    EXPECT_FALSE(B::isUnaryOpType(Cpp::PLUS_PLUS));
    EXPECT_TRUE(B::isAssignOpType(Cpp::SHIFT_RIGHT_EQUALS));
    EXPECT_FALSE(B::isAssignOpType(Cpp::EQUALS_EQUALS));
    EXPECT_TRUE(B::isBuiltinType(Cpp::WCHAR_T_KEY));
    EXPECT_FALSE(B::isBuiltinType(Cpp::SIGNED_KEY));
    ExprFormatter f(exprScheme());
    EXPECT_TRUE(f.forcesUnaryAfter(Cpp::RETURN_KEY));
    EXPECT_FALSE(f.forcesUnaryAfter(Cpp::EXCLAMATION));
    EXPECT_FALSE(f.forcesUnaryAfter(Cpp::COMMA));
}

} // namespace
