// Characters the lexer skips (stray backslashes, "@", the backquote) between
// and inside constructs, under every shipped scheme and under Default with
// wrapping on and with braces added or removed: the pipeline formats them
// without tripping its own check, never drops one, never puts a line break
// right after a stray backslash (which would splice two lines into one and
// change the tokens), and a second run leaves the result as it is.
#include "StylistCpp.h"
#include "support/StylistCpp_ShippedSchemes.h"

#include "Corvale_Exception.h"
#include "Stylist_SchemeKeys.h"

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
    // A line of backslashes before a body's "{" (found by the pipeline
    // fuzzer under Whitesmiths).
    {"BackslashesBeforeBody",
     "voi    for (;;) {}\n    for (;;) { ; }\n    for (;;) {pin();\n"
     "    \\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\{ n++; }}\n"
     "};;) { ; }\n    for (;;) {{ n++; }}\n}\n"},
    {"ControlBodies",
     "void f()\n{\n    for (;;) \\\\\\{ n++; }\n    if (x) \\\\\\ g();\n    else \\\\\\ h();\n"
     "    while (y) { g(); \\\\\\}\n    do \\\\\\{ } while (0);\n    if (a) { if (b) c(); \\\\ } else d();\n"
     "    do { x(); } \\\\ while (0);\n}\n"},
    {"StatementsAndLabels",
     "void f()\n{\n    switch (z) { \\\\ case 1: \\\\ break; \\\\ default: ; }\n    int a = 1; \\\\\\\n"
     "    try { f(); \\\\ } \\\\ catch (...) \\\\ { }\n    return \\\\ 0;\n}\n"},
    {"Declarations",
     "class C \\\\\\{ public: \\\\\\ int a; \\\\\\};\nstruct D { int b; } \\\\\\;\n"
     "enum E \\\\\\{ A, \\\\\\ B \\\\\\};\nnamespace N \\\\\\{ int q; \\\\\\}\nextern \"C\" { \\\\ int a; \\\\ }\n"
     "int g(int a, \\\\\\ int b) \\\\\\ { return a \\\\\\+ b; }\nC::C() : \\\\\\ a(1), \\\\\\ b(2) \\\\\\ {}\n"
     "template <class T> \\\\\\ void h(T) {}\nint arr[] = { 1, \\\\\\ 2, 3 \\\\\\};\n"},
    // A directive right after a stray backslash on its line (found by the
    // pipeline fuzzer): it stays on that line.
    {"DirectiveAfterBackslash",
     "\\# a\nS\nint x; \\# b\nint y;\nvoid f() { x; \\   # c\n}\nclass A { \\\n# if 1\nint x; \\# endif\n};\n"},
    {"OtherSkippedCharacters",
     "void f()\n{\n    if (x) @ g();\n    f(); @ g();\n    for (;;) ` { x(); @ }\n}\n"
     "int g(int a, @ int b) @ { return 1; }\n"},
    // Long enough to be wrapped when wrapping is on.
    {"WrappedLists",
     "void f()\n{\n    callSomethingLong(argumentNumberOne, argumentNumberTwo, \\\\\\ argumentNumberThree, "
     "argumentNumberFour, argumentNumberFive);\n    x = aaaaaaaaaaaaaaaaaaaaaaaa + bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb + "
     "ccccccccccccccccccccc \\\\\\ + ddddddddddddddddddddddddd;\n}\n"
     "int ggggggggggggggggggggggg(int aaaaaaaaaaaaaaaaaaaaaa, int bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb, \\\\\\ int "
     "ccccccccccccccccccccc);\n"
     "int arr[] = { 1111111111, 2222222222, 3333333333, 4444444444, 5555555555, 6666666666, \\\\\\ 7777777777 };\n"
     "class C : public Aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa, public Bbbbbbbbbbbbbbbbbbbbbbbbbbbbbb, \\\\\\ public "
     "Ccccccccccccccc {};\nclass D : public Aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa, public Bbbbbbbbbbbbbbbbbbbbbbbbbbbbbb, @ "
     "public Ccccccccccccccc {};\n"
     "C::C() : aaaaaaaaaaaaaaaaaaaaaaa(1), bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb(2), cccccccccccccccccccccccc(3), \\\\\\ "
     "ddddddddd(4) {}\n"
     "enum E { Aaaaaaaaaaaaaaaaaaaaaa, Bbbbbbbbbbbbbbbbbbbbbbbbbbbbb, Ccccccccccccccccccccccccccccc, \\\\\\ Ddddddd };\n"},
};

