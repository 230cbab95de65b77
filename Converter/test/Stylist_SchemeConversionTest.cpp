// Converting one scheme: versions, each conversion step on small property
// sets, and the promise that a converted scheme satisfies every reader.
#include "Stylist_UserDataConverter.h"

#include "Corvale_Exception.h"
#include "StylistCpp_FormatterConfig.h"
#include "Stylist_Exception.h"
#include "Stylist_Messages.h"
#include "Stylist_SchemeKeys.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Stylist::PropertySet;
namespace Key = Stylist::Key;

const char* const CONSTRUCTS[] = {"GLOBAL", "ENUM", "DD", "CLASS_INIT", "EXPR", "FN_DECL", "FN_DEFN", "BASE_CLAUSE"};
const char* const INDENT_STYLE_CONSTRUCTS[] = {"GLOBAL", "CLASS_INIT", "FN_DECL", "FN_DEFN", "BASE_CLAUSE", "EXPR"};

std::string violation(void (*f)())
{
    try {
        f();
    } catch (const Corvale::ContractViolation& v) {
        return v.expression();
    }
    return "no violation";
}

bool boolOf(const PropertySet& s, const std::string& key)
{
    bool v = false;
    EXPECT_TRUE(s.getBool(key, v)) << key;
    return v;
}

std::int32_t intOf(const PropertySet& s, const std::string& key)
{
    std::int32_t v = -999;
    EXPECT_TRUE(s.getInt(key, v)) << key;
    return v;
}

std::string stringOf(const PropertySet& s, const std::string& key)
{
    std::string v = "<absent>";
    EXPECT_TRUE(s.getString(key, v)) << key;
    return v;
}

PropertySet converted(PropertySet s)
{
    Stylist::convertScheme(s);
    return s;
}

// Runs every reader of the formatting engine over the scheme and answers
// what failed, or the empty string.
std::string readersFail(const PropertySet& s)
{
    try {
        (void)StylistCpp::readRewriterSettings(s);
        (void)StylistCpp::readFormatterSettings(s);
        (void)StylistCpp::readExprFormatterSettings(s);
        (void)StylistCpp::readExprLineWrapperSettings(s);
        (void)StylistCpp::readLineWrapperSettings(s);
        PropertySet defaulted(s);
        Stylist::fillSchemeDefaults(defaulted);
        (void)StylistCpp::readAlignmentSettings(defaulted);
    } catch (const Stylist::PropertyMissingException& e) {
        return "missing " + e.propertyName();
    } catch (const Corvale::ContractViolation& v) {
        return v.description();
    }
    return "";
}

// ---- versions -------------------------------------------------------------------

TEST(Versions, CompareNumberByNumber)
{
    struct Case {
        const char* lhs;
        const char* rhs;
        int sign;
    } cases[] = {
        {"1.4.0", "1.4.4", -1}, {"1.4.4", "1.4.4", 0},  {"1.4.5", "1.4.4", 1},  {"1.5.0", "1.4.4", 1},
        {"0.9.9", "1.0.0", -1}, {"1.10.0", "1.9.9", 1}, {"1.4.4.7", "1.4.4", 0}, {"1.4", "1.4.0", 0},
        {"2", "1.9.9", 1},      {"abc", "0.0.0", 0},    {"1.x.9", "1.0.0", 0},  {"1.4.4 beta", "1.4.4", 0},
    };
    for (const Case& c : cases) {
        const int r = Stylist::compareVersions(c.lhs, c.rhs);
        EXPECT_EQ(c.sign, (r > 0) - (r < 0)) << c.lhs << " vs " << c.rhs;
    }
    const Stylist::Version v = Stylist::parseVersion("3.12.5.99");
    EXPECT_EQ(3, v.m_Major);
    EXPECT_EQ(12, v.m_Minor);
    EXPECT_EQ(5, v.m_Third);
}

TEST(Versions, EmptyTextsBreakTheContracts)
{
    EXPECT_EQ("!s.empty()", violation([] { Stylist::parseVersion(""); }));
    EXPECT_EQ("!lhs.empty()", violation([] { Stylist::compareVersions("", "1.4.4"); }));
}

