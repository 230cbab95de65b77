// Declarations of the Corvale text stream family, and the tab mode that the
// output buffers apply.
//
// The family: LineBuf (line-end normalisation), PutbackBuf (guaranteed
// putback over any source), ITextDocBuf / ITextDocStream (input that knows
// the line and column of the next character), OTextDocBuf / OTextDocStream
// (output that knows its line and column and converts tabs and spaces
// outside quotes) and OIndentBuf / OIndentStream (output that indents every
// line).
#ifndef CORVALE_STREAMFWD_H
#define CORVALE_STREAMFWD_H

namespace Corvale {

class LineBuf;
class PutbackBuf;
class ITextDocBuf;
class OTextDocBuf;
class ITextDocStreamBase;
class ITextDocStream;
class OTextDocStream;
class OIndentBuf;
class OIndentStreamBase;
class OIndentStream;
struct OIndentState;

// How an output document buffer treats tabs and spaces outside quoted
// literals. The values are those of the scheme's whitespace-conversion key.
enum TabMode : int {
    Keep = 0,     // characters pass unchanged
    Expand = 1,   // a tab becomes spaces up to the next tab stop
    Compress = 2  // a whole tab width of spaces starting on a tab stop becomes a tab
};

// Converts 0, 1 or 2 to the tab mode of that value; any other value is a
// contract violation.
TabMode toTabMode(int value);

} // namespace Corvale

#endif
