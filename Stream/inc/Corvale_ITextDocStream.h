// Corvale::ITextDocStream: an input stream over a text held in memory that
// knows the line and column of the next character (see ITextDocBuf).
#ifndef CORVALE_ITEXTDOCSTREAM_H
#define CORVALE_ITEXTDOCSTREAM_H

#include "Corvale_ITextDocBuf.h"
#include "Corvale_StreamFwd.h"

#include <istream>
#include <string>

namespace Corvale {

// The buffers of an ITextDocStream: a string buffer holding the text (owned)
// and the document buffer reading from it. A base class so that both exist
// before the stream is built over them.
class ITextDocStreamBase {
protected:
    ITextDocStreamBase(std::string text, int tabMode, int tabSize, int startLine, int startCol);

    // A read-only string buffer that takes the text over instead of copying
    // it: the text of a formatting pass is a whole source file. It can also
    // read a text it does not own (view), which must then outlive the reads.
    class TextBuf : public std::streambuf {
    public:
        explicit TextBuf(std::string text);
        TextBuf(const TextBuf&) = delete;
        TextBuf& operator=(const TextBuf&) = delete;

        void view(const std::string& text);

    private:
        std::string m_Text;
    };

    TextBuf m_TextBuf;
    ITextDocBuf m_DocBuf;
};

class ITextDocStream : private ITextDocStreamBase, public std::istream {
public:
    // Reads text; the first character stands at startLine and startCol.
    explicit ITextDocStream(std::string text, int tabMode = Keep, int tabSize = 4,
                            int startLine = 1, int startCol = 0);

    ITextDocStream(const ITextDocStream&) = delete;
    ITextDocStream& operator=(const ITextDocStream&) = delete;

    // Starts over on text exactly as a stream newly constructed on it would
    // (position, putback history, error state and format flags), without
    // copying the text: it is read where it lies and must outlive the reads
    // and stay unchanged while they go on. A stream reused this way spares
    // the set-up of a new one for every short text.
    void reopen(const std::string& text, int tabMode = Keep, int tabSize = 4, int startLine = 1,
                int startCol = 0);

    // Position of the next character to be read; equally, the location
    // (line, 1-based column) of the character read last.
    int line() const { return m_DocBuf.line(); }
    int col() const { return m_DocBuf.col(); }
    int tabMode() const { return m_DocBuf.tabMode(); }
    int tabSize() const { return m_DocBuf.tabSize(); }

    ITextDocBuf& textDocBuf() { return m_DocBuf; }
    const ITextDocBuf& textDocBuf() const { return m_DocBuf; }
};

} // namespace Corvale

#endif
