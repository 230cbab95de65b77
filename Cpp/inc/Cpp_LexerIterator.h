// Cpp::LexerIterator: the C++ lexer, written as a forward iterator over the
// tokens of a character range.
//
// It is a formatter's lexer, not a compiler's: it never fails on odd input,
// keeps comments and preprocessor lines as tokens, folds qualified names and
// template-ids into single IDENTIFIER tokens, and folds the regions that
// must stay as written into single tokens with empty text:
//   - comment-marked regions ("// QUILLON-OFF" ... "// QUILLON-ON", wizard
//     blocks "//{{AFX..." ... "//}}AFX...") and message or COM map blocks
//     (BEGIN_MESSAGE_MAP ... END_MESSAGE_MAP) become ML_COMMENT_UNPARSED;
//   - "#if 0" ... "#endif" blocks (nested ones included) become PREPROCESSOR.
// Whoever prints such a token copies the source between its start and end
// locations unchanged.
//
// Locations: the first character of the text is at line 1, column 1; a
// token's start is the location of its first character, its end the
// location of its last character, so a token that ends with a newline (a
// '//' comment, a directive) ends at (next line, 0). Columns count bytes.
//
// Usage:
//     Cpp::LexerIterator it(text.begin(), text.end()), end;
//     for (; it != end; ++it)
//         use(*it);
//
// The range must outlive the iterator and its copies. Copies are
// independent (each has its own position and current token), so a parser
// can keep one as a bookmark and go on with another.
//
// An unterminated string or character literal (a newline without a
// continuation backslash) and an empty character literal '' end the token
// stream: the iterator then stands on a token of type Trn::END_OF_FILE with
// real locations, does not advance any more, never equals the end
// iterator, and reports stuck(). Dereferencing it is a contract violation,
// as is dereferencing the end iterator; nothing else throws.
//
// Cost is linear in the length of the range, whatever its content.
#ifndef CPP_LEXERITERATOR_H
#define CPP_LEXERITERATOR_H

#include "Trn_Token.h"

#include <cstddef>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Cpp {

// (opening text, closing text) pairs for the verbatim regions.
using MarkerPair = std::pair<std::string, std::string>;
using MarkerPairList = std::vector<MarkerPair>;

// The comment marker pairs, in this order: the two format-off pairs
// ("QUILLON-OFF" and "QL-FORMAT-OFF" with their "-ON" partners), then the
// wizard block markers from the most specific to "{{AFX"/"}}" and
// "{{{AFX"/"}}}". Built once. (A comment line must not begin with an off
// marker unless it means it: the lexer would keep the rest as written.)
const MarkerPairList& commentMarkerPairs();
// (BEGIN_MESSAGE_MAP, END_MESSAGE_MAP) and (BEGIN_COM_MAP, END_COM_MAP).
// Built once.
const MarkerPairList& mapMacroPairs();

class LexerIterator {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Trn::Token;
    using difference_type = std::ptrdiff_t;
    using pointer = const Trn::Token*;
    using reference = const Trn::Token&;

    // The end iterator: no text, standing on Trn::END_OF_FILE at (0, 0).
    LexerIterator();

    // Lexes [begin, end) with the given region marker lists and stands on
    // the first token (on END_OF_FILE at (0, 0) for a text without tokens).
    LexerIterator(const char* begin, const char* end,
                  const MarkerPairList& markerPairs = commentMarkerPairs(),
                  const MarkerPairList& mapMacroPairs = Cpp::mapMacroPairs());
    LexerIterator(std::string::const_iterator begin, std::string::const_iterator end,
                  const MarkerPairList& markerPairs = commentMarkerPairs(),
                  const MarkerPairList& mapMacroPairs = Cpp::mapMacroPairs());

    // A copy shares the original's remembered template scans (and its own
    // copies of marker lists other than the process-wide ones); a moved-from
    // iterator may only be assigned to or destroyed.
    LexerIterator(const LexerIterator& other);
    LexerIterator(LexerIterator&& other) noexcept = default;
    LexerIterator& operator=(const LexerIterator& other);
    LexerIterator& operator=(LexerIterator&& other) noexcept = default;
    ~LexerIterator();

    // The current token. Contract: not on a Trn::END_OF_FILE token.
    reference operator*() const
    {
        if (m_Current.type() == Trn::END_OF_FILE)
            checkDereference();
        return m_Current;
    }
    pointer operator->() const { return &**this; }

    // Lexes the next token; does nothing on a Trn::END_OF_FILE token.
    // Moves the current token out of the iterator, for a reader that keeps
    // every token and advances right after taking it: the iterator keeps the
    // token's type and locations but not its text or value until it is
    // advanced. Contract: the iterator is not at the end.
    Trn::Token takeCurrent();

    LexerIterator& operator++();
    LexerIterator operator++(int);

    // Equal when both read pointers and both current tokens are equal.
    // Every iterator that has lexed its whole range equals the end
    // iterator (and every other such iterator); a stuck one never does.
    friend bool operator==(const LexerIterator& a, const LexerIterator& b)
    {
        // The test of every loop step: two iterators at different places,
        // not both on Trn::END_OF_FILE, differ.
        if (a.m_pPos != b.m_pPos &&
            (a.m_Current.type() != Trn::END_OF_FILE || b.m_Current.type() != Trn::END_OF_FILE))
            return false;
        return equal(a, b);
    }
    friend bool operator!=(const LexerIterator& a, const LexerIterator& b) { return !(a == b); }

