// The emitters' settings readers: which keys each one requires, where each
// value lands, and the substitutions and switches between keys.
#include "Corvale_Exception.h"
#include "Stylist_Exception.h"
#include "StylistCpp_FormatterConfig.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace {

using Stylist::PropertySet;
using namespace StylistCpp;
namespace Key = Stylist::Key;

// A scheme holding every key some reader consults. Each string value is its
// own key's name, so a test can tell which key a field was read from.
PropertySet completeScheme()
{
    PropertySet s("complete");
    for (const char* k :
         {Key::LEFT_MARGIN, Key::GLOBAL_WS_BEFORE_OPEN_BRACE, Key::GLOBAL_WS_AFTER_OPEN_BRACE,
          Key::GLOBAL_WS_BEFORE_CLOSE_BRACE, Key::GLOBAL_INDENT_CONTENT, Key::WS_BEFORE_NS_OPEN_BRACE,
          Key::WS_AFTER_NS_OPEN_BRACE, Key::INDENT_NS_CONTENT, Key::WS_BEFORE_NS_CLOSE_BRACE, Key::WS_AFTER_CLASS_NAME,
          Key::WS_BEFORE_BASE_CLAUSES, Key::WS_BETWEEN_BASE_CLAUSES, Key::WS_BEFORE_BASE_CLAUSES_COMMA,
          Key::WS_BEFORE_CLASS_OPEN_BRACE, Key::WS_AFTER_CLASS_OPEN_BRACE, Key::INDENT_CLASS_CONTENT,
          Key::INDENT_ACCESS_SPEC_LABEL, Key::WS_BEFORE_CLASS_CLOSE_BRACE, Key::WS_BEFORE_CLASS_INIT_LIST,
          Key::WS_BEFORE_CLASS_INITS, Key::WS_BEFORE_CLASS_INITS_COMMA, Key::WS_BETWEEN_CLASS_INITS,
          Key::WS_AFTER_CLASS_INIT_LIST, Key::WS_BEFORE_TP_OPEN_BRACKET, Key::WS_AFTER_TP_OPEN_BRACKET,
          Key::WS_BETWEEN_TP_PARAMS, Key::WS_BEFORE_TP_COMMA, Key::WS_BEFORE_TP_CLOSE_BRACKET,
          Key::WS_AFTER_TP_CLOSE_BRACKET, Key::WS_AFTER_FN_DECL_RETURN_TYPE, Key::WS_AFTER_FN_DEFN_RETURN_TYPE,
          Key::WS_AFTER_FN_NAME, Key::WS_AFTER_FN_OPEN_PAREN, Key::WS_AFTER_PARAM_TYPE_ID, Key::WS_BETWEEN_FN_PARAMS,
          Key::WS_BEFORE_FN_COMMA, Key::WS_BEFORE_FN_CLOSE_PAREN, Key::WS_BEFORE_FN_OPEN_BRACE,
          Key::WS_AFTER_FN_OPEN_BRACE, Key::INDENT_FN_CONTENT, Key::WS_BEFORE_FN_CLOSE_BRACE,
          Key::WS_AFTER_FN_CALL_NAME, Key::WS_BETWEEN_FN_CALL_ARGS, Key::WS_BEFORE_FN_CALL_COMMA,
          Key::WS_AFTER_DD_TYPE_ID, Key::WS_BETWEEN_DD_ELEMENTS, Key::WS_BEFORE_DD_COMMA, Key::WS_BEFORE_DD_OPEN_BRACE,
          Key::WS_AFTER_DD_OPEN_BRACE, Key::WS_BEFORE_DD_CLOSE_BRACE, Key::INDENT_DD_CONTENT,
          Key::WS_BETWEEN_ASTERISK_ANCHOR, Key::WS_BETWEEN_AMPERSAND_ANCHOR, Key::WS_AFTER_CS_KEY,
          Key::WS_AFTER_CS_OPEN_PAREN, Key::WS_BEFORE_CS_CLOSE_PAREN, Key::WS_BETWEEN_CS_FOR_CLAUSES,
          Key::WS_BEFORE_CS_OPEN_BRACE, Key::WS_AFTER_CS_OPEN_BRACE, Key::INDENT_CS_CONTENT,
          Key::WS_BEFORE_CS_CLOSE_BRACE, Key::WS_BETWEEN_CS, Key::INDENT_CS_CASE_LABELS, Key::WS_AFTER_CS_CASE_LABELS,
          Key::INDENT_CS_CASE_CONTENT, Key::WS_BEFORE_ENUM_OPEN_BRACE, Key::WS_AFTER_ENUM_OPEN_BRACE,
          Key::WS_BETWEEN_ENUM_ELEMENTS, Key::WS_BEFORE_ENUM_COMMA, Key::WS_BEFORE_ENUM_CLOSE_BRACE,
          Key::INDENT_ENUM_CONTENT, Key::WS_BETWEEN_EXPR_OP_OPERANDS, Key::WS_BETWEEN_UNARY_OP_OPERAND,
          Key::WS_BETWEEN_CAST_OPERAND, Key::WS_AFTER_EXPR_OPEN_PAREN, Key::WS_BEFORE_EXPR_CLOSE_PAREN,
          Key::WS_BEFORE_LBRACKET, Key::WS_AFTER_LBRACKET, Key::WS_BEFORE_RBRACKET})
        s.setString(k, k);

    for (const char* k : {Key::FN_USE_GLOBAL_SETTINGS, Key::GLOBAL_LINE_WRAP, Key::LINE_WRAP_DO_NOT_FORMAT,
                          Key::CLASS_DO_NOT_FORMAT, Key::CLASS_INIT_DO_NOT_FORMAT, Key::FN_DO_NOT_FORMAT,
                          Key::DD_DO_NOT_FORMAT, Key::ENUM_DO_NOT_FORMAT, Key::EXPR_DO_NOT_FORMAT, Key::TP_DO_NOT_FORMAT,
                          Key::CS_DO_NOT_FORMAT, Key::PPD_DO_NOT_FORMAT, Key::ALIGN_CLASS_MEMBER_NAMES_LEFT,
                          Key::ALIGN_FN_DECL_NAMES_LEFT, Key::ALIGN_FN_CALL_ARGS_LEFT, Key::ALIGN_DD_NAMES_LEFT,
                          Key::ALIGN_DD_INITIALIZERS, Key::ALIGN_ENUM_INITIALIZERS, Key::HANGING_ASTERISK,
                          Key::HANGING_AMPERSAND})
        s.setBool(k, false);
    s.setBool(Key::ALIGN_PPD_LEFT_MOST, true);

    s.setInt(Key::TAB_SIZE, 4);
    s.setInt(Key::RIGHT_MARGIN, 78);
    s.setInt(Key::CONVERT_WS, 1);
    s.setInt(Key::ASTERISK_ANCHOR, 0);
    s.setInt(Key::AMPERSAND_ANCHOR, 1);
    s.setInt(Key::SHIFT_WRAP_STYLE, 2);
    s.setInt(Key::OPERATOR_WRAP_STYLE, 2);

    // The GLOBAL record is all 1s and every family's own all 2s, so a copy of
    // the global record shows.
    s.setString(Key::GLOBAL_WRAP.m_Keys.m_Indent, Key::GLOBAL_WRAP.m_Keys.m_Indent);
    s.setInt(Key::GLOBAL_WRAP.m_Keys.m_Style, 1);
    s.setInt(Key::GLOBAL_WRAP.m_Keys.m_Comma, 1);
    s.setInt(Key::GLOBAL_WRAP.m_Keys.m_IndentStyle, 1);
    s.setInt(Key::GLOBAL_WRAP.m_Keys.m_Strategy, 1);
    for (const Stylist::WrapFamily* f : {&Key::DD_WRAP, &Key::ENUM_WRAP, &Key::CLASS_INIT_WRAP, &Key::EXPR_WRAP,
                                         &Key::FN_DECL_WRAP, &Key::FN_DEFN_WRAP, &Key::BASE_CLAUSE_WRAP}) {
        s.setBool(f->m_LineWrap, true);
        s.setBool(f->m_UseGlobal, false);
        s.setString(f->m_Keys.m_Indent, f->m_Keys.m_Indent);
        s.setInt(f->m_Keys.m_Style, 2);
        s.setInt(f->m_Keys.m_Comma, 2);
        s.setInt(f->m_Keys.m_Strategy, 2);
        if (f->m_Keys.m_IndentStyle != Key::GLOBAL_INDENT_WRAP_STYLE)
            s.setInt(f->m_Keys.m_IndentStyle, 2);
    }
    return s;
}

