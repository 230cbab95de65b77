#include "StylistCpp_Verifier.h"

#include "Corvale_Exception.h"
#include "Cpp.h"
#include "Cpp_LexerIterator.h"
#include "Cpp_Parser.h"
#include "Cpp_SyntaxTree.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <memory>
#include <sstream>
#include <string_view>
#include <typeinfo>
#include <unordered_set>

namespace StylistCpp {

namespace Verifier {

namespace {

// The blanks of the classic locale.
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool sameNameSpelling(std::string_view a, std::string_view b, bool lists);

// The first position at or after i that holds no blank.
std::size_t pastBlanks(std::string_view s, std::size_t i)
{
    while (i < s.size() && isSpace(s[i]))
        ++i;
    return i;
}

// Whether the two texts are the same once their blanks are removed.
bool sameWithoutSpace(std::string_view a, std::string_view b) { return sameNameSpelling(a, b, false); }

std::string withoutSpace(const std::string& s)
{
    std::string r;
    r.reserve(s.size());
    for (char c : s)
        if (!isSpace(c))
            r += c;
    return r;
}

std::string collapsedSpace(const std::string& s)
{
    std::string r;
    bool blank = false;
    for (char c : s) {
        if (isSpace(c)) {
            blank = true;
            continue;
        }
        if (blank && !r.empty())
            r += ' ';
        blank = false;
        r += c;
    }
    return r;
}

// A directive's text as compared: the leading whitespace of continuation
// lines (the formatter indents those) and whitespace at line ends removed,
// other runs of blanks taken as one blank (a directive's meaning depends on
// whether tokens are apart, not on how far), string and character literals
// kept exactly.
std::string directiveText(const std::string& s)
{
    std::string r;
    r.reserve(s.size());
    bool blank = false;
    char quote = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (quote != 0) {
            r += c;
            if (c == '\\' && i + 1 < s.size() && s[i + 1] != '\n')
                r += s[++i];
            else if (c == quote || c == '\n')
                quote = 0;
            continue;
        }
        if (c == '\n' || c == '\r') {
            blank = false;
            r += c;
            while (i + 1 < s.size() && isSpace(s[i + 1]))
                if (s[++i] == '\n')
                    r += '\n';
            continue;
        }
        if (isSpace(c)) {
            blank = true;
            continue;
        }
        if (blank && !r.empty() && r.back() != '\n')
            r += ' ';
        blank = false;
        r += c;
        if (c == '"' || c == '\'')
            quote = c;
    }
    return r;
}

// The source text between two token locations (the lexer's locations:
// lines from 1, the first column 1, a newline at column 0 of the next
// line).
class Slicer {
public:
    // The line table is built on the first slice: most texts read for a
    // template argument list hold no comment or directive to slice.
    explicit Slicer(const std::string& text) : m_Text(text) {}
    std::string slice(const Trn::Location& from, const Trn::Location& to) const
    {
        return std::string(view(from, to));
    }
    std::string_view view(const Trn::Location& from, const Trn::Location& to) const
    {
        const std::string_view text(m_Text);
        const std::size_t b = offset(from), e = offset(to);
        return b <= e && e < text.size() ? text.substr(b, e - b + 1) : text.substr(std::min(b, text.size()));
    }

private:
    std::size_t offset(const Trn::Location& l) const
    {
        if (l.line() < 0 || l.col() < 0)
            return m_Text.size();
        if (m_LineStart.empty())
            buildLineStarts();
        const std::size_t line = static_cast<std::size_t>(l.line());
        if (line >= m_LineStart.size())
            return m_Text.size();
        const std::size_t o = m_LineStart[line] + static_cast<std::size_t>(l.col());
        return o == 0 ? 0 : o - 1;
    }
    void buildLineStarts() const
    {
        m_LineStart.push_back(0);
        m_LineStart.push_back(0);
        const char* const begin = m_Text.data();
        const char* const end = begin + m_Text.size();
        for (const char* p = begin;;) {
            const void* nl = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
            if (nl == nullptr)
                break;
            p = static_cast<const char*>(nl) + 1;
            m_LineStart.push_back(static_cast<std::size_t>(p - begin));
        }
    }
    const std::string& m_Text;
    mutable std::vector<std::size_t> m_LineStart;
};

// The tokens of text into out; with spelled, a name with template
// arguments or blanks keeps its spelling (normalised when it is compared
// with a different one) instead of its normalised text.
void collect(const std::string& text, std::vector<ComparableToken>& out, bool spelled = false);

// The location of text[offset], counted as the lexer counts.
Trn::Location locationOf(const std::string& text, std::size_t offset)
{
    std::int32_t line = 1, col = 1;
    for (std::size_t k = 0; k < offset && k < text.size(); ++k) {
        if (text[k] == '\n') {
            ++line;
            col = 1;
        } else {
            ++col;
        }
    }
    return Trn::Location(line, col);
}

// The ">" closing the template argument list opened at text[lt], counted
// as the lexer counts: "<" and ">" outside parentheses.
std::size_t listEnd(std::string_view text, std::size_t lt)
{
    int angles = 0, parens = 0;
    for (std::size_t k = lt; k < text.size(); ++k) {
        const char c = text[k];
        if (c == '(')
            ++parens;
        else if (c == ')' && parens > 0)
            --parens;
        else if (c == '<' && parens == 0)
            ++angles;
        else if (c == '>' && parens == 0 && --angles == 0)
            return k;
    }
    return std::string_view::npos;
}

// A name with its blanks removed and each template argument list replaced
// by the list's own tokens.
std::string identifierText(const std::string& text)
{
    std::size_t lt = text.find('<');
    if (lt == std::string::npos)
        return withoutSpace(text);
    std::string r;
    std::size_t done = 0;
    while (lt != std::string::npos) {
        const std::size_t gt = listEnd(text, lt);
        if (gt == std::string::npos)
            break;
        for (std::size_t k = done; k < lt; ++k)
            if (!isSpace(text[k]))
                r += text[k];
        r += '<';
        std::vector<ComparableToken> inner;
        collect(text.substr(lt + 1, gt - lt - 1), inner);
        for (const ComparableToken& t : inner) {
            r += std::to_string(t.type);
            r += ':';
            r += t.text;
            r += '\x1f';
        }
        r += '>';
        done = gt + 1;
        lt = text.find('<', done);
    }
    return r + withoutSpace(text.substr(done));
}

// The tokens of a text, one at a time, so that two texts can be compared
// without holding either's tokens. Each token is seen as it stands (its
// type, where it starts, its source text) and normalised only on demand:
// two tokens of one type with the same source text are the same, so only
// tokens whose spellings differ need their normalised texts.
class Reader {
public:
    explicit Reader(const std::string& text) : m_Text(text), m_Slicer(text), m_It(text.begin(), text.end()) {}

