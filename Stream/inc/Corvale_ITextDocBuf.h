// Corvale::ITextDocBuf: an input stream buffer that knows the line and
// column of the next character and can step back over line ends.
//
// It holds no get area: every read goes through underflow and uflow, with
// at most one character held ahead. Every character, a tab included, counts
// as one column; the tab mode and tab size are kept for the stream's users.
// The columns at which the last four characters were read are remembered,
// so up to four characters can be put back, across line ends, with the line
// and column restored exactly.
#ifndef CORVALE_ITEXTDOCBUF_H
#define CORVALE_ITEXTDOCBUF_H

#include "Corvale_PutbackBuf.h"
#include "Corvale_StreamFwd.h"

#include <array>
#include <streambuf>

namespace Corvale {

class ITextDocBuf : public std::streambuf {
public:
    // How many read columns are remembered for putback.
    static constexpr unsigned HISTORY_SIZE = 4;

    // Reads from source (not owned). A tab size or start line below 1 is
    // taken as 1, a start column below 0 as 0.
    ITextDocBuf(std::streambuf* source, int tabMode, int tabSize, int startLine, int startCol);

    ITextDocBuf(const ITextDocBuf&) = delete;
    ITextDocBuf& operator=(const ITextDocBuf&) = delete;

    // Starts over as newly constructed with these settings on the source,
    // which is read from its current position on: nothing held ahead, no
    // putback history.
    void restart(int tabMode, int tabSize, int startLine, int startCol);

    // Position of the next character to be read: the line counts up from
    // the start line, the column from 0 after every newline.
    int line() const { return m_Line; }
    int col() const { return m_Col; }
    int startLine() const { return m_StartLine; }
    int startCol() const { return m_StartCol; }
    int tabMode() const { return m_TabMode; }
    int tabSize() const { return m_TabSize; }

    // The columns at which the last four characters were read, oldest
    // first; -1 where no character is remembered.
    std::array<int, HISTORY_SIZE> columnHistory() const;

    // Reads the next character and advances the position: what uflow does,
    // callable without a virtual call by the copying primitives.
    int_type next()
    {
        int_type c = m_Lookahead;
        if (traits_type::eq_int_type(c, traits_type::eof())) {
            c = m_Source.sbumpc();
            if (traits_type::eq_int_type(c, traits_type::eof()))
                return c;
        }
        advance(c);
        m_Lookahead = m_Source.sbumpc();
        return c;
    }

    // Reads characters into dst while the position is before (line, col),
    // at most max of them, and answers how many: the same as as many calls
    // of next(), in one pass. Fewer than max with the position still before
    // (line, col) means the text has ended.
    std::streamsize readBefore(int line, int col, char* dst, std::streamsize max);

protected:
    int_type underflow() override;
    int_type uflow() override;
    int_type pbackfail(int_type c) override;
    std::streamsize xsgetn(char* s, std::streamsize n) override;

private:
    void advance(int_type c)
    {
        m_History[m_HistoryFront] = m_Col;
        m_HistoryFront = (m_HistoryFront + 1) % HISTORY_SIZE;
        if (c == '\n') {
            ++m_Line;
            m_Col = 0;
        } else {
            ++m_Col;
        }
    }

    PutbackBuf m_Source;
    int m_TabMode;
    int m_TabSize;
    int m_StartLine;
    int m_StartCol;
    int_type m_Lookahead;
    int m_Line;
    int m_Col;
    // A ring of four columns: m_HistoryFront indexes the oldest entry, the
    // entry before it (cyclically) is the newest.
    int m_History[HISTORY_SIZE];
    unsigned m_HistoryFront;
};

} // namespace Corvale

#endif
