// Corvale::StringViewBuf: an input stream buffer that reads a string it
// does not own, without copying it. The string must outlive the buffer and
// stay unchanged while it is read.
#ifndef CORVALE_STRINGVIEWBUF_H
#define CORVALE_STRINGVIEWBUF_H

#include <streambuf>
#include <string>

namespace Corvale {

class StringViewBuf : public std::streambuf {
public:
    explicit StringViewBuf(const std::string& text)
    {
        // The get area is only ever read; putback of a character other
        // than the one read fails (pbackfail is not overridden).
        char* begin = const_cast<char*>(text.data());
        setg(begin, begin, begin + text.size());
    }
    StringViewBuf(const StringViewBuf&) = delete;
    StringViewBuf& operator=(const StringViewBuf&) = delete;
};

} // namespace Corvale

#endif
