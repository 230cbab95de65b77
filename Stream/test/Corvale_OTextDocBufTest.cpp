#include "Corvale_Exception.h"
#include "Corvale_OTextDocBuf.h"
#include "Corvale_OTextDocStream.h"

#include "support/Corvale_GoldenCases.h"

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

Corvale::TabMode modeNamed(const std::string& name)
{
    return name == "Keep" ? Corvale::Keep : name == "Expand" ? Corvale::Expand : Corvale::Compress;
}

// Golden cases: golden/TextDocBuf/*.cases give the tab mode, tab size and
// start column, the quoted text written and the quoted text expected, and
// the line and column after it.
TEST(OTextDocBuf, ConvertsTabsAndSpacesOutsideQuotes)
{
    const auto cases = CorvaleTest::readGoldenFolder(std::string(QUILLON_STREAM_GOLDEN_DIR) + "/TextDocBuf");
    EXPECT_GE(cases.size(), 32u) << "cases missing from " << QUILLON_STREAM_GOLDEN_DIR;
    for (const CorvaleTest::GoldenCase& c : cases) {
        SCOPED_TRACE(c.where());
        std::istringstream how(c["write"]), end(c["end"]);
        std::string mode;
        int tabSize = 0, startCol = 0, line = 0, col = 0;
        how >> mode >> tabSize >> startCol;
        end >> line >> col;
        ASSERT_TRUE(how && end && (mode == "Keep" || mode == "Expand" || mode == "Compress"));
        const Written w = write(modeNamed(mode), tabSize, CorvaleTest::unquoteGolden(c["input"]), startCol);
        EXPECT_EQ(CorvaleTest::unquoteGolden(c["output"]), w.text);
        EXPECT_EQ(line, w.line);
        EXPECT_EQ(col, w.col);
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
