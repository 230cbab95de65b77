#include "Stylist.h"

#include "Corvale_Exception.h"
#include "Corvale_ITextDocStream.h"
#include "Corvale_OIndentStream.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <ostream>

namespace Stylist {

namespace {

using Traits = std::char_traits<char>;

// Width of c at column col, without the checks (callers have checked).
inline int widthAt(char c, int col, int tabSize)
{
    if (c == '\t')
        return tabSize - col % tabSize;
    return c == '\n' ? 0 : 1;
}

std::string spaces(int n)
{
    return n > 0 ? std::string(static_cast<std::size_t>(n), ' ') : std::string();
}

void writeText(std::ostream& out, const std::string& text)
{
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// Characters read per block by the copying functions.
constexpr std::streamsize READ_BLOCK = 1024;

// Reads from in while its location is before l and reading succeeds (the
// character at l included); for UP_TO the character at l is then put back.
// The characters go to sink.append(p, n) a block at a time, the last one
// always held back until it is known whether it is put back; no allocation
// however long the copy. Answers the number of characters delivered.
//
// UP_TO first reads to the column before l: when the character standing
// there is an ordinary one, it is the character at l and is left unread,
// which spares reading it and putting it back.
template <class Sink>
long long readTo(Corvale::ITextDocStream& in, const Trn::Location& l, CopyTo::Mode mode, Sink& sink)
{
    CORVALE_CHECK(Trn::Location(in.line(), in.col()) <= l);
    if (!in.good()) {
        in.setstate(std::ios_base::failbit);
        return 0;
    }
    Corvale::ITextDocBuf& buf = in.textDocBuf();
    char block[READ_BLOCK];
    std::streamsize size = 0;
    long long count = 0;
    // Reads while the location is before target; false when the input ran
    // out first (the stream is then failed).
    const auto readBefore = [&](const Trn::Location& target) {
        for (;;) {
            if (size == READ_BLOCK) {
                sink.append(block, READ_BLOCK - 1);
                block[0] = block[READ_BLOCK - 1];
                size = 1;
            }
            const std::streamsize want = READ_BLOCK - size;
            const std::streamsize got = buf.readBefore(target.line(), target.col(), block + size, want);
            size += got;
            count += got;
            if (!(Trn::Location(buf.line(), buf.col()) < target))
                return true;
            if (got < want) {
                in.setstate(std::ios_base::eofbit | std::ios_base::failbit);
                return false;
            }
        }
    };
    if (mode == CopyTo::UP_TO && l.col() >= 1) {
        const Trn::Location before(l.line(), l.col() - 1);
        if (readBefore(before) && Trn::Location(buf.line(), buf.col()) == before) {
            const auto next = buf.sgetc();
            if (!Traits::eq_int_type(next, Traits::eof()) && next != '\n') {
                sink.append(block, size);
                return count;
            }
        }
    }
    if (readBefore(l) && mode == CopyTo::UP_TO && size > 0 && Trn::Location(buf.line(), buf.col()) == l) {
        if (in.putback(block[size - 1])) {
            --size;
            --count;
        }
    }
    sink.append(block, size);
    return count;
}

struct StringSink {
    std::string& text;
    void append(const char* p, std::streamsize n) { text.append(p, static_cast<std::size_t>(n)); }
};

struct StreamSink {
    std::ostream& out;
    void append(const char* p, std::streamsize n) { out.write(p, n); }
};

struct NullSink {
    void append(const char*, std::streamsize) {}
};

void readInto(Corvale::ITextDocStream& in, const Trn::Location& l, CopyTo::Mode mode,
              std::string& text)
{
    text.clear();
    StringSink sink{text};
    readTo(in, l, mode, sink);
}

int copy(Corvale::ITextDocStream& in, std::ostream& out, const Trn::Location& l, CopyTo::Mode mode)
{
    // What was read is written even when the input runs out: no text is lost.
    StreamSink sink{out};
    const long long count = readTo(in, l, mode, sink);
    return in.fail() ? -1 : static_cast<int>(count);
}

// While alive, an indenting stream writes exactly what it is given.
class RawWrite {
public:
    explicit RawWrite(Corvale::OIndentStream& out) : m_Indent(out, std::string()), m_Keep(out, true) {}

private:
    Corvale::ScopedIndent m_Indent;
    Corvale::ScopedKeepLeadingSpace m_Keep;
};

} // namespace

// --- Measuring -------------------------------------------------------------

int charWidth(char c, int col, int tabSize)
{
    CORVALE_CHECK(col >= 0);
    CORVALE_CHECK(tabSize > 0);
    const int value = widthAt(c, col, tabSize);
    CORVALE_CHECK(value >= 0);
    return value;
}

int textWidth(const std::string& text, int col, int tabSize)
{
    CORVALE_CHECK(col >= 0);
    CORVALE_CHECK(tabSize > 0);
    long long total = 0;
    long long running = col;
    // Runs of characters one column wide are counted whole: only tabs and
    // newlines are looked at one by one. The next of each is found once
    // and looked for again only after it is passed, so every character is
    // scanned a bounded number of times.
    const char* p = text.data();
    const char* const end = p + text.size();
    const char* nextTab = nullptr;
    const char* nextNewline = nullptr;
    auto find = [end](const char* from, char c) {
        const void* found = std::memchr(from, c, static_cast<std::size_t>(end - from));
        return found ? static_cast<const char*>(found) : end;
    };
    while (p < end) {
        if (nextTab == nullptr || nextTab < p)
            nextTab = find(p, '\t');
        if (nextNewline == nullptr || nextNewline < p)
            nextNewline = find(p, '\n');
        const char* const special = std::min(nextTab, nextNewline);
        const long long run = special - p;
        total += run;
        running += run;
        if (special == end)
            break;
        if (*special == '\n') {
            running = 0;
        } else {
            const int w = tabSize - static_cast<int>(running % tabSize);
            total += w;
            running += w;
        }
        p = special + 1;
    }
    CORVALE_CHECK(total >= 0);
    return static_cast<int>(total);
}

int columnBeforeText(const std::string& text, int col, int tabSize)
{
    CORVALE_CHECK(tabSize > 0);
    CORVALE_CHECK(col >= 0);
    if (col == 0)
        return 0;
    int running = col;
    for (std::size_t i = text.size(); i > 0 && running > 0; --i)
        running -= widthAt(text[i - 1], running, tabSize);
    return running < 1 ? 0 : running;
}

int nextTabStop(int col, int tabSize)
{
    CORVALE_CHECK(col >= 0);
    CORVALE_CHECK(tabSize > 0);
    if (col == 0)
        return 0;
    const int rest = col % tabSize;
    return rest == 0 ? col : col + (tabSize - rest);
}

bool isTabStop(int col, int tabSize)
{
    CORVALE_CHECK(col >= 0);
    CORVALE_CHECK(tabSize > 0);
    return col % tabSize == 0;
}

int columnDifference(const Trn::Location& l, const Trn::Location& r)
{
    CORVALE_CHECK(l <= r);
    const int difference = l.line() == r.line() ? r.col() - l.col() : 0;
    CORVALE_CHECK(difference >= 0);
    return difference;
}

int paddingTo(int targetCol, int curCol, int tab)
{
    CORVALE_CHECK(targetCol >= 0);
    CORVALE_CHECK(curCol >= 0);
    CORVALE_CHECK(tab > 0);
    const int stop = nextTabStop(targetCol, tab);
    int result;
    if (curCol <= targetCol || stop > curCol)
        result = stop - curCol;
    else
        result = nextTabStop(targetCol + curCol, tab) - curCol;
    CORVALE_CHECK_TEXT(result >= 0, "SPACE_STR >= 0");
    return result;
}

std::set<int> linesWiderThan(Corvale::ITextDocStream& in, int limit)
{
    std::set<int> wide;
    if (!in.good())
        return wide;
    Corvale::ITextDocBuf& buf = in.textDocBuf();
    const int tabSize = buf.tabSize();
    int number = 1;
    // The end column of the line being read: its width from the start column
    // plus the start column.
    int running = buf.col() < 0 ? 0 : buf.col();
    bool lineHasText = false;
    for (;;) {
        const auto c = buf.next();
        if (Traits::eq_int_type(c, Traits::eof()))
            break;
        if (c == '\n') {
            if (running > limit)
                wide.insert(number);
            ++number;
            running = 0;
            lineHasText = false;
            continue;
        }
        running += widthAt(Traits::to_char_type(c), running, tabSize);
        lineHasText = true;
    }
    if (lineHasText && running > limit)
        wide.insert(number);
    in.setstate(std::ios_base::eofbit | std::ios_base::failbit);
    return wide;
}

// --- Building whitespace ---------------------------------------------------

std::string whitespaceOfWidth(const Corvale::OIndentStream& out, int size)
{
    CORVALE_CHECK(size >= 0);
    const std::string& indent = out.indent();
    const int tabSize = out.tabSize();
    const bool compress = out.tabMode() == Corvale::Compress;
    const int w = textWidth(indent, 0, tabSize);
    if (size == 0)
        return std::string();
    if (size == w)
        return indent;
    // Built in one string: the indent (when it fits), then spaces and tabs.
    std::string result;
    const auto add = [&result](int n, char c) {
        if (n > 0)
            result.append(static_cast<std::size_t>(n), c);
    };
    if (size < w) {
        if (compress) {
            result.reserve(static_cast<std::size_t>(size / tabSize + size % tabSize));
            add(size / tabSize, '\t');
            add(size % tabSize, ' ');
        } else {
            add(size, ' ');
        }
        return result;
    }
    const int extra = size - w;
    result.reserve(indent.size() + static_cast<std::size_t>(extra));
    result = indent;
    if (!compress) {
        add(extra, ' ');
        return result;
    }
    // Up to the tab stop after the indent with spaces, then whole tabs.
    const int fill = w % tabSize == 0 ? 0 : tabSize - w % tabSize;
    if (extra < fill) {
        add(extra, ' ');
        return result;
    }
    add(fill, ' ');
    add((extra - fill) / tabSize, '\t');
    add((extra - fill) % tabSize, ' ');
    return result;
}

Padding::Padding(int amount) : m_Amount(amount)
{
    CORVALE_CHECK(amount >= 0);
}

std::ostream& operator<<(std::ostream& out, const Padding& padding)
{
    auto* doc = dynamic_cast<Corvale::OTextDocBuf*>(out.rdbuf());
    if (!doc) {
        writeText(out, spaces(padding.amount()));
        return out;
    }
    auto* indenting = dynamic_cast<Corvale::OIndentBuf*>(doc);
    const int tabSize = doc->tabSize();
    int n = padding.amount();
    int c = doc->col();
    if (c == 0 && indenting) {
        // The indent is written before the padding and counts towards it.
        const int w = textWidth(indenting->indent(), 0, tabSize);
        n -= w;
        c = w;
    }

    // Leading blanks of the padding must survive the indenting buffer.
    struct KeepLeadingSpace {
        Corvale::OIndentBuf* pBuf;
        bool saved;
        ~KeepLeadingSpace()
        {
            if (pBuf)
                pBuf->setKeepLeadingSpace(saved);
        }
    } keep{indenting, indenting && indenting->keepLeadingSpace()};
    if (indenting)
        indenting->setKeepLeadingSpace(true);

    if (doc->tabMode() == Corvale::Expand) {
        writeText(out, spaces(n));
        return out;
    }
    int stop = nextTabStop(c + 1, tabSize);
    while (n > 0) {
        if (stop - c > n) {
            writeText(out, spaces(n));
            break;
        }
        out.put('\t');
        n -= stop - c;
        c = doc->col();
        stop = nextTabStop(c + 1, tabSize);
    }
    return out;
}

// --- Copying source text ---------------------------------------------------

CopyTo CopyTo::boundTo(Corvale::ITextDocStream& in) const
{
    CopyTo bound(*this);
    bound.m_pIn = &in;
    return bound;
}

Corvale::ITextDocStream& CopyTo::extract(std::string& text) const
{
    CORVALE_CHECK(m_pIn != 0);
    readInto(*m_pIn, m_Target, m_Mode, text);
    return *m_pIn;
}

CopyTo readUpTo(const Trn::Location& l)
{
    return CopyTo(l, CopyTo::UP_TO);
}

CopyTo readThrough(const Trn::Location& l)
{
    return CopyTo(l, CopyTo::THROUGH);
}

CopyTo operator>>(Corvale::ITextDocStream& in, const CopyTo& request)
{
    return request.boundTo(in);
}

Corvale::ITextDocStream& operator>>(const CopyTo& request, std::string& text)
{
    return request.extract(text);
}

std::string readUpTo(Corvale::ITextDocStream& in, const Trn::Location& l)
{
    std::string text;
    readInto(in, l, CopyTo::UP_TO, text);
    return text;
}

std::string readThrough(Corvale::ITextDocStream& in, const Trn::Location& l)
{
    std::string text;
    readInto(in, l, CopyTo::THROUGH, text);
    return text;
}

void readUpTo(Corvale::ITextDocStream& in, const Trn::Location& l, std::string& text)
{
    readInto(in, l, CopyTo::UP_TO, text);
}

void readThrough(Corvale::ITextDocStream& in, const Trn::Location& l, std::string& text)
{
    readInto(in, l, CopyTo::THROUGH, text);
}

int copyThrough(Corvale::ITextDocStream& in, std::ostream& out, const Trn::Location& l)
{
    return copy(in, out, l, CopyTo::THROUGH);
}

int copyUpTo(Corvale::ITextDocStream& in, std::ostream& out, const Trn::Location& l)
{
    return copy(in, out, l, CopyTo::UP_TO);
}

int copyThroughRaw(Corvale::ITextDocStream& in, Corvale::OIndentStream& out,
                   const Trn::Location& l)
{
    RawWrite raw(out);
    return copy(in, out, l, CopyTo::THROUGH);
}

int copyUpToRaw(Corvale::ITextDocStream& in, Corvale::OIndentStream& out, const Trn::Location& l)
{
    RawWrite raw(out);
    return copy(in, out, l, CopyTo::UP_TO);
}

void writeRaw(Corvale::OIndentStream& out, const std::string& text)
{
    RawWrite raw(out);
    writeText(out, text);
}

int charsUpTo(Corvale::ITextDocStream& is, const Trn::Location& l)
{
    CORVALE_CHECK(Trn::Location(is.line(), is.col()) <= l);
    NullSink sink;
    const long long count = readTo(is, l, CopyTo::UP_TO, sink);
    if (is.fail())
        return -1;
    const Trn::Location reached(is.line(), is.col());
    // Standing at l now means nothing was read; past it, the stream stepped
    // over l (a line ended first). Otherwise the character at l was put back.
    if (reached == l)
        return count == 0 ? 0 : -1;
    if (l < reached)
        return -1;
    return static_cast<int>(count);
}

std::string restOfText(Corvale::ITextDocStream& in)
{
    std::string text;
    if (!in.good())
        return text;
    Corvale::ITextDocBuf& buf = in.textDocBuf();
    char block[READ_BLOCK];
    const int end = std::numeric_limits<int>::max();
    for (;;) {
        const std::streamsize got = buf.readBefore(end, end, block, READ_BLOCK);
        text.append(block, static_cast<std::size_t>(got));
        if (got < READ_BLOCK)
            break;
    }
    in.setstate(std::ios_base::eofbit);
    return text;
}

} // namespace Stylist
