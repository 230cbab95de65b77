#include "Corvale_ITextDocStream.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace {

using Traits = std::char_traits<char>;
using Pos = std::pair<int, int>;

Pos posOf(const Corvale::ITextDocStream& in)
{
    return {in.line(), in.col()};
}

TEST(ITextDocBuf, TracksLineAndColumnAndRestoresThemOnPutbackOverANewline)
{
    Corvale::ITextDocStream in("ab\nc");
    EXPECT_EQ(Pos(1, 0), posOf(in));
    EXPECT_EQ('a', in.get());
    EXPECT_EQ(Pos(1, 1), posOf(in));
    EXPECT_EQ('b', in.get());
    EXPECT_EQ('\n', in.get());
    EXPECT_EQ(Pos(2, 0), posOf(in));
    in.putback('\n');
    EXPECT_TRUE(in.good());
    EXPECT_EQ(Pos(1, 2), posOf(in));
    EXPECT_EQ('\n', in.get());
    EXPECT_EQ('c', in.get());
    EXPECT_EQ(Pos(2, 1), posOf(in));
    EXPECT_EQ(Traits::eof(), in.get());
    EXPECT_EQ(Pos(2, 1), posOf(in)); // end of file does not advance
}

TEST(ITextDocBuf, TabsCountOneColumnAndPeekingDoesNotAdvance)
{
    Corvale::ITextDocStream in("\t\tx", Corvale::Expand, 8);
    EXPECT_EQ(Corvale::Expand, in.tabMode());
    EXPECT_EQ(8, in.tabSize());
    EXPECT_EQ('\t', in.peek());
    EXPECT_EQ('\t', in.peek());
    EXPECT_EQ(Pos(1, 0), posOf(in));
    in.get();
    in.get();
    EXPECT_EQ(Pos(1, 2), posOf(in));
    EXPECT_EQ('x', in.peek());
}

TEST(ITextDocBuf, PutbackAtTheStartPositionFails)
{
    Corvale::ITextDocStream in("xy", Corvale::Keep, 4, 7, 3);
    EXPECT_EQ(Pos(7, 3), posOf(in));
    in.unget();
    EXPECT_TRUE(in.bad());

    Corvale::ITextDocStream again("xy", Corvale::Keep, 4, 7, 3);
    again.get();
    again.unget();
    EXPECT_TRUE(again.good());
    EXPECT_EQ(Pos(7, 3), posOf(again));
    again.putback('x');
    EXPECT_TRUE(again.bad());
}

// Four characters go back across several line ends and come again with the
// same positions; every way of putting back (a character, unget) and every
// lookahead state (a character held, end of file reached) is covered.
TEST(ITextDocBuf, FourPutbacksAcrossLineEndsRestoreEveryPosition)
{
    const std::string text = "ab\n\ncd\ne";
    for (int readCount : {5, 8}) { // stop inside the text, or at its end
        for (bool useUnget : {false, true}) {
            Corvale::ITextDocStream in(text);
            std::vector<Pos> before;
            std::string read;
            for (int i = 0; i < readCount; ++i) {
                before.push_back(posOf(in));
                read += static_cast<char>(in.get());
            }
            ASSERT_EQ(text.substr(0, static_cast<std::size_t>(readCount)), read);
            const Pos after = posOf(in);
            if (readCount == 8) {
                EXPECT_EQ(Traits::eof(), in.peek());
            }
            in.clear();
            for (int i = 1; i <= 4; ++i) {
                if (useUnget)
                    in.unget();
                else
                    in.putback(read[read.size() - static_cast<std::size_t>(i)]);
                ASSERT_TRUE(in.good()) << readCount << " " << useUnget << " " << i;
                EXPECT_EQ(before[before.size() - static_cast<std::size_t>(i)], posOf(in))
                    << readCount << " " << useUnget << " " << i;
            }
            std::string again;
            for (int i = 0; i < 4; ++i)
                again += static_cast<char>(in.get());
            EXPECT_EQ(read.substr(read.size() - 4), again);
            EXPECT_EQ(after, posOf(in));
        }
    }
}

