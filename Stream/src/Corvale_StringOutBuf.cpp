#include "Corvale_StringOutBuf.h"

#include <cstring>
#include <utility>

namespace Corvale {

StringOutBuf::StringOutBuf() { setp(m_Block, m_Block + BLOCK_SIZE); }

void StringOutBuf::reuse(std::string storage)
{
    m_Text = std::move(storage);
    m_Text.clear();
    setp(m_Block, m_Block + BLOCK_SIZE);
}

void StringOutBuf::clear()
{
    m_Text.clear();
    setp(m_Block, m_Block + BLOCK_SIZE);
}

void StringOutBuf::reserve(std::size_t size) { m_Text.reserve(size); }

const std::string& StringOutBuf::text()
{
    drain();
    return m_Text;
}

std::string StringOutBuf::take()
{
    drain();
    std::string result;
    result.swap(m_Text);
    return result;
}

void StringOutBuf::drain()
{
    if (pptr() != pbase())
        m_Text.append(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(m_Block, m_Block + BLOCK_SIZE);
}

StringOutBuf::int_type StringOutBuf::overflow(int_type c)
{
    drain();
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

std::streamsize StringOutBuf::xsputn(const char* s, std::streamsize n)
{
    if (n <= epptr() - pptr()) {
        std::memcpy(pptr(), s, static_cast<std::size_t>(n));
        pbump(static_cast<int>(n));
        return n;
    }
    drain();
    if (n < BLOCK_SIZE) {
        std::memcpy(pptr(), s, static_cast<std::size_t>(n));
        pbump(static_cast<int>(n));
    } else {
        m_Text.append(s, static_cast<std::size_t>(n));
    }
    return n;
}

int StringOutBuf::sync()
{
    drain();
    return 0;
}

} // namespace Corvale
