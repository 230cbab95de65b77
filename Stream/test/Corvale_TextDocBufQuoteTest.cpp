// Literal tracking of the output buffers over real C++ text: which tabs and
// spaces are inside a literal (kept) and which are outside (converted).
#include "Corvale_OIndentStream.h"
#include "Corvale_OTextDocBuf.h"
#include "Corvale_OTextDocStream.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

struct Written {
    std::string text;
    int line;
    int col;
    bool inQuotes;
};

// Writes text character by character and as one block; both must agree.
Written write(Corvale::TabMode mode, const std::string& text)
{
    Written byChar{};
    {
        std::stringbuf target(std::ios_base::out);
        Corvale::OTextDocBuf buf(&target, mode, 4, 1, 0);
        for (char c : text)
            buf.sputc(c);
        buf.pubsync();
        byChar = {target.str(), buf.line(), buf.col(), buf.inQuotes()};
    }
    std::stringbuf target(std::ios_base::out);
    Corvale::OTextDocBuf buf(&target, mode, 4, 1, 0);
    Corvale::OTextDocStream out(&buf);
    out << text << std::flush;
    EXPECT_EQ(byChar.text, target.str()) << text;
    EXPECT_EQ(byChar.col, out.col()) << text;
    EXPECT_EQ(byChar.inQuotes, buf.inQuotes()) << text;
    return byChar;
}

TEST(TextDocBufQuote, FollowsTheLexicalRulesOfLiterals)
{
    using namespace Corvale;
    const struct {
        TabMode mode;
        const char* in;
        const char* out;
        bool inQuotes; // at the end
    } cases[] = {
        // Digit separators are no quotes.
        {Expand, "x = 1'000; c = '\t';\t", "x = 1'000; c = '\t';  ", false},
        {Expand, "1'000'000 + '\t'", "1'000'000 + '\t'", false},
        {Expand, "0x1'F + 1e+5 + 0x1p-3 + '\t'", "0x1'F + 1e+5 + 0x1p-3 + '\t'", false},
        {Expand, "a2'\t'\t", "a2'\t'   ", false},
        {Expand, ".5'\t'", ".5' '", true},
        // Quotes in comments open nothing.
        {Expand, "/* it's */ c = '\t';\t", "/* it's */ c = '\t';  ", false},
        {Expand, "// don't\nc = '\t';\t", "// don't\nc = '\t';  ", false},
        {Expand, "/* \"a\n b\" */\t", "/* \"a\n b\" */  ", false},
        {Expand, "// \"\n\t", "// \"\n    ", false},
        {Expand, "// it's \\\n 'x' \"\t", "// it's \\\n 'x' \"  ", false},
        {Expand, "/* x *//'\t'", "/* x *//'\t'", false},
        {Expand, "a / b; '\t'", "a / b; '\t'", false},
        {Expand, "/*/ '\t' */", "/*/ '   ' */", false},
        {Expand, "\"//\"\t", "\"//\"    ", false},
        {Expand, "'/*'\t", "'/*'    ", false},
        // Raw strings: quotes and newlines inside do not end them.
        {Expand, "R\"(a\t\")\t)\"\t", "R\"(a\t\")\t)\"  ", false},
        {Expand, "u8R\"x(a)\"\t)x\"\t", "u8R\"x(a)\"\t)x\" ", false},
        {Expand, "LR\"d()d)\"\t)d\"\t", "LR\"d()d)\"\t)d\" ", false},
        {Expand, "uR\"(\n\t)\"\t", "uR\"(\n\t)\"  ", false},
        {Expand, "UR\"--(\n\t)-\"\t", "UR\"--(\n\t)-\"\t", true},
        {Compress, "R\"(\n    )\"", "R\"(\n    )\"", false},
        {Compress, "R\"(    )\"\n    x", "R\"(    )\"\n\tx", false},
        // Only an encoding prefix makes a raw string.
        {Expand, "FOR\"(\t\"\t", "FOR\"(\t\"   ", false},
        {Expand, "R \"\t\"\t", "R \"\t\"   ", false},
        // A delimiter that cannot be one leaves an ordinary string.
        {Expand, "R\"a b(\t\"\t", "R\"a b(\t\"   ", false},
        {Expand, "R\"12345678901234567(\t\"\t", "R\"12345678901234567(\t\"   ", false},
        // Encoding prefixes of character literals.
        {Expand, "u8'\t'\t", "u8'\t'   ", false},
        {Expand, "L\"\t\"\t", "L\"\t\"   ", false},
        // A user-defined literal's suffix follows its literal.
        {Expand, "\"a\"_s + '\t'", "\"a\"_s + '\t'", false},
    };
    for (const auto& c : cases) {
        const Written w = write(c.mode, c.in);
        EXPECT_EQ(c.out, w.text) << "mode " << c.mode << " input [" << c.in << "]";
        EXPECT_EQ(c.inQuotes, w.inQuotes) << "mode " << c.mode << " input [" << c.in << "]";
    }
}

