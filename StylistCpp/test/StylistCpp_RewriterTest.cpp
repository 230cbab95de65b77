// The rewriter: golden cases, the text-preservation properties over the
// test corpus, and the contract of its construction and walk.
#include "StylistCpp_Rewriter.h"

#include "Corvale_Exception.h"
#include "Cpp.h"
#include "Cpp_LexerIterator.h"
#include "support/StylistCpp_PassRunner.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>

namespace StylistCpp {
namespace {

using test::firstDifference;
using test::readFile;
using test::runPass;

const std::string GOLDEN_DIR = std::string(QUILLON_SOURCE_DIR) + "/StylistCpp/test/golden/Rewriter";

Stylist::PropertySet styles(int ifElse, int forLoop, int whileLoop)
{
    Stylist::PropertySet scheme("rewriter");
    scheme.setInt("IF_ELSE_CS_SINGLE_STMT_BRACE_STYLE", ifElse);
    scheme.setInt("FOR_CS_SINGLE_STMT_BRACE_STYLE", forLoop);
    scheme.setInt("WHILE_CS_SINGLE_STMT_BRACE_STYLE", whileLoop);
    return scheme;
}

std::string rewrite(const Stylist::PropertySet& scheme, const std::string& text)
{
    std::string output;
    EXPECT_TRUE(runPass<Rewriter>(scheme, text, output)) << "the text does not parse cleanly";
    return output;
}

// ---- golden cases ------------------------------------------------------------

class RewriterGolden : public ::testing::TestWithParam<std::string> {};

TEST_P(RewriterGolden, RewritesAsExpectedAndIsStable)
{
    const std::string base = GOLDEN_DIR + "/" + GetParam();
    const Stylist::PropertySet scheme = test::readSchemeOver(Stylist::PropertySet("base"), base + ".scheme");
    const std::string input = readFile(base + ".in.cpp");
    const std::string expected = readFile(base + ".out.cpp");

    const std::string output = rewrite(scheme, input);
    EXPECT_EQ("", firstDifference(expected, output)) << "rewritten:\n" << output;
    // Braces added or removed once are not added or removed again.
    EXPECT_EQ("", firstDifference(expected, rewrite(scheme, expected))) << "the expected output is not stable";
}

INSTANTIATE_TEST_SUITE_P(Cases, RewriterGolden, ::testing::ValuesIn(test::caseNames(GOLDEN_DIR)),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return test::testNameOf(info.param);
                         });

// ---- properties over the corpus -------------------------------------------------

struct Token {
    std::int32_t type;
    std::string text;
    bool operator==(const Token& o) const { return type == o.type && text == o.text; }
};

std::vector<Token> tokensOf(const std::string& text)
{
    std::vector<Token> tokens;
    Cpp::LexerIterator it(text.begin(), text.end());
    for (const Cpp::LexerIterator end; it != end && !it.stuck(); ++it)
        tokens.push_back(Token{it->type(), it->text()});
    return tokens;
}

bool isBrace(const Token& t) { return t.type == Cpp::LBRACE || t.type == Cpp::RBRACE; }

// The statement structure of a parsed text, with the braces of control
// bodies that hold a single statement left out: two texts that differ only
// in such braces have the same shape, and a text in which an else went to
// another if, or a statement moved into or out of a body, has another.
class ShapeWriter {
public:
    explicit ShapeWriter(const std::string& text) : m_Text(text)
    {
        m_LineStarts.push_back(0);
        for (std::size_t i = 0; i < text.size(); ++i)
            if (text[i] == '\n')
                m_LineStarts.push_back(i + 1);
    }

