#include "Corvale_OIndentBuf.h"

#include <utility>

namespace Corvale {

OIndentBuf::OIndentBuf(std::streambuf* target, std::string indent, bool keepLeadingSpace,
                       TabMode tabMode, int tabSize, int startLine, int startCol)
    : OTextDocBuf(target, tabMode, tabSize, startLine, startCol),
      m_Indent(std::move(indent)),
      m_KeepLeadingSpace(keepLeadingSpace)
{
}

OIndentBuf::int_type OIndentBuf::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    return putIndented(c);
}

std::streamsize OIndentBuf::xsputn(const char* s, std::streamsize n)
{
    std::streamsize done = 0;
    while (done < n) {
        // Within a line the indenting rules do not apply: plain runs go out
        // as blocks.
        if (col() != 0) {
            bool failed = false;
            const std::streamsize run = putRun(s + done, n - done, failed);
            done += run;
            if (failed)
                break;
            if (run > 0)
                continue;
        }
        if (traits_type::eq_int_type(putIndented(traits_type::to_int_type(s[done])),
                                     traits_type::eof()))
            break;
        ++done;
    }
    return done;
}

OIndentBuf::int_type OIndentBuf::putAtLineStart(int_type c)
{
    if (!m_KeepLeadingSpace && isLeadingSpace(c))
        return c;
    // The indent goes out as the runs the tab mode leaves alone, and
    // character by character where a rule applies.
    const char* const indent = m_Indent.data();
    const std::streamsize size = static_cast<std::streamsize>(m_Indent.size());
    std::streamsize done = 0;
    while (done < size) {
        bool failed = false;
        const std::streamsize run = putRun(indent + done, size - done, failed);
        if (failed)
            return traits_type::eof();
        done += run;
        if (run > 0)
            continue;
        if (traits_type::eq_int_type(putChar(traits_type::to_int_type(indent[done])), traits_type::eof()))
            return traits_type::eof();
        ++done;
    }
    return putChar(c);
}

} // namespace Corvale
