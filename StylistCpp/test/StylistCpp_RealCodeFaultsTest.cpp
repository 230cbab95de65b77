// Faults found by formatting real code, as tables: each case formats a text
// with one of the golden test bases and a few keys over it, and must give
// the expected text, keep every token, and come out unchanged when
// formatted again.
#include "StylistCpp.h"
#include "support/StylistCpp_PassRunner.h"
#include "support/StylistCpp_TokenCompare.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

const std::string GOLDEN_DIR = QUILLON_FORMATTER_GOLDEN_DIR;

struct Case {
    const char* base;
    std::vector<std::pair<const char*, const char*>> strings; // whitespace keys over the base
    std::vector<std::pair<const char*, int>> ints;            // integer keys over the base
    const char* in;
    const char* out;
    std::vector<std::pair<const char*, bool>> bools = {}; // flags over the base
};

void expectFormats(const Case& c)
{
    Stylist::PropertySet scheme =
        StylistCpp::test::readScheme(GOLDEN_DIR + "/bases/" + c.base + ".scheme", GOLDEN_DIR + "/bases");
    for (const auto& key : c.strings)
        scheme.setString(key.first, key.second);
    for (const auto& key : c.ints)
        scheme.setInt(key.first, key.second);
    for (const auto& key : c.bools)
        scheme.setBool(key.first, key.second);
    const std::string out = StylistCpp::test::formatText(c.in, scheme);
    EXPECT_EQ(c.out, out) << "base " << c.base << ", input:\n" << c.in;
    EXPECT_EQ("", StylistCpp::test::firstDifference(out, StylistCpp::test::formatText(out, scheme)))
        << "formatting again, base " << c.base << ", input:\n" << c.in;
    EXPECT_TRUE(StylistCppTest::sameTokens(c.in, out)) << "input:\n" << c.in;
}

const std::vector<std::pair<const char*, const char*>> PADDED_TEMPLATE_LISTS = {
    {"WS_AFTER_TP_OPEN_BRACKET", " "}, {"WS_BEFORE_TP_CLOSE_BRACKET", " "}};

// ">>" closing two template argument lists is one token: no scheme splits
// it; "> >" as written stays; shifts keep their operator spacing.
TEST(RealCodeFaults, ShiftTokensAfterTemplatesAreNeverSplit)
{
    const Case cases[] = {
        {"kr", {}, {}, "std::vector<std::vector<int>> v;\n", "std::vector<std::vector<int>> v;\n"},
        {"kr", PADDED_TEMPLATE_LISTS, {}, "std::vector<std::vector<int>> v;\n",
         "std::vector< std::vector< int >> v;\n"},
        {"kr", PADDED_TEMPLATE_LISTS, {}, "std::map<int, std::vector<std::pair<int, int>>> m;\n",
         "std::map< int, std::vector< std::pair< int, int >>> m;\n"},
        {"kr", PADDED_TEMPLATE_LISTS, {}, "std::vector<std::vector<int> > v;\n",
         "std::vector< std::vector< int > > v;\n"},
        {"empty", {}, {}, "std::vector<std::vector<int> > v;\n", "std::vector<std::vector<int> > v;\n"},
        {"kr", PADDED_TEMPLATE_LISTS, {}, "std::vector<int> p = static_cast<std::vector<int>>(q);\n",
         "std::vector< int > p = static_cast< std::vector< int >>(q);\n"},
        {"braces", PADDED_TEMPLATE_LISTS, {}, "int f(int a, int b)\n{\n\ta >>= b;\n\ta = a>>2;\n\treturn (a >> 1)>>b;\n}\n",
         "int f(int a, int b)\n{\n\ta >>= b;\n\ta = a >> 2;\n\treturn (a >> 1) >> b;\n}\n"},
    };
    for (const Case& c : cases)
        expectFormats(c);
}