    std::string shape(const Cpp::SyntaxNode& node)
    {
        if (auto pStmt = dynamic_cast<const Cpp::CtrlStmtNode*>(&node)) {
            std::string out = "C[";
            for (const Cpp::SyntaxNode* pChild : pStmt->children()) {
                auto pPart = dynamic_cast<const Cpp::CtrlSubStmtNode*>(pChild);
                if (!pPart) {
                    out += shape(*pChild);
                    continue;
                }
                out += "P<" + tokens(pPart->head()->start(), pPart->head()->end()) + ">";
                out += pPart->body() ? body(*pPart->body()) : "-";
            }
            return out + "]";
        }
        if (auto pFn = dynamic_cast<const Cpp::FunctionDeclNode*>(&node))
            return pFn->body() ? "F" + list(*pFn->body()) : leaf(node);
        if (auto pClass = dynamic_cast<const Cpp::ClassDeclNode*>(&node))
            return pClass->body() ? "K" + list(*pClass->body()) : leaf(node);
        if (auto pNs = dynamic_cast<const Cpp::NamespaceDeclNode*>(&node))
            return pNs->body() ? "N" + list(*pNs->body()) : leaf(node);
        if (auto pLink = dynamic_cast<const Cpp::LinkageBlockNode*>(&node))
            return pLink->body() ? "X" + list(*pLink->body()) : leaf(node);
        if (auto pInterior = dynamic_cast<const Cpp::InteriorNode*>(&node))
            return list(*pInterior);
        return leaf(node);
    }

private:
    std::string body(const Cpp::BlockNode& block)
    {
        const Cpp::InteriorNode* pList = &block;
        while (pList->size() == 1 && dynamic_cast<const Cpp::BlockNode*>(pList->child(0)))
            pList = static_cast<const Cpp::InteriorNode*>(pList->child(0));
        return list(*pList);
    }
    std::string list(const Cpp::InteriorNode& node)
    {
        std::string out = "{";
        for (const Cpp::SyntaxNode* pChild : node.children())
            out += shape(*pChild) + ";";
        return out + "}";
    }
    std::string leaf(const Cpp::SyntaxNode& node) { return "L<" + tokens(node.start(), node.end()) + ">"; }
    std::string tokens(const Trn::Location& from, const Trn::Location& to)
    {
        const std::size_t a = m_LineStarts.at(from.line() - 1) + from.col() - 1;
        const std::size_t b = m_LineStarts.at(to.line() - 1) + to.col() - 1;
        std::string out;
        for (const Token& t : tokensOf(m_Text.substr(a, b - a + 1)))
            out += t.text + " ";
        return out;
    }

