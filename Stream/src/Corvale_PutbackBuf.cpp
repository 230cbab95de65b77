#include "Corvale_PutbackBuf.h"

#include <cstring>

namespace Corvale {

PutbackBuf::PutbackBuf(std::streambuf* source) : m_pSource(source) {}

void PutbackBuf::restart()
{
    char* const start = m_pBuffer ? m_pBuffer.get() + PUTBACK_SIZE : nullptr;
    setg(start, start, start);
}

PutbackBuf::int_type PutbackBuf::underflow()
{
    if (gptr() < egptr())
        return traits_type::to_int_type(*gptr());
    // At the end of the source the get area stays as it is, so everything
    // read last remains available for putback.
    if (!m_pSource || traits_type::eq_int_type(m_pSource->sgetc(), traits_type::eof()))
        return traits_type::eof();

    std::ptrdiff_t keep = 0;
    if (!m_pBuffer) {
        m_pBuffer.reset(new char[PUTBACK_SIZE + BLOCK_SIZE]);
    } else {
        // Keep the last characters read in front of the new block for putback.
        keep = gptr() - eback();
        if (keep > PUTBACK_SIZE)
            keep = PUTBACK_SIZE;
        std::memmove(m_pBuffer.get() + PUTBACK_SIZE - keep, gptr() - keep,
                     static_cast<std::size_t>(keep));
    }

    char* const start = m_pBuffer.get() + PUTBACK_SIZE;
    std::streamsize got = 0;
    // A source may deliver fewer characters than asked before its end; read
    // on until the block is full or the source has nothing more.
    while (got < BLOCK_SIZE) {
        std::streamsize n = m_pSource->sgetn(start + got, BLOCK_SIZE - got);
        if (n <= 0)
            break;
        got += n;
    }
    setg(start - keep, start, start + got);
    if (got == 0)
        return traits_type::eof();
    return traits_type::to_int_type(*gptr());
}

PutbackBuf::int_type PutbackBuf::pbackfail(int_type c)
{
    if (gptr() == eback())
        return traits_type::eof();
    gbump(-1);
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::to_int_type(*gptr());
    *gptr() = traits_type::to_char_type(c);
    return c;
}

PutbackBuf::int_type PutbackBuf::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    if (!m_pSource)
        return traits_type::eof();
    return m_pSource->sputc(traits_type::to_char_type(c));
}

std::streamsize PutbackBuf::xsputn(const char* s, std::streamsize n)
{
    return m_pSource ? m_pSource->sputn(s, n) : 0;
}

int PutbackBuf::sync()
{
    // Flushing reaches the buffer beneath, so that a flush of a stream over
    // a file buffer writes the file.
    return m_pSource ? m_pSource->pubsync() : 0;
}

} // namespace Corvale
