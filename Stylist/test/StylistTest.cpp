#include "Stylist.h"

#include "Corvale_Exception.h"
#include "Corvale_ITextDocStream.h"
#include "Corvale_OIndentStream.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

namespace {

using Corvale::Compress;
using Corvale::Expand;
using Corvale::Keep;
using Loc = Trn::Location;

TEST(StylistColumns, MeasuresCharactersAndTexts)
{
    EXPECT_EQ(4, Stylist::charWidth('\t', 0, 4));
    EXPECT_EQ(3, Stylist::charWidth('\t', 5, 4));
    EXPECT_EQ(4, Stylist::charWidth('\t', 8, 4));
    EXPECT_EQ(0, Stylist::charWidth('\n', 3, 4));
    EXPECT_EQ(1, Stylist::charWidth('x', 3, 4));
    EXPECT_EQ(1, Stylist::charWidth('\t', 7, 1));

    const struct {
        const char* text;
        int col;
        int tabSize;
        int width;
    } widths[] = {
        {"", 5, 4, 0},
        {"ab\ncd", 0, 4, 4},
        {"ab\tc", 0, 4, 5},
        {"ab\tc", 2, 4, 7},
        {"\t\t", 1, 8, 15},
        {"x\n\t", 6, 4, 5},
    };
    for (const auto& w : widths)
        EXPECT_EQ(w.width, Stylist::textWidth(w.text, w.col, w.tabSize)) << w.text << " " << w.col;

    const struct {
        int col;
        int tabSize;
        int next;
        bool stop;
    } stops[] = {{0, 4, 0, true}, {5, 4, 8, false}, {8, 4, 8, true}, {1, 4, 4, false}, {7, 1, 7, true}};
    for (const auto& s : stops) {
        EXPECT_EQ(s.next, Stylist::nextTabStop(s.col, s.tabSize)) << s.col;
        EXPECT_EQ(s.stop, Stylist::isTabStop(s.col, s.tabSize)) << s.col;
    }
}

TEST(StylistColumns, FindsTheColumnBeforeAText)
{
    EXPECT_EQ(0, Stylist::columnBeforeText("abc", 0, 4));
    EXPECT_EQ(7, Stylist::columnBeforeText("abc", 10, 4));
    EXPECT_EQ(0, Stylist::columnBeforeText("abc", 3, 4));
    EXPECT_EQ(0, Stylist::columnBeforeText("abcdef", 3, 4));
    EXPECT_EQ(5, Stylist::columnBeforeText("", 5, 4));
    // A tab is taken at the running column: from 9, a tab is 3 wide.
    EXPECT_EQ(5, Stylist::columnBeforeText("x\t", 9, 4));
}

TEST(StylistColumns, ColumnDifferenceAndPadding)
{
    EXPECT_EQ(4, Stylist::columnDifference(Loc(3, 2), Loc(3, 6)));
    EXPECT_EQ(0, Stylist::columnDifference(Loc(3, 9), Loc(4, 1)));
    EXPECT_EQ(0, Stylist::columnDifference(Loc(3, 2), Loc(3, 2)));

    EXPECT_EQ(5, Stylist::paddingTo(8, 3, 4));  // before the target
    EXPECT_EQ(1, Stylist::paddingTo(6, 7, 4));  // past it, its stop still ahead
    EXPECT_EQ(10, Stylist::paddingTo(8, 10, 4)); // past its stop: to the stop for 18
    EXPECT_EQ(0, Stylist::paddingTo(8, 8, 4));
    EXPECT_EQ(0, Stylist::paddingTo(0, 0, 4));
    EXPECT_EQ(2, Stylist::paddingTo(5, 3, 1));
}

TEST(StylistColumns, BrokenPreconditionsNameTheirExpression)
{
    const struct {
        std::function<void()> call;
        const char* expression;
    } cases[] = {
        {[] { Stylist::charWidth('x', -1, 4); }, "col >= 0"},
        {[] { Stylist::textWidth("x", 0, -4); }, "tabSize > 0"},
        {[] { Stylist::columnBeforeText("x", -1, 0); }, "tabSize > 0"},
        {[] { Stylist::isTabStop(3, 0); }, "tabSize > 0"},
        {[] { Stylist::columnDifference(Loc(2, 0), Loc(1, 5)); }, "l <= r"},
        {[] { Stylist::paddingTo(-1, 0, 4); }, "targetCol >= 0"},
        {[] { Stylist::paddingTo(0, 0, 0); }, "tab > 0"},
        {[] { Stylist::Padding p(-1); }, "amount >= 0"},
        {[] {
             std::ostringstream target;
             Corvale::OIndentStream out(target);
             Stylist::whitespaceOfWidth(out, -1);
         },
         "size >= 0"},
        {[] {
             std::string text;
             Stylist::readThrough(Loc(1, 1)) >> text;
         },
         "m_pIn != 0"},
        {[] {
             Corvale::ITextDocStream in("abc");
             in.get();
             in.get();
             Stylist::readUpTo(in, Loc(1, 1));
         },
         "Trn::Location(in.line(), in.col()) <= l"},
        {[] {
             Corvale::ITextDocStream in("abc", Keep, 4, 3, 0);
             Stylist::charsUpTo(in, Loc(2, 2));
         },
         "Trn::Location(is.line(), is.col()) <= l"},
    };
    for (const auto& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << c.expression << ": no violation";
        } catch (const Corvale::ContractViolation& v) {
            EXPECT_EQ(c.expression, v.expression());
            EXPECT_EQ("Stylist/src/Stylist.cpp", v.sourceFile());
        }
    }
}

