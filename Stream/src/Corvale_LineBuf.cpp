#include "Corvale_LineBuf.h"

#include "Corvale_StringOutBuf.h"
#include "Corvale_StringViewBuf.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace Corvale {

namespace {
constexpr int CR = '\r';
constexpr int LF = '\n';
} // namespace

LineBuf::LineBuf(std::streambuf* other, int mode) : m_pOther(other), m_Mode(mode)
{
    char* start = m_Buffer + PUTBACK_SIZE;
    setg(start, start, start);
}

LineBuf::int_type LineBuf::underflow()
{
    if (gptr() < egptr())
        return traits_type::to_int_type(*gptr());

    // Keep the last characters read in front of the new block for putback.
    std::ptrdiff_t keep = gptr() - eback();
    if (keep > PUTBACK_SIZE)
        keep = PUTBACK_SIZE;
    std::memmove(m_Buffer + PUTBACK_SIZE - keep, gptr() - keep, static_cast<std::size_t>(keep));

    char* const start = m_Buffer + PUTBACK_SIZE;
    char* p = start;
    char* const end = start + BLOCK_SIZE;
    while (p < end) {
        int_type c = m_pOther->sbumpc();
        if (traits_type::eq_int_type(c, traits_type::eof()))
            break;
        if (c == CR) {
            // CR LF and a lone CR both become one newline.
            if (m_pOther->sgetc() == LF)
                m_pOther->sbumpc();
            c = LF;
        }
        *p++ = traits_type::to_char_type(c);
    }
    setg(start - keep, start, p);
    if (p == start)
        return traits_type::eof();
    return traits_type::to_int_type(*gptr());
}

LineBuf::int_type LineBuf::pbackfail(int_type c)
{
    if (gptr() == eback())
        return traits_type::eof();
    gbump(-1);
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    *gptr() = traits_type::to_char_type(c);
    return c;
}

LineBuf::int_type LineBuf::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    if (c == LF) {
        if (m_Mode == WRITE_CRLF) {
            if (traits_type::eq_int_type(m_pOther->sputc('\r'), traits_type::eof()))
                return traits_type::eof();
            return m_pOther->sputc('\n');
        }
        if (m_Mode == WRITE_LF)
            return m_pOther->sputc('\n');
    }
    return m_pOther->sputc(traits_type::to_char_type(c));
}

// Runs without a newline go to the other buffer as blocks; each newline
// goes through overflow.
std::streamsize LineBuf::xsputn(const char* s, std::streamsize n)
{
    std::streamsize done = 0;
    while (done < n) {
        const void* found = std::memchr(s + done, LF, static_cast<std::size_t>(n - done));
        const std::streamsize run =
            (found ? static_cast<const char*>(found) - s : n) - done;
        if (run > 0) {
            const std::streamsize put = m_pOther->sputn(s + done, run);
            done += put;
            if (put < run)
                return done;
        }
        if (done < n) {
            if (traits_type::eq_int_type(overflow(LF), traits_type::eof()))
                return done;
            ++done;
        }
    }
    return done;
}

std::string readLf(const std::string& text)
{
    StringViewBuf source(text);
    LineBuf lines(&source, LineBuf::WRITE_LF);
    std::string result;
    result.reserve(text.size());
    char block[4096];
    std::streamsize n;
    while ((n = lines.sgetn(block, sizeof block)) > 0)
        result.append(block, static_cast<std::size_t>(n));
    return result;
}

std::string writeCrLf(const std::string& text)
{
    std::string storage;
    storage.reserve(text.size() + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
    StringOutBuf target;
    target.reuse(std::move(storage));
    LineBuf lines(&target, LineBuf::WRITE_CRLF);
    lines.sputn(text.data(), static_cast<std::streamsize>(text.size()));
    return target.take();
}

} // namespace Corvale
