#include "Cpp.h"

#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Cpp {

namespace {

const std::pair<const char*, std::int32_t> KEYWORDS[] = {
    {"class", CLASS_KEY},
    {"struct", STRUCT_KEY},
    {"public", PUBLIC_KEY},
    {"private", PRIVATE_KEY},
    {"protected", PROTECTED_KEY},
    {"virtual", VIRTUAL_KEY},
    {"namespace", NAMESPACE_KEY},
    {"using", USING_KEY},
    {"const", CONST_KEY},
    {"mutable", MUTABLE_KEY},
    {"volatile", VOLATILE_KEY},
    {"static", STATIC_KEY},
    {"inline", INLINE_KEY},
    {"explicit", EXPLICIT_KEY},
    {"signed", SIGNED_KEY},
    {"unsigned", UNSIGNED_KEY},
    {"auto", AUTO_KEY},
    {"register", REGISTER_KEY},
    {"friend", FRIEND_KEY},
    {"typedef", TYPEDEF_KEY},
    {"typename", TYPENAME_KEY},
    {"enum", ENUM_KEY},
    {"union", UNION_KEY},
    {"static_cast", STATIC_CAST_KEY},
    {"dynamic_cast", DYNAMIC_CAST_KEY},
    {"const_cast", CONST_CAST_KEY},
    {"reinterpret_cast", REINTERPRET_CAST_KEY},
    {"template", TEMPLATE_KEY},
    {"operator", OPERATOR_KEY},
    {"asm", ASM_KEY},
    {"new", NEW_KEY},
    {"delete", DELETE_KEY},
    {"throw", THROW_KEY},
    {"sizeof", SIZEOF_KEY},
    {"typeid", TYPEID_KEY},
    {"this", THIS_KEY},
    {"export", EXPORT_KEY},
    {"extern", EXTERN_KEY},
    {"true", TRUE_KEY},
    {"false", FALSE_KEY},
    {"if", IF_KEY},
    {"else", ELSE_KEY},
    {"for", FOR_KEY},
    {"do", DO_KEY},
    {"while", WHILE_KEY},
    {"try", TRY_KEY},
    {"catch", CATCH_KEY},
    {"switch", SWITCH_KEY},
    {"case", CASE_KEY},
    {"default", DEFAULT_KEY},
    {"continue", CONTINUE_KEY},
    {"break", BREAK_KEY},
    {"goto", GOTO_KEY},
    {"return", RETURN_KEY},
    {"char", CHAR_KEY},
    {"wchar_t", WCHAR_T_KEY},
    {"bool", BOOL_KEY},
    {"short", SHORT_KEY},
    {"int", INT_KEY},
    {"long", LONG_KEY},
    {"float", FLOAT_KEY},
    {"double", DOUBLE_KEY},
    {"void", VOID_KEY},
};

// The keywords by length and first letter: a name is compared with the one
// or two keywords of its length and initial only. Built once, on first use
// (function-local statics are initialised once even if several threads
// arrive), and only read afterwards; the views are of the spellings above.
struct KeywordTable {
    static constexpr std::size_t LETTERS = 26;
    std::size_t longest = 0;
    std::vector<std::vector<std::pair<std::string_view, std::int32_t>>> buckets;
    std::vector<std::pair<std::string_view, std::int32_t>>& at(std::size_t length, char first)
    {
        return buckets[length * LETTERS + static_cast<std::size_t>(first - 'a')];
    }
};

const KeywordTable& keywordTable()
{
    static const KeywordTable table = [] {
        KeywordTable t;
        for (const auto& k : KEYWORDS)
            t.longest = std::max(t.longest, std::string_view(k.first).size());
        t.buckets.resize((t.longest + 1) * KeywordTable::LETTERS);
        for (const auto& k : KEYWORDS)
            t.at(std::string_view(k.first).size(), k.first[0]).emplace_back(k.first, k.second);
        return t;
    }();
    return table;
}

// Which of the parser's word sets hold a word, as bits, so that testing a
// token's text takes one lookup and no string.
enum WordSet : unsigned { EXTENSION_WORD = 1, ASSEMBLER_SPELLING = 2, ACCESS_LIKE_WORD = 4 };

unsigned wordSets(std::string_view word)
{
    struct Table {
        std::unordered_map<std::string_view, unsigned> sets;
        std::size_t longest = 0;
        // The first characters of the words, so that most names need no
        // lookup at all.
        bool starts[256] = {};
        void add(const std::set<std::string>& words, unsigned bit)
        {
            for (const std::string& w : words) {
                sets[w] |= bit; // the sets are never changed, so the views stay valid
                longest = std::max(longest, w.size());
                if (!w.empty())
                    starts[static_cast<unsigned char>(w[0])] = true;
            }
        }
    };
    static const Table table = [] {
        Table t;
        t.add(extensionWords(), EXTENSION_WORD);
        t.add(assemblerSpellings(), ASSEMBLER_SPELLING);
        t.add(accessLikeWords(), ACCESS_LIKE_WORD);
        return t;
    }();
    if (word.empty() || word.size() > table.longest || !table.starts[static_cast<unsigned char>(word[0])])
        return 0;
    const auto it = table.sets.find(word);
    return it == table.sets.end() ? 0 : it->second;
}

} // namespace

