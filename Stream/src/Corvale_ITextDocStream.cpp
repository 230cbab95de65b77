#include "Corvale_ITextDocStream.h"

#include <utility>

namespace Corvale {

ITextDocStreamBase::ITextDocStreamBase(std::string text, int tabMode, int tabSize, int startLine,
                                       int startCol)
    : m_TextBuf(std::move(text), std::ios_base::in),
      m_DocBuf(&m_TextBuf, tabMode, tabSize, startLine, startCol)
{
}

ITextDocStream::ITextDocStream(std::string text, int tabMode, int tabSize, int startLine,
                               int startCol)
    : ITextDocStreamBase(std::move(text), tabMode, tabSize, startLine, startCol),
      std::istream(&m_DocBuf)
{
}

} // namespace Corvale
