// The settings records of the C++ emitters and their readers.
//
// Each emitter's constructor fills its record once from the run's scheme;
// the record's fields are the scheme keys that emitter consults (field
// m_WsBeforeNsOpenBrace holds WS_BEFORE_NS_OPEN_BRACE, and so on). A reader
// works on its own copy of the scheme: the formatter, the line wrapper and
// the expression formatters' common part complete that copy with
// Stylist::fillSchemeDefaults first, the rewriter reads its keys as they
// are. A required key that is absent raises Stylist::PropertyMissingException
// naming it; an enumerated value out of range is a contract violation. So a
// record that was read is complete and consistent.
#ifndef STYLISTCPP_FORMATTERCONFIG_H
#define STYLISTCPP_FORMATTERCONFIG_H

#include "Stylist_FormatterConfig.h"
#include "Stylist_PropertySet.h"

#include <cstdint>
#include <string>

namespace StylistCpp {

// ---- rewrite pass ----------------------------------------------------------

// Brace style of single-statement bodies.
enum class BraceStyle { AS_WRITTEN = 0, ADD_BRACES = 1, REMOVE_BRACES = 2 };

struct RewriterSettings {
    BraceStyle m_IfElseBraceStyle = BraceStyle::AS_WRITTEN;
    BraceStyle m_ForBraceStyle = BraceStyle::AS_WRITTEN;
    BraceStyle m_WhileBraceStyle = BraceStyle::AS_WRITTEN;

    // Whether the rewrite pass has anything to do.
    bool rewrites() const
    {
        return m_IfElseBraceStyle != BraceStyle::AS_WRITTEN || m_ForBraceStyle != BraceStyle::AS_WRITTEN ||
               m_WhileBraceStyle != BraceStyle::AS_WRITTEN;
    }
};

// The three brace styles: optional, 0 when absent, each 0..2. No defaulting.
RewriterSettings readRewriterSettings(const Stylist::PropertySet& scheme);

// ---- expression formatter and expression line wrapper ------------------------

// What the expression formatter and the expression line wrapper share.
struct ExprFormatterBaseSettings {
    std::int32_t m_TabSize = 1;
    std::string m_LeftMargin;
    Stylist::TabConversion m_ConvertWs = Stylist::TabConversion::KEEP;
    Stylist::PpdPlacement m_AlignPpdLeftMost;
};

// Reads the shared part from a scheme that has been completed by
// Stylist::fillSchemeDefaults.
void readExprFormatterBaseSettings(const Stylist::PropertySet& defaultedScheme, ExprFormatterBaseSettings& out);

struct ExprFormatterSettings : ExprFormatterBaseSettings {
    bool m_GlobalLineWrap = false; // joins adjacent string literals
    std::string m_WsBetweenExprOpOperands;
    std::string m_WsBetweenUnaryOpOperand;
    std::string m_WsBetweenCastOperand;
    std::string m_WsAfterFnCallName;
    std::string m_WsBeforeFnCallComma;
    std::string m_WsBetweenFnCallArgs;
    std::string m_WsAfterExprOpenParen;
    std::string m_WsBeforeExprCloseParen;
    std::string m_WsBeforeLBracket;
    std::string m_WsAfterLBracket;
    std::string m_WsBeforeRBracket;
    Stylist::Anchor m_AmpersandAnchor = Stylist::Anchor::AS_WRITTEN;
    std::string m_WsBetweenAmpersandAnchor;
    bool m_HangingAmpersand = false;
    Stylist::Anchor m_AsteriskAnchor = Stylist::Anchor::AS_WRITTEN;
    std::string m_WsBetweenAsteriskAnchor;
    bool m_HangingAsterisk = false;
    std::string m_WsAfterTpOpenBracket;
    std::string m_WsBeforeTpCloseBracket;
    std::string m_WsBetweenTpParams;
    std::string m_WsBeforeDdOpenBrace;
    std::string m_WsAfterDdOpenBrace;
    std::string m_WsBeforeDdCloseBrace;
    std::string m_WsBeforeDdComma;
    std::string m_WsBetweenDdElements;
    std::string m_IndentDdContent;
    // ALIGN_FN_CALL_ARGS_LEFT: a call's argument that a kept line break
    // puts on a line of its own starts at the column of the first argument.
    bool m_AlignFnCallArgsLeft = false;
};

ExprFormatterSettings readExprFormatterSettings(Stylist::PropertySet scheme);

struct ExprLineWrapperSettings : ExprFormatterBaseSettings {
    std::int32_t m_RightMargin = 0;    // never negative
    std::int32_t m_ShiftWrapStyle = 1; // 1 or 2
};

// RIGHT_MARGIN (0 when absent) must not be negative: a contract violation
// "m_RightMargin >= 0". SHIFT_WRAP_STYLE is 1 when absent.
ExprLineWrapperSettings readExprLineWrapperSettings(Stylist::PropertySet scheme);

// ---- formatter -----------------------------------------------------------------

struct FormatterSettings {
    // general
    std::int32_t m_TabSize = 1;
    std::string m_LeftMargin;
    std::int32_t m_LeftMarginColumn = 0; // width of m_LeftMargin
    std::int32_t m_RightMargin = 0;
    Stylist::TabConversion m_ConvertWs = Stylist::TabConversion::KEEP;
    bool m_GlobalLineWrap = false;
    Stylist::PpdPlacement m_AlignPpdLeftMost;

