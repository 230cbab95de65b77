// Directives inside bracketed lists (template arguments, call arguments,
// base clauses, member initialisers, braced initialisers) under every
// shipped scheme: the pipeline formats them without tripping its own
// whitespace-only check, every directive keeps a line of its own, and a
// second run leaves the result as it is.
#include "StylistCpp.h"
#include "support/StylistCpp_ShippedSchemes.h"

#include "Corvale_Exception.h"
#include "Stylist_PropertySetStore.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

struct Case {
    const char* name;
    const char* text;
};

const Case CASES[] = {
    {"TemplateArgumentList", "typedef A<\n#if defined(X)\n    B\n#endif\n> T;\n"},
    {"TemplateArgumentsAroundDirective",
     "typedef A<B,\n#if defined(X)\n    C,\n#else\n    D,\n#endif\n    E> T;\n"},
    {"NestedTemplateArgumentList", "typedef A<B<\n#ifdef X\n    C\n#endif\n    >, D> T;\n"},
    {"FunctionArgumentList", "void f()\n{\n    g(a,\n#if defined(X)\n      b\n#endif\n    );\n}\n"},
    {"BaseClause", "class C : public B\n#if defined(X)\n    , public D\n#endif\n{\n};\n"},
    {"MemberInitialiserList", "C::C() : a(1)\n#if defined(X)\n    , b(2)\n#endif\n{\n}\n"},
    // The lexer ends the list at the ">" of the comparison in the "#if".
    {"ComparisonInsideDirective",
     "struct S {\n    void swap(S& o)\n    noexcept(__and_<\n#if __cplusplus > 201402L // c++17\n"
     "        X<A>,\n#else\n        X<B>,\n#endif\n        X<C>\n    >::value)\n    {\n    }\n};\n"},
    {"BracedInitialiser", "int v[] = { 1,\n#if defined(X)\n    2\n#endif\n};\n"},
};

std::string trimmed(const std::string& s)
{
    const std::size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return std::string();
    const std::size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

std::vector<std::string> directiveLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const std::string t = trimmed(line);
        if (!t.empty() && t[0] == '#')
            lines.push_back(t);
    }
    return lines;
}

class DirectiveInList : public ::testing::TestWithParam<const char*> {};

TEST_P(DirectiveInList, FormatsKeepingDirectivesOnTheirOwnLinesAndIsIdempotent)
{
    StylistCpp::FormatPipeline pipeline(StylistCppTest::shippedScheme(GetParam()));
    for (const Case& c : CASES) {
        SCOPED_TRACE(c.name);
        std::string once, twice;
        ASSERT_TRUE(StylistCppTest::formatted(pipeline, c.text, once));
        EXPECT_EQ(directiveLines(c.text), directiveLines(once)) << once;
        ASSERT_TRUE(StylistCppTest::formatted(pipeline, once, twice));
        EXPECT_EQ(once, twice);
    }
}

INSTANTIATE_TEST_SUITE_P(ShippedSchemes, DirectiveInList, ::testing::ValuesIn(StylistCppTest::SHIPPED_SCHEMES));

} // namespace
