// Corvale::OIndentBuf: an OTextDocBuf that writes an indent string in front
// of the first character of every line.
//
// White space the writer puts at the start of a line is dropped unless the
// keep-leading-space switch is on; a newline at the start of a line is
// written alone, so empty lines carry no indent. A line that continues a
// quoted literal (after a backslash-newline splice inside it) is part of
// that literal: it is written exactly as given, without indent. The indent goes through
// the tab mode like any other text, so the column after it is its visual
// width.
#ifndef CORVALE_OINDENTBUF_H
#define CORVALE_OINDENTBUF_H

#include "Corvale_OTextDocBuf.h"
#include "Corvale_StreamFwd.h"

#include <string>

namespace Corvale {

class OIndentBuf : public OTextDocBuf {
public:
    OIndentBuf(std::streambuf* target, std::string indent, bool keepLeadingSpace, TabMode tabMode,
               int tabSize, int startLine, int startCol);

    // As OTextDocBuf::restart, with a new indent and keep-leading-space
    // switch.
    bool restart(const std::string& indent, bool keepLeadingSpace, TabMode tabMode, int tabSize,
                 int startLine, int startCol)
    {
        m_Indent = indent;
        m_KeepLeadingSpace = keepLeadingSpace;
        return OTextDocBuf::restart(tabMode, tabSize, startLine, startCol);
    }

    const std::string& indent() const { return m_Indent; }
    void setIndent(std::string indent) { m_Indent = std::move(indent); }
    // Exchanges the indent with indent: a scoped change of the indent
    // without a copy either way.
    void swapIndent(std::string& indent) { m_Indent.swap(indent); }
    bool keepLeadingSpace() const { return m_KeepLeadingSpace; }
    void setKeepLeadingSpace(bool keep) { m_KeepLeadingSpace = keep; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;

private:
    static bool isLeadingSpace(int_type c)
    {
        return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
    }

    int_type putIndented(int_type c)
    {
        if (col() != 0 || c == '\n' || inQuotes())
            return putChar(c);
        return putAtLineStart(c);
    }

    int_type putAtLineStart(int_type c);

    std::string m_Indent;
    bool m_KeepLeadingSpace;
};

} // namespace Corvale

#endif
