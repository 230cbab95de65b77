// StylistCpp::StdWrapStrategy and its two variants: where a text may be
// broken.
//
// The standard strategy ranks the tokens at which an expression may be
// broken by a process-wide level table:
//   0  ","  ";"                       (separators)
//   1  "&&" "||" "?" ":"
//   2  "*" "&" "/" "+" "-" "%" "<" ">" "<=" ">=" "==" "!=" "|"
//   3  "<<" ">>"
//   4  "=" and the compound assignments
// "^" is in no level: a text is never broken at it. A "*", "&", "+" or "-"
// in prefix position (a unary operator or a declarator) is no candidate
// either. Beside the levels it offers a break after each list opener ("("
// or "{" with something inside) and between two adjacent string literals.
//
// Two flags fixed at construction change where the list of a text begins:
// with the head flag, the tokens before the list start are a head that is
// never broken (member initialiser lists, function heads); with the
// trailing flag, the text is a list in its entirety (base clauses), so its
// top-level separators align under its first element.
#ifndef STYLISTCPP_STDWRAPSTRATEGY_H
#define STYLISTCPP_STDWRAPSTRATEGY_H

#include "StylistCpp_ExprLineWrapper.h"

#include <cstdint>

namespace StylistCpp {

class StdWrapStrategy : public ExprWrapStrategy {
public:
    explicit StdWrapStrategy(bool head = false, bool trailing = false);
    ~StdWrapStrategy() override;

    bool headFlag() const { return m_Head; }
    bool trailingFlag() const { return m_Trailing; }

    void collectBreaks(const std::string& text, WrapTokenIt begin, WrapTokenIt end,
                       const Corvale::OIndentState& position, const Stylist::WrapSettings& settings,
                       int shiftWrapStyle, BreakCollection& out) const override;
    bool startsWithShift(WrapTokenIt begin, WrapTokenIt end) const override;

    // The token at which the list elements of the text begin, or end when
    // the text has none: here the first token inside the first top-level
    // "(" or "{". Records that token and its column (from position, on the
    // text's first line) in out.
    virtual WrapTokenIt findListStart(const std::string& text, WrapTokenIt begin, WrapTokenIt end,
                                      const Corvale::OIndentState& position, BreakCollection& out) const;

    // The level of a token type (0 to 4), or -1 when a text is never broken
    // at it.
    static int level(std::int32_t type);
    // Levels 1 to 4.
    static bool isBreakOperator(std::int32_t type);
    // "(" and "{".
    static bool isListOpener(std::int32_t type);

protected:
    // Whether operators inside the list elements are candidates too.
    virtual bool breaksAtOperators() const { return true; }

    // Records the list start at it (or none at end).
    static WrapTokenIt recordListStart(const std::string& text, WrapTokenIt begin, WrapTokenIt end, WrapTokenIt it,
                                       const Corvale::OIndentState& position, BreakCollection& out);

private:
    bool m_Head;
    bool m_Trailing;
};

// Member initialiser lists: the list begins after the first ":"; the
// constructor's head before it is never broken.
class ClassInitWrapStrategy : public StdWrapStrategy {
public:
    ClassInitWrapStrategy();
    WrapTokenIt findListStart(const std::string& text, WrapTokenIt begin, WrapTokenIt end,
                              const Corvale::OIndentState& position, BreakCollection& out) const override;

    // The one instance all line wrappers of the process share.
    static const ClassInitWrapStrategy& shared();
};

// Function heads: the list begins after the "(" that follows the function
// name; return type and name are never broken.
class FnDeclWrapStrategy : public StdWrapStrategy {
public:
    FnDeclWrapStrategy();
    WrapTokenIt findListStart(const std::string& text, WrapTokenIt begin, WrapTokenIt end,
                              const Corvale::OIndentState& position, BreakCollection& out) const override;

protected:
    // A parameter is never split: only separators and list openers break.
    bool breaksAtOperators() const override { return false; }
};

} // namespace StylistCpp

#endif