    // Steps to the next token; false after the last.
    bool advance()
    {
        if (m_Started && !m_Done)
            ++m_It;
        m_Started = true;
        if (m_Done)
            return false;
        if (m_It != m_End && !m_It.stuck()) {
            const Trn::Token& token = *m_It;
            m_Type = token.type();
            m_Start = token.start();
            m_Raw = spelling(token, m_Slicer);
            return true;
        }
        m_Done = true;
        if (!m_It.stuck())
            return false;
        // Lexing stopped at an unterminated literal: the rest of the text
        // is one last token.
        const std::size_t stop = static_cast<std::size_t>(m_It.readPointer() - m_Text.data());
        m_Type = STOPPED;
        m_Start = locationOf(m_Text, stop);
        m_Raw = std::string_view(m_Text).substr(stop);
        return true;
    }

    // A token's spelling as compared: the text between its locations for
    // the kinds normalised from the source, the lexer's text otherwise.
    static std::string_view spelling(const Trn::Token& token, const Slicer& slicer)
    {
        return isSliced(token.type()) ? slicer.view(token.start(), token.end()) : std::string_view(token.text());
    }

    std::int32_t type() const { return m_Type; }
    const Trn::Location& start() const { return m_Start; }
    // The token's source text: the text between its locations for the
    // kinds normalised from the source, the lexer's text otherwise.
    std::string_view raw() const { return m_Raw; }
    std::string normalised() const { return normalise(m_Type, std::string(m_Raw)); }

    // The next token into t; false after the last.
    bool next(ComparableToken& t, bool spelled)
    {
        if (!advance())
            return false;
        t.type = m_Type;
        t.start = m_Start;
        t.spelled = false;
        if (!isNormalised(m_Type) || isPlainName()) {
            t.text.assign(m_Raw);
        } else if (spelled && (m_Type == Cpp::IDENTIFIER || m_Type == Cpp::OPERATOR_KEY)) {
            t.text.assign(m_Raw);
            t.spelled = true;
        } else {
            t.text = normalised();
        }
        return true;
    }

    static std::string normalise(std::int32_t type, const std::string& raw)
    {
        switch (type) {
        case Cpp::SL_COMMENT:
        case Cpp::ML_COMMENT:
        case Cpp::ML_COMMENT_UNPARSED:
            return withoutSpace(raw);
        case Cpp::PREPROCESSOR:
            return directiveText(raw);
        case Cpp::IDENTIFIER:
        case Cpp::OPERATOR_KEY: // a qualified operator name, 'A<T,\n U>::operator'
            return identifierText(raw);
        case STOPPED:
            return collapsedSpace(raw);
        default:
            return raw;
        }
    }

private:
    static constexpr std::int32_t STOPPED = -2;

    // A name without blanks and template arguments is its own normalised
    // text (most names are).
    bool isPlainName() const
    {
        return (m_Type == Cpp::IDENTIFIER || m_Type == Cpp::OPERATOR_KEY) &&
               std::none_of(m_Raw.begin(), m_Raw.end(), [](char c) { return c == '<' || isSpace(c); });
    }

    static bool isNormalised(std::int32_t type)
    {
        return isSliced(type) || type == Cpp::IDENTIFIER || type == Cpp::OPERATOR_KEY || type == STOPPED;
    }

    static bool isSliced(std::int32_t type)
    {
        return type == Cpp::SL_COMMENT || type == Cpp::ML_COMMENT || type == Cpp::ML_COMMENT_UNPARSED ||
               type == Cpp::PREPROCESSOR;
    }

