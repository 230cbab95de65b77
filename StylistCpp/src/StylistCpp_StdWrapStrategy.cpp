// The standard wrap strategy and its two variants.
#include "StylistCpp_StdWrapStrategy.h"

#include "Corvale_Exception.h"
#include "Cpp.h"
#include "Stylist.h"
#include "StylistCpp_ExprFormatterBase.h"

#include <array>
#include <vector>

namespace StylistCpp {

namespace {

bool isCastKeyword(std::int32_t type)
{
    return type == Cpp::STATIC_CAST_KEY || type == Cpp::DYNAMIC_CAST_KEY || type == Cpp::CONST_CAST_KEY ||
           type == Cpp::REINTERPRET_CAST_KEY;
}

const int TYPE_COUNT = Cpp::IDENTIFIER + 1;

// The operator level table, indexed by token type (-1: no level). Built by
// the first construction of a strategy and only read afterwards.
const std::array<signed char, TYPE_COUNT>& levelTable()
{
    static const std::array<signed char, TYPE_COUNT> table = [] {
        std::array<signed char, TYPE_COUNT> t;
        t.fill(-1);
        for (std::int32_t type : {Cpp::COMMA, Cpp::SEMICOLON})
            t[type] = 0;
        for (std::int32_t type : {Cpp::AND_AND, Cpp::OR_OR, Cpp::QUESTION, Cpp::COLON})
            t[type] = 1;
        for (std::int32_t type : {Cpp::STAR, Cpp::AMPERSAND, Cpp::SLASH, Cpp::PLUS, Cpp::MINUS, Cpp::PERCENT,
                                  Cpp::LESS, Cpp::GREATER, Cpp::LESS_EQUALS, Cpp::GREATER_EQUALS,
                                  Cpp::EQUALS_EQUALS, Cpp::NOT_EQUALS, Cpp::PIPE})
            t[type] = 2;
        for (std::int32_t type : {Cpp::SHIFT_LEFT, Cpp::SHIFT_RIGHT})
            t[type] = 3;
        t[Cpp::EQUALS] = 4;
        for (std::int32_t type = Cpp::STAR_EQUALS; type <= Cpp::PIPE_EQUALS; ++type)
            t[type] = 4;
        return t;
    }();
    return table;
}

bool isTrivia(std::int32_t type)
{
    return type == Cpp::SL_COMMENT || type == Cpp::ML_COMMENT || type == Cpp::ML_COMMENT_UNPARSED ||
           type == Cpp::PREPROCESSOR;
}

bool isOpening(std::int32_t type)
{
    return type == Cpp::LPAREN || type == Cpp::LBRACE || type == Cpp::LBRACKET;
}

bool isClosing(std::int32_t type)
{
    return type == Cpp::RPAREN || type == Cpp::RBRACE || type == Cpp::RBRACKET;
}

// Whether a token of this type ends an operand, so that a "*", "&", "+" or
// "-" after it is a binary operator.
bool endsOperand(std::int32_t type)
{
    switch (type) {
    case Cpp::IDENTIFIER:
    case Cpp::CHAR_LITERAL:
    case Cpp::NUMBER_LITERAL:
    case Cpp::STRING_LITERAL:
    case Cpp::RPAREN:
    case Cpp::RBRACKET:
    case Cpp::THIS_KEY:
    case Cpp::TRUE_KEY:
    case Cpp::FALSE_KEY:
    case Cpp::PLUS_PLUS:
    case Cpp::MINUS_MINUS:
        return true;
    default:
        return false;
    }
}

// The next token of [it, end) that is no comment or directive.
WrapTokenIt nextSignificant(WrapTokenIt it, WrapTokenIt end)
{
    while (it != end && isTrivia(it->m_Type))
        ++it;
    return it;
}

// The column at which the character at offset starts, when text starts at
// position.
int columnOf(const std::string& text, std::size_t offset, const Corvale::OIndentState& position)
{
    const std::size_t nl = offset == 0 ? std::string::npos : text.rfind('\n', offset - 1);
    const int tab = position.tabSize > 0 ? position.tabSize : 1;
    if (nl == std::string::npos)
        return position.col + Stylist::textWidth(text.substr(0, offset), position.col, tab);
    return Stylist::textWidth(text.substr(nl + 1, offset - nl - 1), 0, tab);
}

// One open list while collecting.
struct Frame {
    long m_Opener;       // token index of its opener, -1 at top level
    long m_ListStart;    // first element, -1 when none
    long m_ElemStart;    // first token of the current element, -1 until one is seen
    long m_FirstBreakOp; // first break operator of the current element, -1 while none
    bool m_ShiftChain;   // the current element starts with a shift chain
};

} // namespace

std::size_t BreakCollection::size() const
{
    std::size_t n = 0;
    for (const auto& bucket : m_Buckets)
        n += bucket.size();
    return n;
}

ExprWrapStrategy::~ExprWrapStrategy() = default;

StdWrapStrategy::StdWrapStrategy(bool head, bool trailing) : m_Head(head), m_Trailing(trailing)
{
    levelTable();
}

StdWrapStrategy::~StdWrapStrategy() = default;

int StdWrapStrategy::level(std::int32_t type)
{
    return type >= 0 && type < TYPE_COUNT ? levelTable()[static_cast<std::size_t>(type)] : -1;
}

bool StdWrapStrategy::isBreakOperator(std::int32_t type)
{
    return level(type) >= 1;
}

bool StdWrapStrategy::isListOpener(std::int32_t type)
{
    return type == Cpp::LPAREN || type == Cpp::LBRACE;
}

bool StdWrapStrategy::startsWithShift(WrapTokenIt begin, WrapTokenIt end) const
{
    CORVALE_CHECK_TEXT(begin != end, "begin != end");
    for (WrapTokenIt it = begin; it != end; ++it) {
        if (isBreakOperator(it->m_Type))
            return level(it->m_Type) == 3;
    }
    return false;
}

WrapTokenIt StdWrapStrategy::recordListStart(const std::string& text, WrapTokenIt begin, WrapTokenIt end,
                                             WrapTokenIt it, const Corvale::OIndentState& position,
                                             BreakCollection& out)
{
    it = nextSignificant(it, end);
    if (it == end || isClosing(it->m_Type)) {
        out.m_ListStart = -1;
        out.m_ListStartColumn = 0;
        return end;
    }
    out.m_ListStart = static_cast<long>(it - begin);
    out.m_ListStartColumn = columnOf(text, it->m_Begin, position);
    return it;
}

WrapTokenIt StdWrapStrategy::findListStart(const std::string& text, WrapTokenIt begin, WrapTokenIt end,
                                           const Corvale::OIndentState& position, BreakCollection& out) const
{
    int depth = 0;
    for (WrapTokenIt it = begin; it != end; ++it) {
        if (depth == 0 && isListOpener(it->m_Type))
            return recordListStart(text, begin, end, it + 1, position, out);
        if (isOpening(it->m_Type))
            ++depth;
        else if (isClosing(it->m_Type) && depth > 0)
            --depth;
    }
    return recordListStart(text, begin, end, end, position, out);
}

void StdWrapStrategy::collectBreaks(const std::string& text, WrapTokenIt begin, WrapTokenIt end,
                                    const Corvale::OIndentState& position, const Stylist::WrapSettings& settings,
                                    int shiftWrapStyle, BreakCollection& out) const
{
    for (auto& bucket : out.m_Buckets)
        bucket.clear();
    const WrapTokenIt listStart = findListStart(text, begin, end, position, out);
    // With the head flag, the tokens before the list start are never
    // broken, and a text without a list is not broken at all.
    if (m_Head && listStart == end)
        return;
    // The opener right before the list start (the "(" of a parameter
    // list) may still break: its list then starts on the next line.
    std::size_t firstBreakable = m_Head ? static_cast<std::size_t>(listStart - begin) : 0;
    if (m_Head && firstBreakable > 0 && isListOpener(begin[static_cast<std::ptrdiff_t>(firstBreakable) - 1].m_Type))
        --firstBreakable;
    const std::size_t count = static_cast<std::size_t>(end - begin);
    // Function heads keep each parameter whole: only separators and list
    // openers are candidates inside them.
    const bool operatorsBreak = breaksAtOperators();

    long topListStart = -1;
    if (m_Trailing)
        topListStart = count > 0 ? static_cast<long>(nextSignificant(begin, end) - begin) : -1;
    else if (m_Head)
        topListStart = out.m_ListStart;
    std::vector<Frame> frames;
    frames.push_back(Frame{-1, topListStart, -1, -1, false});

    std::int32_t prevType = -1; // the last significant token's type
    for (std::size_t i = 0; i < count; ++i) {
        const WrapToken& t = begin[static_cast<std::ptrdiff_t>(i)];
        if (isTrivia(t.m_Type))
            continue;
        Frame& frame = frames.back();
        if (frame.m_ElemStart < 0)
            frame.m_ElemStart = static_cast<long>(i);
        const int depth = static_cast<int>(frames.size()) - 1;
        const bool breakable = i >= firstBreakable;

        if (isOpening(t.m_Type)) {
            const WrapTokenIt next = nextSignificant(begin + static_cast<std::ptrdiff_t>(i) + 1, end);
            const long inner = next == end ? -1 : static_cast<long>(next - begin);
            if (isListOpener(t.m_Type) && breakable && next != end && !isClosing(next->m_Type)) {
                BreakCandidate c;
                c.m_Token = i;
                c.m_Bucket = OPENER_BUCKET;
                c.m_Depth = depth + 1;
                c.m_Group = i + 1;
                c.m_ExprStart = frame.m_ElemStart;
                // The opener of a head's list records that list's start:
                // its list may move to the next line even when the head
                // alone is too long.
                c.m_ListStart = m_Head && inner == out.m_ListStart ? inner : -1;
                c.m_Style = 2;
                out.m_Buckets[OPENER_BUCKET].push_back(c);
            }
            frames.push_back(Frame{static_cast<long>(i), inner, -1, -1, false});
            prevType = t.m_Type;
            continue;
        }
        if (isClosing(t.m_Type)) {
            if (frames.size() > 1)
                frames.pop_back();
            prevType = t.m_Type;
            continue;
        }

        if (t.m_Type == Cpp::STRING_LITERAL) {
            const WrapTokenIt next = nextSignificant(begin + static_cast<std::ptrdiff_t>(i) + 1, end);
            if (next != end && next->m_Type == Cpp::STRING_LITERAL &&
                static_cast<std::size_t>(next - begin) >= firstBreakable) {
                BreakCandidate c;
                c.m_Token = static_cast<std::size_t>(next - begin);
                c.m_Bucket = STRING_BUCKET;
                c.m_Depth = depth;
                c.m_Group = static_cast<std::size_t>(frame.m_Opener + 1);
                c.m_ExprStart = frame.m_ElemStart;
                c.m_ListStart = frame.m_ListStart;
                c.m_Style = 1;
                out.m_Buckets[STRING_BUCKET].push_back(c);
            }
            prevType = t.m_Type;
            continue;
        }

        if (t.m_Type == Cpp::LESS && isCastKeyword(prevType)) {
            // The "<" and ">" around a cast's type are brackets, not
            // comparisons: nothing inside them is a place to break.
            int open = 0;
            for (; i < count; ++i) {
                const std::int32_t a = begin[static_cast<std::ptrdiff_t>(i)].m_Type;
                open += a == Cpp::LESS ? 1 : a == Cpp::GREATER ? -1 : a == Cpp::SHIFT_RIGHT ? -2 : 0;
                if (open <= 0)
                    break;
            }
            prevType = Cpp::GREATER;
            continue;
        }
        const int lvl = level(t.m_Type);
        if (lvl < 0) {
            prevType = t.m_Type;
            continue;
        }
        // A "*", "&", "+" or "-" that does not follow an operand is a prefix
        // operator or a declarator, not a place to break.
        const bool binary = lvl != 2 || !ExprFormatterBase::isUnaryOpType(t.m_Type) || endsOperand(prevType);
        if (lvl >= 1 && binary && frame.m_FirstBreakOp < 0) {
            frame.m_FirstBreakOp = static_cast<long>(i);
            frame.m_ShiftChain = frame.m_ElemStart >= 0 &&
                                 startsWithShift(begin + frame.m_ElemStart, begin + static_cast<std::ptrdiff_t>(i) + 1);
        }
        if (binary && breakable && i > 0 && i + 1 < count && (lvl == 0 || operatorsBreak)) {
            BreakCandidate c;
            c.m_Token = i;
            c.m_Bucket = lvl;
            c.m_Depth = depth;
            c.m_Group = static_cast<std::size_t>(frame.m_Opener + 1);
            c.m_ListStart = frame.m_ListStart;
            if (lvl == 0) {
                c.m_ExprStart = frame.m_ListStart;
                c.m_Style = settings.m_CommaWrapStyle;
            } else if (lvl == 3) {
                c.m_ExprStart = frame.m_ElemStart;
                c.m_Style = shiftWrapStyle;
                // A shift chain continues under its first "<<" (or under
                // the first operand after it when breaking after the
                // operators).
                if (frame.m_ShiftChain && frame.m_FirstBreakOp >= 0 && frame.m_FirstBreakOp != static_cast<long>(i)) {
                    const long first = frame.m_FirstBreakOp;
                    if (c.m_Style == 1) {
                        c.m_ListStart = first;
                    } else {
                        const WrapTokenIt after = nextSignificant(begin + first + 1, end);
                        c.m_ListStart = after == end ? first : static_cast<long>(after - begin);
                    }
                    c.m_ExprStart = c.m_ListStart;
                }
            } else {
                c.m_ExprStart = frame.m_ElemStart;
                c.m_Style = settings.m_OperatorWrapStyle;
            }
            out.m_Buckets[static_cast<std::size_t>(lvl)].push_back(c);
        }
        if (lvl == 0) {
            frame.m_ElemStart = -1;
            frame.m_FirstBreakOp = -1;
            frame.m_ShiftChain = false;
        }
        prevType = t.m_Type;
    }
}

// ---- member initialiser lists -------------------------------------------------

ClassInitWrapStrategy::ClassInitWrapStrategy() : StdWrapStrategy(true, false) {}

WrapTokenIt ClassInitWrapStrategy::findListStart(const std::string& text, WrapTokenIt begin, WrapTokenIt end,
                                                 const Corvale::OIndentState& position, BreakCollection& out) const
{
    for (WrapTokenIt it = begin; it != end; ++it) {
        if (it->m_Type == Cpp::COLON)
            return recordListStart(text, begin, end, it + 1, position, out);
    }
    return recordListStart(text, begin, end, end, position, out);
}

const ClassInitWrapStrategy& ClassInitWrapStrategy::shared()
{
    static const ClassInitWrapStrategy instance;
    return instance;
}

// ---- function heads --------------------------------------------------------------

FnDeclWrapStrategy::FnDeclWrapStrategy() : StdWrapStrategy(true, false) {}

WrapTokenIt FnDeclWrapStrategy::findListStart(const std::string& text, WrapTokenIt begin, WrapTokenIt end,
                                              const Corvale::OIndentState& position, BreakCollection& out) const
{
    int depth = 0;
    WrapTokenIt firstParen = end;
    std::int32_t prevType = -1;
    for (WrapTokenIt it = begin; it != end; ++it) {
        if (isTrivia(it->m_Type))
            continue;
        if (depth == 0 && it->m_Type == Cpp::LPAREN) {
            if (prevType == Cpp::IDENTIFIER)
                return recordListStart(text, begin, end, it + 1, position, out);
            if (firstParen == end)
                firstParen = it;
        }
        if (isOpening(it->m_Type))
            ++depth;
        else if (isClosing(it->m_Type) && depth > 0)
            --depth;
        prevType = it->m_Type;
    }
    // A name the lexer does not give as an identifier (an operator
    // function): the first top-level parenthesis opens the parameters.
    return recordListStart(text, begin, end, firstParen == end ? end : firstParen + 1, position, out);
}

} // namespace StylistCpp
