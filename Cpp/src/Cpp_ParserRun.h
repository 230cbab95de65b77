// The state of one parse: the tokens of the text, every bracket matched up
// front, and the productions. Private to the parser.
#ifndef CPP_PARSERRUN_H
#define CPP_PARSERRUN_H

#include "Corvale_Exception.h"
#include "Cpp.h"
#include "Cpp_CompositeNode.h"
#include "Cpp_Parser.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace Cpp {

// The text of a token as the parser reads it: a view into the parsed text
// or into the parse's own store of texts. It converts to a std::string
// where a node keeps a copy.
class TokenText : public std::string_view {
public:
    TokenText() = default;
    TokenText(const char* p, std::size_t n) : std::string_view(p, n) {}
    operator std::string() const { return std::string(data(), size()); }
};

// The parser's record of one token: its type and start, where its text is,
// and what the parse works out about it up front. Trivially copyable and
// 28 bytes, so that a whole text's tokens stay small.
//
// The end location is not kept here: nearly every token ends on its own
// line, at its start column plus the length of its text less one (tabs count
// as one column), or, ending in a line end (a line comment, a directive), at
// column 0 of the next line; the table works it out from that. The few
// tokens that end elsewhere (over several lines, or with a text that differs
// from the source they cover) have their end in the table's list of kept
// ends, and the record says which of the three it is.
struct TokenRecord {
    // The type above the two lowest bits (a signed number of 30 bits), and
    // in those bits the form of the end: END_ON_LINE, END_NEXT_LINE or
    // END_KEPT.
    std::uint32_t kind;
    Trn::Location start;
    // The text: an offset into the parsed text when it is the bytes written
    // there, else the size of the parsed text plus an offset into the store
    // of other texts (a name read with its blanks removed).
    std::uint32_t text;
    std::uint32_t length;
    // Of a bracket (and of any token that is no identifier, comment or
    // directive), its partner: TokenTable::NONE when it has none. Of an
    // identifier, comment or directive, the end of its run of names: the
    // first token at or after it that is neither a plain name nor a comment
    // or directive (the identifier itself when it is no plain name).
    std::uint32_t link;
    // Of an identifier, comment or directive, the number of plain names
    // from it to the end of its run of names.
    std::uint32_t namesAhead;

    static constexpr std::uint32_t END_ON_LINE = 0;
    static constexpr std::uint32_t END_NEXT_LINE = 1;
    static constexpr std::uint32_t END_KEPT = 2;
    static constexpr std::uint32_t END_MASK = 3;
    static constexpr int TYPE_SHIFT = 2;
    // The types a record can hold: those of 30 bits.
    static constexpr std::int32_t TYPE_MIN = -0x20000000;
    static constexpr std::int32_t TYPE_MAX = 0x1FFFFFFF;

    std::int32_t type() const { return static_cast<std::int32_t>(kind) >> TYPE_SHIFT; }
    std::uint32_t endForm() const { return kind & END_MASK; }
};
static_assert(std::is_trivially_copyable<TokenRecord>::value, "records are copied as bytes");
static_assert(sizeof(TokenRecord) <= 28, "a record stays within 28 bytes");

class TokenTable;

// One token of a TokenTable, as the productions read it.
class TokenRef {
public:
    TokenRef(const TokenTable& table, std::size_t index, const TokenRecord& record, const char* pText)
        : m_pTable(&table), m_Index(index), m_pRecord(&record), m_pText(pText)
    {
    }
    std::int32_t type() const { return m_pRecord->type(); }
    const Trn::Location& start() const { return m_pRecord->start; }
    Trn::Location end() const;
    TokenText text() const { return TokenText(m_pText, m_pRecord->length); }

private:
    const TokenTable* m_pTable;
    std::size_t m_Index;
    const TokenRecord* m_pRecord;
    const char* m_pText;
};

inline bool isTypeQualifier(const TokenRef& token) { return isTypeQualifier(token.type(), token.text()); }
inline bool isAsmKeyword(const TokenRef& token) { return isAsmKeyword(token.type(), token.text()); }
inline bool isAccessSpecifier(const TokenRef& token) { return isAccessSpecifier(token.type(), token.text()); }

// The tokens of one parse. A token whose text is the bytes at its start in
// the parsed text keeps only their place; any other text (a folded name, a
// token handed in without its source) is copied to a store of its own. All
// positions are 32 bits: a table refuses tokens past 4 GB of text.
//
// The records lie in blocks of a fixed size: the table holds no room it
// does not use, never copies records to grow, and the blocks one parse
// frees are the ones the next parse (the next pass over the text) takes.
class TokenTable {
public:
    static constexpr std::uint32_t NONE = 0xFFFFFFFFu;

    TokenTable() = default;
    // The tokens of the text [begin, end).
    TokenTable(const char* begin, const char* end);

    // Adds a token that starts at pBegin in the parsed text (null when its
    // place is not known: its text is then stored). False, and nothing
    // added, when the table would pass its 32-bit limits.
    bool add(const Trn::Token& token, const char* pBegin);

