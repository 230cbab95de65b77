#include "Cpp.h"

#include <gtest/gtest.h>

namespace {

Trn::Token tok(std::int32_t type, const std::string& text)
{
    return Trn::Token(type, Trn::Location(1, 1), Trn::Location(1, 1), text);
}

Trn::Token ident(const std::string& text) { return Trn::Token(Cpp::IDENTIFIER, {1, 1}, {1, 1}, text, text); }

// The whole table: each word maps to its fixed number and back.
TEST(Keywords, TableMapsEverySpellingToItsFixedNumber)
{
    const char* const words[] = {
        "class",    "struct",      "public",       "private",    "protected",        "virtual",
        "namespace", "using",      "const",        "mutable",    "volatile",         "static",
        "inline",   "explicit",    "signed",       "unsigned",   "auto",             "register",
        "friend",   "typedef",     "typename",     "enum",       "union",            "static_cast",
        "dynamic_cast", "const_cast", "reinterpret_cast", "template", "operator",   "asm",
        "new",      "delete",      "throw",        "sizeof",     "typeid",           "this",
        "export",   "extern",      "true",         "false",      "if",               "else",
        nullptr,    "for",         "do",           "while",      "try",              "catch",
        "switch",   "case",        "default",      "continue",   "break",            "goto",
        "return",   "char",        "wchar_t",      "bool",       "short",            "int",
        "long",     "float",       "double",       "void"};
    static_assert(sizeof(words) / sizeof(words[0]) == 116 - 53 + 1, "one row per value");
    for (std::int32_t type = 53; type <= 116; ++type) {
        const char* word = words[type - 53];
        SCOPED_TRACE(type);
        if (!word) {
            EXPECT_EQ("", Cpp::keywordText(type));
            continue;
        }
        EXPECT_EQ(type, Cpp::keywordType(word));
        EXPECT_EQ(word, Cpp::keywordText(type));
    }
    EXPECT_EQ(53, Cpp::CLASS_KEY);
    EXPECT_EQ(120, Cpp::IDENTIFIER);
    EXPECT_EQ(52, Cpp::BACKSLASH);
    EXPECT_EQ(117, Cpp::SL_COMMENT);
}

TEST(Keywords, OnlyExactLowerCaseSpellingsAreKeywords)
{
    for (const char* word : {"Class", "CLASS", "classes", "", "nullptr", "__asm", "signals", "int8_t"})
        EXPECT_EQ(Trn::END_OF_FILE, Cpp::keywordType(word)) << word;
    EXPECT_EQ("", Cpp::keywordText(Cpp::IDENTIFIER));
    EXPECT_TRUE(Cpp::endsQualifiedName("operator"));
    EXPECT_TRUE(Cpp::endsQualifiedName("new"));
    EXPECT_TRUE(Cpp::endsQualifiedName("delete"));
    EXPECT_FALSE(Cpp::endsQualifiedName("template"));
}

TEST(Keywords, RangesCoverTheirGroups)
{
    EXPECT_TRUE(Cpp::isControlKeywordType(Cpp::IF_KEY));
    EXPECT_TRUE(Cpp::isControlKeywordType(95));
    EXPECT_TRUE(Cpp::isControlKeywordType(Cpp::DEFAULT_KEY));
    EXPECT_FALSE(Cpp::isControlKeywordType(Cpp::CONTINUE_KEY));
    EXPECT_TRUE(Cpp::isBuiltinTypeType(Cpp::CHAR_KEY));
    EXPECT_TRUE(Cpp::isBuiltinTypeType(Cpp::VOID_KEY));
    EXPECT_FALSE(Cpp::isBuiltinTypeType(Cpp::RETURN_KEY));
    EXPECT_TRUE(Cpp::isKeywordType(Cpp::CLASS_KEY));
    EXPECT_FALSE(Cpp::isKeywordType(Cpp::SL_COMMENT));
    EXPECT_FALSE(Cpp::isKeywordType(Cpp::BACKSLASH));
}

// One row per token and the five predicates' expected answers.
TEST(Keywords, ClassificationPredicates)
{
    const struct {
        Trn::Token token;
        bool typeQualifier, asmKeyword, access, reserved, declarationStop;
    } rows[] = {
        //                                        qual   asm    access reserv stop
        {tok(Cpp::STAR, "*"),                     true,  false, false, false, false},
        {tok(Cpp::AMPERSAND, "&"),                true,  false, false, false, false},
        {tok(Cpp::UNSIGNED_KEY, "unsigned"),      true,  false, false, true,  false},
        {tok(Cpp::SIGNED_KEY, "signed"),          false, false, false, true,  true},
        {tok(Cpp::EXPLICIT_KEY, "explicit"),      false, false, false, true,  true},
        {tok(Cpp::TYPEDEF_KEY, "typedef"),        false, false, false, true,  false},
        {tok(Cpp::EXTERN_KEY, "extern"),          false, false, false, true,  false},
        {tok(Cpp::CLASS_KEY, "class"),            false, false, false, true,  false},
        {tok(Cpp::STRUCT_KEY, "struct"),          false, false, false, true,  false},
        {tok(Cpp::UNION_KEY, "union"),            false, false, false, true,  false},
        {tok(Cpp::TYPENAME_KEY, "typename"),      true,  false, false, true,  false},
        {tok(Cpp::STATIC_KEY, "static"),          true,  false, false, true,  false},
        {tok(Cpp::FRIEND_KEY, "friend"),          true,  false, false, true,  false},
        {tok(Cpp::USING_KEY, "using"),            true,  false, false, true,  false},
        {tok(Cpp::RETURN_KEY, "return"),          false, false, false, true,  true},
        {tok(Cpp::IF_KEY, "if"),                  false, false, false, true,  true},
        {tok(Cpp::INT_KEY, "int"),                false, false, false, false, false},
        {tok(Cpp::VOID_KEY, "void"),              false, false, false, false, false},
        {tok(Cpp::PUBLIC_KEY, "public"),          false, false, true,  true,  true},
        {tok(Cpp::PROTECTED_KEY, "protected"),    false, false, true,  true,  true},
        {tok(Cpp::ASM_KEY, "asm"),                false, true,  false, true,  true},
        {tok(Cpp::SEMICOLON, ";"),                false, false, false, false, true},
        {tok(Cpp::LPAREN, "("),                   false, false, false, false, true},
        {tok(Cpp::LBRACE, "{"),                   false, false, false, false, true},
        {tok(Cpp::EQUALS, "="),                   false, false, false, false, true},
        {tok(Cpp::COMMA, ","),                    false, false, false, false, false},
        {ident("__declspec"),                     true,  false, false, true,  false},
        {ident("interrupt"),                      true,  false, false, true,  false},
        {ident("__asm"),                          false, true,  false, true,  true},
        {ident("___asm"),                         false, true,  false, true,  true},
        {ident("slots"),                          false, false, true,  true,  true},
        {ident("signals"),                        false, false, true,  true,  true},
        {ident("__published"),                    true,  false, true,  true,  true},
        {ident("__automated"),                    true,  false, true,  true,  true},
        {ident("Slots"),                          false, false, false, false, false},
        {ident("value"),                          false, false, false, false, false},
        // The word sets apply to identifiers only where the predicate says so.
        {tok(Cpp::STRING_LITERAL, "slots"),       false, false, false, false, false},
        {tok(Cpp::STRING_LITERAL, "__declspec"),  false, false, false, true,  true},
        {tok(Cpp::STRING_LITERAL, "__asm"),       false, true,  false, true,  true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.token.text() + " type " + std::to_string(r.token.type()));
        EXPECT_EQ(r.typeQualifier, Cpp::isTypeQualifier(r.token));
        EXPECT_EQ(r.asmKeyword, Cpp::isAsmKeyword(r.token));
        EXPECT_EQ(r.access, Cpp::isAccessSpecifier(r.token));
        EXPECT_EQ(r.reserved, Cpp::isReservedWord(r.token));
        EXPECT_EQ(r.declarationStop, Cpp::isDeclarationStop(r.token));
    }
}

TEST(Keywords, InvalidKeywordCarriesItsText)
{
    try {
        throw Cpp::InvalidKeyword();
    } catch (const Trn::Exception& e) {
        EXPECT_EQ("Not a keyword", e.message());
        return;
    }
    FAIL();
}

} // namespace