    const std::string& m_Text;
    Slicer m_Slicer;
    Cpp::LexerIterator m_It;
    Cpp::LexerIterator m_End;
    bool m_Started = false;
    bool m_Done = false;
    std::int32_t m_Type = 0;
    Trn::Location m_Start;
    std::string_view m_Raw;
};

// Whether two spellings of a token normalise alike, decided where it can
// be without building the normalised texts: a comment's blanks are passed
// over in place, and a name is compared outside its template argument
// lists with its blanks passed over, and inside each list token by token.
// A "no" from the in-place comparison of a name is settled by the
// normalised texts, so the answer is always theirs.
bool sameNormalised(std::int32_t type, std::string_view a, std::string_view b);

bool sameTokenSequence(const std::string& a, const std::string& b)
{
    Reader x(a), y(b);
    for (;;) {
        const bool hasX = x.advance(), hasY = y.advance();
        if (!hasX || !hasY)
            return hasX == hasY;
        if (x.type() != y.type() || (x.raw() != y.raw() && !sameNormalised(x.type(), x.raw(), y.raw())))
            return false;
    }
}

// Whether two texts are the same once their blanks are removed; with
// lists, each template argument list is compared token by token instead.
bool sameNameSpelling(std::string_view a, std::string_view b, bool lists)
{
    std::size_t i = 0, j = 0;
    for (;;) {
        i = pastBlanks(a, i);
        j = pastBlanks(b, j);
        if (i == a.size() || j == b.size())
            return i == a.size() && j == b.size();
        if (a[i] != b[j])
            return false;
        if (lists && a[i] == '<') {
            const std::size_t endA = listEnd(a, i), endB = listEnd(b, j);
            if (endA == std::string_view::npos || endB == std::string_view::npos) {
                // From an unclosed list on, the name is compared as plain text.
                return endA == endB && sameWithoutSpace(a.substr(i), b.substr(j));
            }
            if (!sameTokenSequence(std::string(a.substr(i + 1, endA - i - 1)),
                                   std::string(b.substr(j + 1, endB - j - 1))))
                return false;
            i = endA;
            j = endB;
        }
        ++i;
        ++j;
    }
}

// The characters that can never be read as part of a longer token.
bool standsAlone(char c) { return c == '(' || c == ')' || c == ',' || c == ';'; }

bool isNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$';
}

// Operator characters that no name character before or after them joins
// with (a sign after a number excepted); "<" after a name is left out, as
// it may open a template argument list.
bool isPlainOperatorChar(char c)
{
    switch (c) {
    case '+':
    case '-':
    case '*':
    case '%':
    case '^':
    case '&':
    case '|':
    case '!':
    case '=':
    case '<':
    case '>':
        return true;
    default:
        return false;
    }
}

// Whether a blank between before and after (where the other spelling has
// none, or the other way round) leaves the tokens as they are. afterNumber:
// before ends a number, where a following sign may belong to an exponent.
bool blankIsInert(char before, char after, bool afterNumber)
{
    if (standsAlone(before) || standsAlone(after))
        return true;
    if (isNameChar(before) && isPlainOperatorChar(after))
        return after != '<' && !(afterNumber && (after == '+' || after == '-'));
    return isPlainOperatorChar(before) && isNameChar(after);
}

// Whether two spellings of a name are alike but for blanks that cannot
// change its tokens: the same characters once blanks are removed, and
// wherever one spelling has a blank the other has not, the characters on
// either side could not be read as one token in either spelling (a comma
// or parenthesis on one side, or a name character next to an operator
// character). This is how the format pass respaces template argument
// lists ("A<B,C>" and "A< B, C >", "I-1" and "I - 1"), and deciding it
// in one pass over the spellings spares lexing the lists again. Spellings
// holding anything whose reading depends on blanks elsewhere (literals,
// comments, splices, directives, operator names) or blanks next to other
// characters are left to the token by token comparison.
bool sameApartFromInertBlanks(std::string_view a, std::string_view b)
{
    std::size_t i = 0, j = 0;
    char before = 0;
    bool inNumber = false;
    for (;;) {
        const std::size_t blankI = i, blankJ = j;
        i = pastBlanks(a, i);
        j = pastBlanks(b, j);
        if (i == a.size() || j == b.size())
            return i == a.size() && j == b.size();
        const char c = a[i];
        if (c != b[j])
            return false;
        switch (c) {
        case '/':
        case '"':
        case '\'':
        case '\\':
        case '#':
        case '?':
            return false;
        default:
            break;
        }
        const bool blankA = i != blankI, blankB = j != blankJ;
        if (before != 0 && blankA != blankB && !blankIsInert(before, c, inNumber))
            return false;
        // A run of name characters and dots that starts with a digit or a
        // dot is a number; a blank on either side starts a new run.
        const bool inRun = isNameChar(c) || c == '.';
        if (!(inRun && !blankA && !blankB && (isNameChar(before) || before == '.')))
            inNumber = inRun && ((c >= '0' && c <= '9') || c == '.');
        before = c;
        ++i;
        ++j;
    }
}

bool sameNormalised(std::int32_t type, std::string_view a, std::string_view b)
{
    switch (type) {
    case Cpp::SL_COMMENT:
    case Cpp::ML_COMMENT:
    case Cpp::ML_COMMENT_UNPARSED:
        return sameWithoutSpace(a, b);
    case Cpp::IDENTIFIER:
    case Cpp::OPERATOR_KEY:
        if (type == Cpp::IDENTIFIER && a.find("operator") == std::string_view::npos &&
            sameApartFromInertBlanks(a, b))
            return true;
        if (sameNameSpelling(a, b, true))
            return true;
        break;
    default:
        break;
    }
    return Reader::normalise(type, std::string(a)) == Reader::normalise(type, std::string(b));
}

void collect(const std::string& text, std::vector<ComparableToken>& out, bool spelled)
{
    Reader reader(text);
    ComparableToken t{0, std::string(), Trn::Location()};
    while (reader.next(t, spelled))
        out.push_back(t);
}

} // namespace

bool ComparableToken::sameNormalisedText(const ComparableToken& other) const
{
    if (spelled && other.spelled)
        return sameNormalised(type, text, other.text);
    if (spelled)
        return Reader::normalise(type, text) == other.text;
    if (other.spelled)
        return text == Reader::normalise(type, other.text);
    return false;
}

