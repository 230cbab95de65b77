// The state of one parse: the tokens of the text, every bracket matched up
// front, and the productions. Private to the parser.
#ifndef CPP_PARSERRUN_H
#define CPP_PARSERRUN_H

#include "Cpp.h"
#include "Cpp_CompositeNode.h"
#include "Cpp_Parser.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace Cpp {

// Positions are indices into the token vector; a production takes the range
// [first, last) and moves first past what it accepts. A production that does
// not apply returns no node and leaves first where it was; one that reports
// a problem returns no node too (unless the Parts give it a node to make),
// and the element loop that called it then gives up on the element.
class Parser::Run {
public:
    using Index = std::size_t;
    static constexpr Index NONE = static_cast<Index>(-1);

    Run(Parser& parser, std::vector<Trn::Token> tokens);

    std::unique_ptr<RootNode> parseRoot();
    int classify(Index first, Index last) const;

private:
    // -- token cursor -----------------------------------------------------
    std::int32_t type(Index i) const { return i < m_Tokens.size() ? m_Tokens[i].type() : Trn::END_OF_FILE; }
    const Trn::Token& token(Index i) const { return m_Tokens[i]; }
    bool isTrivia(Index i) const;
    // The first token at or after i that is no comment or directive.
    Index skipTrivia(Index i, Index last) const;
    // Steps past i, then past comments and directives.
    Index advance(Index i, Index last) const { return skipTrivia(i + 1, last); }
    // The last token before i (and not before first) that is no comment or
    // directive, or NONE.
    Index previous(Index i, Index first) const;
    // The matching closing bracket of the opening bracket at i, or NONE when
    // it has none before last.
    Index matching(Index i, Index last) const;
    // Whether i is a ">>" that closes two template argument lists.
    bool closesTwoLists(Index i) const;
    // The closing bracket of the attribute '[[...]]' starting at i, or NONE
    // when no attribute starts there.
    Index attributeEnd(Index i, Index last) const;
    // The opening bracket of the closing bracket at i, or NONE.
    Index opening(Index i) const { return m_Match[i]; }
    // The texts of the tokens of [first, last) joined by single blanks.
    std::string nameText(Index first, Index last) const;
    bool isTypeWord(Index i) const;
    bool isClassKey(Index i) const;
    bool isExtensionWord(Index i) const;

    const Trn::Location& startOf(Index i) const { return m_Tokens[i].start(); }
    const Trn::Location& endOf(Index i) const { return m_Tokens[i].end(); }
    template <class T, class... Args>
    std::unique_ptr<T> leaf(Index first, Index last, Args&&... args) const
    {
        return std::make_unique<T>(startOf(first), endOf(last), std::forward<Args>(args)...);
    }

    // -- diagnostics and limits -------------------------------------------
    void report(Index at, std::uint32_t code);
    void reportAt(const Trn::Location& location, std::uint32_t code);
    bool stopped() const { return m_Stopped; }
    // Enters one more level of nesting; false (after reporting) at the limit.
    bool enter(Index at);
    void leave() { --m_Depth; }
    bool checkBracketDepth();
    // Matches the angle brackets (after the other brackets are matched).
    void matchAngles();

    // -- driver and declarations that open scopes --------------------------
    bool parseTopElement(InteriorNode& root, Index& first, Index last);
    void parseUsing(Index& first, Index last);
    std::unique_ptr<SyntaxNode> parseComment(Index& first, Index last);
    std::unique_ptr<SyntaxNode> parsePreprocessor(Index& first, Index last);
    std::unique_ptr<SyntaxNode> parseNamespace(Index& first, Index last);
    Index namespaceDecorationEnd(Index i, Index last) const;
    std::unique_ptr<SyntaxNode> parseLinkage(Index& first, Index last);
    std::unique_ptr<SyntaxNode> parseClass(Index& first, Index last);
    std::unique_ptr<BaseClauseListNode> parseBaseClauses(Index& first, Index last);
    bool alternativeBases(Index i) const;
    std::unique_ptr<SyntaxNode> parseAccessLabel(Index& first, Index last);
    std::unique_ptr<SyntaxNode> parseEnum(Index& first, Index last);
    std::unique_ptr<SyntaxNode> parseDeclaration(Index& first, Index last, int mask);
    bool parseDeclarationInto(InteriorNode& parent, Index& first, Index last, int mask);