// A structured binding is a declaration: the name gap after "auto" or its
// sign, the names spaced by the data declaration comma keys; "auto& r" at
// statement level is a declarator like "int& r".
TEST(RealCodeFaults, StructuredBindingsAndAutoReferencesAreDeclarations)
{
    const char* body = "int f(const M& m) {\n"
                       "    auto[a,b] = g();\n"
                       "    const auto &[x,y] = g();\n"
                       "    auto&& [p , q] = g();\n"
                       "    for (const auto&[k,v] : m)\n"
                       "        a += k;\n"
                       "    auto& r = a;\n"
                       "    return r;\n"
                       "}\n";
    const Case cases[] = {
        {"kr", {}, {}, body,
         "int f(const M& m) {\n"
         "    auto [a, b] = g();\n"
         "    const auto & [x, y] = g();\n"
         "    auto&& [p, q] = g();\n"
         "    for (const auto& [k, v] : m)\n"
         "        a += k;\n"
         "    auto& r = a;\n"
         "    return r;\n"
         "}\n"},
        {"kr", {{"WS_BETWEEN_AMPERSAND_ANCHOR", ""}, {"WS_BEFORE_DD_COMMA", " "}}, {{"AMPERSAND_ANCHOR", 0}}, body,
         "int f(const M& m) {\n"
         "    auto [a , b] = g();\n"
         "    const auto& [x , y] = g();\n"
         "    auto&& [p , q] = g();\n"
         "    for (const auto& [k , v] : m)\n"
         "        a += k;\n"
         "    auto& r = a;\n"
         "    return r;\n"
         "}\n"},
        {"kr", {{"WS_BETWEEN_AMPERSAND_ANCHOR", ""}, {"WS_BETWEEN_DD_ELEMENTS", ""}}, {{"AMPERSAND_ANCHOR", 1}}, body,
         "int f(const M &m) {\n"
         "    auto [a,b] = g();\n"
         "    const auto &[x,y] = g();\n"
         "    auto &&[p,q] = g();\n"
         "    for (const auto &[k,v] : m)\n"
         "        a += k;\n"
         "    auto &r = a;\n"
         "    return r;\n"
         "}\n"},
    };
    for (const Case& c : cases)
        expectFormats(c);
}

// ALIGN_FN_CALL_ARGS_LEFT: an argument that a kept line break puts on a
// line of its own starts at the column of the call's first argument; a
// nested call aligns to its own first argument; without the key the
// continuation keeps its offset from the statement as written.
const std::vector<std::pair<const char*, bool>> ALIGN_ARGS = {{"ALIGN_FN_CALL_ARGS_LEFT", true}};

TEST(RealCodeFaults, CallArgumentsAlignLeftWhenAsked)
{
    const char* in = "void f() {\n"
                     "    call(first,\n"
                     "  second, third);\n"
                     "    total = g(a, h(b,\n"
                     "c), d);\n"
                     "}\n";
    const Case cases[] = {
        {"kr", {}, {}, in,
         "void f() {\n"
         "    call(first,\n"
         "    second, third);\n"
         "    total = g(a, h(b,\n"
         "    c), d);\n"
         "}\n"},
        {"kr", {}, {}, in,
         "void f() {\n"
         "    call(first,\n"
         "         second, third);\n"
         "    total = g(a, h(b,\n"
         "                   c), d);\n"
         "}\n",
         ALIGN_ARGS},
        {"kr", {{"WS_AFTER_EXPR_OPEN_PAREN", " "}, {"WS_BEFORE_EXPR_CLOSE_PAREN", " "}}, {}, in,
         "void f() {\n"
         "    call( first,\n"
         "          second, third );\n"
         "    total = g( a, h( b,\n"
         "                     c ), d );\n"
         "}\n",
         ALIGN_ARGS},
    };
    for (const Case& c : cases)
        expectFormats(c);
}

