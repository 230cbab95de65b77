// The defaulting step and the shared reading rules.
#include "Corvale_Exception.h"
#include "Stylist_Exception.h"
#include "Stylist_FormatterConfig.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Stylist::PropertySet;
namespace Key = Stylist::Key;

std::string str(const PropertySet& s, const char* key)
{
    std::string v = "<absent>";
    s.getString(key, v);
    return v;
}

std::int32_t integer(const PropertySet& s, const char* key)
{
    std::int32_t v = 12345;
    s.getInt(key, v);
    return v;
}

// ---- defaulting ------------------------------------------------------------

TEST(SchemeDefaults, AnEmptySchemeGetsTheUnconditionalDefaults)
{
    PropertySet s("empty");
    Stylist::fillSchemeDefaults(s);
    PropertySet expected("empty");
    expected.setInt(Key::ASTERISK_ANCHOR, -1);
    expected.setInt(Key::AMPERSAND_ANCHOR, -1);
    expected.setInt(Key::TAB_SIZE, 1);
    expected.setString(Key::WS_AFTER_PARAM_TYPE_ID, " ");
    expected.setInt(Key::CONVERT_WS, 0);
    expected.setInt(Key::OPERATOR_WRAP_STYLE, 1);
    EXPECT_EQ(expected, s) << "type-to-name separators stay absent without the anchor spacing keys";
}

TEST(SchemeDefaults, PresentValuesAreKept)
{
    PropertySet s("full");
    s.setInt(Key::ASTERISK_ANCHOR, 1);
    s.setInt(Key::AMPERSAND_ANCHOR, 0);
    s.setInt(Key::TAB_SIZE, 0);
    s.setString(Key::WS_AFTER_PARAM_TYPE_ID, "");
    s.setString(Key::WS_AFTER_DD_TYPE_ID, "\t");
    s.setInt(Key::CONVERT_WS, 2);
    s.setBool(Key::GLOBAL_LINE_WRAP, true);
    s.setString(Key::WS_BETWEEN_EXPR_OP_OPERANDS, "");
    s.setInt(Key::OPERATOR_WRAP_STYLE, 2);
    const PropertySet before = s;
    Stylist::fillSchemeDefaults(s);
    EXPECT_EQ(before, s);
}

TEST(SchemeDefaults, TypeToNameSeparatorsAreNeverEmpty)
{
    const char* const separators[] = {Key::WS_AFTER_DD_TYPE_ID, Key::WS_AFTER_FN_DECL_RETURN_TYPE,
                                      Key::WS_AFTER_FN_DEFN_RETURN_TYPE};
    const struct {
        const char* what;
        std::function<void(PropertySet&)> setUp;
        const char* expected; // for each of the three separators
    } cases[] = {
        {"empty becomes one space",
         [&](PropertySet& s) {
             for (const char* k : separators)
                 s.setString(k, "");
         },
         " "},
        {"absent stays absent", [](PropertySet&) {}, "<absent>"},
        {"absent with asterisk spacing", [](PropertySet& s) { s.setString(Key::WS_BETWEEN_ASTERISK_ANCHOR, ""); },
         " "},
        {"absent with ampersand spacing", [](PropertySet& s) { s.setString(Key::WS_BETWEEN_AMPERSAND_ANCHOR, "\t"); },
         " "},
        {"a newline is kept",
         [&](PropertySet& s) {
             s.setString(Key::WS_BETWEEN_ASTERISK_ANCHOR, " ");
             for (const char* k : separators)
                 s.setString(k, "\n");
         },
         "\n"},
        {"the anchor spacing key must be a string",
         [](PropertySet& s) { s.setBool(Key::WS_BETWEEN_ASTERISK_ANCHOR, true); }, "<absent>"},
    };
    for (const auto& c : cases) {
        PropertySet s;
        c.setUp(s);
        Stylist::fillSchemeDefaults(s);
        for (const char* k : separators)
            EXPECT_EQ(c.expected, str(s, k)) << c.what << ": " << k;
    }
}

TEST(SchemeDefaults, OperatorSpacingIsFilledOnlyForWrappingSchemes)
{
    const struct {
        const char* what;
        std::function<void(PropertySet&)> setUp;
        const char* expected;
    } cases[] = {
        {"wrapping", [](PropertySet& s) { s.setBool(Key::GLOBAL_LINE_WRAP, true); }, " "},
        {"not wrapping", [](PropertySet& s) { s.setBool(Key::GLOBAL_LINE_WRAP, false); }, "<absent>"},
        {"no wrap key", [](PropertySet&) {}, "<absent>"},
        {"wrap switch as an integer", [](PropertySet& s) { s.setInt(Key::GLOBAL_LINE_WRAP, 1); }, "<absent>"},
    };
    for (const auto& c : cases) {
        PropertySet s;
        c.setUp(s);
        Stylist::fillSchemeDefaults(s);
        EXPECT_EQ(c.expected, str(s, Key::WS_BETWEEN_EXPR_OP_OPERANDS)) << c.what;
    }
}