// The keys whose absence makes the reader fail, found by removing each key
// of the scheme in turn.
std::set<std::string> requiredKeys(const PropertySet& scheme, const std::function<void(const PropertySet&)>& read)
{
    std::set<std::string> names;
    for (const auto& p : scheme.bools())
        names.insert(p.first);
    for (const auto& p : scheme.ints())
        names.insert(p.first);
    for (const auto& p : scheme.strings())
        names.insert(p.first);
    std::set<std::string> required;
    for (const std::string& name : names) {
        PropertySet s = scheme;
        s.remove(name);
        try {
            read(s);
        } catch (const Stylist::PropertyMissingException& e) {
            EXPECT_EQ(name, e.propertyName());
            required.insert(name);
        }
    }
    return required;
}

#define CHECK_FIELD(settings, field, key) EXPECT_EQ(std::string(Key::key), settings.field) << #field

// ---- formatter -------------------------------------------------------------------

TEST(FormatterSettings, RequiresEveryWhitespaceKeyAndThreeSwitches)
{
    const std::set<std::string> expected = {
        "LEFT_MARGIN", "GLOBAL_WS_BEFORE_OPEN_BRACE", "GLOBAL_WS_AFTER_OPEN_BRACE", "GLOBAL_WS_BEFORE_CLOSE_BRACE",
        "GLOBAL_INDENT_CONTENT", "WS_BEFORE_NS_OPEN_BRACE", "WS_AFTER_NS_OPEN_BRACE", "INDENT_NS_CONTENT",
        "WS_BEFORE_NS_CLOSE_BRACE", "WS_AFTER_CLASS_NAME", "WS_BEFORE_BASE_CLAUSES", "WS_BETWEEN_BASE_CLAUSES",
        "WS_BEFORE_BASE_CLAUSES_COMMA", "WS_BEFORE_CLASS_OPEN_BRACE", "WS_AFTER_CLASS_OPEN_BRACE",
        "INDENT_CLASS_CONTENT", "INDENT_ACCESS_SPEC_LABEL", "WS_BEFORE_CLASS_CLOSE_BRACE",
        "WS_BEFORE_CLASS_INIT_LIST", "WS_BEFORE_CLASS_INITS", "WS_BEFORE_CLASS_INITS_COMMA",
        "WS_BETWEEN_CLASS_INITS", "WS_AFTER_CLASS_INIT_LIST", "WS_BEFORE_TP_OPEN_BRACKET",
        "WS_AFTER_TP_OPEN_BRACKET", "WS_BETWEEN_TP_PARAMS", "WS_BEFORE_TP_COMMA", "WS_BEFORE_TP_CLOSE_BRACKET",
        "WS_AFTER_TP_CLOSE_BRACKET", "WS_AFTER_FN_NAME", "WS_AFTER_FN_OPEN_PAREN", "WS_BETWEEN_FN_PARAMS",
        "WS_BEFORE_FN_COMMA", "WS_BEFORE_FN_CLOSE_PAREN", "WS_BEFORE_FN_OPEN_BRACE", "WS_AFTER_FN_OPEN_BRACE",
        "INDENT_FN_CONTENT", "WS_BEFORE_FN_CLOSE_BRACE", "WS_AFTER_FN_CALL_NAME", "WS_BETWEEN_DD_ELEMENTS",
        "WS_BEFORE_DD_COMMA", "INDENT_DD_CONTENT", "WS_BETWEEN_ASTERISK_ANCHOR", "WS_AFTER_CS_KEY",
        "WS_AFTER_CS_OPEN_PAREN", "WS_BEFORE_CS_CLOSE_PAREN", "WS_BETWEEN_CS_FOR_CLAUSES", "WS_BEFORE_CS_OPEN_BRACE",
        "WS_AFTER_CS_OPEN_BRACE", "INDENT_CS_CONTENT", "WS_BEFORE_CS_CLOSE_BRACE", "WS_BETWEEN_CS",
        "INDENT_CS_CASE_LABELS", "WS_AFTER_CS_CASE_LABELS", "INDENT_CS_CASE_CONTENT", "WS_BEFORE_ENUM_OPEN_BRACE",
        "WS_AFTER_ENUM_OPEN_BRACE", "WS_BETWEEN_ENUM_ELEMENTS", "WS_BEFORE_ENUM_COMMA",
        "WS_BEFORE_ENUM_CLOSE_BRACE", "INDENT_ENUM_CONTENT", "WS_BETWEEN_EXPR_OP_OPERANDS", "WS_BEFORE_LBRACKET",
        "FN_USE_GLOBAL_SETTINGS", "DD_DO_NOT_FORMAT", "ENUM_DO_NOT_FORMAT", "EXPR_DO_NOT_FORMAT",
        // The type-to-name separators and WS_AFTER_PARAM_TYPE_ID are filled
        // by the defaulting step, since the scheme spaces its anchors.
    };
    EXPECT_EQ(expected, requiredKeys(completeScheme(), [](const PropertySet& s) { readFormatterSettings(s); }));
}

