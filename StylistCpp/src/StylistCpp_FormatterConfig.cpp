#include "StylistCpp_FormatterConfig.h"

#include "Corvale_Exception.h"
#include "Stylist_SchemeKeys.h"

namespace StylistCpp {

namespace Key = Stylist::Key;
using Stylist::optionalBool;
using Stylist::requiredBool;
using Stylist::requiredString;

namespace {

// A whitespace or indentation key read into a string field, always a
// required read.
template <typename Settings>
struct StringField {
    const char* m_Key;
    std::string Settings::*m_Field;
};

template <typename Settings, std::size_t N>
void readStrings(const Stylist::PropertySet& scheme, const StringField<Settings> (&fields)[N], Settings& out)
{
    for (const StringField<Settings>& f : fields)
        out.*f.m_Field = requiredString(scheme, f.m_Key);
}

BraceStyle readBraceStyle(const Stylist::PropertySet& scheme, const char* key)
{
    return static_cast<BraceStyle>(Stylist::optionalIntIn(scheme, key, 0, 0, 2));
}

} // namespace

RewriterSettings readRewriterSettings(const Stylist::PropertySet& scheme)
{
    RewriterSettings s;
    s.m_IfElseBraceStyle = readBraceStyle(scheme, Key::IF_ELSE_CS_SINGLE_STMT_BRACE_STYLE);
    s.m_ForBraceStyle = readBraceStyle(scheme, Key::FOR_CS_SINGLE_STMT_BRACE_STYLE);
    s.m_WhileBraceStyle = readBraceStyle(scheme, Key::WHILE_CS_SINGLE_STMT_BRACE_STYLE);
    return s;
}

// ---- expression formatters ----------------------------------------------------

void readExprFormatterBaseSettings(const Stylist::PropertySet& scheme, ExprFormatterBaseSettings& out)
{
    out.m_TabSize = Stylist::readTabSize(scheme);
    out.m_LeftMargin = requiredString(scheme, Key::LEFT_MARGIN);
    out.m_ConvertWs = Stylist::readTabConversion(scheme);
    out.m_AlignPpdLeftMost = Stylist::readPpdPlacement(scheme);
}

namespace {

typedef StringField<ExprFormatterSettings> ExprString;
const ExprString EXPR_FORMATTER_STRINGS[] = {
    {Key::WS_BETWEEN_EXPR_OP_OPERANDS, &ExprFormatterSettings::m_WsBetweenExprOpOperands},
    {Key::WS_BETWEEN_UNARY_OP_OPERAND, &ExprFormatterSettings::m_WsBetweenUnaryOpOperand},
    {Key::WS_BETWEEN_CAST_OPERAND, &ExprFormatterSettings::m_WsBetweenCastOperand},
    {Key::WS_AFTER_FN_CALL_NAME, &ExprFormatterSettings::m_WsAfterFnCallName},
    {Key::WS_BEFORE_FN_CALL_COMMA, &ExprFormatterSettings::m_WsBeforeFnCallComma},
    {Key::WS_BETWEEN_FN_CALL_ARGS, &ExprFormatterSettings::m_WsBetweenFnCallArgs},
    {Key::WS_AFTER_EXPR_OPEN_PAREN, &ExprFormatterSettings::m_WsAfterExprOpenParen},
    {Key::WS_BEFORE_EXPR_CLOSE_PAREN, &ExprFormatterSettings::m_WsBeforeExprCloseParen},
    {Key::WS_BEFORE_LBRACKET, &ExprFormatterSettings::m_WsBeforeLBracket},
    {Key::WS_AFTER_LBRACKET, &ExprFormatterSettings::m_WsAfterLBracket},
    {Key::WS_BEFORE_RBRACKET, &ExprFormatterSettings::m_WsBeforeRBracket},
    {Key::WS_BETWEEN_AMPERSAND_ANCHOR, &ExprFormatterSettings::m_WsBetweenAmpersandAnchor},
    {Key::WS_BETWEEN_ASTERISK_ANCHOR, &ExprFormatterSettings::m_WsBetweenAsteriskAnchor},
    {Key::WS_AFTER_TP_OPEN_BRACKET, &ExprFormatterSettings::m_WsAfterTpOpenBracket},
    {Key::WS_BEFORE_TP_CLOSE_BRACKET, &ExprFormatterSettings::m_WsBeforeTpCloseBracket},
    {Key::WS_BETWEEN_TP_PARAMS, &ExprFormatterSettings::m_WsBetweenTpParams},
    {Key::WS_BEFORE_DD_OPEN_BRACE, &ExprFormatterSettings::m_WsBeforeDdOpenBrace},
    {Key::WS_AFTER_DD_OPEN_BRACE, &ExprFormatterSettings::m_WsAfterDdOpenBrace},
    {Key::WS_BEFORE_DD_CLOSE_BRACE, &ExprFormatterSettings::m_WsBeforeDdCloseBrace},
    {Key::WS_BEFORE_DD_COMMA, &ExprFormatterSettings::m_WsBeforeDdComma},
    {Key::WS_BETWEEN_DD_ELEMENTS, &ExprFormatterSettings::m_WsBetweenDdElements},
    {Key::INDENT_DD_CONTENT, &ExprFormatterSettings::m_IndentDdContent},
};

} // namespace

ExprFormatterSettings readExprFormatterSettings(Stylist::PropertySet scheme)
{
    Stylist::fillSchemeDefaults(scheme);
    ExprFormatterSettings s;
    readExprFormatterBaseSettings(scheme, s);
    s.m_GlobalLineWrap = optionalBool(scheme, Key::GLOBAL_LINE_WRAP, false);
    readStrings(scheme, EXPR_FORMATTER_STRINGS, s);
    s.m_AmpersandAnchor = Stylist::readAnchor(scheme, Key::AMPERSAND_ANCHOR);
    s.m_AsteriskAnchor = Stylist::readAnchor(scheme, Key::ASTERISK_ANCHOR);
    s.m_HangingAmpersand = optionalBool(scheme, Key::HANGING_AMPERSAND, false);
    s.m_HangingAsterisk = optionalBool(scheme, Key::HANGING_ASTERISK, false);
    s.m_AlignFnCallArgsLeft = optionalBool(scheme, Key::ALIGN_FN_CALL_ARGS_LEFT, false);
    return s;
}

ExprLineWrapperSettings readExprLineWrapperSettings(Stylist::PropertySet scheme)
{
    Stylist::fillSchemeDefaults(scheme);
    ExprLineWrapperSettings s;
    readExprFormatterBaseSettings(scheme, s);
    s.m_RightMargin = Stylist::optionalInt(scheme, Key::RIGHT_MARGIN, 0);
    CORVALE_CHECK_TEXT(s.m_RightMargin >= 0, "m_RightMargin >= 0");
    s.m_ShiftWrapStyle = Stylist::optionalIntIn(scheme, Key::SHIFT_WRAP_STYLE, 1, 1, 2);
    return s;
}

// ---- formatter ---------------------------------------------------------------------

namespace {

typedef StringField<FormatterSettings> FormatterString;
const FormatterString FORMATTER_STRINGS[] = {
    {Key::LEFT_MARGIN, &FormatterSettings::m_LeftMargin},
    {Key::GLOBAL_WS_BEFORE_OPEN_BRACE, &FormatterSettings::m_GlobalWsBeforeOpenBrace},
    {Key::GLOBAL_WS_AFTER_OPEN_BRACE, &FormatterSettings::m_GlobalWsAfterOpenBrace},
    {Key::GLOBAL_WS_BEFORE_CLOSE_BRACE, &FormatterSettings::m_GlobalWsBeforeCloseBrace},
    {Key::GLOBAL_INDENT_CONTENT, &FormatterSettings::m_GlobalIndentContent},
    {Key::WS_BEFORE_NS_OPEN_BRACE, &FormatterSettings::m_WsBeforeNsOpenBrace},
    {Key::WS_AFTER_NS_OPEN_BRACE, &FormatterSettings::m_WsAfterNsOpenBrace},
    {Key::INDENT_NS_CONTENT, &FormatterSettings::m_IndentNsContent},
    {Key::WS_BEFORE_NS_CLOSE_BRACE, &FormatterSettings::m_WsBeforeNsCloseBrace},
    {Key::WS_AFTER_CLASS_NAME, &FormatterSettings::m_WsAfterClassName},
    {Key::WS_BEFORE_BASE_CLAUSES, &FormatterSettings::m_WsBeforeBaseClauses},
    {Key::WS_BETWEEN_BASE_CLAUSES, &FormatterSettings::m_WsBetweenBaseClauses},
    {Key::WS_BEFORE_BASE_CLAUSES_COMMA, &FormatterSettings::m_WsBeforeBaseClausesComma},
    {Key::WS_BEFORE_CLASS_OPEN_BRACE, &FormatterSettings::m_WsBeforeClassOpenBrace},
    {Key::WS_AFTER_CLASS_OPEN_BRACE, &FormatterSettings::m_WsAfterClassOpenBrace},
    {Key::INDENT_CLASS_CONTENT, &FormatterSettings::m_IndentClassContent},
    {Key::INDENT_ACCESS_SPEC_LABEL, &FormatterSettings::m_IndentAccessSpecLabel},
    {Key::WS_BEFORE_CLASS_CLOSE_BRACE, &FormatterSettings::m_WsBeforeClassCloseBrace},
    {Key::WS_BEFORE_CLASS_INIT_LIST, &FormatterSettings::m_WsBeforeClassInitList},
    {Key::WS_BEFORE_CLASS_INITS, &FormatterSettings::m_WsBeforeClassInits},
    {Key::WS_BEFORE_CLASS_INITS_COMMA, &FormatterSettings::m_WsBeforeClassInitsComma},
    {Key::WS_BETWEEN_CLASS_INITS, &FormatterSettings::m_WsBetweenClassInits},
    {Key::WS_BEFORE_TP_OPEN_BRACKET, &FormatterSettings::m_WsBeforeTpOpenBracket},
    {Key::WS_AFTER_TP_OPEN_BRACKET, &FormatterSettings::m_WsAfterTpOpenBracket},
    {Key::WS_BETWEEN_TP_PARAMS, &FormatterSettings::m_WsBetweenTpParams},
    {Key::WS_BEFORE_TP_COMMA, &FormatterSettings::m_WsBeforeTpComma},
    {Key::WS_BEFORE_TP_CLOSE_BRACKET, &FormatterSettings::m_WsBeforeTpCloseBracket},
    {Key::WS_AFTER_TP_CLOSE_BRACKET, &FormatterSettings::m_WsAfterTpCloseBracket},
    {Key::WS_AFTER_FN_DECL_RETURN_TYPE, &FormatterSettings::m_WsAfterFnDeclReturnType},
    {Key::WS_AFTER_FN_DEFN_RETURN_TYPE, &FormatterSettings::m_WsAfterFnDefnReturnType},
    {Key::WS_AFTER_FN_OPEN_PAREN, &FormatterSettings::m_WsAfterFnOpenParen},
    {Key::WS_AFTER_PARAM_TYPE_ID, &FormatterSettings::m_WsAfterParamTypeId},
    {Key::WS_BETWEEN_FN_PARAMS, &FormatterSettings::m_WsBetweenFnParams},
    {Key::WS_BEFORE_FN_COMMA, &FormatterSettings::m_WsBeforeFnComma},
    {Key::WS_BEFORE_FN_CLOSE_PAREN, &FormatterSettings::m_WsBeforeFnCloseParen},
    {Key::WS_AFTER_FN_CALL_NAME, &FormatterSettings::m_WsAfterFnCallName},
    {Key::WS_AFTER_DD_TYPE_ID, &FormatterSettings::m_WsAfterDdTypeId},
    {Key::WS_BETWEEN_DD_ELEMENTS, &FormatterSettings::m_WsBetweenDdElements},
    {Key::WS_BEFORE_DD_COMMA, &FormatterSettings::m_WsBeforeDdComma},
    {Key::INDENT_DD_CONTENT, &FormatterSettings::m_IndentDdContent},
    {Key::WS_BETWEEN_ASTERISK_ANCHOR, &FormatterSettings::m_WsBetweenAsteriskAnchor},
    {Key::WS_AFTER_CS_KEY, &FormatterSettings::m_WsAfterCsKey},
    {Key::WS_AFTER_CS_OPEN_PAREN, &FormatterSettings::m_WsAfterCsOpenParen},
    {Key::WS_BEFORE_CS_CLOSE_PAREN, &FormatterSettings::m_WsBeforeCsCloseParen},
    {Key::WS_BETWEEN_CS_FOR_CLAUSES, &FormatterSettings::m_WsBetweenCsForClauses},
    {Key::WS_BEFORE_CS_OPEN_BRACE, &FormatterSettings::m_WsBeforeCsOpenBrace},
    {Key::WS_AFTER_CS_OPEN_BRACE, &FormatterSettings::m_WsAfterCsOpenBrace},
    {Key::INDENT_CS_CONTENT, &FormatterSettings::m_IndentCsContent},
    {Key::WS_BEFORE_CS_CLOSE_BRACE, &FormatterSettings::m_WsBeforeCsCloseBrace},
    {Key::WS_BETWEEN_CS, &FormatterSettings::m_WsBetweenCs},
    {Key::INDENT_CS_CASE_LABELS, &FormatterSettings::m_IndentCsCaseLabels},
    {Key::WS_AFTER_CS_CASE_LABELS, &FormatterSettings::m_WsAfterCsCaseLabels},
    {Key::INDENT_CS_CASE_CONTENT, &FormatterSettings::m_IndentCsCaseContent},
    {Key::WS_BEFORE_ENUM_OPEN_BRACE, &FormatterSettings::m_WsBeforeEnumOpenBrace},
    {Key::WS_AFTER_ENUM_OPEN_BRACE, &FormatterSettings::m_WsAfterEnumOpenBrace},
    {Key::WS_BETWEEN_ENUM_ELEMENTS, &FormatterSettings::m_WsBetweenEnumElements},
    {Key::WS_BEFORE_ENUM_COMMA, &FormatterSettings::m_WsBeforeEnumComma},
    {Key::WS_BEFORE_ENUM_CLOSE_BRACE, &FormatterSettings::m_WsBeforeEnumCloseBrace},
    {Key::INDENT_ENUM_CONTENT, &FormatterSettings::m_IndentEnumContent},
    {Key::WS_BETWEEN_EXPR_OP_OPERANDS, &FormatterSettings::m_WsBetweenExprOpOperands},
    {Key::WS_BEFORE_LBRACKET, &FormatterSettings::m_WsBeforeLBracket},
};

// The function-body keys and, in the same order, what takes their place
// when functions use the global settings.
const FormatterString FN_BODY_STRINGS[] = {
    {Key::WS_BEFORE_FN_OPEN_BRACE, &FormatterSettings::m_WsBeforeFnOpenBrace},
    {Key::WS_AFTER_CLASS_INIT_LIST, &FormatterSettings::m_WsAfterClassInitList},
    {Key::INDENT_FN_CONTENT, &FormatterSettings::m_IndentFnContent},
    {Key::WS_AFTER_FN_OPEN_BRACE, &FormatterSettings::m_WsAfterFnOpenBrace},
    {Key::WS_BEFORE_FN_CLOSE_BRACE, &FormatterSettings::m_WsBeforeFnCloseBrace},
    {Key::WS_AFTER_FN_NAME, &FormatterSettings::m_WsAfterFnName},
};
const FormatterString FN_BODY_GLOBAL_STRINGS[] = {
    {Key::GLOBAL_WS_BEFORE_OPEN_BRACE, &FormatterSettings::m_WsBeforeFnOpenBrace},
    {Key::GLOBAL_WS_BEFORE_OPEN_BRACE, &FormatterSettings::m_WsAfterClassInitList},
    {Key::GLOBAL_INDENT_CONTENT, &FormatterSettings::m_IndentFnContent},
    {Key::GLOBAL_WS_AFTER_OPEN_BRACE, &FormatterSettings::m_WsAfterFnOpenBrace},
    {Key::GLOBAL_WS_BEFORE_CLOSE_BRACE, &FormatterSettings::m_WsBeforeFnCloseBrace},
};

} // namespace

FormatterSettings readFormatterSettings(Stylist::PropertySet scheme)
{
    Stylist::fillSchemeDefaults(scheme);
    FormatterSettings s;

    s.m_TabSize = Stylist::readTabSize(scheme);
    s.m_RightMargin = Stylist::readClampedRightMargin(scheme);
    s.m_ConvertWs = Stylist::readTabConversion(scheme);
    s.m_GlobalLineWrap = optionalBool(scheme, Key::GLOBAL_LINE_WRAP, false);
    s.m_AlignPpdLeftMost = Stylist::readPpdPlacement(scheme);
    readStrings(scheme, FORMATTER_STRINGS, s);
    s.m_LeftMarginColumn = Stylist::whitespaceWidth(s.m_LeftMargin, s.m_TabSize);

    s.m_FnUseGlobalSettings = requiredBool(scheme, Key::FN_USE_GLOBAL_SETTINGS);
    if (s.m_FnUseGlobalSettings) {
        readStrings(scheme, FN_BODY_GLOBAL_STRINGS, s);
        s.m_WsAfterFnName.clear(); // the name and its "(" are joined
    } else {
        readStrings(scheme, FN_BODY_STRINGS, s);
    }

    s.m_AsteriskAnchor = Stylist::readAnchor(scheme, Key::ASTERISK_ANCHOR);
    s.m_AmpersandAnchor = Stylist::readAnchor(scheme, Key::AMPERSAND_ANCHOR);
    s.m_HangingAsterisk = optionalBool(scheme, Key::HANGING_ASTERISK, false);
    s.m_HangingAmpersand = optionalBool(scheme, Key::HANGING_AMPERSAND, false);

    s.m_AlignClassMemberNamesLeft = optionalBool(scheme, Key::ALIGN_CLASS_MEMBER_NAMES_LEFT, false);
    s.m_AlignFnDeclNamesLeft = optionalBool(scheme, Key::ALIGN_FN_DECL_NAMES_LEFT, false);
    s.m_AlignFnCallArgsLeft = optionalBool(scheme, Key::ALIGN_FN_CALL_ARGS_LEFT, false);
    s.m_AlignDdNamesLeft = optionalBool(scheme, Key::ALIGN_DD_NAMES_LEFT, false);
    s.m_AlignDdInitializers = optionalBool(scheme, Key::ALIGN_DD_INITIALIZERS, false);
    s.m_AlignEnumInitializers = optionalBool(scheme, Key::ALIGN_ENUM_INITIALIZERS, false);

    s.m_ClassDoNotFormat = optionalBool(scheme, Key::CLASS_DO_NOT_FORMAT, false);
    s.m_ClassInitDoNotFormat = optionalBool(scheme, Key::CLASS_INIT_DO_NOT_FORMAT, false);
    s.m_FnDoNotFormat = optionalBool(scheme, Key::FN_DO_NOT_FORMAT, false);
    s.m_DdDoNotFormat = requiredBool(scheme, Key::DD_DO_NOT_FORMAT);
    s.m_EnumDoNotFormat = requiredBool(scheme, Key::ENUM_DO_NOT_FORMAT);
    s.m_ExprDoNotFormat = requiredBool(scheme, Key::EXPR_DO_NOT_FORMAT);
    return s;
}

// ---- line wrapper ----------------------------------------------------------------------

namespace {

typedef StringField<LineWrapperSettings> WrapperString;
const WrapperString LINE_WRAPPER_STRINGS[] = {
    {Key::LEFT_MARGIN, &LineWrapperSettings::m_LeftMargin},
    {Key::GLOBAL_INDENT_CONTENT, &LineWrapperSettings::m_GlobalIndentContent},
    {Key::INDENT_NS_CONTENT, &LineWrapperSettings::m_IndentNsContent},
    {Key::INDENT_CLASS_CONTENT, &LineWrapperSettings::m_IndentClassContent},
    {Key::INDENT_DD_CONTENT, &LineWrapperSettings::m_IndentDdContent},
    {Key::WS_AFTER_ENUM_OPEN_BRACE, &LineWrapperSettings::m_WsAfterEnumOpenBrace},
    {Key::WS_BEFORE_ENUM_CLOSE_BRACE, &LineWrapperSettings::m_WsBeforeEnumCloseBrace},
    {Key::WS_BEFORE_ENUM_COMMA, &LineWrapperSettings::m_WsBeforeEnumComma},
    {Key::WS_BETWEEN_ENUM_ELEMENTS, &LineWrapperSettings::m_WsBetweenEnumElements},
    {Key::INDENT_ENUM_CONTENT, &LineWrapperSettings::m_IndentEnumContent},
    {Key::WS_BEFORE_CLASS_INIT_LIST, &LineWrapperSettings::m_WsBeforeClassInitList},
    {Key::WS_BEFORE_CLASS_INITS, &LineWrapperSettings::m_WsBeforeClassInits},
    {Key::WS_BEFORE_CLASS_INITS_COMMA, &LineWrapperSettings::m_WsBeforeClassInitsComma},
    {Key::WS_BETWEEN_CLASS_INITS, &LineWrapperSettings::m_WsBetweenClassInits},
    {Key::WS_AFTER_FN_DECL_RETURN_TYPE, &LineWrapperSettings::m_WsAfterFnDeclReturnType},
    {Key::WS_BEFORE_BASE_CLAUSES_COMMA, &LineWrapperSettings::m_WsBeforeBaseClausesComma},
    {Key::WS_BETWEEN_BASE_CLAUSES, &LineWrapperSettings::m_WsBetweenBaseClauses},
    {Key::WS_BEFORE_TP_COMMA, &LineWrapperSettings::m_WsBeforeTpComma},
    {Key::WS_BETWEEN_TP_PARAMS, &LineWrapperSettings::m_WsBetweenTpParams},
    {Key::WS_AFTER_CS_KEY, &LineWrapperSettings::m_WsAfterCsKey},
    {Key::WS_BETWEEN_CS, &LineWrapperSettings::m_WsBetweenCs},
    {Key::INDENT_CS_CONTENT, &LineWrapperSettings::m_IndentCsContent},
    {Key::WS_AFTER_CS_OPEN_PAREN, &LineWrapperSettings::m_WsAfterCsOpenParen},
    {Key::WS_BEFORE_CS_CLOSE_PAREN, &LineWrapperSettings::m_WsBeforeCsCloseParen},
    {Key::INDENT_CS_CASE_CONTENT, &LineWrapperSettings::m_IndentCsCaseContent},
};

const WrapperString PARAMETER_LIST_STRINGS[] = {
    {Key::WS_AFTER_FN_OPEN_PAREN, &LineWrapperSettings::m_WsAfterFnOpenParen},
    {Key::WS_BEFORE_FN_COMMA, &LineWrapperSettings::m_WsBeforeFnComma},
    {Key::WS_BETWEEN_FN_PARAMS, &LineWrapperSettings::m_WsBetweenFnParams},
    {Key::WS_BEFORE_FN_CLOSE_PAREN, &LineWrapperSettings::m_WsBeforeFnCloseParen},
};

// One family's switch and record. A family left unformatted is not wrapped
// and none of its wrap keys is read; otherwise its switch is read, and its
// record is its own or, when it says so, a copy of the GLOBAL record.
// Answers whether the family uses the global settings.
bool readFamily(const Stylist::PropertySet& scheme, const Stylist::WrapFamily& family, bool doNotFormat,
                const Stylist::WrapSettings& global, WrapFamilySettings& out)
{
    out.m_Wrap = global;
    if (doNotFormat) {
        out.m_LineWrap = false;
        return false;
    }
    out.m_LineWrap = requiredBool(scheme, family.m_LineWrap);
    const bool useGlobal = requiredBool(scheme, family.m_UseGlobal);
    if (!useGlobal)
        Stylist::readWrapSettings(scheme, family.m_Keys, out.m_Wrap);
    return useGlobal;
}

} // namespace

LineWrapperSettings readLineWrapperSettings(Stylist::PropertySet scheme)
{
    Stylist::fillSchemeDefaults(scheme);
    LineWrapperSettings s;

    s.m_TabSize = Stylist::readTabSize(scheme);
    s.m_RightMargin = Stylist::readClampedRightMargin(scheme);
    s.m_ConvertWs = Stylist::readTabConversion(scheme);
    readStrings(scheme, LINE_WRAPPER_STRINGS, s);
    s.m_LeftMarginColumn = Stylist::whitespaceWidth(s.m_LeftMargin, s.m_TabSize);

    const bool noWrapping = requiredBool(scheme, Key::LINE_WRAP_DO_NOT_FORMAT);
    s.m_GlobalLineWrap = noWrapping ? false : requiredBool(scheme, Key::GLOBAL_LINE_WRAP);
    Stylist::readWrapSettings(scheme, Key::GLOBAL_WRAP.m_Keys, s.m_GlobalWrap);

    const bool ddDoNotFormat = requiredBool(scheme, Key::DD_DO_NOT_FORMAT);
    const bool enumDoNotFormat = requiredBool(scheme, Key::ENUM_DO_NOT_FORMAT);
    const bool classInitDoNotFormat = requiredBool(scheme, Key::CLASS_INIT_DO_NOT_FORMAT);
    const bool fnDoNotFormat = requiredBool(scheme, Key::FN_DO_NOT_FORMAT);
    const bool classDoNotFormat = requiredBool(scheme, Key::CLASS_DO_NOT_FORMAT);
    readFamily(scheme, Key::DD_WRAP, ddDoNotFormat, s.m_GlobalWrap, s.m_DdWrap);
    readFamily(scheme, Key::ENUM_WRAP, enumDoNotFormat, s.m_GlobalWrap, s.m_EnumWrap);
    readFamily(scheme, Key::CLASS_INIT_WRAP, classInitDoNotFormat, s.m_GlobalWrap, s.m_ClassInitWrap);
    readFamily(scheme, Key::EXPR_WRAP, false, s.m_GlobalWrap, s.m_ExprWrap);
    const bool fnDeclGlobal = readFamily(scheme, Key::FN_DECL_WRAP, fnDoNotFormat, s.m_GlobalWrap, s.m_FnDeclWrap);
    readFamily(scheme, Key::FN_DEFN_WRAP, fnDoNotFormat, s.m_GlobalWrap, s.m_FnDefnWrap);
    readFamily(scheme, Key::BASE_CLAUSE_WRAP, classDoNotFormat, s.m_GlobalWrap, s.m_BaseClauseWrap);

    // Declarations wrapped with the global settings lay out their
    // parameter lists without the function keys.
    if (!fnDeclGlobal)
        readStrings(scheme, PARAMETER_LIST_STRINGS, s);

    s.m_IndentFnContent = requiredBool(scheme, Key::FN_USE_GLOBAL_SETTINGS) ? s.m_GlobalIndentContent
                                                                            : requiredString(scheme, Key::INDENT_FN_CONTENT);
    s.m_AlignEnumInitializers = enumDoNotFormat ? false : requiredBool(scheme, Key::ALIGN_ENUM_INITIALIZERS);
    s.m_FormatTemplateParams = !requiredBool(scheme, Key::TP_DO_NOT_FORMAT);
    s.m_WrapControlStatements = requiredBool(scheme, Key::CS_DO_NOT_FORMAT) ? false : s.m_ExprWrap.m_LineWrap;
    s.m_FormatPreprocessor = !requiredBool(scheme, Key::PPD_DO_NOT_FORMAT);
    s.m_AlignPpdLeftMost = s.m_FormatPreprocessor ? requiredBool(scheme, Key::ALIGN_PPD_LEFT_MOST) : false;

    // No line wrapping at all: the families' own switches are read as usual
    // but nothing is broken, and template parameter lists are left alone;
    // expressions are still re-spaced.
    if (noWrapping) {
        for (WrapFamilySettings* pFamily : {&s.m_DdWrap, &s.m_EnumWrap, &s.m_ClassInitWrap, &s.m_ExprWrap,
                                            &s.m_FnDeclWrap, &s.m_FnDefnWrap, &s.m_BaseClauseWrap})
            pFamily->m_LineWrap = false;
        s.m_FormatTemplateParams = false;
        s.m_WrapControlStatements = false;
    }
    return s;
}

// ---- alignment ----------------------------------------------------------------------------

namespace {

std::int32_t anchorWidth(const Stylist::PropertySet& scheme, Stylist::Anchor anchor, const char* key,
                         std::int32_t tabSize)
{
    std::string ws;
    if (anchor == Stylist::Anchor::AS_WRITTEN || !scheme.getString(key, ws))
        return -1;
    return Stylist::whitespaceWidth(ws, tabSize);
}

} // namespace

AlignmentSettings readAlignmentSettings(const Stylist::PropertySet& scheme)
{
    AlignmentSettings s;
    s.m_TabSize = Stylist::readTabSize(scheme);
    s.m_AlignClassMemberNamesLeft = optionalBool(scheme, Key::ALIGN_CLASS_MEMBER_NAMES_LEFT, false);
    s.m_AlignFnDeclNamesLeft = optionalBool(scheme, Key::ALIGN_FN_DECL_NAMES_LEFT, false);
    s.m_AlignDdNamesLeft = optionalBool(scheme, Key::ALIGN_DD_NAMES_LEFT, false);
    s.m_AsteriskAnchor = Stylist::readAnchor(scheme, Key::ASTERISK_ANCHOR);
    s.m_AmpersandAnchor = Stylist::readAnchor(scheme, Key::AMPERSAND_ANCHOR);
    s.m_AsteriskAnchorWidth = anchorWidth(scheme, s.m_AsteriskAnchor, Key::WS_BETWEEN_ASTERISK_ANCHOR, s.m_TabSize);
    s.m_AmpersandAnchorWidth =
        anchorWidth(scheme, s.m_AmpersandAnchor, Key::WS_BETWEEN_AMPERSAND_ANCHOR, s.m_TabSize);
    s.m_HangingAsterisk = optionalBool(scheme, Key::HANGING_ASTERISK, false);
    s.m_HangingAmpersand = optionalBool(scheme, Key::HANGING_AMPERSAND, false);
    return s;
}

} // namespace StylistCpp
