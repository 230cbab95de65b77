// The C++ token types, the keyword table, the parser's word sets and the
// classification predicates shared by the parser and the formatters.
//
// The numeric values of the token types are fixed: consumers test them by
// range (every keyword, the control keywords, the built-in type names, ...),
// so never renumber or insert.
#ifndef CPP_H
#define CPP_H

#include "Trn_Exception.h"
#include "Trn_Token.h"

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

namespace Cpp {

enum TokenType : std::int32_t {
    PREPROCESSOR = 0, // a directive line, or a folded "#if 0" block (empty text)
    CHAR_LITERAL = 1,
    NUMBER_LITERAL = 2,
    // 3 is not produced by the lexer.
    STRING_LITERAL = 4,
    SEMICOLON = 5,
    COLON = 6,
    COMMA = 7,
    LPAREN = 8,
    RPAREN = 9,
    LBRACE = 10,
    RBRACE = 11,
    EQUALS = 12,
    STAR = 13,
    AMPERSAND = 14,
    LBRACKET = 15,
    RBRACKET = 16,
    SLASH = 17,
    DOT = 18,
    PLUS = 19,
    MINUS = 20,
    EXCLAMATION = 21,
    TILDE = 22, // only when not starting a destructor-like name ('~x')
    ARROW = 23,
    PLUS_PLUS = 24,
    MINUS_MINUS = 25,
    PERCENT = 26,
    SHIFT_LEFT = 27,
    SHIFT_RIGHT = 28,
    LESS = 29,
    GREATER = 30,
    LESS_EQUALS = 31,
    GREATER_EQUALS = 32,
    EQUALS_EQUALS = 33,
    NOT_EQUALS = 34,
    CARET = 35,
    PIPE = 36,
    STAR_EQUALS = 37,
    SLASH_EQUALS = 38,
    PERCENT_EQUALS = 39,
    PLUS_EQUALS = 40,
    MINUS_EQUALS = 41,
    SHIFT_LEFT_EQUALS = 42,
    SHIFT_RIGHT_EQUALS = 43,
    AMPERSAND_EQUALS = 44,
    CARET_EQUALS = 45,
    PIPE_EQUALS = 46,
    AND_AND = 47,
    OR_OR = 48,
    QUESTION = 49,
    DOT_STAR = 50,
    ARROW_STAR = 51,
    BACKSLASH = 52, // a backslash outside a directive, its trailing blanks and the newline

    // Keywords, 53 to 116.
    CLASS_KEY = 53,
    STRUCT_KEY = 54,
    PUBLIC_KEY = 55,
    PRIVATE_KEY = 56,
    PROTECTED_KEY = 57,
    VIRTUAL_KEY = 58,
    NAMESPACE_KEY = 59,
    USING_KEY = 60,
    CONST_KEY = 61,
    MUTABLE_KEY = 62,
    VOLATILE_KEY = 63,
    STATIC_KEY = 64,
    INLINE_KEY = 65,
    EXPLICIT_KEY = 66,
    SIGNED_KEY = 67,
    UNSIGNED_KEY = 68,
    AUTO_KEY = 69,
    REGISTER_KEY = 70,
    FRIEND_KEY = 71,
    TYPEDEF_KEY = 72,
    TYPENAME_KEY = 73,
    ENUM_KEY = 74,
    UNION_KEY = 75,
    STATIC_CAST_KEY = 76,
    DYNAMIC_CAST_KEY = 77,
    CONST_CAST_KEY = 78,
    REINTERPRET_CAST_KEY = 79,
    TEMPLATE_KEY = 80,
    OPERATOR_KEY = 81,
    ASM_KEY = 82,
    NEW_KEY = 83,
    DELETE_KEY = 84,
    THROW_KEY = 85,
    SIZEOF_KEY = 86,
    TYPEID_KEY = 87,
    THIS_KEY = 88,
    EXPORT_KEY = 89,
    EXTERN_KEY = 90,
    TRUE_KEY = 91,
    FALSE_KEY = 92,
    IF_KEY = 93,
    ELSE_KEY = 94,
    // 95 has no spelling; it lies inside the control-keyword range 93 to 103.
    FOR_KEY = 96,
    DO_KEY = 97,
    WHILE_KEY = 98,
    TRY_KEY = 99,
    CATCH_KEY = 100,
    SWITCH_KEY = 101,
    CASE_KEY = 102,
    DEFAULT_KEY = 103,
    CONTINUE_KEY = 104,
    BREAK_KEY = 105,
    GOTO_KEY = 106,
    RETURN_KEY = 107,
    CHAR_KEY = 108,
    WCHAR_T_KEY = 109,
    BOOL_KEY = 110,
    SHORT_KEY = 111,
    INT_KEY = 112,
    LONG_KEY = 113,
    FLOAT_KEY = 114,
    DOUBLE_KEY = 115,
    VOID_KEY = 116,

