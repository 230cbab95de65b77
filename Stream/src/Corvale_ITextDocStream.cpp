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

ITextDocStream::ITextDocStream(std::string text, int tabMode, int tabSize, int startLine,
                               int startCol)
    : ITextDocStreamBase(std::move(text), tabMode, tabSize, startLine, startCol),
      std::istream(&m_DocBuf)
{
}

} // namespace Corvale
