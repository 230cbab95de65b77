#include "Corvale_ITextDocStream.h"

#include <utility>

namespace Corvale {

ITextDocStreamBase::ITextDocStreamBase(std::string text, int tabMode, int tabSize, int startLine,
                                       int startCol)
    : m_TextBuf(std::move(text)),
      m_DocBuf(&m_TextBuf, tabMode, tabSize, startLine, startCol)
{
}

ITextDocStreamBase::TextBuf::TextBuf(std::string text) : m_Text(std::move(text))
{
    char* begin = &m_Text[0];
    setg(begin, begin, begin + m_Text.size());
}

void ITextDocStreamBase::TextBuf::view(const std::string& text)
{
    // A text owned so far is released: from now on the text is read in place.
    std::string().swap(m_Text);
    char* begin = const_cast<char*>(text.data());
    setg(begin, begin, begin + text.size());
}

ITextDocStream::ITextDocStream(std::string text, int tabMode, int tabSize, int startLine,
                               int startCol)
    : ITextDocStreamBase(std::move(text), tabMode, tabSize, startLine, startCol),
      std::istream(&m_DocBuf)
{
}

void ITextDocStream::reopen(const std::string& text, int tabMode, int tabSize, int startLine,
                            int startCol)
{
    m_TextBuf.view(text);
    m_DocBuf.restart(tabMode, tabSize, startLine, startCol);
    clear();
    flags(std::ios_base::skipws | std::ios_base::dec);
    width(0);
    precision(6);
    fill(' ');
}

} // namespace Corvale
