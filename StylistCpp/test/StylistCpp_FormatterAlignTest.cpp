// The formatter's use of the alignment columns: names padded to the name
// column, signs split off and hung before it, initialisers padded to their
// column, and the declarator list of a class that ended at its brace left
// alone. The columns are given directly, as the alignment calculators would
// find them.
#include "support/Corvale_GoldenCases.h"
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

// nameColumn: for every top-level data and function declaration;
// initColumn: for every top-level data declaration; 0: none. keys: "KEY=value"
// flags and integers, separated by blanks.
std::string formatAligned(const std::string& input, int nameColumn, int initColumn, const std::string& keys)
{
    using namespace StylistCpp::test;
    Stylist::PropertySet scheme = readScheme(GOLDEN_DIR + "/bases/kr.scheme", GOLDEN_DIR + "/bases");
    applyKeys(scheme, "TAB_SIZE=4 " + keys);
    std::string text = input;
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
            if (nameColumn > 0)
                names[pChild] = nameColumn;
            if (initColumn > 0)
                inits[pChild] = initColumn;
        } else if (dynamic_cast<Cpp::FunctionDeclNode*>(pChild) && nameColumn > 0) {
            functions[pChild] = nameColumn;
        }
    }
    std::ostringstream out;
    StylistCpp::Formatter formatter(text, out, scheme);
    formatter.setAlignment(functions, names, inits);
    pRoot->accept(formatter);
    return out.str();
}

// Golden cases: golden/FormatterAlign/*.cases give a case name, the keys,
// the columns ("name 16 initialiser 0"), the input and the expected output.
TEST(FormatterAlign, PadsToTheGivenColumns)
{
    const auto cases = CorvaleTest::readGoldenFolder(std::string(QUILLON_STYLISTCPP_GOLDEN_DIR) + "/FormatterAlign");
    EXPECT_GE(cases.size(), 14u) << "cases missing from " << QUILLON_STYLISTCPP_GOLDEN_DIR;
    for (const CorvaleTest::GoldenCase& c : cases) {
        SCOPED_TRACE(c.where() + " " + c["case"]);
        std::istringstream columns(c["columns"]);
        std::string nameWord, initWord;
        int nameColumn = 0, initColumn = 0;
        columns >> nameWord >> nameColumn >> initWord >> initColumn;
        ASSERT_TRUE(columns && nameWord == "name" && initWord == "initialiser") << c["columns"];
        const std::string actual = formatAligned(c["input"], nameColumn, initColumn, c["keys"]);
        EXPECT_EQ("", StylistCpp::test::firstDifference(c["expected"], actual)) << actual;
        EXPECT_TRUE(StylistCppTest::sameTokens(c["input"], actual));
    }
}

} // namespace
