#include "Cpp_LexerIterator.h"

#include "Corvale_Exception.h"
#include "Cpp.h"

#include <cstring>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Cpp {

namespace {

// Character classes of the classic locale, safe for every byte value.
inline bool isBlank(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
inline bool isLineBlank(int c) { return c != '\n' && isBlank(c); }
inline bool isAlpha(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool isDigit(int c) { return c >= '0' && c <= '9'; }
inline bool isHexDigit(int c)
{
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
// Characters that start a name: letters and "_", and also "$" and every
// byte above 127 (UTF-8 sequences), which compilers accept in names. Kept
// in the name, they can never end up in a gap between tokens that an
// emitter replaces with whitespace of its own.
inline bool isWordStart(int c) { return isAlpha(c) || c == '_' || c == '$' || c >= 0x80; }
inline bool isWordChar(int c) { return isWordStart(c) || isDigit(c); }

// The text without blanks starts with prefix ("# if 0" starts with "#if0").
bool startsWithIgnoringBlanks(const std::string& text, const char* prefix)
{
    for (char c : text) {
        if (isBlank(static_cast<unsigned char>(c)))
            continue;
        if (*prefix == '\0')
            return true;
        if (c != *prefix)
            return false;
        ++prefix;
    }
    return *prefix == '\0';
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// The characters between the quotes with the escapes replaced: \\ \n \r \t
// \v stand for their characters, a backslash before any other character is
// dropped, and a trailing backslash is dropped.
std::string unescape(const char* p, const char* end)
{
    std::string value;
    value.reserve(static_cast<std::size_t>(end - p));
    while (p < end) {
        char c = *p++;
        if (c != '\\') {
            value += c;
            continue;
        }
        if (p == end)
            break;
        c = *p++;
        switch (c) {
        case 'n':
            value += '\n';
            break;
        case 'r':
            value += '\r';
            break;
        case 't':
            value += '\t';
            break;
        case 'v':
            value += '\v';
            break;
        default: // the backslash itself, and any other escaped character
            value += c;
            break;
        }
    }
    return value;
}

// Encoding prefixes of string and character literals, and of raw strings.
bool isLiteralPrefix(const std::string& word)
{
    return word == "L" || word == "u" || word == "U" || word == "u8";
}
bool isRawPrefix(const std::string& word)
{
    return word == "R" || word == "LR" || word == "uR" || word == "UR" || word == "u8R";
}

std::shared_ptr<const MarkerPairList> shareList(const MarkerPairList& list,
                                                const MarkerPairList& common,
                                                const std::shared_ptr<const MarkerPairList>& shared)
{
    // Callers nearly always pass the process-wide lists; share those instead
    // of copying them into every iterator.
    if (&list == &common)
        return shared;
    return std::make_shared<const MarkerPairList>(list);
}

} // namespace

const MarkerPairList& commentMarkerPairs()
{
    static const MarkerPairList pairs = {
        {"QUILLON-OFF", "QUILLON-ON"},
        {"QL-FORMAT-OFF", "QL-FORMAT-ON"},
        {"{{AFX_DATA", "AFX_DATA}}"},
        {"{{{AFX_DATA", "AFX_DATA}}}"},
        {"{{AFX_DATA_MAP", "AFX_DATA_MAP}}"},
        {"{{{AFX_DATA_INIT", "AFX_DATA_INIT}}}"},
        {"{{AFX_VIRTUAL", "AFX_VIRTUAL}}"},
        {"{{{AFX_VIRTUAL", "AFX_VIRTUAL}}}"},
        {"{{AFX", "}}"},
        {"{{{AFX", "}}}"},
    };
    return pairs;
}

const MarkerPairList& mapMacroPairs()
{
    static const MarkerPairList pairs = {
        {"BEGIN_MESSAGE_MAP", "END_MESSAGE_MAP"},
        {"BEGIN_COM_MAP", "END_COM_MAP"},
    };
    return pairs;
}

// What copies of one iterator share: the marker lists (read only) and the
// results of template scans over their common text.
struct LexerIterator::Context {
    std::shared_ptr<const MarkerPairList> markerPairs;
    std::shared_ptr<const MarkerPairList> mapMacroPairs;
    // For each "<" a template scan has passed: the matching ">", or null
    // when a scan starting there fails.
    std::unordered_map<const char*, const char*> templateScans;
};

LexerIterator::LexerIterator() = default;

LexerIterator::LexerIterator(const char* begin, const char* end, const MarkerPairList& markerPairs,
                             const MarkerPairList& mapMacroPairs)
    : m_pPos(begin), m_pEnd(end), m_Pos(1, 0), m_pContext(std::make_shared<Context>())
{
    static const auto sharedMarkers = std::make_shared<const MarkerPairList>(commentMarkerPairs());
    static const auto sharedMaps = std::make_shared<const MarkerPairList>(Cpp::mapMacroPairs());
    m_pContext->markerPairs = shareList(markerPairs, commentMarkerPairs(), sharedMarkers);
    m_pContext->mapMacroPairs = shareList(mapMacroPairs, Cpp::mapMacroPairs(), sharedMaps);
    CORVALE_CHECK_TEXT(m_Current.type() == Trn::END_OF_FILE, "m_Current.type() == Trn::END_OF_FILE");
    m_Current = next(0);
}

LexerIterator::LexerIterator(std::string::const_iterator begin, std::string::const_iterator end,
                             const MarkerPairList& markerPairs, const MarkerPairList& mapMacroPairs)
    : LexerIterator(begin == end ? nullptr : &*begin,
                    begin == end ? nullptr : &*begin + (end - begin), markerPairs, mapMacroPairs)
{
}

LexerIterator::reference LexerIterator::operator*() const
{
    CORVALE_CHECK_TEXT(m_Current.type() != Trn::END_OF_FILE,
                       "x.policies().m_Current.type() != Trn::END_OF_FILE");
    return m_Current;
}

Trn::Token LexerIterator::takeCurrent()
{
    CORVALE_CHECK_TEXT(m_Current.type() != Trn::END_OF_FILE, "m_Current.type() != Trn::END_OF_FILE");
    Trn::Token taken(std::move(m_Current));
    return taken;
}

LexerIterator& LexerIterator::operator++()
{
    if (m_Current.type() != Trn::END_OF_FILE)
        m_Current = next(0);
    return *this;
}

LexerIterator LexerIterator::operator++(int)
{
    LexerIterator old(*this);
    ++*this;
    return old;
}

bool operator==(const LexerIterator& a, const LexerIterator& b)
{
    if (a.m_pPos == b.m_pPos && a.m_Current == b.m_Current)
        return true;
    // Every iterator that has lexed its whole range is an end iterator,
    // whatever its read pointer: the default-constructed one has none, and
    // one built over an empty std::string range has none either. Such an
    // iterator stands on a token equal to Trn::Token(), tested field by
    // field so that no token is built for the test.
    auto atEnd = [](const Trn::Token& t) {
        return t.type() == Trn::END_OF_FILE && t.start() == Trn::Location() && t.end() == Trn::Location() &&
               t.text().empty() && t.valueKind() == Trn::Token::NO_VALUE;
    };
    return atEnd(a.m_Current) && atEnd(b.m_Current);
}

bool LexerIterator::stuck() const
{
    return m_Current.type() == Trn::END_OF_FILE && m_Current.start() != Trn::Location();
}

unsigned char LexerIterator::get()
{
    const unsigned char c = static_cast<unsigned char>(*m_pPos++);
    if (c == '\n') {
        m_Pos.setLine(m_Pos.line() + 1);
        m_Pos.setCol(0);
    } else {
        m_Pos.setCol(m_Pos.col() + 1);
    }
    return c;
}

void LexerIterator::advanceTo(const char* p)
{
    const char* lineStart = nullptr;
    std::int32_t lines = 0;
    for (const char* q = m_pPos;;) {
        const void* nl = std::memchr(q, '\n', static_cast<std::size_t>(p - q));
        if (!nl)
            break;
        ++lines;
        q = static_cast<const char*>(nl) + 1;
        lineStart = q;
    }
    if (lines) {
        m_Pos.setLine(m_Pos.line() + lines);
        m_Pos.setCol(static_cast<std::int32_t>(p - lineStart));
    } else {
        m_Pos.setCol(m_Pos.col() + static_cast<std::int32_t>(p - m_pPos));
    }
    m_pPos = p;
}

// One token: the pending one if there is one, else the next the rules make.
Trn::Token LexerIterator::next(int flags)
{
    if (m_Pending.type() != Trn::END_OF_FILE) {
        Trn::Token pending;
        pending.swap(m_Pending);
        m_pTokenBegin = m_pPendingBegin;
        // The comment was lexed by the directive rule, which leaves its
        // region check to the moment it is delivered; nothing was read in
        // between, so the check sees the same text.
        return checkCommentRegion(std::move(pending));
    }
    while (m_pPos < m_pEnd) {
        const char* tokStart = m_pPos;
        const unsigned char c = get();
        const Trn::Location start = m_Pos;
        if (isBlank(c))
            continue;
        m_pTokenBegin = tokStart;
        const int n = peek();
        if (c == '/' && (n == '/' || n == '*'))
            return checkCommentRegion(lexComment(tokStart, start));
        if (isWordStart(c) || (c == ':' && n == ':') || (c == '~' && isWordStart(n))) {
            Trn::Token t = lexIdentifier(tokStart, c, start);
            if (t.type() == Trn::END_OF_FILE && (flags & SKIP_UNTERMINATED))
                continue; // an unterminated prefixed literal ('L"...')
            if (t.type() == IDENTIFIER && !(flags & NO_MAP_CHECK))
                return checkMapRegion(std::move(t));
            return t;
        }
        if (isDigit(c))
            return lexNumber(tokStart, start);
        if (c == '"' || c == '\'') {
            Trn::Token t = lexLiteral(tokStart, start, static_cast<char>(c));
            if (t.type() == Trn::END_OF_FILE && (flags & SKIP_UNTERMINATED))
                continue;
            return t;
        }
        if (c == '#')
            return lexDirective(tokStart, start, true);
        Trn::Token t;
        if (lexOperator(tokStart, c, start, t))
            return t;
    }
    m_pTokenBegin = nullptr;
    return Trn::Token();
}

// "//" through the newline, or "/*" through "*/"; either may run to the end.
Trn::Token LexerIterator::lexComment(const char* tokStart, Trn::Location start)
{
    const unsigned char second = get();
    if (second == '/') {
        const void* nl = std::memchr(m_pPos, '\n', static_cast<std::size_t>(m_pEnd - m_pPos));
        advanceTo(nl ? static_cast<const char*>(nl) + 1 : m_pEnd);
        return Trn::Token(SL_COMMENT, start, m_Pos, std::string(tokStart, m_pPos));
    }
    const char* p = m_pPos;
    const char* close = m_pEnd;
    while (p + 1 < m_pEnd) {
        const void* star = std::memchr(p, '*', static_cast<std::size_t>(m_pEnd - p - 1));
        if (!star)
            break;
        p = static_cast<const char*>(star);
        if (p[1] == '/') {
            close = p + 2;
            break;
        }
        ++p;
    }
    advanceTo(close);
    return Trn::Token(ML_COMMENT, start, m_Pos, std::string(tokStart, m_pPos));
}

// Names, qualified names ('A::B', '::new', 'A:: B' read as 'A::B'),
// destructor names and template-ids ('vector<int>'), and the keywords.
Trn::Token LexerIterator::lexIdentifier(const char* tokStart, unsigned char first, Trn::Location start)
{
    std::string text;
    bool qualified = false;
    std::size_t lastStart = 0; // where the last component of a qualified name starts
    Trn::Location endLoc = m_Pos;
    bool collect = true;
    if (first == ':') {
        get();
        text = "::";
        qualified = true;
        endLoc = m_Pos;
        collect = continueAfterScope(text, lastStart, endLoc);
    } else {
        text = static_cast<char>(first);
    }
    while (collect) {
        const int n = peek();
        if (isWordChar(n)) {
            // A run of word characters in one go.
            const char* p = m_pPos + 1;
            while (p < m_pEnd && isWordChar(static_cast<unsigned char>(*p)))
                ++p;
            text.append(m_pPos, p);
            // A word holds no line end: only the column moves.
            m_Pos.setCol(m_Pos.col() + static_cast<std::int32_t>(p - m_pPos));
            m_pPos = p;
            endLoc = m_Pos;
        } else if (n == '<') {
            if (peek(1) == '<')
                break;
            // A keyword ('template', 'operator', 'X::operator') is never
            // followed by template arguments of its own.
            if (keywordType(std::string_view(text).substr(lastStart)) != Trn::END_OF_FILE)
                break;
            const char* close = templateScan(m_pPos);
            if (!close)
                break;
            text.append(m_pPos, close + 1);
            advanceTo(close + 1);
            endLoc = m_Pos;
        } else if (n == ':' && peek(1) == ':') {
            get();
            get();
            text += "::";
            qualified = true;
            endLoc = m_Pos;
            if (!continueAfterScope(text, lastStart, endLoc))
                break;
        } else {
            break;
        }
    }

    if (!qualified && (peek() == '"' || peek() == '\'')) {
        // An encoding or raw prefix belongs to the literal it introduces, so
        // that nothing can ever come between them.
        if (isRawPrefix(text) && peek() == '"')
            return lexRawString(tokStart, start);
        if (isLiteralPrefix(text)) {
            const char quote = static_cast<char>(get());
            return lexLiteral(tokStart, start, quote);
        }
    }

    const std::int32_t keyword = keywordType(text);
    if (keyword != Trn::END_OF_FILE)
        return Trn::Token(keyword, start, endLoc, std::move(text));
    if (qualified) {
        const std::string_view last = std::string_view(text).substr(lastStart);
        if (endsQualifiedName(last))
            return Trn::Token(keywordType(last), start, endLoc, std::move(text));
    }
    return Trn::Token::withTextValue(IDENTIFIER, start, endLoc, std::move(text));
}

// After "::": blanks and newlines are passed over; a following name
// component is appended and collection goes on (true). Otherwise the name
// ends after the "::" and the blanks are left to the next token (false).
bool LexerIterator::continueAfterScope(std::string& text, std::size_t& lastStart, Trn::Location& endLoc)
{
    const Mark afterColons = mark();
    while (isBlank(peek()))
        get();
    lastStart = text.size();
    const int n = peek();
    if (n == '~' || isWordStart(n)) {
        text += static_cast<char>(get());
        endLoc = m_Pos;
        return true;
    }
    reset(afterColons);
    return false;
}

// The template scan from the "<" at lt: the matching ">" or null.
//
// With an angle depth of 1 and a parenthesis depth of 0: "(" and ")" nest
// (a ")" at depth 0 fails), "<" and ">" count only outside parentheses, a
// ">" that brings the angle depth to 0 succeeds, and ";", "&", "|", "/" or
// the end of the text fail. The comparisons "<=", ">=", ">>=" and "<=>" are
// operators as a whole: they neither open nor close a list.
//
// A scan's result depends only on the text from its "<" on, so one pass
// settles every "<" it meets: each is pushed with its parenthesis level and
// is matched by the first ">" at that level while it is on top, or fails
// with its level when a ")" closes that level, a stop character comes or
// the text ends. Every settled "<" is remembered; the scans started later
// from those "<" (as in 'a<b,a<b,a<b,...') are then answered at once, so
// the total cost stays linear instead of rescanning the rest of the text
// from every "<".
const char* LexerIterator::templateScan(const char* lt)
{
    CORVALE_CHECK_TEXT(lt != m_pEnd, "it != m_End");
    CORVALE_CHECK_TEXT(*lt == '<', "*it == '<'");
    CORVALE_CHECK_TEXT(lt + 1 == m_pEnd || lt[1] != '<', "peek(++it) != '<'");
    auto& results = m_pContext->templateScans;
    const auto known = results.find(lt);
    if (known != results.end())
        return known->second;

    struct Open {
        const char* p;
        int level;
    };
    std::vector<Open> open{{lt, 0}};
    int level = 0;
    auto failFrom = [&](std::size_t keep) {
        while (open.size() > keep) {
            results[open.back().p] = nullptr;
            open.pop_back();
        }
    };
    for (const char* q = lt + 1; q < m_pEnd && !open.empty(); ++q) {
        switch (*q) {
        case '(':
            ++level;
            break;
        case ')':
            if (level == 0) {
                failFrom(0);
            } else {
                while (!open.empty() && open.back().level == level) {
                    results[open.back().p] = nullptr;
                    open.pop_back();
                }
                --level;
            }
            break;
        case '<':
            if (q + 1 < m_pEnd && q[1] == '=') {
                // '<=' and '<=>' compare; they never open a list.
                q += q + 2 < m_pEnd && q[2] == '>' ? 2 : 1;
                break;
            }
            open.push_back({q, level});
            break;
        case '>':
            if (q + 1 < m_pEnd && q[1] == '=') {
                ++q; // '>=' compares: it never closes a list
                break;
            }
            if (q + 2 < m_pEnd && q[1] == '>' && q[2] == '=') {
                q += 2; // nor does '>>='
                break;
            }
            if (open.back().level == level) {
                results[open.back().p] = q;
                open.pop_back();
            }
            break;
        case ';':
        case '&':
        case '|':
        case '/':
            failFrom(0);
            break;
        default:
            break;
        }
    }
    failFrom(0);
    return results[lt];
}

// Decimal, octal and hexadecimal numbers with one "." and one exponent, and
// their suffixes. Letters and digits that follow directly (3i64, 1st, 0b101,
// 10ms) stay in the token, so that the whole spelling reaches the output as
// one piece.
Trn::Token LexerIterator::lexNumber(const char* tokStart, Trn::Location start)
{
    bool hex = false;
    bool dot = false;
    bool exponent = false;
    if (*tokStart == '0' && (peek() == 'x' || peek() == 'X')) {
        get();
        hex = true;
    }
    for (;;) {
        const int n = peek();
        if (hex ? isHexDigit(n) : isDigit(n)) {
            get();
        } else if (n == '\'' && (hex ? isHexDigit(peek(1)) : isDigit(peek(1))) &&
                   (hex ? isHexDigit(m_pPos[-1]) : isDigit(m_pPos[-1]))) {
            // A digit separator (1'000'000): never the start of a character
            // literal.
            get();
            get();
        } else if (n == '.' && !dot && !exponent) {
            dot = true;
            get();
        } else if (!exponent && (hex ? (n == 'p' || n == 'P') : (n == 'e' || n == 'E'))) {
            exponent = true;
            get();
            if (peek() == '+' || peek() == '-')
                get();
        } else {
            break;
        }
    }
    const int n = peek();
    if (!dot && !exponent && (n == 'u' || n == 'U' || n == 'l' || n == 'L')) {
        while (peek() == 'u' || peek() == 'U' || peek() == 'l' || peek() == 'L')
            get();
    } else if ((dot || exponent) && (n == 'l' || n == 'L' || n == 'f' || n == 'F')) {
        while (peek() == 'l' || peek() == 'L' || peek() == 'f' || peek() == 'F')
            get();
    }
    while (isWordChar(peek()))
        get();
    return Trn::Token(NUMBER_LITERAL, start, m_Pos, std::string(tokStart, m_pPos));
}

// A string or character literal whose opening quote (and any prefix) has
// been read. A backslash escapes the next character; a newline continues
// the literal only after a backslash (blanks may stand between), otherwise
// the literal is unterminated and the token stream ends on it. At the end of
// the text the literal is taken as it stands.
Trn::Token LexerIterator::lexLiteral(const char* tokStart, Trn::Location start, char quote)
{
    const char* contentStart = m_pPos;
    const char* contentEnd = nullptr;
    unsigned char lastNonBlank = static_cast<unsigned char>(quote);
    while (m_pPos < m_pEnd) {
        const unsigned char c = static_cast<unsigned char>(*m_pPos);
        if (c == static_cast<unsigned char>(quote)) {
            contentEnd = m_pPos;
            get();
            break;
        }
        if (c == '\n') {
            if (lastNonBlank != '\\')
                return Trn::Token(Trn::END_OF_FILE, start, m_Pos);
            lastNonBlank = 0;
            get();
            continue;
        }
        get();
        if (!isBlank(c))
            lastNonBlank = c;
        if (c == '\\' && m_pPos < m_pEnd && *m_pPos != '\n') {
            const unsigned char escaped = get();
            if (!isBlank(escaped))
                lastNonBlank = escaped;
        }
    }
    if (!contentEnd)
        contentEnd = m_pPos;
    if (quote == '\'' && contentEnd == contentStart)
        return Trn::Token(Trn::END_OF_FILE, start, m_Pos);
    if (m_pPos[-1] == quote && contentEnd + 1 == m_pPos)
        absorbSuffix();
    std::string value = unescape(contentStart, contentEnd);
    std::string text(tokStart, m_pPos);
    if (quote == '\'') {
        const unsigned char byte = value.empty() ? 0 : static_cast<unsigned char>(value[0]);
        return Trn::Token(CHAR_LITERAL, start, m_Pos, std::move(text), byte);
    }
    return Trn::Token(STRING_LITERAL, start, m_Pos, std::move(text), std::move(value));
}

// A user-defined literal suffix ("text"s, 'c'_ch) stays with its literal.
void LexerIterator::absorbSuffix()
{
    if (isWordStart(peek()))
        while (isWordChar(peek()))
            get();
}

// R"delim( ... )delim" with its prefix read up to the quote: no escapes, and
// newlines are part of it. A malformed delimiter makes it an ordinary
// string.
Trn::Token LexerIterator::lexRawString(const char* tokStart, Trn::Location start)
{
    get(); // the quote
    const char* delimStart = m_pPos;
    const char* p = m_pPos;
    while (p < m_pEnd && p - delimStart <= 16 && *p != '(' && *p != ')' && *p != '\\' &&
           *p != '"' && !isBlank(static_cast<unsigned char>(*p)))
        ++p;
    if (p == m_pEnd || *p != '(' || p - delimStart > 16)
        return lexLiteral(tokStart, start, '"');
    const std::string closing = ")" + std::string(delimStart, p) + "\"";
    const char* contentStart = p + 1;
    const char* contentEnd = m_pEnd;
    const char* after = m_pEnd;
    for (const char* q = contentStart; q < m_pEnd;) {
        const void* paren = std::memchr(q, ')', static_cast<std::size_t>(m_pEnd - q));
        if (!paren)
            break;
        q = static_cast<const char*>(paren);
        if (static_cast<std::size_t>(m_pEnd - q) >= closing.size() &&
            std::memcmp(q, closing.data(), closing.size()) == 0) {
            contentEnd = q;
            after = q + closing.size();
            break;
        }
        ++q;
    }
    advanceTo(after);
    if (after != m_pEnd || contentEnd != m_pEnd)
        absorbSuffix();
    return Trn::Token(STRING_LITERAL, start, m_Pos, std::string(tokStart, m_pPos),
                      std::string(contentStart, contentEnd));
}

// A directive from "#" through the newline that ends its line, continued
// over backslash-newlines. A "//" ends it before the comment; a "/* */"
// that closes on the same line stays in it; one that runs on to a later
// line ends it and is delivered as the next token. Quoted text is passed
// over whole, so '#define URL "http://x"' stays one directive.
Trn::Token LexerIterator::lexDirective(const char* tokStart, Trn::Location start, bool ifZeroCheck)
{
    unsigned char lastNonBlank = '#';
    const char* unclosedBefore[2] = {nullptr, nullptr};
    const char* textEnd = nullptr;
    Trn::Location endLoc;
    while (m_pPos < m_pEnd) {
        const unsigned char c = static_cast<unsigned char>(*m_pPos);
        if (c == '\n') {
            get();
            if (lastNonBlank == '\\') {
                lastNonBlank = 0;
                continue;
            }
            break;
        }
        if (c == '/' && peek(1) == '/')
            break;
        if (c == '/' && peek(1) == '*') {
            const Mark before = mark();
            const char* commentStart = m_pPos;
            get();
            const Trn::Location commentLoc = m_Pos;
            Trn::Token comment = lexComment(commentStart, commentLoc);
            if (comment.end().line() == commentLoc.line()) {
                lastNonBlank = '/';
                continue;
            }
            textEnd = before.p;
            endLoc = before.pos;
            m_Pending = std::move(comment);
            m_pPendingBegin = commentStart;
            break;
        }
        if (c == '"' || c == '\'') {
            skipQuotedInDirective(static_cast<char>(c), lastNonBlank, unclosedBefore);
            continue;
        }
        get();
        if (!isBlank(c))
            lastNonBlank = c;
    }
    if (!textEnd) {
        textEnd = m_pPos;
        endLoc = m_Pos;
    }
    std::string text(tokStart, textEnd);
    if (ifZeroCheck && startsWithIgnoringBlanks(text, "#if0"))
        return skipIfZeroBlock(start);
    return Trn::Token(PREPROCESSOR, start, endLoc, std::move(text));
}

// A quoted piece of a directive, through its closing quote.
//
// A quote that is not closed on its line (the apostrophe in '#error don't')
// is an ordinary character, and the line is read on from just after it.
// Every later quote of the same kind before that line end is then
// unclosed as well (the only same-kind quotes the failed scan met were
// escaped, and from an escaped quote on both scans read alike), so
// unclosedBefore remembers the line end per kind and such quotes are not
// scanned again: a line of \' \' \' ... costs one pass, not one per quote.
void LexerIterator::skipQuotedInDirective(char quote, unsigned char& lastNonBlank,
                                          const char* (&unclosedBefore)[2])
{
    const char*& unclosed = unclosedBefore[quote == '"' ? 0 : 1];
    const Mark atQuote = mark();
    get();
    lastNonBlank = static_cast<unsigned char>(quote);
    if (atQuote.p < unclosed)
        return;
    while (m_pPos < m_pEnd) {
        const unsigned char c = static_cast<unsigned char>(*m_pPos);
        if (c == '\n') {
            if (lastNonBlank != '\\')
                break;
            lastNonBlank = 0;
            get();
            continue;
        }
        get();
        if (c == static_cast<unsigned char>(quote))
            return;
        if (!isBlank(c))
            lastNonBlank = c;
        if (c == '\\' && m_pPos < m_pEnd && *m_pPos != '\n') {
            const unsigned char escaped = get();
            if (!isBlank(escaped))
                lastNonBlank = escaped;
        }
    }
    unclosed = m_pPos;
    reset(atQuote);
    get();
    lastNonBlank = static_cast<unsigned char>(quote);
}

// After a directive that reads "#if0" without blanks: everything up to and
// including the matching "#endif" becomes one PREPROCESSOR token with empty
// text. Comments (with their region check) and literals are passed over;
// every directive starting with "#if" nests one level deeper, "#endif"
// closes one. Without a matching "#endif" the block runs to the end.
Trn::Token LexerIterator::skipIfZeroBlock(Trn::Location start)
{
    // A comment that the opening directive handed on lies inside the block.
    m_Pending = Trn::Token();
    int depth = 1;
    while (m_pPos < m_pEnd) {
        const char* tokStart = m_pPos;
        const unsigned char c = get();
        const Trn::Location loc = m_Pos;
        if (c != '#') {
            skipInRegion(c, tokStart, loc);
            continue;
        }
        const Trn::Token directive = lexDirective(tokStart, loc, false);
        if (startsWithIgnoringBlanks(directive.text(), "#if"))
            ++depth;
        else if (startsWithIgnoringBlanks(directive.text(), "#endif"))
            --depth;
        if (depth == 0)
            return Trn::Token(PREPROCESSOR, start, directive.end());
        if (m_Pending.type() != Trn::END_OF_FILE) {
            // A multi-line comment after a directive inside the block is
            // still a comment: it may open a marked region of its own.
            Trn::Token pending;
            pending.swap(m_Pending);
            checkCommentRegion(std::move(pending));
        }
    }
    return Trn::Token(PREPROCESSOR, start, m_Pos);
}

// Passes over one piece of a region that is being skipped: a blank, a
// comment (with its region check), a literal (terminated or not), a word,
// or any other single character. Returns true for a comment.
bool LexerIterator::skipInRegion(unsigned char c, const char* tokStart, Trn::Location start)
{
    if (c == '/' && (peek() == '/' || peek() == '*')) {
        checkCommentRegion(lexComment(tokStart, start));
        return true;
    }
    if (c == '"' || c == '\'')
        lexLiteral(tokStart, start, static_cast<char>(c));
    else if (isWordChar(c))
        skipWord();
    return false;
}

// The rest of a word; an apostrophe between two word characters (don't,
// 1'000) belongs to it, so prose and digit separators in skipped regions
// never open a literal.
void LexerIterator::skipWord()
{
    for (;;) {
        const int n = peek();
        if (isWordChar(n))
            get();
        else if (n == '\'' && isWordChar(peek(1)))
            get();
        else
            return;
    }
}

namespace {

// What an operator character starts: the character alone, followed by "=",
// doubled ("&&", "<<"), doubled and followed by "=" ("<<="); NONE where the
// character has no such form. "->", "->*" and ".*" are read apart.
struct OperatorChar {
    std::int32_t m_Plain;
    std::int32_t m_WithEquals;
    std::int32_t m_Doubled;
    std::int32_t m_DoubledEquals;
};

const std::int32_t NONE = Trn::END_OF_FILE;

const OperatorChar* operatorChar(unsigned char c)
{
    static const std::vector<OperatorChar> table = [] {
        std::vector<OperatorChar> t(128, OperatorChar{NONE, NONE, NONE, NONE});
        auto set = [&t](char ch, std::int32_t plain, std::int32_t withEquals = NONE, std::int32_t doubled = NONE,
                        std::int32_t doubledEquals = NONE) {
            t[static_cast<unsigned char>(ch)] = OperatorChar{plain, withEquals, doubled, doubledEquals};
        };
        for (const auto& [ch, type] : {std::pair<char, std::int32_t>{'(', LPAREN}, {')', RPAREN}, {',', COMMA},
                                       {':', COLON}, {';', SEMICOLON}, {'?', QUESTION}, {'[', LBRACKET},
                                       {']', RBRACKET}, {'{', LBRACE}, {'}', RBRACE}, {'~', TILDE}, {'.', DOT}})
            set(ch, type);
        set('!', EXCLAMATION, NOT_EQUALS);
        set('%', PERCENT, PERCENT_EQUALS);
        set('*', STAR, STAR_EQUALS);
        set('/', SLASH, SLASH_EQUALS);
        set('=', EQUALS, EQUALS_EQUALS);
        set('^', CARET, CARET_EQUALS);
        set('&', AMPERSAND, AMPERSAND_EQUALS, AND_AND);
        set('|', PIPE, PIPE_EQUALS, OR_OR);
        set('+', PLUS, PLUS_EQUALS, PLUS_PLUS);
        set('-', MINUS, MINUS_EQUALS, MINUS_MINUS);
        set('<', LESS, LESS_EQUALS, SHIFT_LEFT, SHIFT_LEFT_EQUALS);
        set('>', GREATER, GREATER_EQUALS, SHIFT_RIGHT, SHIFT_RIGHT_EQUALS);
        return t;
    }();
    return c < table.size() && table[c].m_Plain != NONE ? &table[c] : nullptr;
}

} // namespace

bool LexerIterator::lexOperator(const char* tokStart, unsigned char c, Trn::Location start,
                                Trn::Token& token)
{
    std::int32_t type = Trn::END_OF_FILE;
    const int n = peek();
    auto take = [&](std::int32_t t, int extra) {
        while (extra-- > 0)
            get();
        type = t;
    };
    if (const OperatorChar* pOp = operatorChar(c)) {
        if (c == '-' && n == '>')
            peek(1) == '*' ? take(ARROW_STAR, 2) : take(ARROW, 1);
        else if (c == '.' && n == '*')
            take(DOT_STAR, 1);
        else if (pOp->m_Doubled != NONE && n == c)
            pOp->m_DoubledEquals != NONE && peek(1) == '=' ? take(pOp->m_DoubledEquals, 2) : take(pOp->m_Doubled, 1);
        else if (pOp->m_WithEquals != NONE && n == '=')
            take(pOp->m_WithEquals, 1);
        else
            take(pOp->m_Plain, 0);
    } else if (c == '\\') {
        // A line continuation outside a directive: the backslash, trailing
        // blanks and the newline. A backslash before anything else is
        // skipped together with the blanks after it.
        while (isLineBlank(peek()))
            get();
        if (peek() == '\n')
            take(BACKSLASH, 1);
    }
    // '$', '@', '`', control characters, bytes above 126: skipped.
    if (type == Trn::END_OF_FILE)
        return false;
    token = Trn::Token(type, start, m_Pos, std::string(tokStart, m_pPos));
    return true;
}

// The indexes of the marker pairs whose opening text starts the comment's
// trimmed content.
std::vector<std::size_t> LexerIterator::openedPairs(const Trn::Token& comment) const
{
    std::vector<std::size_t> pairs;
    if (comment.type() != SL_COMMENT && comment.type() != ML_COMMENT)
        return pairs;
    const std::string& text = comment.text();
    std::size_t first = 2;
    std::size_t last = text.size();
    if (comment.type() == ML_COMMENT && last >= 4 && text.compare(last - 2, 2, "*/") == 0)
        last -= 2;
    while (first < last && isBlank(static_cast<unsigned char>(text[first])))
        ++first;
    while (last > first && isBlank(static_cast<unsigned char>(text[last - 1])))
        --last;
    const std::string_view content(text.data() + first, last - first);
    const MarkerPairList& markers = *m_pContext->markerPairs;
    for (std::size_t i = 0; i < markers.size(); ++i)
        if (startsWith(content, markers[i].first))
            pairs.push_back(i);
    return pairs;
}

bool LexerIterator::closesRegion(const Trn::Token& comment, const std::vector<std::size_t>& pairs) const
{
    if (comment.type() != SL_COMMENT && comment.type() != ML_COMMENT)
        return false;
    const std::string& text = comment.text();
    std::size_t first = 2;
    while (first < text.size() && isBlank(static_cast<unsigned char>(text[first])))
        ++first;
    const std::string_view content(text.data() + first, text.size() - first);
    const MarkerPairList& markers = *m_pContext->markerPairs;
    for (std::size_t i : pairs)
        if (startsWith(content, markers[i].second))
            return true;
    return false;
}

// A comment whose content starts with an off marker opens a region that
// runs to the first later comment starting with a matching on marker; the
// region becomes one ML_COMMENT_UNPARSED token. Comments inside that open
// regions of their own nest (their on marker closes them first); literals
// and directives are passed over so that markers inside them do not count.
// The nesting is kept on a stack, not in recursion, so that no input can
// exhaust the call stack.
Trn::Token LexerIterator::checkCommentRegion(Trn::Token comment)
{
    std::vector<std::size_t> opening = openedPairs(comment);
    if (opening.empty())
        return comment;
    std::vector<std::vector<std::size_t>> open;
    open.push_back(std::move(opening));
    const Trn::Location start = comment.start();
    auto consider = [&](const Trn::Token& inner) {
        std::vector<std::size_t> pairs = openedPairs(inner);
        if (!pairs.empty())
            open.push_back(std::move(pairs));
        else if (closesRegion(inner, open.back()))
            open.pop_back();
        return open.empty();
    };
    while (m_pPos < m_pEnd) {
        const char* tokStart = m_pPos;
        const unsigned char c = get();
        const Trn::Location loc = m_Pos;
        if (c == '/' && (peek() == '/' || peek() == '*')) {
            const Trn::Token inner = lexComment(tokStart, loc);
            if (consider(inner))
                return Trn::Token(ML_COMMENT_UNPARSED, start, inner.end());
        } else if (c == '#') {
            lexDirective(tokStart, loc, false);
            if (m_Pending.type() != Trn::END_OF_FILE) {
                Trn::Token inner;
                inner.swap(m_Pending);
                if (consider(inner))
                    return Trn::Token(ML_COMMENT_UNPARSED, start, inner.end());
            }
        } else if (c == '"' || c == '\'') {
            lexLiteral(tokStart, loc, static_cast<char>(c));
        } else if (isWordChar(c)) {
            skipWord();
        }
    }
    return Trn::Token(ML_COMMENT_UNPARSED, start, m_Pos);
}

// An identifier starting with a begin macro (BEGIN_MESSAGE_MAP) opens a
// region that runs through the first later token starting with the
// matching end macro; the region becomes one ML_COMMENT_UNPARSED token.
Trn::Token LexerIterator::checkMapRegion(Trn::Token&& identifier)
{
    const MarkerPairList& macros = *m_pContext->mapMacroPairs;
    auto opened = [&](const Trn::Token& t) -> std::size_t {
        if (t.type() == IDENTIFIER)
            for (std::size_t i = 0; i < macros.size(); ++i)
                if (startsWith(t.text(), macros[i].first))
                    return i;
        return macros.size();
    };
    std::vector<std::size_t> open;
    const std::size_t first = opened(identifier);
    if (first == macros.size())
        return std::move(identifier);
    open.push_back(first);
    // The tokens read inside the region move the token start; the region
    // starts where its opening macro does.
    const char* const begin = m_pTokenBegin;
    for (;;) {
        const Trn::Token t = next(NO_MAP_CHECK | SKIP_UNTERMINATED);
        if (t.type() == Trn::END_OF_FILE) {
            m_pTokenBegin = begin;
            return Trn::Token(ML_COMMENT_UNPARSED, identifier.start(), m_Pos);
        }
        const std::size_t inner = opened(t);
        if (inner != macros.size()) {
            open.push_back(inner);
        } else if (startsWith(t.text(), macros[open.back()].second)) {
            open.pop_back();
            if (open.empty()) {
                m_pTokenBegin = begin;
                return Trn::Token(ML_COMMENT_UNPARSED, identifier.start(), t.end());
            }
        }
    }
}

} // namespace Cpp
