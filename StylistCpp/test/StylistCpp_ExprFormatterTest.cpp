// The expression formatter, rule by rule: each table gives scheme
// overrides, an input and the expected output; every case is also checked
// to keep the input's tokens.
#include "Corvale_Exception.h"
#include "Corvale_ITextDocStream.h"
#include "Corvale_OIndentStream.h"
#include "Cpp.h"
#include "Stylist_Exception.h"
#include "StylistCpp_ExprFormatter.h"
#include "StylistCpp_ExprFormatterTestSupport.h"
#include "support/StylistCpp_TokenCompare.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace StylistCppTest;
namespace Key = Stylist::Key;
using StylistCpp::ExprFormatter;

struct Case {
    Overrides overrides;
    std::string input;
    std::string expected;
};

std::string format(const Case& c, int col = 0, const std::string& indent = std::string())
{
    ExprFormatter f(exprScheme(c.overrides));
    return f.formatExpression(c.input, f.position(col, indent));
}

void checkTable(const std::vector<Case>& table, int col = 0, const std::string& indent = std::string())
{
    for (const Case& c : table) {
        const std::string out = format(c, col, indent);
        EXPECT_EQ(c.expected, out) << "input [" << c.input << "]";
        EXPECT_TRUE(sameTokens(c.input, out));
    }
}

TEST(ExprFormatterOperators, BinaryAndUnary)
{
    const Overrides empty = {{Key::WS_BETWEEN_EXPR_OP_OPERANDS, ""}};
    checkTable({
        {{}, "x=-1", "x = -1"},
        {empty, "x = -1", "x= -1"},
        {{}, "a*b", "a * b"},
        {{}, "a  +\tb", "a + b"},
        {{}, "a+b*c-d/e", "a + b * c - d / e"},
        {{}, "a<<2|b&&!c", "a << 2 | b && !c"},
        {{}, "x+=y", "x += y"},
        {{}, "a==b?c:d", "a == b ? c : d"},
        {{}, "c?-1:+1", "c ? -1 : +1"},
        {{}, "return -x", "return -x"},
        {{}, "throw -1", "throw -1"},
        {{{Key::WS_BETWEEN_UNARY_OP_OPERAND, " "}}, "!x", "! x"},
        {{}, "- x", "-x"},
        {{}, "!!x", "!!x"},
        {{}, "! ~ x", "! ~ x"},
        {{}, "~ x + ~0", "~ x + ~0"},
        {{}, "i++ + ++j", "i++ + ++j"},
        {{}, "i ++", "i ++"},
        {{}, "a . b->c", "a . b->c"},
        {{}, "a/*why*/+b", "a/*why*/ + b"},
        {{}, "a /* why */  + b", "a /* why */ + b"},
        {{}, "a + // note\n b", "a + // note\nb"},
    });
}

// Where the configured whitespace is empty, tokens that would merge are
// kept apart by a single blank.
TEST(ExprFormatterOperators, NeverGluesTokens)
{
    const Overrides empty = {{Key::WS_BETWEEN_EXPR_OP_OPERANDS, ""}};
    checkTable({
        {empty, "a + +b", "a+ +b"},
        {empty, "a - -b", "a- -b"},
        {empty, "a - --b", "a- --b"},
        {empty, "a & &b", "a& &b"},
        {empty, "a / *p", "a/ *p"},
        {empty, "a < ::b", "a < ::b"},
        {empty, "a < b", "a <b"},
        {empty, "a<b", "a<b"},
        {empty, "a > ::b", "a> ::b"},
        {empty, "f(x) < y", "f(x)<y"},
        {empty, "c ? x : ::y", "c?x: ::y"},
        {empty, "a = -b", "a= -b"},
        {empty, "a = *p", "a= *p"},
        {empty, "1e + 1", "1e +1"},
        {empty, "a - - - b", "a- - -b"},
        {empty, "x / /*c*/ y", "x/ /*c*/ y"},
        {{}, "- --x", "- --x"},
    });
}

