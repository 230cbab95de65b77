// Lexer tests, grouped by rule. Most tables compare a compact dump of the
// token stream: NAME[text] per token, keywords as KEY[word].
#include "Cpp_LexerIterator.h"

#include "Corvale_Exception.h"
#include "Cpp.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using Trn::Location;
using Trn::Token;

std::string typeName(std::int32_t type)
{
    static const char* const names[] = {
        "PP",         "CHAR",      "NUMBER",     "?3",          "STRING",    "SEMICOLON",
        "COLON",      "COMMA",     "LPAREN",     "RPAREN",      "LBRACE",    "RBRACE",
        "EQUALS",     "STAR",      "AMPERSAND",  "LBRACKET",    "RBRACKET",  "SLASH",
        "DOT",        "PLUS",      "MINUS",      "EXCLAMATION", "TILDE",     "ARROW",
        "PLUS_PLUS",  "MINUS_MINUS", "PERCENT",  "SHIFT_LEFT",  "SHIFT_RIGHT", "LESS",
        "GREATER",    "LESS_EQUALS", "GREATER_EQUALS", "EQUALS_EQUALS", "NOT_EQUALS", "CARET",
        "PIPE",       "STAR_EQUALS", "SLASH_EQUALS", "PERCENT_EQUALS", "PLUS_EQUALS", "MINUS_EQUALS",
        "SHIFT_LEFT_EQUALS", "SHIFT_RIGHT_EQUALS", "AMPERSAND_EQUALS", "CARET_EQUALS", "PIPE_EQUALS",
        "AND_AND",    "OR_OR",     "QUESTION",   "DOT_STAR",    "ARROW_STAR", "BACKSLASH"};
    if (type >= 0 && type <= Cpp::BACKSLASH)
        return names[type];
    if (Cpp::isKeywordType(type))
        return "KEY";
    switch (type) {
    case Cpp::SL_COMMENT:
        return "SL";
    case Cpp::ML_COMMENT:
        return "ML";
    case Cpp::ML_COMMENT_UNPARSED:
        return "UNPARSED";
    case Cpp::IDENTIFIER:
        return "ID";
    case Trn::END_OF_FILE:
        return "STUCK";
    }
    return "?" + std::to_string(type);
}

std::string escape(const std::string& s)
{
    std::string out;
    for (char c : s)
        out += c == '\n' ? std::string("\\n") : std::string(1, c);
    return out;
}

std::string locations(const Token& t)
{
    return std::to_string(t.start().line()) + ":" + std::to_string(t.start().col()) + "-" +
           std::to_string(t.end().line()) + ":" + std::to_string(t.end().col());
}

// All tokens up to the end, and the stuck token if an unterminated literal
// ends the stream.
std::vector<Token> lexAll(const std::string& text)
{
    std::vector<Token> tokens;
    Cpp::LexerIterator it(text.begin(), text.end()), end;
    for (; it != end && !it.stuck(); ++it)
        tokens.push_back(*it);
    if (it.stuck())
        tokens.push_back(Token(Trn::END_OF_FILE, Location(), Location()));
    return tokens;
}

std::string dump(const std::string& text)
{
    std::string out;
    for (const Token& t : lexAll(text)) {
        if (!out.empty())
            out += ' ';
        out += typeName(t.type());
        if (!t.text().empty())
            out += "[" + escape(t.text()) + "]";
    }
    return out;
}

std::string dumpLocations(const std::string& text)
{
    std::string out;
    for (const Token& t : lexAll(text))
        out += (out.empty() ? "" : " ") + locations(t);
    return out;
}

struct Row {
    const char* input;
    const char* expected;
};

void checkRows(const std::vector<Row>& rows)
{
    for (const Row& r : rows)
        EXPECT_EQ(r.expected, dump(r.input)) << "input: " << escape(r.input);
}

// ---------------------------------------------------------------- operators