TEST(FormatterSettings, ValuesLandInTheirFields)
{
    const FormatterSettings s = readFormatterSettings(completeScheme());
    EXPECT_EQ(4, s.m_TabSize);
    EXPECT_EQ(78, s.m_RightMargin);
    EXPECT_EQ(Stylist::TabConversion::EXPAND, s.m_ConvertWs);
    EXPECT_EQ(std::string("LEFT_MARGIN").size(), static_cast<std::size_t>(s.m_LeftMarginColumn));
    EXPECT_EQ(Stylist::Anchor::TO_TYPE, s.m_AsteriskAnchor);
    EXPECT_EQ(Stylist::Anchor::TO_NAME, s.m_AmpersandAnchor);
    EXPECT_TRUE(s.m_AlignPpdLeftMost.m_Present);
    EXPECT_TRUE(s.m_AlignPpdLeftMost.m_LeftMost);
    CHECK_FIELD(s, m_LeftMargin, LEFT_MARGIN);
    CHECK_FIELD(s, m_IndentNsContent, INDENT_NS_CONTENT);
    CHECK_FIELD(s, m_WsBeforeBaseClausesComma, WS_BEFORE_BASE_CLAUSES_COMMA);
    CHECK_FIELD(s, m_WsAfterClassInitList, WS_AFTER_CLASS_INIT_LIST);
    CHECK_FIELD(s, m_WsBeforeTpComma, WS_BEFORE_TP_COMMA);
    CHECK_FIELD(s, m_WsAfterFnDefnReturnType, WS_AFTER_FN_DEFN_RETURN_TYPE);
    CHECK_FIELD(s, m_WsAfterFnName, WS_AFTER_FN_NAME);
    CHECK_FIELD(s, m_WsAfterParamTypeId, WS_AFTER_PARAM_TYPE_ID);
    CHECK_FIELD(s, m_IndentFnContent, INDENT_FN_CONTENT);
    CHECK_FIELD(s, m_WsBetweenAsteriskAnchor, WS_BETWEEN_ASTERISK_ANCHOR);
    CHECK_FIELD(s, m_IndentCsCaseLabels, INDENT_CS_CASE_LABELS);
    CHECK_FIELD(s, m_IndentCsCaseContent, INDENT_CS_CASE_CONTENT);
    CHECK_FIELD(s, m_WsBeforeEnumComma, WS_BEFORE_ENUM_COMMA);
    CHECK_FIELD(s, m_WsBeforeLBracket, WS_BEFORE_LBRACKET);
}