std::string whitespace(Corvale::TabMode mode, const std::string& indent, int size)
{
    std::ostringstream target;
    Corvale::OIndentStream out(target, indent, false, mode, 4);
    return Stylist::whitespaceOfWidth(out, size);
}

TEST(StylistWhitespace, BuildsWhitespaceOfAWidthInEachMode)
{
    const struct {
        Corvale::TabMode mode;
        const char* indent;
        int size;
        const char* expected;
    } cases[] = {
        {Keep, "\t", 0, ""},
        {Compress, "\t", 4, "\t"},
        {Keep, "\t  ", 6, "\t  "},
        // Below the indent.
        {Keep, "\t\t", 6, "      "},
        {Expand, "\t\t", 6, "      "},
        {Compress, "\t\t", 6, "\t  "},
        // Above the indent.
        {Keep, "\t", 10, "\t      "},
        {Expand, "  ", 5, "     "},
        {Compress, "\t", 10, "\t\t  "},
        {Compress, "  ", 3, "   "},       // less than the fill to the stop
        {Compress, "  ", 11, "    \t   "}, // fill, a tab, the rest
        {Compress, "", 9, "\t\t "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, whitespace(c.mode, c.indent, c.size))
            << "mode " << c.mode << " indent [" << c.indent << "] size " << c.size;
}

TEST(StylistWhitespace, PaddingWritesColumnsOfWhitespace)
{
    const struct {
        Corvale::TabMode mode;
        const char* indent;
        const char* before;
        int amount;
        const char* expected;
        int col;
    } cases[] = {
        {Keep, "", "ab", 6, "ab\t\t", 8},
        {Keep, "", "ab", 1, "ab ", 3},
        {Keep, "", "ab", 3, "ab\t ", 5},
        {Compress, "", "abcd", 9, "abcd\t\t ", 13},
        {Expand, "", "ab", 6, "ab      ", 8},
        {Expand, "", "ab", 0, "ab", 2},
        // At the start of a line the indent counts towards the padding.
        {Keep, "    ", "x\n", 10, "    x\n    \t  ", 10},
        {Keep, "    ", "x\n", 2, "    x\n", 0},
        {Expand, "\t", "", 6, "      ", 6},
    };
    for (const auto& c : cases) {
        std::ostringstream target;
        Corvale::OIndentStream out(target, c.indent, false, c.mode, 4);
        out << c.before << Stylist::Padding(c.amount);
        EXPECT_FALSE(out.keepLeadingSpace());
        EXPECT_EQ(c.col, out.col()) << c.before << " " << c.amount;
        out.flush();
        EXPECT_EQ(c.expected, target.str()) << "mode " << c.mode << " [" << c.before << "] "
                                            << c.amount;
    }
    // On a stream that tracks no columns: plain spaces.
    std::ostringstream plain;
    plain << "a" << Stylist::Padding(3) << "b";
    EXPECT_EQ("a   b", plain.str());
}

TEST(StylistCopy, ReadsThroughAndUpToALocation)
{
    const std::string text = "ab\ncde\nf";
    {
        Corvale::ITextDocStream in(text);
        std::string s = "old";
        in >> Stylist::readThrough(Loc(1, 2)) >> s;
        EXPECT_EQ("ab", s);
        in >> Stylist::readUpTo(Loc(2, 3)) >> s;
        EXPECT_EQ("\ncd", s); // the newline and the line up to 'e'
        EXPECT_EQ(2, in.line());
        EXPECT_EQ(2, in.col());
        EXPECT_EQ("e", Stylist::readThrough(in, Loc(2, 3)));
        EXPECT_EQ("", Stylist::readUpTo(in, Loc(2, 3)));
        EXPECT_TRUE(in.good());
        // A location at the start of the next line is that of the newline.
        EXPECT_EQ("\n", Stylist::readThrough(in, Loc(3, 0)));
        // Past the end: the stream fails and the text holds what was read.
        s = "old";
        EXPECT_FALSE(in >> Stylist::readThrough(Loc(9, 9)) >> s);
        EXPECT_EQ("f", s);
    }
    {
        // Reads into a kept string replace what it held.
        Corvale::ITextDocStream in(text);
        std::string s = "a longer text than any read here";
        Stylist::readUpTo(in, Loc(2, 2), s);
        EXPECT_EQ("ab\nc", s);
        Stylist::readThrough(in, Loc(2, 3), s);
        EXPECT_EQ("de", s);
        Stylist::readUpTo(in, Loc(2, 3), s);
        EXPECT_EQ("", s);
        Stylist::readThrough(in, Loc(3, 1), s);
        EXPECT_EQ("\nf", s);
        EXPECT_TRUE(in.good());
    }
}

// Reading up to a location agrees with the plain model: read character by
// character while the location is before it, then put the last character
// back if the location was reached exactly. Every start and target on
// texts with empty lines, tabs and no final newline; after the read both
// streams go on alike.
TEST(StylistCopy, ReadUpToMatchesReadingThroughAndPuttingBack)
{
    struct After {
        std::string text;
        int line, col;
        bool failed;
        std::string rest;
        bool operator==(const After& o) const
        {
            return text == o.text && line == o.line && col == o.col && failed == o.failed && rest == o.rest;
        }
    };
    const auto finish = [](Corvale::ITextDocStream& in, std::string text) {
        After a{std::move(text), in.line(), in.col(), in.fail(), std::string()};
        in.clear();
        for (int c = in.get(); c != EOF; c = in.get())
            a.rest += static_cast<char>(c);
        return a;
    };
    for (const std::string text : {"ab\ncd", "a\n\n\tbc\n", "\n", "xyz", "a\nb\n\nc d"}) {
        for (int fromLine = 1; fromLine <= 2; ++fromLine) {
            for (int fromCol = 0; fromCol <= 2; ++fromCol) {
                for (int line = 1; line <= 5; ++line) {
                    for (int col = 0; col <= 5; ++col) {
                        const Loc from(fromLine, fromCol), to(line, col);
                        if (to < from)
                            continue;
                        SCOPED_TRACE("[" + text + "] from " + std::to_string(fromLine) + ":" +
                                     std::to_string(fromCol) + " to " + std::to_string(line) + ":" +
                                     std::to_string(col));
                        // Both streams first read through from (when the text reaches it).
                        Corvale::ITextDocStream model(text), real(text);
                        while (model.good() && Loc(model.line(), model.col()) < from)
                            model.get();
                        if (!model.good() || Loc(model.line(), model.col()) != from)
                            continue;
                        Stylist::readThrough(real, from);
                        std::string modelText;
                        while (Loc(model.line(), model.col()) < to) {
                            const int c = model.get();
                            if (c == EOF)
                                break;
                            modelText += static_cast<char>(c);
                        }
                        if (!model.fail() && !modelText.empty() && Loc(model.line(), model.col()) == to &&
                            model.putback(modelText.back()))
                            modelText.pop_back();
                        const std::string realText = Stylist::readUpTo(real, to);
                        EXPECT_TRUE(finish(model, modelText) == finish(real, realText));
                    }
                }
            }
        }
    }
}

TEST(StylistCopy, CopiesFollowTheIndentUnlessRaw)
{
    const std::string text = "{\n\t  a = 1;\n    b\n}\n";
    std::ostringstream target;
    Corvale::ITextDocStream in(text);
    {
        Corvale::OIndentStream out(target, "  ", false, Keep, 4);
        EXPECT_EQ(1, Stylist::copyThrough(in, out, Loc(1, 1)));
        out.setIndent("    ");
        EXPECT_EQ(11, Stylist::copyThrough(in, out, Loc(2, 10)));
        out.setIndent("\t");
        EXPECT_EQ(4, Stylist::copyUpToRaw(in, out, Loc(3, 5)));
        EXPECT_EQ("\t", out.indent());
        EXPECT_FALSE(out.keepLeadingSpace());
        EXPECT_EQ(1, Stylist::copyThroughRaw(in, out, Loc(3, 5)));
        Stylist::writeRaw(out, "\n  x");
        EXPECT_EQ(2, Stylist::copyUpTo(in, out, Loc(5, 0)));
        EXPECT_EQ(-1, Stylist::copyThrough(in, out, Loc(6, 0)));
    }
    EXPECT_EQ("  {\n    a = 1;\n    b\n  x\n\t}\n", target.str());
}

TEST(StylistCopy, CountsCharactersUpToALocation)
{
    Corvale::ITextDocStream in("abc\ndef");
    EXPECT_EQ(0, Stylist::charsUpTo(in, Loc(1, 0)));
    EXPECT_EQ(2, Stylist::charsUpTo(in, Loc(1, 3)));
    EXPECT_EQ('c', in.peek()); // the character at the location is put back
    EXPECT_EQ(3, Stylist::charsUpTo(in, Loc(2, 2)));
    EXPECT_EQ('e', in.peek());
    EXPECT_EQ(-1, Stylist::charsUpTo(in, Loc(2, 9))); // runs out first
    Corvale::ITextDocStream jump("ab\ncd");
    EXPECT_EQ(-1, Stylist::charsUpTo(jump, Loc(1, 7))); // the line ends before
}

TEST(StylistCopy, RestOfTextAndWideLines)
{
    Corvale::ITextDocStream in("int x;\nrest\n");
    in.get();
    EXPECT_EQ("nt x;\nrest\n", Stylist::restOfText(in));
    EXPECT_EQ("", Stylist::restOfText(in));

    // The first line is measured from the stream's column; tabs reach stops.
    Corvale::ITextDocStream lines("1234567\n\tabcd\nab\n\n1234567", Keep, 4);
    lines.get();
    lines.get();
    EXPECT_EQ((std::set<int>{1, 2, 5}), Stylist::linesWiderThan(lines, 6));
    Corvale::ITextDocStream none("ab\n", Keep, 4);
    EXPECT_TRUE(Stylist::linesWiderThan(none, 2).empty());
}

// The width of a text is the sum of its characters' widths, each taken at
// the running column, whatever mix of tabs, newlines and long plain runs it
// holds (the measure skips over plain runs whole).
TEST(StylistColumns, TextWidthIsTheSumOfCharacterWidths)
{
    unsigned state = 12345;
    auto next = [&state]() {
        state = state * 1103515245u + 12345u;
        return (state >> 16) & 0x7fff;
    };
    const char alphabet[] = {'\t', '\n', 'a', ' ', '\t', 'b'};
    for (int round = 0; round < 400; ++round) {
        std::string text;
        const unsigned length = next() % 60;
        for (unsigned i = 0; i < length; ++i) {
            if (next() % 5 == 0)
                text.append(next() % 40, 'x'); // a long plain run
            else
                text += alphabet[next() % sizeof alphabet];
        }
        const int col = static_cast<int>(next() % 13);
        const int tabSize = 1 + static_cast<int>(next() % 8);
        int expected = 0;
        int running = col;
        for (char c : text) {
            const int w = Stylist::charWidth(c, running, tabSize);
            expected += w;
            running = c == '\n' ? 0 : running + w;
        }
        EXPECT_EQ(expected, Stylist::textWidth(text, col, tabSize)) << round;
    }
}

} // namespace