namespace {

// Where token i starts, or just past the last token.
Trn::Location where(const std::vector<ComparableToken>& tokens, std::size_t i)
{
    if (i < tokens.size())
        return tokens[i].start;
    return tokens.empty() ? Trn::Location(1, 1) : tokens.back().start;
}

Comparison differenceAt(const std::vector<ComparableToken>& a, std::size_t i, const std::vector<ComparableToken>& b,
                        std::size_t j, const char* reason)
{
    Comparison c;
    c.same = false;
    c.input = where(a, i);
    c.output = where(b, j);
    c.reason = reason;
    return c;
}

// One open brace on one side of the rewrite comparison: matched by the
// other side, or added (or removed) by the rewrite. For an added or removed
// pair the "if" and "else" keywords directly inside it are counted: when
// more "if"s than "else"s are open at its closing brace and an "else"
// follows, that "else" would change its "if".
struct Brace {
    bool matched;
    int parens;
    int ifs;
    int elses;
};

void countKeyword(std::vector<Brace>& stack, std::int32_t type, int parens)
{
    if (stack.empty())
        return;
    Brace& top = stack.back();
    if (top.matched || top.parens != parens)
        return;
    if (type == Cpp::IF_KEY)
        ++top.ifs;
    else if (type == Cpp::ELSE_KEY)
        ++top.elses;
}

bool rebindsElse(const Brace& brace, const std::vector<ComparableToken>& tokens, std::size_t next)
{
    return brace.ifs > brace.elses && next < tokens.size() && tokens[next].type == Cpp::ELSE_KEY;
}

// The tree comparison of a brace rewrite. Both trees are walked together,
// node by node: the nodes must be of the same kind, interior nodes must have
// as many children and composites the same fields. The tokens are compared
// in step with the walk: before each leaf the tokens up to its start (the
// punctuation no leaf covers), then the tokens the leaf covers. The body of
// a control part is compared after its braces are taken off where it holds
// exactly one node (repeatedly: "{ { S } }" is "S" too); the braces so taken
// off are passed over in the token comparison. Each token and each node is
// looked at once, so the cost is linear in the size of the texts.
// The tokens of one side of a comparison, one at a time: from a list, read
// from the text as the comparison goes, or from the text's recorded tokens
// (the text must outlive the cursor; a token read from a text or a
// recording is compared by its spelling, as the side-by-side reading does).
// Where it stands once the tokens are passed is the start of the last
// token, (1, 1) for a text without tokens.
class TokenCursor {
public:
    explicit TokenCursor(const std::vector<ComparableToken>& tokens) : m_pTokens(&tokens) { load(); }
    explicit TokenCursor(const std::string& text) : m_pReader(std::make_unique<Reader>(text)) { load(); }
    TokenCursor(const RecordedTokens& tokens, const std::string& text) : m_pRecorded(&tokens), m_pText(&text)
    {
        load();
    }

    bool atEnd() const { return !m_Has; }
    // Contract for the four: not at the end.
    std::int32_t type() const
    {
        if (m_pTokens)
            return (*m_pTokens)[m_Index].type;
        return m_pRecorded ? (*m_pRecorded)[m_Index].type : m_pReader->type();
    }
    Trn::Location start() const
    {
        if (m_pTokens)
            return (*m_pTokens)[m_Index].start;
        return m_pRecorded ? m_RecordedStart : m_pReader->start();
    }
    // The spelling of a token read from a text or a recording.
    std::string_view raw() const
    {
        return m_pRecorded ? m_pRecorded->spelling((*m_pRecorded)[m_Index], *m_pText) : m_pReader->raw();
    }
    // Whether this token and other's are the same; both cursors read lists,
    // or neither does.
    bool sameAs(const TokenCursor& other) const
    {
        if (m_pTokens)
            return (*m_pTokens)[m_Index].sameAs((*other.m_pTokens)[other.m_Index]);
        const std::int32_t t = type();
        if (t != other.type())
            return false;
        const std::string_view a = raw(), b = other.raw();
        return a == b || sameNormalised(t, a, b);
    }
    void advance()
    {
        ++m_Index;
        load();
    }
    Trn::Location here() const { return m_Has ? start() : m_Last; }

private:
    void load()
    {
        if (m_pTokens)
            m_Has = m_Index < m_pTokens->size();
        else if (m_pRecorded) {
            m_Has = m_Index < m_pRecorded->size();
            if (m_Has)
                m_RecordedStart = m_pRecorded->start(m_Index, m_Line);
        } else
            m_Has = m_pReader->advance();
        if (m_Has)
            m_Last = start();
    }

    const std::vector<ComparableToken>* m_pTokens = nullptr;
    std::unique_ptr<Reader> m_pReader;
    const RecordedTokens* m_pRecorded = nullptr;
    const std::string* m_pText = nullptr;
    Trn::Location m_RecordedStart;
    std::size_t m_Line = 0;
    std::size_t m_Index = 0;
    bool m_Has = false;
    Trn::Location m_Last{1, 1};
};

// What the tree comparison asks of a node's class, worked out once per
// class and kept by the address of its type information: a dynamic_cast
// searches the class hierarchy on every call, and the comparison asks
// several such questions of every node of both trees.
class NodeKinds {
public:
    enum : unsigned { LEAF = 1, INTERIOR = 2, COMPOSITE = 4, BLOCK = 8, CTRL_STMT = 16, CTRL_PART = 32 };

    unsigned of(const Cpp::SyntaxNode& node)
    {
        const std::type_info* pType = &typeid(node);
        std::size_t slot = (reinterpret_cast<std::uintptr_t>(pType) >> 4) & (SLOTS - 1);
        // Linear probing; a tree has a few dozen node classes at most, far
        // below the table's size (a full table classifies without keeping).
        for (std::size_t probes = 0; probes < SLOTS; ++probes, slot = (slot + 1) & (SLOTS - 1)) {
            Slot& entry = m_Slots[slot];
            if (entry.pType == pType)
                return entry.kinds;
            if (entry.pType == nullptr) {
                entry.pType = pType;
                entry.kinds = classify(node);
                return entry.kinds;
            }
        }
        return classify(node);
    }

private:
    static unsigned classify(const Cpp::SyntaxNode& node)
    {
        unsigned kinds = 0;
        if (dynamic_cast<const Cpp::LeafNode*>(&node) != nullptr)
            kinds |= LEAF;
        if (dynamic_cast<const Cpp::InteriorNode*>(&node) != nullptr)
            kinds |= INTERIOR;
        if (dynamic_cast<const Cpp::CompositeNode*>(&node) != nullptr)
            kinds |= COMPOSITE;
        if (dynamic_cast<const Cpp::BlockNode*>(&node) != nullptr)
            kinds |= BLOCK;
        if (dynamic_cast<const Cpp::CtrlStmtNode*>(&node) != nullptr)
            kinds |= CTRL_STMT;
        if (dynamic_cast<const Cpp::CtrlSubStmtNode*>(&node) != nullptr)
            kinds |= CTRL_PART;
        return kinds;
    }