TEST(SchemeDefaults, IntegerDefaultsLookOnlyAtTheIntegerMap)
{
    PropertySet s;
    s.setString(Key::TAB_SIZE, "8");
    s.setBool(Key::CONVERT_WS, true);
    Stylist::fillSchemeDefaults(s);
    EXPECT_EQ(1, integer(s, Key::TAB_SIZE));
    EXPECT_EQ(0, integer(s, Key::CONVERT_WS));
    EXPECT_EQ("8", str(s, Key::TAB_SIZE));
}

// ---- wrap settings -----------------------------------------------------------

PropertySet globalWrapScheme()
{
    PropertySet s("wrap");
    s.setInt(Key::GLOBAL_WRAP_STYLE, 2);
    s.setString(Key::GLOBAL_WRAP_INDENT, "\t");
    s.setInt(Key::GLOBAL_COMMA_WRAP_STYLE, 1);
    s.setInt(Key::OPERATOR_WRAP_STYLE, 2);
    s.setInt(Key::SHIFT_WRAP_STYLE, 1);
    s.setInt(Key::GLOBAL_INDENT_WRAP_STYLE, 2);
    s.setInt(Key::GLOBAL_LIST_WRAP_STRATEGY, 2);
    return s;
}

TEST(WrapSettings, AllSevenValuesAreRead)
{
    Stylist::WrapSettings w;
    Stylist::readWrapSettings(globalWrapScheme(), Key::GLOBAL_WRAP.m_Keys, w);
    EXPECT_EQ(2, w.m_WrapStyle);
    EXPECT_EQ("\t", w.m_WrapIndent);
    EXPECT_EQ(1, w.m_CommaWrapStyle);
    EXPECT_EQ(2, w.m_OperatorWrapStyle);
    EXPECT_EQ(1, w.m_ShiftWrapStyle);
    EXPECT_EQ(2, w.m_IndentWrapStyle);
    EXPECT_EQ(2, w.m_ListWrapStrategy);
}

TEST(WrapSettings, EveryKeyIsRequiredAndLeavesTheRecordAlone)
{
    const auto& k = Key::GLOBAL_WRAP.m_Keys;
    for (const char* key : {k.m_Style, k.m_Indent, k.m_Comma, k.m_Operator, k.m_Shift, k.m_IndentStyle, k.m_Strategy}) {
        PropertySet s = globalWrapScheme();
        s.remove(key);
        Stylist::WrapSettings w;
        w.m_WrapIndent = "kept";
        try {
            Stylist::readWrapSettings(s, k, w);
            ADD_FAILURE() << key;
        } catch (const Stylist::PropertyMissingException& e) {
            EXPECT_EQ(key, e.propertyName());
            EXPECT_EQ("wrap", e.schemeName());
        }
        EXPECT_EQ("kept", w.m_WrapIndent);
    }
}

TEST(WrapSettings, IntegersOutsideOneToTwoAreContractViolations)
{
    const auto& k = Key::GLOBAL_WRAP.m_Keys;
    for (const char* key : {k.m_Style, k.m_Comma, k.m_Operator, k.m_Shift, k.m_IndentStyle, k.m_Strategy}) {
        for (std::int32_t bad : {0, 3, -1}) {
            PropertySet s = globalWrapScheme();
            s.setInt(key, bad);
            Stylist::WrapSettings w;
            try {
                Stylist::readWrapSettings(s, k, w);
                ADD_FAILURE() << key << " " << bad;
            } catch (const Corvale::ContractViolation& v) {
                EXPECT_EQ("false", v.expression());
            }
        }
    }
}

TEST(WrapSettings, DataDeclarationsAndEnumerationsShareTheGlobalIndentStyle)
{
    EXPECT_STREQ(Key::GLOBAL_INDENT_WRAP_STYLE, Key::DD_WRAP.m_Keys.m_IndentStyle);
    EXPECT_STREQ(Key::GLOBAL_INDENT_WRAP_STYLE, Key::ENUM_WRAP.m_Keys.m_IndentStyle);
    EXPECT_STREQ("FN_DECL_INDENT_WRAP_STYLE", Key::FN_DECL_WRAP.m_Keys.m_IndentStyle);
    EXPECT_STREQ("BASE_CLAUSE_WRAP_USE_GLOBAL_SETTINGS", Key::BASE_CLAUSE_WRAP.m_UseGlobal);
    EXPECT_EQ(nullptr, Key::GLOBAL_WRAP.m_UseGlobal);
}