TEST(ExprFormatterCalls, Arguments)
{
    checkTable({
        {{}, "f()", "f()"},
        {{{Key::WS_AFTER_EXPR_OPEN_PAREN, " "}, {Key::WS_BEFORE_EXPR_CLOSE_PAREN, " "}}, "f( )", "f()"},
        {{{Key::WS_AFTER_EXPR_OPEN_PAREN, " "}, {Key::WS_BEFORE_EXPR_CLOSE_PAREN, " "}}, "f(a)", "f( a )"},
        {{}, "f (a ,b)", "f(a, b)"},
        {{{Key::WS_AFTER_FN_CALL_NAME, " "}}, "f(a)", "f (a)"},
        {{{Key::WS_BEFORE_FN_CALL_COMMA, " "}, {Key::WS_BETWEEN_FN_CALL_ARGS, ""}}, "f(a, b)", "f(a ,b)"},
        {{}, "f(a, *b)", "f(a, *b)"},
        {{}, "f(a,-b)", "f(a, -b)"},
        {{}, "f(g(x),h(y+1))", "f(g(x), h(y + 1))"},
        {{}, "f(a)+1", "f(a) + 1"},
        {{}, "f(/*none*/)", "f(/*none*/)"},
        {{}, "f(a,\n  b)", "f(a,\nb)"},
        {{}, "sizeof(int)*2", "sizeof(int) * 2"},
        {{}, "throw(x)", "throw(x)"},
        {{}, "a.f(x).g()", "a.f(x).g()"},
        {{}, "f(a", "f(a"},
        {{}, "f(a, (b)", "f(a, (b)"},
        {{}, "(a+b)*c", "(a + b) * c"},
        {{}, "x = (a + b)", "x = (a + b)"},
    });
}

TEST(ExprFormatterBrackets, Subscripts)
{
    checkTable({
        {{}, "a [ i ]", "a[i]"},
        {{{Key::WS_AFTER_LBRACKET, " "}, {Key::WS_BEFORE_RBRACKET, " "}}, "a[i+1]", "a[ i + 1 ]"},
        {{{Key::WS_BEFORE_LBRACKET, " "}}, "a[i][j]", "a [i] [j]"},
        {{{Key::WS_AFTER_LBRACKET, " "}}, "a[]", "a[]"},
        {{}, "m[a, b]", "m[a,b]"},
        {{}, "a[i]-1", "a[i] - 1"},
        {{}, "delete [] p", "delete[] p"},
    });
}

TEST(ExprFormatterCasts, EveryKind)
{
    const Overrides castWs = {{Key::WS_BETWEEN_CAST_OPERAND, " "}};
    checkTable({
        {castWs, "(int)x", "(int) x"},
        {castWs, "(int)  1.5", "(int) 1.5"},
        {castWs, "(char *)p", "(char *) p"},
        {castWs, "(T &)*p", "(T &) *p"},
        {castWs, "(int)(x+1)", "(int) (x + 1)"},
        {castWs, "(x) + 1", "(x) + 1"},
        {castWs, "(a + b) c", "(a + b) c"},
        {castWs, "(unsigned int)x", "(unsigned int)x"},
        {castWs, "(T)/*c*/x", "(T)/*c*/ x"},
        {castWs, "(T)// c\n  x", "(T)// c\nx"},
        {{}, "static_cast<int>(x)", "static_cast<int>(x)"},
        {castWs, "static_cast< int >( x )", "static_cast<int> (x)"},
        {{{Key::WS_AFTER_TP_OPEN_BRACKET, " "}, {Key::WS_BEFORE_TP_CLOSE_BRACKET, " "}}, "const_cast<T>(x)",
         "const_cast< T >(x)"},
        {{{Key::ASTERISK_ANCHOR, "i:0"}}, "reinterpret_cast<char *>(p)", "reinterpret_cast<char*>(p)"},
        {{{Key::ASTERISK_ANCHOR, "i:1"}, {Key::WS_BETWEEN_ASTERISK_ANCHOR, " "}}, "dynamic_cast<B*>(p)",
         "dynamic_cast<B *>(p)"},
        {{}, "static_cast<int>(a, -b)", "static_cast<int>(a, -b)"},
    });
}

