#include "Stylist_FormatterConfig.h"

#include "Corvale_Exception.h"

namespace Stylist {

namespace {

const char* const ONE_SPACE = " ";

void setIntIfAbsent(PropertySet& scheme, const char* key, std::int32_t value)
{
    std::int32_t present;
    if (!scheme.getInt(key, present))
        scheme.setInt(key, value);
}

} // namespace

void fillSchemeDefaults(PropertySet& scheme)
{
    setIntIfAbsent(scheme, Key::ASTERISK_ANCHOR, -1);
    setIntIfAbsent(scheme, Key::AMPERSAND_ANCHOR, -1);
    setIntIfAbsent(scheme, Key::TAB_SIZE, 1);

    std::string value;
    if (!scheme.getString(Key::WS_AFTER_PARAM_TYPE_ID, value))
        scheme.setString(Key::WS_AFTER_PARAM_TYPE_ID, ONE_SPACE);

    const char* const typeToName[] = {Key::WS_AFTER_DD_TYPE_ID, Key::WS_AFTER_FN_DECL_RETURN_TYPE,
                                      Key::WS_AFTER_FN_DEFN_RETURN_TYPE};
    for (const char* key : typeToName)
        if (scheme.getString(key, value) && value.empty())
            scheme.setString(key, ONE_SPACE);

    // A scheme that spaces its pointer anchors also separates types from
    // names, even when it never said how.
    if (scheme.getString(Key::WS_BETWEEN_AMPERSAND_ANCHOR, value) ||
        scheme.getString(Key::WS_BETWEEN_ASTERISK_ANCHOR, value)) {
        for (const char* key : typeToName)
            if (!scheme.getString(key, value) || value.empty())
                scheme.setString(key, ONE_SPACE);
    }

    setIntIfAbsent(scheme, Key::CONVERT_WS, 0);

    bool lineWrap = false;
    if (scheme.getBool(Key::GLOBAL_LINE_WRAP, lineWrap) && lineWrap &&
        !scheme.getString(Key::WS_BETWEEN_EXPR_OP_OPERANDS, value))
        scheme.setString(Key::WS_BETWEEN_EXPR_OP_OPERANDS, ONE_SPACE);

    setIntIfAbsent(scheme, Key::OPERATOR_WRAP_STYLE, 1);
}

bool operator==(const WrapSettings& a, const WrapSettings& b)
{
    return a.m_WrapStyle == b.m_WrapStyle && a.m_WrapIndent == b.m_WrapIndent &&
           a.m_CommaWrapStyle == b.m_CommaWrapStyle && a.m_OperatorWrapStyle == b.m_OperatorWrapStyle &&
           a.m_ShiftWrapStyle == b.m_ShiftWrapStyle && a.m_IndentWrapStyle == b.m_IndentWrapStyle &&
           a.m_ListWrapStrategy == b.m_ListWrapStrategy;
}

void readWrapSettings(const PropertySet& scheme, const std::string& style, const std::string& indent,
                      const std::string& comma, const std::string& operatorStyle, const std::string& shift,
                      const std::string& indentStyle, const std::string& strategy, WrapSettings& out)
{
    WrapSettings read;
    read.m_WrapStyle = requiredIntIn(scheme, style.c_str(), 1, 2);
    read.m_WrapIndent = requiredString(scheme, indent.c_str());
    read.m_CommaWrapStyle = requiredIntIn(scheme, comma.c_str(), 1, 2);
    read.m_OperatorWrapStyle = requiredIntIn(scheme, operatorStyle.c_str(), 1, 2);
    read.m_ShiftWrapStyle = requiredIntIn(scheme, shift.c_str(), 1, 2);
    read.m_IndentWrapStyle = requiredIntIn(scheme, indentStyle.c_str(), 1, 2);
    read.m_ListWrapStrategy = requiredIntIn(scheme, strategy.c_str(), 1, 2);
    out = read;
}

void readWrapSettings(const PropertySet& scheme, const WrapKeys& keys, WrapSettings& out)
{
    readWrapSettings(scheme, keys.m_Style, keys.m_Indent, keys.m_Comma, keys.m_Operator, keys.m_Shift,
                     keys.m_IndentStyle, keys.m_Strategy, out);
}

bool requiredBool(const PropertySet& scheme, const char* key)
{
    bool value = false;
    scheme.requireBool(key, value);
    return value;
}

std::int32_t requiredInt(const PropertySet& scheme, const char* key)
{
    std::int32_t value = 0;
    scheme.requireInt(key, value);
    return value;
}

std::string requiredString(const PropertySet& scheme, const char* key)
{
    std::string value;
    scheme.requireString(key, value);
    return value;
}

bool optionalBool(const PropertySet& scheme, const char* key, bool defaultValue)
{
    bool value = defaultValue;
    scheme.getBool(key, value);
    return value;
}

std::int32_t optionalInt(const PropertySet& scheme, const char* key, std::int32_t defaultValue)
{
    std::int32_t value = defaultValue;
    scheme.getInt(key, value);
    return value;
}

void checkRange(std::int32_t value, std::int32_t low, std::int32_t high)
{
    if (value < low || value > high)
        CORVALE_CHECK(false);
}

std::int32_t requiredIntIn(const PropertySet& scheme, const char* key, std::int32_t low, std::int32_t high)
{
    const std::int32_t value = requiredInt(scheme, key);
    checkRange(value, low, high);
    return value;
}

std::int32_t optionalIntIn(const PropertySet& scheme, const char* key, std::int32_t defaultValue,
                           std::int32_t low, std::int32_t high)
{
    const std::int32_t value = optionalInt(scheme, key, defaultValue);
    checkRange(value, low, high);
    return value;
}

std::int32_t readTabSize(const PropertySet& scheme)
{
    const std::int32_t tabSize = optionalInt(scheme, Key::TAB_SIZE, 1);
    return tabSize < 1 ? 1 : tabSize;
}

std::int32_t readClampedRightMargin(const PropertySet& scheme)
{
    const std::int32_t margin = optionalInt(scheme, Key::RIGHT_MARGIN, 0);
    return margin < 0 ? 0 : margin;
}

TabConversion readTabConversion(const PropertySet& scheme)
{
    return static_cast<TabConversion>(optionalIntIn(scheme, Key::CONVERT_WS, 0, 0, 2));
}

Anchor readAnchor(const PropertySet& scheme, const char* key)
{
    return static_cast<Anchor>(optionalIntIn(scheme, key, -1, -1, 1));
}

PpdPlacement readPpdPlacement(const PropertySet& scheme)
{
    PpdPlacement placement;
    placement.m_Present = scheme.getBool(Key::ALIGN_PPD_LEFT_MOST, placement.m_LeftMost);
    return placement;
}

std::int32_t whitespaceWidth(const std::string& text, std::int32_t tabSize)
{
    if (tabSize < 1)
        tabSize = 1;
    std::int64_t column = 0;
    for (char c : text) {
        if (c == '\n')
            column = 0;
        else if (c == '\t')
            column += tabSize - column % tabSize;
        else
            ++column;
    }
    // A margin wider than any line can be is as good as the widest.
    return column > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(column);
}

} // namespace Stylist