TEST(ITextDocBuf, TheFifthPutbackOverALineEndLosesTheColumn)
{
    // Stopping before the last character, and at the end of the text.
    for (const char* text : {"a\n\n\n\n\nz", "a\n\n\n\n\n"}) {
        Corvale::ITextDocStream in(text);
        for (int i = 0; i < 6; ++i)
            in.get();
        EXPECT_EQ(Pos(6, 0), posOf(in));
        for (int i = 0; i < 4; ++i)
            in.unget();
        EXPECT_EQ(Pos(2, 0), posOf(in));
        EXPECT_EQ((std::array<int, 4>{-1, -1, -1, -1}), in.textDocBuf().columnHistory());
        in.unget();
        EXPECT_TRUE(in.good()) << text;
        EXPECT_EQ(Pos(1, -1), posOf(in)) << text;
        // Reading on counts lines correctly again.
        EXPECT_EQ('\n', in.get());
        EXPECT_EQ(Pos(2, 0), posOf(in));
    }
}

TEST(ITextDocBuf, PuttingBackADifferentCharacterReadsThatCharacter)
{
    Corvale::ITextDocStream in("abc");
    in.get();
    in.get();
    in.putback('X');
    EXPECT_EQ(Pos(1, 1), posOf(in));
    EXPECT_EQ('X', in.get());
    EXPECT_EQ('c', in.get());
}

TEST(ITextDocBuf, HistoryHoldsTheColumnsOfTheLastFourReads)
{
    Corvale::ITextDocStream in("abc\nde");
    EXPECT_EQ((std::array<int, 4>{-1, -1, -1, -1}), in.textDocBuf().columnHistory());
    for (int i = 0; i < 6; ++i)
        in.get();
    EXPECT_EQ((std::array<int, 4>{2, 3, 0, 1}), in.textDocBuf().columnHistory());
    in.unget();
    EXPECT_EQ((std::array<int, 4>{-1, 2, 3, 0}), in.textDocBuf().columnHistory());
}

// Reading in blocks up to a position gives the characters, positions and
// column history that reading one character at a time gives, and putback
// works the same afterwards.
TEST(ITextDocBuf, BlockReadsAgreeWithCharacterReads)
{
    std::string text;
    unsigned seed = 99;
    for (int i = 0; i < 3 * Corvale::PutbackBuf::BLOCK_SIZE; ++i) {
        seed = seed * 1103515245u + 12345u;
        text += "ab\n\t"[(seed >> 16) % 4];
    }
    Corvale::ITextDocStream bulk(text);
    Corvale::ITextDocStream single(text);
    for (int step = 0; step < 2000 && single.peek() != Traits::eof(); ++step) {
        seed = seed * 1103515245u + 12345u;
        const int lines = static_cast<int>((seed >> 16) % 3);
        const int col = static_cast<int>((seed >> 8) % 9);
        const int line = single.line() + lines;
        const int target = lines == 0 ? single.col() + col : col;
        std::string expected;
        while (Pos(single.line(), single.col()) < Pos(line, target) && single.peek() != Traits::eof())
            expected += static_cast<char>(single.get());
        std::string got(expected.size() + 5, '\0');
        const std::streamsize n = bulk.textDocBuf().readBefore(
            line, target, &got[0], static_cast<std::streamsize>(got.size()));
        got.resize(static_cast<std::size_t>(n));
        ASSERT_EQ(expected, got) << step;
        ASSERT_EQ(posOf(single), posOf(bulk)) << step;
        ASSERT_EQ(single.textDocBuf().columnHistory(), bulk.textDocBuf().columnHistory());
        if (step % 7 == 0 && !expected.empty()) {
            single.unget();
            bulk.unget();
            ASSERT_EQ(posOf(single), posOf(bulk));
            ASSERT_EQ(single.peek(), bulk.peek());
        }
    }
}

TEST(ITextDocBuf, BlockReadsAndLongTextsKeepCount)
{
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "line of text\n";
    text += "tail";
    Corvale::ITextDocStream in(text, Corvale::Keep, 4, 10, 0);
    std::string read(100, '\0');
    in.read(&read[0], 100);
    EXPECT_EQ(text.substr(0, 100), read);
    EXPECT_EQ(Pos(10 + 100 / 13, 100 % 13), posOf(in));
    const std::string rest((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.substr(100), rest);
    EXPECT_EQ(Pos(5010, 4), posOf(in));
    // Putback still works after many block refills.
    in.clear();
    in.unget();
    in.unget();
    EXPECT_EQ(Pos(5010, 2), posOf(in));
    EXPECT_EQ('i', in.get());
}

} // namespace