TEST(FormatterSettings, FlagsAreReadIntoTheirFields)
{
    const struct {
        const char* key;
        bool FormatterSettings::*field;
    } flags[] = {
        {Key::GLOBAL_LINE_WRAP, &FormatterSettings::m_GlobalLineWrap},
        {Key::ALIGN_CLASS_MEMBER_NAMES_LEFT, &FormatterSettings::m_AlignClassMemberNamesLeft},
        {Key::CLASS_DO_NOT_FORMAT, &FormatterSettings::m_ClassDoNotFormat},
        {Key::CLASS_INIT_DO_NOT_FORMAT, &FormatterSettings::m_ClassInitDoNotFormat},
        {Key::ALIGN_FN_DECL_NAMES_LEFT, &FormatterSettings::m_AlignFnDeclNamesLeft},
        {Key::FN_DO_NOT_FORMAT, &FormatterSettings::m_FnDoNotFormat},
        {Key::ALIGN_FN_CALL_ARGS_LEFT, &FormatterSettings::m_AlignFnCallArgsLeft},
        {Key::ALIGN_DD_NAMES_LEFT, &FormatterSettings::m_AlignDdNamesLeft},
        {Key::ALIGN_DD_INITIALIZERS, &FormatterSettings::m_AlignDdInitializers},
        {Key::DD_DO_NOT_FORMAT, &FormatterSettings::m_DdDoNotFormat},
        {Key::HANGING_ASTERISK, &FormatterSettings::m_HangingAsterisk},
        {Key::HANGING_AMPERSAND, &FormatterSettings::m_HangingAmpersand},
        {Key::ALIGN_ENUM_INITIALIZERS, &FormatterSettings::m_AlignEnumInitializers},
        {Key::ENUM_DO_NOT_FORMAT, &FormatterSettings::m_EnumDoNotFormat},
        {Key::EXPR_DO_NOT_FORMAT, &FormatterSettings::m_ExprDoNotFormat},
    };
    for (const auto& f : flags) {
        PropertySet scheme = completeScheme();
        scheme.setBool(f.key, true);
        const FormatterSettings s = readFormatterSettings(scheme);
        EXPECT_TRUE(s.*f.field) << f.key;
        for (const auto& other : flags) {
            if (other.field != f.field) {
                EXPECT_FALSE(s.*other.field) << f.key << " set " << other.key;
            }
        }
    }
}

TEST(FormatterSettings, FunctionsMayUseTheGlobalBodySettings)
{
    PropertySet scheme = completeScheme();
    scheme.setBool(Key::FN_USE_GLOBAL_SETTINGS, true);
    for (const char* k : {Key::INDENT_FN_CONTENT, Key::WS_AFTER_FN_NAME, Key::WS_BEFORE_FN_OPEN_BRACE,
                          Key::WS_AFTER_FN_OPEN_BRACE, Key::WS_BEFORE_FN_CLOSE_BRACE, Key::WS_AFTER_CLASS_INIT_LIST})
        scheme.remove(k);
    const FormatterSettings s = readFormatterSettings(scheme);
    EXPECT_TRUE(s.m_FnUseGlobalSettings);
    CHECK_FIELD(s, m_WsBeforeFnOpenBrace, GLOBAL_WS_BEFORE_OPEN_BRACE);
    CHECK_FIELD(s, m_WsAfterClassInitList, GLOBAL_WS_BEFORE_OPEN_BRACE);
    CHECK_FIELD(s, m_IndentFnContent, GLOBAL_INDENT_CONTENT);
    CHECK_FIELD(s, m_WsAfterFnOpenBrace, GLOBAL_WS_AFTER_OPEN_BRACE);
    CHECK_FIELD(s, m_WsBeforeFnCloseBrace, GLOBAL_WS_BEFORE_CLOSE_BRACE);
    EXPECT_EQ("", s.m_WsAfterFnName) << "f (int) comes out as f(int)";

    const std::set<std::string> global = requiredKeys(scheme, [](const PropertySet& p) { readFormatterSettings(p); });
    for (const char* k : {"GLOBAL_WS_BEFORE_OPEN_BRACE", "GLOBAL_INDENT_CONTENT", "GLOBAL_WS_AFTER_OPEN_BRACE",
                          "GLOBAL_WS_BEFORE_CLOSE_BRACE"})
        EXPECT_EQ(1u, global.count(k)) << k << " is required under the global settings";
}

