// Trn::Location: a position in a source text.
#ifndef TRN_LOCATION_H
#define TRN_LOCATION_H

#include <cstdint>

namespace Trn {

// A line (1 for the first line) and a column counted in characters consumed
// on that line; tabs count as one column. (0, 0) means "no location" and
// orders below every real location.
class Location {
public:
    Location() = default;
    Location(std::int32_t line, std::int32_t col) : m_Line(line), m_Col(col) {}

    std::int32_t line() const { return m_Line; }
    std::int32_t col() const { return m_Col; }
    void setLine(std::int32_t line) { m_Line = line; }
    void setCol(std::int32_t col) { m_Col = col; }

    friend bool operator==(const Location& a, const Location& b)
    {
        return a.m_Line == b.m_Line && a.m_Col == b.m_Col;
    }
    friend bool operator!=(const Location& a, const Location& b) { return !(a == b); }
    friend bool operator<(const Location& a, const Location& b)
    {
        return a.m_Line < b.m_Line || (a.m_Line == b.m_Line && a.m_Col < b.m_Col);
    }
    friend bool operator>(const Location& a, const Location& b) { return b < a; }
    friend bool operator<=(const Location& a, const Location& b) { return !(b < a); }
    friend bool operator>=(const Location& a, const Location& b) { return !(a < b); }

private:
    std::int32_t m_Line = 0;
    std::int32_t m_Col = 0;
};

} // namespace Trn

#endif