    static constexpr std::size_t SLOTS = 128;
    struct Slot {
        const std::type_info* pType = nullptr;
        unsigned kinds = 0;
    };
    Slot m_Slots[SLOTS];
};

class TreeComparer {
public:
    TreeComparer(const std::vector<ComparableToken>& a, const std::vector<ComparableToken>& b) : m_A(a), m_B(b) {}
    TreeComparer(const std::string& a, const std::string& b) : m_A(a), m_B(b) {}
    TreeComparer(const std::string& a, const RecordedTokens& bTokens, const std::string& b) : m_A(a), m_B(bTokens, b)
    {
    }

    // Compares the two trees and the tokens after their last leaves.
    Comparison compare(const Cpp::RootNode& a, const Cpp::RootNode& b)
    {
        if (node(a, b))
            tokensUpTo(nullptr, nullptr, false);
        return m_Result;
    }

private:
    struct Side {
        explicit Side(const std::vector<ComparableToken>& t) : cursor(t) {}
        explicit Side(const std::string& text) : cursor(text) {}
        Side(const RecordedTokens& tokens, const std::string& text) : cursor(tokens, text) {}
        TokenCursor cursor;
        // Locations of the braces taken off bodies.
        std::unordered_set<std::uint64_t> removedBraces;

        static std::uint64_t key(const Trn::Location& l)
        {
            return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(l.line())) << 32) |
                   static_cast<std::uint32_t>(l.col());
        }
        bool passedOver() const
        {
            const std::int32_t type = cursor.type();
            return (type == Cpp::LBRACE || type == Cpp::RBRACE) && !removedBraces.empty() &&
                   removedBraces.count(key(cursor.start())) != 0;
        }
        void skipRemoved()
        {
            while (!cursor.atEnd() && passedOver())
                cursor.advance();
        }
        // Whether the next token starts before limit (or at it, inclusive);
        // no limit means the end of the text.
        bool hasBefore(const Trn::Location* limit, bool inclusive) const
        {
            if (cursor.atEnd())
                return false;
            if (limit == nullptr)
                return true;
            const Trn::Location at = cursor.start();
            return inclusive ? !(*limit < at) : at < *limit;
        }
        Trn::Location here() const { return cursor.here(); }
    };

    bool differ(const Trn::Location& a, const Trn::Location& b, const char* reason)
    {
        m_Result.same = false;
        m_Result.input = a;
        m_Result.output = b;
        m_Result.reason = reason;
        return false;
    }

    // Compares the tokens of both sides up to the given limits.
    bool tokensUpTo(const Trn::Location* limitA, const Trn::Location* limitB, bool inclusive,
                    const char* reason = "changed a token")
    {
        for (;;) {
            m_A.skipRemoved();
            m_B.skipRemoved();
            const bool moreA = m_A.hasBefore(limitA, inclusive), moreB = m_B.hasBefore(limitB, inclusive);
            if (!moreA && !moreB)
                return true;
            if (moreA != moreB || !m_A.cursor.sameAs(m_B.cursor))
                return differ(m_A.here(), m_B.here(), moreA == moreB ? "changed a token" : reason);
            m_A.cursor.advance();
            m_B.cursor.advance();
        }
    }

    bool is(const Cpp::SyntaxNode* pNode, unsigned kind) { return pNode != nullptr && (m_Kinds.of(*pNode) & kind) != 0; }

    const Cpp::SyntaxNode* withoutBraces(const Cpp::SyntaxNode* pNode, Side& side)
    {
        while (is(pNode, NodeKinds::BLOCK)) {
            auto pBlock = static_cast<const Cpp::BlockNode*>(pNode);
            if (pBlock->size() != 1)
                break;
            if (pBlock->isBraced()) {
                side.removedBraces.insert(Side::key(pBlock->start()));
                side.removedBraces.insert(Side::key(pBlock->end()));
            }
            pNode = pBlock->child(0);
        }
        return pNode;
    }

    bool isElsePart(const Cpp::SyntaxNode* pNode)
    {
        if (!is(pNode, NodeKinds::CTRL_PART))
            return false;
        auto pPart = static_cast<const Cpp::CtrlSubStmtNode*>(pNode);
        return pPart->head() != nullptr && pPart->head()->keyword() != nullptr &&
               pPart->head()->keyword()->type() == Cpp::ELSE_KEY;
    }

    // A node one side has and the other has not.
    bool missing(const Cpp::SyntaxNode* pA, const Cpp::SyntaxNode* pB)
    {
        const char* reason = isElsePart(pA ? pA : pB) ? "moved an else to another if" : "moved a statement";
        // The tokens before the node are passed on both sides as far as
        // they agree, so that the other side's position is the token that
        // corresponds to the node's first.
        Side& has = pA ? m_A : m_B;
        Side& other = pA ? m_B : m_A;
        const Trn::Location limit = (pA ? pA : pB)->start();
        for (;;) {
            has.skipRemoved();
            other.skipRemoved();
            if (!has.hasBefore(&limit, false) || !other.hasBefore(nullptr, false) ||
                !has.cursor.sameAs(other.cursor))
                break;
            has.cursor.advance();
            other.cursor.advance();
        }
        return differ(m_A.here(), m_B.here(), reason);
    }

    // A node that holds no statement or body: a leaf, or a composite of
    // leaves (a label, a declaration).
    bool flat(const Cpp::SyntaxNode& node)
    {
        if (is(&node, NodeKinds::LEAF))
            return true;
        if (!is(&node, NodeKinds::COMPOSITE))
            return false;
        auto pComposite = static_cast<const Cpp::CompositeNode*>(&node);
        for (std::size_t i = 0; i < pComposite->fieldCount(); ++i) {
            const Cpp::SyntaxNode* pField = pComposite->field(i);
            if (pField != nullptr && !is(pField, NodeKinds::LEAF))
                return false;
        }
        return true;
    }

    // A body written without braces is one statement, which the parser may
    // keep as one flat node where the same tokens in braces make several (a
    // labelled statement: the label, then the statement). Such a body is the
    // same when the braces hold exactly the flat node's tokens, unless an
    // else follows the body and the braces hold a statement with a body of
    // its own: without the braces, an "if" in it could take that else.
    bool splitStatement(const Cpp::SyntaxNode& a, const Cpp::SyntaxNode& b, bool elseFollows)
    {
        auto split = [this, elseFollows](const Cpp::SyntaxNode& one, const Cpp::SyntaxNode& block) {
            if (!is(&block, NodeKinds::BLOCK))
                return false;
            auto pBlock = static_cast<const Cpp::BlockNode*>(&block);
            if (!pBlock->isBraced() || pBlock->size() < 2 || !flat(one))
                return false;
            if (elseFollows)
                for (const Cpp::SyntaxNode* pChild : pBlock->children())
                    if (!flat(*pChild))
                        return false;
            return true;
        };
        return split(a, b) || split(b, a);
    }

    bool body(const Cpp::SyntaxNode& a, const Cpp::SyntaxNode& b)
    {
        for (auto pair : {std::make_pair(&a, &m_A), std::make_pair(&b, &m_B)}) {
            if (is(pair.first, NodeKinds::BLOCK)) {
                auto pBlock = static_cast<const Cpp::BlockNode*>(pair.first);
                pair.second->removedBraces.insert(Side::key(pBlock->start()));
                pair.second->removedBraces.insert(Side::key(pBlock->end()));
            }
        }
        const Trn::Location startA = a.start(), startB = b.start(), endA = a.end(), endB = b.end();
        return tokensUpTo(&startA, &startB, false) &&
               tokensUpTo(&endA, &endB, true, "moved a statement into or out of a body");
    }

    bool node(const Cpp::SyntaxNode& a, const Cpp::SyntaxNode& b)
    {
        if (typeid(a) != typeid(b)) {
            // The tokens before the nodes first: a changed token there is the
            // earlier difference.
            const Trn::Location startA = a.start(), startB = b.start();
            if (startA != Trn::Location() && startB != Trn::Location() && !tokensUpTo(&startA, &startB, false))
                return false;
            return differ(startA, startB, "changed a construct");
        }
        const unsigned kinds = m_Kinds.of(a);
        if (kinds & NodeKinds::LEAF) {
            const Trn::Location startA = a.start(), startB = b.start();
            if (startA == Trn::Location() || startB == Trn::Location())
                return true;
            const Trn::Location endA = a.end(), endB = b.end();
            return tokensUpTo(&startA, &startB, false) && tokensUpTo(&endA, &endB, true);
        }
        if (kinds & NodeKinds::INTERIOR) {
            const auto& childrenA = static_cast<const Cpp::InteriorNode&>(a).children();
            const auto& childrenB = static_cast<const Cpp::InteriorNode&>(b).children();
            const std::size_t n = std::min(childrenA.size(), childrenB.size());
            const bool parts = (kinds & NodeKinds::CTRL_STMT) != 0;
            for (std::size_t i = 0; i < n; ++i) {
                if (parts)
                    m_ElseFollows = (i + 1 < childrenA.size() && isElsePart(childrenA[i + 1])) ||
                                    (i + 1 < childrenB.size() && isElsePart(childrenB[i + 1]));
                if (!node(*childrenA[i], *childrenB[i]))
                    return false;
            }
            if (childrenA.size() != childrenB.size())
                return missing(n < childrenA.size() ? childrenA[n] : nullptr,
                               n < childrenB.size() ? childrenB[n] : nullptr);
            return true;
        }
        if (kinds & NodeKinds::COMPOSITE) {
            const auto& compositeA = static_cast<const Cpp::CompositeNode&>(a);
            const auto& compositeB = static_cast<const Cpp::CompositeNode&>(b);
            const bool part = (kinds & NodeKinds::CTRL_PART) != 0;
            // Whether an else part follows this control part in its statement.
            const bool elseFollows = part && m_ElseFollows;
            m_ElseFollows = false;
            for (std::size_t i = 0; i < compositeA.fieldCount(); ++i) {
                const Cpp::SyntaxNode* pA = compositeA.field(i);
                const Cpp::SyntaxNode* pB = compositeB.field(i);
                if (part && i == 1) {
                    pA = withoutBraces(pA, m_A);
                    pB = withoutBraces(pB, m_B);
                    if (pA && pB && splitStatement(*pA, *pB, elseFollows))
                        return body(*pA, *pB);
                }
                if (pA == nullptr && pB == nullptr)
                    continue;
                if (pA == nullptr || pB == nullptr)
                    return missing(pA, pB);
                if (!node(*pA, *pB))
                    return false;
            }
        }
        return true;
    }

    Side m_A, m_B;
    NodeKinds m_Kinds;
    Comparison m_Result;
    // Set for each part of a control statement: an else part follows it.
    bool m_ElseFollows = false;
};

