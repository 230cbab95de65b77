// StylistCpp::ExprLineWrapper: breaks one piece of text that runs past the
// right margin, and the strategy interface that chooses where it may break.
//
// The line wrapper hands over an expression, a control statement head, a
// data declaration, an enumerator list, a member initialiser list or a
// function head, together with the output position where the text starts,
// the wrap settings of the construct's family and a strategy. The text is
// lexed; the strategy collects the break candidates (commas, operators,
// list openers, adjacent string literals) into seven buckets; the wrapper
// then applies them step by step, outermost nesting level first, until
// every line fits or nothing is left to try, and finally tries a few
// alternatives that undo single steps. Only whitespace changes: a break
// replaces the blanks between two tokens by a line end and the
// continuation indentation.
//
// Cost: per round one lexing, one collection and a fixed number of layout
// evaluations, each linear in the text; at most MAX_ROUNDS rounds per call.
#ifndef STYLISTCPP_EXPRLINEWRAPPER_H
#define STYLISTCPP_EXPRLINEWRAPPER_H

#include "Corvale_OIndentStream.h"
#include "StylistCpp_ExprFormatterBase.h"
#include "StylistCpp_FormatterConfig.h"
#include "Stylist_FormatterConfig.h"
#include "Stylist_PropertySet.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace StylistCpp {

// One token of the text being wrapped: its type and the byte offsets of
// its first character and one past its last.
struct WrapToken {
    std::int32_t m_Type;
    std::size_t m_Begin;
    std::size_t m_End;
};
using WrapTokens = std::vector<WrapToken>;
using WrapTokenIt = WrapTokens::const_iterator;

// The buckets a candidate is sorted into: the five operator levels, then
// the two further marks.
enum BreakBucket : int {
    SEPARATOR_BUCKET = 0,   // "," ";"
    LOGICAL_BUCKET = 1,     // "&&" "||" "?" ":"
    ARITHMETIC_BUCKET = 2,  // "*" "&" "/" "+" "-" "%" comparisons "|"
    SHIFT_BUCKET = 3,       // "<<" ">>"
    ASSIGNMENT_BUCKET = 4,  // "=" and the compound assignments
    OPENER_BUCKET = 5,      // after a list opener "(" or "{": the list moves to the next line
    STRING_BUCKET = 6,      // between two adjacent string literals
    BUCKET_COUNT = 7
};

// One place where a line may be broken.
struct BreakCandidate {
    std::size_t m_Token = 0;      // index of its token
    int m_Bucket = 0;             // BreakBucket
    int m_Depth = 0;              // nesting depth of the list it belongs to
    std::size_t m_Group = 0;      // candidates of one list share a group (its opener + 1, 0 at top level)
    long m_ExprStart = -1;        // first token of the enclosing expression, -1 when none
    long m_ListStart = -1;        // first element of the enclosing list, -1 when none
    int m_Style = 1;              // 1 break before the token, 2 after it
};

// What collectBreaks fills: the candidates, bucket by bucket, each bucket
// in text order, and the list start found by findListStart.
struct BreakCollection {
    std::array<std::vector<BreakCandidate>, BUCKET_COUNT> m_Buckets;
    long m_ListStart = -1;     // token index, -1 when the text has no list
    int m_ListStartColumn = 0; // its column in the text as given (first line)

    std::size_t size() const;
};

class ExprLineWrapper;

// Chooses where a text may be broken.
class ExprWrapStrategy {
public:
    virtual ~ExprWrapStrategy();

    // Fills out with the break candidates of the tokens [begin, end) of
    // text; the wrapper's settings give the break styles.
    virtual void collectBreaks(const std::string& text, WrapTokenIt begin, WrapTokenIt end,
                               const Corvale::OIndentState& position, const Stylist::WrapSettings& settings,
                               int shiftWrapStyle, BreakCollection& out) const = 0;

    // Whether the first break operator of [begin, end) is "<<" or ">>".
    // Contract: begin != end.
    virtual bool startsWithShift(WrapTokenIt begin, WrapTokenIt end) const = 0;
};

class ExprLineWrapper : public ExprFormatterBase {
public:
    // The most layouts one round evaluates: the unbroken text, the steps,
    // and the alternatives of the search. A wrap call runs at most
    // MAX_ROUNDS rounds, each over the previous round's text, until the
    // text stays as it is.
    static constexpr int MAX_STEPS = 16;
    static constexpr int MAX_ALTERNATIVES = 4;
    static constexpr int MAX_ROUNDS = 4;
    static constexpr int MAX_LAYOUTS = (1 + MAX_STEPS + MAX_ALTERNATIVES) * MAX_ROUNDS;

    // Reads RIGHT_MARGIN (0 when absent; negative is a contract violation
    // "m_RightMargin >= 0") and SHIFT_WRAP_STYLE (1 when absent, 1 or 2).
    explicit ExprLineWrapper(const Stylist::PropertySet& scheme);
    ~ExprLineWrapper() override;

    int rightMargin() const { return m_RightMargin; }
    int shiftWrapStyle() const { return m_ShiftWrapStyle; }

    // The text broken where the strategy allows and the settings say, laid
    // out from position (its column and the indentation of its line). The
    // result is meant to be written raw at that position: continuation
    // lines carry their whole leading whitespace. A text whose lines all
    // fit comes back unchanged.
    std::string wrap(const std::string& text, const Corvale::OIndentState& position,
                     const Stylist::WrapSettings& settings, const ExprWrapStrategy& strategy) const;

    // As wrap, but the line breaks the text holds already are laid out by
    // the wrap rules even when every line fits: the continuation lines of
    // a construct that an earlier run wrapped stand where wrapping puts
    // them, whatever the format pass did to them in between.
    std::string relayBreaks(const std::string& text, const Corvale::OIndentState& position,
                            const Stylist::WrapSettings& settings, const ExprWrapStrategy& strategy) const;

    // Whether some line of text, laid out from position, is wider than the
    // right margin (a line exactly as wide fits). Always false with a right
    // margin of 0.
    bool needsWrap(const std::string& text, const Corvale::OIndentState& position) const;

    // How many layouts the last wrap call evaluated (for tests of the
    // bounded search).
    int lastLayoutCount() const { return m_LastLayoutCount; }

private:
    class Run;

    std::int32_t m_RightMargin;
    std::int32_t m_ShiftWrapStyle;
    mutable int m_LastLayoutCount = 0;
};

// The tokens of text with their byte offsets; lexing stops where the lexer
// stops (an unterminated literal), so the rest of the text is one piece.
WrapTokens lexForWrapping(const std::string& text);

} // namespace StylistCpp

#endif