    // True when an unterminated literal ended the token stream.
    bool stuck() const
    {
        return m_Current.type() == Trn::END_OF_FILE && m_Current.start() != Trn::Location();
    }
    // The next character to be read.
    const char* readPointer() const { return m_pPos; }
    // Where the current token starts in the range: its first character (for
    // a folded region, the region's). Null on the end iterator. A token's
    // text is the bytes from here unless the lexer folded it (a qualified
    // name read without its blanks, a region with empty text).
    const char* tokenBegin() const { return m_pTokenBegin; }
    // The bytes of the range not read yet (0 at the end).
    std::size_t remaining() const { return static_cast<std::size_t>(m_pEnd - m_pPos); }
    // The lexer's position: the location of the last character read, or
    // (line, 0) right after a newline; (1, 0) before the first character.
    Trn::Location position() const { return m_Pos; }

private:
    struct Context;
    struct Mark {
        const char* p;
        Trn::Location pos;
    };
    enum LexFlags { NO_MAP_CHECK = 1, SKIP_UNTERMINATED = 2 };

    // Each rule writes the token it makes into its first argument, whose
    // text storage is reused from token to token.
    void next(Trn::Token& out, int flags);
    void lexComment(Trn::Token& out, const char* tokStart, Trn::Location start);
    void lexIdentifier(Trn::Token& out, const char* tokStart, unsigned char first, Trn::Location start);
    void lexQualifiedOrTemplate(Trn::Token& out, const char* tokStart, unsigned char first,
                                Trn::Location start);
    bool continueAfterScope(std::string& joined, const char*& runStart, const char*& lastStart,
                            Trn::Location& endLoc);
    bool lexPrefixedLiteral(Trn::Token& out, const char* tokStart, std::size_t length, Trn::Location start);
    const char* templateScan(const char* lt);
    void lexNumber(Trn::Token& out, const char* tokStart, Trn::Location start);
    void lexLiteral(Trn::Token& out, const char* tokStart, Trn::Location start, char quote);
    void lexRawString(Trn::Token& out, const char* tokStart, Trn::Location start);
    void absorbSuffix();
    void lexDirective(Trn::Token& out, const char* tokStart, Trn::Location start, bool ifZeroCheck);
    void skipQuotedInDirective(char quote, unsigned char& lastNonBlank,
                               const char* (&unclosedBefore)[2]);
    void skipIfZeroBlock(Trn::Token& out, Trn::Location start);
    bool lexOperator(Trn::Token& out, const char* tokStart, unsigned char c, Trn::Location start);
    void checkCommentRegion(Trn::Token& comment);
    static bool equal(const LexerIterator& a, const LexerIterator& b);
    // The contract check of operator*, out of line: it throws on an
    // END_OF_FILE token.
    void checkDereference() const;
    void skipBlanks();
    bool mayOpenMapRegion(unsigned char c) const;
    std::size_t openedMapRegion(const Trn::Token& token) const;
    void foldMapRegion(Trn::Token& identifier, std::size_t opened);
    bool skipInRegion(unsigned char c, const char* tokStart, Trn::Location start);
    void skipWord();
    std::vector<std::size_t> openedPairs(const Trn::Token& comment) const;
    bool closesRegion(const Trn::Token& comment, const std::vector<std::size_t>& pairs) const;
    // The context, made on first use.
    Context& context();
    // The context to hand to a copy: made now when this iterator still has
    // text to read, so that the copy and the original share their scans.
    const std::shared_ptr<Context>& sharedContext() const;

    int peek(std::size_t ahead = 0) const
    {
        return static_cast<std::size_t>(m_pEnd - m_pPos) > ahead
                   ? static_cast<unsigned char>(m_pPos[ahead])
                   : -1;
    }
    unsigned char get();
    // Moves the read position to p, passing lines line ends, the last of
    // them just before lineStart.
    void moveTo(const char* p, std::int32_t lines, const char* lineStart);
    void advanceTo(const char* p);
    Mark mark() const { return Mark{m_pPos, m_Pos}; }
    void reset(const Mark& m)
    {
        m_pPos = m.p;
        m_Pos = m.pos;
    }

    const char* m_pPos = nullptr;
    const char* m_pEnd = nullptr;
    Trn::Location m_Pos;
    Trn::Token m_Current;
    const char* m_pTokenBegin = nullptr;
    // A token already lexed and delivered next: the multi-line comment that
    // ended a directive. Type Trn::END_OF_FILE when empty.
    Trn::Token m_Pending;
    const char* m_pPendingBegin = nullptr;
    // The region marker lists: the process-wide ones, or the context's
    // copies of a caller's own lists. Null on the end iterator.
    const MarkerPairList* m_pMarkerPairs = nullptr;
    const MarkerPairList* m_pMapMacroPairs = nullptr;
    // The template scan results (and any copied marker lists), shared by
    // copies. Most iterators lex short pieces without a template-id and
    // never need one, so it is made on the first scan or the first copy.
    mutable std::shared_ptr<Context> m_pContext;
};

} // namespace Cpp

#endif
