// Forms found in real, widely used headers that the parser must read
// without diagnostic: macros standing where attributes stand, macros ending
// declarations, and the like. Each case names the node that must cover the
// unusual text, so that the text is kept inside a leaf (copied as written)
// and never skipped.
#include "Cpp_ParserTestUtil.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

struct RealCodeCase {
    const char* name;
    std::string text;
    // Lines (without indentation) that the tree dump must contain.
    std::vector<std::string> nodes;
};

void PrintTo(const RealCodeCase& c, std::ostream* os) { *os << c.name; }

std::string withoutIndent(const std::string& tree)
{
    std::string out;
    bool lineStart = true;
    for (char c : tree) {
        if (lineStart && c == ' ')
            continue;
        lineStart = c == '\n';
        out += c;
    }
    return out;
}

class ParserRealCode : public ::testing::TestWithParam<RealCodeCase> {};

TEST_P(ParserRealCode, ParsesWithoutDiagnostic)
{
    const RealCodeCase& c = GetParam();
    Cpp::ParseResult r = Cpp::parseText(c.text);
    EXPECT_EQ("", r.diagnostics()) << r.tree;
    const std::string tree = "\n" + withoutIndent(r.tree);
    for (const std::string& node : c.nodes)
        EXPECT_NE(std::string::npos, tree.find("\n" + node + "\n")) << "missing: " << node << "\n" << r.tree;
}

const RealCodeCase REAL_CODE_CASES[] = {
    {"NamespaceVisibilityMacro",
     "namespace std _GLIBCXX_VISIBILITY(default)\n{\nint x;\n}\n",
     {"NamespaceHeadNode name=std 1:1-1:42 \"namespace std _GLIBCXX_VISIBILITY(default)\"",
      "NamespaceBodyNode 2:1-4:1"}},
    {"NamespaceMacroWithoutArguments",
     "namespace detail ABI_TAG {\nint x;\n}\n",
     {"NamespaceHeadNode name=detail 1:1-1:24 \"namespace detail ABI_TAG\""}},
    {"NamespaceAttributes",
     "namespace N [[deprecated]] __attribute__((visibility(\"default\"))) { }\n",
     {"NamespaceHeadNode name=N 1:1-1:65 \"namespace N [[deprecated]] __attribute__((visibility(\\\"default\\\")))\""}},
    {"InlineNamespaceMacro",
     "inline namespace __cxx11 __attribute__((__abi_tag__(\"cxx11\"))) { }\n",
     {"NamespaceHeadNode name=__cxx11 1:1-1:62 \"inline namespace __cxx11 __attribute__((__abi_tag__(\\\"cxx11\\\")))\""}},
    {"IfWithConstexprMacro",
     "void f()\n{\n    if _GLIBCXX17_CONSTEXPR (sizeof(T) == 1)\n        g();\n}\n",
     {"CtrlSubStmtHeadNode 3:5-3:44", "ExprNode 3:29-3:44 \"(sizeof(T) == 1)\""}},
    {"IfConsteval",
     "void f()\n{\n    if consteval { g(); }\n}\n",
     {"ExprNode 3:8-3:16 \"consteval\"", "BlockNode 3:18-3:25"}},
    {"IfNotConstevalWithElse",
     "void f()\n{\n    if !consteval { g(); } else { h(); }\n}\n",
     {"ExprNode 3:8-3:17 \"!consteval\"", "KeywordNode type=94 3:28-3:31 \"else\""}},
    {"MacroWithEmptyArgument",
     "GMOCK_DEFINE_(void, );  // NOLINT\nint x;\n",
     {"ExprNode 1:1-1:22 \"GMOCK_DEFINE_(void, );\"", "IdNode name=x 2:5-2:5 \"x\""}},
    {"MacroWithEmptyArgumentInClass",
     "class C {\n    DECLARE(int, , x);\n};\n",
     {"ExprNode 2:5-2:22 \"DECLARE(int, , x);\""}},
    {"EnumWithSignedUnderlyingType",
     "enum class file_type : signed char {\n    none = 0, not_found = -1\n};\n",
     {"EnumHeadNode name=file_type 1:1-1:34 \"enum class file_type : signed char\""}},
};

std::string realCodeName(const ::testing::TestParamInfo<RealCodeCase>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(Forms, ParserRealCode, ::testing::ValuesIn(REAL_CODE_CASES), realCodeName);

// Decorations are taken only where they end at the body: anything else keeps
// its diagnostic at the place it always had.
struct StillWrongCase {
    const char* name;
    std::string text;
    std::string diagnostics;
};

void PrintTo(const StillWrongCase& c, std::ostream* os) { *os << c.name; }

class ParserRealCodeRefused : public ::testing::TestWithParam<StillWrongCase> {};

TEST_P(ParserRealCodeRefused, KeepsItsDiagnostic)
{
    EXPECT_EQ(GetParam().diagnostics, Cpp::parseText(GetParam().text).diagnostics());
}

const StillWrongCase STILL_WRONG_CASES[] = {
    {"NamespaceWithoutBrace", "namespace N int x;\n", "11 1:13"},
    {"NamespaceMacroWithoutBrace", "namespace N FOO(x) int y;\n", "11 1:13"},
    {"NamespaceMacroUnclosedGroup", "namespace N FOO(x { }\n", "11 1:13"},
    {"FunctionWithEmptyParameter", "void f(int, );\n", "17 1:11"},
    {"IfWordWithoutCondition", "void f()\n{\n    if likely x;\n}\n", "10 3:8"},
    {"IfTwoWords", "void f()\n{\n    if A B (x) g();\n}\n", "10 3:8"},
    {"IfConstevalWithoutBlock", "void f()\n{\n    if consteval g();\n}\n", "10 3:8"},
};

std::string stillWrongName(const ::testing::TestParamInfo<StillWrongCase>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(Forms, ParserRealCodeRefused, ::testing::ValuesIn(STILL_WRONG_CASES), stillWrongName);

} // namespace
