// Column and whitespace primitives of the formatting engine.
//
// Every emitter measures text in columns, pads to columns, builds
// whitespace of a given width in the style the scheme asks for, and copies
// stretches of the source text to its output with these functions and
// manipulators. Columns count from 0; a tab reaches the next multiple of
// the tab size, a newline returns to column 0, every other character is one
// column wide. Broken preconditions raise Corvale::ContractViolation.
#ifndef STYLIST_H
#define STYLIST_H

#include "Corvale_StreamFwd.h"
#include "Trn_Location.h"

#include <iosfwd>
#include <set>
#include <string>

namespace Stylist {

// --- Measuring -------------------------------------------------------------

// Width of c written at column col: a tab reaches the next multiple of
// tabSize (a whole tab size from a multiple), a newline is 0 wide, anything
// else 1.
int charWidth(char c, int col, int tabSize);

// Columns text covers when written from column col. A newline returns the
// running column to 0 and adds nothing, so for a text without newlines this
// is the column reached minus col.
int textWidth(const std::string& text, int col, int tabSize);

// The column at which a text that ends at column col began; 0 when the
// walk back passes the start of the line.
int columnBeforeText(const std::string& text, int col, int tabSize);

// col rounded up to a multiple of tabSize (0 stays 0, a multiple stays).
int nextTabStop(int col, int tabSize);

// Whether col is 0 or a multiple of tabSize.
bool isTabStop(int col, int tabSize);

// The column distance from l to r when both lie on one line, else 0;
// l must not be after r.
int columnDifference(const Trn::Location& l, const Trn::Location& r);

// Columns to write at curCol to reach the tab stop for targetCol; past that
// stop, the stop for targetCol + curCol.
int paddingTo(int targetCol, int curCol, int tabSize);

// Reads the rest of in line by line and answers the numbers (from 1) of the
// lines whose end column is greater than limit. The first line is measured
// from the stream's current column.
std::set<int> linesWiderThan(Corvale::ITextDocStream& in, int limit);

// --- Building whitespace ---------------------------------------------------

// Whitespace that is size columns wide when written at the start of a line
// of out, built from out's indent in out's tab mode.
std::string whitespaceOfWidth(const Corvale::OIndentStream& out, int size);

// Manipulator: written to a text document stream, n columns of whitespace
// from its current column (after the indent at the start of a line); tabs
// where whole tab spans fit, except in Expand mode, which writes spaces.
// Written to any other stream, n spaces.
class Padding {
public:
    explicit Padding(int amount);
    int amount() const { return m_Amount; }

private:
    int m_Amount;
};

std::ostream& operator<<(std::ostream& out, const Padding& padding);

// --- Copying source text ---------------------------------------------------
//
// The input stream's location (line, col) is that of the character read
// last, so reading "through" l includes the character at l and reading "up
// to" l stops before it.

// Manipulator: reads from an input text stream to a target location into a
// string:  in >> readThrough(l) >> text;
// The string is emptied first. When the input runs out before l, the stream
// is left failed and the string holds what was read.
class CopyTo {
public:
    enum Mode { UP_TO, THROUGH };

    CopyTo(const Trn::Location& target, Mode mode) : m_Target(target), m_Mode(mode) {}

    const Trn::Location& target() const { return m_Target; }
    Mode mode() const { return m_Mode; }

    // This request bound to the stream it reads from.
    CopyTo boundTo(Corvale::ITextDocStream& in) const;
    // Performs the read into text; the request must be bound.
    Corvale::ITextDocStream& extract(std::string& text) const;

private:
    Trn::Location m_Target;
    Mode m_Mode;
    Corvale::ITextDocStream* m_pIn = nullptr;
};

CopyTo readUpTo(const Trn::Location& l);
CopyTo readThrough(const Trn::Location& l);
CopyTo operator>>(Corvale::ITextDocStream& in, const CopyTo& request);
Corvale::ITextDocStream& operator>>(const CopyTo& request, std::string& text);

// The same reads, answering the text.
std::string readUpTo(Corvale::ITextDocStream& in, const Trn::Location& l);
std::string readThrough(Corvale::ITextDocStream& in, const Trn::Location& l);

// The same reads into text (emptied first), whose memory a caller that
// reads many short stretches keeps from one read to the next.
void readUpTo(Corvale::ITextDocStream& in, const Trn::Location& l, std::string& text);
void readThrough(Corvale::ITextDocStream& in, const Trn::Location& l, std::string& text);

// Read through (or up to) l and write what was read to out; an indenting
// stream applies its indent and drops leading blanks of copied lines.
// Answer the number of characters copied, or -1 when the input failed.
int copyThrough(Corvale::ITextDocStream& in, std::ostream& out, const Trn::Location& l);
int copyUpTo(Corvale::ITextDocStream& in, std::ostream& out, const Trn::Location& l);

// As above onto an indenting stream, written raw: while writing, the
// stream keeps leading white space and its indent is empty, so the text
// comes out exactly as read (the tab mode still applies). Both settings
// are restored afterwards.
int copyThroughRaw(Corvale::ITextDocStream& in, Corvale::OIndentStream& out,
                   const Trn::Location& l);
int copyUpToRaw(Corvale::ITextDocStream& in, Corvale::OIndentStream& out, const Trn::Location& l);
void writeRaw(Corvale::OIndentStream& out, const std::string& text);

// Reads until the stream's location reaches l and puts the last character
// back: answers how many characters lie between the start position and l,
// or -1 when the stream does not arrive exactly at l or the putback fails.
int charsUpTo(Corvale::ITextDocStream& in, const Trn::Location& l);

// Everything the stream still holds.
std::string restOfText(Corvale::ITextDocStream& in);

} // namespace Stylist

#endif