TEST(Versions, WhichSchemesNeedConversion)
{
    PropertySet s("S");
    EXPECT_TRUE(Stylist::schemeNeedsConversion(s, "1.4.4")) << "no version: always";
    s.setInt(Key::QUILLON_VERSION, 144);
    EXPECT_TRUE(Stylist::schemeNeedsConversion(s, "1.4.4")) << "only the string property counts";
    s.setString(Key::QUILLON_VERSION, "1.4.0");
    EXPECT_TRUE(Stylist::schemeNeedsConversion(s, "1.4.4"));
    s.setString(Key::QUILLON_VERSION, "1.4.4");
    EXPECT_FALSE(Stylist::schemeNeedsConversion(s, "1.4.4"));
    s.setString(Key::QUILLON_VERSION, "1.5.0");
    EXPECT_FALSE(Stylist::schemeNeedsConversion(s, "1.4.4"));
    s.setString(Key::QUILLON_VERSION, "");
    EXPECT_THROW(Stylist::schemeNeedsConversion(s, "1.4.4"), Corvale::ContractViolation);
}

TEST(ConversionMessages, TableAndRange)
{
    EXPECT_EQ("The scheme: 'S' has the invalid value: QUILLON_VERSION for the option: QUILLON_VERSION.\n"
              " The scheme file may have become corrupted.\n",
              Stylist::fillMessage(Stylist::conversionMessage(Stylist::CONV_INVALID_SCHEME_VALUE), "S",
                                   "QUILLON_VERSION", "QUILLON_VERSION"));
    EXPECT_EQ(Stylist::appMessage(5), Stylist::conversionMessage(0));
    EXPECT_EQ(Stylist::appMessage(12), Stylist::conversionMessage(5));
    EXPECT_THROW(Stylist::conversionMessage(7), Corvale::ContractViolation);
    EXPECT_THROW(Stylist::conversionMessage(-1), Corvale::ContractViolation);
}

// ---- step 1: derivations ------------------------------------------------------------

TEST(ConvertScheme, SpacesPerTabBecomesTabSize)
{
    PropertySet old("Old");
    old.setInt(Key::SPACES_PER_TAB, 8);
    PropertySet c = converted(old);
    EXPECT_EQ(8, intOf(c, Key::TAB_SIZE));
    EXPECT_FALSE(c.has(Key::SPACES_PER_TAB));

    old.setInt(Key::TAB_SIZE, 2);
    EXPECT_EQ(2, intOf(converted(old), Key::TAB_SIZE)) << "a current key that is there wins";
}

TEST(ConvertScheme, AlignedParametersPutEveryParameterAndArgumentOnItsOwnLine)
{
    PropertySet old("Old");
    old.setBool(Key::ALIGN_FN_PARAMS_LEFT, true);
    old.setBool(Key::ALIGN_CS_FOR_CLAUSES_LEFT, true);
    PropertySet c = converted(old);
    EXPECT_EQ("\n", stringOf(c, Key::WS_BETWEEN_FN_PARAMS));
    EXPECT_EQ("\n", stringOf(c, Key::WS_BETWEEN_FN_CALL_ARGS));
    EXPECT_EQ("\n", stringOf(c, Key::WS_BETWEEN_CS_FOR_CLAUSES));
    EXPECT_FALSE(c.has(Key::ALIGN_FN_PARAMS_LEFT));
    EXPECT_FALSE(c.has(Key::ALIGN_CS_FOR_CLAUSES_LEFT));

    // Off, the separators take their defaults.
    old.setBool(Key::ALIGN_FN_PARAMS_LEFT, false);
    old.setBool(Key::ALIGN_CS_FOR_CLAUSES_LEFT, false);
    c = converted(old);
    EXPECT_EQ("", stringOf(c, Key::WS_BETWEEN_FN_PARAMS));
    EXPECT_EQ("", stringOf(c, Key::WS_BETWEEN_FN_CALL_ARGS));
    EXPECT_EQ("", stringOf(c, Key::WS_BETWEEN_CS_FOR_CLAUSES));

    // A parameter separator of its own is kept and also separates arguments.
    old.setBool(Key::ALIGN_FN_PARAMS_LEFT, true);
    old.setString(Key::WS_BETWEEN_FN_PARAMS, " ");
    c = converted(old);
    EXPECT_EQ(" ", stringOf(c, Key::WS_BETWEEN_FN_PARAMS));
    EXPECT_EQ(" ", stringOf(c, Key::WS_BETWEEN_FN_CALL_ARGS));
}

