// Corvale::LineBuf: a stream buffer that normalises line ends.
//
// Read through, it turns every CR LF, lone CR and LF of the buffer beneath
// into one newline. Written to, it writes each newline as CR LF (mode 1) or
// LF (mode 2); any other mode writes the newline unchanged. The buffer
// beneath is not owned.
#ifndef CORVALE_LINEBUF_H
#define CORVALE_LINEBUF_H

#include <streambuf>
#include <string>

namespace Corvale {

class LineBuf : public std::streambuf {
public:
    enum { WRITE_CRLF = 1, WRITE_LF = 2 };
    // Characters read from the other buffer per refill.
    static constexpr int BLOCK_SIZE = 16380;
    // Characters kept in front of each refill so that putback works.
    static constexpr int PUTBACK_SIZE = 4;

    LineBuf(std::streambuf* other, int mode);

protected:
    int_type underflow() override;
    int_type pbackfail(int_type c) override;
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;

private:
    std::streambuf* m_pOther;
    int m_Mode;
    char m_Buffer[PUTBACK_SIZE + BLOCK_SIZE];
};

// The text read through a LineBuf in mode WRITE_LF: every CR LF, lone CR
// and LF becomes one newline.
std::string readLf(const std::string& text);

// The text written through a LineBuf in mode WRITE_CRLF: every newline
// becomes CR LF.
std::string writeCrLf(const std::string& text);

} // namespace Corvale

#endif