// Parses text; null when the parser reports anything the pipeline would
// refuse to format.
std::unique_ptr<Cpp::RootNode> cleanTree(const std::string& text)
{
    Cpp::Parser parser;
    bool clean = true;
    parser.onMessage().connect([&clean](const Trn::Message& m) {
        if (m.code() != Cpp::Parser::UNTERMINATED_FUNCTION)
            clean = false;
    });
    std::unique_ptr<Cpp::RootNode> pRoot = parser.parse(Cpp::LexerIterator(text.begin(), text.end()), Cpp::LexerIterator());
    if (!clean)
        pRoot.reset();
    return pRoot;
}

std::string describe(const char* what, const Comparison& c)
{
    std::ostringstream s;
    s << what << " " << c.reason << " at input line " << c.input.line() << " column " << c.input.col()
      << ", output line " << c.output.line() << " column " << c.output.col();
    return s.str();
}

void raiseOnDifference(const char* what, const Comparison& c)
{
    if (!c.same)
        Corvale::contractFailed(describe(what, c).c_str(), __LINE__, __FILE__);
}

} // namespace

std::vector<ComparableToken> comparableTokens(const std::string& text)
{
    std::vector<ComparableToken> tokens;
    // Real C++ has one token in five to six bytes: room for all of them up
    // front, so the vector is not copied as it fills.
    tokens.reserve(text.size() / 4 + 16);
    collect(text, tokens);
    return tokens;
}