TEST(ConvertScheme, StringKeysTakeTheValuesOfTheirOldOrGlobalCounterparts)
{
    const struct {
        const char* current;
        const char* source;
    } rows[] = {
        {Key::WS_BEFORE_DD_OPEN_BRACE, Key::GLOBAL_WS_BEFORE_OPEN_BRACE},
        {Key::WS_AFTER_DD_OPEN_BRACE, Key::GLOBAL_WS_AFTER_OPEN_BRACE},
        {Key::WS_BEFORE_DD_CLOSE_BRACE, Key::GLOBAL_WS_BEFORE_CLOSE_BRACE},
        {Key::INDENT_DD_CONTENT, Key::GLOBAL_INDENT_CONTENT},
        {Key::WS_AFTER_FN_CALL_NAME, Key::WS_AFTER_FN_NAME},
        {Key::WS_BEFORE_CLASS_OPEN_BRACE, Key::WS_AFTER_CLASS_HEAD},
        {Key::WS_BEFORE_NS_OPEN_BRACE, Key::WS_AFTER_NS_HEAD},
        {Key::WS_BEFORE_ENUM_OPEN_BRACE, Key::WS_AFTER_ENUM_HEAD},
        {Key::WS_BEFORE_FN_OPEN_BRACE, Key::WS_AFTER_FN_HEAD},
        {Key::WS_BEFORE_CS_OPEN_BRACE, Key::WS_AFTER_CS_HEAD},
    };
    PropertySet old("Old");
    int n = 0;
    for (const auto& row : rows)
        old.setString(row.source, std::string(static_cast<std::size_t>(++n), '\t') + "\n");
    PropertySet c = converted(old);
    for (const auto& row : rows) {
        std::string source;
        old.getString(row.source, source);
        EXPECT_EQ(source, stringOf(c, row.current)) << row.current;
    }

    // A current key of another type does not count as present.
    PropertySet typed("Typed");
    typed.setInt(Key::WS_BEFORE_NS_OPEN_BRACE, 3);
    typed.setString(Key::WS_AFTER_NS_HEAD, "\n");
    EXPECT_EQ("\n", stringOf(converted(typed), Key::WS_BEFORE_NS_OPEN_BRACE));
}

TEST(ConvertScheme, OldSwitchNamesBecomeTheCurrentOnes)
{
    const struct {
        const char* current;
        const char* source;
    } rows[] = {
        {Key::ENUM_DO_NOT_FORMAT, Key::ENUMS_DO_NOT_FORMAT},
        {Key::NS_DO_NOT_FORMAT, Key::NAMESPACES_DO_NOT_FORMAT},
        {Key::TP_DO_NOT_FORMAT, Key::TEMPLATES_DO_NOT_FORMAT},
        {Key::CS_DO_NOT_FORMAT, Key::CONTROLSTATEMENTS_DO_NOT_FORMAT},
        {Key::CLASS_INIT_DO_NOT_FORMAT, Key::MEMBERINITS_DO_NOT_FORMAT},
        {Key::POINTERS_REFS_DO_NOT_FORMAT, Key::POINTERSREFS_DO_NOT_FORMAT},
        {Key::ENUM_USE_GLOBAL_SETTINGS, Key::ENUMS_USE_GLOBAL_SETTINGS},
        {Key::DD_USE_GLOBAL_SETTINGS, Key::DATA_USE_GLOBAL_SETTINGS},
        {Key::NS_USE_GLOBAL_SETTINGS, Key::NAMESPACES_USE_GLOBAL_SETTINGS},
        {Key::TP_USE_GLOBAL_SETTINGS, Key::TEMPLATES_USE_GLOBAL_SETTINGS},
        {Key::CS_USE_GLOBAL_SETTINGS, Key::CONTROLSTATEMENTS_USE_GLOBAL_SETTINGS},
        {Key::CLASS_INIT_USE_GLOBAL_SETTINGS, Key::MEMBERINITS_USE_GLOBAL_SETTINGS},
        {Key::DD_DO_NOT_FORMAT, Key::DATA_DO_NOT_FORMAT},
    };
    // Every switch defaults to false, so true shows the value was carried.
    for (const auto& row : rows) {
        PropertySet old("Old");
        old.setBool(row.source, true);
        PropertySet c = converted(old);
        EXPECT_TRUE(boolOf(c, row.current)) << row.source;
        EXPECT_FALSE(c.has(row.source)) << row.source;

        old.setBool(row.current, false);
        EXPECT_FALSE(boolOf(converted(old), row.current)) << "present: kept, " << row.current;
    }

    // The old pointer switch pair: the do-not-format value comes first, the
    // global-settings value only fills a gap.
    PropertySet pointers("P");
    pointers.setBool(Key::POINTERSREFS_USE_GLOBAL_SETTINGS, true);
    EXPECT_TRUE(boolOf(converted(pointers), Key::POINTERS_REFS_DO_NOT_FORMAT));
    pointers.setBool(Key::POINTERSREFS_DO_NOT_FORMAT, false);
    EXPECT_FALSE(boolOf(converted(pointers), Key::POINTERS_REFS_DO_NOT_FORMAT));
}

