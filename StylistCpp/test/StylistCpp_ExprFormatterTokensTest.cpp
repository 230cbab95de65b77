// Whatever the input and the scheme, the expression formatter changes only
// whitespace: its output lexes to the input's tokens. Checked over random
// token soups and over statements cut from real headers, with schemes whose
// whitespace strings are empty, blanks or line breaks.
#include "Cpp.h"
#include "Cpp_LexerIterator.h"
#include "StylistCpp_ExprFormatter.h"
#include "StylistCpp_ExprFormatterTestSupport.h"
#include "support/StylistCpp_TokenCompare.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

namespace {

using namespace StylistCppTest;
namespace Key = Stylist::Key;
using StylistCpp::ExprFormatter;

const char* const WS_KEYS[] = {
    Key::WS_BETWEEN_EXPR_OP_OPERANDS, Key::WS_BETWEEN_UNARY_OP_OPERAND, Key::WS_BETWEEN_CAST_OPERAND,
    Key::WS_AFTER_FN_CALL_NAME,       Key::WS_BEFORE_FN_CALL_COMMA,     Key::WS_BETWEEN_FN_CALL_ARGS,
    Key::WS_AFTER_EXPR_OPEN_PAREN,    Key::WS_BEFORE_EXPR_CLOSE_PAREN,  Key::WS_BEFORE_LBRACKET,
    Key::WS_AFTER_LBRACKET,           Key::WS_BEFORE_RBRACKET,          Key::WS_BETWEEN_AMPERSAND_ANCHOR,
    Key::WS_BETWEEN_ASTERISK_ANCHOR,  Key::WS_AFTER_TP_OPEN_BRACKET,    Key::WS_BEFORE_TP_CLOSE_BRACKET,
    Key::WS_BETWEEN_TP_PARAMS,        Key::WS_BEFORE_DD_OPEN_BRACE,     Key::WS_AFTER_DD_OPEN_BRACE,
    Key::WS_BEFORE_DD_CLOSE_BRACE,    Key::WS_BEFORE_DD_COMMA,          Key::WS_BETWEEN_DD_ELEMENTS,
};

// Every whitespace key set to value, with the given anchors and switches.
Overrides uniform(const std::string& value, const char* anchor, const char* ppd, const char* wrap,
                  const char* convert = "i:0")
{
    Overrides o;
    for (const char* k : WS_KEYS)
        o.emplace_back(k, value);
    o.emplace_back(Key::ASTERISK_ANCHOR, anchor);
    o.emplace_back(Key::AMPERSAND_ANCHOR, anchor);
    o.emplace_back(Key::ALIGN_PPD_LEFT_MOST, ppd);
    o.emplace_back(Key::GLOBAL_LINE_WRAP, wrap);
    o.emplace_back(Key::CONVERT_WS, convert);
    return o;
}

std::vector<Overrides> schemes()
{
    return {
        uniform("", "i:0", "-", "b:false"),
        uniform("", "i:1", "b:true", "b:true"),
        uniform(" ", "i:-1", "b:false", "b:false"),
        uniform("\n", "i:1", "-", "b:true", "i:1"),
        uniform("\t ", "i:0", "b:true", "b:false", "i:2"),
    };
}

void checkAll(const std::string& text, std::vector<ExprFormatter>& formatters)
{
    for (ExprFormatter& f : formatters) {
        const std::string e = f.formatExpression(text, f.position(3, "  "));
        ASSERT_TRUE(sameTokens(text, e)) << "expression";
        const std::string d = f.formatDeclarator(text, f.position(0), " ");
        ASSERT_TRUE(sameTokens(text, d)) << "declarator";
    }
}

std::vector<ExprFormatter> makeFormatters()
{
    std::vector<ExprFormatter> fs;
    for (const Overrides& o : schemes())
        fs.emplace_back(exprScheme(o));
    return fs;
}

TEST(ExprFormatterTokens, RandomTokenSoup)
{
    const std::vector<std::string> vocabulary = {
        "a", "b1", "x_", "int", "char", "unsigned", "const", "return", "throw", "sizeof", "new", "delete",
        "operator", "template", "typename", "class", "static_cast", "reinterpret_cast", "this", "~", "~a",
        "0", "1.5", "1e", "0x1Fu", "'c'", "\"s\"", "L\"w\"", "u8\"t\"", "+", "-", "*", "/", "%", "&", "|",
        "^", "!", "=", "<", ">", "<<", ">>", "<=", ">=", "==", "!=", "&&", "||", "++", "--", "+=", "->",
        "->*", ".", ".*", "::", "::b", "a::b", "?", ":", ",", ";", "(", ")", "[", "]", "{", "}",
        "v<int>", "A<B<C> >::d", "/*c*/", "// line\n", "\n#if X\n", "\n#endif\n", "\\\n", "@", "$"};
    const std::vector<std::string> blanks = {"", "", "", " ", "  ", "\t", "\n", "\n  "};
    std::vector<ExprFormatter> formatters = makeFormatters();
    std::mt19937 rng(20241205);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int n = 1 + static_cast<int>(rng() % 24);
        for (int i = 0; i < n; ++i) {
            text += vocabulary[rng() % vocabulary.size()];
            text += blanks[rng() % blanks.size()];
        }
        SCOPED_TRACE(text);
        checkAll(text, formatters);
        if (HasFatalFailure())
            return;
    }
}

