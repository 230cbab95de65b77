#include "Corvale_LineBuf.h"
#include "Corvale_StringOutBuf.h"
#include "Corvale_StringViewBuf.h"

#include <gtest/gtest.h>

#include <istream>
#include <ostream>
#include <string>

namespace {

// Writes that fill the gathering block exactly, cross it, and exceed it in
// one piece must all arrive in order.
TEST(StringOutBuf, KeepsOrderAcrossBlockSizes)
{
    for (std::size_t size : {1u, 4095u, 4096u, 4097u, 20000u}) {
        Corvale::StringOutBuf buf;
        std::ostream out(&buf);
        std::string expected;
        for (int i = 0; i < 3; ++i) {
            const std::string chunk(size, static_cast<char>('a' + i));
            out << chunk;
            out.put('|');
            expected += chunk + "|";
        }
        EXPECT_EQ(expected, buf.text()) << size;
        out << "tail";
        EXPECT_EQ(expected + "tail", buf.take()) << size;
        EXPECT_EQ("", buf.take());
    }
}

// A text far past the room made for it arrives whole and in order through
// text and take, writing may go on after text, and the string taken holds
// little more room than its text (a doubled string could hold twice).
TEST(StringOutBuf, LargeTextsArriveWholeWithoutDoubledRoom)
{
    for (std::size_t room : {0u, 100u, 300000u}) {
        Corvale::StringOutBuf buf;
        buf.reserve(room);
        std::ostream out(&buf);
        std::string expected;
        for (int i = 0; expected.size() < 3000000; ++i) {
            // Pieces of many sizes: single characters, block-sized runs and
            // runs longer than a block.
            const std::size_t size = static_cast<std::size_t>((i * 7919) % 9000);
            const std::string chunk(size, static_cast<char>('a' + i % 26));
            out << chunk;
            out.put('\n');
            expected += chunk + "\n";
            if (i == 500) {
                EXPECT_EQ(expected, buf.text()) << room;
            }
        }
        buf.reserve(expected.size() + 10); // room asked for once pieces exist
        out << "end";
        expected += "end";
        const std::string taken = buf.take();
        EXPECT_EQ(expected, taken) << room;
        EXPECT_LT(taken.capacity(), taken.size() + taken.size() / 4) << room;
        EXPECT_EQ("", buf.take());
        out << "again";
        EXPECT_EQ("again", buf.text());
    }
}

TEST(StringOutBuf, ReuseDropsTheOldContent)
{
    Corvale::StringOutBuf buf;
    std::ostream out(&buf);
    out << "first";
    std::string first = buf.take();
    out << "pending";
    buf.reuse(std::move(first));
    out << "second";
    EXPECT_EQ("second", buf.take());
}

TEST(StringViewBuf, ReadsTheWholeTextWithoutChangingIt)
{
    const std::string text("a\0b\nc", 5);
    Corvale::StringViewBuf view(text);
    std::istream in(&view);
    EXPECT_EQ(text, std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    EXPECT_EQ(std::string("a\0b\nc", 5), text);
}

// The whole-text conversions: every CR LF, lone CR and LF read as one
// newline; every newline written as CR LF, a CR already there kept.
TEST(LineEndConversion, WholeTextsMatchTheBuffer)
{
    const char* const cases[] = {"", "\n", "\r", "\r\n", "a\r\nb\rc\n", "\n\r", "no line end", "x\r\r\n\n\r"};
    for (const char* c : cases) {
        const std::string text(c);
        // A CR LF pair is one newline, so drop the LF after each CR.
        std::string expectedLf;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r') {
                expectedLf += '\n';
                if (i + 1 < text.size() && text[i + 1] == '\n')
                    ++i;
            } else {
                expectedLf += text[i];
            }
        }
        EXPECT_EQ(expectedLf, Corvale::readLf(text)) << text;
        std::string expectedCrLf;
        for (char ch : text)
            expectedCrLf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
        EXPECT_EQ(expectedCrLf, Corvale::writeCrLf(text)) << text;
    }
}

// A target that takes only so many characters: the line buffer reports how
// many of the caller's characters went through, a newline counting once.
class Limited : public std::streambuf {
public:
    explicit Limited(std::size_t limit) : m_Limit(limit) {}
    std::string m_Text;

protected:
    int_type overflow(int_type c) override
    {
        if (m_Text.size() >= m_Limit || traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::eof();
        m_Text += traits_type::to_char_type(c);
        return c;
    }

private:
    std::size_t m_Limit;
};

TEST(LineBufWrite, ReportsWhatAFullTargetTook)
{
    const struct {
        std::size_t limit;
        std::streamsize taken;
        const char* written;
    } cases[] = {
        {0, 0, ""},
        {2, 2, "ab"},
        {3, 2, "ab\r"}, // the CR went out, the newline did not
        {4, 3, "ab\r\n"},
        {5, 4, "ab\r\nc"},
        {100, 5, "ab\r\ncd"},
    };
    for (const auto& c : cases) {
        Limited target(c.limit);
        Corvale::LineBuf lines(&target, Corvale::LineBuf::WRITE_CRLF);
        const std::streamsize n = lines.sputn("ab\ncd", 5);
        EXPECT_EQ(c.taken, n) << c.limit;
        EXPECT_EQ(c.written, target.m_Text) << c.limit;
    }
}

} // namespace
