#include "Corvale_OTextDocBuf.h"

namespace Corvale {

namespace {
constexpr int TAB = '\t';
constexpr int SPACE = ' ';
constexpr int NEWLINE = '\n';
constexpr int SINGLE_QUOTE = '\'';
constexpr int DOUBLE_QUOTE = '"';
constexpr int BACKSLASH = '\\';
} // namespace

const bool OTextDocBuf::SPECIAL[93] = {
    // 0 to 31: tab and newline
    false, false, false, false, false, false, false, false, false, true, true, false, false,
    false, false, false, false, false, false, false, false, false, false, false, false, false,
    false, false, false, false, false, false,
    // 32 to 63: space, double quote, single quote
    true, false, true, false, false, false, false, true, false, false, false, false, false, false,
    false, false, false, false, false, false, false, false, false, false, false, false, false,
    false, false, false, false, false,
    // 64 to 92: backslash
    false, false, false, false, false, false, false, false, false, false, false, false, false,
    false, false, false, false, false, false, false, false, false, false, false, false, false,
    false, false, true};

OTextDocBuf::OTextDocBuf(std::streambuf* target, TabMode tabMode, int tabSize, int startLine,
                         int startCol)
    : m_Target(target),
      m_TabMode(tabMode),
      m_TabSize(tabSize < 1 ? 1 : tabSize),
      m_StartLine(startLine < 1 ? 1 : startLine),
      m_StartCol(startCol < 0 ? 0 : startCol),
      m_Line(m_StartLine),
      m_Col(m_StartCol),
      m_PendingSpaces(0),
      m_Quote(traits_type::eof()),
      m_Escaped(false),
      m_Splice(false)
{
}

OTextDocBuf::~OTextDocBuf()
{
    sync();
}

OTextDocBuf::int_type OTextDocBuf::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    return putChar(c);
}

std::streamsize OTextDocBuf::xsputn(const char* s, std::streamsize n)
{
    std::streamsize done = 0;
    while (done < n) {
        bool failed = false;
        const std::streamsize run = putRun(s + done, n - done, failed);
        done += run;
        if (failed)
            break;
        if (run > 0)
            continue;
        if (traits_type::eq_int_type(putChar(traits_type::to_int_type(s[done])), traits_type::eof()))
            break;
        ++done;
    }
    return done;
}

std::streamsize OTextDocBuf::putRun(const char* s, std::streamsize n, bool& failed)
{
    if (m_PendingSpaces != 0 || static_cast<unsigned>(m_TabMode) > Compress)
        return 0;
    const bool plainSpaces = m_TabMode != Compress;
    bool ordinary = false;
    std::streamsize length = 0;
    for (; length < n; ++length) {
        const int c = traits_type::to_int_type(s[length]);
        if (!isSpecial(c))
            ordinary = true;
        else if (c != SPACE || !plainSpaces)
            break;
    }
    if (length == 0)
        return 0;
    const std::streamsize written = m_Target.putn(s, length);
    failed = written < length;
    if (written > 0) {
        // As character by character: no escape is pending any more, and a
        // line splice survives only blanks.
        m_Col += static_cast<int>(written);
        m_Escaped = false;
        if (ordinary)
            m_Splice = false;
    }
    return written < 0 ? 0 : written;
}

int OTextDocBuf::sync()
{
    if (!flushPendingSpaces())
        return -1;
    return m_Target.pubsync();
}

bool OTextDocBuf::flushPendingSpaces()
{
    while (m_PendingSpaces > 0) {
        if (traits_type::eq_int_type(m_Target.put(' '), traits_type::eof())) {
            // The column counted the spaces that were never written.
            for (; m_PendingSpaces > 0; --m_PendingSpaces)
                stepBack(SPACE);
            return false;
        }
        --m_PendingSpaces;
    }
    return true;
}

// Literals are tracked so that whitespace inside them is never converted. A
// quote opens a literal unless a backslash escapes it; inside, the same
// quote closes it unless escaped. A backslash escapes the next character
// unless it is itself escaped, so the quote in "\\" closes its literal. A
// newline closes an open literal too, except a line splice: a newline whose
// last non-blank predecessor is a backslash continues the literal on the
// next line, as the compiler reads it.
void OTextDocBuf::trackQuote(int_type c)
{
    const bool escaped = m_Escaped;
    const bool splice = m_Splice;
    m_Escaped = (c == BACKSLASH && !escaped);
    m_Splice = c == BACKSLASH || (splice && (c == SPACE || c == TAB));
    if (traits_type::eq_int_type(m_Quote, traits_type::eof())) {
        if ((c == SINGLE_QUOTE || c == DOUBLE_QUOTE) && !escaped)
            m_Quote = c;
    } else if (c == NEWLINE) {
        if (!splice)
            m_Quote = traits_type::eof();
    } else if (c == m_Quote && !escaped) {
        m_Quote = traits_type::eof();
    }
}

void OTextDocBuf::stepBack(int_type c)
{
    if (m_Line == m_StartLine && m_Col == m_StartCol)
        return;
    if (c == TAB) {
        const int rest = m_Col % m_TabSize;
        m_Col -= rest != 0 ? rest : m_TabSize;
    } else if (c == SPACE) {
        --m_Col;
    }
    if (m_Col < 0)
        m_Col = 0;
}

OTextDocBuf::int_type OTextDocBuf::putSpecial(int_type c)
{
    const auto eof = traits_type::eof();
    if (m_TabMode == Keep) {
        if (traits_type::eq_int_type(m_Target.put(traits_type::to_char_type(c)), eof))
            return eof;
        trackQuote(c);
        advance(c);
        return c;
    }
    if (m_TabMode == Expand) {
        trackQuote(c);
        if (c == TAB && traits_type::eq_int_type(m_Quote, eof)) {
            // Spaces up to the next tab stop; a whole tab width from a stop.
            for (int n = m_TabSize - m_Col % m_TabSize; n > 0; --n) {
                if (traits_type::eq_int_type(m_Target.put(' '), eof))
                    return eof;
                ++m_Col;
            }
            return c;
        }
        if (traits_type::eq_int_type(m_Target.put(traits_type::to_char_type(c)), eof))
            return eof;
        advance(c);
        return c;
    }
    if (m_TabMode == Compress) {
        trackQuote(c);
        if (c == SPACE && traits_type::eq_int_type(m_Quote, eof)) {
            if (m_PendingSpaces > 0 || m_Col % m_TabSize == 0) {
                // A run that starts on a tab stop is held back until it
                // fills a whole tab width or something else arrives.
                ++m_PendingSpaces;
                ++m_Col;
                if (m_PendingSpaces < m_TabSize)
                    return c;
                m_PendingSpaces = 0;
                if (traits_type::eq_int_type(m_Target.put('\t'), eof)) {
                    stepBack(TAB);
                    return eof;
                }
                return TAB;
            }
            if (traits_type::eq_int_type(m_Target.put(' '), eof))
                return eof;
            ++m_Col;
            return c;
        }
        if (!flushPendingSpaces())
            return eof;
        if (traits_type::eq_int_type(m_Target.put(traits_type::to_char_type(c)), eof))
            return eof;
        advance(c);
        return c;
    }
    return eof;
}

} // namespace Corvale
