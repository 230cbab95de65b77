#include "StylistCpp_Verifier.h"

#include "Corvale_Exception.h"
#include "Cpp.h"
#include "Cpp_LexerIterator.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace StylistCpp {

namespace Verifier {

namespace {

bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

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
    explicit Slicer(const std::string& text) : m_Text(text)
    {
        m_LineStart.push_back(0);
        m_LineStart.push_back(0);
        for (std::size_t i = 0; i < text.size(); ++i)
            if (text[i] == '\n')
                m_LineStart.push_back(i + 1);
    }
    std::string slice(const Trn::Location& from, const Trn::Location& to) const
    {
        const std::size_t b = offset(from), e = offset(to);
        return b <= e && e < m_Text.size() ? m_Text.substr(b, e - b + 1) : m_Text.substr(std::min(b, m_Text.size()));
    }

private:
    std::size_t offset(const Trn::Location& l) const
    {
        if (l.line() < 0 || l.col() < 0)
            return m_Text.size();
        const std::size_t line = static_cast<std::size_t>(l.line());
        if (line >= m_LineStart.size())
            return m_Text.size();
        const std::size_t o = m_LineStart[line] + static_cast<std::size_t>(l.col());
        return o == 0 ? 0 : o - 1;
    }
    const std::string& m_Text;
    std::vector<std::size_t> m_LineStart;
};

void collect(const std::string& text, std::vector<ComparableToken>& out);

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
std::size_t listEnd(const std::string& text, std::size_t lt)
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
    return std::string::npos;
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
        r += withoutSpace(text.substr(done, lt - done)) + "<";
        std::vector<ComparableToken> inner;
        collect(text.substr(lt + 1, gt - lt - 1), inner);
        for (const ComparableToken& t : inner)
            r += std::to_string(t.type) + ":" + t.text + "\x1f";
        r += ">";
        done = gt + 1;
        lt = text.find('<', done);
    }
    return r + withoutSpace(text.substr(done));
}

// The comparable tokens of a text, one at a time, so that two texts can be
// compared without holding either's tokens.
class Reader {
public:
    explicit Reader(const std::string& text) : m_Text(text), m_Slicer(text), m_It(text.begin(), text.end()) {}

    // The next token into t; false after the last.
    bool next(ComparableToken& t)
    {
        if (m_Done)
            return false;
        if (m_It != m_End && !m_It.stuck()) {
            read(*m_It, t);
            ++m_It;
            return true;
        }
        m_Done = true;
        if (!m_It.stuck())
            return false;
        const std::size_t stop = static_cast<std::size_t>(m_It.readPointer() - m_Text.data());
        t = ComparableToken{-2, collapsedSpace(m_Text.substr(stop)), locationOf(m_Text, stop)};
        return true;
    }

private:
    void read(const Trn::Token& token, ComparableToken& t) const
    {
        t.type = token.type();
        t.start = token.start();
        switch (token.type()) {
        case Cpp::SL_COMMENT:
        case Cpp::ML_COMMENT:
        case Cpp::ML_COMMENT_UNPARSED:
            t.text = withoutSpace(m_Slicer.slice(token.start(), token.end()));
            break;
        case Cpp::PREPROCESSOR:
            t.text = directiveText(m_Slicer.slice(token.start(), token.end()));
            break;
        case Cpp::IDENTIFIER:
            t.text = identifierText(token.text());
            break;
        default:
            t.text = token.text();
            break;
        }
    }

    const std::string& m_Text;
    Slicer m_Slicer;
    Cpp::LexerIterator m_It;
    Cpp::LexerIterator m_End;
    bool m_Done = false;
};

void collect(const std::string& text, std::vector<ComparableToken>& out)
{
    Reader reader(text);
    ComparableToken t{0, std::string(), Trn::Location()};
    while (reader.next(t))
        out.push_back(t);
}

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

std::string describe(const char* what, const Comparison& c)
{
    std::ostringstream s;
    s << what << " " << c.reason << " at input line " << c.input.line() << " column " << c.input.col()
      << ", output line " << c.output.line() << " column " << c.output.col();
    return s.str();
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
    ComparableToken ta{0, std::string(), Trn::Location()}, tb = ta;
    // Where the last token read on each side starts: "just past the last
    // token" when one side ends first.
    Trn::Location lastA(1, 1), lastB(1, 1);
    for (;;) {
        const bool hasA = a.next(ta), hasB = b.next(tb);
        if (!hasA && !hasB)
            return Comparison();
        if (!hasA || !hasB || !ta.sameAs(tb)) {
            Comparison c;
            c.same = false;
            c.input = hasA ? ta.start : lastA;
            c.output = hasB ? tb.start : lastB;
            c.reason = "changed a token";
            return c;
        }
        lastA = ta.start;
        lastB = tb.start;
    }
}

Comparison compareBraceRewrite(const std::string& input, const std::string& output)
{
    return compareBraceRewrite(comparableTokens(input), comparableTokens(output));
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

void checkWhitespaceOnly(const char* passName, const std::vector<ComparableToken>& input,
                         const std::vector<ComparableToken>& output)
{
    const Comparison c = compareWhitespaceOnly(input, output);
    if (!c.same)
        Corvale::contractFailed(describe(passName, c).c_str(), __LINE__, __FILE__);
}

void checkWhitespaceOnly(const char* passName, const std::string& input, const std::string& output)
{
    const Comparison c = compareWhitespaceOnly(input, output);
    if (!c.same)
        Corvale::contractFailed(describe(passName, c).c_str(), __LINE__, __FILE__);
}

void checkBraceRewrite(const std::vector<ComparableToken>& input, const std::vector<ComparableToken>& output)
{
    const Comparison c = compareBraceRewrite(input, output);
    if (!c.same)
        Corvale::contractFailed(describe("brace rewrite", c).c_str(), __LINE__, __FILE__);
}

} // namespace Verifier

} // namespace StylistCpp
