// The pipeline's self-check: which changes pass as whitespace-only or as a
// brace rewrite, where a difference is reported, and that the pipeline
// refuses a broken pass's output.
#include "StylistCpp_Verifier.h"

#include "Corvale_Exception.h"
#include "Cpp.h"
#include "Cpp_Emitter.h"
#include "Cpp_LexerIterator.h"
#include "Cpp_Parser.h"
#include "Cpp_SyntaxTree.h"
#include "StylistCpp.h"
#include "Stylist_SchemeKeys.h"
#include "support/StylistCpp_PassRunner.h"
#include "support/StylistCpp_TokenCompare.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

namespace {

using StylistCpp::FormatPipeline;
using StylistCpp::Verifier::Comparison;
using StylistCpp::Verifier::compareBraceRewrite;
using StylistCpp::Verifier::compareWhitespaceOnly;

struct Case {
    const char* name;
    const char* input;
    const char* output;
};

TEST(Verifier, WhitespaceOnlyChangesPass)
{
    const Case cases[] = {
        {"spacing and lines", "int  main( ){return 0;}\n", "int main()\n{\n    return 0;\n}\n"},
        {"comment inner whitespace", "/*  a\n   b */ int x; // c  d\n", "/* a\n b */\nint x;   // c d\n"},
        {"directive spacing", "#define A\t1 /* x */\n", "#define  A 1   /* x */\n"},
        {"continuation indent", "#define F(x) \\\n  (x + 1)\nint y;\n", "#define F(x) \\\n        (x + 1)\nint y;\n"},
        {"template argument spacing", "std::map< int,std::vector<int> > m;\n", "std::map<int, std::vector<int> > m;\n"},
        {"no text at all", "", "\n"},
        {"qualified operator name across lines", "auto\nH<K,\n  L>::operator=(const H& h) -> H&;\n",
         "auto H<K,\nL>::operator=(const H& h) -> H&;\n"},
    };
    for (const Case& c : cases) {
        const Comparison r = compareWhitespaceOnly(c.input, c.output);
        EXPECT_TRUE(r.same) << c.name << ": " << r.reason << " at " << r.input.line() << ":" << r.input.col();
    }
}

TEST(Verifier, ChangedTokensAreFoundAtTheirPositions)
{
    const struct {
        const char* name;
        const char* input;
        const char* output;
        int inLine, inCol, outLine, outCol;
    } cases[] = {
        {"changed name", "int a = b;\n", "int a =\n    c;\n", 1, 9, 2, 5},
        {"split operator", "x = a >> b;\n", "x = a > > b;\n", 1, 7, 1, 7},
        {"comment words joined", "// a b\nint x;\n", "// ab c\nint x;\n", 1, 1, 1, 1},
        {"directive blank removed", "#define F (x)\n", "#define F(x)\n", 1, 1, 1, 1},
        {"directive string literal spacing", "#define S \"a  b\"\n", "#define S \"a b\"\n", 1, 1, 1, 1},
        {"directive continuation moved", "#define F \\\n  1\n", "#define F 1\n", 1, 1, 1, 1},
        {"lost token at the end", "int x;\n", "int x\n", 1, 6, 1, 5},
        {"braces added", "if (a) x;\n", "if (a) { x; }\n", 1, 8, 1, 8},
        {"qualified operator's class changed", "A<int>::operator=(const A&);\n", "A<long>::operator=(const A&);\n", 1, 1,
         1, 1},
    };
    for (const auto& c : cases) {
        const Comparison r = compareWhitespaceOnly(c.input, c.output);
        ASSERT_FALSE(r.same) << c.name;
        EXPECT_EQ(c.inLine, r.input.line()) << c.name;
        EXPECT_EQ(c.inCol, r.input.col()) << c.name;
        EXPECT_EQ(c.outLine, r.output.line()) << c.name;
        EXPECT_EQ(c.outCol, r.output.col()) << c.name;
    }
}

// The pipeline reads the two texts side by side after a format run and
// compares token sequences after a rewrite: both must find the same
// difference at the same places.
TEST(Verifier, SideBySideReadingAgreesWithTheTokenSequences)
{
    const Case cases[] = {
        {"identical", "int x;\n", "int  x ;\n"},
        {"both empty", "", "\n\n"},
        {"input empty", "", "int x;\n"},
        {"output empty", "int x;\n", "  \n"},
        {"token added at the end", "int x;\n", "int x;;\n"},
        {"token lost at the end", "a b c\n", "a b\n"},
        {"changed in the middle", "f(a, b);\ng(c);\n", "f(a, b);\ng(d);\n"},
        {"unterminated literal kept", "int x; \"abc\n  def\n", "int x;\n\"abc def\n"},
        {"unterminated literal changed", "int x; \"abc\n", "int x; \"abd\n"},
        {"template arguments", "std::map<int,std::vector<int> > m;\n", "std::map<int, std::vector<long> > m;\n"},
        {"template arguments respaced", "A<B ,C<D> > x;\n", "A<B, C<D> >   x;\n"},
        {"comments respaced", "/* a  b */ x; // c\n", "/* a b */\nx;   // c\n"},
        {"comment changed", "/* a b */ x;\n", "/* a\n c */ x;\n"},
        {"directive kept, code after it changed", "#if A\nint x;\n#endif\n", "#if A\nint y;\n#endif\n"},
        {"directive continuation reindented", "#define F \\\n  1\nF;\n", "#define F \\\n 1\nF;\n"},
        {"nested argument lists respaced", "A< B< C<D> > > x;\n", "A<B<C<D> > > x;\n"},
        {"argument tokens joined by respacing", "A<(a - -b)> x;\n", "A<(a--b)> x;\n"},
        {"argument comment respaced", "A<int /* a  b */> x;\n", "A<int /* a b */> x;\n"},
        {"argument comment changed", "A<int /* a b */> x;\n", "A<int /* a c */> x;\n"},
        {"qualified name across lines", "a::\n  b<int>::c x;\n", "a::b< int >::c x;\n"},
        {"comparison in the arguments", "A<(x >= 1)> v;\n", "A<(x>=1)> v;\n"},
        {"name changed after its arguments", "A<int>::b x;\n", "A< int >::c x;\n"},
        // Respacings the name comparison settles without lexing the lists,
        // and near misses it must leave to the lists' tokens.
        {"operators and commas respaced", "A<I-1, (N)*2> x;\n", "A< I - 1,(N) * 2 > x;\n"},
        {"arguments over lines", "A<B,\n    C<D> > x;\n", "A<B, C<D> > x;\n"},
        {"sign before a number respaced", "A<(-1)> x;\n", "A<(- 1)> x;\n"},
        {"exponent sign split", "A<(1e-5)> x;\n", "A<(1e - 5)> x;\n"},
        {"hexadecimal exponent sign split", "A<(0x1p-3)> x;\n", "A<(0x1p -3)> x;\n"},
        {"number after a blank, exponent split", "A<(x, 1e-5)> x;\n", "A<(x, 1e -5)> x;\n"},
        {"dot split from a number", "A<(1.5)> x;\n", "A<(1 .5)> x;\n"},
        {"arrow split", "A<(p->x)> v;\n", "A<(p- >x)> v;\n"},
        {"shift split", "A<(1<<2)> v;\n", "A<(1< <2)> v;\n"},
        {"names joined", "A<unsigned int> v;\n", "A<unsignedint> v;\n"},
        {"blank before a nested list", "A<B <C> > v;\n", "A<B<C> > v;\n"},
        {"destructor name respaced", "A<&B::~C> v;\n", "A<&B::~ C> v;\n"},
        {"string argument respaced", "A<S<\"a b\"> > v;\n", "A<S<\"a  b\"> > v;\n"},
        {"line comment in the arguments", "A<int // c\n, x> v;\n", "A<int // c , x> v;\n"},
    };
    using StylistCpp::Verifier::comparableTokens;
    for (const Case& c : cases) {
        const Comparison streamed = compareWhitespaceOnly(std::string(c.input), std::string(c.output));
        const Comparison sequences = compareWhitespaceOnly(comparableTokens(c.input), comparableTokens(c.output));
        EXPECT_EQ(sequences.same, streamed.same) << c.name;
        EXPECT_EQ(sequences.input, streamed.input) << c.name;
        EXPECT_EQ(sequences.output, streamed.output) << c.name;
        EXPECT_EQ(sequences.reason, streamed.reason) << c.name;
    }
}

// The tokens of a text recorded as the parser reads it.
StylistCpp::Verifier::RecordedTokens recordedTokens(const std::string& text, std::unique_ptr<Cpp::RootNode>* pTree = nullptr)
{
    StylistCpp::Verifier::RecordedTokens recorded(true);
    StylistCpp::Verifier::TokenRecorder recorder(text, recorded);
    Cpp::Parser parser;
    parser.observeTokens(&recorder);
    std::unique_ptr<Cpp::RootNode> pRoot = parser.parse(Cpp::LexerIterator(text.begin(), text.end()), Cpp::LexerIterator());
    recorded.finish();
    if (pTree)
        *pTree = std::move(pRoot);
    return recorded;
}

// The checks read the tokens of the text the format pass starts from as its
// parse recorded them: the recording must hold what lexing the text gives.
TEST(Verifier, RecordedTokensAreTheTextsTokens)
{
    const char* const texts[] = {
        "",
        "  \n\t\n",
        "int main() { return 0; }\n",
        "/* a\n   b */ int x; // c  d\n",
        "#define F(x) \\\n  (x + 1)\n#if A\nint y;\n#endif\n",
        "std :: map < int , std::vector<int> > m;\n",
        "auto s = R\"(a\n  b)\" u8\"x\" L'y';\n",
        "A<(a - -b)>::operator=(const A&);\n",
        "\tint\tx = 0x1p-3 + 1e-5;\n",
        "void f() { if (a) x(); else { y(); } }\n",
        "int \xc3\xa9t\xc3\xa9 = 1; /* \xe2\x82\xac */ int y;\n\n\n  a :: b c;\n",
    };
    for (const char* c : texts) {
        const std::string text = c;
        const StylistCpp::Verifier::RecordedTokens recorded = recordedTokens(text);
        ASSERT_TRUE(recorded.complete()) << text;
        const auto tokens = StylistCpp::Verifier::spelledTokens(text);
        ASSERT_EQ(tokens.size(), recorded.size()) << text;
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            EXPECT_EQ(tokens[i].type, recorded[i].type) << text << " token " << i;
            std::size_t line = 0;
            EXPECT_EQ(tokens[i].start, recorded.start(i, line)) << text << " token " << i;
            // Comments and directives are normalised from the spelling only
            // when they are compared.
            if (tokens[i].type != Cpp::ML_COMMENT && tokens[i].type != Cpp::SL_COMMENT &&
                tokens[i].type != Cpp::PREPROCESSOR) {
                EXPECT_EQ(tokens[i].text, recorded.spelling(recorded[i], text)) << text << " token " << i;
            }
        }
    }
}

