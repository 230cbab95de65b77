// The settings and the operator set shared by the expression formatters.
#include "StylistCpp_ExprFormatterBase.h"

#include "Corvale_OIndentStream.h"
#include "Cpp.h"
#include "Stylist_FormatterConfig.h"

#include <bitset>

namespace StylistCpp {

namespace {

// The operator set, indexed by token type. Built by the first construction
// of a formatter of this family (a function-local static is built exactly
// once) and only read afterwards.
const int TYPE_COUNT = Cpp::IDENTIFIER + 1;

const std::bitset<TYPE_COUNT>& operatorSet()
{
    static const std::bitset<TYPE_COUNT> set = [] {
        std::bitset<TYPE_COUNT> s;
        for (std::int32_t t : {Cpp::COLON, Cpp::EQUALS, Cpp::STAR, Cpp::AMPERSAND, Cpp::SLASH, Cpp::PLUS,
                               Cpp::MINUS, Cpp::TILDE, Cpp::EXCLAMATION})
            s.set(static_cast<std::size_t>(t));
        for (std::int32_t t = Cpp::PERCENT; t <= Cpp::QUESTION; ++t)
            s.set(static_cast<std::size_t>(t));
        return s;
    }();
    return set;
}

} // namespace

ExprFormatterBase::ExprFormatterBase(const Stylist::PropertySet& scheme) : m_Scheme(scheme)
{
    operatorSet();
    Stylist::fillSchemeDefaults(m_Scheme);
    readExprFormatterBaseSettings(m_Scheme, m_Base);
}

ExprFormatterBase::~ExprFormatterBase() = default;

Corvale::OIndentState ExprFormatterBase::position(int col, const std::string& indent) const
{
    Corvale::OIndentState state;
    state.indent = indent;
    state.keepLeadingSpace = false;
    state.tabMode = static_cast<Corvale::TabMode>(static_cast<int>(m_Base.m_ConvertWs));
    state.tabSize = m_Base.m_TabSize;
    state.line = 1;
    state.col = col < 0 ? 0 : col;
    return state;
}

bool ExprFormatterBase::isOpType(std::int32_t type)
{
    return type >= 0 && type < TYPE_COUNT && operatorSet().test(static_cast<std::size_t>(type));
}

bool ExprFormatterBase::isUnaryOpType(std::int32_t type)
{
    switch (type) {
    case Cpp::STAR:
    case Cpp::AMPERSAND:
    case Cpp::PLUS:
    case Cpp::MINUS:
    case Cpp::EXCLAMATION:
    case Cpp::TILDE:
        return true;
    default:
        return false;
    }
}

bool ExprFormatterBase::isPtrType(std::int32_t type) { return type == Cpp::STAR || type == Cpp::AMPERSAND; }

bool ExprFormatterBase::isBuiltinType(std::int32_t type) { return Cpp::isBuiltinTypeType(type); }

bool ExprFormatterBase::isAssignOpType(std::int32_t type)
{
    return type == Cpp::EQUALS || (type >= Cpp::STAR_EQUALS && type <= Cpp::PIPE_EQUALS);
}

} // namespace StylistCpp