    void parseNamespaceMembers(NamespaceBodyNode& body, Index first, Index last);
    void parseLinkageMembers(LinkageBlockBodyNode& body, Index first, Index last);
    void parseClassMembers(ClassBodyNode& body, Index first, Index last);
    using Production = std::unique_ptr<SyntaxNode> (Run::*)(Index&, Index);
    void parseMembers(InteriorNode& body, Index first, Index last, const Production* productions,
                      const Production* productionsEnd);

    // -- functions, data, templates ----------------------------------------
    int functionCheck(Index first, Index last, Index cursor, Index prev, bool operatorSeen, bool externSeen,
                      bool classKeySeen, bool voidSeen) const;
    int classCheck(Index first, Index last, Index prev, bool typedefSeen) const;
    Index qualifierStep(Index i, Index last) const;
    // inStatement: a statement is expected here (inside a block), so a head
    // that only an expression can continue is no declaration.
    std::unique_ptr<SyntaxNode> parseFunction(Index& first, Index last, bool fullHead, bool inStatement);
    std::unique_ptr<SyntaxNode> parseFunctionPointer(Index& first, Index last, Index lparen);
    std::unique_ptr<ParameterListNode> parseParameters(Index open, Index close);
    std::unique_ptr<ArgListNode> parseArguments(Index open, Index close);
    std::unique_ptr<InitializerListNode> parseInitializers(Index& first, Index last);
    std::unique_ptr<SyntaxNode> parseData(Index& first, Index last, bool declaratorOnly);
    std::unique_ptr<SyntaxNode> parseTemplate(Index& first, Index last);
    // Whether i is the word 'requires'.
    bool isRequires(Index i) const;
    // The last token of the requires-clause starting at the 'requires' at i
    // (constraints joined by '&&' and '||'), or NONE when none can be read.
    Index requiresClauseEnd(Index i, Index last) const;
    std::unique_ptr<SyntaxNode> parseExplicitInstantiation(Index& first, Index last);
    std::unique_ptr<SyntaxNode> parseStatementScan(Index& first, Index last);
    bool opensInitializer(Index brace, Index first) const;
    // The end of the item starting at i that ends before a top-level comma
    // or before last: brackets inside are passed over whole.
    Index itemEnd(Index i, Index last, bool& hasDefault) const;
    // Whether the parenthesised group [open, close] holds an empty item
    // between its commas.
    bool holdsEmptyItem(Index open, Index close) const;

    // -- statements ---------------------------------------------------------
    std::unique_ptr<BlockNode> parseBlock(Index& first, Index last);
    void parseBlockElements(BlockNode& block, Index first, Index last);
    std::unique_ptr<SyntaxNode> parseControl(Index& first, Index last);
    std::unique_ptr<CtrlSubStmtNode> parseControlPart(Index& first, Index last, bool whileOfDo);
    std::unique_ptr<SyntaxNode> parseSingleStatement(Index& first, Index last);
    std::unique_ptr<SyntaxNode> parseCase(Index& first, Index last);
    std::unique_ptr<SyntaxNode> parseLabel(Index& first, Index last);
    std::unique_ptr<SyntaxNode> parseAsm(Index& first, Index last);

    Parser& m_Parser;
    std::vector<Trn::Token> m_Tokens;
    // For every bracket token the index of its partner (counting only its
    // own kind), NONE for an unmatched one and for every other token.
    std::vector<Index> m_Match;
    // For every token, the first token at or after it that is neither a
    // plain name (an identifier that is no type qualifier) nor a comment or
    // directive; and the number of plain names before every token. They let
    // the classifier pass a run of names in one step.
    std::vector<Index> m_NameRunEnd;
    std::vector<std::uint32_t> m_NameCount;
    int m_Depth = 0;
    unsigned m_Errors = 0;
    // The token at which the last diagnostic was reported.
    Index m_LastReported = NONE;
    bool m_Stopped = false;
};

} // namespace Cpp

#endif
