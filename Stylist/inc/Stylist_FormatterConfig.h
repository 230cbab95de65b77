// Reading scheme keys into settings: the rules every reader shares.
//
// An emitter reads the keys it needs once, in its constructor, into plain
// fields of a settings record; nothing reads a key while a tree is walked.
// The formatter, the line wrapper and the expression formatters first
// complete their copy of the scheme with fillSchemeDefaults.
//
// Reading rules:
// - a required read of an absent key raises PropertyMissingException
//   naming the key (every whitespace and indentation string is required);
// - an optional read of an absent key keeps the reader's default;
// - an enumerated integer outside its legal values is a contract violation
//   with the expression "false";
// - TAB_SIZE below 1 is taken as 1; RIGHT_MARGIN below 0 as 0.
#ifndef STYLIST_FORMATTERCONFIG_H
#define STYLIST_FORMATTERCONFIG_H

#include "Stylist_PropertySet.h"
#include "Stylist_SchemeKeys.h"

#include <cstdint>
#include <string>

namespace Stylist {

// Completes a scheme before any reader looks at it, in this order:
// 1. ASTERISK_ANCHOR and AMPERSAND_ANCHOR absent: -1 (as written);
// 2. TAB_SIZE absent: 1;
// 3. WS_AFTER_PARAM_TYPE_ID absent: one space;
// 4. WS_AFTER_DD_TYPE_ID, WS_AFTER_FN_DECL_RETURN_TYPE,
//    WS_AFTER_FN_DEFN_RETURN_TYPE present but empty: one space;
// 5. when WS_BETWEEN_AMPERSAND_ANCHOR or WS_BETWEEN_ASTERISK_ANCHOR is
//    present: those three absent or empty: one space;
// 6. CONVERT_WS absent: 0;
// 7. GLOBAL_LINE_WRAP true and WS_BETWEEN_EXPR_OP_OPERANDS absent: one space;
// 8. OPERATOR_WRAP_STYLE absent: 1.
// So a type is never glued to the name that follows it.
void fillSchemeDefaults(PropertySet& scheme);

// The wrap settings of one construct family. Styles and the strategy are
// 1 or 2 (their effect is the line wrapper's business).
struct WrapSettings {
    std::int32_t m_WrapStyle = 1;         // 1 align with the list start, 2 indent by m_WrapIndent
    std::string m_WrapIndent;             // whitespace string
    std::int32_t m_CommaWrapStyle = 1;    // 1 break before a comma, 2 after it
    std::int32_t m_OperatorWrapStyle = 1; // 1 break before an operator, 2 after it
    std::int32_t m_ShiftWrapStyle = 1;    // the same for << and >>
    std::int32_t m_IndentWrapStyle = 1;   // base column of m_WrapIndent: 1 the indentation, 2 the expression
    std::int32_t m_ListWrapStrategy = 1;  // 1 break candidates in order, 2 sorted
};

bool operator==(const WrapSettings& a, const WrapSettings& b);
inline bool operator!=(const WrapSettings& a, const WrapSettings& b) { return !(a == b); }

// Fills a wrap settings record with required reads of the seven keys; each
// integer must be 1 or 2.
void readWrapSettings(const PropertySet& scheme, const std::string& style, const std::string& indent,
                      const std::string& comma, const std::string& operatorStyle, const std::string& shift,
                      const std::string& indentStyle, const std::string& strategy, WrapSettings& out);
void readWrapSettings(const PropertySet& scheme, const WrapKeys& keys, WrapSettings& out);

// Required reads.
bool requiredBool(const PropertySet& scheme, const char* key);
std::int32_t requiredInt(const PropertySet& scheme, const char* key);
std::string requiredString(const PropertySet& scheme, const char* key);

// Optional reads: the value, or the default when the key is absent.
bool optionalBool(const PropertySet& scheme, const char* key, bool defaultValue);
std::int32_t optionalInt(const PropertySet& scheme, const char* key, std::int32_t defaultValue);

// Enumerated integers: the value must lie in low..high.
std::int32_t requiredIntIn(const PropertySet& scheme, const char* key, std::int32_t low, std::int32_t high);
std::int32_t optionalIntIn(const PropertySet& scheme, const char* key, std::int32_t defaultValue,
                           std::int32_t low, std::int32_t high);

// Raises a contract violation "false" unless low <= value <= high.
void checkRange(std::int32_t value, std::int32_t low, std::int32_t high);

// TAB_SIZE, 1 when absent, values below 1 taken as 1.
std::int32_t readTabSize(const PropertySet& scheme);
// RIGHT_MARGIN, 0 when absent, negative values taken as 0.
std::int32_t readClampedRightMargin(const PropertySet& scheme);

// CONVERT_WS: what the output stream does with tabs outside quotes.
enum class TabConversion { KEEP = 0, EXPAND = 1, COMPRESS = 2 };
// Optional, KEEP when absent; other values than 0..2 are a violation.
TabConversion readTabConversion(const PropertySet& scheme);

// The placement of a declarator "*" or "&" (ASTERISK_ANCHOR,
// AMPERSAND_ANCHOR).
enum class Anchor { AS_WRITTEN = -1, TO_TYPE = 0, TO_NAME = 1 };
// Optional, AS_WRITTEN when absent; other values than -1..1 are a violation.
Anchor readAnchor(const PropertySet& scheme, const char* key);

// ALIGN_PPD_LEFT_MOST, whose absence is a state of its own: directives are
// then copied as written.
struct PpdPlacement {
    bool m_Present = false;
    bool m_LeftMost = false; // false when absent
};
PpdPlacement readPpdPlacement(const PropertySet& scheme);

// The column reached after writing a whitespace string from column 0: a
// tab advances to the next multiple of tabSize, a newline returns to 0,
// every other character is one column.
std::int32_t whitespaceWidth(const std::string& text, std::int32_t tabSize);

} // namespace Stylist

#endif