// The kr base with the wrap pass's keys, data declarations wrapped at a
// margin of 40.
Stylist::PropertySet wrappingScheme()
{
    const std::string bases = GOLDEN_DIR + "/bases";
    Stylist::PropertySet scheme = StylistCpp::test::readScheme(bases + "/kr.scheme", bases);
    const Stylist::PropertySet wrap =
        StylistCpp::test::readScheme(GOLDEN_DIR + "/../LineWrapper/wrap_off.scheme", bases);
    for (const auto& p : wrap.bools())
        scheme.setBool(p.first, p.second);
    for (const auto& p : wrap.ints())
        scheme.setInt(p.first, p.second);
    for (const auto& p : wrap.strings())
        scheme.setString(p.first, p.second);
    scheme.setBool("GLOBAL_LINE_WRAP", true);
    scheme.setBool("DD_LINE_WRAP", true);
    scheme.setInt("RIGHT_MARGIN", 40);
    return scheme;
}

std::string runPipeline(const std::string& text, const Stylist::PropertySet& scheme)
{
    StylistCpp::FormatPipeline pipeline(scheme);
    std::istringstream in(text);
    std::ostringstream out;
    EXPECT_EQ(0, pipeline.format(in, out)) << text;
    return out.str();
}

// A line break kept after a comma in an initialiser, written by the user or
// by the line wrapper under the "{", stays where it is when the output is
// formatted again.
TEST(RealCodeFaults, KeptBreaksInInitialisersAreStableUnderASecondRun)
{
    const Stylist::PropertySet scheme = wrappingScheme();
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"static const int primes[] = { 2, 3, 5, 7, 11, 13, 17, 19, 23 };\n",
         "static const int primes[] = { 2, 3, 5,\n"
         "                              7, 11, 13,\n"
         "                              17, 19,\n"
         "                              23 };\n"},
        {"int a[] = { 1, 2,\n 3 };\n", "int a[] = { 1, 2,\n    3 };\n"},
        {"void f() {\n    const char* names[] = { \"alpha\", \"beta\", \"gamma\",\n        \"delta\" };\n}\n",
         "void f() {\n"
         "    const char* names[] = { \"alpha\",\n"
         "                            \"beta\",\n"
         "                            \"gamma\",\n"
         "                            \"delta\" };\n"
         "}\n"},
    };
    for (const auto& c : cases) {
        const std::string once = runPipeline(c.in, scheme);
        EXPECT_EQ(c.out, once) << c.in;
        EXPECT_EQ("", StylistCpp::test::firstDifference(once, runPipeline(once, scheme))) << "formatting again:\n" << once;
    }
}

} // namespace

namespace {

// A line break kept after a call's comma inside a template argument list
// (a return type or a member's type spelled with decltype) keeps its offset
// from the argument list's own first character; measured from the
// declaration's start instead, it moved right by the width of the name
// before the "<" on every run.
TEST(RealCodeFaults, KeptBreaksInsideTemplateArgumentsStayPut)
{
    const Case cases[] = {
        {"kr", {}, {}, "E<M(C,\n      a)> f(int a)\n{\n}\n", "E<M(C,\n      a)> f(int a) {\n}\n"},
        {"kr", {}, {}, "typename E<\n    M(C,\n      a)>::type\nf(int a)\n{\n}\n",
         "typename E<M(C,\n             a)>::type f(int a) {\n}\n"},
        {"kr", {}, {},
         "struct S {\n    typename std::decay<decltype(net::prefer(std::declval<\n"
         "        net::associated_executor_t<Handler>>(),\n"
         "        net::execution::outstanding_work.tracked))>::type\n          wg2_;\n};\n",
         "struct S {\n    typename std::decay<decltype(net::prefer(std::declval<net::associated_executor_t<Handler>>(),\n"
         "        net::execution::outstanding_work.tracked))>::type wg2_;\n};\n"},
        {"kr", {}, {{"TAB_SIZE", 8}}, "int f()\n{\n\treturn g<h(a,\n\t\t    b)>();\n}\n",
         "int f() {\n    return g<h(a,\n                b)>();\n}\n"},
    };
    for (const Case& c : cases)
        expectFormats(c);
}

} // namespace