TEST(ConvertScheme, InAnOldSchemeTheExpressionWrapStyleIsTheOperatorWrapStyle)
{
    PropertySet old("Old");
    old.setInt(Key::SPACES_PER_TAB, 4); // a key of the earlier version
    old.setInt(Key::EXPR_WRAP_STYLE, 1);
    old.setInt(Key::OPERATOR_WRAP_STYLE, 2);
    PropertySet c = converted(old);
    EXPECT_EQ(1, intOf(c, Key::OPERATOR_WRAP_STYLE)) << "even over an operator wrap style that is there";
    EXPECT_EQ(1, intOf(c, Key::EXPR_WRAP_STYLE));

    // An expression wrap style of 0 reaches the operator style first and is
    // then remapped there.
    old.setInt(Key::EXPR_WRAP_STYLE, 0);
    EXPECT_EQ(2, intOf(converted(old), Key::OPERATOR_WRAP_STYLE));

    // A scheme of this version keeps its own operator wrap style; one
    // without fills it from the expression wrap style.
    PropertySet current = converted(PropertySet("Current"));
    EXPECT_EQ(2, intOf(current, Key::OPERATOR_WRAP_STYLE));
    EXPECT_EQ(1, intOf(current, Key::EXPR_WRAP_STYLE));
    EXPECT_FALSE(Stylist::convertScheme(current));
    current.remove(Key::OPERATOR_WRAP_STYLE);
    EXPECT_EQ(1, intOf(converted(current), Key::OPERATOR_WRAP_STYLE));
}

// ---- step 2: remapping -----------------------------------------------------------------

TEST(ConvertScheme, ZeroEncodedWrapValuesAreRemapped)
{
    std::vector<std::pair<std::string, std::int32_t>> expected = {
        {Key::GLOBAL_COMMA_WRAP_STYLE, 2},      {Key::OPERATOR_WRAP_STYLE, 2},
        {Key::GLOBAL_LIST_WRAP_STRATEGY, 1},    {Key::SHIFT_WRAP_STYLE, 2},
        {Key::GLOBAL_WRAP_STYLE, 1},            {Key::GLOBAL_INDENT_WRAP_STYLE, 1},
        {Key::CLASS_INIT_INDENT_WRAP_STYLE, 1}, {Key::EXPR_INDENT_WRAP_STYLE, 1},
        {Key::FN_DECL_INDENT_WRAP_STYLE, 1},    {Key::FN_DEFN_INDENT_WRAP_STYLE, 1},
        {Key::BASE_CLAUSE_INDENT_WRAP_STYLE, 1},
    };
    for (const char* c : CONSTRUCTS) {
        expected.emplace_back(std::string(c) + "_COMMA_WRAP_STYLE", 2);
        if (std::string(c) != "GLOBAL")
            expected.emplace_back(std::string(c) + "_LIST_WRAP_STRATEGY", 1);
    }
    PropertySet zeros("Z");
    PropertySet others("O");
    for (const auto& e : expected) {
        zeros.setInt(e.first, 0);
        others.setInt(e.first, 3 - e.second); // the other legal value
    }
    // Without an expression wrap style, which would set the operator style.
    const PropertySet z = converted(zeros);
    const PropertySet o = converted(others);
    for (const auto& e : expected) {
        EXPECT_EQ(e.second, intOf(z, e.first)) << e.first;
        EXPECT_EQ(3 - e.second, intOf(o, e.first)) << "not 0: kept, " << e.first;
    }

    // The wrap styles of the constructs other than GLOBAL are not remapped.
    PropertySet dd("D");
    dd.setInt(Key::DD_WRAP_STYLE, 0);
    EXPECT_EQ(0, intOf(converted(dd), Key::DD_WRAP_STYLE));
}

