#include "Corvale_OIndentStream.h"

#include "support/Corvale_GoldenCases.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

struct Output {
    std::string text;
    int line;
    int col;
};

// Writes text through an indenting stream character by character (the
// overflow path) or in one block (the block path).
Output writeThrough(const std::string& indent, bool keep, Corvale::TabMode mode,
                    const std::string& text, bool byChar)
{
    std::ostringstream target;
    Output result;
    {
        Corvale::OIndentStream out(target, indent, keep, mode, 4);
        if (byChar) {
            for (char c : text)
                out.put(c);
        } else {
            out << text;
        }
        result.line = out.line();
        result.col = out.col();
    }
    result.text = target.str();
    return result;
}

std::string written(const std::string& indent, bool keep, Corvale::TabMode mode,
                    const std::string& text)
{
    return writeThrough(indent, keep, mode, text, true).text;
}

// Texts made of the characters that have rules of their own, written in
// blocks and character by character, in every mode, agree in text and
// position.
TEST(OIndentStream, BlockAndCharacterWritesAgree)
{
    const char alphabet[] = {'a', 'b', ' ', ' ', '\t', '\n', '"', '\'', '\\', '\r'};
    unsigned seed = 12345;
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int length = 1 + round % 60;
        for (int i = 0; i < length; ++i) {
            seed = seed * 1103515245u + 12345u;
            text += alphabet[(seed >> 16) % sizeof alphabet];
        }
        for (Corvale::TabMode mode : {Corvale::Keep, Corvale::Expand, Corvale::Compress}) {
            for (bool keep : {false, true}) {
                const Output block = writeThrough("\t ", keep, mode, text, false);
                const Output byChar = writeThrough("\t ", keep, mode, text, true);
                ASSERT_EQ(byChar.text, block.text) << "mode " << mode << " [" << text << "]";
                ASSERT_EQ(byChar.line, block.line);
                ASSERT_EQ(byChar.col, block.col) << "mode " << mode << " [" << text << "]";
            }
        }
    }
}

// Golden cases: golden/IndentStream/*.cases give the quoted indent, "keep"
// or not and the tab mode, the quoted text written and the quoted text
// expected.
TEST(OIndentStream, IndentsEveryLineAndDropsLeadingWhiteSpace)
{
    const auto cases = CorvaleTest::readGoldenFolder(std::string(QUILLON_STREAM_GOLDEN_DIR) + "/IndentStream");
    EXPECT_GE(cases.size(), 15u) << "cases missing from " << QUILLON_STREAM_GOLDEN_DIR;
    for (const CorvaleTest::GoldenCase& c : cases) {
        SCOPED_TRACE(c.where());
        const std::string& how = c["indent"];
        const std::size_t close = how.rfind('"');
        ASSERT_NE(std::string::npos, close) << how;
        std::istringstream rest(how.substr(close + 1));
        std::string word;
        bool keep = false;
        Corvale::TabMode mode = Corvale::Keep;
        while (rest >> word) {
            if (word == "keep")
                keep = true;
            else
                mode = word == "Expand" ? Corvale::Expand : word == "Compress" ? Corvale::Compress : Corvale::Keep;
        }
        EXPECT_EQ(CorvaleTest::unquoteGolden(c["output"]),
                  written(CorvaleTest::unquoteGolden(how.substr(0, close + 1)), keep, mode,
                          CorvaleTest::unquoteGolden(c["input"])));
    }
}

TEST(OIndentStream, ColumnAfterTheIndentIsItsVisualWidth)
{
    std::ostringstream target;
    Corvale::OIndentStream out(target, "\t  ", false, Corvale::Keep, 4);
    out << 'x';
    EXPECT_EQ(7, out.col());
    out << "\n";
    EXPECT_EQ(2, out.line());
    EXPECT_EQ(0, out.col());
}

TEST(OIndentStream, VerbatimWriteKeepsLeadingBlanksAndRestoresTheSwitch)
{
    std::ostringstream target;
    {
        Corvale::OIndentStream out(target, "  ", false, Corvale::Keep, 4);
        out.writeVerbatim("  a\n\tb");
        EXPECT_FALSE(out.keepLeadingSpace());
        out << "\n  c";
        out.setKeepLeadingSpace(true);
        out.writeVerbatim("\n d");
        EXPECT_TRUE(out.keepLeadingSpace());
    }
    EXPECT_EQ("    a\n  \tb\n  c\n   d", target.str());
}

TEST(OIndentStream, ScopedChangesRestoreThePreviousValues)
{
    std::ostringstream target;
    Corvale::OIndentStream out(target, "\t", false, Corvale::Keep, 4);
    {
        Corvale::ScopedIndent indent(out, "        ");
        Corvale::ScopedKeepLeadingSpace keep(out, true);
        EXPECT_EQ("        ", out.indent());
        EXPECT_TRUE(out.keepLeadingSpace());
        out << " a\n";
    }
    EXPECT_EQ("\t", out.indent());
    EXPECT_FALSE(out.keepLeadingSpace());
    out << " b\n";
    out.flush();
    EXPECT_EQ("         a\n\tb\n", target.str());
}

TEST(OIndentStream, AStreamOnACapturedStateContinuesWhereTheOtherStands)
{
    std::ostringstream target;
    Corvale::OIndentStream out(target, "    ", false, Corvale::Compress, 4, 3, 0);
    out << "int  ";
    out.setIndent("  ");
    const Corvale::OIndentState state = out.state();
    EXPECT_EQ("  ", state.indent);
    EXPECT_FALSE(state.keepLeadingSpace);
    EXPECT_EQ(Corvale::Compress, state.tabMode);
    EXPECT_EQ(4, state.tabSize);
    EXPECT_EQ(3, state.line);
    EXPECT_EQ(9, state.col);

    Corvale::OIndentStream trial(state);
    trial << "x";
    EXPECT_EQ("x", trial.str()); // no indent: the trial starts at column 9
    EXPECT_EQ(10, trial.col());
    trial << "\ny    ";
    EXPECT_EQ(4, trial.line());
    EXPECT_EQ("x\n  y    ", trial.str()); // held-back spaces included
    // The original stream is untouched by the trial.
    EXPECT_EQ(9, out.col());
}

TEST(OIndentStream, WritesOntoAnotherIndentingStream)
{
    std::ostringstream target;
    Corvale::OIndentStream outer(target, "  ", false, Corvale::Keep, 4);
    outer << "a\n";
    {
        Corvale::OIndentStream inner(outer, "", true, Corvale::Expand, 4, outer.line(), outer.col());
        inner << "\tb";
    }
    // The inner stream's expanded tab arrives at the outer stream as leading
    // blanks, which the outer one drops before writing its own indent.
    EXPECT_EQ(2, outer.line());
    EXPECT_EQ(3, outer.col());
    outer.flush();
    EXPECT_EQ("  a\n  b", target.str());
}

} // namespace
