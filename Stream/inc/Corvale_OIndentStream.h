// Corvale::OIndentStream: the indenting output stream the emitters write
// through, with the capture of its state and scoped changes of its indent
// and keep-leading-space switch.
#ifndef CORVALE_OINDENTSTREAM_H
#define CORVALE_OINDENTSTREAM_H

#include "Corvale_OIndentBuf.h"
#include "Corvale_OTextDocStream.h"
#include "Corvale_StreamFwd.h"
#include "Corvale_StringOutBuf.h"

#include <ostream>
#include <string>

namespace Corvale {

// The settings and position of an indenting stream, from which another
// stream can be opened that continues exactly where this one stands.
struct OIndentState {
    std::string indent;
    bool keepLeadingSpace = false;
    TabMode tabMode = Keep;
    int tabSize = 4;
    int line = 1;
    int col = 0;
};

// The buffers of an OIndentStream: its own string buffer (used when the
// stream writes into a string of its own) and the indenting buffer. A base
// class so that both exist before the stream is built over them.
class OIndentStreamBase {
protected:
    OIndentStreamBase(std::streambuf* target, std::string indent, bool keepLeadingSpace,
                      TabMode tabMode, int tabSize, int startLine, int startCol);
    explicit OIndentStreamBase(const OIndentState& state);

    // Drained into its string when the text is asked for.
    mutable StringOutBuf m_StringBuf;
    OIndentBuf m_IndentBuf;
};

class OIndentStream : private OIndentStreamBase, public OTextDocStream {
public:
    // Writes into target's buffer (not owned; it must outlive this stream).
    explicit OIndentStream(std::ostream& target, std::string indent = std::string(),
                           bool keepLeadingSpace = false, TabMode tabMode = Keep, int tabSize = 4,
                           int startLine = 1, int startCol = 0);
    // Writes into a string of its own, starting at the recorded line and
    // column with the recorded settings.
    explicit OIndentStream(const OIndentState& state);

    OIndentStream(const OIndentStream&) = delete;
    OIndentStream& operator=(const OIndentStream&) = delete;

    // Starts over as a stream newly constructed on state would: its own
    // string emptied (its memory kept), the recorded position and settings,
    // no literal open, no spaces held back, error state and format flags
    // as new. Only for a stream that writes into its own string (a
    // contract check). A stream reused this way spares the set-up of a new
    // one for every fragment.
    void reopen(const OIndentState& state);

    // The current settings and position.
    OIndentState state() const;

    const std::string& indent() const { return m_IndentBuf.indent(); }
    void setIndent(std::string indent) { m_IndentBuf.setIndent(std::move(indent)); }
    void swapIndent(std::string& indent) { m_IndentBuf.swapIndent(indent); }
    bool keepLeadingSpace() const { return m_IndentBuf.keepLeadingSpace(); }
    void setKeepLeadingSpace(bool keep) { m_IndentBuf.setKeepLeadingSpace(keep); }

    // Writes text with leading white space kept (the switch is restored
    // afterwards), so that blanks at the start of its lines survive.
    void writeVerbatim(const std::string& text);

    // The text written so far when the stream writes into its own string,
    // including spaces still held back in Compress mode.
    std::string str() const;

    OIndentBuf& indentBuf() { return m_IndentBuf; }
};

// Sets the indent of a stream for the lifetime of the object.
class ScopedIndent {
public:
    ScopedIndent(OIndentStream& out, std::string indent);
    ~ScopedIndent();
    ScopedIndent(const ScopedIndent&) = delete;
    ScopedIndent& operator=(const ScopedIndent&) = delete;

private:
    OIndentStream& m_Out;
    std::string m_Saved;
};

// Sets the keep-leading-space switch of a stream for the lifetime of the
// object.
class ScopedKeepLeadingSpace {
public:
    ScopedKeepLeadingSpace(OIndentStream& out, bool keep);
    ~ScopedKeepLeadingSpace();
    ScopedKeepLeadingSpace(const ScopedKeepLeadingSpace&) = delete;
    ScopedKeepLeadingSpace& operator=(const ScopedKeepLeadingSpace&) = delete;

private:
    OIndentStream& m_Out;
    bool m_Saved;
};

} // namespace Corvale

#endif
