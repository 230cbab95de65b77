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

#include "support/Corvale_GoldenCases.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

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

// Golden cases: golden/OffsetCalculator/<calculator>.cases give a case
// name, the scheme keys, the input and the expected columns.
std::vector<CorvaleTest::GoldenCase> calcCases(const std::string& file)
{
    auto cases = CorvaleTest::readGoldenFolder(std::string(QUILLON_STYLISTCPP_GOLDEN_DIR) + "/OffsetCalculator");
    cases.erase(std::remove_if(cases.begin(), cases.end(),
                               [&](const CorvaleTest::GoldenCase& c) { return c.file != file; }),
                cases.end());
    return cases;
}

// ---- name columns ---------------------------------------------------------------------

TEST(NameColumns, GivesEachGroupOneColumn)
{
    const auto cases = calcCases("names.cases");
    EXPECT_GE(cases.size(), 27u) << "cases missing from " << QUILLON_STYLISTCPP_GOLDEN_DIR;
    for (const CorvaleTest::GoldenCase& c : cases) {
        SCOPED_TRACE(c.where() + " " + c["case"]);
        Parsed p = parse(c["input"]);
        Corvale::ITextDocStream in(p.m_Text);
        StylistCpp::NameOffsetCalculator calc(in, schemeOf(c["keys"]));
        p.m_pRoot->accept(calc);
        expectColumns(p, calc.dataColumns(), calc.functionColumns(), ColumnMap(), c["columns"]);
    }
}

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

TEST(InitializerColumns, GivesEachGroupOneColumn)
{
    const auto cases = calcCases("initialisers.cases");
    EXPECT_GE(cases.size(), 7u) << "cases missing from " << QUILLON_STYLISTCPP_GOLDEN_DIR;
    for (const CorvaleTest::GoldenCase& c : cases) {
        SCOPED_TRACE(c.where() + " " + c["case"]);
        Parsed p = parse(c["input"]);
        StylistCpp::DataOffsetCalculator calc(schemeOf(c["keys"]));
        p.m_pRoot->accept(calc);
        expectColumns(p, ColumnMap(), ColumnMap(), calc.columns(), c["columns"]);
    }
}

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