// The tree comparison of the rewrite and the final comparison read the
// rewritten text's recorded tokens: they must find what reading the text
// finds, where that does.
TEST(Verifier, RecordedTokensCompareAsTheirText)
{
    const struct {
        const char* name;
        const char* rewriteInput;
        const char* rewritten;
        const char* result;
    } cases[] = {
        {"respaced", "if (a) x;\n", "if (a) { x; }\n", "if (a)\n{\n    x;\n}\n"},
        {"changed", "if (a) x;\n", "if (a) { x; }\n", "if (a)\n{\n    y;\n}\n"},
        {"token lost at the end", "if (a) x;\nint y;\n", "if (a) { x; }\nint y;\n", "if (a) { x; }\nint y\n"},
        {"token added at the end", "if (a) x;\n", "if (a) { x; }\n", "if (a) { x; };\n"},
        {"comment and directive respaced", "#define F(x) \\\n  x\n/* a  b */ if (a) x;\n",
         "#define F(x) \\\n  x\n/* a  b */ if (a) { x; }\n", "#define F(x) \\\n    x\n/* a b */\nif (a) { x; }\n"},
        {"comment changed", "/* a b */ if (a) x;\n", "/* a b */ if (a) { x; }\n", "/* a c */ if (a) { x; }\n"},
        {"folded name respaced", "if (a) std :: f < int > ();\n", "if (a) { std :: f < int > (); }\n",
         "if (a) { std::f<int>(); }\n"},
        {"folded name changed", "if (a) std :: f < int > ();\n", "if (a) { std :: f < int > (); }\n",
         "if (a) { std::g<int>(); }\n"},
        {"unterminated literal at the end", "if (a) x;\n", "if (a) { x; }\n", "if (a) { x; } \"abc\n"},
        {"rewrite re-binds an else", "if (a) { if (b) x; } else y;\n", "if (a) if (b) x; else y;\n",
         "if (a) if (b) x; else y;\n"},
        {"rewrite moves a statement", "if (a) x;\ny;\n", "if (a) { x;\ny; }\n", "if (a) { x;\ny; }\n"},
        {"rewrite changes a token", "if (a) x;\n", "if (a) { z; }\n", "if (a) { z; }\n"},
    };
    for (const auto& c : cases) {
        const std::string input = c.rewriteInput, rewritten = c.rewritten, result = c.result;
        Cpp::Parser parser;
        const auto pA = parser.parse(Cpp::LexerIterator(input.begin(), input.end()), Cpp::LexerIterator());
        std::unique_ptr<Cpp::RootNode> pB;
        const StylistCpp::Verifier::RecordedTokens recorded = recordedTokens(rewritten, &pB);
        const Comparison treesFromRecord = compareBraceRewrite(*pA, input, *pB, recorded, rewritten);
        const Comparison treesFromText = compareBraceRewrite(*pA, input, *pB, rewritten);
        EXPECT_EQ(treesFromText.same, treesFromRecord.same) << c.name;
        EXPECT_EQ(treesFromText.input, treesFromRecord.input) << c.name;
        EXPECT_EQ(treesFromText.output, treesFromRecord.output) << c.name;
        EXPECT_EQ(treesFromText.reason, treesFromRecord.reason) << c.name;
        const Comparison fromRecord = compareWhitespaceOnly(recorded, rewritten, result);
        const Comparison fromText = compareWhitespaceOnly(rewritten, result);
        EXPECT_EQ(fromText.same, fromRecord.same) << c.name;
        EXPECT_EQ(fromText.input, fromRecord.input) << c.name;
        EXPECT_EQ(fromText.output, fromRecord.output) << c.name;
    }
}