TEST(ExprFormatterNames, TemplateIds)
{
    const Overrides tp = {{Key::WS_AFTER_TP_OPEN_BRACKET, " "}, {Key::WS_BEFORE_TP_CLOSE_BRACKET, " "}};
    checkTable({
        {{}, "std::vector< int >", "std::vector<int>"},
        {tp, "std::map<K,V>::iterator", "std::map< K, V >::iterator"},
        {{}, "A<B<C> >::D :: e", "A<B<C> >::D :: e"},
        {{}, "f<int>(x)", "f<int>(x)"},
        {{}, "pair<int,x+1>", "pair<int, x + 1>"},
        {{{Key::ASTERISK_ANCHOR, "i:0"}}, "vector<char *>", "vector<char*>"},
        {{{Key::ASTERISK_ANCHOR, "i:1"}, {Key::WS_BETWEEN_ASTERISK_ANCHOR, " "}}, "vector<char*>", "vector<char *>"},
        {{}, "ns :: name", "ns :: name"},
        {{}, "a < b", "a < b"},
        {{}, "a < b && c > d", "a < b && c > d"},
    });
}

TEST(ExprFormatterStrings, Runs)
{
    const Overrides wrap = {{Key::GLOBAL_LINE_WRAP, "b:true"}};
    checkTable({
        {wrap, "\"a\"\n  \"b\"\n\t\"c\"", "\"a\" \"b\" \"c\""},
        {{}, "\"a\"\n  \"b\"", "\"a\"\n\"b\""},
        {wrap, "f(\"a\"\n\"b\")", "f(\"a\" \"b\")"},
        {wrap, "L\"a\" L\"b\"", "L\"a\" L\"b\""},
    });
}

TEST(ExprFormatterStrings, UnterminatedLiteralCopiesTheRest)
{
    checkTable({
        {{}, "a+b \"open\n  c+d", "a + b \"open\n  c+d"},
        {{}, "x='", "x ='"},
    });
}

// The declarator rule for every anchor, with and without a line break in
// the name gap.
TEST(ExprFormatterDeclarators, Anchors)
{
    struct DeclCase {
        Overrides overrides;
        std::string input;
        std::string nameGap;
        std::string expected;
    };
    const Overrides star0 = {{Key::ASTERISK_ANCHOR, "i:0"}};
    const Overrides star1 = {{Key::ASTERISK_ANCHOR, "i:1"}};
    const Overrides amp0 = {{Key::AMPERSAND_ANCHOR, "i:0"}};
    const Overrides amp1 = {{Key::AMPERSAND_ANCHOR, "i:1"}, {Key::WS_BETWEEN_AMPERSAND_ANCHOR, ""}};
    const std::vector<DeclCase> table = {
        {{}, "int  *  p", " ", "int  *  p"},
        {star0, "int *p", " ", "int* p"},
        {star0, "int * * p", " ", "int** p"},
        {star1, "int* p", " ", "int *p"},
        {star1, "char*const p", " ", "char *const p"},
        {star0, "char*const p", " ", "char* const p"},
        {star1, "int* p", "\n", "int*\np"},
        {star0, "int*p", "     ", "int*     p"},
        {{{Key::ASTERISK_ANCHOR, "i:0"}, {Key::WS_BETWEEN_ASTERISK_ANCHOR, " "}}, "int*p", " ", "int * p"},
        {amp0, "const T &r", " ", "const T& r"},
        {amp1, "const T& r", " ", "const T &r"},
        {amp1, "T & & r", " ", "T & &r"},
        {amp0, "T&& r", " ", "T&& r"},
        {star1, "int *a, *b", " ", "int *a, *b"},
        {star0, "int *a,*b", " ", "int* a,*b"},
        {star0, "std::map<K, V*> *m", " ", "std::map<K, V*>* m"},
        {star1, "unsigned long*p", " ", "unsigned long *p"},
        {star1, "int *p = &x", " ", "int *p = &x"},
    };
    for (const DeclCase& c : table) {
        ExprFormatter f(exprScheme(c.overrides));
        const std::string out = f.formatDeclarator(c.input, f.position(0), c.nameGap);
        EXPECT_EQ(c.expected, out) << "input [" << c.input << "]";
        EXPECT_TRUE(sameTokens(c.input, out));
    }
}