// Odd bytes: control characters, carriage returns, bytes above 127. (Only
// with tabs kept: the output stream's own tracking of quoted text cannot
// follow a stray backslash before a quote.)
TEST(ExprFormatterTokens, RandomBytes)
{
    std::vector<ExprFormatter> formatters = makeFormatters();
    formatters.erase(formatters.begin() + 3, formatters.end());
    std::mt19937 rng(99);
    const std::string common = "ab1_ +-*/&|<>=!~^%?:;,.()[]{}'\"#\\\n\t\r";
    for (int round = 0; round < 1500; ++round) {
        std::string text;
        const int n = 1 + static_cast<int>(rng() % 40);
        for (int i = 0; i < n; ++i)
            text += rng() % 4 == 0 ? static_cast<char>(rng() % 256) : common[rng() % common.size()];
        SCOPED_TRACE(text);
        checkAll(text, formatters);
        if (HasFatalFailure())
            return;
    }
}

// Statements and declarations cut from installed headers at ';', '{' and
// '}', and each header whole.
TEST(ExprFormatterTokens, PiecesOfRealHeaders)
{
    const char* const headers[] = {"/usr/include/stdio.h", "/usr/include/c++/12/bits/stl_vector.h",
                                   "/usr/include/c++/12/bits/basic_string.h", "/usr/include/c++/12/tuple",
                                   "/usr/include/c++/12/bits/stl_algo.h", "/usr/include/x86_64-linux-gnu/bits/stat.h"};
    std::vector<ExprFormatter> formatters = makeFormatters();
    int pieces = 0;
    for (const char* path : headers) {
        std::ifstream in(path);
        if (!in)
            continue;
        std::stringstream buffer;
        buffer << in.rdbuf();
        const std::string text = buffer.str();
        // Offsets of line starts, to cut at token locations.
        std::vector<std::size_t> lineStart{0, 0};
        for (std::size_t i = 0; i < text.size(); ++i)
            if (text[i] == '\n')
                lineStart.push_back(i + 1);
        std::size_t from = 0;
        Cpp::LexerIterator it(text.begin(), text.end()), end;
        for (; it != end && !it.stuck(); ++it) {
            const std::int32_t t = it->type();
            if (t != Cpp::SEMICOLON && t != Cpp::LBRACE && t != Cpp::RBRACE)
                continue;
            const std::size_t to = lineStart[static_cast<std::size_t>(it->start().line())] +
                                   static_cast<std::size_t>(it->start().col()) - 1;
            const std::string piece = text.substr(from, to + 1 - from);
            from = to + 1;
            SCOPED_TRACE(std::string(path) + ": " + piece);
            checkAll(piece, formatters);
            if (HasFatalFailure())
                return;
            ++pieces;
        }
        SCOPED_TRACE(path);
        checkAll(text, formatters);
        if (HasFatalFailure())
            return;
    }
    if (pieces == 0)
        GTEST_SKIP() << "no headers installed";
}

// Deep nesting is copied beyond a bounded depth instead of exhausting the
// stack, and still keeps every token.
TEST(ExprFormatterTokens, DeepNesting)
{
    std::vector<ExprFormatter> formatters = makeFormatters();
    const int depth = 20000;
    std::string calls;
    for (int i = 0; i < depth; ++i)
        calls += "f( -a,";
    calls += "x";
    for (int i = 0; i < depth; ++i)
        calls += " )";
    std::string braces = "= ";
    for (int i = 0; i < depth; ++i)
        braces += "{1, ";
    for (int i = 0; i < depth; ++i)
        braces += "}";
    std::string templates = "a";
    for (int i = 0; i < 2000; ++i)
        templates += "< b";
    for (int i = 0; i < 2000; ++i)
        templates += " >";
    for (const std::string* text : {&calls, &braces, &templates}) {
        ExprFormatter& f = formatters[0];
        const std::string out = f.formatExpression(*text, f.position(0));
        EXPECT_TRUE(sameTokens(*text, out));
    }
}

} // namespace
