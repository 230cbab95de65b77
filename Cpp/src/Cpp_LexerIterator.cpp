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

// Character classes of the classic locale, one table lookup for every byte
// value (and false for the -1 that peek() answers at the end).
enum CharClass : unsigned char { BLANK = 1, WORD_START = 2, WORD = 4 };

struct CharClasses {
    unsigned char of[256];
};

constexpr CharClasses makeCharClasses()
{
    CharClasses t{};
    for (int c = 0; c < 256; ++c) {
        const bool alpha = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool digit = c >= '0' && c <= '9';
        // Characters that start a name: letters and "_", and also "$" and
        // every byte above 127 (UTF-8 sequences), which compilers accept in
        // names. Kept in the name, they can never end up in a gap between
        // tokens that an emitter replaces with whitespace of its own.
        const bool wordStart = alpha || c == '_' || c == '$' || c >= 0x80;
        unsigned char k = 0;
        if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r')
            k |= BLANK;
        if (wordStart)
            k |= WORD_START;
        if (wordStart || digit)
            k |= WORD;
        t.of[c] = k;
    }
    return t;
}

constexpr CharClasses CHAR_CLASSES = makeCharClasses();

inline bool hasClass(int c, unsigned char k)
{
    return static_cast<unsigned>(c) < 256u && (CHAR_CLASSES.of[c] & k) != 0;
}
inline bool isBlank(int c) { return hasClass(c, BLANK); }
inline bool isLineBlank(int c) { return c != '\n' && isBlank(c); }
inline bool isDigit(int c) { return c >= '0' && c <= '9'; }
inline bool isHexDigit(int c)
{
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
inline bool isWordStart(int c) { return hasClass(c, WORD_START); }
inline bool isWordChar(int c) { return hasClass(c, WORD); }

// The text without blanks starts with prefix ("# if 0" starts with "#if0").
bool startsWithIgnoringBlanks(std::string_view text, const char* prefix)
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

// Most texts a marker is tested against differ from it in the first
// character, which is looked at before the rest.
inline bool startsWith(std::string_view text, const std::string& prefix)
{
    if (prefix.size() > text.size())
        return false;
    return prefix.empty() ||
           (text[0] == prefix[0] && std::memcmp(text.data() + 1, prefix.data() + 1, prefix.size() - 1) == 0);
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
bool isLiteralPrefix(std::string_view word)
{
    return word == "L" || word == "u" || word == "U" || word == "u8";
}
bool isRawPrefix(std::string_view word)
{
    return word == "R" || word == "LR" || word == "uR" || word == "UR" || word == "u8R";
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

// What copies of one iterator share: the results of template scans over
// their common text, and copies of marker lists other than the process-wide
// ones.
struct LexerIterator::Context {
    // For each "<" a template scan has passed: the matching ">", or null
    // when a scan starting there fails.
    std::unordered_map<const char*, const char*> templateScans;
    MarkerPairList markerPairs;
    MarkerPairList mapMacroPairs;
};

LexerIterator::LexerIterator() = default;

LexerIterator::LexerIterator(const char* begin, const char* end, const MarkerPairList& markerPairs,
                             const MarkerPairList& mapMacroPairs)
    : m_pPos(begin), m_pEnd(end), m_Pos(1, 0), m_pMarkerPairs(&markerPairs), m_pMapMacroPairs(&mapMacroPairs)
{
    // The process-wide lists live as long as the program and are used where
    // they are; a caller's own lists are copied, since they may go before
    // the iterator does.
    static const MarkerPairList* const pCommonMarkers = &commentMarkerPairs();
    static const MarkerPairList* const pCommonMaps = &Cpp::mapMacroPairs();
    if (&markerPairs != pCommonMarkers) {
        context().markerPairs = markerPairs;
        m_pMarkerPairs = &m_pContext->markerPairs;
    }
    if (&mapMacroPairs != pCommonMaps) {
        context().mapMacroPairs = mapMacroPairs;
        m_pMapMacroPairs = &m_pContext->mapMacroPairs;
    }
    CORVALE_CHECK_TEXT(m_Current.type() == Trn::END_OF_FILE, "m_Current.type() == Trn::END_OF_FILE");
    next(m_Current, 0);
}

LexerIterator::LexerIterator(std::string::const_iterator begin, std::string::const_iterator end,
                             const MarkerPairList& markerPairs, const MarkerPairList& mapMacroPairs)
    : LexerIterator(begin == end ? nullptr : &*begin,
                    begin == end ? nullptr : &*begin + (end - begin), markerPairs, mapMacroPairs)
{
}

LexerIterator::LexerIterator(const LexerIterator& other)
    : m_pPos(other.m_pPos), m_pEnd(other.m_pEnd), m_Pos(other.m_Pos), m_Current(other.m_Current),
      m_pTokenBegin(other.m_pTokenBegin), m_Pending(other.m_Pending), m_pPendingBegin(other.m_pPendingBegin),
      m_pMarkerPairs(other.m_pMarkerPairs), m_pMapMacroPairs(other.m_pMapMacroPairs),
      m_pContext(other.sharedContext())
{
}

LexerIterator& LexerIterator::operator=(const LexerIterator& other)
{
    if (this != &other) {
        m_Current = other.m_Current;
        m_Pending = other.m_Pending;
        m_pPos = other.m_pPos;
        m_pEnd = other.m_pEnd;
        m_Pos = other.m_Pos;
        m_pTokenBegin = other.m_pTokenBegin;
        m_pPendingBegin = other.m_pPendingBegin;
        m_pMarkerPairs = other.m_pMarkerPairs;
        m_pMapMacroPairs = other.m_pMapMacroPairs;
        m_pContext = other.sharedContext();
    }
    return *this;
}

LexerIterator::~LexerIterator() = default;

LexerIterator::Context& LexerIterator::context()
{
    if (!m_pContext)
        m_pContext = std::make_shared<Context>();
    return *m_pContext;
}

const std::shared_ptr<LexerIterator::Context>& LexerIterator::sharedContext() const
{
    // Once the whole text is read no scan can come any more, so an
    // iterator at the end hands on no context.
    if (!m_pContext && m_pPos != m_pEnd)
        m_pContext = std::make_shared<Context>();
    return m_pContext;
}

void LexerIterator::checkDereference() const
{
    CORVALE_CHECK_TEXT(m_Current.type() != Trn::END_OF_FILE,
                       "x.policies().m_Current.type() != Trn::END_OF_FILE");
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
        next(m_Current, 0);
    return *this;
}

LexerIterator LexerIterator::operator++(int)
{
    LexerIterator old(*this);
    ++*this;
    return old;
}

bool LexerIterator::equal(const LexerIterator& a, const LexerIterator& b)
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

void LexerIterator::moveTo(const char* p, std::int32_t lines, const char* lineStart)
{
    if (lines) {
        m_Pos.setLine(m_Pos.line() + lines);
        m_Pos.setCol(static_cast<std::int32_t>(p - lineStart));
    } else {
        m_Pos.setCol(m_Pos.col() + static_cast<std::int32_t>(p - m_pPos));
    }
    m_pPos = p;
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
    moveTo(p, lines, lineStart);
}

// Passes over a run of blanks, line ends included.
void LexerIterator::skipBlanks()
{
    const char* p = m_pPos;
    const char* lineStart = nullptr;
    std::int32_t lines = 0;
    for (; p < m_pEnd && isBlank(static_cast<unsigned char>(*p)); ++p) {
        if (*p == '\n') {
            ++lines;
            lineStart = p + 1;
        }
    }
    moveTo(p, lines, lineStart);
}

// Whether a name starting with c may start a map region: only when c
// starts one of the begin macros (nearly no name does).
bool LexerIterator::mayOpenMapRegion(unsigned char c) const
{
    for (const MarkerPair& macros : *m_pMapMacroPairs)
        if (macros.first.empty() || static_cast<unsigned char>(macros.first[0]) == c)
            return true;
    return false;
}

// One token into out: the pending one if there is one, else the next the
// rules make.
void LexerIterator::next(Trn::Token& out, int flags)
{
    if (m_Pending.type() != Trn::END_OF_FILE) {
        out = std::move(m_Pending);
        m_Pending = Trn::Token();
        m_pTokenBegin = m_pPendingBegin;
        // The comment was lexed by the directive rule, which leaves its
        // region check to the moment it is delivered; nothing was read in
        // between, so the check sees the same text.
        checkCommentRegion(out);
        return;
    }
    for (;;) {
        if (m_pPos == m_pEnd)
            break;
        if (isBlank(static_cast<unsigned char>(*m_pPos))) {
            skipBlanks();
            if (m_pPos == m_pEnd)
                break;
        }
        const char* tokStart = m_pPos;
        const unsigned char c = get();
        const Trn::Location start = m_Pos;
        m_pTokenBegin = tokStart;
        const int n = peek();
        if (c == '/' && (n == '/' || n == '*')) {
            lexComment(out, tokStart, start);
            checkCommentRegion(out);
            return;
        }
        if (isWordStart(c) || (c == ':' && n == ':') || (c == '~' && isWordStart(n))) {
            lexIdentifier(out, tokStart, c, start);
            if (out.type() == Trn::END_OF_FILE && (flags & SKIP_UNTERMINATED))
                continue; // an unterminated prefixed literal ('L"...')
            if (out.type() == IDENTIFIER && !(flags & NO_MAP_CHECK) && mayOpenMapRegion(c)) {
                const std::size_t opened = openedMapRegion(out);
                if (opened != m_pMapMacroPairs->size())
                    foldMapRegion(out, opened);
            }
            return;
        }
        if (isDigit(c)) {
            lexNumber(out, tokStart, start);
            return;
        }
        if (c == '"' || c == '\'') {
            lexLiteral(out, tokStart, start, static_cast<char>(c));
            if (out.type() == Trn::END_OF_FILE && (flags & SKIP_UNTERMINATED))
                continue;
            return;
        }
        if (c == '#') {
            lexDirective(out, tokStart, start, true);
            return;
        }
        if (lexOperator(out, tokStart, c, start))
            return;
    }
    m_pTokenBegin = nullptr;
    out.assign(Trn::END_OF_FILE, Trn::Location(), Trn::Location(), "", 0);
}

// "//" through the newline, or "/*" through "*/"; either may run to the end.
void LexerIterator::lexComment(Trn::Token& out, const char* tokStart, Trn::Location start)
{
    const unsigned char second = get();
    if (second == '/') {
        const void* nl = std::memchr(m_pPos, '\n', static_cast<std::size_t>(m_pEnd - m_pPos));
        advanceTo(nl ? static_cast<const char*>(nl) + 1 : m_pEnd);
        out.assign(SL_COMMENT, start, m_Pos, tokStart, static_cast<std::size_t>(m_pPos - tokStart));
        return;
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
    out.assign(ML_COMMENT, start, m_Pos, tokStart, static_cast<std::size_t>(m_pPos - tokStart));
}

// Names, qualified names ('A::B', '::new', 'A:: B' read as 'A::B'),
// destructor names and template-ids ('vector<int>'), and the keywords.
//
// Most names are a plain run of word characters, read here in one go; a
// name that reaches "::" or a "<" that may open template arguments goes on
// in lexQualifiedOrTemplate.
void LexerIterator::lexIdentifier(Trn::Token& out, const char* tokStart, unsigned char first,
                                  Trn::Location start)
{
    if (first == ':') {
        lexQualifiedOrTemplate(out, tokStart, first, start);
        return;
    }
    const char* p = m_pPos;
    while (p < m_pEnd && isWordChar(static_cast<unsigned char>(*p)))
        ++p;
    const int after = p < m_pEnd ? static_cast<unsigned char>(*p) : -1;
    const int second = p + 1 < m_pEnd ? static_cast<unsigned char>(p[1]) : -1;
    if ((after == '<' && second != '<') || (after == ':' && second == ':')) {
        lexQualifiedOrTemplate(out, tokStart, first, start);
        return;
    }
    // A word holds no line end: only the column moves.
    m_Pos.setCol(m_Pos.col() + static_cast<std::int32_t>(p - m_pPos));
    m_pPos = p;
    const std::size_t length = static_cast<std::size_t>(p - tokStart);
    if ((after == '"' || after == '\'') && lexPrefixedLiteral(out, tokStart, length, start))
        return;
    const std::int32_t keyword = keywordType(std::string_view(tokStart, length));
    if (keyword != Trn::END_OF_FILE)
        out.assign(keyword, start, m_Pos, tokStart, length);
    else
        out.assignWithTextValue(IDENTIFIER, start, m_Pos, tokStart, length);
}

// An encoding or raw prefix belongs to the literal it introduces, so that
// nothing can ever come between them. With the name [tokStart, +length)
// read and a quote next: lexes the literal and answers true when the name
// is such a prefix.
bool LexerIterator::lexPrefixedLiteral(Trn::Token& out, const char* tokStart, std::size_t length,
                                       Trn::Location start)
{
    const std::string_view word(tokStart, length);
    if (isRawPrefix(word) && peek() == '"') {
        lexRawString(out, tokStart, start);
        return true;
    }
    if (isLiteralPrefix(word)) {
        const char quote = static_cast<char>(get());
        lexLiteral(out, tokStart, start, quote);
        return true;
    }
    return false;
}

// The names that need more than one run of word characters: qualified
// names and names followed by "<".
//
// The text is the source from tokStart to the read position, except that
// blanks after a "::" are left out; only then is it put together in joined
// (runStart is where the part of the source not yet copied there starts).
void LexerIterator::lexQualifiedOrTemplate(Trn::Token& out, const char* tokStart, unsigned char first,
                                           Trn::Location start)
{
    std::string joined;
    const char* runStart = tokStart;
    // Where the last component of the name starts in the source.
    const char* lastStart = tokStart;
    bool qualified = false;
    Trn::Location endLoc = m_Pos;
    bool collect = true;
    // The keyword test of the last component before a "<", remembered with
    // the read position it was made at.
    std::int32_t componentKeyword = Trn::END_OF_FILE;
    const char* componentEnd = nullptr;
    if (first == ':') {
        get();
        qualified = true;
        endLoc = m_Pos;
        collect = continueAfterScope(joined, runStart, lastStart, endLoc);
    }
    while (collect) {
        const int n = peek();
        if (isWordChar(n)) {
            // A run of word characters in one go.
            const char* p = m_pPos + 1;
            while (p < m_pEnd && isWordChar(static_cast<unsigned char>(*p)))
                ++p;
            // A word holds no line end: only the column moves.
            m_Pos.setCol(m_Pos.col() + static_cast<std::int32_t>(p - m_pPos));
            m_pPos = p;
            endLoc = m_Pos;
        } else if (n == '<') {
            if (peek(1) == '<')
                break;
            // A keyword ('template', 'operator', 'X::operator') is never
            // followed by template arguments of its own.
            componentKeyword = keywordType(std::string_view(lastStart, static_cast<std::size_t>(m_pPos - lastStart)));
            componentEnd = m_pPos;
            if (componentKeyword != Trn::END_OF_FILE)
                break;
            const char* close = templateScan(m_pPos);
            if (!close)
                break;
            advanceTo(close + 1);
            endLoc = m_Pos;
        } else if (n == ':' && peek(1) == ':') {
            get();
            get();
            qualified = true;
            endLoc = m_Pos;
            if (!continueAfterScope(joined, runStart, lastStart, endLoc))
                break;
        } else {
            break;
        }
    }

    const bool gapped = runStart != tokStart;
    if (gapped)
        joined.append(runStart, m_pPos);
    const std::string_view text =
        gapped ? std::string_view(joined) : std::string_view(tokStart, static_cast<std::size_t>(m_pPos - tokStart));

    if (!qualified && (peek() == '"' || peek() == '\'') && lexPrefixedLiteral(out, tokStart, text.size(), start))
        return;

    // A name that is its own last component was looked up already when the
    // lookup before a "<" saw all of it.
    const std::int32_t keyword = !qualified && componentEnd == m_pPos ? componentKeyword : keywordType(text);
    if (keyword != Trn::END_OF_FILE) {
        out.assign(keyword, start, endLoc, text.data(), text.size());
        return;
    }
    if (qualified) {
        const std::string_view last(lastStart, static_cast<std::size_t>(m_pPos - lastStart));
        if (endsQualifiedName(last)) {
            out.assign(keywordType(last), start, endLoc, text.data(), text.size());
            return;
        }
    }
    out.assignWithTextValue(IDENTIFIER, start, endLoc, text.data(), text.size());
}

// After "::": blanks and newlines are passed over; a following name
// component is taken and collection goes on (true). Otherwise the name
// ends after the "::" and the blanks are left to the next token (false).
bool LexerIterator::continueAfterScope(std::string& joined, const char*& runStart, const char*& lastStart,
                                       Trn::Location& endLoc)
{
    const Mark afterColons = mark();
    while (isBlank(peek()))
        get();
    const int n = peek();
    if (n == '~' || isWordStart(n)) {
        if (m_pPos != afterColons.p) {
            // The blanks stay out of the text.
            joined.append(runStart, afterColons.p);
            runStart = m_pPos;
        }
        lastStart = m_pPos;
        get();
        endLoc = m_Pos;
        return true;
    }
    reset(afterColons);
    lastStart = m_pPos;
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
// the text ends. The settled "<" are remembered; the scans started later
// from those "<" (as in 'a<b,a<b,a<b,...') are then answered at once, so
// the total cost stays linear instead of rescanning the rest of the text
// from every "<".
//
// A scan may also start at the "<" of a "<=" ('a<=b'), which the pass
// itself reads as a comparison. Such a "<" is followed alongside as a
// shadow: it sees the same pushes and matches as the pass, opens nothing
// for it, and is settled by the first ">" at its level while no "<" pushed
// after it is still open (or fails with its level), so a text full of
// 'a<=b,' is settled in one pass as well.
//
// Only what can be asked again is kept. This iterator reads on after the
// "<" at lt (past the ">" when the scan succeeds), so it never asks about
// lt again, nor, after a success, about any "<" inside the list; a copy
// that shares the context may ask about all of them. Most scans succeed on
// an iterator of its own and keep nothing.
const char* LexerIterator::templateScan(const char* lt)
{
    CORVALE_CHECK_TEXT(lt != m_pEnd, "it != m_End");
    CORVALE_CHECK_TEXT(*lt == '<', "*it == '<'");
    CORVALE_CHECK_TEXT(lt + 1 == m_pEnd || lt[1] != '<', "peek(++it) != '<'");
    if (m_pContext && !m_pContext->templateScans.empty()) {
        const auto known = m_pContext->templateScans.find(lt);
        if (known != m_pContext->templateScans.end())
            return known->second;
    }

    struct Open {
        const char* p;
        int level;
    };
    // A "<=" followed as a shadow: its level and how many "<" were open
    // when it came. Shadows stay ordered by both, so those a ">" or a ")"
    // settles are always the last ones.
    struct Shadow {
        const char* p;
        int level;
        std::size_t height;
    };
    // Scratch storage kept from scan to scan (scans never nest).
    static thread_local std::vector<Open> open;
    static thread_local std::vector<Shadow> shadows;
    static thread_local std::vector<std::pair<const char*, const char*>> settled;
    open.clear();
    shadows.clear();
    settled.clear();
    open.push_back({lt, 0});
    const char* result = nullptr;
    auto settle = [&](const char* close) {
        if (open.back().p == lt)
            result = close;
        else
            settled.emplace_back(open.back().p, close);
        open.pop_back();
    };
    auto failAll = [&]() {
        while (!open.empty())
            settle(nullptr);
        for (const Shadow& s : shadows)
            settled.emplace_back(s.p, nullptr);
        shadows.clear();
    };
    int level = 0;
    for (const char* q = lt + 1; q < m_pEnd && !open.empty(); ++q) {
        switch (*q) {
        case '(':
            ++level;
            break;
        case ')':
            if (level == 0) {
                failAll();
            } else {
                while (!open.empty() && open.back().level == level)
                    settle(nullptr);
                while (!shadows.empty() && shadows.back().level == level) {
                    settled.emplace_back(shadows.back().p, nullptr);
                    shadows.pop_back();
                }
                --level;
            }
            break;
        case '<':
            if (q + 1 < m_pEnd && q[1] == '=') {
                // '<=' and '<=>' compare; they never open a list. A scan
                // from this "<" reads "<=>" as "<" "=" ">", where the ">"
                // closes at once unless it starts ">=" or ">>=".
                const bool spaceship = q + 2 < m_pEnd && q[2] == '>';
                if (spaceship && !(q + 3 < m_pEnd && q[3] == '=') &&
                    !(q + 4 < m_pEnd && q[3] == '>' && q[4] == '='))
                    settled.emplace_back(q, q + 2);
                else
                    shadows.push_back({q, level, open.size()});
                q += spaceship ? 2 : 1;
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
            while (!shadows.empty() && shadows.back().level == level && shadows.back().height == open.size()) {
                settled.emplace_back(shadows.back().p, q);
                shadows.pop_back();
            }
            if (open.back().level == level)
                settle(q);
            break;
        case ';':
        case '&':
        case '|':
        case '/':
            failAll();
            break;
        default:
            break;
        }
    }
    failAll();

    const bool shared = m_pContext && m_pContext.use_count() > 1;
    if (shared || (!result && !settled.empty())) {
        auto& results = context().templateScans;
        for (const auto& s : settled)
            results.emplace(s.first, s.second);
        if (shared)
            results.emplace(lt, result);
    }
    return result;
}

// Decimal, octal and hexadecimal numbers with one "." and one exponent, and
// their suffixes. Letters and digits that follow directly (3i64, 1st, 0b101,
// 10ms) stay in the token, so that the whole spelling reaches the output as
// one piece.
void LexerIterator::lexNumber(Trn::Token& out, const char* tokStart, Trn::Location start)
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
    out.assign(NUMBER_LITERAL, start, m_Pos, tokStart, static_cast<std::size_t>(m_pPos - tokStart));
}

// A string or character literal whose opening quote (and any prefix) has
// been read. A backslash escapes the next character; a newline continues
// the literal only after a backslash (blanks may stand between), otherwise
// the literal is unterminated and the token stream ends on it. At the end of
// the text the literal is taken as it stands.
void LexerIterator::lexLiteral(Trn::Token& out, const char* tokStart, Trn::Location start, char quote)
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
            if (lastNonBlank != '\\') {
                out = Trn::Token(Trn::END_OF_FILE, start, m_Pos);
                return;
            }
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
    if (quote == '\'' && contentEnd == contentStart) {
        out = Trn::Token(Trn::END_OF_FILE, start, m_Pos);
        return;
    }
    if (m_pPos[-1] == quote && contentEnd + 1 == m_pPos)
        absorbSuffix();
    std::string value = unescape(contentStart, contentEnd);
    std::string text(tokStart, m_pPos);
    if (quote == '\'') {
        const unsigned char byte = value.empty() ? 0 : static_cast<unsigned char>(value[0]);
        out = Trn::Token(CHAR_LITERAL, start, m_Pos, std::move(text), byte);
        return;
    }
    out = Trn::Token(STRING_LITERAL, start, m_Pos, std::move(text), std::move(value));
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
void LexerIterator::lexRawString(Trn::Token& out, const char* tokStart, Trn::Location start)
{
    get(); // the quote
    const char* delimStart = m_pPos;
    const char* p = m_pPos;
    while (p < m_pEnd && p - delimStart <= 16 && *p != '(' && *p != ')' && *p != '\\' &&
           *p != '"' && !isBlank(static_cast<unsigned char>(*p)))
        ++p;
    if (p == m_pEnd || *p != '(' || p - delimStart > 16) {
        lexLiteral(out, tokStart, start, '"');
        return;
    }
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
    out = Trn::Token(STRING_LITERAL, start, m_Pos, std::string(tokStart, m_pPos),
                     std::string(contentStart, contentEnd));
}

// A directive from "#" through the newline that ends its line, continued
// over backslash-newlines. A "//" ends it before the comment; a "/* */"
// that closes on the same line stays in it; one that runs on to a later
// line ends it and is delivered as the next token. Quoted text is passed
// over whole, so '#define URL "http://x"' stays one directive.
void LexerIterator::lexDirective(Trn::Token& out, const char* tokStart, Trn::Location start, bool ifZeroCheck)
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
            Trn::Token comment;
            lexComment(comment, commentStart, commentLoc);
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
    const std::size_t length = static_cast<std::size_t>(textEnd - tokStart);
    if (ifZeroCheck && startsWithIgnoringBlanks(std::string_view(tokStart, length), "#if0"))
        skipIfZeroBlock(out, start);
    else
        out.assign(PREPROCESSOR, start, endLoc, tokStart, length);
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
void LexerIterator::skipIfZeroBlock(Trn::Token& out, Trn::Location start)
{
    // A comment that the opening directive handed on lies inside the block.
    m_Pending = Trn::Token();
    int depth = 1;
    Trn::Token directive;
    while (m_pPos < m_pEnd) {
        const char* tokStart = m_pPos;
        const unsigned char c = get();
        const Trn::Location loc = m_Pos;
        if (c != '#') {
            skipInRegion(c, tokStart, loc);
            continue;
        }
        lexDirective(directive, tokStart, loc, false);
        if (startsWithIgnoringBlanks(directive.text(), "#if"))
            ++depth;
        else if (startsWithIgnoringBlanks(directive.text(), "#endif"))
            --depth;
        if (depth == 0) {
            out = Trn::Token(PREPROCESSOR, start, directive.end());
            return;
        }
        if (m_Pending.type() != Trn::END_OF_FILE) {
            // A multi-line comment after a directive inside the block is
            // still a comment: it may open a marked region of its own.
            Trn::Token pending;
            pending.swap(m_Pending);
            checkCommentRegion(pending);
        }
    }
    out = Trn::Token(PREPROCESSOR, start, m_Pos);
}

// Passes over one piece of a region that is being skipped: a blank, a
// comment (with its region check), a literal (terminated or not), a word,
// or any other single character. Returns true for a comment.
bool LexerIterator::skipInRegion(unsigned char c, const char* tokStart, Trn::Location start)
{
    if (c == '/' && (peek() == '/' || peek() == '*')) {
        Trn::Token comment;
        lexComment(comment, tokStart, start);
        checkCommentRegion(comment);
        return true;
    }
    if (c == '"' || c == '\'') {
        Trn::Token literal;
        lexLiteral(literal, tokStart, start, static_cast<char>(c));
    } else if (isWordChar(c)) {
        skipWord();
    }
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

struct OperatorTable {
    OperatorChar of[128];
};

constexpr OperatorTable makeOperatorTable()
{
    OperatorTable t{};
    for (OperatorChar& op : t.of)
        op = OperatorChar{NONE, NONE, NONE, NONE};
    struct Entry {
        char ch;
        OperatorChar op;
    };
    const Entry entries[] = {
        {'(', {LPAREN, NONE, NONE, NONE}},
        {')', {RPAREN, NONE, NONE, NONE}},
        {',', {COMMA, NONE, NONE, NONE}},
        {':', {COLON, NONE, NONE, NONE}},
        {';', {SEMICOLON, NONE, NONE, NONE}},
        {'?', {QUESTION, NONE, NONE, NONE}},
        {'[', {LBRACKET, NONE, NONE, NONE}},
        {']', {RBRACKET, NONE, NONE, NONE}},
        {'{', {LBRACE, NONE, NONE, NONE}},
        {'}', {RBRACE, NONE, NONE, NONE}},
        {'~', {TILDE, NONE, NONE, NONE}},
        {'.', {DOT, NONE, NONE, NONE}},
        {'!', {EXCLAMATION, NOT_EQUALS, NONE, NONE}},
        {'%', {PERCENT, PERCENT_EQUALS, NONE, NONE}},
        {'*', {STAR, STAR_EQUALS, NONE, NONE}},
        {'/', {SLASH, SLASH_EQUALS, NONE, NONE}},
        {'=', {EQUALS, EQUALS_EQUALS, NONE, NONE}},
        {'^', {CARET, CARET_EQUALS, NONE, NONE}},
        {'&', {AMPERSAND, AMPERSAND_EQUALS, AND_AND, NONE}},
        {'|', {PIPE, PIPE_EQUALS, OR_OR, NONE}},
        {'+', {PLUS, PLUS_EQUALS, PLUS_PLUS, NONE}},
        {'-', {MINUS, MINUS_EQUALS, MINUS_MINUS, NONE}},
        {'<', {LESS, LESS_EQUALS, SHIFT_LEFT, SHIFT_LEFT_EQUALS}},
        {'>', {GREATER, GREATER_EQUALS, SHIFT_RIGHT, SHIFT_RIGHT_EQUALS}},
    };
    for (const Entry& e : entries)
        t.of[static_cast<unsigned char>(e.ch)] = e.op;
    return t;
}

constexpr OperatorTable OPERATORS = makeOperatorTable();

} // namespace

bool LexerIterator::lexOperator(Trn::Token& out, const char* tokStart, unsigned char c, Trn::Location start)
{
    std::int32_t type = NONE;
    if (c < 128 && OPERATORS.of[c].m_Plain != NONE) {
        const OperatorChar& op = OPERATORS.of[c];
        const int n = peek();
        int extra = 0;
        if (c == '-' && n == '>') {
            extra = peek(1) == '*' ? 2 : 1;
            type = extra == 2 ? ARROW_STAR : ARROW;
        } else if (c == '.' && n == '*') {
            extra = 1;
            type = DOT_STAR;
        } else if (op.m_Doubled != NONE && n == c) {
            extra = op.m_DoubledEquals != NONE && peek(1) == '=' ? 2 : 1;
            type = extra == 2 ? op.m_DoubledEquals : op.m_Doubled;
        } else if (op.m_WithEquals != NONE && n == '=') {
            extra = 1;
            type = op.m_WithEquals;
        } else {
            type = op.m_Plain;
        }
        // The characters taken are operator characters: no line end.
        m_pPos += extra;
        m_Pos.setCol(m_Pos.col() + extra);
    } else if (c == '\\') {
        // A line continuation outside a directive: the backslash, trailing
        // blanks and the newline. A backslash before anything else is
        // skipped together with the blanks after it.
        while (isLineBlank(peek()))
            get();
        if (peek() == '\n') {
            get();
            type = BACKSLASH;
        }
    }
    // '@', '`' and control characters: skipped.
    if (type == NONE)
        return false;
    out.assign(type, start, m_Pos, tokStart, static_cast<std::size_t>(m_pPos - tokStart));
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
    const MarkerPairList& markers = *m_pMarkerPairs;
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
    const MarkerPairList& markers = *m_pMarkerPairs;
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
void LexerIterator::checkCommentRegion(Trn::Token& comment)
{
    std::vector<std::size_t> opening = openedPairs(comment);
    if (opening.empty())
        return;
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
    Trn::Token inner;
    while (m_pPos < m_pEnd) {
        const char* tokStart = m_pPos;
        const unsigned char c = get();
        const Trn::Location loc = m_Pos;
        if (c == '/' && (peek() == '/' || peek() == '*')) {
            lexComment(inner, tokStart, loc);
            if (consider(inner)) {
                comment = Trn::Token(ML_COMMENT_UNPARSED, start, inner.end());
                return;
            }
        } else if (c == '#') {
            lexDirective(inner, tokStart, loc, false);
            if (m_Pending.type() != Trn::END_OF_FILE) {
                inner = Trn::Token();
                inner.swap(m_Pending);
                if (consider(inner)) {
                    comment = Trn::Token(ML_COMMENT_UNPARSED, start, inner.end());
                    return;
                }
            }
        } else if (c == '"' || c == '\'') {
            lexLiteral(inner, tokStart, loc, static_cast<char>(c));
        } else if (isWordChar(c)) {
            skipWord();
        }
    }
    comment = Trn::Token(ML_COMMENT_UNPARSED, start, m_Pos);
}

// The index of the map-macro pair whose begin macro starts the token's text
// (BEGIN_MESSAGE_MAP), or the number of pairs when none does.
std::size_t LexerIterator::openedMapRegion(const Trn::Token& token) const
{
    const MarkerPairList& macros = *m_pMapMacroPairs;
    if (token.type() == IDENTIFIER)
        for (std::size_t i = 0; i < macros.size(); ++i)
            if (startsWith(token.text(), macros[i].first))
                return i;
    return macros.size();
}

// An identifier starting with a begin macro opens a region that runs
// through the first later token starting with the matching end macro; the
// region becomes one ML_COMMENT_UNPARSED token.
void LexerIterator::foldMapRegion(Trn::Token& identifier, std::size_t opened)
{
    const MarkerPairList& macros = *m_pMapMacroPairs;
    std::vector<std::size_t> open{opened};
    // The tokens read inside the region move the token start; the region
    // starts where its opening macro does.
    const char* const begin = m_pTokenBegin;
    const Trn::Location start = identifier.start();
    Trn::Token t;
    for (;;) {
        next(t, NO_MAP_CHECK | SKIP_UNTERMINATED);
        if (t.type() == Trn::END_OF_FILE) {
            m_pTokenBegin = begin;
            identifier = Trn::Token(ML_COMMENT_UNPARSED, start, m_Pos);
            return;
        }
        const std::size_t inner = openedMapRegion(t);
        if (inner != macros.size()) {
            open.push_back(inner);
        } else if (startsWith(t.text(), macros[open.back()].second)) {
            open.pop_back();
            if (open.empty()) {
                m_pTokenBegin = begin;
                identifier = Trn::Token(ML_COMMENT_UNPARSED, start, t.end());
                return;
            }
        }
    }
}

} // namespace Cpp