    std::size_t size() const { return m_Size; }
    bool empty() const { return m_Size == 0; }
    const TokenRecord& record(std::size_t i) const { return m_Blocks[i >> BLOCK_SHIFT][i & BLOCK_MASK]; }
    TokenRecord& record(std::size_t i) { return m_Blocks[i >> BLOCK_SHIFT][i & BLOCK_MASK]; }
    TokenRef operator[](std::size_t i) const
    {
        const TokenRecord& r = record(i);
        return TokenRef(*this, i, r,
                        r.text < m_SourceSize ? m_pSource + r.text : m_Store.data() + (r.text - m_SourceSize));
    }
    // The location of the last character of token i.
    Trn::Location end(std::size_t i) const
    {
        const TokenRecord& r = record(i);
        switch (r.endForm()) {
        case TokenRecord::END_ON_LINE:
            return Trn::Location(r.start.line(), r.start.col() + static_cast<std::int32_t>(r.length) - 1);
        case TokenRecord::END_NEXT_LINE:
            return Trn::Location(r.start.line() + 1, 0);
        default:
            return keptEnd(i);
        }
    }

private:
    // An end that does not follow from its token's start and length.
    struct KeptEnd {
        std::uint32_t index;
        Trn::Location end;
    };
    Trn::Location keptEnd(std::size_t i) const;

    // 1024 records, 28 KB: well below the size the allocator hands out as
    // pages of their own.
    static constexpr std::size_t BLOCK_SHIFT = 10;
    static constexpr std::size_t BLOCK_MASK = (std::size_t(1) << BLOCK_SHIFT) - 1;

    std::vector<std::unique_ptr<TokenRecord[]>> m_Blocks;
    std::size_t m_Size = 0;
    const char* m_pSource = nullptr;
    std::uint32_t m_SourceSize = 0;
    std::string m_Store;
    // The kept ends, in the order of their tokens.
    std::vector<KeptEnd> m_KeptEnds;
};

inline Trn::Location TokenRef::end() const { return m_pTable->end(m_Index); }

inline std::size_t widenIndex(std::uint32_t value)
{
    return value == TokenTable::NONE ? static_cast<std::size_t>(-1) : value;
}

// Positions are indices into the token table; a production takes the range
// [first, last) and moves first past what it accepts. A production that does
// not apply returns no node and leaves first where it was; one that reports
// a problem returns no node too (unless the Parts give it a node to make),
// and the element loop that called it then gives up on the element.
class Parser::Run {
public:
    using Index = std::size_t;
    static constexpr Index NONE = static_cast<Index>(-1);

    Run(Parser& parser, TokenTable tokens);

    std::unique_ptr<RootNode> parseRoot();
    int classify(Index first, Index last) const;

private:
    // -- token cursor -----------------------------------------------------
    std::int32_t type(Index i) const { return i < m_Tokens.size() ? m_Tokens.record(i).type() : Trn::END_OF_FILE; }
    TokenRef token(Index i) const { return m_Tokens[i]; }
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
    // With a "(" at i, the first token after its partner (NONE when it has
    // none before last); any other i as it is.
    Index pastOptionalGroup(Index i, Index last) const;
    // The partner of the bracket at i, or NONE (always NONE for an
    // identifier, comment or directive, whose link is its name run).
    Index opening(Index i) const
    {
        const TokenRecord& r = m_Tokens.record(i);
        return holdsNameRun(r.type()) ? NONE : widenIndex(r.link);
    }
    void setPartner(Index i, Index partner)
    {
        CORVALE_CHECK(!holdsNameRun(type(i)));
        m_Tokens.record(i).link = partner == NONE ? TokenTable::NONE : static_cast<std::uint32_t>(partner);
    }
    // Whether a token of type t links to its run of names rather than to a
    // partner.
    static bool holdsNameRun(std::int32_t t)
    {
        return t == IDENTIFIER || t == SL_COMMENT || t == ML_COMMENT || t == ML_COMMENT_UNPARSED || t == PREPROCESSOR;
    }
    // With an identifier at i: the end of its run of names (i itself when
    // it is no plain name).
    Index nameRunEnd(Index i) const { return m_Tokens.record(i).link; }
    // With a plain name at i: the number of plain names in [i, last) before
    // the end of its run of names.
    std::size_t namesInRun(Index i, Index last) const
    {
        const std::size_t ahead = m_Tokens.record(i).namesAhead;
        return last < nameRunEnd(i) ? ahead - m_Tokens.record(last).namesAhead : ahead;
    }
    // The texts of the tokens of [first, last) joined by single blanks.
    std::string nameText(Index first, Index last) const;
    bool isTypeWord(Index i) const;
    bool isClassKey(Index i) const;
    bool isExtensionWord(Index i) const;
    // An identifier that is no type qualifier.
    bool isPlainName(Index i) const;

    const Trn::Location& startOf(Index i) const { return m_Tokens.record(i).start; }
    Trn::Location endOf(Index i) const { return m_Tokens.end(i); }
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
    // Every bracket token's record holds the index of its partner (counting
    // only its own kind); an unmatched one holds NONE. Every identifier,
    // comment and directive holds the end of its run of plain names
    // (identifiers that are no extension words) with the comments and
    // directives between them, and the number of plain names up to there:
    // they let the classifier pass a run of names in one step.
    TokenTable m_Tokens;
    int m_Depth = 0;
    unsigned m_Errors = 0;
    // The token at which the last diagnostic was reported.
    Index m_LastReported = NONE;
    bool m_Stopped = false;
};

} // namespace Cpp

#endif
