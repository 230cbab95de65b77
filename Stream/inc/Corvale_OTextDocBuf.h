// Corvale::OTextDocBuf: an output stream buffer that knows the line and
// column it has reached and converts tabs and spaces outside quoted
// literals according to its tab mode.
//
// It follows the C++ text it writes closely enough to know where literals
// are: comments (whose quotes open nothing), digit separators in numbers
// (`1'000`), character and string literals with their escapes and line
// splices, and raw strings (`R"d(...)d"`, with any encoding prefix), whose
// contents run over lines and end only at their own delimiter. One pass,
// constant work per character.
//
// It holds no put area: every character goes through overflow (or, for
// blocks, xsputn, which applies the same rules without a virtual call per
// character) and is passed on to the target at once, so the position is
// always exact and several buffers may share one target. The only thing
// held back is a run of spaces in Compress mode, which sync (and the
// destructor) write out.
#ifndef CORVALE_OTEXTDOCBUF_H
#define CORVALE_OTEXTDOCBUF_H

#include "Corvale_PutbackBuf.h"
#include "Corvale_StreamFwd.h"

#include <streambuf>

namespace Corvale {

class OTextDocBuf : public std::streambuf {
public:
    // Writes to target (not owned). A tab size or start line below 1 is
    // taken as 1, a start column below 0 as 0.
    OTextDocBuf(std::streambuf* target, TabMode tabMode, int tabSize, int startLine, int startCol);
    // Writes out spaces held back in Compress mode.
    ~OTextDocBuf() override;

    OTextDocBuf(const OTextDocBuf&) = delete;
    OTextDocBuf& operator=(const OTextDocBuf&) = delete;

    // Writes out the spaces held back, then starts over as newly
    // constructed with these settings on the same target: the position,
    // the literal tracking and everything else the text written so far had
    // set. Answers false when the held-back spaces could not be written
    // (the buffer starts over all the same).
    bool restart(TabMode tabMode, int tabSize, int startLine, int startCol);

    // Position at which the next character will land. Spaces held back in
    // Compress mode are already counted.
    int line() const { return m_Line; }
    int col() const { return m_Col; }
    int startLine() const { return m_StartLine; }
    int startCol() const { return m_StartCol; }
    TabMode tabMode() const { return m_TabMode; }
    int tabSize() const { return m_TabSize; }
    std::streambuf* target() const { return m_Target.source(); }

    // Spaces held back in Compress mode, not yet written to the target.
    int pendingSpaces() const { return m_PendingSpaces; }
    // Whether a quoted literal is open. Literals are tracked in every mode:
    // the conversion modes leave their contents alone, and the indenting
    // buffer writes a line that continues a literal exactly as given.
    bool inQuotes() const { return m_Lex >= CHAR_LITERAL; }
    // Whether code written last ends in a backslash and blanks: a newline
    // written now would be a line splice, joining the next line to this one.
    bool spliceOpen() const { return m_Splice && m_Lex == CODE; }

    // Writes s[0, n) to the target exactly as given (no tab conversion, no
    // indent), after the spaces held back, while the position and the
    // literal tracking follow the text. Answers how many characters went
    // out.
    std::streamsize putVerbatim(const char* s, std::streamsize n);

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

    // Writes one character by the rules of the tab mode: overflow without
    // the virtual call. Answers the character (or a tab for a completed
    // run of spaces) on success, end of file on failure.
    int_type putChar(int_type c)
    {
        // A character that touches neither the literal tracking nor the tab
        // conversion, with no spaces held back, goes straight through in
        // every mode; so does a space except in Compress mode.
        if (m_PendingSpaces == 0 && static_cast<unsigned>(m_TabMode) <= Compress) {
            if (!isSpecial(c) || (c == ' ' && m_TabMode != Compress))
                trackLexeme(c);
            else
                return putSpecial(c);
            if (traits_type::eq_int_type(m_Target.put(traits_type::to_char_type(c)),
                                         traits_type::eof()))
                return traits_type::eof();
            ++m_Col;
            return c;
        }
        return putSpecial(c);
    }

    // Writes, as one block, the longest run at the start of s[0, n) that
    // needs no conversion: characters other than tab and newline, and
    // spaces too except in Compress mode, while no spaces are held back.
    // The literal tracking follows every character of the run. Answers how many characters were written (0
    // when the first needs a rule); failed is set when the target refused
    // some of them.
    std::streamsize putRun(const char* s, std::streamsize n, bool& failed);

    // Writes the held-back spaces as spaces; false when one cannot be
    // written.
    bool flushPendingSpaces();

private:
    // Space, tab and newline: the characters the tab modes convert or that
    // move the position other than by one column.
    static bool isSpecial(int_type c) { return c == ' ' || c == '\t' || c == '\n'; }

    // Where the text written so far has left off, lexically. The literal
    // states come last: inQuotes tests them as one range.
    enum Lexeme {
        CODE,
        LINE_COMMENT,
        BLOCK_COMMENT,
        CHAR_LITERAL,
        STRING_LITERAL,
        RAW_DELIMITER, // between R" and the "(" of a raw string
        RAW_BODY
    };
    // The word being written in CODE: the digit separator of a number is no
    // quote, and a quote right after an encoding prefix that ends in R opens
    // a raw string.
    enum Word { NO_WORD, IDENTIFIER, NUMBER };

    int_type putSpecial(int_type c);
    // Moves the literal tracking on by one written character.
    void trackLexeme(int_type c);
    // Moves the literal tracking on by s[0, n): the same as trackLexeme for
    // each character, with the runs that change nothing but a word's length
    // (names, plain punctuation, the insides of literals and comments)
    // passed over whole.
    void trackRun(const char* s, std::streamsize n);
    void trackCode(int_type c);
    void startWord(int_type c);
    bool rawPrefix() const;
    void stepBack(int_type c);

    void advance(int_type c)
    {
        if (c == '\n') {
            ++m_Line;
            m_Col = 0;
        } else if (c == '\t') {
            m_Col += m_TabSize - m_Col % m_TabSize;
        } else {
            ++m_Col;
        }
    }

    PutbackBuf m_Target;
    TabMode m_TabMode;
    int m_TabSize;
    int m_StartLine;
    int m_StartCol;
    int m_Line;
    int m_Col;
    int m_PendingSpaces;
    Lexeme m_Lex;
    Word m_Word;
    // The first characters of the identifier being written (enough to tell
    // an encoding prefix) and its length, counted no further than those.
    char m_WordText[4];
    int m_WordLength;
    // The previous character in CODE was a "/" (a comment may start), or in
    // a block comment a "*" (it may end).
    bool m_Slash;
    bool m_Star;
    // The previous character of a number, for the sign of an exponent.
    int_type m_NumberLast;
    // A raw string's delimiter, and how much of ")delimiter\"" has been
    // matched at the end of its body.
    char m_RawDelimiter[16];
    int m_RawLength;
    int m_RawMatch;
    // The last character written was a backslash that escapes the next one.
    bool m_Escaped;
    // Only blanks were written since the last backslash: a newline now is a
    // line splice, which keeps an open literal (or a line comment) open.
    bool m_Splice;
};

} // namespace Corvale

#endif