// ---- single values -------------------------------------------------------------

TEST(ReadingRules, TabSizeAndRightMarginAreClamped)
{
    const struct {
        std::int32_t stored;
        std::int32_t tabSize;
        std::int32_t rightMargin;
    } cases[] = {{8, 8, 8}, {1, 1, 1}, {0, 1, 0}, {-4, 1, 0}};
    for (const auto& c : cases) {
        PropertySet s;
        s.setInt(Key::TAB_SIZE, c.stored);
        s.setInt(Key::RIGHT_MARGIN, c.stored);
        EXPECT_EQ(c.tabSize, Stylist::readTabSize(s)) << c.stored;
        EXPECT_EQ(c.rightMargin, Stylist::readClampedRightMargin(s)) << c.stored;
    }
    EXPECT_EQ(1, Stylist::readTabSize(PropertySet()));
    EXPECT_EQ(0, Stylist::readClampedRightMargin(PropertySet()));
}

TEST(ReadingRules, EnumeratedValuesAreCheckedWhenRead)
{
    PropertySet s;
    EXPECT_EQ(Stylist::TabConversion::KEEP, Stylist::readTabConversion(s));
    EXPECT_EQ(Stylist::Anchor::AS_WRITTEN, Stylist::readAnchor(s, Key::ASTERISK_ANCHOR));
    s.setInt(Key::CONVERT_WS, 2);
    s.setInt(Key::ASTERISK_ANCHOR, 1);
    EXPECT_EQ(Stylist::TabConversion::COMPRESS, Stylist::readTabConversion(s));
    EXPECT_EQ(Stylist::Anchor::TO_NAME, Stylist::readAnchor(s, Key::ASTERISK_ANCHOR));
    s.setInt(Key::CONVERT_WS, 3);
    s.setInt(Key::ASTERISK_ANCHOR, -2);
    EXPECT_THROW(Stylist::readTabConversion(s), Corvale::ContractViolation);
    EXPECT_THROW(Stylist::readAnchor(s, Key::ASTERISK_ANCHOR), Corvale::ContractViolation);
}

TEST(ReadingRules, RequiredAndOptionalReads)
{
    PropertySet s("scheme");
    s.setBool("B", true);
    s.setString("S", "\n");
    EXPECT_TRUE(Stylist::requiredBool(s, "B"));
    EXPECT_EQ("\n", Stylist::requiredString(s, "S"));
    EXPECT_THROW(Stylist::requiredInt(s, "B"), Stylist::PropertyMissingException);
    EXPECT_TRUE(Stylist::optionalBool(s, "X", true));
    EXPECT_FALSE(Stylist::optionalBool(s, "X", false));
    EXPECT_EQ(7, Stylist::optionalInt(s, "B", 7));
}

TEST(ReadingRules, PreprocessorPlacementHasThreeStates)
{
    PropertySet s;
    Stylist::PpdPlacement p = Stylist::readPpdPlacement(s);
    EXPECT_FALSE(p.m_Present);
    EXPECT_FALSE(p.m_LeftMost);
    s.setBool(Key::ALIGN_PPD_LEFT_MOST, false);
    p = Stylist::readPpdPlacement(s);
    EXPECT_TRUE(p.m_Present);
    EXPECT_FALSE(p.m_LeftMost);
    s.setBool(Key::ALIGN_PPD_LEFT_MOST, true);
    EXPECT_TRUE(Stylist::readPpdPlacement(s).m_LeftMost);
}

TEST(ReadingRules, WhitespaceWidthFollowsTabStops)
{
    const struct {
        const char* text;
        std::int32_t tabSize;
        std::int32_t width;
    } cases[] = {
        {"", 4, 0},        {"    ", 4, 4},   {"\t", 4, 4},    {" \t", 4, 4},  {"    \t", 4, 8},
        {"\t\t", 3, 6},    {"  \t ", 8, 9},  {"\t", 1, 1},    {"\t", 0, 1},   {"\t\n  ", 4, 2},
        {" \n\t", 2, 2},   {"\n", 4, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.width, Stylist::whitespaceWidth(c.text, c.tabSize)) << "[" << c.text << "] " << c.tabSize;
}

} // namespace