std::int32_t keywordType(std::string_view word)
{
    // Every keyword starts with a lower-case letter: names that start with
    // an underscore or a capital, and qualified names, need no comparison.
    const KeywordTable& table = keywordTable();
    if (word.empty() || word.size() > table.longest || word[0] < 'a' || word[0] > 'z')
        return Trn::END_OF_FILE;
    const std::size_t bucket = word.size() * KeywordTable::LETTERS + static_cast<std::size_t>(word[0] - 'a');
    for (const auto& k : table.buckets[bucket])
        if (k.first == word)
            return k.second;
    return Trn::END_OF_FILE;
}

std::string keywordText(std::int32_t type)
{
    for (const auto& k : KEYWORDS)
        if (k.second == type)
            return k.first;
    return std::string();
}

bool endsQualifiedName(std::string_view word)
{
    return word == "new" || word == "delete" || word == "operator";
}

const std::set<std::string>& extensionWords()
{
    static const std::set<std::string> words = {
        "__based",      "_based",     "__assume",    "_assume",     "__declspec",
        "_declspec",    "__interrupt", "_interrupt", "interrupt",   "__published",
        "_published",   "__automated", "_automated"};
    return words;
}

const std::set<std::string>& assemblerSpellings()
{
    static const std::set<std::string> words = {"asm",   "_asm",   "__asm",   "asm_",
                                                "asm__", "_asm_",  "__asm__", "___asm"};
    return words;
}

const std::set<std::string>& accessLikeWords()
{
    static const std::set<std::string> words = {"signals", "slots", "__published", "__automated"};
    return words;
}

bool isExtensionWord(std::string_view word) { return (wordSets(word) & EXTENSION_WORD) != 0; }

bool isTypeQualifier(std::int32_t type, std::string_view text)
{
    switch (type) {
    case STAR:
    case AMPERSAND:
    case VIRTUAL_KEY:
    case USING_KEY:
    case CONST_KEY:
    case MUTABLE_KEY:
    case VOLATILE_KEY:
    case STATIC_KEY:
    case INLINE_KEY:
    case UNSIGNED_KEY:
    case AUTO_KEY:
    case REGISTER_KEY:
    case FRIEND_KEY:
    case TYPENAME_KEY:
        return true;
    case IDENTIFIER:
        return isExtensionWord(text);
    default:
        return false;
    }
}

bool isAsmKeyword(std::int32_t type, std::string_view text)
{
    return type == ASM_KEY || (wordSets(text) & ASSEMBLER_SPELLING) != 0;
}

bool isAccessSpecifier(std::int32_t type, std::string_view text)
{
    if (type >= PUBLIC_KEY && type <= PROTECTED_KEY)
        return true;
    return type == IDENTIFIER && (wordSets(text) & ACCESS_LIKE_WORD) != 0;
}

bool isReservedWord(std::int32_t type, std::string_view text)
{
    if (type >= FIRST_KEYWORD && type <= LAST_NON_TYPE_KEYWORD)
        return true;
    return isAsmKeyword(type, text) || isExtensionWord(text) || isAccessSpecifier(type, text);
}

bool isDeclarationStop(std::int32_t type, std::string_view text)
{
    switch (type) {
    case SEMICOLON:
    case LPAREN:
    case LBRACE:
    case EQUALS:
        return true;
    case CLASS_KEY:
    case STRUCT_KEY:
    case TYPEDEF_KEY:
    case UNION_KEY:
    case EXTERN_KEY:
        return false;
    default:
        return (isReservedWord(type, text) && !isTypeQualifier(type, text)) || isAccessSpecifier(type, text);
    }
}

bool isTypeQualifier(const Trn::Token& token) { return isTypeQualifier(token.type(), token.text()); }
bool isAsmKeyword(const Trn::Token& token) { return isAsmKeyword(token.type(), token.text()); }
bool isAccessSpecifier(const Trn::Token& token) { return isAccessSpecifier(token.type(), token.text()); }
bool isReservedWord(const Trn::Token& token) { return isReservedWord(token.type(), token.text()); }
bool isDeclarationStop(const Trn::Token& token) { return isDeclarationStop(token.type(), token.text()); }

InvalidKeyword::InvalidKeyword() : Trn::Exception("Not a keyword") {}

} // namespace Cpp
