#include "Corvale_StringOutBuf.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace Corvale {

StringOutBuf::StringOutBuf() { setp(m_Block, m_Block + BLOCK_SIZE); }

void StringOutBuf::reuse(std::string storage)
{
    m_Pieces.clear();
    m_PieceSize = 0;
    m_Text = std::move(storage);
    m_Text.clear();
    setp(m_Block, m_Block + BLOCK_SIZE);
}

void StringOutBuf::clear()
{
    m_Pieces.clear();
    m_PieceSize = 0;
    m_Text.clear();
    setp(m_Block, m_Block + BLOCK_SIZE);
}

void StringOutBuf::reserve(std::size_t size)
{
    drain();
    const std::size_t written = m_PieceSize + m_Text.size();
    if (size > written)
        m_Text.reserve(m_Text.size() + (size - written));
}

const std::string& StringOutBuf::text()
{
    drain();
    join();
    return m_Text;
}

std::string StringOutBuf::take()
{
    drain();
    join();
    std::string result;
    result.swap(m_Text);
    return result;
}

void StringOutBuf::drain()
{
    if (pptr() != pbase())
        append(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(m_Block, m_Block + BLOCK_SIZE);
}

void StringOutBuf::append(const char* s, std::size_t n)
{
    if (m_Text.size() + n > m_Text.capacity() && m_Text.size() >= LEAST_PIECE) {
        // The full string is put aside as it is; the next one has room for
        // a quarter of everything written so far, so pieces stay few and
        // no more than that quarter is ever unused.
        m_PieceSize += m_Text.size();
        m_Pieces.push_back(std::move(m_Text));
        m_Text = std::string();
        m_Text.reserve(std::max({n, m_PieceSize / 4, LEAST_PIECE}));
    }
    m_Text.append(s, n);
}

void StringOutBuf::join()
{
    if (m_Pieces.empty())
        return;
    std::string whole;
    whole.reserve(m_PieceSize + m_Text.size());
    for (std::string& piece : m_Pieces) {
        whole += piece;
        std::string().swap(piece);
    }
    whole += m_Text;
    m_Pieces.clear();
    m_PieceSize = 0;
    m_Text.swap(whole);
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
        append(s, static_cast<std::size_t>(n));
    }
    return n;
}

int StringOutBuf::sync()
{
    drain();
    return 0;
}

} // namespace Corvale
