#include "Stylist_UserDataConverter.h"

#include "Corvale_Exception.h"
#include "Stylist_Messages.h"
#include "Stylist_SchemeKeys.h"

#include <cstdint>
#include <cstring>
#include <exception>
#include <iterator>
#include <set>
#include <sstream>

namespace Stylist {

// ---- versions ---------------------------------------------------------------

const char* const CONVERTED_VERSION = "1.4.0";

Version parseVersion(const std::string& s)
{
    CORVALE_CHECK(!s.empty());
    std::string text = s;
    for (char& c : text)
        if (c == '.')
            c = ' ';
    std::istringstream in(text);
    int numbers[3] = {0, 0, 0};
    for (int& n : numbers) {
        if (!(in >> n)) {
            // A failed read may leave a clamped value behind; a number that
            // does not read counts as 0.
            n = 0;
            break;
        }
    }
    Version v;
    v.m_Major = numbers[0];
    v.m_Minor = numbers[1];
    v.m_Third = numbers[2];
    return v;
}

int compareVersions(const std::string& lhs, const std::string& rhs)
{
    CORVALE_CHECK(!lhs.empty());
    CORVALE_CHECK(!rhs.empty());
    const Version a = parseVersion(lhs);
    const Version b = parseVersion(rhs);
    if (a.m_Major != b.m_Major)
        return a.m_Major < b.m_Major ? -1 : 1;
    if (a.m_Minor != b.m_Minor)
        return a.m_Minor < b.m_Minor ? -1 : 1;
    if (a.m_Third != b.m_Third)
        return a.m_Third < b.m_Third ? -1 : 1;
    return 0;
}

// ---- messages -------------------------------------------------------------------

namespace {

// Conversion message number -> catalogue number.
const int CONVERSION_CATALOGUE[] = {5, 6, 7, 8, 11, 12, 13};

} // namespace

std::string conversionMessage(int number)
{
    CORVALE_CHECK(number >= 0 && number < static_cast<int>(std::size(CONVERSION_CATALOGUE)));
    return appMessage(CONVERSION_CATALOGUE[number]);
}

const char* const OBSOLETE_KEYS[32] = {
    Key::ALIGN_FN_PARAMS_LEFT,
    Key::ALIGN_FN_PARAMS_LEFT_ON_WRAP,
    Key::WS_AFTER_DD_NAME,
    Key::ALIGN_CS_FOR_CLAUSES_LEFT,
    Key::ALIGN_CS_FOR_CLAUSES_LEFT_ON_WRAP,
    Key::SPACES_PER_TAB,
    Key::WS_AFTER_CLASS_HEAD,
    Key::WS_AFTER_NS_HEAD,
    Key::WS_AFTER_ENUM_HEAD,
    Key::WS_AFTER_FN_HEAD,
    Key::WS_AFTER_CS_HEAD,
    Key::WS_AFTER_DD_RBRACKET,
    Key::LINE_WRAP,
    Key::WRAP_STYLE,
    Key::WRAP_INDENT,
    Key::INDENT_WRAP_STYLE,
    Key::COMMA_WRAP_STYLE,
    Key::LIST_WRAP_STRATEGY,
    Key::ENUMS_DO_NOT_FORMAT,
    Key::NAMESPACES_DO_NOT_FORMAT,
    Key::TEMPLATES_DO_NOT_FORMAT,
    Key::CONTROLSTATEMENTS_DO_NOT_FORMAT,
    Key::MEMBERINITS_DO_NOT_FORMAT,
    Key::POINTERSREFS_DO_NOT_FORMAT,
    Key::ENUMS_USE_GLOBAL_SETTINGS,
    Key::NAMESPACES_USE_GLOBAL_SETTINGS,
    Key::TEMPLATES_USE_GLOBAL_SETTINGS,
    Key::CONTROLSTATEMENTS_USE_GLOBAL_SETTINGS,
    Key::MEMBERINITS_USE_GLOBAL_SETTINGS,
    Key::POINTERSREFS_USE_GLOBAL_SETTINGS,
    Key::DATA_USE_GLOBAL_SETTINGS,
    Key::DATA_DO_NOT_FORMAT,
};

// ---- one scheme ------------------------------------------------------------------

bool schemeNeedsConversion(const PropertySet& scheme, const std::string& version)
{
    std::string stored;
    if (!scheme.getString(Key::QUILLON_VERSION, stored))
        return true;
    return compareVersions(stored, version) < 0;
}

namespace {

// Edits a scheme and notes whether any value was added, altered or
// removed. Writing a value a key already holds is no change, so a scheme
// that is already complete and current converts without being rewritten.
class SchemeEditor {
public:
    explicit SchemeEditor(PropertySet& scheme) : m_Scheme(scheme) {}