// ---- step 3: LINE_WRAP_DO_NOT_FORMAT -----------------------------------------------------

TEST(ConvertScheme, AnIntegerNoWrappingSwitchBecomesAFlag)
{
    const struct {
        std::int32_t number;
        int flag; // -1: no flag stored beside the integer
        bool expected;
    } cases[] = {{1, -1, true}, {0, -1, false}, {7, -1, true}, {1, 0, false}, {0, 1, true}};
    for (const auto& c : cases) {
        PropertySet s("S");
        s.setInt(Key::LINE_WRAP_DO_NOT_FORMAT, c.number);
        if (c.flag >= 0)
            s.setBool(Key::LINE_WRAP_DO_NOT_FORMAT, c.flag == 1);
        s.setString(Key::LINE_WRAP_DO_NOT_FORMAT, "odd");
        PropertySet r = converted(s);
        std::int32_t n = 0;
        EXPECT_FALSE(r.getInt(Key::LINE_WRAP_DO_NOT_FORMAT, n)) << c.number;
        EXPECT_EQ(c.expected, boolOf(r, Key::LINE_WRAP_DO_NOT_FORMAT)) << c.number << " " << c.flag;
        EXPECT_EQ("odd", stringOf(r, Key::LINE_WRAP_DO_NOT_FORMAT)) << "other types are left alone";
    }
}

// ---- step 4: fan-out ------------------------------------------------------------------------

TEST(ConvertScheme, OldGlobalWrapSettingsFanOutToEveryConstruct)
{
    PropertySet old("Old");
    old.setBool(Key::LINE_WRAP, true);
    old.setInt(Key::WRAP_STYLE, 2);
    old.setString(Key::WRAP_INDENT, "\t\t");
    old.setInt(Key::INDENT_WRAP_STYLE, 2);
    old.setInt(Key::LIST_WRAP_STRATEGY, 2);
    old.setInt(Key::COMMA_WRAP_STYLE, 1);
    // Keys of their own are kept.
    old.setBool(Key::DD_LINE_WRAP, false);
    old.setInt(Key::ENUM_WRAP_STYLE, 1);
    old.setString(Key::EXPR_WRAP_INDENT, " ");

    const PropertySet c = converted(old);
    for (const std::string x : CONSTRUCTS) {
        EXPECT_EQ(x != "DD", boolOf(c, x + "_LINE_WRAP")) << x;
        EXPECT_EQ(x == "ENUM" ? 1 : 2, intOf(c, x + "_WRAP_STYLE")) << x;
        EXPECT_EQ(x == "EXPR" ? " " : "\t\t", stringOf(c, x + "_WRAP_INDENT")) << x;
        std::int32_t n = 0;
        EXPECT_FALSE(c.getInt(x + "_WRAP_INDENT", n)) << "the wrap indent stays a string: " << x;
        EXPECT_EQ(1, intOf(c, x + "_COMMA_WRAP_STYLE")) << x;
        EXPECT_EQ(2, intOf(c, x + "_LIST_WRAP_STRATEGY")) << x;
    }
    for (const std::string x : INDENT_STYLE_CONSTRUCTS)
        EXPECT_EQ(2, intOf(c, x + "_INDENT_WRAP_STYLE")) << x;
    for (const char* gone : {Key::LINE_WRAP, Key::WRAP_STYLE, Key::WRAP_INDENT, Key::INDENT_WRAP_STYLE,
                             Key::LIST_WRAP_STRATEGY, Key::COMMA_WRAP_STYLE})
        EXPECT_FALSE(c.has(gone)) << gone;
    EXPECT_EQ("", readersFail(c));
}