    // compound statements and linkage blocks
    std::string m_GlobalWsBeforeOpenBrace;
    std::string m_GlobalWsAfterOpenBrace;
    std::string m_GlobalWsBeforeCloseBrace;
    std::string m_GlobalIndentContent;

    // namespaces
    std::string m_WsBeforeNsOpenBrace;
    std::string m_WsAfterNsOpenBrace;
    std::string m_IndentNsContent;
    std::string m_WsBeforeNsCloseBrace;

    // classes and base clauses
    std::string m_WsAfterClassName;
    std::string m_WsBeforeBaseClauses;
    std::string m_WsBetweenBaseClauses;
    std::string m_WsBeforeBaseClausesComma;
    std::string m_WsBeforeClassOpenBrace;
    std::string m_WsAfterClassOpenBrace;
    std::string m_IndentClassContent;
    std::string m_IndentAccessSpecLabel;
    std::string m_WsBeforeClassCloseBrace;
    bool m_AlignClassMemberNamesLeft = false;
    bool m_ClassDoNotFormat = false;

    // constructor initialiser lists
    std::string m_WsBeforeClassInitList;
    std::string m_WsBeforeClassInits;
    std::string m_WsBeforeClassInitsComma;
    std::string m_WsBetweenClassInits;
    std::string m_WsAfterClassInitList; // GLOBAL_WS_BEFORE_OPEN_BRACE under m_FnUseGlobalSettings
    bool m_ClassInitDoNotFormat = false;

    // templates
    std::string m_WsBeforeTpOpenBracket;
    std::string m_WsAfterTpOpenBracket;
    std::string m_WsBetweenTpParams;
    std::string m_WsBeforeTpComma;
    std::string m_WsBeforeTpCloseBracket;
    std::string m_WsAfterTpCloseBracket;

    // functions; under m_FnUseGlobalSettings the body keys are the GLOBAL
    // ones and m_WsAfterFnName is empty
    bool m_FnUseGlobalSettings = false;
    std::string m_WsAfterFnDeclReturnType;
    std::string m_WsAfterFnDefnReturnType;
    std::string m_WsAfterFnName;
    std::string m_WsAfterFnOpenParen;
    std::string m_WsAfterParamTypeId;
    std::string m_WsBetweenFnParams;
    std::string m_WsBeforeFnComma;
    std::string m_WsBeforeFnCloseParen;
    std::string m_WsBeforeFnOpenBrace;
    std::string m_WsAfterFnOpenBrace;
    std::string m_IndentFnContent;
    std::string m_WsBeforeFnCloseBrace;
    bool m_AlignFnDeclNamesLeft = false;
    bool m_FnDoNotFormat = false;

    // function calls
    std::string m_WsAfterFnCallName;
    bool m_AlignFnCallArgsLeft = false;

    // data declarations
    std::string m_WsAfterDdTypeId;
    std::string m_WsBetweenDdElements;
    std::string m_WsBeforeDdComma;
    std::string m_IndentDdContent;
    bool m_AlignDdNamesLeft = false;
    bool m_AlignDdInitializers = false;
    bool m_DdDoNotFormat = false;

    // pointers and references
    Stylist::Anchor m_AsteriskAnchor = Stylist::Anchor::AS_WRITTEN;
    Stylist::Anchor m_AmpersandAnchor = Stylist::Anchor::AS_WRITTEN;
    std::string m_WsBetweenAsteriskAnchor;
    bool m_HangingAsterisk = false;
    bool m_HangingAmpersand = false;

    // control statements
    std::string m_WsAfterCsKey;
    std::string m_WsAfterCsOpenParen;
    std::string m_WsBeforeCsCloseParen;
    std::string m_WsBetweenCsForClauses;
    std::string m_WsBeforeCsOpenBrace;
    std::string m_WsAfterCsOpenBrace;
    std::string m_IndentCsContent;
    std::string m_WsBeforeCsCloseBrace;
    std::string m_WsBetweenCs;
    std::string m_IndentCsCaseLabels;
    std::string m_WsAfterCsCaseLabels;
    std::string m_IndentCsCaseContent;

    // enumerations
    std::string m_WsBeforeEnumOpenBrace;
    std::string m_WsAfterEnumOpenBrace;
    std::string m_WsBetweenEnumElements;
    std::string m_WsBeforeEnumComma;
    std::string m_WsBeforeEnumCloseBrace;
    std::string m_IndentEnumContent;
    bool m_AlignEnumInitializers = false;
    bool m_EnumDoNotFormat = false;