    bool changed() const { return m_Changed; }
    const PropertySet& scheme() const { return m_Scheme; }

    bool getBool(const char* key, bool& out) const { return m_Scheme.getBool(key, out); }
    bool getInt(const char* key, std::int32_t& out) const { return m_Scheme.getInt(key, out); }
    bool getString(const char* key, std::string& out) const { return m_Scheme.getString(key, out); }
    bool hasBool(const char* key) const { return m_Scheme.bools().count(key) != 0; }
    bool hasInt(const char* key) const { return m_Scheme.ints().count(key) != 0; }
    bool hasString(const char* key) const { return m_Scheme.strings().count(key) != 0; }

    void setBool(const char* key, bool value)
    {
        bool old = false;
        if (m_Scheme.getBool(key, old) && old == value)
            return;
        m_Scheme.setBool(key, value);
        m_Changed = true;
    }
    void setInt(const char* key, std::int32_t value)
    {
        std::int32_t old = 0;
        if (m_Scheme.getInt(key, old) && old == value)
            return;
        m_Scheme.setInt(key, value);
        m_Changed = true;
    }
    void setString(const char* key, const std::string& value)
    {
        std::string old;
        if (m_Scheme.getString(key, old) && old == value)
            return;
        m_Scheme.setString(key, value);
        m_Changed = true;
    }

    // Removes the name from one map, as PropertySet::remove does.
    void remove(const char* key)
    {
        if (m_Scheme.remove(key))
            m_Changed = true;
    }

