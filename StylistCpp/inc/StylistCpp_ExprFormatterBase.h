// StylistCpp::ExprFormatterBase: what the expression formatter and the
// expression line wrapper share: the scheme copy, the settings both read
// (tab size, left margin, whitespace conversion, preprocessor placement)
// and the process-wide operator set with the token predicates built on it.
#ifndef STYLISTCPP_EXPRFORMATTERBASE_H
#define STYLISTCPP_EXPRFORMATTERBASE_H

#include "Corvale_OIndentStream.h"
#include "StylistCpp_FormatterConfig.h"
#include "Stylist_PropertySet.h"

#include <cstdint>
#include <string>

namespace StylistCpp {

class ExprFormatterBase {
public:
    // Copies the scheme, completes the copy with the defaulting step and
    // reads the shared keys. LEFT_MARGIN is required
    // (Stylist::PropertyMissingException when absent).
    explicit ExprFormatterBase(const Stylist::PropertySet& scheme);
    virtual ~ExprFormatterBase();

    // The completed copy of the scheme.
    const Stylist::PropertySet& scheme() const { return m_Scheme; }
    std::int32_t tabSize() const { return m_Base.m_TabSize; }
    const std::string& leftMargin() const { return m_Base.m_LeftMargin; }
    Stylist::TabConversion convertWs() const { return m_Base.m_ConvertWs; }
    // ALIGN_PPD_LEFT_MOST: whether the scheme has it, and its value (false
    // when absent).
    bool hasAlignPpdLeftMost() const { return m_Base.m_AlignPpdLeftMost.m_Present; }
    bool alignPpdLeftMost() const { return m_Base.m_AlignPpdLeftMost.m_LeftMost; }

    // An output position at column col of a line whose indentation is
    // indent, with this scheme's tab size and whitespace conversion: what
    // formatExpression and its relatives take to know where their text will
    // start.
    Corvale::OIndentState position(int col, const std::string& indent = std::string()) const;

    // Token type predicates (types of Cpp.h).
    //
    // A member of the operator set: ':', '=', '*', '&', '/', '+', '-', '~',
    // '!', and every type from '%' to '?' (the comparisons, shifts, '^',
    // '|', the compound assignments, '&&', '||'). Not '.', '->', '++',
    // '--', '.*', '->*', ',' or brackets.
    static bool isOpType(std::int32_t type);
    // '*', '&', '+', '-', '!', '~': the operators that may stand before an
    // operand.
    static bool isUnaryOpType(std::int32_t type);
    // '*', '&'.
    static bool isPtrType(std::int32_t type);
    // char, wchar_t, bool, short, int, long, float, double, void.
    static bool isBuiltinType(std::int32_t type);
    // '=' and the ten compound assignments.
    static bool isAssignOpType(std::int32_t type);

protected:
    const ExprFormatterBaseSettings& baseSettings() const { return m_Base; }

private:
    Stylist::PropertySet m_Scheme;
    ExprFormatterBaseSettings m_Base;
};

} // namespace StylistCpp

#endif
