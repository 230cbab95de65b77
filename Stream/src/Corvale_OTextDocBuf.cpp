#include "Corvale_OTextDocBuf.h"

namespace Corvale {

namespace {

// What a character is to the literal tracking in code: part of a word
// (name or number), a character with a rule of its own, or plain.
enum CharClass : unsigned char { PLAIN, WORD, RULE };

// Built at compile time, so that it is ready before any buffer writes.
struct CharClasses {
    CharClass of[256];
    constexpr CharClasses() : of{}
    {
        for (int c = 0; c < 256; ++c) {
            const bool word = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                              c == '_' || c >= 0x80;
            of[c] = word ? WORD : PLAIN;
        }
        // Quotes open literals, "/" and "*" comments, a backslash escapes
        // or splices; in a number ".", "+", "-" and the digit separator
        // continue it.
        const char rules[] = "'\"/*\\.+-";
        for (unsigned i = 0; i + 1 < sizeof rules; ++i)
            of[static_cast<unsigned char>(rules[i])] = RULE;
    }
};

constexpr CharClasses CHAR_CLASSES;

CharClass classOf(char c) { return CHAR_CLASSES.of[static_cast<unsigned char>(c)]; }

constexpr int TAB = '\t';
constexpr int SPACE = ' ';
constexpr int NEWLINE = '\n';
constexpr int SINGLE_QUOTE = '\'';
constexpr int DOUBLE_QUOTE = '"';
constexpr int BACKSLASH = '\\';
} // namespace

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
      m_Lex(CODE),
      m_Word(NO_WORD),
      m_WordText{},
      m_WordLength(0),
      m_Slash(false),
      m_Star(false),
      m_NumberLast(0),
      m_RawDelimiter{},
      m_RawLength(0),
      m_RawMatch(0),
      m_Escaped(false),
      m_Splice(false)
{
}

bool OTextDocBuf::restart(TabMode tabMode, int tabSize, int startLine, int startCol)
{
    const bool flushed = flushPendingSpaces();
    m_TabMode = tabMode;
    m_TabSize = tabSize < 1 ? 1 : tabSize;
    m_StartLine = startLine < 1 ? 1 : startLine;
    m_StartCol = startCol < 0 ? 0 : startCol;
    m_Line = m_StartLine;
    m_Col = m_StartCol;
    m_PendingSpaces = 0;
    m_Lex = CODE;
    m_Word = NO_WORD;
    for (char& c : m_WordText)
        c = 0;
    m_WordLength = 0;
    m_Slash = false;
    m_Star = false;
    m_NumberLast = 0;
    for (char& c : m_RawDelimiter)
        c = 0;
    m_RawLength = 0;
    m_RawMatch = 0;
    m_Escaped = false;
    m_Splice = false;
    return flushed;
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
    std::streamsize length = 0;
    for (; length < n; ++length) {
        const int c = traits_type::to_int_type(s[length]);
        if (isSpecial(c) && (c != SPACE || !plainSpaces))
            break;
    }
    if (length == 0)
        return 0;
    const std::streamsize written = m_Target.putn(s, length);
    failed = written < length;
    if (written > 0)
        trackRun(s, written);
    if (written > 0)
        m_Col += static_cast<int>(written);
    return written < 0 ? 0 : written;
}

std::streamsize OTextDocBuf::putVerbatim(const char* s, std::streamsize n)
{
    if (!flushPendingSpaces())
        return 0;
    std::streamsize written = m_Target.putn(s, n);
    if (written < 0)
        written = 0;
    trackRun(s, written);
    for (std::streamsize i = 0; i < written; ++i)
        advance(traits_type::to_int_type(s[i]));
    return written;
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

// Literals are tracked so that whitespace inside them is never converted,
// by the lexical rules that decide where a literal starts and ends:
// - a quote in a comment opens nothing; "//" comments end at a newline that
//   is not a line splice, "/*" comments at "*/";
// - a single quote inside a number is a digit separator (1'000'000);
// - a character or string literal ends at its own quote unless a backslash
//   escapes it (a backslash escapes the next character unless it is itself
//   escaped, so the quote in "\\" closes), and at a newline, except a line
//   splice: a newline whose last non-blank predecessor is a backslash
//   continues the literal on the next line, as the compiler reads it;
// - a raw string, a quote right after R, u8R, uR, UR or LR, runs over lines
//   and ends only at ")" followed by its delimiter and a quote; a delimiter
//   that is not one (too long, or holding a blank or backslash) leaves an
//   ordinary string.
void OTextDocBuf::trackLexeme(int_type c)
{
    const bool escaped = m_Escaped;
    const bool splice = m_Splice;
    m_Escaped = (c == BACKSLASH && !escaped);
    m_Splice = c == BACKSLASH || (splice && (c == SPACE || c == TAB));
    switch (m_Lex) {
    case CODE:
        if (escaped && (c == SINGLE_QUOTE || c == DOUBLE_QUOTE)) {
            // A quote escaped outside a literal (in a macro's text, say)
            // opens nothing.
            m_Word = NO_WORD;
            m_Slash = false;
            return;
        }
        trackCode(c);
        return;
    case LINE_COMMENT:
        if (c == NEWLINE && !splice)
            m_Lex = CODE;
        return;
    case BLOCK_COMMENT:
        if (m_Star && c == '/')
            m_Lex = CODE;
        m_Star = c == '*';
        return;
    case CHAR_LITERAL:
    case STRING_LITERAL:
        if (c == NEWLINE) {
            if (!splice)
                m_Lex = CODE;
        } else if (!escaped && c == (m_Lex == CHAR_LITERAL ? SINGLE_QUOTE : DOUBLE_QUOTE)) {
            m_Lex = CODE;
        }
        return;
    case RAW_DELIMITER:
        if (c == '(') {
            m_Lex = RAW_BODY;
            m_RawMatch = 0;
        } else if (m_RawLength < static_cast<int>(sizeof m_RawDelimiter) && c != ')' &&
                   c != BACKSLASH && c != DOUBLE_QUOTE && c != SPACE && c != TAB && c != NEWLINE &&
                   c != '\v' && c != '\f') {
            m_RawDelimiter[m_RawLength++] = traits_type::to_char_type(c);
        } else {
            // No raw string after all: the rest reads as an ordinary one.
            m_Lex = STRING_LITERAL;
            m_Escaped = m_Splice = false;
            trackLexeme(c);
        }
        return;
    case RAW_BODY:
        // ")delimiter\"": ")" occurs only at its start and the quote only at
        // its end, so a mismatch restarts the match at a ")" or from nothing.
        if (m_RawMatch == m_RawLength + 1) {
            if (c == DOUBLE_QUOTE) {
                m_Lex = CODE;
                m_Word = NO_WORD;
                m_Slash = false;
                return;
            }
        } else if (m_RawMatch > 0 &&
                   c == traits_type::to_int_type(m_RawDelimiter[m_RawMatch - 1])) {
            ++m_RawMatch;
            return;
        }
        m_RawMatch = c == ')' ? 1 : 0;
        return;
    }
}

void OTextDocBuf::trackRun(const char* s, std::streamsize n)
{
    std::streamsize i = 0;
    while (i < n) {
        // No backslash pending: a run without one leaves none pending.
        if (!m_Escaped && !m_Splice) {
            const std::streamsize from = i;
            switch (m_Lex) {
            case CODE: {
                // Names, numbers and plain punctuation: only the word state
                // moves on (a name keeps its first characters and length,
                // a number its last character); a character with a rule of
                // its own goes through trackLexeme.
                Word word = m_Word;
                int length = m_WordLength;
                int_type numberLast = m_NumberLast;
                while (i < n) {
                    const char c = s[i];
                    const CharClass k = classOf(c);
                    if (k == RULE)
                        break;
                    ++i;
                    if (k == PLAIN) {
                        word = NO_WORD;
                        while (i < n && classOf(s[i]) == PLAIN)
                            ++i;
                    } else if (word == IDENTIFIER) {
                        if (length < static_cast<int>(sizeof m_WordText)) {
                            m_WordText[length] = c;
                            ++length;
                        } else {
                            // Past its first characters the rest of a
                            // name changes nothing.
                            while (i < n && classOf(s[i]) == WORD)
                                ++i;
                        }
                    } else if (word == NUMBER) {
                        numberLast = traits_type::to_int_type(c);
                    } else if (c >= '0' && c <= '9') {
                        word = NUMBER;
                        numberLast = traits_type::to_int_type(c);
                    } else {
                        word = IDENTIFIER;
                        m_WordText[0] = c;
                        length = 1;
                    }
                }
                if (i > from) {
                    m_Word = word;
                    m_WordLength = length;
                    m_NumberLast = numberLast;
                    m_Slash = false;
                }
                break;
            }
            case LINE_COMMENT:
                while (i < n && s[i] != '\n' && s[i] != '\\')
                    ++i;
                break;
            case BLOCK_COMMENT:
                while (i < n && s[i] != '*' && s[i] != '/' && s[i] != '\\')
                    ++i;
                if (i > from)
                    m_Star = false;
                break;
            case CHAR_LITERAL:
            case STRING_LITERAL: {
                const char quote = m_Lex == CHAR_LITERAL ? '\'' : '"';
                while (i < n && s[i] != quote && s[i] != '\n' && s[i] != '\\')
                    ++i;
                break;
            }
            case RAW_BODY:
                if (m_RawMatch == 0)
                    while (i < n && s[i] != ')' && s[i] != '\\')
                        ++i;
                break;
            default:
                break;
            }
            if (i > from)
                continue;
        }
        trackLexeme(traits_type::to_int_type(s[i]));
        ++i;
    }
}

void OTextDocBuf::trackCode(int_type c)
{
    const bool slash = m_Slash;
    m_Slash = false;
    const bool wordChar = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
                          (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
    if (m_Word == NUMBER) {
        // A pp-number: digits, letters, "_", ".", digit separators, and a
        // sign right after an exponent's letter.
        const bool exponent = m_NumberLast == 'e' || m_NumberLast == 'E' ||
                              m_NumberLast == 'p' || m_NumberLast == 'P';
        if (wordChar || c == '.' || c == SINGLE_QUOTE || (exponent && (c == '+' || c == '-'))) {
            m_NumberLast = c;
            return;
        }
    } else if (m_Word == IDENTIFIER) {
        if (wordChar) {
            if (m_WordLength < static_cast<int>(sizeof m_WordText))
                m_WordText[m_WordLength++] = traits_type::to_char_type(c);
            return;
        }
        if (c == DOUBLE_QUOTE && rawPrefix()) {
            m_Word = NO_WORD;
            m_Lex = RAW_DELIMITER;
            m_RawLength = 0;
            return;
        }
    }
    m_Word = NO_WORD;
    if (wordChar) {
        startWord(c);
    } else if (c == SINGLE_QUOTE) {
        m_Lex = CHAR_LITERAL;
    } else if (c == DOUBLE_QUOTE) {
        m_Lex = STRING_LITERAL;
    } else if (c == '/') {
        if (slash)
            m_Lex = LINE_COMMENT;
        else
            m_Slash = true;
    } else if (c == '*' && slash) {
        m_Lex = BLOCK_COMMENT;
        m_Star = false;
    }
}

void OTextDocBuf::startWord(int_type c)
{
    if (c >= '0' && c <= '9') {
        m_Word = NUMBER;
        m_NumberLast = c;
        return;
    }
    m_Word = IDENTIFIER;
    m_WordText[0] = traits_type::to_char_type(c);
    m_WordLength = 1;
}

// The encoding prefixes of a raw string: R, u8R, uR, UR and LR.
bool OTextDocBuf::rawPrefix() const
{
    const char* w = m_WordText;
    switch (m_WordLength) {
    case 1:
        return w[0] == 'R';
    case 2:
        return w[1] == 'R' && (w[0] == 'u' || w[0] == 'U' || w[0] == 'L');
    case 3:
        return w[0] == 'u' && w[1] == '8' && w[2] == 'R';
    default:
        return false;
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
        trackLexeme(c);
        advance(c);
        return c;
    }
    if (m_TabMode == Expand) {
        trackLexeme(c);
        if (c == TAB && !inQuotes()) {
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
        trackLexeme(c);
        if (c == SPACE && !inQuotes()) {
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