TEST(ConvertScheme, AZeroCommaStyleIsFannedOutAsItIsWhileAPresentGlobalZeroIsRemapped)
{
    PropertySet old("Old");
    old.setInt(Key::COMMA_WRAP_STYLE, 0);
    old.setInt(Key::GLOBAL_COMMA_WRAP_STYLE, 0);
    const PropertySet c = converted(old);
    EXPECT_EQ(2, intOf(c, Key::GLOBAL_COMMA_WRAP_STYLE));
    for (const std::string x : CONSTRUCTS) {
        if (x != "GLOBAL") {
            EXPECT_EQ(0, intOf(c, x + "_COMMA_WRAP_STYLE")) << x;
        }
    }

    // The next conversion (the scheme is stamped with an older version
    // than the running one) remaps what was carried over.
    const PropertySet again = converted(c);
    for (const std::string x : CONSTRUCTS)
        EXPECT_EQ(2, intOf(again, x + "_COMMA_WRAP_STYLE")) << x;
}

TEST(ConvertScheme, OldZeroWrapValuesWithoutGlobalKeysLeaveAReadableScheme)
{
    // Without GLOBAL keys of its own, the scheme's GLOBAL values come from
    // the fan-out of the old 0s; 0 is outside their legal range, so they
    // must already carry the numbers 0 stands for.
    PropertySet old("Old");
    old.setInt(Key::COMMA_WRAP_STYLE, 0);
    old.setInt(Key::WRAP_STYLE, 0);
    old.setInt(Key::INDENT_WRAP_STYLE, 0);
    old.setInt(Key::LIST_WRAP_STRATEGY, 0);
    const PropertySet c = converted(old);
    EXPECT_EQ(2, intOf(c, Key::GLOBAL_COMMA_WRAP_STYLE));
    EXPECT_EQ(1, intOf(c, Key::GLOBAL_WRAP_STYLE));
    EXPECT_EQ(1, intOf(c, Key::GLOBAL_INDENT_WRAP_STYLE));
    EXPECT_EQ(1, intOf(c, Key::GLOBAL_LIST_WRAP_STRATEGY));
    EXPECT_EQ(0, intOf(c, "ENUM_COMMA_WRAP_STYLE")) << "constructs keep the value carried over";
    EXPECT_EQ("", readersFail(c));
}

TEST(ConvertScheme, BothTypedValuesOfTheOldWrapIndentAndDataSwitchGo)
{
    PropertySet old("Old");
    old.setString(Key::WRAP_INDENT, "  ");
    old.setInt(Key::WRAP_INDENT, 2);
    old.setBool(Key::DATA_DO_NOT_FORMAT, true);
    old.setInt(Key::DATA_DO_NOT_FORMAT, 1);
    const PropertySet c = converted(old);
    EXPECT_FALSE(c.has(Key::WRAP_INDENT));
    EXPECT_FALSE(c.has(Key::DATA_DO_NOT_FORMAT));
    EXPECT_EQ("  ", stringOf(c, Key::GLOBAL_WRAP_INDENT));
    EXPECT_TRUE(boolOf(c, Key::DD_DO_NOT_FORMAT));

    // A wrap indent kept only as a number is not whitespace: the
    // constructs get the empty default.
    PropertySet numeric("N");
    numeric.setInt(Key::WRAP_INDENT, 4);
    const PropertySet n = converted(numeric);
    EXPECT_EQ("", stringOf(n, Key::FN_DECL_WRAP_INDENT));
    EXPECT_FALSE(n.has(Key::WRAP_INDENT));
}

// ---- steps 6 to 8: defaults, removal, stamp -----------------------------------------------