    const std::string& m_Text;
    std::vector<std::size_t> m_LineStarts;
};

std::vector<std::string> corpusFiles()
{
    std::vector<std::string> files;
    const std::string root = QUILLON_SOURCE_DIR;
    for (const std::string& dir : {root + "/examples", root + "/StylistCpp/test/corpus", GOLDEN_DIR})
        for (const char* suffix : {".cpp", ".h"})
            for (const std::string& stem : test::fileStems(dir, suffix))
                files.push_back(dir + "/" + stem + suffix);
    return files;
}

TEST(RewriterCorpus, AllStylesZeroReproducesEveryFile)
{
    const std::vector<std::string> files = corpusFiles();
    ASSERT_GE(files.size(), 10u);
    for (const std::string& file : files) {
        const std::string text = readFile(file);
        std::string output;
        if (!runPass<Rewriter>(styles(0, 0, 0), text, output))
            continue;
        EXPECT_EQ("", firstDifference(text, output)) << file;
    }
}

TEST(RewriterCorpus, OnlyBracePairsChangeAndTheStatementsStay)
{
    const Stylist::PropertySet schemes[] = {styles(1, 1, 1), styles(2, 2, 2), styles(2, 1, 2), styles(1, 2, 1)};
    int parsed = 0;
    for (const std::string& file : corpusFiles()) {
        const std::string text = readFile(file);
        test::ParsedText input = test::parseText(text);
        if (!input.messages.empty())
            continue;
        ++parsed;
        const std::string inputShape = ShapeWriter(text).shape(*input.pRoot);
        std::vector<Token> inTokens = tokensOf(text);
        for (const Stylist::PropertySet& scheme : schemes) {
            SCOPED_TRACE(file + " with styles " + std::to_string(scheme.ints().at("IF_ELSE_CS_SINGLE_STMT_BRACE_STYLE")) +
                         std::to_string(scheme.ints().at("FOR_CS_SINGLE_STMT_BRACE_STYLE")) +
                         std::to_string(scheme.ints().at("WHILE_CS_SINGLE_STMT_BRACE_STYLE")));
            const std::string out = rewrite(scheme, text);
            std::vector<Token> outTokens = tokensOf(out);
            // The same tokens but for braces, and braces only added or
            // removed in pairs.
            auto count = [](const std::vector<Token>& ts, std::int32_t type) {
                return std::count_if(ts.begin(), ts.end(), [type](const Token& t) { return t.type == type; });
            };
            EXPECT_EQ(count(outTokens, Cpp::LBRACE) - count(inTokens, Cpp::LBRACE),
                      count(outTokens, Cpp::RBRACE) - count(inTokens, Cpp::RBRACE));
            std::vector<Token> inRest = inTokens;
            std::vector<Token> outRest = outTokens;
            inRest.erase(std::remove_if(inRest.begin(), inRest.end(), isBrace), inRest.end());
            outRest.erase(std::remove_if(outRest.begin(), outRest.end(), isBrace), outRest.end());
            EXPECT_TRUE(inRest == outRest) << "tokens other than braces changed";

            test::ParsedText reparsed = test::parseText(out);
            EXPECT_EQ("", test::describeMessages(reparsed.messages)) << out;
            if (reparsed.messages.empty()) {
                EXPECT_EQ("", firstDifference(inputShape, ShapeWriter(out).shape(*reparsed.pRoot)))
                    << "the statement structure changed:\n" << out;
            }
        }
    }
    EXPECT_GE(parsed, 10);
}

// ---- construction and walk -----------------------------------------------------------

TEST(Rewriter, BraceStyleOutsideItsRangeIsAContractViolation)
{
    std::ostringstream out;
    for (const char* key :
         {"IF_ELSE_CS_SINGLE_STMT_BRACE_STYLE", "FOR_CS_SINGLE_STMT_BRACE_STYLE", "WHILE_CS_SINGLE_STMT_BRACE_STYLE"}) {
        for (int value : {-1, 3}) {
            Stylist::PropertySet scheme("bad");
            scheme.setInt(key, value);
            EXPECT_THROW(Rewriter(scheme, "", out), Corvale::ContractViolation) << key << " " << value;
        }
    }
}

TEST(Rewriter, NodesOutsideItsWalkAreContractViolations)
{
    const Trn::Location at(1, 1);
    std::vector<std::unique_ptr<Cpp::SyntaxNode>> nodes;
    nodes.emplace_back(new Cpp::LinkageBlockBodyNode(at, at));
    nodes.emplace_back(new Cpp::EnumBodyNode(at, at));
    nodes.emplace_back(new Cpp::EnumHeadNode(at, at, "E"));
    nodes.emplace_back(new Cpp::KeywordNode(at, at, Cpp::IF_KEY));
    nodes.emplace_back(new Cpp::CtrlSubStmtHeadNode());
    nodes.emplace_back(new Cpp::CtrlSubStmtNode());
    nodes.emplace_back(new Cpp::TypeNode(at, at));
    nodes.emplace_back(new Cpp::InitializerNode());
    nodes.emplace_back(new Cpp::InitializerListNode());
    nodes.emplace_back(new Cpp::ParameterListNode(at, at));
    nodes.emplace_back(new Cpp::ParameterNode(at, at, 0));
    nodes.emplace_back(new Cpp::FunctionReturnNode(at, at));
    nodes.emplace_back(new Cpp::FunctionHeadNode());
    nodes.emplace_back(new Cpp::NamespaceBodyNode(at, at));
    nodes.emplace_back(new Cpp::NamespaceHeadNode(at, at, "N"));
    nodes.emplace_back(new Cpp::ClassNameNode(at, at, 0, "C"));
    nodes.emplace_back(new Cpp::ClassHeadNode());
    nodes.emplace_back(new Cpp::ClassBodyNode(at, at));
    nodes.emplace_back(new Cpp::BaseClauseListNode());
    nodes.emplace_back(new Cpp::BaseClauseNode(at, at, 1, 1, ""));
    std::ostringstream out;
    Rewriter rewriter(styles(1, 1, 1), "x", out);
    for (const auto& pNode : nodes)
        EXPECT_THROW(pNode->accept(rewriter), Corvale::ContractViolation) << typeid(*pNode).name();
}

TEST(Rewriter, ATreeThatRunsPastItsTextFailsInsteadOfShorteningIt)
{
    test::ParsedText parsed = test::parseText("void f()\n{\n    if (a) x = 1;\n}\n");
    ASSERT_TRUE(parsed.messages.empty());
    std::ostringstream out;
    Rewriter rewriter(styles(1, 1, 1), "void f()\n{\n", out);
    EXPECT_THROW(parsed.pRoot->accept(rewriter), Corvale::ContractViolation);
}

TEST(Rewriter, WithAllStylesZeroTheTreeIsNotWalked)
{
    // A tree that does not belong to the text: walking it would copy up to
    // locations the text does not have.
    Cpp::RootNode root;
    root.add(std::unique_ptr<Cpp::SyntaxNode>(new Cpp::KeywordNode(Trn::Location(9, 9), Trn::Location(9, 9), Cpp::IF_KEY)));
    std::ostringstream out;
    {
        Rewriter rewriter(Stylist::PropertySet("empty"), "int x;\n", out);
        root.accept(rewriter);
    }
    EXPECT_EQ("int x;\n", out.str());
}

} // namespace
} // namespace StylistCpp