TEST(Verifier, BraceRewritesOfSingleStatementsPass)
{
    const Case cases[] = {
        {"braces added", "if (a) x;\nelse y;\n", "if (a) {\n    x;\n} else {\n    y;\n}\n"},
        {"braces removed", "while (a) { x(); }\n", "while (a)\n    x();\n"},
        {"nested added", "for (;;) if (a) x; else y;\n", "for (;;) { if (a) { x; } else { y; } }\n"},
        {"removed around a complete if-else", "if (a) { if (b) x; else z; } else y;\n",
         "if (a) if (b) x; else z; else y;\n"},
        {"added around the inner if of a dangling else", "if (a) if (b) x; else y;\n",
         "if (a) { if (b) { x; } else { y; } }\n"},
        {"whitespace only", "if(a)x;", "if (a)\n    x;\n"},
        {"stray closing brace kept", "}\nwhile (a) x();\n", "}\nwhile (a) { x(); }\n"},
        {"template names respaced", "if (a) std::map< int,B< C > > m;\n", "if (a) { std::map<int, B<C> > m; }\n"},
        {"template name spelled alike on one side only", "if (a) A<B>::f();\n", "if (a) { A< B >::f(); }\n"},
    };
    for (const Case& c : cases) {
        const Comparison r = compareBraceRewrite(c.input, c.output);
        EXPECT_TRUE(r.same) << c.name << ": " << r.reason << " at " << r.input.line() << ":" << r.input.col();
    }
}