TEST(FormatterSettings, DefaultingRunsOnTheReadersCopy)
{
    PropertySet scheme = completeScheme();
    scheme.setString(Key::WS_AFTER_DD_TYPE_ID, "");
    scheme.remove(Key::TAB_SIZE);
    scheme.remove(Key::ASTERISK_ANCHOR);
    scheme.setString(Key::LEFT_MARGIN, "\t  ");
    const PropertySet before = scheme;
    const FormatterSettings s = readFormatterSettings(scheme);
    EXPECT_EQ(" ", s.m_WsAfterDdTypeId);
    EXPECT_EQ(1, s.m_TabSize);
    EXPECT_EQ(3, s.m_LeftMarginColumn);
    EXPECT_EQ(Stylist::Anchor::AS_WRITTEN, s.m_AsteriskAnchor);
    EXPECT_EQ(before, scheme) << "the caller's scheme is not changed";

    PropertySet noAnchors = completeScheme();
    noAnchors.remove(Key::WS_BETWEEN_AMPERSAND_ANCHOR);
    noAnchors.remove(Key::WS_BETWEEN_ASTERISK_ANCHOR);
    noAnchors.remove(Key::WS_AFTER_DD_TYPE_ID);
    try {
        readFormatterSettings(noAnchors);
        ADD_FAILURE();
    } catch (const Stylist::PropertyMissingException& e) {
        EXPECT_TRUE(e.propertyName() == "WS_AFTER_DD_TYPE_ID" || e.propertyName() == "WS_BETWEEN_ASTERISK_ANCHOR")
            << e.propertyName();
    }
}

TEST(FormatterSettings, MarginsClampAndEnumeratedValuesAreChecked)
{
    PropertySet scheme = completeScheme();
    scheme.setInt(Key::RIGHT_MARGIN, -5);
    scheme.setInt(Key::TAB_SIZE, -5);
    FormatterSettings s = readFormatterSettings(scheme);
    EXPECT_EQ(0, s.m_RightMargin);
    EXPECT_EQ(1, s.m_TabSize);

    for (const auto& bad : {std::make_pair(Key::ASTERISK_ANCHOR, 2), std::make_pair(Key::AMPERSAND_ANCHOR, -2),
                            std::make_pair(Key::CONVERT_WS, 3), std::make_pair(Key::CONVERT_WS, -1)}) {
        PropertySet b = completeScheme();
        b.setInt(bad.first, bad.second);
        try {
            readFormatterSettings(b);
            ADD_FAILURE() << bad.first;
        } catch (const Corvale::ContractViolation& v) {
            EXPECT_EQ("false", v.expression());
        }
    }
}

// ---- line wrapper ------------------------------------------------------------------

TEST(LineWrapperSettings, RequiredKeys)
{
    std::set<std::string> expected = {
        "LEFT_MARGIN", "GLOBAL_INDENT_CONTENT", "INDENT_NS_CONTENT", "INDENT_CLASS_CONTENT", "INDENT_DD_CONTENT",
        "WS_AFTER_ENUM_OPEN_BRACE", "WS_BEFORE_ENUM_CLOSE_BRACE", "WS_BEFORE_ENUM_COMMA", "WS_BETWEEN_ENUM_ELEMENTS",
        "INDENT_ENUM_CONTENT", "WS_BEFORE_CLASS_INIT_LIST", "WS_BEFORE_CLASS_INITS", "WS_BEFORE_CLASS_INITS_COMMA",
        "WS_BETWEEN_CLASS_INITS", "WS_AFTER_FN_OPEN_PAREN", "WS_BEFORE_FN_COMMA", "WS_BETWEEN_FN_PARAMS",
        "WS_BEFORE_FN_CLOSE_PAREN", "INDENT_FN_CONTENT", "WS_BEFORE_BASE_CLAUSES_COMMA", "WS_BETWEEN_BASE_CLAUSES",
        "WS_BEFORE_TP_COMMA", "WS_BETWEEN_TP_PARAMS", "WS_AFTER_CS_KEY", "WS_BETWEEN_CS", "INDENT_CS_CONTENT",
        "WS_AFTER_CS_OPEN_PAREN", "WS_BEFORE_CS_CLOSE_PAREN", "INDENT_CS_CASE_CONTENT", "SHIFT_WRAP_STYLE",
        "LINE_WRAP_DO_NOT_FORMAT", "GLOBAL_LINE_WRAP", "DD_DO_NOT_FORMAT", "ENUM_DO_NOT_FORMAT",
        "CLASS_INIT_DO_NOT_FORMAT", "FN_DO_NOT_FORMAT", "CLASS_DO_NOT_FORMAT", "FN_USE_GLOBAL_SETTINGS",
        "ALIGN_ENUM_INITIALIZERS", "TP_DO_NOT_FORMAT", "CS_DO_NOT_FORMAT", "PPD_DO_NOT_FORMAT", "ALIGN_PPD_LEFT_MOST",
        "GLOBAL_WRAP_STYLE", "GLOBAL_WRAP_INDENT", "GLOBAL_COMMA_WRAP_STYLE", "GLOBAL_INDENT_WRAP_STYLE",
        "GLOBAL_LIST_WRAP_STRATEGY",
    };
    for (const char* family : {"DD", "ENUM", "CLASS_INIT", "EXPR", "FN_DECL", "FN_DEFN", "BASE_CLAUSE"}) {
        const std::string x = family;
        for (const char* suffix : {"_LINE_WRAP", "_WRAP_USE_GLOBAL_SETTINGS", "_WRAP_STYLE", "_WRAP_INDENT",
                                   "_COMMA_WRAP_STYLE", "_LIST_WRAP_STRATEGY"})
            expected.insert(x + suffix);
        if (x != "DD" && x != "ENUM")
            expected.insert(x + "_INDENT_WRAP_STYLE");
    }
    EXPECT_EQ(expected, requiredKeys(completeScheme(), [](const PropertySet& s) { readLineWrapperSettings(s); }));
}

