#include "Corvale_Exception.h"
#include "Corvale_OTextDocBuf.h"
#include "Corvale_OTextDocStream.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

using Traits = std::char_traits<char>;

// A target that accepts a limited number of characters, then refuses.
class LimitedSink : public std::streambuf {
public:
    explicit LimitedSink(int capacity) : m_Capacity(capacity) {}
    std::string text;

protected:
    int_type overflow(int_type c) override
    {
        if (Traits::eq_int_type(c, Traits::eof()) || static_cast<int>(text.size()) >= m_Capacity)
            return Traits::eof();
        text += Traits::to_char_type(c);
        return c;
    }

private:
    int m_Capacity;
};

struct Written {
    std::string text;
    int line;
    int col;
};

// Writes text character by character (the overflow path) and as one block
// (the xsputn path); both must agree.
Written write(Corvale::TabMode mode, int tabSize, const std::string& text, int startCol = 0)
{
    Written byChar{};
    {
        std::stringbuf target(std::ios_base::out);
        {
            Corvale::OTextDocBuf buf(&target, mode, tabSize, 1, startCol);
            for (char c : text)
                buf.sputc(c);
            buf.pubsync();
            byChar = {target.str(), buf.line(), buf.col()};
        }
    }
    std::stringbuf target(std::ios_base::out);
    Corvale::OTextDocBuf buf(&target, mode, tabSize, 1, startCol);
    Corvale::OTextDocStream out(&buf);
    out << text << std::flush;
    EXPECT_EQ(byChar.text, target.str()) << text;
    EXPECT_EQ(byChar.col, out.col()) << text;
    return byChar;
}

TEST(OTextDocBuf, ConvertsTabsAndSpacesOutsideQuotes)
{
    using namespace Corvale;
    const struct {
        TabMode mode;
        int tabSize;
        int startCol;
        const char* in;
        const char* out;
        int line;
        int col;
    } cases[] = {
        // Keep: unchanged; a tab still moves the column to the next stop.
        {Keep, 4, 0, "ab\tc", "ab\tc", 1, 5},
        {Keep, 4, 0, "\t\t", "\t\t", 1, 8},
        {Keep, 4, 0, "    x\n  ", "    x\n  ", 2, 2},
        {Keep, 4, 6, "\tx", "\tx", 1, 9},
        // Expand: spaces up to the next stop, a whole width from a stop.
        {Expand, 4, 0, "ab\t", "ab  ", 1, 4},
        {Expand, 4, 0, "abcd\t", "abcd    ", 1, 8},
        {Expand, 4, 0, "\t", "    ", 1, 4},
        {Expand, 8, 3, "\tx", "     x", 1, 9},
        {Expand, 4, 0, "\"\t\"\t", "\"\t\"   ", 1, 8},
        {Expand, 4, 0, "'\t'\t", "'\t'   ", 1, 8},
        // An escaped quote does not close; the escaped-backslash quote does.
        {Expand, 4, 0, "'\\''\t", "'\\''    ", 1, 8},
        {Expand, 4, 0, "\"\\\"\t\"", "\"\\\"\t\"", 1, 5},
        {Expand, 4, 0, "\"\\\\\"\t", "\"\\\\\"    ", 1, 8},
        // A quote after a backslash outside a literal opens nothing.
        {Expand, 4, 0, "\\'\t", "\\'  ", 1, 4},
        // A newline ends an open literal; a continued line does not.
        {Expand, 4, 0, "\"ab\n\t", "\"ab\n    ", 2, 4},
        {Expand, 4, 0, "\"ab\\\n\t\"\t", "\"ab\\\n\t\"   ", 2, 8},
        // Blanks may stand between the splice's backslash and the newline; a
        // backslash before the newline splices even when it is escaped.
        {Expand, 4, 0, "'a\\ \t\n\t'\t", "'a\\ \t\n\t'   ", 2, 8},
        {Expand, 4, 0, "\"a\\\\\n\t\"\t", "\"a\\\\\n\t\"   ", 2, 8},
        {Expand, 4, 0, "\"a\\x\n\t", "\"a\\x\n    ", 2, 4},
        // Compress: a run starting on a stop that fills a whole width.
        {Compress, 4, 0, "    x", "\tx", 1, 5},
        {Compress, 4, 0, "        x", "\t\tx", 1, 9},
        {Compress, 4, 0, "a    b", "a    b", 1, 6},
        {Compress, 4, 0, "ab      c", "ab  \tc", 1, 9},
        {Compress, 4, 0, "   x", "   x", 1, 4},
        {Compress, 4, 0, "      \n", "\t  \n", 2, 0},
        {Compress, 4, 0, "  \tx", "  \tx", 1, 5},
        {Compress, 4, 0, "\"    \"    ", "\"    \"    ", 1, 10},
        {Compress, 4, 0, "'    '", "'    '", 1, 6},
        {Compress, 4, 0, "x\\\"      y", "x\\\" \t y", 1, 10},
        {Compress, 4, 0, "\"ab\n    x", "\"ab\n\tx", 2, 5},
        {Compress, 4, 2, "      x", "  \tx", 1, 9},
        {Compress, 1, 0, "a  b", "a\t\tb", 1, 4},
    };
    for (const auto& c : cases) {
        const Written w = write(c.mode, c.tabSize, c.in, c.startCol);
        EXPECT_EQ(c.out, w.text) << "mode " << c.mode << " input [" << c.in << "]";
        EXPECT_EQ(c.line, w.line) << "mode " << c.mode << " input [" << c.in << "]";
        EXPECT_EQ(c.col, w.col) << "mode " << c.mode << " input [" << c.in << "]";
    }
}