TEST(LexerOperators, LongestMatchForEveryOperator)
{
    const struct {
        const char* text;
        std::int32_t type;
    } rows[] = {
        {"!", Cpp::EXCLAMATION}, {"!=", Cpp::NOT_EQUALS}, {"%", Cpp::PERCENT},
        {"%=", Cpp::PERCENT_EQUALS}, {"&", Cpp::AMPERSAND}, {"&&", Cpp::AND_AND},
        {"&=", Cpp::AMPERSAND_EQUALS}, {"(", Cpp::LPAREN}, {")", Cpp::RPAREN},
        {"*", Cpp::STAR}, {"*=", Cpp::STAR_EQUALS}, {"+", Cpp::PLUS}, {"++", Cpp::PLUS_PLUS},
        {"+=", Cpp::PLUS_EQUALS}, {",", Cpp::COMMA}, {"-", Cpp::MINUS}, {"--", Cpp::MINUS_MINUS},
        {"-=", Cpp::MINUS_EQUALS}, {"->", Cpp::ARROW}, {"->*", Cpp::ARROW_STAR}, {".", Cpp::DOT},
        {".*", Cpp::DOT_STAR}, {"/", Cpp::SLASH}, {"/=", Cpp::SLASH_EQUALS}, {":", Cpp::COLON},
        {";", Cpp::SEMICOLON}, {"<", Cpp::LESS}, {"<<", Cpp::SHIFT_LEFT},
        {"<<=", Cpp::SHIFT_LEFT_EQUALS}, {"<=", Cpp::LESS_EQUALS}, {"=", Cpp::EQUALS},
        {"==", Cpp::EQUALS_EQUALS}, {">", Cpp::GREATER}, {">=", Cpp::GREATER_EQUALS},
        {">>", Cpp::SHIFT_RIGHT}, {">>=", Cpp::SHIFT_RIGHT_EQUALS}, {"?", Cpp::QUESTION},
        {"[", Cpp::LBRACKET}, {"]", Cpp::RBRACKET}, {"^", Cpp::CARET}, {"^=", Cpp::CARET_EQUALS},
        {"{", Cpp::LBRACE}, {"}", Cpp::RBRACE}, {"|", Cpp::PIPE}, {"||", Cpp::OR_OR},
        {"|=", Cpp::PIPE_EQUALS}, {"~", Cpp::TILDE},
    };
    for (const auto& r : rows) {
        // Alone, and followed by a blank so the next token cannot stick.
        for (const std::string& text : {std::string(r.text), std::string(r.text) + " +"}) {
            const auto tokens = lexAll(text);
            ASSERT_FALSE(tokens.empty()) << r.text;
            EXPECT_EQ(r.type, tokens[0].type()) << r.text;
            EXPECT_EQ(r.text, tokens[0].text());
            EXPECT_EQ(Location(1, 1), tokens[0].start());
            EXPECT_EQ(Location(1, static_cast<std::int32_t>(std::string(r.text).size())), tokens[0].end());
        }
    }
}

TEST(LexerOperators, SequencesAndSkippedCharacters)
{
    checkRows({
        {"a->*b", "ID[a] ARROW_STAR[->*] ID[b]"},
        {"x>>=1", "ID[x] SHIFT_RIGHT_EQUALS[>>=] NUMBER[1]"},
        {"i+++j", "ID[i] PLUS_PLUS[++] PLUS[+] ID[j]"},
        {"a&&&b", "ID[a] AND_AND[&&] AMPERSAND[&] ID[b]"},
        {"a?b:c", "ID[a] QUESTION[?] ID[b] COLON[:] ID[c]"},
        {"...", "DOT[.] DOT[.] DOT[.]"},
        // Characters no rule uses are skipped; "$" and bytes above 127
        // (UTF-8) belong to names.
        {"$a @ `b", "ID[$a] ID[b]"},
        {"caf\xc3\xa9 = \xc3\xa9t\xc3\xa9;", "ID[caf\xc3\xa9] EQUALS[=] ID[\xc3\xa9t\xc3\xa9] SEMICOLON[;]"},
        {"~\xc3\xa9", "ID[~\xc3\xa9]"},
        {"a\x01\x7f`@b", "ID[a] ID[b]"},
        // A backslash with blanks and a newline is a token; any other backslash is skipped.
        {"a \\  \nb", "ID[a] BACKSLASH[\\  \\n] ID[b]"},
        {"a \\\r\nb", "ID[a] BACKSLASH[\\\r\\n] ID[b]"},
        {"a \\ b", "ID[a] ID[b]"},
        {"\\", ""},
        {" \t\r\n\v\f", ""},
        {"a\rb", "ID[a] ID[b]"},
    });
    // NUL bytes and high bytes inside the text.
    const std::string binary("a\0b\x01\x7f\x80\xff;", 9);
    EXPECT_EQ("ID[a] ID[b] ID[\x80\xff] SEMICOLON[;]", [&] {
        std::string out;
        for (const Token& t : lexAll(binary))
            out += (out.empty() ? "" : " ") + typeName(t.type()) + "[" + t.text() + "]";
        return out;
    }());
}

// ----------------------------------------------------------------- comments