TEST(ExprFormatterDeclarators, ExpressionModeKeepsStarsAfterNamesAsOperators)
{
    checkTable({
        {{{Key::ASTERISK_ANCHOR, "i:0"}}, "a * b", "a * b"},
        {{{Key::ASTERISK_ANCHOR, "i:0"}}, "sizeof(int *)", "sizeof(int*)"},
        {{{Key::ASTERISK_ANCHOR, "i:0"}}, "a, *b", "a, *b"},
        // Without a name gap, a blank stays where the source had one.
        {{{Key::ASTERISK_ANCHOR, "i:0"}}, "int *p = q", "int* p = q"},
        {{{Key::ASTERISK_ANCHOR, "i:0"}}, "int*p = q", "int*p = q"},
        {{{Key::ASTERISK_ANCHOR, "i:1"}}, "char * p", "char *p"},
        {{{Key::ASTERISK_ANCHOR, "i:1"}}, "(char*)p", "(char*)p"},
    });
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

TEST(ExprFormatterInitialisers, Braces)
{
    const Overrides lines = {{Key::WS_AFTER_DD_OPEN_BRACE, "\n"}, {Key::WS_BEFORE_DD_CLOSE_BRACE, "\n"}};
    checkTable({
        {{}, "= {1,2,3}", "= { 1, 2, 3 }"},
        {{}, "x={1,{2,3},{}}", "x = { 1, { 2, 3 }, {} }"},
        {{}, "= {-1, +2}", "= { -1, +2 }"},
        {{}, "= {1, 2, }", "= { 1, 2, }"},
        {lines, "= {1, {2, 3}}", "= {\n    1, {\n        2, 3\n    }\n}"},
        {{}, "= {\n  a,\n  b\n}", "= { a,\n    b }"},
        {{}, "= {a, // first\n b}", "= { a, // first\n    b }"},
        {{}, "= {1, 2", "= {1, 2"},
        {{}, "= f({-1})", "= f({-1})"},
    });
}

TEST(ExprFormatterInitialisers, IndentFollowsTheOutputPosition)
{
    checkTable({{{{Key::WS_AFTER_DD_OPEN_BRACE, "\n"}, {Key::WS_BEFORE_DD_CLOSE_BRACE, "\n"}}, "= {1}",
                 "= {\n\t    1\n\t}"}},
               10, "\t");
}

TEST(ExprFormatterDirectives, InsideInitialisers)
{
    const std::string in = "= {\n  a,\n    #if X\n  b,\n  #endif\n  c}";
    checkTable({
        {{}, in, "= { a,\n    #if X\n    b,\n  #endif\n    c }"},
        {{{Key::ALIGN_PPD_LEFT_MOST, "b:false"}}, in, "= { a,\n    #if X\n    b,\n    #endif\n    c }"},
        {{{Key::ALIGN_PPD_LEFT_MOST, "b:true"}, {Key::LEFT_MARGIN, " "}}, in,
         "= { a,\n #if X\n    b,\n #endif\n    c }"},
    });
}

TEST(ExprFormatterDirectives, DirectiveAfterTrimmedGapStartsItsLine)
{
    checkTable({
        {{}, "a +\n#ifdef X\n b\n#endif\n", "a +\n#ifdef X\nb\n#endif\n"},
        {{}, "f(\n#if A\n 1\n#endif\n)", "f(\n#if A\n1\n#endif\n)"},
    });
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
