#include "Corvale_OIndentStream.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

std::string written(const std::string& indent, bool keep, Corvale::TabMode mode,
                    const std::string& text)
{
    std::ostringstream target;
    {
        Corvale::OIndentStream out(target, indent, keep, mode, 4);
        out << text;
    }
    return target.str();
}

TEST(OIndentStream, IndentsEveryLineAndDropsLeadingWhiteSpace)
{
    using namespace Corvale;
    const struct {
        const char* indent;
        bool keep;
        TabMode mode;
        const char* in;
        const char* out;
    } cases[] = {
        {"    ", false, Keep, "x", "    x"},
        {"    ", false, Keep, "\n", "\n"},
        {"    ", false, Keep, "a\n\nb\n", "    a\n\n    b\n"},
        {"    ", false, Keep, "  x", "    x"},
        {"    ", true, Keep, "  x", "      x"},
        {"    ", false, Keep, " \t\v\f\rx\n \n", "    x\n\n"},
        {"    ", false, Keep, "a  b", "    a  b"},
        {"", false, Keep, "  a\n\tb", "a\nb"},
        {"", true, Keep, "  a\n\tb", "  a\n\tb"},
        {"\t", false, Expand, "x\n  y", "    x\n    y"},
        {"    ", false, Compress, "x\ny", "\tx\n\ty"},
        {"      ", false, Compress, "x", "\t  x"},
        {"\t", false, Compress, "x   y", "\tx   y"},
        // A line continuing a literal is part of it: no indent, blanks kept.
        {"    ", false, Keep, "s = \"ab\\\n   cd\";\n  x", "    s = \"ab\\\n   cd\";\n    x"},
        {"\t", false, Expand, "'\\\n\t'\n\ty", "    '\\\n\t'\n    y"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.out, written(c.indent, c.keep, c.mode, c.in))
            << "indent [" << c.indent << "] keep " << c.keep << " mode " << c.mode
            << " input [" << c.in << "]";
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