TEST(LexerComments, TextTypeAndLocations)
{
    checkRows({
        {"a // note\nb", "ID[a] SL[// note\\n] ID[b]"},
        {"// last line", "SL[// last line]"},
        {"/* one */x", "ML[/* one */] ID[x]"},
        {"/* two\n lines */", "ML[/* two\\n lines */]"},
        {"/* open\n to the end", "ML[/* open\\n to the end]"},
        {"/**/", "ML[/**/]"},
        {"/*/ x */", "ML[/*/ x */]"},
        {"a/ /b", "ID[a] SLASH[/] SLASH[/] ID[b]"},
    });
    EXPECT_EQ("1:3-2:0 2:1-2:1", dumpLocations("a // note\nb").substr(8));
    EXPECT_EQ("1:1-2:9", dumpLocations("/* two\n lines */"));
}

// -------------------------------------------------------------- identifiers

TEST(LexerIdentifiers, NamesQualifiedNamesAndKeywords)
{
    checkRows({
        {"std :: vector < int > v;", "ID[std] ID[::vector] LESS[<] KEY[int] GREATER[>] ID[v] SEMICOLON[;]"},
        {"std::vector<int> v;", "ID[std::vector<int>] ID[v] SEMICOLON[;]"},
        {"x = ~mask;", "ID[x] EQUALS[=] ID[~mask] SEMICOLON[;]"},
        {"x = ~ mask;", "ID[x] EQUALS[=] TILDE[~] ID[mask] SEMICOLON[;]"},
        {"~_Impl()", "ID[~_Impl] LPAREN[(] RPAREN[)]"},
        {"~1", "TILDE[~] NUMBER[1]"},
        {"A::~A()", "ID[A::~A] LPAREN[(] RPAREN[)]"},
        {"Foo::operator=", "KEY[Foo::operator] EQUALS[=]"},
        {"::new T", "KEY[::new] ID[T]"},
        {"A::B::delete", "KEY[A::B::delete]"},
        {"A:: B", "ID[A::B]"},
        {"A::\n  B", "ID[A::B]"},
        {"int C::*p;", "KEY[int] ID[C::] STAR[*] ID[p] SEMICOLON[;]"},
        {"::", "ID[::]"},
        {"a:b", "ID[a] COLON[:] ID[b]"},
        {"Class CLASS class", "ID[Class] ID[CLASS] KEY[class]"},
        {"_x1 x_2 __y", "ID[_x1] ID[x_2] ID[__y]"},
        {"A::template", "ID[A::template]"},
    });
}

TEST(LexerIdentifiers, ValuesAndLocations)
{
    const auto tokens = lexAll("  std::string s;\nFoo::operator");
    ASSERT_EQ(4u, tokens.size());
    EXPECT_EQ(Token::STRING_VALUE, tokens[0].valueKind());
    EXPECT_EQ("std::string", tokens[0].stringValue());
    EXPECT_EQ(Location(1, 3), tokens[0].start());
    EXPECT_EQ(Location(1, 13), tokens[0].end());
    EXPECT_EQ(Cpp::OPERATOR_KEY, tokens[3].type());
    EXPECT_EQ(Token::NO_VALUE, tokens[3].valueKind());
    EXPECT_EQ("2:1-2:13", locations(tokens[3]));
    // Blanks after '::' are left out of the text but not out of the extent.
    EXPECT_EQ("1:1-2:3", dumpLocations("A::\n  B"));
    EXPECT_EQ("1:1-1:3 1:5-1:5", dumpLocations("C:: *"));
}

TEST(LexerIdentifiers, TemplateScan)
{
    checkRows({
        {"vector<int> v", "ID[vector<int>] ID[v]"},
        {"map<string, vector<int> > m", "ID[map<string, vector<int> >] ID[m]"},
        {"A<(x>y)> a", "ID[A<(x>y)>] ID[a]"},
        {"A<B>::type t", "ID[A<B>::type] ID[t]"},
        {"pair<int,\n   int> p", "ID[pair<int,\\n   int>] ID[p]"},
        {"a<b>>c", "ID[a<b>] GREATER[>] ID[c]"},
        {"X<Y<Z>> x", "ID[X<Y<Z>>] ID[x]"},
        // Failures: the name ends before the '<'.
        {"a<b;", "ID[a] LESS[<] ID[b] SEMICOLON[;]"},
        {"a < b && c > d", "ID[a] LESS[<] ID[b] AND_AND[&&] ID[c] GREATER[>] ID[d]"},
        {"a<b && c>d", "ID[a] LESS[<] ID[b] AND_AND[&&] ID[c] GREATER[>] ID[d]"},
        {"if (a<b) c>d", "KEY[if] LPAREN[(] ID[a] LESS[<] ID[b] RPAREN[)] ID[c] GREATER[>] ID[d]"},
        {"a<b|c>d", "ID[a] LESS[<] ID[b] PIPE[|] ID[c] GREATER[>] ID[d]"},
        {"a<b/c>d", "ID[a] LESS[<] ID[b] SLASH[/] ID[c] GREATER[>] ID[d]"},
        {"a<b", "ID[a] LESS[<] ID[b]"},
        {"x<<y", "ID[x] SHIFT_LEFT[<<] ID[y]"},
        // Keywords never take template arguments.
        {"template<class T>", "KEY[template] LESS[<] KEY[class] ID[T] GREATER[>]"},
        {"static_cast<int>(x)", "KEY[static_cast] LESS[<] KEY[int] GREATER[>] LPAREN[(] ID[x] RPAREN[)]"},
        {"operator<(x) > 0", "KEY[operator] LESS[<] LPAREN[(] ID[x] RPAREN[)] GREATER[>] NUMBER[0]"},
        {"bool V::operator<(V o) { return n > o.n; }",
         "KEY[bool] KEY[V::operator] LESS[<] LPAREN[(] ID[V] ID[o] RPAREN[)] LBRACE[{] KEY[return] "
         "ID[n] GREATER[>] ID[o] DOT[.] ID[n] SEMICOLON[;] RBRACE[}]"},
    });
}