TEST(OTextDocBuf, TracksLiteralsInEveryMode)
{
    for (Corvale::TabMode mode : {Corvale::Keep, Corvale::Expand, Corvale::Compress}) {
        std::stringbuf target(std::ios_base::out);
        Corvale::OTextDocBuf buf(&target, mode, 4, 1, 0);
        const std::string steps[][2] = {
            {"x = ", "0"}, {"\"a", "1"}, {"\\\"", "1"}, {"\\\n", "1"}, {"b\"", "0"},
            {"'\"'", "0"}, {"\"\n", "0"},
        };
        for (const auto& step : steps) {
            buf.sputn(step[0].data(), static_cast<std::streamsize>(step[0].size()));
            EXPECT_EQ(step[1] == "1", buf.inQuotes()) << "mode " << mode << " after " << step[0];
        }
    }
}

TEST(OTextDocBuf, PendingSpacesReachTheTargetOnSyncAndOnDestruction)
{
    std::stringbuf target(std::ios_base::out);
    {
        Corvale::OTextDocBuf buf(&target, Corvale::Compress, 4, 1, 0);
        buf.sputn("ab  ", 4); // the two spaces start at column 2: written at once
        buf.sputn("  ", 2);   // these start on the stop at 4 and are held
        EXPECT_EQ("ab  ", target.str());
        EXPECT_EQ(2, buf.pendingSpaces());
        EXPECT_EQ(6, buf.col());
        EXPECT_EQ(0, buf.pubsync());
        EXPECT_EQ("ab    ", target.str());
        EXPECT_EQ(0, buf.pendingSpaces());
        EXPECT_EQ(6, buf.col());
        buf.sputn("\n ", 2);
        EXPECT_EQ("ab    \n", target.str());
    }
    EXPECT_EQ("ab    \n ", target.str());
}

TEST(OTextDocBuf, FailedWritesAnswerEndOfFileAndKeepThePosition)
{
    {
        LimitedSink sink(1);
        Corvale::OTextDocBuf buf(&sink, Corvale::Keep, 4, 1, 0);
        EXPECT_EQ('a', buf.sputc('a'));
        EXPECT_EQ(Traits::eof(), buf.sputc('b'));
        EXPECT_EQ(1, buf.col());
    }
    {
        LimitedSink sink(0);
        Corvale::OTextDocBuf buf(&sink, Corvale::Compress, 4, 1, 0);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(' ', buf.sputc(' '));
        EXPECT_EQ(3, buf.col());
        EXPECT_EQ(Traits::eof(), buf.sputc(' ')); // the tab cannot be written
        EXPECT_EQ(0, buf.col());
        EXPECT_EQ(0, buf.pendingSpaces());
    }
    {
        // A block write that the target cuts short.
        LimitedSink sink(3);
        Corvale::OTextDocBuf buf(&sink, Corvale::Keep, 4, 1, 0);
        EXPECT_EQ(3, buf.sputn("ab cdef", 7));
        EXPECT_EQ("ab ", sink.text);
        EXPECT_EQ(3, buf.col());
    }
    {
        LimitedSink sink(2);
        Corvale::OTextDocBuf buf(&sink, Corvale::Expand, 4, 1, 0);
        EXPECT_EQ(Traits::eof(), buf.sputc('\t'));
        EXPECT_EQ("  ", sink.text);
    }
    {
        LimitedSink sink(1);
        Corvale::OTextDocBuf buf(&sink, Corvale::Compress, 4, 1, 0);
        buf.sputn("  ", 2);
        EXPECT_EQ(Traits::eof(), buf.sputc('x')); // one pending space fits, the other not
        EXPECT_EQ(" ", sink.text);
        EXPECT_EQ(1, buf.col());
    }
}

// Exposes overflow, which the stream protocol calls with end of file to
// flush without writing.
class OpenDocBuf : public Corvale::OTextDocBuf {
public:
    using Corvale::OTextDocBuf::OTextDocBuf;
    using Corvale::OTextDocBuf::overflow;
};

TEST(OTextDocBuf, EndOfFileWritesNothingAndSucceeds)
{
    for (Corvale::TabMode mode : {Corvale::Keep, Corvale::Expand, Corvale::Compress}) {
        std::stringbuf target(std::ios_base::out);
        OpenDocBuf buf(&target, mode, 4, 1, 0);
        EXPECT_FALSE(Traits::eq_int_type(Traits::eof(), buf.overflow(Traits::eof())));
        EXPECT_EQ("", target.str());
        EXPECT_EQ(0, buf.col());
    }
}

TEST(TabMode, ConvertsTheThreeValuesAndRejectsOthers)
{
    EXPECT_EQ(Corvale::Keep, Corvale::toTabMode(0));
    EXPECT_EQ(Corvale::Expand, Corvale::toTabMode(1));
    EXPECT_EQ(Corvale::Compress, Corvale::toTabMode(2));
    for (int bad : {-1, 3, 100}) {
        try {
            Corvale::toTabMode(bad);
            ADD_FAILURE() << bad << " was accepted";
        } catch (const Corvale::ContractViolation& v) {
            EXPECT_EQ("DBC Violation: Stream/src/Corvale_StreamFwd.cpp(35): false", v.description());
        }
    }
}

} // namespace
