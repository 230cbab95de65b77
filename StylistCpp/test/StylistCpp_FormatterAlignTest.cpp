// The formatter's use of the alignment columns: names padded to the name
// column, signs split off and hung before it, initialisers padded to their
// column, and the declarator list of a class that ended at its brace left
// alone. The columns are given directly, as the alignment calculators would
// find them.
#include "support/StylistCpp_PassRunner.h"
#include "support/StylistCpp_TokenCompare.h"

#include "Cpp_CompositeNode.h"
#include "Cpp_InteriorNode.h"
#include "Cpp_LexerIterator.h"
#include "Cpp_Parser.h"
#include "StylistCpp_Formatter.h"
#include "Stylist_SchemeKeys.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

const std::string GOLDEN_DIR = QUILLON_FORMATTER_GOLDEN_DIR;

struct AlignCase {
    const char* m_Name;
    const char* m_Input;
    int m_NameColumn;  // for every top-level data and function declaration; 0: none
    int m_InitColumn;  // for every top-level data declaration; 0: none
    const char* m_Keys; // "KEY=value" flags and integers, separated by blanks
    const char* m_Expected;
};

std::string formatAligned(const AlignCase& c)
{
    using namespace StylistCpp::test;
    Stylist::PropertySet scheme = readScheme(GOLDEN_DIR + "/bases/kr.scheme", GOLDEN_DIR + "/bases");
    applyKeys(scheme, std::string("TAB_SIZE=4 ") + c.m_Keys);
    std::string text = c.m_Input;
    Cpp::Parser parser;
    Cpp::LexerIterator first(text.begin(), text.end()), last;
    std::unique_ptr<Cpp::RootNode> pRoot = parser.parse(first, last);

    StylistCpp::Formatter::ColumnMap functions, names, inits;
    // The top-level declarations and the members of top-level classes.
    std::vector<Cpp::SyntaxNode*> declarations;
    for (Cpp::SyntaxNode* pChild : pRoot->children()) {
        declarations.push_back(pChild);
        if (auto* pClass = dynamic_cast<Cpp::ClassDeclNode*>(pChild))
            if (pClass->body())
                for (Cpp::SyntaxNode* pMember : pClass->body()->children())
                    declarations.push_back(pMember);
    }
    for (Cpp::SyntaxNode* pChild : declarations) {
        if (dynamic_cast<Cpp::DataDeclNode*>(pChild)) {
            if (c.m_NameColumn > 0)
                names[pChild] = c.m_NameColumn;
            if (c.m_InitColumn > 0)
                inits[pChild] = c.m_InitColumn;
        } else if (dynamic_cast<Cpp::FunctionDeclNode*>(pChild) && c.m_NameColumn > 0) {
            functions[pChild] = c.m_NameColumn;
        }
    }
    std::ostringstream out;
    StylistCpp::Formatter formatter(text, out, scheme);
    formatter.setAlignment(functions, names, inits);
    pRoot->accept(formatter);
    return out.str();
}

const AlignCase CASES[] = {
    {"NamesToTheirColumn", "int a;\nunsigned long count;\n", 16, 0, "ALIGN_DD_NAMES_LEFT=true",
     "int             a;\nunsigned long   count;\n"},
    {"NamesNeedTheKey", "int a;\nunsigned long count;\n", 16, 0, "ALIGN_DD_NAMES_LEFT=false",
     "int a;\nunsigned long count;\n"},
    {"PaddingPassesATypeLongerThanTheColumn", "unsigned long long value;\n", 8, 0, "ALIGN_DD_NAMES_LEFT=true",
     "unsigned long long          value;\n"}, // to the stop for 8 + 18
    {"StarAnchoredToTheName", "char *p;\nint n;\n", 8, 0, "ALIGN_DD_NAMES_LEFT=true ASTERISK_ANCHOR=1",
     "char    *p;\nint     n;\n"},
    {"HangingStar", "char *p;\nint n;\n", 8, 0,
     "ALIGN_DD_NAMES_LEFT=true ASTERISK_ANCHOR=1 HANGING_ASTERISK=true", "char   *p;\nint     n;\n"},
    {"HangingAmpersand", "int &r = x;\nint n;\n", 8, 0,
     "ALIGN_DD_NAMES_LEFT=true AMPERSAND_ANCHOR=1 HANGING_AMPERSAND=true", "int    &r = x;\nint     n;\n"},
    {"CommentBetweenTypeAndNameIsNotAligned", "int /* c */ a;\nlong b;\n", 8, 0, "ALIGN_DD_NAMES_LEFT=true",
     "int /* c */ a;\nlong    b;\n"},
    {"DeclaratorsOfAClassEndingAtItsBrace", "struct S { int x; } s;\nint n;\n", 8, 0, "ALIGN_DD_NAMES_LEFT=true",
     "struct S {\n    int     x;\n} s;\nint     n;\n"},
    {"FunctionNames", "int f();\nconst char *name();\n", 16, 0, "ALIGN_FN_DECL_NAMES_LEFT=true",
     "int             f();\nconst char *    name();\n"},
    {"FunctionNameWithItsStar", "int f();\nconst char *name();\n", 16, 0,
     "ALIGN_FN_DECL_NAMES_LEFT=true ASTERISK_ANCHOR=1", "int             f();\nconst char      *name();\n"},
    {"FunctionDefinitionsAreNotAligned", "int f() { return 0; }\n", 16, 0, "ALIGN_FN_DECL_NAMES_LEFT=true",
     "int f() {\n    return 0;\n}\n"},
    {"ClassMembers", "struct S {\n    int a;\n    long count;\n    void f();\n};\n", 12, 0,
     "ALIGN_CLASS_MEMBER_NAMES_LEFT=true",
     "struct S {\n    int         a;\n    long        count;\n    void        f();\n};\n"},
    {"ClassMembersNeedTheKey", "struct S {\n    int a;\n    long count;\n};\n", 12, 0,
     "ALIGN_CLASS_MEMBER_NAMES_LEFT=false", "struct S {\n    int a;\n    long count;\n};\n"},
    {"Initializers", "int a = 1;\nlong count = 2;\nint z;\n", 0, 12, "ALIGN_DD_INITIALIZERS=true",
     "int a       = 1;\nlong count  = 2;\nint z;\n"},
};

class FormatterAlign : public ::testing::TestWithParam<AlignCase> {};

TEST_P(FormatterAlign, PadsToTheGivenColumns)
{
    const AlignCase& c = GetParam();
    std::string actual = formatAligned(c);
    EXPECT_EQ("", StylistCpp::test::firstDifference(c.m_Expected, actual)) << actual;
    EXPECT_TRUE(StylistCppTest::sameTokens(c.m_Input, actual));
}

INSTANTIATE_TEST_SUITE_P(Columns, FormatterAlign, ::testing::ValuesIn(CASES),
                         [](const ::testing::TestParamInfo<AlignCase>& info) { return info.param.m_Name; });

} // namespace
