#include "Trn_Token.h"

#include "Corvale_Exception.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

namespace {

using Trn::Location;
using Trn::Token;

TEST(Token, DefaultIsEndOfFileWithoutLocation)
{
    const Token t;
    EXPECT_EQ(Trn::END_OF_FILE, t.type());
    EXPECT_EQ(Location(), t.start());
    EXPECT_EQ(Location(), t.end());
    EXPECT_EQ("", t.text());
    EXPECT_EQ(Token::NO_VALUE, t.valueKind());
}

TEST(Token, ConstructorsSetTheValueKind)
{
    const Token plain(5, {1, 1}, {1, 1}, ";");
    EXPECT_EQ(Token::NO_VALUE, plain.valueKind());
    const Token byte(1, {1, 1}, {1, 3}, "'a'", static_cast<unsigned char>('a'));
    EXPECT_EQ(Token::BYTE_VALUE, byte.valueKind());
    EXPECT_EQ('a', byte.byteValue());
    const Token str(120, {1, 1}, {1, 3}, "abc", std::string("abc"));
    EXPECT_EQ(Token::STRING_VALUE, str.valueKind());
    EXPECT_EQ("abc", str.stringValue());
    const Token number(2, {1, 1}, {1, 5}, "70000", Token::SHORT_VALUE, 70000);
    EXPECT_EQ(static_cast<std::int16_t>(70000), number.numberValue()); // stored in 16 bits
    EXPECT_EQ(4294967295LL, Token(2, {}, {}, "", Token::UINT_VALUE, -1).numberValue());
    EXPECT_THROW(Token(2, {}, {}, "", Token::STRING_VALUE, 1), Corvale::ContractViolation);
    EXPECT_THROW(plain.stringValue(), Corvale::ContractViolation);
    EXPECT_THROW(str.byteValue(), Corvale::ContractViolation);
}

TEST(Token, EqualityTable)
{
    const Token base(120, {2, 3}, {2, 5}, "abc", std::string("abc"));
    const struct {
        const char* what;
        Token other;
        bool equal;
    } rows[] = {
        {"identical", Token(120, {2, 3}, {2, 5}, "abc", std::string("abc")), true},
        {"different end", Token(120, {2, 3}, {2, 6}, "abc", std::string("abc")), false},
        {"different start", Token(120, {2, 4}, {2, 5}, "abc", std::string("abc")), false},
        {"different type", Token(121, {2, 3}, {2, 5}, "abc", std::string("abc")), false},
        {"different text", Token(120, {2, 3}, {2, 5}, "abd", std::string("abc")), false},
        {"different string value", Token(120, {2, 3}, {2, 5}, "abc", std::string("x")), false},
        {"no value", Token(120, {2, 3}, {2, 5}, "abc"), false},
        {"byte value", Token(120, {2, 3}, {2, 5}, "abc", static_cast<unsigned char>('a')), false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(r.equal, base == r.other);
        EXPECT_EQ(r.equal, r.other == base);
        EXPECT_EQ(!r.equal, base != r.other);
    }
    // Values of the same kind compare by value; kind 0 always compares equal.
    EXPECT_NE(Token(1, {}, {}, "'a'", static_cast<unsigned char>('a')),
              Token(1, {}, {}, "'a'", static_cast<unsigned char>('b')));
    EXPECT_EQ(Token(2, {}, {}, "1", Token::INT_VALUE, 1), Token(2, {}, {}, "1", Token::INT_VALUE, 1));
    EXPECT_NE(Token(2, {}, {}, "1", Token::INT_VALUE, 1), Token(2, {}, {}, "1", Token::INT_VALUE, 2));
    EXPECT_NE(Token(2, {}, {}, "1", Token::INT_VALUE, 1), Token(2, {}, {}, "1", Token::LONG_VALUE, 1));
}

TEST(Token, CopyOwnsItsOwnString)
{
    auto original = std::make_unique<Token>(120, Location(1, 1), Location(1, 4), "name",
                                            std::string("name"));
    const Token copy(*original);
    Token assigned;
    assigned = *original;
    original.reset(); // frees the original's string
    EXPECT_EQ("name", copy.stringValue());
    EXPECT_EQ("name", assigned.stringValue());
    EXPECT_EQ(copy, assigned);
}

TEST(Token, AssignmentAndSwapExchangeEveryKind)
{
    Token a(120, {1, 1}, {1, 1}, "x", std::string("x"));
    Token b(1, {2, 1}, {2, 3}, "'y'", static_cast<unsigned char>('y'));
    swap(a, b);
    EXPECT_EQ('y', a.byteValue());
    EXPECT_EQ("x", b.stringValue());
    EXPECT_EQ(Location(2, 1), a.start());

    // Self-assignment and moving keep the value intact.
    b = b;
    EXPECT_EQ("x", b.stringValue());
    Token moved(std::move(b));
    EXPECT_EQ("x", moved.stringValue());
    a = std::move(moved);
    EXPECT_EQ("x", a.stringValue());

    // Moving a token of every kind over a token of every kind: the target
    // equals the source as it was, owns the value, and the source is left
    // without a value it could free twice.
    const std::string longText(40, 'n');
    const Token kinds[] = {
        Token(),
        Token(5, {1, 1}, {1, 1}, ";"),
        Token(1, {1, 1}, {1, 3}, "'y'", static_cast<unsigned char>('y')),
        Token(2, {1, 1}, {1, 2}, "-7", Token::SHORT_VALUE, -7),
        Token(120, {3, 1}, {3, 40}, longText, std::string("other value, long enough for the heap")),
        Token::withTextValue(120, {3, 1}, {3, 40}, longText),
    };
    for (const Token& source : kinds) {
        for (const Token& target : kinds) {
            Token from(source), to(target);
            to = std::move(from);
            EXPECT_EQ(source, to);
            from = Token(7, {9, 9}, {9, 9}, ",");
            EXPECT_EQ(source, to);
            Token copied(target);
            copied = to;
            EXPECT_EQ(source, copied);
        }
    }
    Token self(kinds[4]);
    Token& alias = self;
    self = std::move(alias);
    EXPECT_EQ(kinds[4], self);
}

} // namespace

namespace {

// A string value may repeat the text (every identifier's does) or differ
// from it (a literal's unescaped value): copies, moves, swaps and
// comparisons must keep the two cases apart.
TEST(Token, StringValuesThatRepeatTheTextOrNot)
{
    const std::string longName = "a_name_longer_than_any_short_string_buffer";
    const struct {
        const char* name;
        std::string text;
        std::string value;
    } cases[] = {
        {"value is the text", "name", "name"},
        {"long value is the text", longName, longName},
        {"value differs", "\"a\\n\"", "a\n"},
        {"long value differs", longName, longName + "!"},
        {"empty value", "\"\"", ""},
    };
    for (const auto& c : cases) {
        auto original = std::make_unique<Token>(120, Location(1, 1), Location(1, 4), c.text, c.value);
        EXPECT_EQ(c.value, original->stringValue()) << c.name;
        const Token copy(*original);
        Token assigned;
        assigned = *original;
        Token temporary(*original);
        Token moved(std::move(temporary));
        Token swapped;
        Token source(*original);
        swap(swapped, source);
        original.reset();
        const Token* const all[] = {&copy, &assigned, &moved, &swapped};
        for (const Token* t : all) {
            EXPECT_EQ(Token::STRING_VALUE, t->valueKind()) << c.name;
            EXPECT_EQ(c.value, t->stringValue()) << c.name;
            EXPECT_EQ(c.text, t->text()) << c.name;
            EXPECT_EQ(copy, *t) << c.name;
        }
    }
    // Same text, values that differ only by repeating the text or not.
    EXPECT_NE(Token(120, {}, {}, "a", std::string("a")), Token(120, {}, {}, "a", std::string("b")));
    EXPECT_NE(Token(120, {}, {}, "a", std::string("b")), Token(120, {}, {}, "a", std::string("a")));
    EXPECT_EQ(Token(120, {}, {}, "a", std::string("b")), Token(120, {}, {}, "a", std::string("b")));
    // A token made with its text as the value is the token given the same
    // string twice, and stays so when copied.
    for (const std::string& text : {std::string("n"), longName, std::string()}) {
        const Token made = Token::withTextValue(120, Location(2, 3), Location(2, 9), text);
        const Token given(120, Location(2, 3), Location(2, 9), text, text);
        EXPECT_EQ(given, made) << text;
        EXPECT_EQ(text, made.stringValue()) << text;
        const Token copy(made);
        EXPECT_EQ(given, copy) << text;
    }
}

} // namespace

namespace {

// A lexer fills one token again and again: whatever the token held before
// (a byte, a number, an owned string, a text standing for its value, a
// text longer than the new one), the refilled token equals a token built
// afresh, owns nothing of the old value, and copies and compares as such.
TEST(Token, AssignOverEveryKindEqualsAFreshToken)
{
    const std::string longText(60, 'x');
    const Token before[] = {
        Token(),
        Token(5, {1, 1}, {1, 1}, ";"),
        Token(1, {1, 1}, {1, 3}, "'y'", static_cast<unsigned char>('y')),
        Token(2, {1, 1}, {1, 2}, "-7", Token::INT_VALUE, -7),
        Token(4, {2, 1}, {2, 9}, longText, std::string("an owned value long enough for the heap")),
        Token::withTextValue(120, {3, 1}, {3, 60}, longText),
    };
    const std::string name = "name";
    const std::string longName(30, 'n');
    for (const Token& old : before) {
        for (const std::string* text : {&name, &longName}) {
            Token plain(old);
            plain.assign(2, {4, 1}, {4, 4}, text->data(), text->size());
            EXPECT_EQ(Token(2, {4, 1}, {4, 4}, *text), plain);
            EXPECT_EQ(Token::NO_VALUE, plain.valueKind());

            Token named(old);
            named.assignWithTextValue(120, {4, 1}, {4, 4}, text->data(), text->size());
            const Token fresh = Token::withTextValue(120, {4, 1}, {4, 4}, *text);
            EXPECT_EQ(fresh, named);
            EXPECT_EQ(*text, named.stringValue());
            const Token copy(named);
            named.assign(5, {5, 1}, {5, 1}, ";", 1); // the copy keeps its own value
            EXPECT_EQ(fresh, copy);
            EXPECT_EQ(Token(5, {5, 1}, {5, 1}, ";"), named);
        }
    }
}

} // namespace