    SL_COMMENT = 117,          // '//' comment including its newline
    ML_COMMENT = 118,          // '/* */' comment
    ML_COMMENT_UNPARSED = 119, // a region kept verbatim (empty text)
    IDENTIFIER = 120           // name, qualified name, destructor name or template-id
};

// The ranges that consumers test.
const std::int32_t FIRST_KEYWORD = CLASS_KEY;        // 53
const std::int32_t LAST_KEYWORD = VOID_KEY;          // 116
const std::int32_t LAST_NODE_KEYWORD = DEFAULT_KEY;  // 103: last keyword a KeywordNode may hold
const std::int32_t LAST_NON_TYPE_KEYWORD = RETURN_KEY; // 107
const std::int32_t FIRST_CONTROL_KEYWORD = IF_KEY;   // 93
const std::int32_t LAST_CONTROL_KEYWORD = DEFAULT_KEY; // 103
const std::int32_t FIRST_BUILTIN_TYPE = CHAR_KEY;    // 108
const std::int32_t LAST_BUILTIN_TYPE = VOID_KEY;     // 116

inline bool isKeywordType(std::int32_t type) { return type >= FIRST_KEYWORD && type <= LAST_KEYWORD; }
inline bool isControlKeywordType(std::int32_t type)
{
    return type >= FIRST_CONTROL_KEYWORD && type <= LAST_CONTROL_KEYWORD;
}
inline bool isBuiltinTypeType(std::int32_t type)
{
    return type >= FIRST_BUILTIN_TYPE && type <= LAST_BUILTIN_TYPE;
}

// The keyword type spelled exactly (case-sensitive) by word, or
// Trn::END_OF_FILE when word is no keyword. The table is built on first use
// and only read afterwards.
std::int32_t keywordType(std::string_view word);

// The spelling of a keyword type ("class" for CLASS_KEY), or the empty
// string for any other type (including 95, which has none).
std::string keywordText(std::int32_t type);

// True for the keywords that may end a qualified name: "new", "delete",
// "operator" (so 'X::operator' and '::new' lex as those keywords).
bool endsQualifiedName(std::string_view word);

// The parser's word sets, built on first use and only read afterwards.
// Identifiers that behave like type qualifiers or reserved words
// ("__declspec", "__based", ...).
const std::set<std::string>& extensionWords();
// Spellings that introduce an assembler statement ("asm", "__asm", ...).
const std::set<std::string>& assemblerSpellings();
// Identifiers that behave like access specifiers ("signals", "slots", ...).
const std::set<std::string>& accessLikeWords();

// The classification predicates shared by the parser and the formatters.
//
// '*', '&', virtual, using, const, mutable, volatile, static, inline,
// unsigned, auto, register, friend, typename, or an identifier that is an
// extension word.
bool isTypeQualifier(const Trn::Token& token);
// The asm keyword, or any token whose text is an assembler spelling.
bool isAsmKeyword(const Trn::Token& token);
// public, private, protected, or an identifier that is an access-like word.
bool isAccessSpecifier(const Trn::Token& token);
// A keyword other than a built-in type name, an assembler spelling, an
// extension word, or an access specifier.
bool isReservedWord(const Trn::Token& token);
// Whether the token ends the type-and-name part of a declaration: ';', '(',
// '{' and '=' do; class, struct, typedef, union and extern do not; otherwise
// a reserved word that is no type qualifier, or an access specifier.
bool isDeclarationStop(const Trn::Token& token);

// The same predicates for a token given by its type and text, for readers
// that keep tokens in a form of their own (the parser does).
bool isTypeQualifier(std::int32_t type, std::string_view text);
bool isAsmKeyword(std::int32_t type, std::string_view text);
bool isAccessSpecifier(std::int32_t type, std::string_view text);
bool isReservedWord(std::int32_t type, std::string_view text);
bool isDeclarationStop(std::int32_t type, std::string_view text);
// Whether word is one of the extension words, without building a string.
bool isExtensionWord(std::string_view word);

// Raised when a keyword node is given a token type that is no keyword it may
// hold.
class InvalidKeyword : public virtual Trn::Exception {
public:
    InvalidKeyword();
};

} // namespace Cpp

#endif
