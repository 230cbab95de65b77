#include "Cpp_Parser.h"

#include "Corvale_Exception.h"
#include "Cpp_LexerIterator.h"
#include "Cpp_ParserRun.h"

#include <algorithm>
#include <cstring>

namespace Cpp {

// ===========================================================================
// Parser

Parser::Parser()
{
    // The shared word sets are built on first use; build them now so that
    // the first parse does not pay for them in the middle of its work.
    extensionWords();
    assemblerSpellings();
    accessLikeWords();
}

Parser::~Parser() = default;

namespace {

// Reads the tokens of [first, last) into table. Returns false, and reports
// where the lexer stopped as stuckAt, when an unterminated literal ends the
// token stream; a text past the table's limits stops it at limitAt.
bool readTokens(LexerIterator& first, const LexerIterator& last, TokenTable& table, Trn::Location& stuckAt,
                Trn::Location& limitAt, TokenObserver* pObserver)
{
    for (; first != last; ++first) {
        if (first.stuck()) {
            stuckAt = first.position();
            return false;
        }
        if (!table.add(*first, first.tokenBegin())) {
            limitAt = first->start();
            return true;
        }
        if (pObserver)
            pObserver->token(*first, first.tokenBegin());
    }
    return true;
}

TokenTable tableFor(const LexerIterator& first)
{
    const char* begin = first.tokenBegin();
    if (!begin)
        return TokenTable();
    return TokenTable(begin, first.readPointer() + first.remaining());
}

} // namespace

std::unique_ptr<RootNode> Parser::parse(LexerIterator first, LexerIterator last)
{
    TokenTable tokens = tableFor(first);
    Trn::Location stuckAt, limitAt;
    if (!readTokens(first, last, tokens, stuckAt, limitAt, m_pTokenObserver)) {
        // An unterminated literal ends the token stream early. The tokens
        // before it are parsed as usual, and the text is then reported as
        // unrecognised where the lexer stopped, so that it is never
        // formatted with its tail missing from the tree.
        Run run(*this, std::move(tokens));
        std::unique_ptr<RootNode> pRoot = run.parseRoot();
        report(Trn::ERROR, stuckAt, UNRECOGNIZED_ELEMENT);
        return pRoot;
    }
    if (limitAt != Trn::Location()) {
        // A text too large for the token table (4 GB) is not parsed at all:
        // it passes through as it is.
        report(Trn::ERROR, limitAt, UNRECOGNIZED_ELEMENT);
        return std::make_unique<RootNode>();
    }
    Run run(*this, std::move(tokens));
    return run.parseRoot();
}

std::unique_ptr<RootNode> Parser::parse(std::vector<Trn::Token> tokens)
{
    TokenTable table;
    for (const Trn::Token& token : tokens) {
        if (!table.add(token, nullptr)) {
            report(Trn::ERROR, token.start(), UNRECOGNIZED_ELEMENT);
            return std::make_unique<RootNode>();
        }
    }
    tokens.clear();
    tokens.shrink_to_fit();
    Run run(*this, std::move(table));
    return run.parseRoot();
}

int Parser::classify(LexerIterator first, LexerIterator last)
{
    TokenTable tokens = tableFor(first);
    Trn::Location stuckAt, limitAt;
    readTokens(first, last, tokens, stuckAt, limitAt, nullptr);
    const std::size_t count = tokens.size();
    Run run(*this, std::move(tokens));
    return run.classify(0, count);
}

void Parser::report(Trn::MessageSeverity severity, const Trn::Location& location, std::uint32_t code)
{
    m_OnMessage(Trn::Message(severity, location, code, errorText(code)));
}

std::string Parser::errorText(std::uint32_t code)
{
    static const char* const TEXTS[] = {
        nullptr,
        "Unexpected EOF found.",
        "Unexpected token found.",
        "Did not expect to see a template within a linkage specification.",
        "public: protected: private: labels are illegal inside linkage blocks.",
        "control statements (e.g. if, else, while) are illegal inside linkage blocks.",
        "Expected \"}\". Possible unbalanced braces.",
        "Expected \")\". Possible unbalanced parentheses.",
        "Expected \">\". Possible unbalanced template operators.",
        "Expected to see base clause.",
        "Expected to see \"(\".",
        "Expected to see \"{\".",
        "Expected to see \"enum\" keyword.",
        "Expected a : immediately following a case label or \"default\" keyword.",
        "Expected a : immediately following an access specifier.",
        "Expected to see \"= 0\" to indicate a pure virtual function.",
        "Expected to see a variable name.",
        "Could not recognize element.",
        "Assembler statement appears to be unterminated.",
        "Function declaration appears to be unterminated.",
        "Data declaration appears to be unterminated.",
        "Invalid exception specifier clause.",
        "Function declaration appears to be missing parameter list.",
        "Function declaration appears to be missing name.",
    };
    if (code >= 1 && code < sizeof(TEXTS) / sizeof(TEXTS[0]))
        return TEXTS[code];
    return "Unknown error.";
}

// ===========================================================================
// Token table

namespace {

// Offsets, lengths and counts stay below this.
constexpr std::uint64_t TABLE_LIMIT = TokenTable::NONE - 1;

} // namespace

TokenTable::TokenTable(const char* begin, const char* end) : m_pSource(begin)
{
    const std::size_t size = static_cast<std::size_t>(end - begin);
    // A text past the limit keeps the place of its first 4 GB only; any
    // token after that has its text stored, which the limit then refuses.
    m_SourceSize = static_cast<std::uint32_t>(std::min<std::uint64_t>(size, TABLE_LIMIT));
}

bool TokenTable::add(const Trn::Token& token, const char* pBegin)
{
    // One test for both ends of the range of types a record holds.
    const std::uint32_t typeOffset =
        static_cast<std::uint32_t>(token.type()) - static_cast<std::uint32_t>(TokenRecord::TYPE_MIN);
    if (m_Size >= TABLE_LIMIT || typeOffset > static_cast<std::uint32_t>(TokenRecord::TYPE_MAX - TokenRecord::TYPE_MIN))
        return false;
    const std::string& text = token.text();
    const std::uint64_t length = text.size();
    std::uint64_t offset = 0;
    bool inSource = length == 0;
    if (!inSource && pBegin && pBegin >= m_pSource) {
        offset = static_cast<std::uint64_t>(pBegin - m_pSource);
        inSource = offset + length <= m_SourceSize && std::memcmp(pBegin, text.data(), text.size()) == 0;
    }
    if (!inSource) {
        offset = static_cast<std::uint64_t>(m_SourceSize) + m_Store.size();
        if (offset + length > TABLE_LIMIT)
            return false;
        m_Store += text;
    }
    // The end is worked out from the start and the length unless the token
    // ends anywhere else; the test is on the end itself, so it holds
    // whatever made the token.
    const Trn::Location start = token.start();
    const Trn::Location end = token.end();
    std::uint32_t form = TokenRecord::END_KEPT;
    if (end.line() == start.line()) {
        if (static_cast<std::int64_t>(end.col()) - start.col() + 1 == static_cast<std::int64_t>(length))
            form = TokenRecord::END_ON_LINE;
    }
    else if (end.col() == 0 && static_cast<std::int64_t>(end.line()) - start.line() == 1) {
        form = TokenRecord::END_NEXT_LINE;
    }
    if (form == TokenRecord::END_KEPT)
        m_KeptEnds.push_back(KeptEnd{static_cast<std::uint32_t>(m_Size), end});
    const std::uint32_t kind = (static_cast<std::uint32_t>(token.type()) << TokenRecord::TYPE_SHIFT) | form;
    if ((m_Size & BLOCK_MASK) == 0) // records need no initial value: each is written whole below
        m_Blocks.emplace_back(new TokenRecord[BLOCK_MASK + 1]);
    m_Blocks.back()[m_Size & BLOCK_MASK] =
        TokenRecord{kind, start, static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(length), NONE, 0};
    ++m_Size;
    return true;
}

Trn::Location TokenTable::keptEnd(std::size_t i) const
{
    const auto it = std::lower_bound(m_KeptEnds.begin(), m_KeptEnds.end(), i,
                                     [](const KeptEnd& kept, std::size_t index) { return kept.index < index; });
    CORVALE_CHECK(it != m_KeptEnds.end() && it->index == i);
    return it->end;
}

// ===========================================================================
// Token cursor and bracket matching

Parser::Run::Run(Parser& parser, TokenTable tokens)
    : m_Parser(parser), m_Tokens(std::move(tokens))
{
    // Every bracket is matched once, up front: each kind is matched on its
    // own, counting only its own opening and closing tokens, so the partner
    // of an opening bracket is the closing one that brings its count back to
    // zero. Productions then find the extent of any bracketed construct in
    // constant time, and no body is ever rescanned.
    std::vector<std::uint32_t> stacks[3];
    const Index count = m_Tokens.size();
    for (Index i = 0; i < count; ++i) {
        int kind = -1;
        bool open = false;
        switch (m_Tokens.record(i).type()) {
        case LBRACE: kind = 0; open = true; break;
        case RBRACE: kind = 0; break;
        case LPAREN: kind = 1; open = true; break;
        case RPAREN: kind = 1; break;
        case LBRACKET: kind = 2; open = true; break;
        case RBRACKET: kind = 2; break;
        default: continue;
        }
        if (open) {
            stacks[kind].push_back(static_cast<std::uint32_t>(i));
        }
        else if (!stacks[kind].empty()) {
            m_Tokens.record(i).link = stacks[kind].back();
            m_Tokens.record(stacks[kind].back()).link = static_cast<std::uint32_t>(i);
            stacks[kind].pop_back();
        }
    }
    matchAngles();

    // The name runs, found backwards: a plain name, comment or directive
    // continues the run of the token after it.
    bool nextInRun = false;
    for (Index i = count; i-- > 0;) {
        const std::int32_t t = type(i);
        if (!holdsNameRun(t)) {
            nextInRun = false;
            continue;
        }
        TokenRecord& r = m_Tokens.record(i);
        const bool plain = isPlainName(i);
        if (t == IDENTIFIER && !plain) {
            r.link = static_cast<std::uint32_t>(i);
            r.namesAhead = 0;
            nextInRun = false;
            continue;
        }
        const TokenRecord* pNext = nextInRun ? &m_Tokens.record(i + 1) : nullptr;
        r.link = pNext ? pNext->link : static_cast<std::uint32_t>(i + 1);
        r.namesAhead = (pNext ? pNext->namesAhead : 0) + (plain ? 1 : 0);
        nextInRun = true;
    }
}

bool Parser::Run::isPlainName(Index i) const
{
    return type(i) == IDENTIFIER && !isExtensionWord(i);
}

// Angle brackets are matched after the others, since "<" and ">" are as
// often comparisons as brackets. A "<" is closed only by a ">" of its own
// bracket group: a "(", "[" or "{" opened after it hides it until that
// bracket is closed, and the closing of its group, a ";" in it or the end
// of the text drops it, so the comparison in 'decltype(a < b)>' or
// 'i < n;' never takes a ">" that belongs elsewhere.
//
// A "<" dropped so is a list whose ">" a comparison inside it took
// ('bool = __w < N>', 'integral_constant<bool, _R1::num < _R2::num>'): the
// last ">" that closed a "<" directly inside it, in its group, is given to
// it instead, and that inner "<" is the comparison.
//
// A ">>" closes two lists when two are open in its group (the inner and the
// outer of 'A<const B<C>&>>', which the lexer leaves unfolded); any other
// ">>" is a shift. Its partner is the outer "<".
void Parser::Run::matchAngles()
{
    struct Open {
        Index at;
        Index child = NONE; // the last "<" closed directly inside it
    };
    std::vector<Open> angles; // the open "<", innermost last
    std::vector<Index> groups; // the open "(", "[" and "{", innermost last
    auto openInGroup = [&](std::size_t n) {
        return angles.size() >= n && (groups.empty() || angles[angles.size() - n].at > groups.back());
    };
    // Only a "<" after an operand can be a comparison: never one after
    // 'template', a cast keyword or 'operator'.
    auto mayCompare = [this](Index less) {
        const std::int32_t t = less > 0 ? type(less - 1) : Trn::END_OF_FILE;
        return t == IDENTIFIER || t == NUMBER_LITERAL || t == RPAREN || t == RBRACKET;
    };
    auto pair = [this](Index open, Index close) {
        setPartner(open, close);
        setPartner(close, open);
    };
    auto drop = [&]() {
        const Open o = angles.back();
        angles.pop_back();
        if (o.child != NONE && opening(o.child) != NONE && type(opening(o.child)) == GREATER) {
            pair(o.at, opening(o.child));
            setPartner(o.child, NONE);
        }
    };
    for (Index i = 0; i < m_Tokens.size(); ++i) {
        switch (type(i)) {
        case LPAREN:
        case LBRACKET:
        case LBRACE: groups.push_back(i); break;
        case RPAREN:
        case RBRACKET:
        case RBRACE: {
            const Index open = opening(i);
            if (open == NONE)
                break;
            while (!groups.empty() && groups.back() >= open)
                groups.pop_back();
            while (!angles.empty() && angles.back().at > open)
                drop();
            break;
        }
        case SEMICOLON:
            while (openInGroup(1))
                drop();
            break;
        case LESS: angles.push_back({i}); break;
        case GREATER:
            if (openInGroup(1)) {
                const Index inner = angles.back().at;
                pair(inner, i);
                angles.pop_back();
                if (openInGroup(1) && mayCompare(inner) && (angles.back().at == 0 || type(angles.back().at - 1) != OPERATOR_KEY))
                    angles.back().child = inner;
            }
            break;
        case SHIFT_RIGHT:
            if (openInGroup(2)) {
                setPartner(angles.back().at, i);
                angles.pop_back();
                pair(angles.back().at, i);
                angles.pop_back();
            }
            break;
        default: break;
        }
    }
    while (!angles.empty())
        drop();
}

bool Parser::Run::closesTwoLists(Index i) const
{
    return type(i) == SHIFT_RIGHT && opening(i) != NONE;
}

bool Parser::Run::isTrivia(Index i) const
{
    switch (type(i)) {
    case SL_COMMENT:
    case ML_COMMENT:
    case ML_COMMENT_UNPARSED:
    case PREPROCESSOR: return true;
    default: return false;
    }
}

Parser::Run::Index Parser::Run::skipTrivia(Index i, Index last) const
{
    while (i < last && isTrivia(i))
        ++i;
    return std::min(i, last);
}

Parser::Run::Index Parser::Run::previous(Index i, Index first) const
{
    while (i > first) {
        --i;
        if (!isTrivia(i))
            return i;
    }
    return NONE;
}

Parser::Run::Index Parser::Run::matching(Index i, Index last) const
{
    Index m = opening(i);
    if (m == NONE || m < i || m >= last)
        return NONE;
    return m;
}

Parser::Run::Index Parser::Run::attributeEnd(Index i, Index last) const
{
    if (i >= last || type(i) != LBRACKET || i + 1 >= last || type(i + 1) != LBRACKET)
        return NONE;
    return matching(i, last);
}

std::string Parser::Run::nameText(Index first, Index last) const
{
    std::size_t size = 0;
    for (Index i = first; i < last; ++i)
        if (!isTrivia(i))
            size += m_Tokens.record(i).length + 1;
    std::string text;
    text.reserve(size);
    for (Index i = first; i < last; ++i) {
        if (isTrivia(i))
            continue;
        if (!text.empty())
            text += ' ';
        text += token(i).text();
    }
    return text;
}

bool Parser::Run::isTypeWord(Index i) const
{
    std::int32_t t = type(i);
    return t == EXPLICIT_KEY || isBuiltinTypeType(t);
}

bool Parser::Run::isClassKey(Index i) const
{
    std::int32_t t = type(i);
    return t == CLASS_KEY || t == STRUCT_KEY || t == UNION_KEY;
}

bool Parser::Run::isExtensionWord(Index i) const
{
    return type(i) == IDENTIFIER && Cpp::isExtensionWord(token(i).text());
}

// ===========================================================================
// Diagnostics and limits

void Parser::Run::report(Index at, std::uint32_t code)
{
    m_LastReported = at;
    Trn::Location location;
    if (at < m_Tokens.size())
        location = startOf(at);
    else if (!m_Tokens.empty())
        location = startOf(m_Tokens.size() - 1);
    reportAt(location, code);
}

void Parser::Run::reportAt(const Trn::Location& location, std::uint32_t code)
{
    if (m_Stopped)
        return;
    m_Parser.report(Trn::ERROR, location, code);
    if (++m_Errors >= static_cast<unsigned>(ERROR_LIMIT))
        m_Stopped = true;
}

bool Parser::Run::enter(Index at)
{
    if (m_Depth >= NESTING_LIMIT) {
        report(at, UNRECOGNIZED_ELEMENT);
        m_Stopped = true;
        return false;
    }
    ++m_Depth;
    return true;
}

// Brackets nested deeper than the limit are refused before anything is
// parsed: the parser would not recurse into all of them (parentheses and
// square brackets stay inside leaves), but the emitters that re-lay
// expressions out do.
bool Parser::Run::checkBracketDepth()
{
    int depth = 0;
    const Index count = m_Tokens.size();
    for (Index i = 0; i < count; ++i) {
        switch (type(i)) {
        case LBRACE:
        case LPAREN:
        case LBRACKET:
            if (++depth > NESTING_LIMIT) {
                report(i, UNRECOGNIZED_ELEMENT);
                m_Stopped = true;
                return false;
            }
            break;
        case RBRACE:
        case RPAREN:
        case RBRACKET: depth = std::max(0, depth - 1); break;
        default: break;
        }
    }
    return true;
}

// ===========================================================================
// Top level

std::unique_ptr<RootNode> Parser::Run::parseRoot()
{
    auto pRoot = std::make_unique<RootNode>();
    if (!checkBracketDepth())
        return pRoot;
    const Index last = m_Tokens.size();
    Index i = 0;
    while (i < last && !m_Stopped) {
        std::int32_t t = type(i);
        if (t == SEMICOLON || t == RBRACE) {
            ++i;
            continue;
        }
        if (t == USING_KEY) {
            parseUsing(i, last);
            continue;
        }
        // A name directly before a brace, as in a macro that opens a block
        // ('BEGIN_SOMETHING {'), is kept as a statement of its own; the brace
        // is then read as the next element.
        if (t == IDENTIFIER && i + 1 < last && type(i + 1) == LBRACE) {
            if (auto pNode = parseStatementScan(i, last))
                pRoot->add(std::move(pNode));
            if (i >= last)
                break;
        }
        const Index before = i;
        const unsigned errors = m_Errors;
        if (!parseTopElement(*pRoot, i, last)) {
            if (m_Errors == errors)
                report(i, UNRECOGNIZED_ELEMENT);
            // Parsing goes on after the token at which the problem was
            // reported, and at least one token further: this always makes
            // progress, never reports the same problem twice, and leaves the
            // offending text without a node (between the nodes around it).
            Index resume = std::max(i, before + 1);
            if (m_LastReported != NONE && m_LastReported + 1 > resume)
                resume = m_LastReported + 1;
            i = resume;
        }
    }
    return pRoot;
}

bool Parser::Run::parseTopElement(InteriorNode& root, Index& i, Index last)
{
    const unsigned errors = m_Errors;
    static const Production productions[] = {
        &Run::parseComment, &Run::parsePreprocessor, &Run::parseNamespace, &Run::parseControl,
        &Run::parseLinkage,
    };
    for (Production production : productions) {
        if (auto pNode = (this->*production)(i, last)) {
            root.add(std::move(pNode));
            return true;
        }
        if (m_Errors != errors || m_Stopped)
            return false;
    }
    if (type(i) == LBRACE) {
        auto pBlock = parseBlock(i, last);
        if (!pBlock)
            return false;
        root.add(std::move(pBlock));
        return true;
    }
    static const Production more[] = {&Run::parseAsm, &Run::parseTemplate, &Run::parseExplicitInstantiation};
    for (Production production : more) {
        if (auto pNode = (this->*production)(i, last)) {
            root.add(std::move(pNode));
            return true;
        }
        if (m_Errors != errors || m_Stopped)
            return false;
    }
    if (parseDeclarationInto(root, i, last, 0xFF))
        return true;
    if (m_Errors != errors || m_Stopped)
        return false;
    if (auto pNode = parseStatementScan(i, last)) {
        root.add(std::move(pNode));
        return true;
    }
    return false;
}

// A using declaration or directive makes no node: it is skipped through its
// semicolon and its text stays between the nodes around it.
void Parser::Run::parseUsing(Index& first, Index last)
{
    for (Index i = first; i < last; ++i) {
        if (type(i) == SEMICOLON) {
            first = i + 1;
            return;
        }
    }
    report(first, UNRECOGNIZED_ELEMENT);
    first = last;
}

std::unique_ptr<SyntaxNode> Parser::Run::parseComment(Index& first, Index last)
{
    std::int32_t t = type(first);
    if (first >= last || (t != SL_COMMENT && t != ML_COMMENT && t != ML_COMMENT_UNPARSED))
        return nullptr;
    Index end = first;
    // A map-macro region and the empty parentheses after its end macro form
    // one node.
    if (t == ML_COMMENT_UNPARSED && first + 2 < last && type(first + 1) == LPAREN && type(first + 2) == RPAREN)
        end = first + 2;
    auto pNode = std::make_unique<CommentNode>(startOf(first), endOf(end), t == SL_COMMENT, t == ML_COMMENT_UNPARSED);
    first = end + 1;
    return pNode;
}

std::unique_ptr<SyntaxNode> Parser::Run::parsePreprocessor(Index& first, Index last)
{
    if (first >= last || type(first) != PREPROCESSOR)
        return nullptr;
    auto pNode = leaf<PreprocDirectiveNode>(first, first);
    ++first;
    return pNode;
}

// ===========================================================================
// Namespaces

std::unique_ptr<SyntaxNode> Parser::Run::parseNamespace(Index& first, Index last)
{
    Index it = first;
    if (type(it) == INLINE_KEY) // 'inline namespace N {'
        it = advance(it, last);
    if (it >= last || type(it) != NAMESPACE_KEY)
        return nullptr;
    CORVALE_CHECK_TEXT(type(it) == NAMESPACE_KEY, "it->type() == NAMESPACE_KEY");
    Index headEnd = it;
    Index i = advance(it, last);
    std::string name;
    if (type(i) == IDENTIFIER && i < last) {
        name = token(i).text();
        headEnd = i;
        i = advance(i, last);
    }
    // A namespace alias ('namespace fs = boost::filesystem;') is no
    // namespace declaration: it is kept whole as a statement.
    if (i < last && type(i) == EQUALS && !name.empty()) {
        Index end = i;
        while (end < last && type(end) != SEMICOLON)
            ++end;
        if (end == last)
            end = previous(last, i);
        auto pAlias = leaf<ExprNode>(first, end);
        first = end + 1;
        return pAlias;
    }
    // Between the name and the body real headers put attributes and macros
    // that expand to them: 'namespace std _GLIBCXX_VISIBILITY(default) {',
    // 'namespace N [[deprecated]] {', 'namespace N __attribute__((...)) {'.
    // They are taken into the head, whose text is copied as written; when
    // no "{" follows them, the missing "{" is reported where it was expected.
    if (i < last && type(i) != LBRACE) {
        Index decorated = namespaceDecorationEnd(i, last);
        if (decorated != NONE) {
            headEnd = previous(decorated, i);
            i = decorated;
        }
    }
    if (i >= last || type(i) != LBRACE) {
        report(i, EXPECTED_LBRACE);
        return nullptr;
    }
    CORVALE_CHECK_TEXT(type(i) == LBRACE, "first->type() == LBRACE");
    Index close = matching(i, last);
    if (close == NONE) {
        report(i, EXPECTED_RBRACE);
        first = last;
        return nullptr;
    }
    if (!enter(i))
        return nullptr;
    auto pHead = leaf<NamespaceHeadNode>(first, headEnd, name);
    auto pBody = std::make_unique<NamespaceBodyNode>(startOf(i), endOf(close));
    parseNamespaceMembers(*pBody, i + 1, close);
    leave();
    first = close + 1;
    return std::make_unique<NamespaceDeclNode>(std::move(pHead), std::move(pBody));
}

Parser::Run::Index Parser::Run::pastOptionalGroup(Index i, Index last) const
{
    if (i >= last || type(i) != LPAREN)
        return i;
    const Index close = matching(i, last);
    return close == NONE ? NONE : advance(close, last);
}

// The "{" after a run of attribute-like decorations starting at i: names,
// each optionally followed by a parenthesised group, and '[[...]]'
// attributes. NONE when the run is empty or is not followed by "{".
Parser::Run::Index Parser::Run::namespaceDecorationEnd(Index i, Index last) const
{
    Index start = i;
    while (i < last) {
        if (type(i) == IDENTIFIER) {
            const Index next = pastOptionalGroup(advance(i, last), last);
            if (next == NONE)
                return NONE;
            i = next;
            continue;
        }
        Index attribute = attributeEnd(i, last);
        if (attribute == NONE)
            break;
        i = advance(attribute, last);
    }
    return i != start && i < last && type(i) == LBRACE ? i : NONE;
}

void Parser::Run::parseNamespaceMembers(NamespaceBodyNode& body, Index i, Index last)
{
    static const Production productions[] = {
        &Run::parseComment, &Run::parsePreprocessor, &Run::parseNamespace, &Run::parseLinkage,
        &Run::parseTemplate, &Run::parseExplicitInstantiation,
    };
    parseMembers(body, i, last, std::begin(productions), std::end(productions));
}

// The members of a namespace or class body: the body-specific productions
// first, then declarations, data and, last, any statement-like run.
void Parser::Run::parseMembers(InteriorNode& body, Index i, Index last, const Production* productions,
                               const Production* productionsEnd)
{
    while (i < last && !m_Stopped) {
        if (type(i) == SEMICOLON) { // an empty declaration, 'void f() {};'
            ++i;
            continue;
        }
        if (type(i) == USING_KEY) {
            parseUsing(i, last);
            continue;
        }
        const unsigned errors = m_Errors;
        bool done = false;
        for (const Production* p = productions; p != productionsEnd; ++p) {
            if (auto pNode = (this->*(*p))(i, last)) {
                body.add(std::move(pNode));
                done = true;
                break;
            }
            if (m_Errors != errors || m_Stopped)
                return;
        }
        if (done)
            continue;
        if (parseDeclarationInto(body, i, last, 0xFF))
            continue;
        if (m_Errors != errors || m_Stopped)
            return;
        if (classify(i, last) == DATA_DECL) {
            if (auto pNode = parseData(i, last, true)) {
                body.add(std::move(pNode));
                continue;
            }
        }
        // Any other run of tokens (typically a macro invocation such as
        // 'DECLARE_SOMETHING(x)' or 'Q_OBJECT') is kept as a statement, as at
        // the top level.
        if (auto pNode = parseStatementScan(i, last)) {
            body.add(std::move(pNode));
            continue;
        }
        report(i, UNRECOGNIZED_ELEMENT);
        return;
    }
}

// ===========================================================================
// Linkage specifications

std::unique_ptr<SyntaxNode> Parser::Run::parseLinkage(Index& first, Index last)
{
    if (first >= last || type(first) != EXTERN_KEY)
        return nullptr;
    Index i = advance(first, last);
    if (type(i) == STRING_LITERAL && i < last)
        i = advance(i, last);
    if (i >= last || type(i) != LBRACE)
        return nullptr;
    Index close = matching(i, last);
    if (close == NONE) {
        report(i, EXPECTED_RBRACE);
        first = last;
        return nullptr;
    }
    if (!enter(i))
        return nullptr;
    auto pExpr = leaf<ExprNode>(first, previous(i, first));
    auto pBody = std::make_unique<LinkageBlockBodyNode>(startOf(i), endOf(close));
    parseLinkageMembers(*pBody, i + 1, close);
    leave();
    first = close + 1;
    return std::make_unique<LinkageBlockNode>(std::move(pExpr), std::move(pBody));
}

// After codes 3, 4 and 5 the rest of the linkage body gets no nodes and
// parsing goes on after its closing brace, as after code 17 in any body:
// this always makes progress and never reads the offending construct twice.
void Parser::Run::parseLinkageMembers(LinkageBlockBodyNode& body, Index i, Index last)
{
    while (i < last && !m_Stopped) {
        std::int32_t t = type(i);
        if (t == SEMICOLON) {
            ++i;
            continue;
        }
        if (t == PREPROCESSOR) {
            body.add(parsePreprocessor(i, last));
            continue;
        }
        if (t == SL_COMMENT || t == ML_COMMENT || t == ML_COMMENT_UNPARSED) {
            body.add(parseComment(i, last));
            continue;
        }
        if (t == PUBLIC_KEY || t == PRIVATE_KEY || t == PROTECTED_KEY) {
            report(i, ACCESS_IN_LINKAGE);
            return;
        }
        if (t == TEMPLATE_KEY) {
            report(i, TEMPLATE_IN_LINKAGE);
            return;
        }
        if (isControlKeywordType(t)) {
            report(i, CONTROL_IN_LINKAGE);
            return;
        }
        if (t == USING_KEY) {
            parseUsing(i, last);
            continue;
        }
        const unsigned errors = m_Errors;
        if (t == NAMESPACE_KEY || t == INLINE_KEY) {
            if (auto pNode = parseNamespace(i, last)) {
                body.add(std::move(pNode));
                continue;
            }
            if (m_Errors != errors || m_Stopped)
                return;
        }
        if (t == EXTERN_KEY) {
            if (auto pNode = parseLinkage(i, last)) {
                body.add(std::move(pNode));
                continue;
            }
            if (m_Errors != errors || m_Stopped)
                return;
        }
        if (parseDeclarationInto(body, i, last, 0xFF))
            continue;
        if (m_Errors != errors || m_Stopped)
            return;
        if (auto pNode = parseStatementScan(i, last)) {
            body.add(std::move(pNode));
            continue;
        }
        report(i, UNRECOGNIZED_ELEMENT);
        return;
    }
}

// ===========================================================================
// Classes

namespace {

// 0 for class, 1 for struct, 2 for union.
std::int32_t classKeyCode(std::int32_t type)
{
    switch (type) {
    case CLASS_KEY: return ClassNameNode::CLASS;
    case STRUCT_KEY: return ClassNameNode::STRUCT;
    case UNION_KEY: return ClassNameNode::UNION;
    default: CORVALE_CHECK_TEXT(false, "false"); return -1;
    }
}

} // namespace

std::unique_ptr<SyntaxNode> Parser::Run::parseClass(Index& first, Index last)
{
    // The class key may follow specifiers such as typedef, friend or extern;
    // the declaration node starts at the first of them.
    Index key = skipTrivia(first, last);
    for (int n = 0; key < last && !isClassKey(key) && n < CLASSIFY_LOOKAHEAD; ++n)
        key = advance(key, last);
    if (key >= last || !isClassKey(key))
        return nullptr;
    const std::int32_t code = classKeyCode(type(key));
    // The name: every token up to the base clause, the body or the end of a
    // forward declaration ('class __declspec(dllexport) C' keeps its
    // extension words in the name text).
    Index nameFirst = advance(key, last);
    Index i = nameFirst;
    while (i < last && type(i) != COLON && type(i) != LBRACE && type(i) != SEMICOLON) {
        if (type(i) == LPAREN || type(i) == LBRACKET) {
            Index close = matching(i, last);
            if (close != NONE)
                i = close;
        }
        i = advance(i, last);
    }
    Index nameEnd = previous(i, key);
    auto pName = leaf<ClassNameNode>(key, nameEnd, code, nameText(nameFirst, i));
    std::unique_ptr<BaseClauseListNode> pBases;
    if (i < last && type(i) == COLON) {
        pBases = parseBaseClauses(i, last);
        if (!pBases)
            return nullptr;
    }
    auto pHead = std::make_unique<ClassHeadNode>(std::move(pName), std::move(pBases));
    std::unique_ptr<ClassDeclNode> pDecl;
    if (i < last && type(i) == LBRACE) {
        Index close = matching(i, last);
        if (close == NONE) {
            report(i, EXPECTED_RBRACE);
            first = last;
            return nullptr;
        }
        if (!enter(i))
            return nullptr;
        auto pBody = std::make_unique<ClassBodyNode>(startOf(i), endOf(close));
        parseClassMembers(*pBody, i + 1, close);
        leave();
        pDecl = std::make_unique<ClassDeclNode>(std::move(pHead), std::move(pBody));
        i = close;
        // 'class C { ... };': the semicolon belongs to the declaration.
        Index next = skipTrivia(close + 1, last);
        if (next < last && type(next) == SEMICOLON)
            i = next;
    }
    else {
        // A forward declaration ('class C;', 'friend class C;') has no body;
        // without a semicolon the declaration ends with its head.
        pDecl = std::make_unique<ClassDeclNode>(std::move(pHead));
        if (i >= last || type(i) != SEMICOLON)
            i = previous(i, key);
    }
    pDecl->setStart(startOf(skipTrivia(first, last)));
    pDecl->setEnd(endOf(i));
    first = i + 1;
    return pDecl;
}

// A ":" right after a directive inside a base clause starts the bases of
// another branch of the directive ('#ifdef X' ': public A' '#else'
// ': public B' '#endif'); it separates clauses as a comma does.
bool Parser::Run::alternativeBases(Index i) const
{
    return type(i) == COLON && i > 0 && type(i - 1) == PREPROCESSOR;
}

std::unique_ptr<BaseClauseListNode> Parser::Run::parseBaseClauses(Index& first, Index last)
{
    CORVALE_CHECK_TEXT(type(first) == COLON, "first->type() == COLON");
    auto pList = std::make_unique<BaseClauseListNode>();
    Index i = advance(first, last);
    if (i >= last || type(i) == LBRACE || type(i) == SEMICOLON || type(i) == COMMA) {
        report(i, EXPECTED_BASE_CLAUSE);
        return nullptr;
    }
    for (;;) {
        Index clauseFirst = i;
        while (i < last && type(i) != COMMA && type(i) != LBRACE && !alternativeBases(i)) {
            std::int32_t t = type(i);
            if (t == LESS || t == LPAREN) { // template arguments; a macro naming the base
                Index close = matching(i, last);
                if (close == NONE) {
                    report(i, UNRECOGNIZED_ELEMENT);
                    return nullptr;
                }
                i = close;
            }
            else if (!(t == PUBLIC_KEY || t == PROTECTED_KEY || t == PRIVATE_KEY || t == VIRTUAL_KEY ||
                       t == IDENTIFIER || t == TYPENAME_KEY || t == DOT)) { // DOT: 'Bases...'
                report(i, UNRECOGNIZED_ELEMENT);
                return nullptr;
            }
            i = advance(i, last);
        }
        if (i == clauseFirst) { // an empty clause: ', ,' or ', {'
            report(i, UNRECOGNIZED_ELEMENT);
            return nullptr;
        }
        pList->add(leaf<BaseClauseNode>(clauseFirst, previous(i, clauseFirst), 1, true, std::string()));
        if (i < last && (type(i) == COMMA || alternativeBases(i))) {
            i = advance(i, last);
            continue;
        }
        break;
    }
    first = i;
    return pList;
}

std::unique_ptr<SyntaxNode> Parser::Run::parseAccessLabel(Index& first, Index last)
{
    if (first >= last || !isAccessSpecifier(token(first)))
        return nullptr;
    std::int32_t access = AccessSpecNode::ACCESS_LIKE;
    switch (type(first)) {
    case PUBLIC_KEY: access = AccessSpecNode::PUBLIC; break;
    case PROTECTED_KEY: access = AccessSpecNode::PROTECTED; break;
    case PRIVATE_KEY: access = AccessSpecNode::PRIVATE; break;
    default: break;
    }
    Index i = advance(first, last);
    while (i < last && isAccessSpecifier(token(i))) // 'public slots:'
        i = advance(i, last);
    if (i >= last || type(i) != COLON) {
        report(i, EXPECTED_ACCESS_COLON);
        return nullptr;
    }
    auto pNode = leaf<AccessSpecNode>(first, i, access);
    first = i + 1;
    return pNode;
}

void Parser::Run::parseClassMembers(ClassBodyNode& body, Index i, Index last)
{
    static const Production productions[] = {
        &Run::parseComment,  &Run::parsePreprocessor,          &Run::parseLinkage,
        &Run::parseTemplate, &Run::parseExplicitInstantiation, &Run::parseAccessLabel,
    };
    parseMembers(body, i, last, std::begin(productions), std::end(productions));
}

// ===========================================================================
// Enumerations

std::unique_ptr<SyntaxNode> Parser::Run::parseEnum(Index& first, Index last)
{
    std::int32_t t = type(first);
    CORVALE_CHECK_TEXT((t == ENUM_KEY) || (t == STATIC_KEY) || (t == EXTERN_KEY) || (t == TYPEDEF_KEY),
                       "(first->type() == ENUM_KEY) || (first->type() == STATIC_KEY) || "
                       "(first->type() == EXTERN_KEY) || (first->type() == TYPEDEF_KEY)");
    Index key = first;
    while (key < last && type(key) != ENUM_KEY) {
        std::int32_t k = type(key);
        if (k != STATIC_KEY && k != EXTERN_KEY && k != TYPEDEF_KEY && !isTrivia(key)) {
            report(key, UNRECOGNIZED_ELEMENT);
            return nullptr;
        }
        ++key;
    }
    if (key >= last) {
        report(first, UNRECOGNIZED_ELEMENT);
        return nullptr;
    }
    // The head: 'enum', 'enum E', 'enum class E : int'. The name is the last
    // name before the underlying type or the body.
    std::string name;
    bool underlying = false;
    Index i = advance(key, last);
    while (i < last && type(i) != LBRACE && type(i) != SEMICOLON) {
        std::int32_t k = type(i);
        if (k == IDENTIFIER && !underlying)
            name = token(i).text();
        else if (k == COLON)
            underlying = true;
        else if (!(k == CLASS_KEY || k == STRUCT_KEY || k == IDENTIFIER || isTypeWord(i) ||
                   isTypeQualifier(token(i)) || (underlying && k == SIGNED_KEY))) { // ': signed char'
            report(i, UNRECOGNIZED_ELEMENT);
            return nullptr;
        }
        i = advance(i, last);
    }
    Index headEnd = previous(i, key);
    auto pHead = std::make_unique<EnumHeadNode>(startOf(key), endOf(headEnd == NONE ? key : headEnd), name);
    if (i >= last || type(i) == SEMICOLON) {
        // 'enum class E : int;' declares the enumeration without a body.
        auto pDecl = std::make_unique<EnumDeclNode>(std::move(pHead));
        Index end = i < last ? i : headEnd;
        pDecl->setStart(startOf(first));
        pDecl->setEnd(endOf(end));
        first = end + 1;
        return pDecl;
    }
    Index close = matching(i, last);
    if (close == NONE) {
        report(i, EXPECTED_RBRACE);
        first = last;
        return nullptr;
    }
    auto pBody = std::make_unique<EnumBodyNode>(startOf(i), endOf(close));
    Index e = i + 1;
    while (e < close) {
        std::int32_t k = type(e);
        if (k == PREPROCESSOR) {
            pBody->add(parsePreprocessor(e, close));
            continue;
        }
        if (k == SL_COMMENT || k == ML_COMMENT || k == ML_COMMENT_UNPARSED) {
            pBody->add(parseComment(e, close));
            continue;
        }
        if (k == COMMA) {
            ++e;
            continue;
        }
        bool unused = false;
        Index end = itemEnd(e, close, unused);
        Index lastToken = previous(end, e);
        pBody->add(leaf<ExprNode>(e, lastToken));
        e = lastToken + 1;
    }
    auto pDecl = std::make_unique<EnumDeclNode>(std::move(pHead), std::move(pBody));
    Index end = close;
    Index next = skipTrivia(close + 1, last);
    if (next < last && type(next) == SEMICOLON)
        end = next;
    pDecl->setStart(startOf(first));
    pDecl->setEnd(endOf(end));
    first = end + 1;
    return pDecl;
}

// ===========================================================================
// Declaration dispatch

std::unique_ptr<SyntaxNode> Parser::Run::parseDeclaration(Index& first, Index last, int mask)
{
    if (first >= last)
        return nullptr;
    int kind = classify(first, last);
    if ((kind & mask) == 0)
        return nullptr;
    switch (kind) {
    case FUNCTION_DECL: return parseFunction(first, last, false, (mask & FUNCTION_FULL_HEAD) == 0);
    case FUNCTION_FULL_HEAD: return parseFunction(first, last, true, false);
    case DATA_DECL: return parseData(first, last, false);
    case CLASS_DECL: return parseClass(first, last);
    case ENUM_DECL: {
        // The enumeration production starts at enum or at one of the
        // specifiers it takes; anything else before enum ('const enum E e;')
        // is read as data.
        std::int32_t t = type(first);
        if (t == ENUM_KEY || t == STATIC_KEY || t == EXTERN_KEY || t == TYPEDEF_KEY)
            return parseEnum(first, last);
        return parseData(first, last, false);
    }
    default: return nullptr;
    }
}

bool Parser::Run::parseDeclarationInto(InteriorNode& parent, Index& first, Index last, int mask)
{
    auto pNode = parseDeclaration(first, last, mask);
    if (!pNode)
        return false;
    const bool typeBody = isA<ClassDeclNode>(pNode.get()) || isA<EnumDeclNode>(pNode.get());
    parent.add(std::move(pNode));
    // 'struct S { ... } s;': the declarators after the body.
    // Only when the declaration ended with its body's closing brace: after
    // 'struct S { ... };' what follows is a declaration of its own.
    Index before = previous(first, 0);
    if (typeBody && before != NONE && type(before) == RBRACE && first < last && !m_Stopped && !isTrivia(first) &&
        classify(first, last) == DATA_DECL) {
        if (auto pData = parseData(first, last, true))
            parent.add(std::move(pData));
    }
    return true;
}

} // namespace Cpp