    // expressions
    std::string m_WsBetweenExprOpOperands;
    std::string m_WsBeforeLBracket;
    bool m_ExprDoNotFormat = false;
};

FormatterSettings readFormatterSettings(Stylist::PropertySet scheme);

// ---- line wrapper ----------------------------------------------------------------

// One wrapped construct family: its switch and its wrap settings (a copy of
// the GLOBAL record when the family uses the global settings).
struct WrapFamilySettings {
    bool m_LineWrap = false;
    Stylist::WrapSettings m_Wrap;
};

struct LineWrapperSettings {
    std::int32_t m_TabSize = 1;
    std::string m_LeftMargin;
    std::int32_t m_LeftMarginColumn = 0;
    std::int32_t m_RightMargin = 0;
    Stylist::TabConversion m_ConvertWs = Stylist::TabConversion::KEEP;
    bool m_GlobalLineWrap = false; // off under LINE_WRAP_DO_NOT_FORMAT

    // The family records; a family whose do-not-format switch is on has its
    // line wrapping off, and so has every family under LINE_WRAP_DO_NOT_FORMAT.
    Stylist::WrapSettings m_GlobalWrap;
    WrapFamilySettings m_DdWrap;
    WrapFamilySettings m_EnumWrap;
    WrapFamilySettings m_ClassInitWrap;
    WrapFamilySettings m_ExprWrap;
    WrapFamilySettings m_FnDeclWrap;
    WrapFamilySettings m_FnDefnWrap;
    WrapFamilySettings m_BaseClauseWrap;

    std::string m_GlobalIndentContent;
    std::string m_IndentNsContent;
    std::string m_IndentClassContent;
    std::string m_IndentDdContent;

    // enumerations
    bool m_AlignEnumInitializers = false; // false under ENUM_DO_NOT_FORMAT
    std::string m_WsAfterEnumOpenBrace;
    std::string m_WsBeforeEnumCloseBrace;
    std::string m_WsBeforeEnumComma;
    std::string m_WsBetweenEnumElements;
    std::string m_IndentEnumContent;

    // constructor initialiser lists
    std::string m_WsBeforeClassInitList;
    std::string m_WsBeforeClassInits;
    std::string m_WsBeforeClassInitsComma;
    std::string m_WsBetweenClassInits;

    // parameter lists: empty when declarations wrap with the global settings
    std::string m_WsAfterFnOpenParen;
    std::string m_WsBeforeFnComma;
    std::string m_WsBetweenFnParams;
    std::string m_WsBeforeFnCloseParen;
    std::string m_IndentFnContent; // GLOBAL_INDENT_CONTENT under FN_USE_GLOBAL_SETTINGS
    std::string m_WsAfterFnDeclReturnType;

    // base clauses
    std::string m_WsBeforeBaseClausesComma;
    std::string m_WsBetweenBaseClauses;

    // template parameter lists
    bool m_FormatTemplateParams = false; // TP_DO_NOT_FORMAT inverted
    std::string m_WsBeforeTpComma;
    std::string m_WsBetweenTpParams;

    // control statements
    bool m_WrapControlStatements = false; // EXPR_LINE_WRAP unless CS_DO_NOT_FORMAT
    std::string m_WsAfterCsKey;
    std::string m_WsBetweenCs;
    std::string m_IndentCsContent;
    std::string m_WsAfterCsOpenParen;
    std::string m_WsBeforeCsCloseParen;
    std::string m_IndentCsCaseContent;

    // preprocessor directives
    bool m_FormatPreprocessor = false; // PPD_DO_NOT_FORMAT inverted
    bool m_AlignPpdLeftMost = false;   // read only when m_FormatPreprocessor
};

LineWrapperSettings readLineWrapperSettings(Stylist::PropertySet scheme);

// ---- alignment calculators ----------------------------------------------------------

struct AlignmentSettings {
    std::int32_t m_TabSize = 1;
    bool m_AlignClassMemberNamesLeft = false;
    bool m_AlignFnDeclNamesLeft = false;
    bool m_AlignDdNamesLeft = false;
    Stylist::Anchor m_AsteriskAnchor = Stylist::Anchor::AS_WRITTEN;
    Stylist::Anchor m_AmpersandAnchor = Stylist::Anchor::AS_WRITTEN;
    // Column widths of WS_BETWEEN_ASTERISK_ANCHOR and
    // WS_BETWEEN_AMPERSAND_ANCHOR; read only when the anchor is not
    // AS_WRITTEN, -1 when not read or absent.
    std::int32_t m_AsteriskAnchorWidth = -1;
    std::int32_t m_AmpersandAnchorWidth = -1;
    bool m_HangingAsterisk = false;
    bool m_HangingAmpersand = false;
};

// Every key is optional here; the calculators run on the formatter's
// completed scheme.
AlignmentSettings readAlignmentSettings(const Stylist::PropertySet& scheme);

} // namespace StylistCpp

#endif