// A shipped scheme, or Default changed: "+Wrap" turns every wrap switch on,
// "+Braces" and "-Braces" add or remove the braces of single-statement
// bodies.
const char* const SCHEMES[] = {"Allman", "Default",     "GNU",      "KR",      "Stroustrup",
                               "Whitesmiths", "Default+Wrap", "Default+Braces", "Default-Braces"};

Stylist::PropertySet schemeNamed(const std::string& name)
{
    namespace Key = Stylist::Key;
    const std::size_t cut = name.find_first_of("+-");
    Stylist::PropertySet scheme = StylistCppTest::shippedScheme(name.substr(0, cut));
    const std::string change = cut == std::string::npos ? std::string() : name.substr(cut);
    if (change == "+Wrap") {
        for (const char* key : {Key::GLOBAL_LINE_WRAP, Key::BASE_CLAUSE_LINE_WRAP, Key::CLASS_INIT_LINE_WRAP,
                                Key::FN_DECL_LINE_WRAP, Key::FN_DEFN_LINE_WRAP, Key::DD_LINE_WRAP,
                                Key::ENUM_LINE_WRAP, Key::EXPR_LINE_WRAP})
            scheme.setBool(key, true);
    } else if (!change.empty()) {
        const int style = change == "+Braces" ? 1 : 2;
        for (const char* key : {Key::IF_ELSE_CS_SINGLE_STMT_BRACE_STYLE, Key::FOR_CS_SINGLE_STMT_BRACE_STYLE,
                                Key::WHILE_CS_SINGLE_STMT_BRACE_STYLE})
            scheme.setInt(key, style);
    }
    return scheme;
}

// The text without whitespace, and without braces when braces may change.
std::string printable(const std::string& text, bool braces)
{
    std::string kept;
    for (char c : text)
        if (!std::isspace(static_cast<unsigned char>(c)) && (braces || (c != '{' && c != '}')))
            kept += c;
    return kept;
}

// Whether a line of the text ends in a backslash outside a directive (the
// texts of these cases hold no directives; one line ends so on purpose, and
// it ends so in every output).
int splicedLines(const std::string& text)
{
    int lines = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const std::size_t last = line.find_last_not_of(" \t\r");
        lines += last != std::string::npos && line[last] == '\\' ? 1 : 0;
    }
    return lines;
}

class StrayCharacters : public ::testing::TestWithParam<const char*> {};

TEST_P(StrayCharacters, AreKeptWhereTheyStandAndFormattingAgainChangesNothing)
{
    const std::string name = GetParam();
    const bool braces = name.find("Braces") == std::string::npos;
    StylistCpp::FormatPipeline pipeline(schemeNamed(name));
    for (const Case& c : CASES) {
        SCOPED_TRACE(c.name);
        std::string once, twice;
        ASSERT_TRUE(StylistCppTest::formatted(pipeline, c.text, once));
        EXPECT_EQ(printable(c.text, braces), printable(once, braces)) << once;
        EXPECT_EQ(splicedLines(c.text), splicedLines(once)) << once;
        ASSERT_TRUE(StylistCppTest::formatted(pipeline, once, twice));
        EXPECT_EQ(once, twice);
    }
}

INSTANTIATE_TEST_SUITE_P(Schemes, StrayCharacters, ::testing::ValuesIn(SCHEMES),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string n = info.param;
                             for (char& c : n)
                                 c = c == '+' ? 'P' : c == '-' ? 'M' : c;
                             return n;
                         });

// The layout around a stray backslash: the line break a key asks for after
// it becomes one blank, and the blanks around it are laid out like any
// other, so they do not pile up from run to run.
TEST(StrayCharacters, ALineBreakAfterAStrayBackslashBecomesOneBlank)
{
    struct Expected {
        const char* scheme;
        const char* in;
        const char* out;
    };
    const Expected cases[] = {
        {"Whitesmiths", "void f()\n{\n    for (;;) {pin();\n    \\\\\\{ n++; }}\n}\n",
         "void f()\n    {\n    for (;;)\n        {\n        pin();\n        \\\\\\ {\n            n++;\n            }\n"
         "        }\n    }\n"},
        {"Default", "void f()\n{\n    if (x) \\\\  g();\n    while (y) { g(); \\\\}\n}\n",
         "void f()\n{\n    if (x) \\\\ g();\n    while (y) {\n        g(); \\\\ }\n}\n"},
        {"Allman", "int g(int a, @ int b) \\   {}\n", "int g(int a, @ int b) \\ {}\n"},
    };
    for (const Expected& c : cases) {
        SCOPED_TRACE(c.in);
        StylistCpp::FormatPipeline pipeline(schemeNamed(c.scheme));
        std::string out;
        ASSERT_TRUE(StylistCppTest::formatted(pipeline, c.in, out));
        EXPECT_EQ(c.out, out);
    }
}

} // namespace