TEST(Verifier, BraceRewritesThatChangeMeaningAreFound)
{
    const Case cases[] = {
        {"removal re-binds an else", "if (a) { if (b) x; } else y;\n", "if (a) if (b) x; else y;\n"},
        {"removal re-binds an else to an else-if", "if (a) { if (b) x; else if (c) z; } else y;\n",
         "if (a) if (b) x; else if (c) z; else y;\n"},
        {"insertion re-binds an else", "if (a) if (b) x; else y;\n", "if (a) { if (b) x; } else y;\n"},
        {"changed token", "if (a) x;\n", "if (a) { y; }\n"},
        {"brace left open", "if (a) x;\n", "if (a) { x;\n"},
        {"lone closing brace", "if (a) x;\n", "if (a) x; }\n"},
        {"template argument changed", "if (a) std::vector< int > v;\n", "if (a) { std::vector<long> v; }\n"},
        {"template argument tokens joined", "if (a) A<(b - -c)> x;\n", "if (a) { A<(b--c)> x; }\n"},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(compareBraceRewrite(c.input, c.output).same) << c.name;
}

// Rewrites whose tokens differ only by brace pairs, so that the token
// comparison lets them pass, but which move statements into or out of a
// body or an else to another if: only the tree comparison finds them.
TEST(Verifier, TreeComparisonFindsWhatTheTokensHide)
{
    const char* const MOVED = "moved a statement into or out of a body";
    const struct {
        const char* name;
        const char* input;
        const char* output;
        const char* reason;
        int inLine, inCol, outLine, outCol;
    } cases[] = {
        {"statement moved into a body", "if (a) x;\ny;\n", "if (a) { x;\ny; }\n", MOVED, 2, 1, 2, 1},
        {"statement moved out of a body", "while (a) { x(); y(); }\n", "while (a) x(); y();\n", MOVED, 1, 18, 1, 16},
        {"statement moved out of an else", "if (a) x; else { y; z; }\n", "if (a) x; else y; z;\n", MOVED, 1, 21,
         1, 19},
        {"for body taken over by the next statement", "for (;;) g();\nh();\n", "for (;;) { g();\nh(); }\n", MOVED, 2, 1,
         2, 1},
        {"braces moved from the outer to the inner body", "for (;;) { if (a) x; }\ny;\n",
         "for (;;) if (a) { x;\ny; }\n", MOVED, 2, 1, 2, 1},
        {"else moved out of the inner if", "if (a) if (b) x; else y;\n", "if (a) { if (b) x; } else y;\n",
         "moved an else to another if", 1, 18, 1, 22},
        {"statement moved into the braces of a labelled statement", "void f() { if (q) l: x(); y(); }\n",
         "void f() { if (q) {l: x(); y();} }\n", MOVED, 1, 27, 1, 28},
        {"labelled if given braces before an else", "void f() { if (q) l: if (b) x(); else y(); }\n",
         "void f() { if (q) {l: if (b) x();} else y(); }\n", "changed a construct", 1, 19, 1, 19},
        {"statement declared into a do body", "do x(); while (a);\n", "do { x(); } while (a);\n", "", 0, 0, 0,
         0},
    };
    for (const auto& c : cases) {
        const Comparison r = compareBraceRewrite(c.input, c.output);
        if (c.reason[0] == '\0') {
            EXPECT_TRUE(r.same) << c.name << ": " << r.reason;
            continue;
        }
        ASSERT_FALSE(r.same) << c.name;
        EXPECT_EQ(c.reason, r.reason) << c.name;
        EXPECT_EQ(c.inLine, r.input.line()) << c.name;
        EXPECT_EQ(c.inCol, r.input.col()) << c.name;
        EXPECT_EQ(c.outLine, r.output.line()) << c.name;
        EXPECT_EQ(c.outCol, r.output.col()) << c.name;
    }
}

// Rewrites that keep the meaning, beyond adding or removing one pair.
// The pipeline compares the trees while reading both texts; token lists
// lexed beforehand must give the same answer at the same places.
TEST(Verifier, TreeComparisonReadsTextsAsItReadsTokenLists)
{
    const Case cases[] = {
        {"braces added", "if (a) x;\nelse y;\n", "if (a) {\n    x;\n} else {\n    y;\n}\n"},
        {"braces removed", "while (a) { x(); }\n", "while (a)\n    x();\n"},
        {"else re-bound", "if (a) { if (b) x; } else y;\n", "if (a) if (b) x; else y;\n"},
        {"statement moved", "if (a) x;\ny;\n", "if (a) { x;\ny; }\n"},
        {"template names respaced", "if (a) A< B<C> >::f();\n", "if (a) { A<B<C> >::f(); }\n"},
        {"template argument changed", "if (a) A<B>::f();\n", "if (a) { A<C>::f(); }\n"},
        {"token lost at the end", "if (a) x;\nint y;\n", "if (a) { x; }\nint\n"},
        {"comment respaced", "if (a) /* a  b */ x;\n", "if (a) { /* a b */ x; }\n"},
    };
    using StylistCpp::Verifier::comparableTokens;
    for (const Case& c : cases) {
        const std::string input = c.input, output = c.output;
        Cpp::Parser parser;
        const auto pA = parser.parse(Cpp::LexerIterator(input.begin(), input.end()), Cpp::LexerIterator());
        const auto pB = parser.parse(Cpp::LexerIterator(output.begin(), output.end()), Cpp::LexerIterator());
        const Comparison read = compareBraceRewrite(*pA, input, *pB, output);
        const Comparison lists = compareBraceRewrite(*pA, comparableTokens(input), *pB, comparableTokens(output));
        EXPECT_EQ(lists.same, read.same) << c.name;
        EXPECT_EQ(lists.input, read.input) << c.name;
        EXPECT_EQ(lists.output, read.output) << c.name;
        EXPECT_EQ(lists.reason, read.reason) << c.name;
    }
}

TEST(Verifier, TreeComparisonAcceptsEquivalentBodies)
{
    const Case cases[] = {
        {"two pairs around one statement", "if (a) { { x; } }\n", "if (a) x;\n"},
        {"declaration as the body", "if (a) { int x = f(); }\n", "if (a) int x = f();\n"},
        {"else-if given braces", "if (a) x; else if (b) y;\n", "if (a) { x; } else { if (b) { y; } }\n"},
        {"do body and while", "do { x(); } while (a);\n", "do x(); while (a);\n"},
        {"comment before the body", "if (a) /* c */ x;\n", "if (a) /* c */ { x; }\n"},
        {"bodies inside a function and a class", "struct S { void f() { for (;;) if (a) g(); } };\n",
         "struct S { void f() { for (;;) { if (a) { g(); } } } };\n"},
        {"labelled statement given braces", "void f() { if (q) again: s(); }\n",
         "void f() { if (q) {again: s();} }\n"},
        {"labelled loop given braces", "void f() { if (q) again: while (r) s(); }\n",
         "void f() { if (q) {again: while (r) s();} }\n"},
        {"labelled statement with an else given braces", "void f() { if (q) again: s(); else t(); }\n",
         "void f() { if (q) {again: s();} else t(); }\n"},
        {"labelled statement losing its braces", "void f() { for (;;) { done: x(); } }\n",
         "void f() { for (;;) done: x(); }\n"},
        {"switch body untouched, case bodies rewritten",
         "switch (k) { case 1: if (a) x; break; default: while (b) { y(); } }\n",
         "switch (k) { case 1: if (a) { x; } break; default: while (b) y(); }\n"},
    };
    for (const Case& c : cases) {
        const Comparison r = compareBraceRewrite(c.input, c.output);
        EXPECT_TRUE(r.same) << c.name << ": " << r.reason << " at " << r.input.line() << ":" << r.input.col()
                            << " / " << r.output.line() << ":" << r.output.col();
    }
}

TEST(Verifier, TreeComparisonIsLinear)
{
    // A long text of many rewritten statements, and nesting up to the
    // parser's limit: one walk of each tree.
    std::string in, out;
    for (int i = 0; i < 20000; ++i) {
        in += "void f" + std::to_string(i) + "() { if (a) { x(); } else y(); }\n";
        out += "void f" + std::to_string(i) + "() { if (a) x(); else { y(); } }\n";
    }
    for (int i = 0; i < 60; ++i) {
        in += "void g" + std::to_string(i) + "() {";
        out += "void g" + std::to_string(i) + "() {";
        for (int k = 0; k < 60; ++k) {
            in += "while (a) ";
            out += "while (a) { ";
        }
        in += "x();}\n";
        out += "x();" + std::string(60, '}') + "}\n";
    }
    EXPECT_TRUE(compareBraceRewrite(in, out).same);
}

TEST(Verifier, CostIsLinearInNesting)
{
    // Deeply nested added braces and long inputs are one walk.
    std::string in, out;
    for (int i = 0; i < 20000; ++i) {
        in += "if (a) ";
        out += "if (a) { ";
    }
    in += "x;\n";
    out += "x;" + std::string(20000, '}') + "\n";
    EXPECT_TRUE(compareBraceRewrite(in, out).same);
}

// An emitter that writes its text with one substitution: a stand-in for a
// broken pass.
class SubstitutingEmitter : public Cpp::Emitter {
public:
    SubstitutingEmitter(const std::string& text, std::ostream& work, std::string from, std::string to)
        : m_Text(text), m_Work(work), m_From(std::move(from)), m_To(std::move(to))
    {
    }
    void visitRootNode(Cpp::RootNode&) override
    {
        std::string text = m_Text;
        const std::size_t at = text.find(m_From);
        if (at != std::string::npos)
            text.replace(at, m_From.size(), m_To);
        m_Work << text;
    }

private:
    const std::string& m_Text;
    std::ostream& m_Work;
    std::string m_From, m_To;
};

// A pipeline one of whose passes is replaced by a substitution.
class BrokenPipeline : public FormatPipeline {
public:
    BrokenPipeline(const Stylist::PropertySet& scheme, Pass broken, std::string from, std::string to)
        : FormatPipeline(scheme), m_Broken(broken), m_From(std::move(from)), m_To(std::move(to))
    {
    }
    using FormatPipeline::Pass;

protected:
    std::unique_ptr<Cpp::Emitter> createEmitter(Pass pass, const std::string& text, std::ostream& work) const override
    {
        if (pass == m_Broken)
            return std::make_unique<SubstitutingEmitter>(text, work, m_From, m_To);
        return FormatPipeline::createEmitter(pass, text, work);
    }

private:
    Pass m_Broken;
    std::string m_From, m_To;
};

Stylist::PropertySet scheme(int ifElseBraceStyle)
{
    const std::string bases = std::string(QUILLON_FORMATTER_GOLDEN_DIR) + "/bases";
    Stylist::PropertySet s = StylistCpp::test::readScheme(bases + "/kr.scheme", bases);
    const Stylist::PropertySet wrapOff = StylistCpp::test::readScheme(
        std::string(QUILLON_SOURCE_DIR) + "/StylistCpp/test/golden/LineWrapper/wrap_off.scheme", bases);
    for (const auto& p : wrapOff.bools())
        s.setBool(p.first, p.second);
    for (const auto& p : wrapOff.ints())
        s.setInt(p.first, p.second);
    for (const auto& p : wrapOff.strings())
        s.setString(p.first, p.second);
    s.setInt(Stylist::Key::IF_ELSE_CS_SINGLE_STMT_BRACE_STYLE, ifElseBraceStyle);
    s.setInt(Stylist::Key::FOR_CS_SINGLE_STMT_BRACE_STYLE, 0);
    s.setInt(Stylist::Key::WHILE_CS_SINGLE_STMT_BRACE_STYLE, 0);
    return s;
}

// Runs the pipeline; answers the contract violation's description, or ""
// when format returned normally. out must stay empty on a violation.
std::string violation(FormatPipeline& pipeline, const std::string& text, std::string& out)
{
    std::istringstream in(text);
    std::ostringstream o;
    try {
        pipeline.format(in, o);
    } catch (const Corvale::ContractViolation& e) {
        out = o.str();
        return e.description();
    }
    out = o.str();
    return std::string();
}

TEST(Verifier, PipelineRefusesAPassThatChangesAToken)
{
    const std::string text = "int f() {\n    return 1;\n}\n";
    for (auto pass : {BrokenPipeline::Pass::FORMAT, BrokenPipeline::Pass::WRAP}) {
        BrokenPipeline pipeline(scheme(0), pass, "return 1", "return 2");
        std::string out;
        const std::string what = violation(pipeline, text, out);
        EXPECT_NE(std::string::npos, what.find("DBC Violation: StylistCpp/src/StylistCpp_Verifier.cpp(")) << what;
        EXPECT_NE(std::string::npos, what.find("input line 2 column 12, output line 2 column 12")) << what;
        EXPECT_EQ("", out) << "nothing is written after a failed self-check";
    }
    BrokenPipeline harmless(scheme(0), BrokenPipeline::Pass::WRAP, "return 1", "return   1");
    std::string out;
    EXPECT_EQ("", violation(harmless, text, out));
    EXPECT_EQ("int f() {\n    return   1;\n}\n", out);
}

TEST(Verifier, PipelineRefusesABraceRewriteThatRebindsAnElse)
{
    const std::string text = "void f()\n{\n    if (a) {\n        if (b) x();\n    } else y();\n}\n";
    BrokenPipeline pipeline(scheme(1), BrokenPipeline::Pass::REWRITE, "{\n        if (b) x();\n    }",
                            "if (b) x();");
    std::string out;
    const std::string what = violation(pipeline, text, out);
    EXPECT_NE(std::string::npos, what.find("brace rewrite moved an else to another if")) << what;
    EXPECT_EQ("", out);

    // The real rewrite of the same text passes the check.
    FormatPipeline real(scheme(1));
    EXPECT_EQ("", violation(real, text, out));
    EXPECT_NE(std::string::npos, out.find("} else")) << out;
}

} // namespace