TEST(LineWrapperSettings, FamiliesReadTheirOwnRecordOrCopyTheGlobalOne)
{
    PropertySet scheme = completeScheme();
    scheme.setBool(Key::DD_WRAP_USE_GLOBAL_SETTINGS, true);
    scheme.remove(Key::DD_WRAP_STYLE);
    scheme.remove(Key::DD_WRAP_INDENT);
    scheme.setBool(Key::EXPR_LINE_WRAP, false);
    const LineWrapperSettings s = readLineWrapperSettings(scheme);

    Stylist::WrapSettings global;
    global.m_WrapIndent = Key::GLOBAL_WRAP_INDENT;
    global.m_OperatorWrapStyle = 2;
    global.m_ShiftWrapStyle = 2;
    EXPECT_EQ(global, s.m_GlobalWrap);
    EXPECT_EQ(global, s.m_DdWrap.m_Wrap);
    EXPECT_TRUE(s.m_DdWrap.m_LineWrap) << "the family's switch is its own";

    Stylist::WrapSettings own{2, "", 2, 2, 2, 2, 2};
    own.m_WrapIndent = Key::CLASS_INIT_WRAP_INDENT;
    EXPECT_EQ(own, s.m_ClassInitWrap.m_Wrap);
    EXPECT_TRUE(s.m_ClassInitWrap.m_LineWrap);
    EXPECT_FALSE(s.m_ExprWrap.m_LineWrap);
    EXPECT_EQ(1, s.m_EnumWrap.m_Wrap.m_IndentWrapStyle) << "enumerations take GLOBAL_INDENT_WRAP_STYLE";
    EXPECT_EQ(Key::BASE_CLAUSE_WRAP_INDENT, s.m_BaseClauseWrap.m_Wrap.m_WrapIndent);
    EXPECT_EQ(Key::FN_DEFN_WRAP_INDENT, s.m_FnDefnWrap.m_Wrap.m_WrapIndent);

    PropertySet noSwitch = scheme;
    noSwitch.remove(Key::DD_LINE_WRAP);
    EXPECT_THROW(readLineWrapperSettings(noSwitch), Stylist::PropertyMissingException);
}

TEST(LineWrapperSettings, DoNotFormatSwitchesTurnWrappingOffAndSkipTheFamilysKeys)
{
    const struct {
        const char* doNotFormat;
        std::vector<const char*> unread;
        std::function<bool(const LineWrapperSettings&)> lineWrap;
    } cases[] = {
        {Key::DD_DO_NOT_FORMAT, {Key::DD_LINE_WRAP, Key::DD_WRAP_USE_GLOBAL_SETTINGS, Key::DD_WRAP_STYLE},
         [](const LineWrapperSettings& s) { return s.m_DdWrap.m_LineWrap; }},
        {Key::ENUM_DO_NOT_FORMAT, {Key::ENUM_LINE_WRAP, Key::ENUM_WRAP_INDENT, Key::ALIGN_ENUM_INITIALIZERS},
         [](const LineWrapperSettings& s) { return s.m_EnumWrap.m_LineWrap || s.m_AlignEnumInitializers; }},
        {Key::CLASS_INIT_DO_NOT_FORMAT, {Key::CLASS_INIT_LINE_WRAP, Key::CLASS_INIT_LIST_WRAP_STRATEGY},
         [](const LineWrapperSettings& s) { return s.m_ClassInitWrap.m_LineWrap; }},
        {Key::FN_DO_NOT_FORMAT, {Key::FN_DECL_LINE_WRAP, Key::FN_DEFN_LINE_WRAP, Key::FN_DECL_WRAP_STYLE},
         [](const LineWrapperSettings& s) { return s.m_FnDeclWrap.m_LineWrap || s.m_FnDefnWrap.m_LineWrap; }},
        {Key::CLASS_DO_NOT_FORMAT, {Key::BASE_CLAUSE_LINE_WRAP, Key::BASE_CLAUSE_COMMA_WRAP_STYLE},
         [](const LineWrapperSettings& s) { return s.m_BaseClauseWrap.m_LineWrap; }},
        {Key::LINE_WRAP_DO_NOT_FORMAT, {Key::GLOBAL_LINE_WRAP},
         [](const LineWrapperSettings& s) { return s.m_GlobalLineWrap; }},
    };
    for (const auto& c : cases) {
        PropertySet scheme = completeScheme();
        scheme.setBool(Key::GLOBAL_LINE_WRAP, true);
        scheme.setBool(c.doNotFormat, true);
        for (const char* k : c.unread)
            scheme.remove(k);
        const LineWrapperSettings s = readLineWrapperSettings(scheme);
        EXPECT_FALSE(c.lineWrap(s)) << c.doNotFormat;
    }
}

