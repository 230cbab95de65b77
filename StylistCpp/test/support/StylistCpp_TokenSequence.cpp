#include "StylistCpp_TokenSequence.h"

#include "Cpp.h"
#include "Cpp_LexerIterator.h"

#include <algorithm>
#include <cctype>

namespace StylistCppTest {

namespace {

bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string withoutSpace(const std::string& s)
{
    std::string r;
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
    std::string r;
    std::size_t done = 0;
    std::size_t lt = text.find('<');
    while (lt != std::string::npos) {
        const std::size_t gt = listEnd(text, lt);
        if (gt == std::string::npos)
            break;
        r += withoutSpace(text.substr(done, lt - done)) + "<";
        std::vector<ComparableToken> inner;
        collect(text.substr(lt + 1, gt - lt - 1), inner);
        for (const ComparableToken& t : inner)
            r += std::to_string(t.first) + ":" + t.second + "\x1f";
        r += ">";
        done = gt + 1;
        lt = text.find('<', done);
    }
    return r + withoutSpace(text.substr(done));
}

void collect(const std::string& text, std::vector<ComparableToken>& out)
{
    Slicer slicer(text);
    Cpp::LexerIterator it(text.begin(), text.end()), end;
    for (; it != end && !it.stuck(); ++it) {
        const Trn::Token& t = *it;
        switch (t.type()) {
        case Cpp::SL_COMMENT:
        case Cpp::ML_COMMENT:
        case Cpp::ML_COMMENT_UNPARSED:
            out.emplace_back(t.type(), withoutSpace(slicer.slice(t.start(), t.end())));
            break;
        case Cpp::PREPROCESSOR:
            out.emplace_back(t.type(), collapsedSpace(slicer.slice(t.start(), t.end())));
            break;
        case Cpp::IDENTIFIER:
            out.emplace_back(t.type(), identifierText(t.text()));
            break;
        default:
            out.emplace_back(t.type(), t.text());
            break;
        }
    }
    if (it.stuck())
        out.emplace_back(-2, collapsedSpace(std::string(it.readPointer(), text.data() + text.size())));
}

} // namespace

std::vector<ComparableToken> comparableTokens(const std::string& text)
{
    std::vector<ComparableToken> tokens;
    collect(text, tokens);
    return tokens;
}

std::size_t firstDifference(const std::vector<ComparableToken>& a, const std::vector<ComparableToken>& b)
{
    const std::size_t n = std::max(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i)
        if (i >= a.size() || i >= b.size() || a[i] != b[i])
            return i;
    return NO_DIFFERENCE;
}

} // namespace StylistCppTest