TEST(TextDocBufQuote, VerbatimTextMovesThePositionAndTheTracking)
{
    std::stringbuf target(std::ios_base::out);
    Corvale::OTextDocBuf buf(&target, Corvale::Compress, 4, 1, 0);
    buf.sputn("x = R", 5);
    const std::string raw = "\"(\n    \t)\";";
    EXPECT_EQ(static_cast<std::streamsize>(raw.size()), buf.putVerbatim(raw.data(), static_cast<std::streamsize>(raw.size())));
    EXPECT_EQ(2, buf.line());
    EXPECT_EQ(11, buf.col());
    EXPECT_FALSE(buf.inQuotes());
    buf.sputn("     '    '", 11);
    buf.pubsync();
    EXPECT_EQ("x = R\"(\n    \t)\"; \t'    '", target.str());
}

TEST(TextDocBufQuote, LinesInsideARawStringTakeNoIndent)
{
    for (bool byChar : {false, true}) {
        std::ostringstream target;
        {
            Corvale::OIndentStream out(target, "  ", false, Corvale::Expand, 4);
            const std::string text = "s = R\"(\n\tit's\n  \"x\"\n)\";\n// it's\n\ty;\n";
            if (byChar) {
                for (char c : text)
                    out.put(c);
            } else {
                out << text;
            }
        }
        EXPECT_EQ("  s = R\"(\n\tit's\n  \"x\"\n)\";\n  // it's\n  y;\n", target.str()) << byChar;
    }
}

} // namespace

namespace {

// Random texts over the characters the literal tracking cares about,
// written in random blocks (whose plain runs are tracked a run at a time)
// and character by character: after every block both buffers agree on the
// literal state, and in the end on the text and position.
TEST(TextDocBufQuote, BlockTrackingAgreesWithCharacterTracking)
{
    const char alphabet[] = "aR8uLx_1e.+-p'\"/*\\()d \t\n;";
    const std::size_t letters = sizeof alphabet - 1;
    unsigned seed = 2024;
    auto next = [&seed](unsigned bound) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % bound;
    };
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int length = 1 + round % 80;
        for (int i = 0; i < length; ++i)
            text += alphabet[next(static_cast<unsigned>(letters))];
        for (Corvale::TabMode mode : {Corvale::Keep, Corvale::Expand, Corvale::Compress}) {
            std::stringbuf charTarget(std::ios_base::out), blockTarget(std::ios_base::out);
            Corvale::OTextDocBuf byChar(&charTarget, mode, 4, 1, 0);
            Corvale::OTextDocBuf byBlock(&blockTarget, mode, 4, 1, 0);
            std::size_t done = 0;
            while (done < text.size()) {
                const std::size_t n = std::min<std::size_t>(text.size() - done, 1 + next(12));
                for (std::size_t k = done; k < done + n; ++k)
                    byChar.sputc(text[k]);
                byBlock.sputn(text.data() + done, static_cast<std::streamsize>(n));
                done += n;
                ASSERT_EQ(byChar.inQuotes(), byBlock.inQuotes()) << "[" << text << "] at " << done;
                ASSERT_EQ(byChar.spliceOpen(), byBlock.spliceOpen()) << "[" << text << "] at " << done;
            }
            byChar.pubsync();
            byBlock.pubsync();
            ASSERT_EQ(charTarget.str(), blockTarget.str()) << "[" << text << "] mode " << mode;
            ASSERT_EQ(byChar.col(), byBlock.col());
            ASSERT_EQ(byChar.line(), byBlock.line());
        }
    }
}

} // namespace
