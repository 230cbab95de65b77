// Corvale::OTextDocStream: an output stream over an OTextDocBuf (or an
// OIndentBuf), forwarding the buffer's position and settings.
#ifndef CORVALE_OTEXTDOCSTREAM_H
#define CORVALE_OTEXTDOCSTREAM_H

#include "Corvale_OTextDocBuf.h"
#include "Corvale_StreamFwd.h"

#include <ostream>

namespace Corvale {

class OTextDocStream : public std::ostream {
public:
    // Writes through buf, which is not owned and must outlive the stream.
    explicit OTextDocStream(OTextDocBuf* buf);

    OTextDocStream(const OTextDocStream&) = delete;
    OTextDocStream& operator=(const OTextDocStream&) = delete;

    // Position at which the next character will land.
    int line() const { return m_pDocBuf->line(); }
    int col() const { return m_pDocBuf->col(); }
    TabMode tabMode() const { return m_pDocBuf->tabMode(); }
    int tabSize() const { return m_pDocBuf->tabSize(); }

    OTextDocBuf* textDocBuf() const { return m_pDocBuf; }

private:
    OTextDocBuf* m_pDocBuf;
};

} // namespace Corvale

#endif