namespace {

// Found by the pipeline fuzzer: a labelled statement as a body without
// braces is one flat node to the parser, a label and a statement once the
// rewrite has put braces around it; the check accepts the rewrite. The
// same holds for the text around a statement given braces.
TEST(Verifier, PipelineAcceptsBracesAroundALabelledStatement)
{
    const Case cases[] = {
        {"labelled loop", "void f()\n{\n    if (q) again: while (r) s();\n}\n",
         "void f() {\n    if (q) {\n        again: while (r)\n                   s();\n    }\n}\n"},
        {"labelled statement before an else", "void f()\n{\n    if (q) again: s();\n    else t();\n}\n",
         "void f() {\n    if (q) {\n        again: s();\n    } else {\n        t();\n    }\n}\n"},
        // A class key and a stray closing brace before the statement: the
        // brace added after the condition must not turn the text from the
        // key on into a class head.
        {"class key before a stray closing brace", "class } if (a) b;\n",
         "class } if (a) {\n            b;\n        }\n"},
    };
    for (const Case& c : cases) {
        FormatPipeline pipeline(scheme(1));
        std::string out;
        EXPECT_EQ("", violation(pipeline, c.input, out)) << c.name;
        EXPECT_EQ(c.output, out) << c.name;
    }
}

} // namespace