TEST(ConvertScheme, AnEmptySchemeGetsEveryDefaultAndTheStamp)
{
    PropertySet empty("Empty");
    EXPECT_NE("", readersFail(empty)) << "the readers do need the defaults";
    PropertySet c = empty;
    EXPECT_TRUE(Stylist::convertScheme(c));
    EXPECT_EQ("1.4.0", stringOf(c, Key::QUILLON_VERSION));
    EXPECT_EQ("Empty", c.name());

    EXPECT_EQ(4, intOf(c, Key::TAB_SIZE));
    EXPECT_EQ(78, intOf(c, Key::RIGHT_MARGIN));
    EXPECT_EQ(-1, intOf(c, Key::ASTERISK_ANCHOR));
    EXPECT_EQ(2, intOf(c, Key::OPERATOR_WRAP_STYLE));
    EXPECT_EQ(2, intOf(c, Key::SHIFT_WRAP_STYLE));
    EXPECT_EQ(0, intOf(c, Key::IF_ELSE_CS_SINGLE_STMT_BRACE_STYLE));
    EXPECT_TRUE(boolOf(c, Key::ALIGN_PPD_LEFT_MOST));
    EXPECT_TRUE(boolOf(c, Key::FN_DECL_WRAP_USE_GLOBAL_SETTINGS));
    EXPECT_FALSE(boolOf(c, Key::FN_USE_GLOBAL_SETTINGS));
    EXPECT_FALSE(boolOf(c, Key::LINE_WRAP_DO_NOT_FORMAT));
    EXPECT_EQ(" ", stringOf(c, Key::WS_AFTER_DD_TYPE_ID));
    EXPECT_EQ(" ", stringOf(c, Key::WS_BETWEEN_EXPR_OP_OPERANDS));
    EXPECT_EQ("", stringOf(c, Key::LEFT_MARGIN));
    EXPECT_EQ("", stringOf(c, Key::INDENT_FN_CONTENT));
    for (const std::string x : CONSTRUCTS) {
        EXPECT_FALSE(boolOf(c, x + "_LINE_WRAP")) << x;
        EXPECT_EQ(1, intOf(c, x + "_WRAP_STYLE")) << x;
        EXPECT_EQ(2, intOf(c, x + "_COMMA_WRAP_STYLE")) << x;
        EXPECT_EQ(1, intOf(c, x + "_LIST_WRAP_STRATEGY")) << x;
        EXPECT_EQ("", stringOf(c, x + "_WRAP_INDENT")) << x;
    }
    for (const std::string x : INDENT_STYLE_CONSTRUCTS)
        EXPECT_EQ(1, intOf(c, x + "_INDENT_WRAP_STYLE")) << x;
    // The counts catch a default added to the wrong map.
    EXPECT_EQ(40u, c.ints().size());
    EXPECT_EQ(46u, c.bools().size());
    EXPECT_EQ(90u, c.strings().size()) << "89 defaults and the version";

    EXPECT_EQ("", readersFail(c));
}

TEST(ConvertScheme, AKeyStoredWithTheWrongTypeStillGetsItsDefault)
{
    // For every key of a complete scheme, a scheme holding that name only
    // with another type: conversion fills the right type in, and every
    // reader is satisfied.
    const PropertySet complete = converted(PropertySet("Complete"));
    std::vector<std::string> names;
    for (const auto& b : complete.bools())
        names.push_back(b.first);
    for (const auto& i : complete.ints())
        names.push_back(i.first);
    for (const auto& t : complete.strings())
        if (t.first != Key::QUILLON_VERSION)
            names.push_back(t.first);
    ASSERT_EQ(175u, names.size());
    for (const std::string& name : names) {
        PropertySet odd("Odd");
        if (complete.bools().count(name) != 0)
            odd.setString(name, "1");
        else if (complete.ints().count(name) != 0)
            odd.setBool(name, true);
        else
            odd.setInt(name, 1);
        EXPECT_EQ("", readersFail(converted(odd))) << name;
    }
}

TEST(ConvertScheme, EveryOldKeyIsRemoved)
{
    PropertySet old("Old");
    for (const char* key : Stylist::OBSOLETE_KEYS)
        old.setBool(key, true);
    const PropertySet c = converted(old);
    for (const char* key : Stylist::OBSOLETE_KEYS)
        EXPECT_FALSE(c.has(key)) << key;
    EXPECT_EQ(32u, std::size(Stylist::OBSOLETE_KEYS));
}