// The scan results are remembered; they must be exactly those of a scan run
// afresh from each "<". Random texts over the characters the scan looks at.
bool naiveScan(const std::string& s, std::size_t lt, std::size_t& close)
{
    int angle = 1, paren = 0;
    for (std::size_t i = lt + 1; i < s.size(); ++i) {
        switch (s[i]) {
        case '(':
            ++paren;
            break;
        case ')':
            if (paren == 0)
                return false;
            --paren;
            break;
        case '<':
            if (paren == 0)
                ++angle;
            break;
        case '>':
            if (paren == 0 && --angle == 0) {
                close = i;
                return true;
            }
            break;
        case ';':
        case '&':
        case '|':
        case '/':
            return false;
        }
    }
    return false;
}

TEST(LexerIdentifiers, RememberedTemplateScansMatchFreshScans)
{
    std::mt19937 random(12345);
    const char alphabet[] = "aab<<>>(),; \n";
    for (int round = 0; round < 400; ++round) {
        std::string text;
        const int length = 1 + static_cast<int>(random() % 60);
        for (int i = 0; i < length; ++i)
            text += alphabet[random() % (sizeof(alphabet) - 1)];
        // Offsets of line starts, to turn locations into offsets.
        std::vector<std::size_t> lineStart{0, 0};
        for (std::size_t i = 0; i < text.size(); ++i)
            if (text[i] == '\n')
                lineStart.push_back(i + 1);
        auto offset = [&](const Location& l) { return lineStart[l.line()] + l.col() - 1; };
        for (const Token& t : lexAll(text)) {
            if (t.type() != Cpp::IDENTIFIER)
                continue;
            // Every "<" inside the token closed a successful scan.
            const std::size_t begin = offset(t.start());
            const std::size_t end = offset(t.end()) + 1;
            std::size_t close = 0;
            for (std::size_t i = text.find('<', begin); i < end; i = text.find('<', close + 1)) {
                ASSERT_TRUE(naiveScan(text, i, close)) << escape(text) << " at " << i;
                ASSERT_LT(close, end);
            }
            // A "<" right after the token (not "<<") is a failed scan.
            if (end + 1 < text.size() && text[end] == '<' && text[end + 1] != '<') {
                EXPECT_FALSE(naiveScan(text, end, close)) << escape(text) << " at " << end;
            }
        }
    }
}

// ------------------------------------------------------------------ numbers

TEST(LexerNumbers, DigitsSuffixesAndWhatFollows)
{
    checkRows({
        {"0x1Fu", "NUMBER[0x1Fu]"},
        {"1.5e-3f", "NUMBER[1.5e-3f]"},
        {"10UL", "NUMBER[10UL]"},
        {"2.0L", "NUMBER[2.0L]"},
        {"1e10", "NUMBER[1e10]"},
        {".5", "DOT[.] NUMBER[5]"},
        {"1.2.3", "NUMBER[1.2] DOT[.] NUMBER[3]"},
        {"7;", "NUMBER[7] SEMICOLON[;]"},
        {"a[3]", "ID[a] LBRACKET[[] NUMBER[3] RBRACKET[]]"},
        {"x-1", "ID[x] MINUS[-] NUMBER[1]"},
        {"1+2", "NUMBER[1] PLUS[+] NUMBER[2]"},
        {"10.f", "NUMBER[10.f]"},
        {"0XABCDEFul", "NUMBER[0XABCDEFul]"},
        {"0x1.8p3", "NUMBER[0x1.8p3]"},
        // Letters and digits that follow directly stay with the number.
        {"3i64", "NUMBER[3i64]"},
        {"1st", "NUMBER[1st]"},
        {"0b1010", "NUMBER[0b1010]"},
        {"10ms+1", "NUMBER[10ms] PLUS[+] NUMBER[1]"},
        {"1.5_km", "NUMBER[1.5_km]"},
        // Digit separators.
        {"1'000'000;", "NUMBER[1'000'000] SEMICOLON[;]"},
        {"0xFF'FF", "NUMBER[0xFF'FF]"},
        {"f(1,'a')", "ID[f] LPAREN[(] NUMBER[1] COMMA[,] CHAR['a'] RPAREN[)]"},
    });
    const auto tokens = lexAll("  42 ");
    ASSERT_EQ(1u, tokens.size());
    EXPECT_EQ("1:3-1:4", locations(tokens[0]));
    EXPECT_EQ(Token::NO_VALUE, tokens[0].valueKind());
}

