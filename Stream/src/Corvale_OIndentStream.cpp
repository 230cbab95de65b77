#include "Corvale_OIndentStream.h"

#include "Corvale_Exception.h"

#include <utility>

namespace Corvale {

OIndentStreamBase::OIndentStreamBase(std::streambuf* target, std::string indent,
                                     bool keepLeadingSpace, TabMode tabMode, int tabSize,
                                     int startLine, int startCol)
    : m_IndentBuf(target, std::move(indent), keepLeadingSpace, tabMode, tabSize, startLine,
                  startCol)
{
}

OIndentStreamBase::OIndentStreamBase(const OIndentState& state)
    : m_IndentBuf(&m_StringBuf, state.indent, state.keepLeadingSpace, state.tabMode,
                  state.tabSize, state.line, state.col)
{
}

OIndentStream::OIndentStream(std::ostream& target, std::string indent, bool keepLeadingSpace,
                             TabMode tabMode, int tabSize, int startLine, int startCol)
    : OIndentStreamBase(target.rdbuf(), std::move(indent), keepLeadingSpace, tabMode, tabSize,
                        startLine, startCol),
      OTextDocStream(&m_IndentBuf)
{
}

OIndentStream::OIndentStream(const OIndentState& state)
    : OIndentStreamBase(state), OTextDocStream(&m_IndentBuf)
{
}

void OIndentStream::reopen(const OIndentState& state)
{
    CORVALE_CHECK(m_IndentBuf.target() == &m_StringBuf);
    m_IndentBuf.restart(state.indent, state.keepLeadingSpace, state.tabMode, state.tabSize,
                        state.line, state.col);
    m_StringBuf.clear();
    clear();
    flags(std::ios_base::skipws | std::ios_base::dec);
    width(0);
    precision(6);
    fill(' ');
}

OIndentState OIndentStream::state() const
{
    OIndentState s;
    s.indent = m_IndentBuf.indent();
    s.keepLeadingSpace = m_IndentBuf.keepLeadingSpace();
    s.tabMode = m_IndentBuf.tabMode();
    s.tabSize = m_IndentBuf.tabSize();
    s.line = m_IndentBuf.line();
    s.col = m_IndentBuf.col();
    return s;
}

void OIndentStream::writeVerbatim(const std::string& text)
{
    ScopedKeepLeadingSpace keep(*this, true);
    write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::string OIndentStream::str() const
{
    std::string text = m_StringBuf.text();
    text.append(static_cast<std::size_t>(m_IndentBuf.pendingSpaces()), ' ');
    return text;
}

ScopedIndent::ScopedIndent(OIndentStream& out, std::string indent)
    : m_Out(out), m_Saved(std::move(indent))
{
    // The stream takes the new indent and the old one is kept here, both
    // without a copy.
    m_Out.swapIndent(m_Saved);
}

ScopedIndent::~ScopedIndent()
{
    m_Out.swapIndent(m_Saved);
}

ScopedKeepLeadingSpace::ScopedKeepLeadingSpace(OIndentStream& out, bool keep)
    : m_Out(out), m_Saved(out.keepLeadingSpace())
{
    m_Out.setKeepLeadingSpace(keep);
}

ScopedKeepLeadingSpace::~ScopedKeepLeadingSpace()
{
    m_Out.setKeepLeadingSpace(m_Saved);
}

} // namespace Corvale