    // Removes the integer and the boolean of that name and keeps a string
    // of that name. PropertySet::remove takes the string first, so a string
    // in the way is taken out and put back.
    void removeIntAndBool(const char* key)
    {
        std::string keep;
        const bool hadString = m_Scheme.getString(key, keep);
        while (m_Scheme.remove(key))
            m_Changed = true;
        if (hadString)
            m_Scheme.setString(key, keep);
    }

private:
    PropertySet& m_Scheme;
    bool m_Changed = false;
};

// The eight wrapped constructs, in the order conversion fans the old global
// wrap settings out to them.
const WrapFamily* const CONSTRUCTS[] = {
    &Key::GLOBAL_WRAP, &Key::ENUM_WRAP,    &Key::DD_WRAP,      &Key::CLASS_INIT_WRAP,
    &Key::EXPR_WRAP,   &Key::FN_DECL_WRAP, &Key::FN_DEFN_WRAP, &Key::BASE_CLAUSE_WRAP,
};

// The constructs that have an indent wrap style of their own (data
// declarations and enumerations use the GLOBAL one).
const char* const INDENT_WRAP_STYLE_KEYS[] = {
    Key::GLOBAL_INDENT_WRAP_STYLE,      Key::CLASS_INIT_INDENT_WRAP_STYLE, Key::FN_DECL_INDENT_WRAP_STYLE,
    Key::FN_DEFN_INDENT_WRAP_STYLE,     Key::BASE_CLAUSE_INDENT_WRAP_STYLE, Key::EXPR_INDENT_WRAP_STYLE,
};

// ---- step 1: derivations ------------------------------------------------------

enum class Type { BOOL, INT, STRING };

// A current key that takes its value from another key when it is absent.
struct Derivation {
    const char* m_Current;
    const char* m_Source;
    Type m_Type; // of both keys
};

// Rows whose current key copies the source's value, in table order. The
// two flag-to-newline rows and the OPERATOR_WRAP_STYLE row are handled
// apart, at their places in the table.
const Derivation COPY_AFTER_FN_PARAMS[] = {
    {Key::WS_BEFORE_DD_OPEN_BRACE, Key::GLOBAL_WS_BEFORE_OPEN_BRACE, Type::STRING},
    {Key::WS_AFTER_DD_OPEN_BRACE, Key::GLOBAL_WS_AFTER_OPEN_BRACE, Type::STRING},
    {Key::WS_BEFORE_DD_CLOSE_BRACE, Key::GLOBAL_WS_BEFORE_CLOSE_BRACE, Type::STRING},
    {Key::INDENT_DD_CONTENT, Key::GLOBAL_INDENT_CONTENT, Type::STRING},
    {Key::WS_AFTER_FN_CALL_NAME, Key::WS_AFTER_FN_NAME, Type::STRING},
    {Key::WS_BETWEEN_FN_CALL_ARGS, Key::WS_BETWEEN_FN_PARAMS, Type::STRING},
    {Key::TAB_SIZE, Key::SPACES_PER_TAB, Type::INT},
    {Key::WS_BEFORE_CLASS_OPEN_BRACE, Key::WS_AFTER_CLASS_HEAD, Type::STRING},
    {Key::WS_BEFORE_NS_OPEN_BRACE, Key::WS_AFTER_NS_HEAD, Type::STRING},
    {Key::WS_BEFORE_ENUM_OPEN_BRACE, Key::WS_AFTER_ENUM_HEAD, Type::STRING},
    {Key::WS_BEFORE_FN_OPEN_BRACE, Key::WS_AFTER_FN_HEAD, Type::STRING},
    {Key::WS_BEFORE_CS_OPEN_BRACE, Key::WS_AFTER_CS_HEAD, Type::STRING},
};

const Derivation COPY_AFTER_OPERATOR[] = {
    {Key::ENUM_DO_NOT_FORMAT, Key::ENUMS_DO_NOT_FORMAT, Type::BOOL},
    {Key::NS_DO_NOT_FORMAT, Key::NAMESPACES_DO_NOT_FORMAT, Type::BOOL},
    {Key::TP_DO_NOT_FORMAT, Key::TEMPLATES_DO_NOT_FORMAT, Type::BOOL},
    {Key::CS_DO_NOT_FORMAT, Key::CONTROLSTATEMENTS_DO_NOT_FORMAT, Type::BOOL},
    {Key::CLASS_INIT_DO_NOT_FORMAT, Key::MEMBERINITS_DO_NOT_FORMAT, Type::BOOL},
    {Key::POINTERS_REFS_DO_NOT_FORMAT, Key::POINTERSREFS_DO_NOT_FORMAT, Type::BOOL},
    {Key::ENUM_USE_GLOBAL_SETTINGS, Key::ENUMS_USE_GLOBAL_SETTINGS, Type::BOOL},
    {Key::DD_USE_GLOBAL_SETTINGS, Key::DATA_USE_GLOBAL_SETTINGS, Type::BOOL},
    {Key::NS_USE_GLOBAL_SETTINGS, Key::NAMESPACES_USE_GLOBAL_SETTINGS, Type::BOOL},
    {Key::TP_USE_GLOBAL_SETTINGS, Key::TEMPLATES_USE_GLOBAL_SETTINGS, Type::BOOL},
    {Key::CS_USE_GLOBAL_SETTINGS, Key::CONTROLSTATEMENTS_USE_GLOBAL_SETTINGS, Type::BOOL},
    {Key::CLASS_INIT_USE_GLOBAL_SETTINGS, Key::MEMBERINITS_USE_GLOBAL_SETTINGS, Type::BOOL},
    // The earlier version kept no separate global-settings switch for
    // pointers and references that survives; its value only reaches the
    // do-not-format switch when the old do-not-format key was absent.
    {Key::POINTERS_REFS_DO_NOT_FORMAT, Key::POINTERSREFS_USE_GLOBAL_SETTINGS, Type::BOOL},
};

// Sets the current key from the source when the current key is absent from
// its type's map and the source is present in its own.
void derive(SchemeEditor& e, const Derivation& d)
{
    switch (d.m_Type) {
    case Type::BOOL: {
        bool v = false;
        if (!e.hasBool(d.m_Current) && e.getBool(d.m_Source, v))
            e.setBool(d.m_Current, v);
        break;
    }
    case Type::INT: {
        std::int32_t v = 0;
        if (!e.hasInt(d.m_Current) && e.getInt(d.m_Source, v))
            e.setInt(d.m_Current, v);
        break;
    }
    case Type::STRING: {
        std::string v;
        if (!e.hasString(d.m_Current) && e.getString(d.m_Source, v))
            e.setString(d.m_Current, v);
        break;
    }
    }
}

// The old "align left" flags put every item on a line of its own: a newline
// as the separator, only when the flag was on.
void deriveNewlineFromFlag(SchemeEditor& e, const char* current, const char* flag)
{
    bool on = false;
    if (!e.hasString(current) && e.getBool(flag, on) && on)
        e.setString(current, "\n");
}

// Whether the scheme still holds a key that only the earlier version
// wrote.
bool holdsObsoleteKeys(const PropertySet& scheme)
{
    for (const char* key : OBSOLETE_KEYS)
        if (scheme.has(key))
            return true;
    return false;
}

void deriveKeys(SchemeEditor& e)
{
    // Decided before any step removes or adds a key.
    const bool earlierVersion = holdsObsoleteKeys(e.scheme());

    deriveNewlineFromFlag(e, Key::WS_BETWEEN_FN_PARAMS, Key::ALIGN_FN_PARAMS_LEFT);
    deriveNewlineFromFlag(e, Key::WS_BETWEEN_CS_FOR_CLAUSES, Key::ALIGN_CS_FOR_CLAUSES_LEFT);
    for (const Derivation& d : COPY_AFTER_FN_PARAMS)
        derive(e, d);
    // The earlier version kept the operator wrap style in the expression
    // wrap style: in its schemes that value wins even over an operator
    // wrap style that is already there. A scheme without any key of the
    // earlier version has its own operator wrap style, which is only filled
    // in when absent; otherwise a scheme completed with the defaults
    // (operator style 2, expression wrap style 1) would be rewritten at
    // every start, and a user's own operator style reverted.
    std::int32_t style = 0;
    if (e.getInt(Key::EXPR_WRAP_STYLE, style) && (earlierVersion || !e.hasInt(Key::OPERATOR_WRAP_STYLE)))
        e.setInt(Key::OPERATOR_WRAP_STYLE, style);
    for (const Derivation& d : COPY_AFTER_OPERATOR)
        derive(e, d);
}

// ---- step 2: the old 0 encodings ------------------------------------------------

struct IntValue {
    const char* m_Key;
    std::int32_t m_Value;
};

// Keys that the earlier version stored with 0 for a style that now has its
// own number.
const IntValue ZERO_REMAPPED[] = {
    {Key::GLOBAL_COMMA_WRAP_STYLE, 2},       {Key::OPERATOR_WRAP_STYLE, 2},
    {Key::GLOBAL_LIST_WRAP_STRATEGY, 1},     {Key::SHIFT_WRAP_STYLE, 2},
    {Key::GLOBAL_WRAP_STYLE, 1},             {Key::GLOBAL_INDENT_WRAP_STYLE, 1},
    {Key::CLASS_INIT_INDENT_WRAP_STYLE, 1},  {Key::EXPR_INDENT_WRAP_STYLE, 1},
    {Key::FN_DECL_INDENT_WRAP_STYLE, 1},     {Key::FN_DEFN_INDENT_WRAP_STYLE, 1},
    {Key::BASE_CLAUSE_INDENT_WRAP_STYLE, 1},
};

void remapZero(SchemeEditor& e, const char* key, std::int32_t value)
{
    std::int32_t v = 0;
    if (e.getInt(key, v) && v == 0)
        e.setInt(key, value);
}

void remapValues(SchemeEditor& e)
{
    for (const IntValue& r : ZERO_REMAPPED)
        remapZero(e, r.m_Key, r.m_Value);
    for (const WrapFamily* c : CONSTRUCTS)
        remapZero(e, c->m_Keys.m_Comma, 2);
    for (const WrapFamily* c : CONSTRUCTS)
        if (c != &Key::GLOBAL_WRAP)
            remapZero(e, c->m_Keys.m_Strategy, 1);
}

// ---- step 3: LINE_WRAP_DO_NOT_FORMAT becomes a flag ---------------------------------

void retypeLineWrapDoNotFormat(SchemeEditor& e)
{
    std::int32_t number = 0;
    if (!e.getInt(Key::LINE_WRAP_DO_NOT_FORMAT, number))
        return;
    // A flag stored beside the integer keeps its value. Without one, the
    // integer is read the way the earlier version read its switches: any
    // value but 0 is on. Either way the key ends up a flag, which the line
    // wrapper requires.
    bool flag = number != 0;
    e.getBool(Key::LINE_WRAP_DO_NOT_FORMAT, flag);
    e.removeIntAndBool(Key::LINE_WRAP_DO_NOT_FORMAT);
    e.setBool(Key::LINE_WRAP_DO_NOT_FORMAT, flag);
}

// ---- step 4: fan-out of the old global wrap settings ------------------------------

void fanOutInt(SchemeEditor& e, const char* oldKey, const char* key)
{
    std::int32_t v = 0;
    if (!e.hasInt(key) && e.getInt(oldKey, v))
        e.setInt(key, v);
}

void fanOut(SchemeEditor& e)
{
    bool lineWrap = false;
    if (e.getBool(Key::LINE_WRAP, lineWrap))
        for (const WrapFamily* c : CONSTRUCTS)
            if (!e.hasBool(c->m_LineWrap))
                e.setBool(c->m_LineWrap, lineWrap);

    for (const WrapFamily* c : CONSTRUCTS)
        fanOutInt(e, Key::WRAP_STYLE, c->m_Keys.m_Style);

    // The wrap indent is a whitespace string, and every reader of a
    // construct's wrap indent requires a string: the old string value is
    // copied to the constructs that have no string of their own. An old
    // wrap indent kept only as a number is no whitespace and is not
    // carried over; those constructs get the empty default of step 6.
    std::string indent;
    if (e.getString(Key::WRAP_INDENT, indent))
        for (const WrapFamily* c : CONSTRUCTS)
            if (!e.hasString(c->m_Keys.m_Indent))
                e.setString(c->m_Keys.m_Indent, indent);

    for (const char* key : INDENT_WRAP_STYLE_KEYS)
        fanOutInt(e, Key::INDENT_WRAP_STYLE, key);
    for (const WrapFamily* c : CONSTRUCTS)
        fanOutInt(e, Key::COMMA_WRAP_STYLE, c->m_Keys.m_Comma);
    for (const WrapFamily* c : CONSTRUCTS)
        fanOutInt(e, Key::LIST_WRAP_STRATEGY, c->m_Keys.m_Strategy);
}

// The GLOBAL values that the fan-out has just created from an old 0 get the
// number that 0 now stands for, as a second conversion would give them:
// every reader requires them, and 0 is outside their legal range, so the
// first run after conversion would otherwise end in an internal error.
void remapFannedOutGlobals(SchemeEditor& e)
{
    for (const IntValue& r : ZERO_REMAPPED)
        if (std::strncmp(r.m_Key, "GLOBAL_", 7) == 0)
            remapZero(e, r.m_Key, r.m_Value);
}

// ---- step 5: the old data declaration switch ---------------------------------------

void deriveDdDoNotFormat(SchemeEditor& e)
{
    bool v = false;
    if (!e.hasBool(Key::DD_DO_NOT_FORMAT) && e.getBool(Key::DATA_DO_NOT_FORMAT, v))
        e.setBool(Key::DD_DO_NOT_FORMAT, v);
}

// ---- step 6: defaults ----------------------------------------------------------------

const IntValue INT_DEFAULTS[] = {
    {Key::TAB_SIZE, 4},
    {Key::RIGHT_MARGIN, 78},
    {Key::AMPERSAND_ANCHOR, -1},
    {Key::ASTERISK_ANCHOR, -1},
    {Key::FOR_CS_SINGLE_STMT_BRACE_STYLE, 0},
    {Key::WHILE_CS_SINGLE_STMT_BRACE_STYLE, 0},
    {Key::IF_ELSE_CS_SINGLE_STMT_BRACE_STYLE, 0},
    {Key::CONVERT_WS, 0},
    {Key::SHIFT_WRAP_STYLE, 2},
    {Key::OPERATOR_WRAP_STYLE, 2},
};

const char* const BOOL_DEFAULTS_TRUE[] = {
    Key::ALIGN_PPD_LEFT_MOST,
    Key::BASE_CLAUSE_WRAP_USE_GLOBAL_SETTINGS,
    Key::CLASS_INIT_WRAP_USE_GLOBAL_SETTINGS,
    Key::ENUM_WRAP_USE_GLOBAL_SETTINGS,
    Key::FN_DECL_WRAP_USE_GLOBAL_SETTINGS,
    Key::FN_DEFN_WRAP_USE_GLOBAL_SETTINGS,
    Key::DD_WRAP_USE_GLOBAL_SETTINGS,
    Key::EXPR_WRAP_USE_GLOBAL_SETTINGS,
};

// (The eight construct line-wrap switches are false too; they are added
// from the construct table.)
const char* const BOOL_DEFAULTS_FALSE[] = {
    Key::DD_DO_NOT_FORMAT,
    Key::ALIGN_CLASS_MEMBER_NAMES_LEFT,
    Key::ALIGN_CS_FOR_CLAUSES_ON_WRAP,
    Key::ALIGN_DD_INITIALIZERS,
    Key::ALIGN_DD_NAMES_LEFT,
    Key::ALIGN_ENUM_INITIALIZERS,
    Key::ALIGN_FN_DECL_NAMES_LEFT,
    Key::PPD_DO_NOT_FORMAT,
    Key::CLASS_DO_NOT_FORMAT,
    Key::FN_DO_NOT_FORMAT,
    Key::EXPR_DO_NOT_FORMAT,
    Key::ENUM_DO_NOT_FORMAT,
    Key::NS_DO_NOT_FORMAT,
    Key::TP_DO_NOT_FORMAT,
    Key::CS_DO_NOT_FORMAT,
    Key::CLASS_INIT_DO_NOT_FORMAT,
    Key::POINTERS_REFS_DO_NOT_FORMAT,
    Key::GLOBALS_DO_NOT_FORMAT,
    Key::CLASS_USE_GLOBAL_SETTINGS,
    Key::FN_USE_GLOBAL_SETTINGS,
    Key::DD_USE_GLOBAL_SETTINGS,
    Key::EXPR_USE_GLOBAL_SETTINGS,
    Key::ENUM_USE_GLOBAL_SETTINGS,
    Key::NS_USE_GLOBAL_SETTINGS,
    Key::TP_USE_GLOBAL_SETTINGS,
    Key::CLASS_INIT_USE_GLOBAL_SETTINGS,
    Key::CS_USE_GLOBAL_SETTINGS,
    Key::HANGING_AMPERSAND,
    Key::HANGING_ASTERISK,
    Key::LINE_WRAP_DO_NOT_FORMAT,
};

const char* const STRING_DEFAULTS_BLANK[] = {
    Key::WS_AFTER_DD_TYPE_ID,    Key::WS_AFTER_FN_DEFN_RETURN_TYPE, Key::WS_AFTER_FN_DECL_RETURN_TYPE,
    Key::WS_BETWEEN_DD_ELEMENTS, Key::WS_BETWEEN_EXPR_OP_OPERANDS,
};

// (The eight construct wrap indents are empty too; they are added from the
// construct table.)
const char* const STRING_DEFAULTS_EMPTY[] = {
    Key::LEFT_MARGIN,
    Key::WS_AFTER_CLASS_INIT_LIST,
    Key::WS_AFTER_CLASS_NAME,
    Key::WS_AFTER_CLASS_OPEN_BRACE,
    Key::WS_AFTER_CS_CASE_LABELS,
    Key::WS_AFTER_CS_KEY,
    Key::WS_AFTER_CS_OPEN_BRACE,
    Key::WS_AFTER_CS_OPEN_PAREN,
    Key::WS_AFTER_ENUM_OPEN_BRACE,
    Key::WS_AFTER_EXPR_OPEN_PAREN,
    Key::WS_AFTER_FN_CALL_NAME,
    Key::WS_AFTER_FN_NAME,
    Key::WS_AFTER_FN_OPEN_BRACE,
    Key::WS_AFTER_FN_OPEN_PAREN,
    Key::WS_AFTER_LBRACKET,
    Key::WS_AFTER_NS_OPEN_BRACE,
    Key::WS_AFTER_TP_CLOSE_BRACKET,
    Key::WS_AFTER_TP_OPEN_BRACKET,
    Key::WS_BEFORE_BASE_CLAUSES,
    Key::WS_BEFORE_CLASS_CLOSE_BRACE,
    Key::WS_BEFORE_CLASS_INITS,
    Key::WS_BEFORE_CLASS_INIT_LIST,
    Key::WS_BEFORE_CS_CLOSE_BRACE,
    Key::WS_BEFORE_CS_CLOSE_PAREN,
    Key::WS_BEFORE_ENUM_CLOSE_BRACE,
    Key::WS_BEFORE_EXPR_CLOSE_PAREN,
    Key::WS_BEFORE_FN_CLOSE_BRACE,
    Key::WS_BEFORE_FN_OPEN_BRACE,
    Key::WS_BEFORE_FN_CLOSE_PAREN,
    Key::WS_BEFORE_NS_CLOSE_BRACE,
    Key::WS_BEFORE_NS_OPEN_BRACE,
    Key::WS_BEFORE_RBRACKET,
    Key::WS_BEFORE_TP_CLOSE_BRACKET,
    Key::WS_BEFORE_TP_OPEN_BRACKET,
    Key::WS_BETWEEN_AMPERSAND_ANCHOR,
    Key::WS_BETWEEN_ASTERISK_ANCHOR,
    Key::WS_BETWEEN_BASE_CLAUSES,
    Key::WS_BETWEEN_CLASS_INITS,
    Key::WS_BETWEEN_ENUM_ELEMENTS,
    Key::WS_BETWEEN_TP_PARAMS,
    Key::GLOBAL_INDENT_CONTENT,
    Key::GLOBAL_WS_AFTER_OPEN_BRACE,
    Key::GLOBAL_WS_AFTER_OPEN_PAREN,
    Key::GLOBAL_WS_BEFORE_CLOSE_BRACE,
    Key::GLOBAL_WS_BEFORE_CLOSE_PAREN,
    Key::GLOBAL_WS_BEFORE_OPEN_BRACE,
    Key::GLOBAL_WS_BEFORE_COMMA,
    Key::INDENT_ACCESS_SPEC_LABEL,
    Key::INDENT_CLASS_CONTENT,
    Key::INDENT_CS_CASE_CONTENT,
    Key::INDENT_CS_CASE_LABELS,
    Key::INDENT_DD_CONTENT,
    Key::INDENT_ENUM_CONTENT,
    Key::INDENT_NS_CONTENT,
    Key::INDENT_FN_CONTENT,
    Key::INDENT_CS_CONTENT,
    Key::WS_BETWEEN_FN_PARAMS,
    Key::WS_BETWEEN_CS_FOR_CLAUSES,
    Key::WS_BEFORE_BASE_CLAUSES_COMMA,
    Key::WS_BEFORE_CLASS_INITS_COMMA,
    Key::WS_BEFORE_CLASS_OPEN_BRACE,
    Key::WS_BEFORE_CS_OPEN_BRACE,
    Key::WS_BEFORE_DD_OPEN_BRACE,
    Key::WS_BEFORE_ENUM_COMMA,
    Key::WS_BEFORE_ENUM_OPEN_BRACE,
    Key::WS_BEFORE_FN_CALL_COMMA,
    Key::WS_BEFORE_LBRACKET,
    Key::WS_BEFORE_TP_COMMA,
    Key::WS_BETWEEN_CS,
    Key::WS_BETWEEN_FN_CALL_ARGS,
    Key::WS_BETWEEN_UNARY_OP_OPERAND,
    Key::WS_BETWEEN_CAST_OPERAND,
    Key::WS_AFTER_DD_OPEN_BRACE,
    Key::WS_BEFORE_DD_CLOSE_BRACE,
    Key::WS_BEFORE_DD_COMMA,
    Key::WS_BEFORE_FN_COMMA,
};

void addInt(SchemeEditor& e, const char* key, std::int32_t value)
{
    if (!e.hasInt(key))
        e.setInt(key, value);
}

void addBool(SchemeEditor& e, const char* key, bool value)
{
    if (!e.hasBool(key))
        e.setBool(key, value);
}

void addString(SchemeEditor& e, const char* key, const char* value)
{
    if (!e.hasString(key))
        e.setString(key, value);
}

void addDefaults(SchemeEditor& e)
{
    for (const IntValue& d : INT_DEFAULTS)
        addInt(e, d.m_Key, d.m_Value);
    for (const WrapFamily* c : CONSTRUCTS) {
        addInt(e, c->m_Keys.m_Style, 1);
        addInt(e, c->m_Keys.m_Comma, 2);
        addInt(e, c->m_Keys.m_Strategy, 1);
    }
    for (const char* key : INDENT_WRAP_STYLE_KEYS)
        addInt(e, key, 1);

    for (const char* key : BOOL_DEFAULTS_TRUE)
        addBool(e, key, true);
    for (const char* key : BOOL_DEFAULTS_FALSE)
        addBool(e, key, false);
    for (const WrapFamily* c : CONSTRUCTS)
        addBool(e, c->m_LineWrap, false);

    for (const char* key : STRING_DEFAULTS_BLANK)
        addString(e, key, " ");
    for (const char* key : STRING_DEFAULTS_EMPTY)
        addString(e, key, "");
    for (const WrapFamily* c : CONSTRUCTS)
        addString(e, c->m_Keys.m_Indent, "");
}

// ---- step 7: removal ---------------------------------------------------------------------

void removeObsoleteKeys(SchemeEditor& e)
{
    for (const char* key : OBSOLETE_KEYS)
        e.remove(key);
    // These two names were stored with two types by some earlier versions;
    // the second removal takes the other one.
    e.remove(Key::WRAP_INDENT);
    e.remove(Key::DATA_DO_NOT_FORMAT);
}

} // namespace

bool convertScheme(PropertySet& scheme)
{
    SchemeEditor e(scheme);
    deriveKeys(e);
    remapValues(e);
    retypeLineWrapDoNotFormat(e);
    fanOut(e);
    remapFannedOutGlobals(e);
    deriveDdDoNotFormat(e);
    addDefaults(e);
    removeObsoleteKeys(e);
    if (!e.changed())
        return false;
    scheme.setString(Key::QUILLON_VERSION, CONVERTED_VERSION);
    return true;
}

// ---- the scheme directory -------------------------------------------------------------------

UserDataConverter::UserDataConverter(const Corvale::Registry& registry)
{
    // The user's own choice of directory comes first here.
    for (Corvale::Registry::Root root : {Corvale::Registry::Root::CURRENT_USER, Corvale::Registry::Root::LOCAL_MACHINE}) {
        const boost::optional<Corvale::Registry::Key> key = registry.open(root, Corvale::QUILLON_REGISTRY_KEY);
        std::string value;
        if (key && key->queryString(Corvale::SCHEME_DIRECTORY_VALUE, value) && !value.empty()) {
            m_Directory = value;
            break;
        }
    }
}

UserDataConverter::~UserDataConverter() = default;

PropertySetStore& UserDataConverter::store()
{
    if (!m_pStore) {
        std::unique_ptr<PropertySetStore> store(new PropertySetStore(m_Directory));
        store->load();
        m_pStore = std::move(store);
    }
    return *m_pStore;
}

bool UserDataConverter::needsConversion(const std::string& version)
{
    if (m_Directory.empty())
        return false;
    for (const auto& scheme : store().schemes()) {
        try {
            if (schemeNeedsConversion(scheme.second.m_Set, version))
                return true;
        } catch (const Corvale::ContractViolation&) {
            // An empty stored version: conversion reports the scheme.
            return true;
        }
    }
    return false;
}

namespace {

// Marks schemes read-only for the length of one save, so that only the
// schemes that changed are written back; the flags are restored after.
class WriteOnly {
public:
    WriteOnly(PropertySetStore& store, const std::set<std::string>& changed)
    {
        for (auto& scheme : store.schemes()) {
            PropertySetStore::Entry& entry = scheme.second;
            if (!entry.m_ReadOnly && changed.count(scheme.first) == 0) {
                entry.m_ReadOnly = true;
                m_Held.push_back(&entry);
            }
        }
    }
    ~WriteOnly()
    {
        for (PropertySetStore::Entry* entry : m_Held)
            entry->m_ReadOnly = false;
    }
    WriteOnly(const WriteOnly&) = delete;
    WriteOnly& operator=(const WriteOnly&) = delete;

private:
    std::vector<PropertySetStore::Entry*> m_Held;
};

} // namespace

void UserDataConverter::convert(const std::string& version, std::vector<std::string>& messages)
{
    if (m_Directory.empty())
        return;
    PropertySetStore& schemes = store();

    std::vector<std::string> readOnly;
    std::set<std::string> changed;
    for (auto& scheme : schemes.schemes()) {
        PropertySetStore::Entry& entry = scheme.second;
        try {
            if (!schemeNeedsConversion(entry.m_Set, version))
                continue;
            if (entry.m_ReadOnly) {
                readOnly.push_back(scheme.first);
                continue;
            }
            // Converted on a copy: a scheme that fails half-way stays as it
            // was, in the store and so on disk.
            PropertySet converted(entry.m_Set);
            if (convertScheme(converted)) {
                entry.m_Set.swap(converted);
                changed.insert(scheme.first);
            }
        } catch (...) {
            messages.push_back(fillMessage(conversionMessage(CONV_INVALID_SCHEME_VALUE), scheme.first,
                                           Key::QUILLON_VERSION, Key::QUILLON_VERSION));
        }
    }

    if (!changed.empty()) {
        // Schemes that did not change keep their files byte for byte
        // (comments and all), rather than being written back in the
        // store's own layout.
        WriteOnly onlyChanged(schemes, changed);
        schemes.save();
    }

    if (readOnly.size() == 1) {
        messages.push_back(fillMessage(conversionMessage(CONV_ONE_READ_ONLY_SCHEME), readOnly.front()));
    } else if (readOnly.size() > 1) {
        std::string list = fillMessage("\"%1%\"", readOnly.front());
        for (std::size_t i = 1; i < readOnly.size(); ++i)
            list += fillMessage(", \"%1%\"", readOnly[i]);
        list += " ";
        messages.push_back(fillMessage(conversionMessage(CONV_READ_ONLY_SCHEMES), list));
    }
}

} // namespace Stylist