TEST(LineWrapperSettings, SwitchesBetweenKeys)
{
    PropertySet scheme = completeScheme();
    LineWrapperSettings s = readLineWrapperSettings(scheme);
    EXPECT_TRUE(s.m_WrapControlStatements) << "control statements follow EXPR_LINE_WRAP";
    EXPECT_TRUE(s.m_FormatTemplateParams);
    EXPECT_TRUE(s.m_FormatPreprocessor);
    EXPECT_TRUE(s.m_AlignPpdLeftMost);
    CHECK_FIELD(s, m_IndentFnContent, INDENT_FN_CONTENT);
    CHECK_FIELD(s, m_WsBetweenFnParams, WS_BETWEEN_FN_PARAMS);
    EXPECT_EQ(78, s.m_RightMargin);
    EXPECT_EQ(std::string("LEFT_MARGIN").size(), static_cast<std::size_t>(s.m_LeftMarginColumn));

    scheme.setBool(Key::CS_DO_NOT_FORMAT, true);
    scheme.setBool(Key::TP_DO_NOT_FORMAT, true);
    scheme.setBool(Key::PPD_DO_NOT_FORMAT, true);
    scheme.remove(Key::ALIGN_PPD_LEFT_MOST);
    scheme.setBool(Key::FN_USE_GLOBAL_SETTINGS, true);
    scheme.remove(Key::INDENT_FN_CONTENT);
    scheme.setBool(Key::FN_DECL_WRAP_USE_GLOBAL_SETTINGS, true);
    for (const char* k : {Key::WS_AFTER_FN_OPEN_PAREN, Key::WS_BEFORE_FN_COMMA, Key::WS_BETWEEN_FN_PARAMS,
                          Key::WS_BEFORE_FN_CLOSE_PAREN})
        scheme.remove(k);
    scheme.setInt(Key::RIGHT_MARGIN, -1);
    s = readLineWrapperSettings(scheme);
    EXPECT_FALSE(s.m_WrapControlStatements);
    EXPECT_FALSE(s.m_FormatTemplateParams);
    EXPECT_FALSE(s.m_FormatPreprocessor);
    EXPECT_FALSE(s.m_AlignPpdLeftMost);
    CHECK_FIELD(s, m_IndentFnContent, GLOBAL_INDENT_CONTENT);
    EXPECT_EQ("", s.m_WsAfterFnOpenParen);
    EXPECT_EQ("", s.m_WsBeforeFnComma);
    EXPECT_EQ("", s.m_WsBetweenFnParams);
    EXPECT_EQ("", s.m_WsBeforeFnCloseParen);
    EXPECT_EQ(0, s.m_RightMargin);
}

TEST(LineWrapperSettings, AWrapStyleOutOfRangeEndsTheRun)
{
    PropertySet scheme = completeScheme();
    scheme.setInt(Key::ENUM_WRAP_STYLE, 3);
    EXPECT_THROW(readLineWrapperSettings(scheme), Corvale::ContractViolation);
    scheme.setBool(Key::ENUM_WRAP_USE_GLOBAL_SETTINGS, true);
    EXPECT_NO_THROW(readLineWrapperSettings(scheme)) << "a family's own record is not read under the global one";
}

// ---- expression formatters -------------------------------------------------------------

TEST(ExprFormatterSettings, RequiredKeysAndFields)
{
    const std::set<std::string> expected = {
        "LEFT_MARGIN", "WS_BETWEEN_EXPR_OP_OPERANDS", "WS_BETWEEN_UNARY_OP_OPERAND", "WS_BETWEEN_CAST_OPERAND",
        "WS_AFTER_FN_CALL_NAME", "WS_BEFORE_FN_CALL_COMMA", "WS_BETWEEN_FN_CALL_ARGS", "WS_AFTER_EXPR_OPEN_PAREN",
        "WS_BEFORE_EXPR_CLOSE_PAREN", "WS_BEFORE_LBRACKET", "WS_AFTER_LBRACKET", "WS_BEFORE_RBRACKET",
        "WS_BETWEEN_AMPERSAND_ANCHOR", "WS_BETWEEN_ASTERISK_ANCHOR", "WS_AFTER_TP_OPEN_BRACKET",
        "WS_BEFORE_TP_CLOSE_BRACKET", "WS_BETWEEN_TP_PARAMS", "WS_BEFORE_DD_OPEN_BRACE", "WS_AFTER_DD_OPEN_BRACE",
        "WS_BEFORE_DD_CLOSE_BRACE", "WS_BEFORE_DD_COMMA", "WS_BETWEEN_DD_ELEMENTS", "INDENT_DD_CONTENT",
    };
    EXPECT_EQ(expected, requiredKeys(completeScheme(), [](const PropertySet& s) { readExprFormatterSettings(s); }));

    const ExprFormatterSettings s = readExprFormatterSettings(completeScheme());
    CHECK_FIELD(s, m_WsBetweenUnaryOpOperand, WS_BETWEEN_UNARY_OP_OPERAND);
    CHECK_FIELD(s, m_WsBeforeFnCallComma, WS_BEFORE_FN_CALL_COMMA);
    CHECK_FIELD(s, m_WsAfterLBracket, WS_AFTER_LBRACKET);
    CHECK_FIELD(s, m_WsBetweenAmpersandAnchor, WS_BETWEEN_AMPERSAND_ANCHOR);
    CHECK_FIELD(s, m_WsBeforeTpCloseBracket, WS_BEFORE_TP_CLOSE_BRACKET);
    CHECK_FIELD(s, m_WsBeforeDdCloseBrace, WS_BEFORE_DD_CLOSE_BRACE);
    CHECK_FIELD(s, m_LeftMargin, LEFT_MARGIN);
    EXPECT_EQ(4, s.m_TabSize);
    EXPECT_EQ(Stylist::Anchor::TO_NAME, s.m_AmpersandAnchor);
    EXPECT_EQ(Stylist::Anchor::TO_TYPE, s.m_AsteriskAnchor);
}

