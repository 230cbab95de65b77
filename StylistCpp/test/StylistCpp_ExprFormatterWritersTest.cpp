// The writers the formatter uses for comments and directives, and the enum
// initialiser aligner.
#include "Corvale_Exception.h"
#include "Corvale_ITextDocStream.h"
#include "Corvale_OIndentStream.h"
#include "Stylist.h"
#include "StylistCpp_ExprFormatter.h"
#include "StylistCpp_ExprFormatterTestSupport.h"
#include "support/StylistCpp_TokenCompare.h"

#include <gtest/gtest.h>

namespace {

using namespace StylistCppTest;
namespace Key = Stylist::Key;
using StylistCpp::ExprFormatter;
using Trn::Location;

// Writes prefix to a fresh indenting stream, then hands text from start to
// end to the writer; answers what the stream holds.
template <typename Write>
std::string written(const std::string& text, const std::string& prefix, const std::string& indent, Write write)
{
    Corvale::ITextDocStream in(text, Corvale::Keep, 4);
    Corvale::OIndentState state;
    state.indent = indent;
    state.tabSize = 4;
    Corvale::OIndentStream out(state);
    out << prefix;
    write(in, out);
    out.flush();
    return out.str();
}

TEST(ExprFormatterWriters, MultiLineKeepsContinuationOffsets)
{
    ExprFormatter f(exprScheme());
    struct Row {
        std::string text;
        Location start, end;
        std::string prefix;
        std::string expected;
    };
    const std::vector<Row> table = {
        // The comment moves from column 4 to column 2: its other lines
        // move with it.
        {"    /* a\n       b\n     c */x", {1, 5}, {3, 9}, "xx", "xx/* a\n     b\n   c */"},
        // Continuation lines less indented than the first character lose
        // only their blanks.
        {"        /* a\n  b */", {1, 9}, {2, 6}, "", "/* a\nb */"},
        // One line: copied as it stands.
        {"/* one */ rest", {1, 1}, {1, 9}, "x ", "x /* one */"},
        // A directive ending in its newline.
        {"#define A \\\n      B\n", {1, 1}, {3, 0}, "", "#define A \\\n      B\n"},
    };
    for (const Row& r : table) {
        const std::string out = written(r.text, r.prefix, "", [&](Corvale::ITextDocStream& in, Corvale::OIndentStream& o) {
            // The caller has placed the output where the first character goes.
            Stylist::readUpTo(in, r.start);
            f.writeMultiLine(r.start, r.end, in, o);
        });
        EXPECT_EQ(r.expected, out) << r.text;
    }
}

TEST(ExprFormatterWriters, CommentWriter)
{
    ExprFormatter f(exprScheme());
    const std::string text = "// line  \n";
    EXPECT_EQ("    // line  \n", written(text, "", "    ", [&](Corvale::ITextDocStream& in, Corvale::OIndentStream& o) {
                  f.writeComment(true, Location(1, 1), Location(2, 0), in, o);
              }));
    const std::string block = "  /* a\n     b */";
    EXPECT_EQ("\t/* a\n\t   b */", written(block, "", "\t", [&](Corvale::ITextDocStream& in, Corvale::OIndentStream& o) {
                  f.writeComment(false, Location(1, 3), Location(2, 9), in, o);
              }));
}

TEST(ExprFormatterWriters, DirectiveInEachPlacement)
{
    const std::string text = "  #define A \\\n     B\n";
    struct Row {
        Overrides overrides;
        std::string expected;
    };
    const std::vector<Row> table = {
        {{}, "  #define A \\\n     B\n"},
        {{{Key::ALIGN_PPD_LEFT_MOST, "b:false"}}, "    #define A \\\n       B\n"},
        {{{Key::ALIGN_PPD_LEFT_MOST, "b:true"}}, "#define A \\\n   B\n"},
        {{{Key::ALIGN_PPD_LEFT_MOST, "b:true"}, {Key::LEFT_MARGIN, "\t"}}, "\t#define A \\\n\t   B\n"},
    };
    for (const Row& r : table) {
        ExprFormatter f(exprScheme(r.overrides));
        EXPECT_EQ(r.expected, written(text, "", "    ", [&](Corvale::ITextDocStream& in, Corvale::OIndentStream& o) {
                      f.writeDirective(Location(1, 3), Location(3, 0), in, o);
                  }));
    }
}

TEST(ExprFormatterEnumAligner, AlignsFirstAssignmentPerLineToATabStop)
{
    struct Row {
        Overrides overrides;
        Corvale::TabMode mode;
        std::string text;
        std::string expected;
    };
    const std::string list = "A = 1,\n    Bcd = 2,\n    E,\n    Fghij= 3";
    const std::vector<Row> table = {
        {{}, Corvale::Expand, list, "A       = 1,\n    Bcd     = 2,\n    E,\n    Fghij   = 3"},
        {{}, Corvale::Keep, list, "A\t\t= 1,\n    Bcd\t\t= 2,\n    E,\n    Fghij\t= 3"},
        // Only the first assignment of a line counts.
        {{}, Corvale::Expand, "A = B = 1,\n    Cc |= 2", "A   = B = 1,\n    Cc  |= 2"},
        // Comments and directives between the enumerators.
        {{}, Corvale::Expand, "A = 1, // one\n#ifdef X\n    Bb = 2, /* two\n       lines */\n#endif\n    C",
         "A   = 1, // one\n#ifdef X\n    Bb  = 2, /* two\n             lines */\n#endif\n    C"},
        // Nothing to align.
        {{}, Corvale::Expand, "A,\n    B", "A,\n    B"},
    };
    for (const Row& r : table) {
        ExprFormatter f(exprScheme(r.overrides));
        Corvale::OIndentState pos = f.position(4, "    ");
        pos.tabMode = r.mode;
        const std::string out = StylistCpp::alignEnumInitializers(f, r.text, pos);
        EXPECT_EQ(r.expected, out) << r.text;
        EXPECT_TRUE(sameTokens(r.text, out));
    }
}

} // namespace