std::vector<ComparableToken> spelledTokens(const std::string& text)
{
    std::vector<ComparableToken> tokens;
    tokens.reserve(text.size() / 4 + 16);
    collect(text, tokens, true);
    return tokens;
}

std::size_t firstDifference(const std::vector<ComparableToken>& a, const std::vector<ComparableToken>& b)
{
    const std::size_t n = std::max(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i)
        if (i >= a.size() || i >= b.size() || !a[i].sameAs(b[i]))
            return i;
    return NO_DIFFERENCE;
}

Comparison compareWhitespaceOnly(const std::string& input, const std::string& output)
{
    // The two texts are read side by side: the same answer as comparing
    // their token sequences, without holding them.
    Reader a(input), b(output);
    // Where the last token read on each side starts: "just past the last
    // token" when one side ends first.
    Trn::Location lastA(1, 1), lastB(1, 1);
    for (;;) {
        const bool hasA = a.advance(), hasB = b.advance();
        if (!hasA && !hasB)
            return Comparison();
        if (!hasA || !hasB || a.type() != b.type() ||
            (a.raw() != b.raw() && !sameNormalised(a.type(), a.raw(), b.raw()))) {
            Comparison c;
            c.same = false;
            c.input = hasA ? a.start() : lastA;
            c.output = hasB ? b.start() : lastB;
            c.reason = "changed a token";
            return c;
        }
        lastA = a.start();
        lastB = b.start();
    }
}

Comparison compareBraceRewrite(const std::string& input, const std::string& output)
{
    const std::unique_ptr<Cpp::RootNode> pA = cleanTree(input), pB = cleanTree(output);
    if (pA && pB)
        return compareBraceRewrite(*pA, input, *pB, output);
    return compareBraceRewrite(spelledTokens(input), spelledTokens(output));
}

Comparison compareBraceRewrite(const Cpp::RootNode& inputTree, const std::vector<ComparableToken>& input,
                               const Cpp::RootNode& outputTree, const std::vector<ComparableToken>& output)
{
    return TreeComparer(input, output).compare(inputTree, outputTree);
}

Comparison compareBraceRewrite(const Cpp::RootNode& inputTree, const std::string& input,
                               const Cpp::RootNode& outputTree, const std::string& output)
{
    return TreeComparer(input, output).compare(inputTree, outputTree);
}

Comparison compareBraceRewrite(const Cpp::RootNode& inputTree, const std::string& input,
                               const Cpp::RootNode& outputTree, const RecordedTokens& outputTokens,
                               const std::string& output)
{
    if (!outputTokens.complete() || !outputTokens.hasStarts())
        return compareBraceRewrite(inputTree, input, outputTree, output);
    return TreeComparer(input, outputTokens, output).compare(inputTree, outputTree);
}

void RecordedTokens::add(const char* pText, std::size_t textSize, std::int32_t type, const Trn::Location& start,
                         std::string_view spelling, const char* pAt)
{
    if (!m_Usable)
        return;
    constexpr std::uint64_t LIMIT = 0xFFFFFFFFu;
    const char* const begin = pText;
    const char* const end = begin + textSize;
    std::uint64_t offset;
    if (spelling.data() >= begin && spelling.data() + spelling.size() <= end) {
        offset = static_cast<std::uint64_t>(spelling.data() - begin);
    } else if (pAt != nullptr && pAt >= begin && static_cast<std::size_t>(end - pAt) >= spelling.size() &&
               std::memcmp(pAt, spelling.data(), spelling.size()) == 0) {
        offset = static_cast<std::uint64_t>(pAt - begin);
    } else {
        offset = textSize + m_Store.size();
        m_Store.append(spelling.data(), spelling.size());
    }
    if (offset + spelling.size() > LIMIT || m_Size >= LIMIT) {
        m_Usable = false;
        return;
    }
    if (m_Size == 0) {
        m_TextSize = textSize;
        if (m_KeepStarts) {
            // The line starts, as the lexer counts lines: one after each
            // newline.
            m_LineStarts.push_back(0);
            for (const char* p = begin;;) {
                const void* nl = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
                if (nl == nullptr)
                    break;
                p = static_cast<const char*>(nl) + 1;
                m_LineStarts.push_back(static_cast<std::uint32_t>(p - begin));
            }
        }
    }
    if ((m_Size & BLOCK_MASK) == 0)
        m_Blocks.emplace_back(new Token[BLOCK_MASK + 1]);
    m_Blocks.back()[m_Size & BLOCK_MASK] =
        Token{type, static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(spelling.size())};
    // A token whose spelling is stored keeps its start; any other starts
    // where its spelling lies in the text.
    if (m_KeepStarts && offset >= textSize)
        m_StoredStarts.emplace_back(static_cast<std::uint32_t>(m_Size), start);
    ++m_Size;
}

Trn::Location RecordedTokens::start(std::size_t i, std::size_t& line) const
{
    const Token& token = (*this)[i];
    if (token.offset >= m_TextSize || token.length == 0) {
        const auto it = std::lower_bound(
            m_StoredStarts.begin(), m_StoredStarts.end(), i,
            [](const std::pair<std::uint32_t, Trn::Location>& entry, std::size_t index) { return entry.first < index; });
        if (it != m_StoredStarts.end() && it->first == i)
            return it->second;
    }
    const std::uint32_t offset = token.offset;
    if (line >= m_LineStarts.size() || m_LineStarts[line] > offset) {
        line = static_cast<std::size_t>(std::upper_bound(m_LineStarts.begin(), m_LineStarts.end(), offset) -
                                        m_LineStarts.begin()) - 1;
    } else {
        while (line + 1 < m_LineStarts.size() && m_LineStarts[line + 1] <= offset)
            ++line;
    }
    return Trn::Location(static_cast<std::int32_t>(line + 1), static_cast<std::int32_t>(offset - m_LineStarts[line] + 1));
}