TEST(ExprFormatterSettings, WrappingSchemesGetOperatorSpacing)
{
    PropertySet scheme = completeScheme();
    scheme.remove(Key::WS_BETWEEN_EXPR_OP_OPERANDS);
    scheme.setBool(Key::GLOBAL_LINE_WRAP, true);
    scheme.remove(Key::ALIGN_PPD_LEFT_MOST);
    const ExprFormatterSettings s = readExprFormatterSettings(scheme);
    EXPECT_EQ(" ", s.m_WsBetweenExprOpOperands);
    EXPECT_TRUE(s.m_GlobalLineWrap);
    EXPECT_FALSE(s.m_AlignPpdLeftMost.m_Present);
}

TEST(ExprLineWrapperSettings, RightMarginMustNotBeNegative)
{
    PropertySet scheme = completeScheme();
    EXPECT_EQ((std::set<std::string>{"LEFT_MARGIN"}),
              requiredKeys(scheme, [](const PropertySet& s) { readExprLineWrapperSettings(s); }));
    ExprLineWrapperSettings s = readExprLineWrapperSettings(scheme);
    EXPECT_EQ(78, s.m_RightMargin);
    EXPECT_EQ(2, s.m_ShiftWrapStyle);

    scheme.remove(Key::RIGHT_MARGIN);
    scheme.remove(Key::SHIFT_WRAP_STYLE);
    s = readExprLineWrapperSettings(scheme);
    EXPECT_EQ(0, s.m_RightMargin);
    EXPECT_EQ(1, s.m_ShiftWrapStyle);

    scheme.setInt(Key::RIGHT_MARGIN, -1);
    try {
        readExprLineWrapperSettings(scheme);
        ADD_FAILURE();
    } catch (const Corvale::ContractViolation& v) {
        EXPECT_EQ("m_RightMargin >= 0", v.expression());
    }
    scheme.setInt(Key::RIGHT_MARGIN, 10);
    scheme.setInt(Key::SHIFT_WRAP_STYLE, 0);
    EXPECT_THROW(readExprLineWrapperSettings(scheme), Corvale::ContractViolation);
}

// ---- rewriter and alignment ----------------------------------------------------------------

TEST(RewriterSettings, BraceStylesAreOptionalAndChecked)
{
    PropertySet scheme;
    RewriterSettings r = readRewriterSettings(scheme);
    EXPECT_FALSE(r.rewrites()) << "all three styles 0: the rewrite pass is skipped";

    scheme.setInt(Key::WHILE_CS_SINGLE_STMT_BRACE_STYLE, 2);
    r = readRewriterSettings(scheme);
    EXPECT_TRUE(r.rewrites());
    EXPECT_EQ(BraceStyle::REMOVE_BRACES, r.m_WhileBraceStyle);
    EXPECT_EQ(BraceStyle::AS_WRITTEN, r.m_IfElseBraceStyle);

    for (const char* k : {Key::IF_ELSE_CS_SINGLE_STMT_BRACE_STYLE, Key::FOR_CS_SINGLE_STMT_BRACE_STYLE,
                          Key::WHILE_CS_SINGLE_STMT_BRACE_STYLE}) {
        PropertySet bad;
        bad.setInt(k, 3);
        EXPECT_THROW(readRewriterSettings(bad), Corvale::ContractViolation) << k;
    }
}

TEST(AlignmentSettings, AnchorWidthsAreReadOnlyForPlacedAnchors)
{
    PropertySet scheme;
    AlignmentSettings a = readAlignmentSettings(scheme);
    EXPECT_EQ(-1, a.m_AsteriskAnchorWidth);
    EXPECT_EQ(-1, a.m_AmpersandAnchorWidth);
    EXPECT_EQ(1, a.m_TabSize);

    scheme.setInt(Key::TAB_SIZE, 4);
    scheme.setInt(Key::ASTERISK_ANCHOR, 1);
    scheme.setString(Key::WS_BETWEEN_ASTERISK_ANCHOR, " \t");
    scheme.setString(Key::WS_BETWEEN_AMPERSAND_ANCHOR, "  ");
    scheme.setBool(Key::ALIGN_DD_NAMES_LEFT, true);
    a = readAlignmentSettings(scheme);
    EXPECT_EQ(4, a.m_AsteriskAnchorWidth);
    EXPECT_EQ(-1, a.m_AmpersandAnchorWidth) << "the ampersand stays as written";
    EXPECT_TRUE(a.m_AlignDdNamesLeft);
    EXPECT_FALSE(a.m_AlignFnDeclNamesLeft);

    scheme.setInt(Key::AMPERSAND_ANCHOR, 0);
    scheme.remove(Key::WS_BETWEEN_AMPERSAND_ANCHOR);
    EXPECT_EQ(-1, readAlignmentSettings(scheme).m_AmpersandAnchorWidth);
    scheme.setInt(Key::AMPERSAND_ANCHOR, 5);
    EXPECT_THROW(readAlignmentSettings(scheme), Corvale::ContractViolation);
}

} // namespace
