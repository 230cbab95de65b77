#include "Corvale_ITextDocBuf.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace Corvale {

ITextDocBuf::ITextDocBuf(std::streambuf* source, int tabMode, int tabSize, int startLine,
                         int startCol)
    : m_Source(source),
      m_TabMode(tabMode),
      m_TabSize(tabSize < 1 ? 1 : tabSize),
      m_StartLine(startLine < 1 ? 1 : startLine),
      m_StartCol(startCol < 0 ? 0 : startCol),
      m_Lookahead(traits_type::eof()),
      m_Line(m_StartLine),
      m_Col(m_StartCol),
      m_History{-1, -1, -1, -1},
      m_HistoryFront(0)
{
}

void ITextDocBuf::restart(int tabMode, int tabSize, int startLine, int startCol)
{
    m_Source.restart();
    m_TabMode = tabMode;
    m_TabSize = tabSize < 1 ? 1 : tabSize;
    m_StartLine = startLine < 1 ? 1 : startLine;
    m_StartCol = startCol < 0 ? 0 : startCol;
    m_Lookahead = traits_type::eof();
    m_Line = m_StartLine;
    m_Col = m_StartCol;
    for (int& h : m_History)
        h = -1;
    m_HistoryFront = 0;
}

std::array<int, ITextDocBuf::HISTORY_SIZE> ITextDocBuf::columnHistory() const
{
    std::array<int, HISTORY_SIZE> result;
    for (unsigned i = 0; i < HISTORY_SIZE; ++i)
        result[i] = m_History[(m_HistoryFront + i) % HISTORY_SIZE];
    return result;
}

ITextDocBuf::int_type ITextDocBuf::underflow()
{
    if (traits_type::eq_int_type(m_Lookahead, traits_type::eof()))
        m_Lookahead = m_Source.sbumpc();
    return m_Lookahead;
}

ITextDocBuf::int_type ITextDocBuf::uflow()
{
    return next();
}

std::streamsize ITextDocBuf::xsgetn(char* s, std::streamsize n)
{
    return readBefore(std::numeric_limits<int>::max(), std::numeric_limits<int>::max(), s, n);
}

std::streamsize ITextDocBuf::readBefore(int line, int col, char* dst, std::streamsize max)
{
    // The position and the history are worked on in locals, which the
    // stores into dst cannot disturb, and written back at the end.
    int curLine = m_Line;
    int curCol = m_Col;
    unsigned front = m_HistoryFront;
    int history[HISTORY_SIZE];
    for (unsigned i = 0; i < HISTORY_SIZE; ++i)
        history[i] = m_History[i];

    std::streamsize got = 0;
    const auto before = [&] { return curLine < line || (curLine == line && curCol < col); };
    const auto take = [&](char c) {
        history[front] = curCol;
        front = (front + 1) % HISTORY_SIZE;
        if (c == '\n') {
            ++curLine;
            curCol = 0;
        } else {
            ++curCol;
        }
        dst[got++] = c;
    };

    if (got < max && before() && !traits_type::eq_int_type(m_Lookahead, traits_type::eof())) {
        take(traits_type::to_char_type(m_Lookahead));
        m_Lookahead = traits_type::eof();
    }
    while (got < max && before()) {
        const char* p = m_Source.readPos();
        const char* end = m_Source.readEnd();
        if (p == end) {
            if (!m_Source.refill())
                break;
            continue;
        }
        // A block at a time: the rest of the line through its newline when
        // the limit lies on a later line, else up to the limit's column;
        // every character in the block but a closing newline is one column.
        std::size_t n = static_cast<std::size_t>(std::min<std::streamsize>(end - p, max - got));
        if (curLine == line)
            n = std::min(n, static_cast<std::size_t>(col - curCol));
        const void* const newline = std::memchr(p, '\n', n);
        const std::size_t k = newline ? static_cast<std::size_t>(static_cast<const char*>(newline) - p) + 1 : n;
        std::memcpy(dst + got, p, k);
        // The history keeps the columns of the last characters read.
        for (std::size_t i = k > HISTORY_SIZE ? k - HISTORY_SIZE : 0; i < k; ++i) {
            history[front] = curCol + static_cast<int>(i);
            front = (front + 1) % HISTORY_SIZE;
        }
        got += static_cast<std::streamsize>(k);
        if (newline) {
            ++curLine;
            curCol = 0;
        } else {
            curCol += static_cast<int>(k);
        }
        m_Source.consume(static_cast<std::streamsize>(k));
    }

    m_Line = curLine;
    m_Col = curCol;
    m_HistoryFront = front;
    for (unsigned i = 0; i < HISTORY_SIZE; ++i)
        m_History[i] = history[i];
    // As after every read, the next character is held ahead.
    if (got > 0 && traits_type::eq_int_type(m_Lookahead, traits_type::eof()))
        m_Lookahead = m_Source.sbumpc();
    return got;
}

ITextDocBuf::int_type ITextDocBuf::pbackfail(int_type c)
{
    if (m_Line == m_StartLine && m_Col == m_StartCol)
        return traits_type::eof();

    // Hand the character back to the source first: when that fails the
    // position stays where it is, so it never disagrees with the text.
    const bool eofGiven = traits_type::eq_int_type(c, traits_type::eof());
    int_type answer;
    if (traits_type::eq_int_type(m_Lookahead, traits_type::eof())) {
        answer = eofGiven ? m_Source.sungetc() : m_Source.sputbackc(traits_type::to_char_type(c));
        if (traits_type::eq_int_type(answer, traits_type::eof()))
            return answer;
    } else if (!eofGiven) {
        // The held lookahead returns to the source; the given character is
        // held in its place.
        if (traits_type::eq_int_type(m_Source.sungetc(), traits_type::eof()))
            return traits_type::eof();
        m_Lookahead = c;
        answer = c;
    } else {
        // Step the source back over the lookahead and the character before
        // it, then hold that earlier character again.
        if (traits_type::eq_int_type(m_Source.sungetc(), traits_type::eof()))
            return traits_type::eof();
        if (traits_type::eq_int_type(m_Source.sungetc(), traits_type::eof())) {
            m_Source.sbumpc();
            return traits_type::eof();
        }
        m_Lookahead = m_Source.sbumpc();
        answer = m_Lookahead;
    }

    // Step the position back: over a line end the column comes from the
    // history. The newest entry is used up and -1 enters at the old end.
    const unsigned newest = (m_HistoryFront + HISTORY_SIZE - 1) % HISTORY_SIZE;
    if (m_Col == 0) {
        --m_Line;
        m_Col = m_History[newest];
    } else {
        --m_Col;
    }
    m_History[newest] = -1;
    m_HistoryFront = newest;
    return answer;
}

} // namespace Corvale
