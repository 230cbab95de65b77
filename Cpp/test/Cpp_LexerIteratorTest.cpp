// Lexer tests, grouped by rule. The golden cases compare a compact dump of
// the token stream: NAME[text] per token, keywords as KEY[word].
#include "Cpp_LexerIterator.h"

#include "Corvale_Exception.h"
#include "Cpp.h"
#include "support/Corvale_GoldenCases.h"

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

// Golden cases: golden/Lexer/*.cases give an input and its token dump
// ("tokens") and/or the tokens' locations ("locations").
TEST(LexerGolden, TokensAndLocationsOfEveryCase)
{
    const auto cases = CorvaleTest::readGoldenFolder(std::string(QUILLON_CPP_GOLDEN_DIR) + "/Lexer");
    EXPECT_GE(cases.size(), 151u) << "cases missing from " << QUILLON_CPP_GOLDEN_DIR;
    for (const CorvaleTest::GoldenCase& c : cases) {
        SCOPED_TRACE(c.where());
        EXPECT_TRUE(c.has("tokens") || c.has("locations"));
        if (c.has("tokens")) {
            EXPECT_EQ(c["tokens"], dump(c["input"]));
        }
        if (c.has("locations")) {
            EXPECT_EQ(c["locations"], dumpLocations(c["input"]));
        }
    }
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
    // Rows with control characters; the other rows are in golden/Lexer.
    checkRows({
        {"a\x01\x7f`@b", "ID[a] ID[b]"},
        {"a \\\r\nb", "ID[a] BACKSLASH[\\\r\\n] ID[b]"},
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
    EXPECT_EQ("1:3-2:0 2:1-2:1", dumpLocations("a // note\nb").substr(8));
}

// -------------------------------------------------------------- identifiers

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
            if (i + 1 < s.size() && s[i + 1] == '=') { // '<=' and '<=>' compare
                i += i + 2 < s.size() && s[i + 2] == '>' ? 2 : 1;
                break;
            }
            if (paren == 0)
                ++angle;
            break;
        case '>':
            if (i + 1 < s.size() && s[i + 1] == '=') { // so does '>='
                ++i;
                break;
            }
            if (i + 2 < s.size() && s[i + 1] == '>' && s[i + 2] == '=') { // and '>>='
                i += 2;
                break;
            }
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

// Every identifier's "<" closes where a fresh scan closes, and a "<" right
// after one fails; random texts over the given characters.
void checkScansAgainstFreshScans(const std::string& alphabet, int rounds)
{
    std::mt19937 random(12345);
    for (int round = 0; round < rounds; ++round) {
        std::string text;
        const int length = 1 + static_cast<int>(random() % 60);
        for (int i = 0; i < length; ++i)
            text += alphabet[random() % alphabet.size()];
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

TEST(LexerIdentifiers, RememberedTemplateScansMatchFreshScans)
{
    checkScansAgainstFreshScans("aab<<>>(),; \n", 400);
}

// Scans that start at the "<" of a "<=" ('a<=b>') are settled by the pass of
// an earlier scan that reads the "<=" as a comparison; "<=>", ">=" and ">>="
// sit on the edges of that.
TEST(LexerIdentifiers, ScansFromComparisonsMatchFreshScans)
{
    checkScansAgainstFreshScans("ab<<=>>=(),; ", 3000);
    checkRows({
        {"a<(b<=c>)", "ID[a] LESS[<] LPAREN[(] ID[b<=c>] RPAREN[)]"},
        {"a<(b<=c<d>e>)", "ID[a] LESS[<] LPAREN[(] ID[b<=c<d>e>] RPAREN[)]"},
        {"a<(b<=(c>d)>)", "ID[a] LESS[<] LPAREN[(] ID[b<=(c>d)>] RPAREN[)]"},
        {"f(a<=b)>c;", "ID[f] LPAREN[(] ID[a] LESS_EQUALS[<=] ID[b] RPAREN[)] GREATER[>] ID[c] SEMICOLON[;]"},
        {"x = a<=b, c<=d>;", "ID[x] EQUALS[=] ID[a<=b, c<=d>] SEMICOLON[;]"},
        {"a<=>b>", "ID[a<=>b] GREATER[>]"},
        {"a<(b<=>c)", "ID[a] LESS[<] LPAREN[(] ID[b<=>c] RPAREN[)]"},
        {"a<(b<=>=c)", "ID[a] LESS[<] LPAREN[(] ID[b] LESS_EQUALS[<=] GREATER_EQUALS[>=] ID[c] RPAREN[)]"},
        {"a<(b<=>>=c>)", "ID[a] LESS[<] LPAREN[(] ID[b<=>>=c>] RPAREN[)]"},
    });
}

// Where a name ends: a plain run of word characters is read in one go, and
// only what follows it decides whether it goes on (a "<" that may open
// template arguments, "::") or belongs to a literal (an encoding prefix).
TEST(LexerIdentifiers, WhatEndsAName)
{
    checkRows({
        {"a", "ID[a]"},
        {"~a", "ID[~a]"},
        {"a:", "ID[a] COLON[:]"},
        {"a::", "ID[a::]"},
        {"a:b", "ID[a] COLON[:] ID[b]"},
        {"case x: y", "KEY[case] ID[x] COLON[:] ID[y]"},
        {"a<", "ID[a] LESS[<]"},
        {"a<<b", "ID[a] SHIFT_LEFT[<<] ID[b]"},
        {"a<b> c", "ID[a<b>] ID[c]"},
        {"a<b>c", "ID[a<b>c]"},
        {"a<b;", "ID[a] LESS[<] ID[b] SEMICOLON[;]"},
        {"a <b>", "ID[a] LESS[<] ID[b] GREATER[>]"},
        {"int<x>", "KEY[int] LESS[<] ID[x] GREATER[>]"},
        {"intx<y>", "ID[intx<y>]"},
        {"static_cast<int>(v)", "KEY[static_cast] LESS[<] KEY[int] GREATER[>] LPAREN[(] ID[v] RPAREN[)]"},
        {"X::operator<(", "KEY[X::operator] LESS[<] LPAREN[(]"},
        {"A::B<int>::C x", "ID[A::B<int>::C] ID[x]"},
        {"A<int>::\n  ~A()", "ID[A<int>::~A] LPAREN[(] RPAREN[)]"},
        {"a::b:c", "ID[a::b] COLON[:] ID[c]"},
        {"a$b\xc3\xa9 c", "ID[a$b\xc3\xa9] ID[c]"},
        {"u8\"s\"", "STRING[u8\"s\"]"},
        {"L'c'", "CHAR[L'c']"},
        {"LR\"(a\"b)\"", "STRING[LR\"(a\"b)\"]"},
        {"u8R\"x(\n)x\"", "STRING[u8R\"x(\\n)x\"]"},
        {"R'c'", "ID[R] CHAR['c']"},
        {"u8x\"s\"", "ID[u8x] STRING[\"s\"]"},
        {"Lx'c'", "ID[Lx] CHAR['c']"},
        {"A::L\"s\"", "ID[A::L] STRING[\"s\"]"},
        {"returnL\"s\"", "ID[returnL] STRING[\"s\"]"},
    });
}

// A map block opens on any name that starts with a begin macro, and only on
// such a name.
TEST(LexerRegions, MapMacroNamesAndTheirPrefixes)
{
    checkRows({
        {"BEGIN_MESSAGE_MAP(a) x END_MESSAGE_MAP() y", "UNPARSED LPAREN[(] RPAREN[)] ID[y]"},
        {"BEGIN_MESSAGE_MAPX(a) END_MESSAGE_MAP_ y", "UNPARSED ID[y]"},
        {"BEGIN_COM_MAP(a) END_COM_MAP y", "UNPARSED ID[y]"},
        {"BEGIN_MESSAGE(a)", "ID[BEGIN_MESSAGE] LPAREN[(] ID[a] RPAREN[)]"},
        {"BEGIN x", "ID[BEGIN] ID[x]"},
        {"XBEGIN_COM_MAP x", "ID[XBEGIN_COM_MAP] ID[x]"},
        {"::BEGIN_COM_MAP x", "ID[::BEGIN_COM_MAP] ID[x]"},
        {"B::BEGIN_COM_MAP x", "ID[B::BEGIN_COM_MAP] ID[x]"},
        {"BEGIN_COM_MAP<int> x END_COM_MAP", "UNPARSED"},
        {"\"BEGIN_COM_MAP\" x", "STRING[\"BEGIN_COM_MAP\"] ID[x]"},
    });
}

// Copies share what their scans learnt, whether they were made before the
// first scan or later: a copy taken at any token reads on exactly like the
// original, and like an iterator that never shared anything.
TEST(LexerIterator, CopiesAtEveryTokenReadTheSameRest)
{
    const std::string texts[] = {
        "std::vector<std::map<int, a<b>>> v; x = a<b, c>d; f(a<b, g(c<d)); x<y;",
        "int x[] = {a<b,a<b,a<b,a<b,c<d>e>, a<(b>c)>};",
        "a<a<a<a<b>",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        const std::vector<Token> all = lexAll(text);
        Cpp::LexerIterator it(text.begin(), text.end()), end;
        std::vector<Cpp::LexerIterator> copies;
        for (; it != end; ++it)
            copies.push_back(it);
        ASSERT_EQ(all.size(), copies.size());
        for (std::size_t i = copies.size(); i-- > 0;) {
            std::size_t k = i;
            for (Cpp::LexerIterator c = copies[i]; c != end; ++c, ++k) {
                ASSERT_LT(k, all.size());
                EXPECT_EQ(all[k], *c);
            }
            EXPECT_EQ(all.size(), k);
        }
    }
}

// ------------------------------------------------------------------ numbers

TEST(LexerNumbers, DigitsSuffixesAndWhatFollows)
{
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
}

TEST(LexerLiterals, UnterminatedLiteralsStopTheStream)
{
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

// ------------------------------------------------------------------ regions

TEST(LexerRegions, CommentMarkers)
{
    EXPECT_EQ("1:1-6:0 6:1-6:3 6:5-6:5 6:6-6:6",
              dumpLocations("// QL-FORMAT-OFF\nint  a;\n\nint  b;\n// QL-FORMAT-ON\nint c;"));
}

TEST(LexerRegions, MapMacros)
{
    const char* const text =
        "BEGIN_MESSAGE_MAP(CDlg, CDialog)\n  ON_WM_PAINT()\nEND_MESSAGE_MAP()\nint x;";
    EXPECT_EQ("1:1-3:15", dumpLocations(text).substr(0, 8));
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

// ------------------------------------------------------------ token begins

// Where the token at begin starts by the lexer's count: the line from 1, the
// column in bytes from 1.
Location locationOf(const std::string& text, std::size_t offset)
{
    Location at(1, 1);
    for (std::size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n')
            at = Location(at.line() + 1, 1);
        else
            at.setCol(at.col() + 1);
    }
    return at;
}

// The text without blanks and line ends: a folded name's text is its
// source text without them.
std::string withoutBlanks(const std::string& s)
{
    std::string out;
    for (char c : s)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r' && c != '\v' && c != '\f')
            out += c;
    return out;
}

// For every token the begin pointer lies at the token's start location, and
// the token's text is the source bytes from there, or (a name read across
// blanks) those bytes without their blanks, or empty (a folded region).
void checkBegins(const std::string& text)
{
    Cpp::LexerIterator it(text.begin(), text.end()), end;
    for (; it != end && !it.stuck(); ++it) {
        ASSERT_NE(nullptr, it.tokenBegin()) << locations(*it);
        const std::size_t offset = static_cast<std::size_t>(it.tokenBegin() - text.data());
        ASSERT_LT(offset, text.size());
        EXPECT_EQ(it->start(), locationOf(text, offset)) << typeName(it->type()) << "[" << escape(it->text()) << "]";
        const std::string& t = it->text();
        if (t.empty() || text.compare(offset, t.size(), t) == 0)
            continue;
        EXPECT_TRUE(it->type() == Cpp::IDENTIFIER || Cpp::isKeywordType(it->type())) << escape(t);
        std::string source = text.substr(offset, t.size() * 4);
        EXPECT_EQ(0u, withoutBlanks(source).rfind(t, 0)) << escape(t);
    }
}

TEST(LexerTokenBegins, EveryGoldenInputAndTheTrickyPlaces)
{
    const auto cases = CorvaleTest::readGoldenFolder(std::string(QUILLON_CPP_GOLDEN_DIR) + "/Lexer");
    EXPECT_GE(cases.size(), 151u);
    for (const CorvaleTest::GoldenCase& c : cases) {
        SCOPED_TRACE(c.where());
        checkBegins(c["input"]);
    }
    // Offsets of every token's begin: folded names, a comment that a
    // directive hands on, regions of each kind, and regions that end at the
    // end of the text.
    const struct {
        const char* input;
        std::vector<std::size_t> begins;
    } rows[] = {
        {"A:: B x", {0, 6}},
        {"  ::std:: vector<int> v;", {2, 22, 23}},
        {"#define A 1 /* one\n two */ B", {0, 12, 27}},
        {"#if 0\nx\n#endif\ny", {0, 15}},
        {"a BEGIN_MESSAGE_MAP(C, D)\n#define X /* a\n*/\nEND_MESSAGE_MAP() b", {0, 2, 59, 60, 62}},
        {"a BEGIN_MESSAGE_MAP(C) z", {0, 2}},
        {"x // QUILLON-OFF\n a  b\n// QUILLON-ON\ny", {0, 2, 37}},
        {"L\"a\" R\"(b)\"", {0, 5}},
        {"\xef\xbb\xbf" "int", {0}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(escape(r.input));
        const std::string text = r.input;
        checkBegins(text);
        std::vector<std::size_t> begins;
        for (Cpp::LexerIterator it(text.begin(), text.end()), end; it != end; ++it)
            begins.push_back(static_cast<std::size_t>(it.tokenBegin() - text.data()));
        EXPECT_EQ(r.begins, begins);
    }
    // The end iterator, and an iterator that has read its whole text, has
    // no token and so no begin.
    const std::string text = "a ";
    Cpp::LexerIterator it(text.begin(), text.end());
    ++it;
    EXPECT_EQ(nullptr, it.tokenBegin());
    EXPECT_EQ(nullptr, Cpp::LexerIterator().tokenBegin());
}
