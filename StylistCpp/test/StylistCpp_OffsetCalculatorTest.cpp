// The alignment calculators on their own: a text is parsed, a calculator
// walks the tree, and the columns it gives the declarations (found by the
// names they declare) are compared with the expected ones.
#include "support/StylistCpp_PassRunner.h"

#include "Corvale_ITextDocStream.h"
#include "Cpp_CompositeNode.h"
#include "Cpp_InteriorNode.h"
#include "Cpp_LeafNode.h"
#include "Cpp_LexerIterator.h"
#include "Cpp_Parser.h"
#include "StylistCpp_DataOffsetCalculator.h"
#include "StylistCpp_NameOffsetCalculator.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

namespace {

using ColumnMap = Stylist::OffsetCalculator::ColumnMap;

const std::string GOLDEN_DIR = QUILLON_FORMATTER_GOLDEN_DIR;

// The K&R scheme with the given keys (as the pass runner's applyKeys takes
// them).
Stylist::PropertySet schemeOf(const std::string& keys)
{
    Stylist::PropertySet scheme = StylistCpp::test::readScheme(GOLDEN_DIR + "/bases/kr.scheme", GOLDEN_DIR + "/bases");
    StylistCpp::test::applyKeys(scheme, keys);
    return scheme;
}

// The declarations of a tree by the names they declare.
void collect(const Cpp::SyntaxNode* pNode, std::map<std::string, const Cpp::SyntaxNode*>& byName)
{
    if (!pNode)
        return;
    if (auto pData = dynamic_cast<const Cpp::DataDeclNode*>(pNode)) {
        if (pData->id())
            byName[pData->id()->name()] = pNode;
    } else if (auto pFunction = dynamic_cast<const Cpp::FunctionDeclNode*>(pNode)) {
        if (pFunction->head() && pFunction->head()->id())
            byName[pFunction->head()->id()->name()] = pNode;
    }
    if (auto pInterior = dynamic_cast<const Cpp::InteriorNode*>(pNode)) {
        for (const Cpp::SyntaxNode* pChild : pInterior->children())
            collect(pChild, byName);
    } else if (auto pComposite = dynamic_cast<const Cpp::CompositeNode*>(pNode)) {
        for (std::size_t i = 0; i < pComposite->fieldCount(); ++i)
            collect(pComposite->field(i), byName);
    }
}

struct Parsed {
    std::string m_Text;
    std::unique_ptr<Cpp::RootNode> m_pRoot;
    std::map<std::string, const Cpp::SyntaxNode*> m_ByName;
};

Parsed parse(const std::string& text)
{
    Parsed p;
    p.m_Text = text;
    Cpp::Parser parser;
    Cpp::LexerIterator first(p.m_Text.begin(), p.m_Text.end()), last;
    p.m_pRoot = parser.parse(first, last);
    collect(p.m_pRoot.get(), p.m_ByName);
    return p;
}

// "D:a=20 F:f=16 I:x=11 D:z=-": the data name, function name or
// initialiser column of the declaration of a name; "-" for none.
void expectColumns(const Parsed& p, const ColumnMap& data, const ColumnMap& functions, const ColumnMap& inits,
                   const std::string& expected)
{
    std::istringstream in(expected);
    std::string item;
    while (in >> item) {
        char kind = item[0];
        std::string name = item.substr(2, item.find('=') - 2);
        std::string value = item.substr(item.find('=') + 1);
        auto node = p.m_ByName.find(name);
        ASSERT_NE(p.m_ByName.end(), node) << "no declaration of " << name;
        const ColumnMap& map = kind == 'D' ? data : kind == 'F' ? functions : inits;
        auto it = map.find(node->second);
        if (value == "-")
            EXPECT_EQ(map.end(), it) << item;
        else if (it == map.end())
            ADD_FAILURE() << item << ": not in the map";
        else
            EXPECT_EQ(std::stoi(value), it->second) << item;
    }
}

struct CalcCase {
    const char* m_Name;
    const char* m_Keys;
    const char* m_Input;
    const char* m_Expected;
};

// ---- name columns ---------------------------------------------------------------------

const CalcCase NAME_CASES[] = {
    // Extents 8, 11 and 18: the next tab stop after 18.
    {"WorkedExample", "TAB_SIZE=4 ALIGN_CLASS_MEMBER_NAMES_LEFT=true",
     "class C {\n    int a;\n    double b;\n    unsigned long c;\n};\n", "D:a=20 D:b=20 D:c=20"},
    {"TopLevelNeedsDdKey", "TAB_SIZE=4 ALIGN_CLASS_MEMBER_NAMES_LEFT=true", "int a;\nlong b;\n", "D:a=- D:b=-"},
    {"TopLevelData", "TAB_SIZE=4 ALIGN_DD_NAMES_LEFT=true", "int a;\nunsigned long b;\n", "D:a=16 D:b=16"},
    {"TabSizeOne", "TAB_SIZE=1 ALIGN_DD_NAMES_LEFT=true", "int a;\nunsigned long b;\n", "D:a=14 D:b=14"},
    {"TabsInThePrefixCountToTheirStop", "TAB_SIZE=8 ALIGN_DD_NAMES_LEFT=true",
     "struct S {\n\tint a;\n\tchar b;\n};\n", "D:a=16 D:b=16"},
    {"CommentExcludesOneDeclaration", "TAB_SIZE=4 ALIGN_DD_NAMES_LEFT=true",
     "int a;\nunsigned long /* wide */ b;\nlong c;\n", "D:a=8 D:b=- D:c=8"},
    {"LineCommentInTheTypeExcludes", "TAB_SIZE=4 ALIGN_DD_NAMES_LEFT=true",
     "int a;\nunsigned // wide\nlong b;\n", "D:a=4 D:b=-"},
    {"StarWrittenWithTheType", "TAB_SIZE=4 ALIGN_DD_NAMES_LEFT=true ASTERISK_ANCHOR=-1", "char *p;\nint n;\n", "D:p=8 D:n=8"},
    {"StarAnchoredToTheName", "TAB_SIZE=4 ALIGN_DD_NAMES_LEFT=true ASTERISK_ANCHOR=1 WS_BETWEEN_ASTERISK_ANCHOR='",
     "char *p;\nint n;\n", "D:p=8 D:n=8"},
    // "unsigned **" without its stars is 8 wide: the stop at 8 leaves no
    // room for a hanging star, so two columns are added.
    {"HangingStarReservesRoom",
     "TAB_SIZE=4 ALIGN_DD_NAMES_LEFT=true ASTERISK_ANCHOR=1 HANGING_ASTERISK=true WS_BETWEEN_ASTERISK_ANCHOR='",
     "unsigned **pp;\nint n;\n", "D:pp=12 D:n=12"},
    // "mytype7" ends one column before a stop.
    {"HangingStarOneColumnShort",
     "TAB_SIZE=4 ALIGN_DD_NAMES_LEFT=true ASTERISK_ANCHOR=1 HANGING_ASTERISK=true WS_BETWEEN_ASTERISK_ANCHOR='",
     "mytype7 *p;\nint n;\n", "D:p=12 D:n=12"},
    {"AnchorWhitespaceCounts", "TAB_SIZE=4 ALIGN_DD_NAMES_LEFT=true ASTERISK_ANCHOR=0 WS_BETWEEN_ASTERISK_ANCHOR='____",
     "char* p;\nint n;\n", "D:p=16 D:n=16"}, // "char    *" re-spaced, then the anchor whitespace
    {"HangingAmpersand",
     "TAB_SIZE=4 ALIGN_DD_NAMES_LEFT=true AMPERSAND_ANCHOR=1 HANGING_AMPERSAND=true WS_BETWEEN_AMPERSAND_ANCHOR='",
     "struct S {\n    unsigned &r;\n    int n;\n};\n", "D:r=16 D:n=16"},
    {"FunctionDefinitionSplitsGroups", "TAB_SIZE=4 ALIGN_DD_NAMES_LEFT=true",
     "int a;\nvoid f() {}\nunsigned long b;\n", "D:a=4 D:b=16"},
    {"LocalsFormTheirOwnGroup", "TAB_SIZE=4 ALIGN_DD_NAMES_LEFT=true",
     "unsigned long g;\nvoid f() {\n    int a;\n    x = 1;\n    long b;\n}\n", "D:g=16 D:a=8 D:b=12"},
    {"ControlBodiesAreTheirOwnGroups", "TAB_SIZE=4 ALIGN_DD_NAMES_LEFT=true",
     "void f() {\n    int a;\n    if (a) {\n        unsigned long b;\n    }\n    int c;\n}\n",
     "D:a=8 D:b=24 D:c=8"},
    {"FunctionDeclarationNames", "TAB_SIZE=4 ALIGN_FN_DECL_NAMES_LEFT=true",
     "int f();\nconst char *name();\nvoid g() {}\nlong h();\n", "F:f=16 F:name=16 F:h=8"},
    {"DataAndFunctionsKeepOwnColumnsOutsideClasses", "TAB_SIZE=4 ALIGN_FN_DECL_NAMES_LEFT=true ALIGN_DD_NAMES_LEFT=true",
     "int a;\nunsigned long f();\n", "D:a=4 F:f=16"},
    {"ClassMembersShareOneColumn", "TAB_SIZE=4 ALIGN_CLASS_MEMBER_NAMES_LEFT=true",
     "class C {\npublic:\n    int a;\n    const char *name() const;\nprivate:\n    long b;\n};\n",
     "D:a=20 F:name=20 D:b=20"},
    {"NestedClassEndsTheGroup", "TAB_SIZE=4 ALIGN_CLASS_MEMBER_NAMES_LEFT=true",
     "class C {\n    int a;\n    struct N {\n        unsigned long x;\n    };\n    char b;\n};\n",
     "D:a=8 D:x=24 D:b=12"},
    // An aligned type is written on one line and re-spaced: it is measured
    // so.
    {"TypeOverTwoLinesMeasuredAsOneLine", "TAB_SIZE=4 ALIGN_DD_NAMES_LEFT=true",
     "int a;\nunsigned\n    long b;\n", "D:a=16 D:b=16"},
    // The head is measured as it is written: "template<class T> " here.
    {"TemplateHeadCountsOnItsLine", "TAB_SIZE=4 ALIGN_FN_DECL_NAMES_LEFT=true",
     "int f();\ntemplate <class T>\nT g();\n", "F:f=20 F:g=20"},
    {"TemplateHeadParametersReSpaced", "TAB_SIZE=4 ALIGN_FN_DECL_NAMES_LEFT=true WS_BETWEEN_TP_PARAMS='___",
     "int f();\ntemplate <class T,class U> T g();\n", "F:f=32 F:g=32"},
    {"TemplateHeadOnItsOwnLine", "TAB_SIZE=4 ALIGN_FN_DECL_NAMES_LEFT=true WS_AFTER_TP_CLOSE_BRACKET='~",
     "int f();\ntemplate <class T> T g();\n", "F:f=4 F:g=4"},
    // The whole text before a declaration on its line counts.
    {"SecondDeclarationOnALine", "TAB_SIZE=4 ALIGN_DD_NAMES_LEFT=true", "int a; long b;\n", "D:a=12 D:b=12"},
    {"EnumerationEndsTheGroup", "TAB_SIZE=4 ALIGN_DD_NAMES_LEFT=true",
     "int a;\nenum E { X };\nunsigned long b;\n", "D:a=4 D:b=16"},
    {"CommentsAndDirectivesDoNotEndTheGroup", "TAB_SIZE=4 ALIGN_DD_NAMES_LEFT=true",
     "int a;\n// note\n#define X 1\nunsigned long b;\n", "D:a=16 D:b=16"},
};

class NameColumns : public ::testing::TestWithParam<CalcCase> {};

TEST_P(NameColumns, GivesEachGroupOneColumn)
{
    const CalcCase& c = GetParam();
    Parsed p = parse(c.m_Input);
    Corvale::ITextDocStream in(p.m_Text);
    StylistCpp::NameOffsetCalculator calc(in, schemeOf(c.m_Keys));
    p.m_pRoot->accept(calc);
    expectColumns(p, calc.dataColumns(), calc.functionColumns(), ColumnMap(), c.m_Expected);
}

INSTANTIATE_TEST_SUITE_P(Calculator, NameColumns, ::testing::ValuesIn(NAME_CASES),
                         [](const ::testing::TestParamInfo<CalcCase>& info) { return info.param.m_Name; });

TEST(NameColumns, RecordsTheIndentationOfEachGroup)
{
    Parsed p = parse("class C {\n    int a;\n};\nint b;\n");
    Corvale::ITextDocStream in(p.m_Text);
    StylistCpp::NameOffsetCalculator calc(in, schemeOf("TAB_SIZE=4 ALIGN_DD_NAMES_LEFT=true"));
    p.m_pRoot->accept(calc);
    EXPECT_EQ(4, calc.indents().at(p.m_ByName.at("a")));
    EXPECT_EQ(0, calc.indents().at(p.m_ByName.at("b")));
}

// Signs anchored to the name and not hanging stand in the name column and
// push the name right by their number; hanging ones do not.
TEST(NameColumns, ReportsHowFarSignsPushTheName)
{
    Parsed p = parse("const char **names;\nlong &ref = x;\nint n;\n");
    Corvale::ITextDocStream in(p.m_Text);
    StylistCpp::NameOffsetCalculator calc(
        in, schemeOf("TAB_SIZE=4 ALIGN_DD_NAMES_LEFT=true ASTERISK_ANCHOR=1 AMPERSAND_ANCHOR=1 HANGING_AMPERSAND=true"));
    p.m_pRoot->accept(calc);
    EXPECT_EQ(2, calc.nameShifts().at(p.m_ByName.at("names")));
    EXPECT_EQ(0u, calc.nameShifts().count(p.m_ByName.at("ref")));
    EXPECT_EQ(0u, calc.nameShifts().count(p.m_ByName.at("n")));
}

// ---- initialiser columns ----------------------------------------------------------------

const CalcCase DATA_CASES[] = {
    // Measured from the type's start: "long count" is 10 wide, plus one.
    {"FromTheTypeStart", "", "    int a = 1;\n    long count = 2;\n", "I:a=11 I:count=11"},
    {"WithoutRestNoColumn", "", "int a = 1;\nlong count;\nint b = 2;\n", "I:a=6 I:count=- I:b=6"},
    {"NamesAlignedOnlyNamesCount", "ALIGN_DD_NAMES_LEFT=true", "int a = 1;\nunsigned long xy = 2;\n",
     "I:a=3 I:xy=3"},
    {"AccessLabelEndsTheGroup", "",
     "class C {\npublic:\n    int a = 1;\nprivate:\n    long count = 2;\n};\n", "I:a=6 I:count=11"},
    {"FunctionDeclarationEndsTheGroup", "", "int a = 1;\nvoid f();\nlong count = 2;\n", "I:a=6 I:count=11"},
    {"ArrayBoundIsARest", "", "int a[4];\nlong count = 2;\n", "I:a=11 I:count=11"},
    {"BlockEndsTheGroup", "", "void f() {\n    int a = 1;\n    {\n        long count = 2;\n    }\n}\n",
     "I:a=6 I:count=11"},
};

class InitializerColumns : public ::testing::TestWithParam<CalcCase> {};

TEST_P(InitializerColumns, GivesEachGroupOneColumn)
{
    const CalcCase& c = GetParam();
    Parsed p = parse(c.m_Input);
    StylistCpp::DataOffsetCalculator calc(schemeOf(c.m_Keys));
    p.m_pRoot->accept(calc);
    expectColumns(p, ColumnMap(), ColumnMap(), calc.columns(), c.m_Expected);
}

INSTANTIATE_TEST_SUITE_P(Calculator, InitializerColumns, ::testing::ValuesIn(DATA_CASES),
                         [](const ::testing::TestParamInfo<CalcCase>& info) { return info.param.m_Name; });

// With the name offsets known, an aligned name's initialiser counts from
// the name's offset; a declaration whose name is not aligned counts from
// its type.
TEST(InitializerColumns, CountFromTheNameOffsets)
{
    Parsed p = parse("int a = 1;\nunsigned long xy = 2;\nlong /* c */ z = 3;\n");
    ColumnMap offsets{{p.m_ByName.at("a"), 16}, {p.m_ByName.at("xy"), 16}};
    StylistCpp::DataOffsetCalculator calc(schemeOf("ALIGN_DD_NAMES_LEFT=true"));
    calc.useNameOffsets(offsets);
    p.m_pRoot->accept(calc);
    expectColumns(p, ColumnMap(), ColumnMap(), calc.columns(), "I:a=19 I:xy=19 I:z=19");
    Parsed q = parse("int a = 1;\nlong /* c */ the_longest_name = 3;\n");
    ColumnMap none;
    StylistCpp::DataOffsetCalculator calc2(schemeOf("ALIGN_DD_NAMES_LEFT=true"));
    calc2.useNameOffsets(none);
    q.m_pRoot->accept(calc2);
    expectColumns(q, ColumnMap(), ColumnMap(), calc2.columns(), "I:a=30 I:the_longest_name=30");
}

// Access labels pass in the name calculator but end groups in the data
// calculator.
TEST(Calculators, AccessLabelsDifferBetweenTheCalculators)
{
    const std::string text = "struct S {\n    int a = 1;\npublic:\n    unsigned long b = 2;\n};\n";
    Parsed p = parse(text);
    Corvale::ITextDocStream in(p.m_Text);
    StylistCpp::NameOffsetCalculator names(in, schemeOf("TAB_SIZE=4 ALIGN_CLASS_MEMBER_NAMES_LEFT=true"));
    p.m_pRoot->accept(names);
    StylistCpp::DataOffsetCalculator inits(schemeOf("TAB_SIZE=4"));
    p.m_pRoot->accept(inits);
    expectColumns(p, names.dataColumns(), names.functionColumns(), inits.columns(), "D:a=20 D:b=20 I:a=6 I:b=16");
}

} // namespace
