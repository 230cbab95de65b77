#include "Trn_Token.h"

#include "Corvale_Exception.h"

#include <utility>

namespace Trn {

Token::Token(std::int32_t type, Location start, Location end)
    : m_Type(type), m_Start(start), m_End(end), m_pString(nullptr)
{
}

Token::Token(std::int32_t type, Location start, Location end, std::string text)
    : m_Type(type), m_Start(start), m_End(end), m_Text(std::move(text)), m_pString(nullptr)
{
}

Token::Token(std::int32_t type, Location start, Location end, std::string text, unsigned char byte)
    : m_Type(type), m_ValueKind(BYTE_VALUE), m_Start(start), m_End(end), m_Text(std::move(text)),
      m_pString(nullptr)
{
    m_Byte = byte;
}

Token::Token(std::int32_t type, Location start, Location end, std::string text, std::string value)
    : m_Type(type), m_ValueKind(STRING_VALUE), m_Start(start), m_End(end), m_Text(std::move(text)),
      m_pString(nullptr)
{
    // Most string values (every identifier's) repeat the token's text; those
    // are not stored twice: no string of its own means the text is the value.
    if (value != m_Text)
        m_pString = new std::string(std::move(value));
}

Token Token::withTextValue(std::int32_t type, Location start, Location end, std::string text)
{
    Token token(type, start, end, std::move(text));
    token.m_ValueKind = STRING_VALUE; // no string of its own: the value is the text
    return token;
}

Token::Token(std::int32_t type, Location start, Location end, std::string text, ValueKind kind,
             std::int64_t number)
    : m_Type(type), m_ValueKind(kind), m_Start(start), m_End(end), m_Text(std::move(text)),
      m_pString(nullptr)
{
    CORVALE_CHECK(kind >= SHORT_VALUE && kind <= ULONG_VALUE);
    switch (kind) {
    case SHORT_VALUE:
        m_Short = static_cast<std::int16_t>(number);
        break;
    case USHORT_VALUE:
        m_UShort = static_cast<std::uint16_t>(number);
        break;
    case INT_VALUE:
    case LONG_VALUE:
        m_Int = static_cast<std::int32_t>(number);
        break;
    default:
        m_UInt = static_cast<std::uint32_t>(number);
        break;
    }
}

Token::Token(const Token& other)
    : m_Type(other.m_Type), m_ValueKind(other.m_ValueKind), m_Start(other.m_Start), m_End(other.m_End),
      m_Text(other.m_Text), m_pString(nullptr)
{
    if (m_ValueKind == STRING_VALUE) {
        // The string is owned: the copy gets its own (unless the value is
        // the text).
        if (other.m_pString)
            m_pString = new std::string(*other.m_pString);
    } else {
        // The union is plain data for every other kind; copying its widest
        // member copies whichever member is set.
        m_UInt = other.m_UInt;
    }
}

Token::Token(Token&& other) noexcept
    : m_Type(other.m_Type), m_ValueKind(other.m_ValueKind), m_Start(other.m_Start), m_End(other.m_End),
      m_Text(std::move(other.m_Text)), m_pString(nullptr)
{
    takeValue(other);
}

Token& Token::operator=(const Token& other)
{
    Token copy(other);
    swap(copy);
    return *this;
}

Token& Token::operator=(Token&& other) noexcept
{
    if (this == &other)
        return *this;
    releaseValue();
    m_Type = other.m_Type;
    m_Start = other.m_Start;
    m_End = other.m_End;
    m_Text = std::move(other.m_Text);
    m_ValueKind = other.m_ValueKind;
    takeValue(other);
    return *this;
}

void Token::takeValue(Token& other) noexcept
{
    if (m_ValueKind == STRING_VALUE) {
        m_pString = other.m_pString;
        other.m_pString = nullptr;
        other.m_ValueKind = NO_VALUE;
    } else {
        m_UInt = other.m_UInt;
    }
}

void Token::releaseValue() noexcept
{
    if (m_ValueKind == STRING_VALUE)
        delete m_pString;
    m_pString = nullptr;
    m_ValueKind = NO_VALUE;
}

void Token::swap(Token& other) noexcept
{
    std::swap(m_Type, other.m_Type);
    std::swap(m_Start, other.m_Start);
    std::swap(m_End, other.m_End);
    m_Text.swap(other.m_Text);
    std::swap(m_ValueKind, other.m_ValueKind);
    // Swap the union as raw storage: a pointer is at least as wide as every
    // other member on the platforms we build for, so copying the pointer
    // member moves whichever member is set.
    static_assert(sizeof(std::string*) >= sizeof(std::uint32_t), "union wider than a pointer");
    std::string* p = m_pString;
    m_pString = other.m_pString;
    other.m_pString = p;
}

unsigned char Token::byteValue() const
{
    CORVALE_CHECK(m_ValueKind == BYTE_VALUE);
    return m_Byte;
}

std::int64_t Token::numberValue() const
{
    CORVALE_CHECK(m_ValueKind >= SHORT_VALUE && m_ValueKind <= ULONG_VALUE);
    switch (m_ValueKind) {
    case SHORT_VALUE:
        return m_Short;
    case USHORT_VALUE:
        return m_UShort;
    case INT_VALUE:
    case LONG_VALUE:
        return m_Int;
    default:
        return m_UInt;
    }
}

const std::string& Token::stringValue() const
{
    CORVALE_CHECK(m_ValueKind == STRING_VALUE);
    return m_pString ? *m_pString : m_Text;
}

bool operator==(const Token& a, const Token& b)
{
    if (a.m_Type != b.m_Type || a.m_Start != b.m_Start || a.m_End != b.m_End ||
        a.m_ValueKind != b.m_ValueKind || a.m_Text != b.m_Text)
        return false;
    switch (a.m_ValueKind) {
    case Token::NO_VALUE:
        return true;
    case Token::BYTE_VALUE:
        return a.m_Byte == b.m_Byte;
    case Token::SHORT_VALUE:
    case Token::USHORT_VALUE:
        return a.m_UShort == b.m_UShort;
    case Token::INT_VALUE:
    case Token::UINT_VALUE:
    case Token::LONG_VALUE:
    case Token::ULONG_VALUE:
        return a.m_UInt == b.m_UInt;
    case Token::STRING_VALUE:
        return a.stringValue() == b.stringValue();
    }
    // Only a corrupted token carries any other kind.
    CORVALE_CHECK_TEXT(false, "false");
    return false;
}

} // namespace Trn
