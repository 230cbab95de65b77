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
