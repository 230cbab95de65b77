// Corvale::PutbackBuf: a stream buffer that guarantees four characters of
// putback over any source buffer.
//
// Reading, it refills in blocks from the source and keeps the last four
// characters read in front of each block. Writing passes every character
// straight to the source. The source buffer is not owned.
#ifndef CORVALE_PUTBACKBUF_H
#define CORVALE_PUTBACKBUF_H

#include "Corvale_StreamFwd.h"

#include <memory>
#include <streambuf>

namespace Corvale {

class PutbackBuf : public std::streambuf {
public:
    // Characters read from the source per refill.
    static constexpr int BLOCK_SIZE = 16380;
    // Characters kept in front of each refill so that putback works.
    static constexpr int PUTBACK_SIZE = 4;

    explicit PutbackBuf(std::streambuf* source);

    PutbackBuf(const PutbackBuf&) = delete;
    PutbackBuf& operator=(const PutbackBuf&) = delete;

    std::streambuf* source() const { return m_pSource; }

    // Forgets every character read so far (none can be put back): the next
    // read refills from the source's current position. The block memory is
    // kept for the reads to come.
    void restart();

    // Writes one character to the source without going through the virtual
    // overflow; the document buffers write every character this way.
    int_type put(char c) { return m_pSource->sputc(c); }
    // Writes n characters to the source in one block; answers how many were
    // written.
    std::streamsize putn(const char* s, std::streamsize n) { return m_pSource->sputn(s, n); }

    // The characters ready to be read without a refill, for readers that
    // take them in bulk: [readPos(), readEnd()). consume(n) marks n of them
    // read; refill() reads the next block when none are ready and answers
    // false at the end of the source.
    const char* readPos() const { return gptr(); }
    const char* readEnd() const { return egptr(); }
    void consume(std::ptrdiff_t n) { setg(eback(), gptr() + n, egptr()); }
    bool refill() { return !traits_type::eq_int_type(underflow(), traits_type::eof()); }

protected:
    int_type underflow() override;
    int_type pbackfail(int_type c) override;
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    std::streambuf* m_pSource;
    // The get area, made on the first read: a buffer used only for output
    // never pays for it.
    std::unique_ptr<char[]> m_pBuffer;
};

} // namespace Corvale

#endif
