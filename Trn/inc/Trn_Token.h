// Trn::Token: one lexical token of a source text.
#ifndef TRN_TOKEN_H
#define TRN_TOKEN_H

#include "Trn_Location.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace Trn {

// The token type that marks "no token": before the first token, after the
// last, and (with real locations) a token stream that cannot go on.
const std::int32_t END_OF_FILE = -1;

// A token type, the locations of its first and last character, its text as
// it stands in the source, and a tagged value.
//
// The value is one of nine alternatives, told apart by valueKind():
//   0 nothing, 1 one byte (a character or a boolean), 2 and 3 a signed and
//   an unsigned 16-bit number, 4 to 7 a 32-bit number (signed and unsigned
//   int, signed and unsigned long), 8 a string the token owns.
// The C++ lexer uses kinds 0, 1 and 8 only.
//
// Tokens are values: a copy owns a copy of the string value, and copy
// assignment is copy-and-swap, so an exception while copying leaves the
// target as it was.
class Token {
public:
    enum ValueKind : std::uint32_t {
        NO_VALUE = 0,
        BYTE_VALUE = 1,
        SHORT_VALUE = 2,
        USHORT_VALUE = 3,
        INT_VALUE = 4,
        UINT_VALUE = 5,
        LONG_VALUE = 6,
        ULONG_VALUE = 7,
        STRING_VALUE = 8
    };

    // END_OF_FILE at (0, 0) with empty text.
    Token();
    Token(std::int32_t type, Location start, Location end);
    Token(std::int32_t type, Location start, Location end, std::string text);
    // Value kind 1.
    Token(std::int32_t type, Location start, Location end, std::string text, unsigned char byte);
    // Value kind 8.
    Token(std::int32_t type, Location start, Location end, std::string text, std::string value);
    // Value kind 8 with the text as the value (a name's), without a second
    // string to build and compare.
    static Token withTextValue(std::int32_t type, Location start, Location end, std::string text);
    // Value kinds 2 to 7: the number is stored in the width of its kind
    // (contract: kind lies in 2 to 7).
    Token(std::int32_t type, Location start, Location end, std::string text, ValueKind kind,
          std::int64_t number);

    Token(const Token& other);
    Token(Token&& other) noexcept;
    // Copying assigns through a copy and a swap; moving hands the text and
    // the value over without swapping them.
    Token& operator=(const Token& other);
    Token& operator=(Token&& other) noexcept;
    ~Token();

    void swap(Token& other) noexcept;

    // Makes this token (type, start, end, text) with value kind 0, keeping
    // the storage its text already has: a lexer that fills one token again
    // and again allocates only when a text is longer than any before. The
    // text must not lie in this token's own text.
    void assign(std::int32_t type, Location start, Location end, const char* text, std::size_t size);
    // The same with value kind 8, the text being the value (a name's).
    void assignWithTextValue(std::int32_t type, Location start, Location end, const char* text,
                             std::size_t size);

    std::int32_t type() const { return m_Type; }
    const Location& start() const { return m_Start; }
    const Location& end() const { return m_End; }
    const std::string& text() const { return m_Text; }

    ValueKind valueKind() const { return m_ValueKind; }
    // Contract: value kind 1.
    unsigned char byteValue() const;
    // Contract: value kind 2 to 7.
    std::int64_t numberValue() const;
    // Contract: value kind 8.
    const std::string& stringValue() const;

    // Equal when type, both locations, text and value kind agree and the
    // values agree as their kind says.
    friend bool operator==(const Token& a, const Token& b);
    friend bool operator!=(const Token& a, const Token& b) { return !(a == b); }

private:
    void releaseValue() noexcept;
    // With this token's value kind already set to other's: takes other's
    // value (a string value by its pointer, leaving other without one).
    void takeValue(Token& other) noexcept;

    // The two 32-bit fields side by side keep a token at 64 bytes.
    std::int32_t m_Type = END_OF_FILE;
    ValueKind m_ValueKind = NO_VALUE;
    Location m_Start;
    Location m_End;
    std::string m_Text;
    // Kind 8: the owned value, or null when the value is the text.
    union {
        unsigned char m_Byte;
        std::int16_t m_Short;
        std::uint16_t m_UShort;
        std::int32_t m_Int;
        std::uint32_t m_UInt;
        std::string* m_pString;
    };
};

// Inline: every lexer iterator makes and destroys two tokens, and the
// lexer fills one for every token it reads.
inline Token::Token() : m_pString(nullptr) {}

inline Token::~Token()
{
    if (m_ValueKind == STRING_VALUE)
        releaseValue();
}

inline void Token::assign(std::int32_t type, Location start, Location end, const char* text, std::size_t size)
{
    if (m_ValueKind == STRING_VALUE)
        releaseValue();
    m_ValueKind = NO_VALUE;
    m_pString = nullptr; // kind 8 (below) reads it: no string of its own
    m_Type = type;
    m_Start = start;
    m_End = end;
    // Appending to the cleared text copies into the storage it has; an
    // assignment would take the general replacing path.
    m_Text.clear();
    m_Text.append(text, size);
}

inline void Token::assignWithTextValue(std::int32_t type, Location start, Location end, const char* text,
                                       std::size_t size)
{
    assign(type, start, end, text, size);
    m_ValueKind = STRING_VALUE; // no string of its own: the value is the text
}

inline void swap(Token& a, Token& b) noexcept { a.swap(b); }

} // namespace Trn

#endif