TEST(ConvertScheme, ACompleteCurrentSchemeIsLeftAsItIs)
{
    // Every key present with its default value.
    PropertySet complete = converted(PropertySet("Complete"));
    complete.remove(Key::QUILLON_VERSION);
    PropertySet c = complete;
    EXPECT_FALSE(Stylist::convertScheme(c));
    EXPECT_EQ(complete, c) << "no stamp when nothing changed";

    complete.setString(Key::QUILLON_VERSION, "1.2.0");
    c = complete;
    EXPECT_FALSE(Stylist::convertScheme(c));
    EXPECT_EQ("1.2.0", stringOf(c, Key::QUILLON_VERSION));

    // One missing default is a change, and the stamp follows.
    c.remove(Key::WS_BETWEEN_CS);
    EXPECT_TRUE(Stylist::convertScheme(c));
    EXPECT_EQ("1.4.0", stringOf(c, Key::QUILLON_VERSION));
    EXPECT_EQ("", stringOf(c, Key::WS_BETWEEN_CS));
}

TEST(ConvertScheme, ARealisticOldSchemeReadsCleanlyWithEveryFamilyOnItsOwnSettings)
{
    PropertySet old("Old Style");
    old.setInt(Key::SPACES_PER_TAB, 4);
    old.setInt(Key::RIGHT_MARGIN, 100);
    old.setBool(Key::LINE_WRAP, true);
    old.setInt(Key::WRAP_STYLE, 2);
    old.setString(Key::WRAP_INDENT, "    ");
    old.setInt(Key::INDENT_WRAP_STYLE, 1);
    old.setInt(Key::COMMA_WRAP_STYLE, 2);
    old.setInt(Key::LIST_WRAP_STRATEGY, 1);
    old.setInt(Key::LINE_WRAP_DO_NOT_FORMAT, 0);
    old.setBool(Key::ALIGN_FN_PARAMS_LEFT, true);
    old.setString(Key::WS_AFTER_CLASS_HEAD, "\n");
    old.setString(Key::WS_AFTER_FN_HEAD, "\n");
    old.setString(Key::WS_AFTER_CS_HEAD, " ");
    old.setString(Key::GLOBAL_INDENT_CONTENT, "    ");
    old.setString(Key::GLOBAL_WS_BEFORE_OPEN_BRACE, "\n");
    old.setBool(Key::ENUMS_DO_NOT_FORMAT, false);
    old.setBool(Key::DATA_DO_NOT_FORMAT, false);
    old.setString(Key::WS_AFTER_DD_NAME, " ");

    PropertySet c = converted(old);
    EXPECT_EQ("", readersFail(c));
    EXPECT_EQ("    ", stringOf(c, Key::INDENT_DD_CONTENT));
    EXPECT_EQ("\n", stringOf(c, Key::WS_BEFORE_DD_OPEN_BRACE));
    EXPECT_EQ(100, intOf(c, Key::RIGHT_MARGIN));

    // Every family on its own wrap settings and the function keys read
    // directly: the fanned-out values are complete and of the right types.
    for (const char* useGlobal :
         {Key::DD_WRAP_USE_GLOBAL_SETTINGS, Key::ENUM_WRAP_USE_GLOBAL_SETTINGS, Key::CLASS_INIT_WRAP_USE_GLOBAL_SETTINGS,
          Key::EXPR_WRAP_USE_GLOBAL_SETTINGS, Key::FN_DECL_WRAP_USE_GLOBAL_SETTINGS,
          Key::FN_DEFN_WRAP_USE_GLOBAL_SETTINGS, Key::BASE_CLAUSE_WRAP_USE_GLOBAL_SETTINGS})
        c.setBool(useGlobal, false);
    EXPECT_EQ("", readersFail(c));
    const StylistCpp::LineWrapperSettings w = StylistCpp::readLineWrapperSettings(c);
    EXPECT_TRUE(w.m_GlobalLineWrap);
    EXPECT_TRUE(w.m_FnDeclWrap.m_LineWrap);
    EXPECT_EQ(2, w.m_FnDeclWrap.m_Wrap.m_WrapStyle);
    EXPECT_EQ("    ", w.m_FnDeclWrap.m_Wrap.m_WrapIndent);
    EXPECT_EQ("\n", w.m_WsBetweenFnParams);
    EXPECT_EQ(4, w.m_TabSize);

    PropertySet again = c;
    EXPECT_FALSE(Stylist::convertScheme(again)) << "a second conversion finds nothing to do";
}

} // namespace
