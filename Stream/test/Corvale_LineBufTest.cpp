#include "Corvale_LineBuf.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

std::string readThrough(const std::string& raw)
{
    std::istringstream source(raw);
    Corvale::LineBuf lines(source.rdbuf(), Corvale::LineBuf::WRITE_LF);
    std::istream in(&lines);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string writeThrough(const std::string& text, int mode)
{
    std::ostringstream sink;
    Corvale::LineBuf lines(sink.rdbuf(), mode);
    std::ostream out(&lines);
    out << text;
    return sink.str();
}

TEST(LineBufRead, EveryLineEndBecomesOneNewline)
{
    const struct {
        const char* raw;
        const char* expected;
    } cases[] = {
        {"a\r\nb\rc\n", "a\nb\nc\n"},
        {"", ""},
        {"\r", "\n"},
        {"\r\r\n\n", "\n\n\n"},
        {"\n\r", "\n\n"},
        {"no line end", "no line end"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, readThrough(c.raw)) << "input: " << c.raw;
}

TEST(LineBufRead, KeepsNulAndHighBytes)
{
    const std::string raw("a\0\xff\r\n", 5);
    EXPECT_EQ(std::string("a\0\xff\n", 4), readThrough(raw));
}

TEST(LineBufRead, LongInputsCrossBlockBoundaries)
{
    // A CR LF pair split exactly at the end of a block, and inputs several
    // blocks long in each line-end convention.
    for (int before : {Corvale::LineBuf::BLOCK_SIZE - 1, Corvale::LineBuf::BLOCK_SIZE,
                       Corvale::LineBuf::BLOCK_SIZE + 1}) {
        std::string raw(static_cast<std::size_t>(before), 'x');
        raw += "\r\nend\r";
        std::string expected(static_cast<std::size_t>(before), 'x');
        expected += "\nend\n";
        EXPECT_EQ(expected, readThrough(raw)) << before;
    }
    std::string raw, expected;
    for (int i = 0; i < 20000; ++i) {
        raw += (i % 3 == 0) ? "line\r\n" : (i % 3 == 1) ? "line\r" : "line\n";
        expected += "line\n";
    }
    EXPECT_EQ(expected, readThrough(raw));
}

TEST(LineBufRead, PutsBackFourCharactersAcrossARefill)
{
    std::string raw(static_cast<std::size_t>(Corvale::LineBuf::BLOCK_SIZE), 'a');
    raw += "bcde";
    raw.replace(raw.size() - 8, 4, "wxyz");
    std::istringstream source(raw);
    Corvale::LineBuf lines(source.rdbuf(), 2);
    for (int i = 0; i < Corvale::LineBuf::BLOCK_SIZE; ++i)
        lines.sbumpc();
    // The next read refills; the last four characters of the old block stay
    // available for putback.
    EXPECT_EQ('b', lines.sbumpc());
    EXPECT_EQ('b', lines.sungetc());
    EXPECT_EQ('z', lines.sungetc());
    EXPECT_EQ('y', lines.sungetc());
    EXPECT_EQ('x', lines.sungetc());
    EXPECT_EQ('w', lines.sungetc());
    EXPECT_EQ(std::char_traits<char>::eof(), lines.sungetc());
    EXPECT_EQ('w', lines.sbumpc());
    // Putting back a different character stores it.
    EXPECT_EQ('Q', lines.sputbackc('Q'));
    EXPECT_EQ('Q', lines.sbumpc());
    EXPECT_EQ('x', lines.sbumpc());
}

TEST(LineBufRead, PutbackAtTheStartFails)
{
    std::istringstream source("abc");
    Corvale::LineBuf lines(source.rdbuf(), 2);
    EXPECT_EQ(std::char_traits<char>::eof(), lines.sungetc());
}

TEST(LineBufWrite, ModeChoosesTheLineEnd)
{
    EXPECT_EQ("a\r\nb\r\n", writeThrough("a\nb\n", Corvale::LineBuf::WRITE_CRLF));
    EXPECT_EQ("a\nb\n", writeThrough("a\nb\n", Corvale::LineBuf::WRITE_LF));
    EXPECT_EQ("a\nb", writeThrough("a\nb", 0));
    // A CR already in the text is passed through; the buffer only
    // translates newlines.
    EXPECT_EQ("\r\r\n", writeThrough("\r\n", Corvale::LineBuf::WRITE_CRLF));
}

TEST(LineBufWrite, RoundTripOfALargeText)
{
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text += "int x" + std::to_string(i) + ";\n";
    const std::string crlf = writeThrough(text, Corvale::LineBuf::WRITE_CRLF);
    EXPECT_EQ(text.size() + 10000, crlf.size());
    EXPECT_EQ(text, readThrough(crlf));
}

} // namespace