// ----------------------------------------------------------------- literals

TEST(LexerLiterals, TextAndValue)
{
    const struct {
        const char* input;
        std::int32_t type;
        const char* text;
        std::string value; // for char literals: the byte as a one-character string
    } rows[] = {
        {"\"abc\"", Cpp::STRING_LITERAL, "\"abc\"", "abc"},
        {"\"a\\\"b\"", Cpp::STRING_LITERAL, "\"a\\\"b\"", "a\"b"},
        {"\"\\\\\\n\\r\\t\\v\"", Cpp::STRING_LITERAL, "\"\\\\\\n\\r\\t\\v\"", "\\\n\r\t\v"},
        {"\"\\x41\\0\"", Cpp::STRING_LITERAL, "\"\\x41\\0\"", "x410"},
        {"\"\"", Cpp::STRING_LITERAL, "\"\"", ""},
        {"\"line\\\nnext\"", Cpp::STRING_LITERAL, "\"line\\\nnext\"", "line\nnext"},
        {"\"line\\  \nnext\"", Cpp::STRING_LITERAL, "\"line\\  \nnext\"", "line  \nnext"},
        {"\"to the end", Cpp::STRING_LITERAL, "\"to the end", "to the end"},
        {"\"ends in \\", Cpp::STRING_LITERAL, "\"ends in \\", "ends in "},
        {"'a'", Cpp::CHAR_LITERAL, "'a'", "a"},
        {"'\\n'", Cpp::CHAR_LITERAL, "'\\n'", "\n"},
        {"'\\''", Cpp::CHAR_LITERAL, "'\\''", "'"},
        {"'ab'", Cpp::CHAR_LITERAL, "'ab'", "a"},
        {"'\"'", Cpp::CHAR_LITERAL, "'\"'", "\""},
        // Prefixes and suffixes stay with their literal.
        {"L\"wide\"", Cpp::STRING_LITERAL, "L\"wide\"", "wide"},
        {"u8\"x\"", Cpp::STRING_LITERAL, "u8\"x\"", "x"},
        {"L'x'", Cpp::CHAR_LITERAL, "L'x'", "x"},
        {"\"abc\"s", Cpp::STRING_LITERAL, "\"abc\"s", "abc"},
        {"R\"(a\\n\"b)\"", Cpp::STRING_LITERAL, "R\"(a\\n\"b)\"", "a\\n\"b"},
        {"R\"x(one\ntwo)\")x\"", Cpp::STRING_LITERAL, "R\"x(one\ntwo)\")x\"", "one\ntwo)\""},
        {"u8R\"(raw)\"", Cpp::STRING_LITERAL, "u8R\"(raw)\"", "raw"},
        {"R\"(unclosed", Cpp::STRING_LITERAL, "R\"(unclosed", "unclosed"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(escape(r.input));
        const auto tokens = lexAll(r.input);
        ASSERT_EQ(1u, tokens.size());
        EXPECT_EQ(r.type, tokens[0].type());
        EXPECT_EQ(r.text, tokens[0].text());
        if (r.type == Cpp::CHAR_LITERAL) {
            EXPECT_EQ(Token::BYTE_VALUE, tokens[0].valueKind());
            EXPECT_EQ(static_cast<unsigned char>(r.value[0]), tokens[0].byteValue());
        } else {
            EXPECT_EQ(r.value, tokens[0].stringValue());
        }
    }
    EXPECT_EQ("1:1-2:5", dumpLocations("\"line\\\nnext\""));
    EXPECT_EQ("ID[L] ID[x]", dump("L x"));
    EXPECT_EQ("ID[Lx] STRING[\"a\"]", dump("Lx\"a\""));
}

TEST(LexerLiterals, UnterminatedLiteralsStopTheStream)
{
    checkRows({
        {"a = \"open\nb;", "ID[a] EQUALS[=] STUCK"},
        {"c = 'x\nd;", "ID[c] EQUALS[=] STUCK"},
        {"e = '';", "ID[e] EQUALS[=] STUCK"},
        {"f = '", "ID[f] EQUALS[=] STUCK"},
        {"L\"open\nx", "STUCK"},
        {"\"ok\" \"open\n", "STRING[\"ok\"] STUCK"},
    });
    const std::string text = "x = \"open\ny;";
    Cpp::LexerIterator it(text.begin(), text.end()), end;
    ++it;
    ++it;
    ASSERT_TRUE(it.stuck());
    EXPECT_EQ(Location(1, 9), it.position()); // stopped before the newline
    EXPECT_NE(end, it);
    const Cpp::LexerIterator before = it;
    ++it; // does not advance
    EXPECT_EQ(before, it);
    try {
        *it;
        FAIL() << "dereferencing a stuck iterator must be a contract violation";
    } catch (const Corvale::ContractViolation& v) {
        EXPECT_EQ("x.policies().m_Current.type() != Trn::END_OF_FILE", v.expression());
    }
}

// -------------------------------------------------------------- directives

TEST(LexerDirectives, LinesContinuationsAndComments)
{
    checkRows({
        {"#include <vector>\nint", "PP[#include <vector>\\n] KEY[int]"},
        {"  # define X\n", "PP[# define X\\n]"},
        {"#define A(x) \\\n  (x)\nB", "PP[#define A(x) \\\\n  (x)\\n] ID[B]"},
        {"#define A \\  \n 1\n", "PP[#define A \\  \\n 1\\n]"},
        {"#define A 1 // one\nB", "PP[#define A 1 ] SL[// one\\n] ID[B]"},
        {"#define A 1 /* one */\nB", "PP[#define A 1 /* one */\\n] ID[B]"},
        {"#define A 1 /* one\n two */ B", "PP[#define A 1 ] ML[/* one\\n two */] ID[B]"},
        {"#define A /* a */ 1 /* b */ 2\n", "PP[#define A /* a */ 1 /* b */ 2\\n]"},
        {"#endif", "PP[#endif]"},
        {"#", "PP[#]"},
        {"a # b\nc", "ID[a] PP[# b\\n] ID[c]"},
        // Quoted text in a directive is passed over whole.
        {"#define URL \"http://x\" // c\n", "PP[#define URL \"http://x\" ] SL[// c\\n]"},
        {"#error don't // c\n", "PP[#error don't ] SL[// c\\n]"},
        {"#error \\' \\' // c\n", "PP[#error \\' \\' ] SL[// c\\n]"},
        {"#define Q '\\'' // c\n", "PP[#define Q '\\'' ] SL[// c\\n]"},
        {"#define S \"a /* b\"\nx", "PP[#define S \"a /* b\"\\n] ID[x]"},
    });
    EXPECT_EQ("1:1-2:0 2:1-2:1", dumpLocations("#x\ny"));
    EXPECT_EQ("1:1-1:12 1:13-2:7 2:9-2:9", dumpLocations("#define A 1 /* one\n two */ B"));
}

TEST(LexerDirectives, IfZeroBlocksFoldIntoOneToken)
{
    checkRows({
        {"#if 0\nint x;\n#endif\ny", "PP ID[y]"},
        {"# if  0 // off\nx\n#else\ny\n#endif\nz", "PP ID[z]"},
        {"#if 0\n#ifdef X\n#if 0\n#endif\n#endif\n#endif\nafter",
         "PP ID[after]"},
        {"#if 0\n#ifndef X\n#endif\nstill inside", "PP"},
        {"#if 0\n\"#endif\"\n/* #endif */\n// #endif\n#endif\nz", "PP ID[z]"},
        {"#if 0\ndon't 'stop\n#endif\nz", "PP ID[z]"},
        {"#if 0 /* two\n lines */\n#endif\nz", "PP ID[z]"},
        {"#if 0\n#endif /* after\n */ z", "PP ML[/* after\\n */] ID[z]"},
        {"#if 1\n#endif", "PP[#if 1\\n] PP[#endif]"},
        {"#ifdef ZERO\n#endif", "PP[#ifdef ZERO\\n] PP[#endif]"},
        // A format-off comment inside the block is a region of its own: the
        // "#endif" inside it does not count.
        {"#if 0\n// QUILLON-OFF\n#endif\n// QUILLON-ON\nx\n#endif\ny", "PP ID[y]"},
    });
    EXPECT_EQ("1:1-3:0 3:1-3:1", dumpLocations("#if 0\n#endif\ny"));
    EXPECT_EQ("1:1-3:5", dumpLocations("#if 0\nx\nabcde"));
}

// ------------------------------------------------------------------ regions

TEST(LexerRegions, CommentMarkers)
{
    checkRows({
        {"// QL-FORMAT-OFF\nint  a;\n\nint  b;\n// QL-FORMAT-ON\nint c;", "UNPARSED KEY[int] ID[c] SEMICOLON[;]"},
        {"/* QUILLON-OFF */ x /* QUILLON-ON */ y", "UNPARSED ID[y]"},
        {"//QUILLON-OFF: keep\nx\n//   QUILLON-ON and more\ny", "UNPARSED ID[y]"},
        // Only the matching on marker closes.
        {"// QUILLON-OFF\n// QL-FORMAT-ON\nx", "UNPARSED"},
        // Markers inside literals and directives do not count.
        {"// QUILLON-OFF\ns = \"// QUILLON-ON\";\n// QUILLON-ON\nx", "UNPARSED ID[x]"},
        {"// QUILLON-OFF\n#define X /* QUILLON-ON\n*/\ny", "UNPARSED ID[y]"},
        // Prose in the region never opens a literal that swallows the marker.
        {"// QUILLON-OFF\ndon't; n = 1'000; // QUILLON-ON\nx", "UNPARSED ID[x]"},
        // Nested off/on pairs are absorbed.
        {"// QUILLON-OFF\n// QL-FORMAT-OFF\n// QUILLON-ON\n// QL-FORMAT-ON\n// QUILLON-ON\nx",
         "UNPARSED ID[x]"},
        {"// QUILLON-OFF\n// QUILLON-OFF\n// QUILLON-ON\nx\n// QUILLON-ON\ny", "UNPARSED ID[y]"},
        // Directives inside a region are passed over, "#if 0" blocks included.
        {"// QUILLON-OFF\n#if 0\n// QUILLON-ON\n#endif\nx", "UNPARSED PP[#endif\\n] ID[x]"},
        // Without a closing comment the region runs to the end.
        {"a // QUILLON-OFF\nb c", "ID[a] UNPARSED"},
        // A marker that is not at the start of the content does nothing.
        {"// not QUILLON-OFF\nx", "SL[// not QUILLON-OFF\\n] ID[x]"},
        {"// quillon-off\nx", "SL[// quillon-off\\n] ID[x]"},
    });
    EXPECT_EQ("1:1-6:0 6:1-6:3 6:5-6:5 6:6-6:6",
              dumpLocations("// QL-FORMAT-OFF\nint  a;\n\nint  b;\n// QL-FORMAT-ON\nint c;"));
    EXPECT_EQ("1:1-1:36 1:38-1:38", dumpLocations("/* QUILLON-OFF */ x /* QUILLON-ON */ y"));
    EXPECT_EQ("1:1-2:3", dumpLocations("// QUILLON-OFF\nabc"));
}

TEST(LexerRegions, WizardBlocks)
{
    const char* const map = "//{{AFX_DATA_MAP(CDlg)\nDDX_Text(pDX, 1, m_s);\n//}}AFX_DATA_MAP\nx";
    EXPECT_EQ("UNPARSED ID[x]", dump(map));
    EXPECT_EQ("1:1-4:0 4:1-4:1", dumpLocations(map));
    checkRows({
        // "{{AFX_DATA_MAP" collects "{{AFX_DATA", "{{AFX_DATA_MAP" and "{{AFX":
        // any of their on markers closes.
        {"//{{AFX_DATA_MAP(CDlg)\na\n//}}\nb", "UNPARSED ID[b]"},
        {"//{{AFX_DATA_MAP(CDlg)\na\n//AFX_DATA}}\nb", "UNPARSED ID[b]"},
        // but not the on marker of a pair it did not collect.
        {"//{{AFX_DATA_MAP(CDlg)\na\n//AFX_VIRTUAL}}\nb", "UNPARSED"},
        {"//{{{AFX_DATA_INIT\na\n//}}}\nb", "UNPARSED ID[b]"},
        {"//{{AFX_VIRTUAL(C)\nvirtual void f();\n//}}AFX_VIRTUAL\nb", "UNPARSED ID[b]"},
    });
}

TEST(LexerRegions, MapMacros)
{
    const char* const text =
        "BEGIN_MESSAGE_MAP(CDlg, CDialog)\n  ON_WM_PAINT()\nEND_MESSAGE_MAP()\nint x;";
    EXPECT_EQ("UNPARSED LPAREN[(] RPAREN[)] KEY[int] ID[x] SEMICOLON[;]", dump(text));
    EXPECT_EQ("1:1-3:15", dumpLocations(text).substr(0, 8));
    checkRows({
        {"BEGIN_COM_MAP(C)\nCOM_INTERFACE_ENTRY(I)\nEND_COM_MAP()", "UNPARSED LPAREN[(] RPAREN[)]"},
        // The end macro must match the begin macro.
        {"BEGIN_COM_MAP(C) END_MESSAGE_MAP() x", "UNPARSED"},
        {"BEGIN_MESSAGE_MAP(C)\nx = \"open\n END_MESSAGE_MAP() y", "UNPARSED LPAREN[(] RPAREN[)] ID[y]"},
        {"BEGIN_MESSAGE_MAP_EX END_MESSAGE_MAP_EX y", "UNPARSED ID[y]"},
        {"MY_BEGIN_MESSAGE_MAP x", "ID[MY_BEGIN_MESSAGE_MAP] ID[x]"},
        // A nested map closes with its own end macro first.
        {"BEGIN_MESSAGE_MAP(A)\nBEGIN_COM_MAP(B)\nEND_MESSAGE_MAP()\nEND_COM_MAP()\n"
         "END_MESSAGE_MAP() z",
         "UNPARSED LPAREN[(] RPAREN[)] ID[z]"},
        // Without an end macro the region runs to the end.
        {"BEGIN_MESSAGE_MAP(A)\nON_X()", "UNPARSED"},
    });
}

// ----------------------------------------------------------------- iterator

TEST(LexerIterator, EndCopiesAndEquality)
{
    const std::string text = "a b c";
    Cpp::LexerIterator it(text.begin(), text.end()), end;
    EXPECT_EQ(Location(1, 1), it.position());
    Cpp::LexerIterator bookmark = it;
    ++it;
    EXPECT_NE(bookmark, it);
    EXPECT_EQ("a", bookmark->text());
    EXPECT_EQ("b", it->text());
    Cpp::LexerIterator other(text.begin(), text.end());
    ++other;
    EXPECT_EQ(it, other); // same place in the same text
    EXPECT_EQ("b", (it++)->text());
    ++it;
    EXPECT_EQ(end, it);
    EXPECT_EQ(Cpp::LexerIterator(text.end(), text.end()), it);
    ++it; // stays at the end
    EXPECT_EQ(end, it);
    EXPECT_FALSE(it.stuck());
    EXPECT_THROW(*end, Corvale::ContractViolation);
    EXPECT_THROW(*it, Corvale::ContractViolation);
    EXPECT_EQ(end, Cpp::LexerIterator(text.end(), text.end()));
    const std::string blank = "  \n// only a comment\n";
    Cpp::LexerIterator c(blank.begin(), blank.end());
    EXPECT_EQ(Cpp::SL_COMMENT, c->type());
    EXPECT_EQ(end, ++c);
    const char* nothing = "";
    EXPECT_EQ(end, Cpp::LexerIterator(nothing, nothing));
}

TEST(LexerIterator, CustomMarkerLists)
{
    const std::string text = "// skip\na b\n// done\nBEGIN x STOP y";
    const Cpp::MarkerPairList markers = {{"skip", "done"}};
    const Cpp::MarkerPairList maps = {{"BEGIN", "STOP"}};
    std::string out;
    for (Cpp::LexerIterator it(text.begin(), text.end(), markers, maps), end; it != end; ++it)
        out += typeName(it->type()) + " ";
    EXPECT_EQ("UNPARSED UNPARSED ID ", out);
}

// Inputs that must neither throw nor loop, and whose tokens stay ordered.
TEST(LexerIterator, OddInputsEndCleanly)
{
    const std::string inputs[] = {
        std::string("\0\0\0", 3), "\\", "/*", "//", "#", "#if 0", "#if 0\n#if 0\n", "'", "\"",
        "a::", "a<", "a<(", "~", "::~", "R\"", "R\"(", "R\"abc", "0x", "1e+", "1'", "L'",
        "#define A \\", "#define A \\\n", "\"\\", "a\r\nb\r\n", std::string(200, '<'),
        "a<" + std::string(100, '(') + ">", "// QUILLON-OFF", "BEGIN_MESSAGE_MAP",
        std::string(1000, '#'), "#if 0\n" + std::string(500, '\'') + "\n#endif",
    };
    for (const std::string& text : inputs) {
        SCOPED_TRACE(escape(text));
        std::vector<Token> tokens;
        ASSERT_NO_THROW(tokens = lexAll(text));
        EXPECT_LE(tokens.size(), text.size());
        Location last;
        for (const Token& t : tokens) {
            if (t.type() == Trn::END_OF_FILE)
                continue;
            EXPECT_LE(t.start(), t.end());
            EXPECT_LT(last, t.start());
            last = t.end();
        }
    }
}

} // namespace