Comparison compareWhitespaceOnly(const RecordedTokens& inputTokens, const std::string& input,
                                 const std::string& output)
{
    if (!inputTokens.complete())
        return compareWhitespaceOnly(input, output);
    Reader b(output);
    for (std::size_t i = 0;; ++i) {
        const bool hasA = i < inputTokens.size(), hasB = b.advance();
        if (!hasA && !hasB)
            return Comparison();
        if (!hasA || !hasB)
            break;
        const RecordedTokens::Token& a = inputTokens[i];
        const std::string_view raw = inputTokens.spelling(a, input);
        if (a.type != b.type() || (raw != b.raw() && !sameNormalised(a.type, raw, b.raw())))
            break;
    }
    // The recording keeps no positions: the texts compared in full give
    // those of the difference.
    return compareWhitespaceOnly(input, output);
}

Comparison compareWhitespaceOnly(const std::vector<ComparableToken>& a, const std::vector<ComparableToken>& b)
{
    const std::size_t i = firstDifference(a, b);
    if (i == NO_DIFFERENCE)
        return Comparison();
    return differenceAt(a, i, b, i, "changed a token");
}

Comparison compareBraceRewrite(const std::vector<ComparableToken>& a, const std::vector<ComparableToken>& b)
{
    std::vector<Brace> inBraces, outBraces;
    int parens = 0;
    std::size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
        const bool haveA = i < a.size(), haveB = j < b.size();
        // A closing brace of an added (removed) pair closes before any
        // brace both sides share: the pair wraps one statement only.
        if (haveB && b[j].type == Cpp::RBRACE && !outBraces.empty() && !outBraces.back().matched) {
            if (rebindsElse(outBraces.back(), b, j + 1))
                return differenceAt(a, i, b, j, "moved an else to another if");
            outBraces.pop_back();
            ++j;
            continue;
        }
        if (haveA && a[i].type == Cpp::RBRACE && !inBraces.empty() && !inBraces.back().matched) {
            if (rebindsElse(inBraces.back(), a, i + 1))
                return differenceAt(a, i, b, j, "moved an else to another if");
            inBraces.pop_back();
            ++i;
            continue;
        }
        if (haveA && haveB && a[i].sameAs(b[j])) {
            const std::int32_t type = a[i].type;
            if (type == Cpp::LBRACE) {
                inBraces.push_back({true, parens, 0, 0});
                outBraces.push_back({true, parens, 0, 0});
            } else if (type == Cpp::RBRACE) {
                // A stray closing brace the text already had stays stray.
                if (!inBraces.empty() && !outBraces.empty()) {
                    inBraces.pop_back();
                    outBraces.pop_back();
                }
            } else if (type == Cpp::LPAREN) {
                ++parens;
            } else if (type == Cpp::RPAREN) {
                --parens;
            } else if (type == Cpp::IF_KEY || type == Cpp::ELSE_KEY) {
                countKeyword(inBraces, type, parens);
                countKeyword(outBraces, type, parens);
            }
            ++i;
            ++j;
            continue;
        }
        if (haveB && b[j].type == Cpp::LBRACE) {
            outBraces.push_back({false, parens, 0, 0});
            ++j;
            continue;
        }
        if (haveA && a[i].type == Cpp::LBRACE) {
            inBraces.push_back({false, parens, 0, 0});
            ++i;
            continue;
        }
        return differenceAt(a, i, b, j, "changed a token");
    }
    for (const Brace& brace : outBraces)
        if (!brace.matched)
            return differenceAt(a, i, b, j, "left a brace open");
    for (const Brace& brace : inBraces)
        if (!brace.matched)
            return differenceAt(a, i, b, j, "left a brace open");
    return Comparison();
}

void checkWhitespaceOnly(const char* passName, const std::string& input, const std::string& output)
{
    raiseOnDifference(passName, compareWhitespaceOnly(input, output));
}

void checkWhitespaceOnly(const char* passName, const RecordedTokens& inputTokens, const std::string& input,
                         const std::string& output)
{
    raiseOnDifference(passName, compareWhitespaceOnly(inputTokens, input, output));
}

void checkBraceRewrite(const Cpp::RootNode& inputTree, const std::string& input, const Cpp::RootNode& outputTree,
                       const std::string& output)
{
    raiseOnDifference("brace rewrite", compareBraceRewrite(inputTree, input, outputTree, output));
}

void checkBraceRewrite(const Cpp::RootNode& inputTree, const std::string& input, const Cpp::RootNode& outputTree,
                       const RecordedTokens& outputTokens, const std::string& output)
{
    raiseOnDifference("brace rewrite", compareBraceRewrite(inputTree, input, outputTree, outputTokens, output));
}

// The spellings of the tokens a parse reads: the text's line table, built
// on the first token whose spelling is sliced from the text.
class TokenRecorder::Spellings {
public:
    explicit Spellings(const std::string& text) : slicer(text) {}
    Slicer slicer;
};

TokenRecorder::TokenRecorder(const std::string& text, RecordedTokens& into)
    : m_Text(text), m_Into(into), m_pSpellings(std::make_unique<Spellings>(text))
{
}

TokenRecorder::~TokenRecorder() = default;

void TokenRecorder::token(const Trn::Token& token, const char* pBegin)
{
    m_Into.add(m_Text.data(), m_Text.size(), token.type(), token.start(), Reader::spelling(token, m_pSpellings->slicer),
               pBegin);
}

} // namespace Verifier

} // namespace StylistCpp
