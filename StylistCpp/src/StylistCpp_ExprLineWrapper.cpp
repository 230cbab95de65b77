// The expression line wrapper: steps over the break candidates, outermost
// first, and a bounded search for a better layout.
#include "StylistCpp_ExprLineWrapper.h"

#include "Corvale_Exception.h"
#include "Cpp.h"
#include "Cpp_LexerIterator.h"
#include "Stylist.h"

#include <algorithm>
#include <utility>

namespace StylistCpp {

WrapTokens lexForWrapping(const std::string& text)
{
    WrapTokens tokens;
    // Offsets of the line starts, to turn token locations into offsets.
    std::vector<std::size_t> lineStarts(1, 0);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n')
            lineStarts.push_back(i + 1);
    }
    auto offsetOf = [&](const Trn::Location& l) -> std::size_t {
        const std::size_t line = static_cast<std::size_t>(l.line() > 0 ? l.line() : 1) - 1;
        const std::size_t base = line < lineStarts.size() ? lineStarts[line] : text.size();
        const long off = static_cast<long>(base) + l.col() - 1;
        return off < 0 ? 0 : std::min(static_cast<std::size_t>(off), text.size());
    };
    Cpp::LexerIterator it(text.begin(), text.end()), end;
    for (; it != end && !it.stuck(); ++it) {
        const Trn::Token& t = *it;
        const std::size_t b = offsetOf(t.start());
        std::size_t e = std::min(offsetOf(t.end()) + 1, text.size());
        if (e < b)
            e = b;
        if (!tokens.empty() && b < tokens.back().m_End)
            break; // never expected; keeps the offsets ordered
        tokens.push_back(WrapToken{t.type(), b, e});
    }
    if (it.stuck() && !tokens.empty()) {
        // The rest of the text is one piece that is never broken.
        tokens.push_back(WrapToken{Trn::END_OF_FILE, tokens.back().m_End, text.size()});
    }
    return tokens;
}

namespace {

enum BreakMode : unsigned char { OFF = 0, ALWAYS = 1, FILL = 2 };

// A place where a break replaces the blanks [m_GapBegin, m_GapEnd).
struct BreakPoint {
    std::size_t m_GapBegin;
    std::size_t m_GapEnd;
    std::size_t m_Candidate;
    bool m_Existing; // the gap already holds a line break
};

// One way of laying the text out.
struct Layout {
    std::string m_Text;
    std::vector<int> m_Widths; // end column of every line
    int m_Overlong = 0;
    long m_Excess = 0; // columns past the margin, summed over the lines
    bool m_EmptyLine = false;
    std::vector<int> m_CandidateLine; // line of each candidate's token
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// The width of c at column col, as Stylist::charWidth measures it, for the
// loops that measure a text character by character: the tab size here is
// at least 1, so only a negative column needs the checked measure.
inline int widthAt(char c, int col, int tabSize)
{
    if (col < 0)
        return Stylist::charWidth(c, col, tabSize);
    if (c == '\t')
        return tabSize - col % tabSize;
    return c == '\n' ? 0 : 1;
}

// Whether a is better than b under the margin.
bool better(const Layout& a, const Layout& b)
{
    if (a.m_EmptyLine)
        return false;
    if (a.m_Overlong != b.m_Overlong)
        return a.m_Overlong < b.m_Overlong;
    if (a.m_Overlong == 0) {
        if (a.m_Widths.size() != b.m_Widths.size())
            return a.m_Widths.size() < b.m_Widths.size();
        bool narrower = false;
        for (std::size_t i = 0; i < a.m_Widths.size(); ++i) {
            if (a.m_Widths[i] > b.m_Widths[i])
                return false;
            narrower = narrower || a.m_Widths[i] < b.m_Widths[i];
        }
        return narrower;
    }
    if (a.m_Excess != b.m_Excess)
        return a.m_Excess < b.m_Excess;
    return a.m_Widths.size() < b.m_Widths.size();
}

} // namespace

class ExprLineWrapper::Run {
public:
    Run(const ExprLineWrapper& wrapper, const std::string& text, const Corvale::OIndentState& position,
        const Stylist::WrapSettings& settings)
        : m_Text(text), m_Position(position), m_Settings(settings),
          m_Tab(position.tabSize > 0 ? position.tabSize : 1), m_Margin(wrapper.m_RightMargin),
          m_Stream(position)
    {
        m_IndentWidth = Stylist::textWidth(position.indent, 0, m_Tab);
    }

    // relay: lay out the breaks already in the text even when every line
    // fits.
    std::string run(const ExprWrapStrategy& strategy, int& layouts, bool relay = false);

private:
    void prepare(const ExprWrapStrategy& strategy);
    Layout evaluate(const std::vector<unsigned char>& modes);
    int continuation(const BreakCandidate& c, int pieceWidth) const;
    int columnOfToken(long token) const;
    void copy(std::size_t from, std::size_t to, Layout& layout);
    void endLine(Layout& layout);

    const std::string& m_Text;
    const Corvale::OIndentState& m_Position;
    const Stylist::WrapSettings& m_Settings;
    const int m_Tab;
    const int m_Margin;
    Corvale::OIndentStream m_Stream; // for whitespaceOfWidth only
    int m_IndentWidth = 0;

    WrapTokens m_Tokens;
    std::vector<BreakCandidate> m_Candidates; // bucket by bucket, text order within
    std::vector<BreakPoint> m_Points;         // by gap position
    // Width of the text after each break point up to the next one (or the
    // end of its line).
    std::vector<int> m_PieceWidths;

    // State of one evaluation.
    int m_Col = 0;
    int m_Line = 0;
    int m_LineIndent = 0; // column of the current line's first non-blank, -1 while none
    std::vector<int> m_LineIndents; // the same for the lines already ended

    bool m_LineHasText = false;
    std::size_t m_NextToken = 0;
    std::vector<int> m_TokenCol;
    std::vector<int> m_TokenLine;
};

void ExprLineWrapper::Run::prepare(const ExprWrapStrategy& strategy)
{
    m_Tokens = lexForWrapping(m_Text);
    BreakCollection collection;
    if (!m_Tokens.empty())
        strategy.collectBreaks(m_Text, m_Tokens.begin(), m_Tokens.end(), m_Position, m_Settings,
                               m_Settings.m_ShiftWrapStyle, collection);
    for (const auto& bucket : collection.m_Buckets)
        m_Candidates.insert(m_Candidates.end(), bucket.begin(), bucket.end());

    // The gap each candidate breaks. A gap that already holds a line end,
    // or follows a token that ends its line, is not broken again; the first
    // candidate of a gap wins.
    for (std::size_t i = 0; i < m_Candidates.size(); ++i) {
        const BreakCandidate& c = m_Candidates[i];
        std::size_t left, right;
        if (c.m_Style == 2 || c.m_Bucket == OPENER_BUCKET) {
            if (c.m_Token + 1 >= m_Tokens.size())
                continue;
            left = c.m_Token;
            right = c.m_Token + 1;
        } else {
            if (c.m_Token == 0)
                continue;
            left = c.m_Token - 1;
            right = c.m_Token;
        }
        const std::size_t gapBegin = m_Tokens[left].m_End;
        const std::size_t gapEnd = m_Tokens[right].m_Begin;
        if (gapBegin > gapEnd || (gapBegin > 0 && m_Text[gapBegin - 1] == '\n'))
            continue;
        // A directive keeps the line and the place the format pass gave it:
        // its continuation lines are laid out from where it starts, so
        // moving it would move them on the next run.
        if (m_Tokens[left].m_Type == Cpp::PREPROCESSOR || m_Tokens[right].m_Type == Cpp::PREPROCESSOR)
            continue;
        // A gap of blanks may break; so may a gap that holds one line break
        // already (an earlier wrap's, re-indented here by the same rules).
        // A blank line in the gap is left alone.
        bool blank = true;
        int lineEnds = 0;
        for (std::size_t p = gapBegin; p < gapEnd && blank; ++p) {
            lineEnds += m_Text[p] == '\n' ? 1 : 0;
            blank = isBlank(m_Text[p]) || m_Text[p] == '\n';
        }
        // A line comment stays at the end of the line it ends: a new break
        // before it would move it to a line of its own, and the format pass
        // would not move it back.
        if (lineEnds == 0 && m_Tokens[right].m_Type == Cpp::SL_COMMENT)
            continue;
        if (blank && lineEnds <= 1)
            m_Points.push_back(BreakPoint{gapBegin, gapEnd, i, lineEnds == 1});
    }
    std::stable_sort(m_Points.begin(), m_Points.end(),
                     [](const BreakPoint& a, const BreakPoint& b) { return a.m_GapBegin < b.m_GapBegin; });
    m_Points.erase(std::unique(m_Points.begin(), m_Points.end(),
                               [](const BreakPoint& a, const BreakPoint& b) { return a.m_GapBegin == b.m_GapBegin; }),
                   m_Points.end());
    m_PieceWidths.resize(m_Points.size());
    for (std::size_t j = 0; j < m_Points.size(); ++j) {
        const std::size_t end = j + 1 < m_Points.size() ? m_Points[j + 1].m_GapBegin : m_Text.size();
        int width = 0;
        for (std::size_t p = m_Points[j].m_GapEnd; p < end && m_Text[p] != '\n'; ++p)
            width += widthAt(m_Text[p], width, m_Tab);
        m_PieceWidths[j] = width;
    }
}

void ExprLineWrapper::Run::endLine(Layout& layout)
{
    layout.m_Widths.push_back(m_Col);
    m_LineIndents.push_back(m_LineIndent >= 0 ? m_LineIndent : m_Col);
    if (m_Margin > 0 && m_Col > m_Margin) {
        ++layout.m_Overlong;
        layout.m_Excess += m_Col - m_Margin;
    }
    m_Col = 0;
    ++m_Line;
    m_LineHasText = false;
}

void ExprLineWrapper::Run::copy(std::size_t from, std::size_t to, Layout& layout)
{
    if (from < to)
        layout.m_Text.append(m_Text, from, to - from);
    std::size_t p = from;
    while (p < to) {
        while (m_NextToken < m_Tokens.size() && m_Tokens[m_NextToken].m_Begin <= p) {
            m_TokenCol[m_NextToken] = m_Col;
            m_TokenLine[m_NextToken] = m_Line;
            ++m_NextToken;
        }
        const char c = m_Text[p];
        if (c == '\n') {
            endLine(layout);
            m_LineIndent = -1;
            ++p;
            continue;
        }
        if (c == '\t' || m_Col < 0) {
            if (m_LineIndent < 0 && !isBlank(c))
                m_LineIndent = m_Col;
            m_Col += widthAt(c, m_Col, m_Tab);
            m_LineHasText = m_LineHasText || !isBlank(c);
            ++p;
            continue;
        }
        // Up to the next token's start, a newline or a tab every character
        // is one column wide: the run is measured whole.
        const std::size_t limit =
            m_NextToken < m_Tokens.size() ? std::min(to, m_Tokens[m_NextToken].m_Begin) : to;
        std::size_t q = p;
        for (; q < limit && m_Text[q] != '\n' && m_Text[q] != '\t'; ++q) {
            if (!m_LineHasText && !isBlank(m_Text[q])) {
                m_LineHasText = true;
                if (m_LineIndent < 0)
                    m_LineIndent = m_Col + static_cast<int>(q - p);
            } else if (m_LineIndent < 0 && !isBlank(m_Text[q])) {
                m_LineIndent = m_Col + static_cast<int>(q - p);
            }
        }
        m_Col += static_cast<int>(q - p);
        p = q;
    }
}

int ExprLineWrapper::Run::columnOfToken(long token) const
{
    if (token < 0 || static_cast<std::size_t>(token) >= m_NextToken)
        return -1;
    return m_TokenCol[static_cast<std::size_t>(token)];
}

int ExprLineWrapper::Run::continuation(const BreakCandidate& c, int pieceWidth) const
{
    // The indentation to indent from: that of the line on which the
    // candidate's list (or expression) begins, so that the elements of one
    // list share one column; for a list opener, that of its own line. A
    // line's indentation is the text's own for its first line, else where
    // the line's first token stands.
    int lineIndent = m_LineIndent >= 0 ? m_LineIndent : m_Col;
    const long anchor = c.m_Bucket == OPENER_BUCKET ? -1 : c.m_ListStart >= 0 ? c.m_ListStart : c.m_ExprStart;
    if (anchor < 0 && c.m_Bucket == 0 && !m_LineIndents.empty()) {
        // A separator of the text's own top-level list (the parameters of a
        // template head): every continuation of that list indents from the
        // text's first line, not from the line it continues, so that the
        // lines of one list do not step further right one after another.
        lineIndent = m_LineIndents.front();
    } else if (anchor >= 0 && static_cast<std::size_t>(anchor) < m_NextToken) {
        const int line = m_TokenLine[static_cast<std::size_t>(anchor)];
        if (line >= 0 && static_cast<std::size_t>(line) < m_LineIndents.size())
            lineIndent = m_LineIndents[static_cast<std::size_t>(line)];
    }
    const int indented = lineIndent + Stylist::textWidth(m_Settings.m_WrapIndent, lineIndent, m_Tab);
    const int exprCol = columnOfToken(c.m_ExprStart);
    const int listCol = columnOfToken(c.m_ListStart);
    if (m_Settings.m_WrapStyle == 1 && c.m_Bucket != OPENER_BUCKET) {
        // Align with the list start (or the enclosing expression, when it
        // stands further right); when the piece that follows would not fit
        // there, indent from the line's indentation instead. Without a list
        // start, indent too: a continuation never starts at the column of
        // the line it continues.
        if (listCol >= 0) {
            const int aligned = std::max(listCol, exprCol);
            return aligned + pieceWidth > m_Margin && indented < aligned ? indented : aligned;
        }
        return indented;
    }
    if (m_Settings.m_IndentWrapStyle == 2 && exprCol >= 0)
        return exprCol + Stylist::textWidth(m_Settings.m_WrapIndent, exprCol, m_Tab);
    return indented;
}

Layout ExprLineWrapper::Run::evaluate(const std::vector<unsigned char>& modes)
{
    Layout layout;
    layout.m_Text.reserve(m_Text.size() + m_Text.size() / 8);
    m_Col = m_Position.col;
    m_LineIndent = m_IndentWidth;
    m_LineIndents.clear();
    m_Line = 0;
    m_LineHasText = false;
    m_NextToken = 0;
    m_TokenCol.assign(m_Tokens.size(), -1);
    m_TokenLine.assign(m_Tokens.size(), -1);

    // The next active break point after each one, for the fill decision.
    std::vector<std::size_t> nextActive(m_Points.size(), m_Points.size());
    for (std::size_t j = m_Points.size(); j-- > 1;)
        nextActive[j - 1] = modes[m_Points[j].m_Candidate] != OFF || m_Points[j].m_Existing ? j : nextActive[j];

    std::size_t pos = 0;
    for (std::size_t j = 0; j < m_Points.size(); ++j) {
        const BreakPoint& bp = m_Points[j];
        const unsigned char mode = bp.m_Existing ? static_cast<unsigned char>(ALWAYS) : modes[bp.m_Candidate];
        if (mode == OFF)
            continue;
        copy(pos, bp.m_GapBegin, layout);
        pos = bp.m_GapBegin;
        const BreakCandidate& c = m_Candidates[bp.m_Candidate];
        const int target = continuation(c, m_PieceWidths[j]);
        bool breakHere = mode == ALWAYS;
        // Moving a list to the next line helps only when the line that the
        // opener then ends fits (or the list is a head's own list).
        if (c.m_Bucket == OPENER_BUCKET && m_Col > m_Margin && c.m_ListStart < 0 && !bp.m_Existing)
            continue;
        if (mode == FILL && target < m_Col) {
            // Break only when the piece up to the next active break point
            // (or the end of the line) does not fit behind the gap.
            const std::size_t pieceEnd =
                nextActive[j] < m_Points.size() ? m_Points[nextActive[j]].m_GapBegin : m_Text.size();
            int col = m_Col;
            for (std::size_t p = bp.m_GapBegin; p < pieceEnd && m_Text[p] != '\n' && col <= m_Margin; ++p)
                col += widthAt(m_Text[p], col, m_Tab);
            breakHere = col > m_Margin;
        }
        if (!breakHere)
            continue;
        if (!m_LineHasText)
            layout.m_EmptyLine = true;
        layout.m_Text += '\n';
        endLine(layout);
        const std::string ws = Stylist::whitespaceOfWidth(m_Stream, std::max(target, 0));
        layout.m_Text += ws;
        m_Col = Stylist::textWidth(ws, 0, m_Tab);
        m_LineIndent = m_Col;
        pos = bp.m_GapEnd;
    }
    copy(pos, m_Text.size(), layout);
    // The column of tokens that start at the very end (none normally).
    while (m_NextToken < m_Tokens.size()) {
        m_TokenCol[m_NextToken] = m_Col;
        m_TokenLine[m_NextToken++] = m_Line;
    }
    endLine(layout);
    layout.m_CandidateLine.resize(m_Candidates.size());
    for (std::size_t i = 0; i < m_Candidates.size(); ++i)
        layout.m_CandidateLine[i] = m_TokenLine[m_Candidates[i].m_Token];
    return layout;
}

std::string ExprLineWrapper::Run::run(const ExprWrapStrategy& strategy, int& layouts, bool relay)
{
    layouts = 0;
    prepare(strategy);
    std::vector<unsigned char> modes(m_Candidates.size(), OFF);
    Layout current = evaluate(modes);
    ++layouts;
    if (current.m_Overlong == 0 || m_Points.empty())
        return relay && !current.m_EmptyLine ? current.m_Text : m_Text;

    // The steps: one (depth, bucket) rank at a time, outermost depth first
    // and the buckets in level order within a depth.
    std::vector<std::size_t> order(m_Candidates.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        const BreakCandidate& x = m_Candidates[a];
        const BreakCandidate& y = m_Candidates[b];
        if (x.m_Depth != y.m_Depth)
            return x.m_Depth < y.m_Depth;
        return x.m_Bucket < y.m_Bucket;
    });
    const unsigned char stepMode = m_Settings.m_ListWrapStrategy == 2 ? ALWAYS : FILL;
    std::vector<std::pair<std::size_t, std::size_t>> applied; // ranges of order
    for (std::size_t r = 0; r < order.size() && current.m_Overlong > 0 && layouts < 1 + MAX_STEPS;) {
        std::size_t e = r;
        const BreakCandidate& first = m_Candidates[order[r]];
        while (e < order.size() && m_Candidates[order[e]].m_Depth == first.m_Depth &&
               m_Candidates[order[e]].m_Bucket == first.m_Bucket)
            ++e;
        // Only the lists of this rank that touch an overlong line break.
        std::vector<std::size_t> hot;
        for (std::size_t k = r; k < e; ++k) {
            const BreakCandidate& c = m_Candidates[order[k]];
            const int line = current.m_CandidateLine[order[k]];
            if (line >= 0 && static_cast<std::size_t>(line) < current.m_Widths.size() &&
                current.m_Widths[static_cast<std::size_t>(line)] > m_Margin)
                hot.push_back(c.m_Group);
        }
        if (!hot.empty()) {
            std::sort(hot.begin(), hot.end());
            hot.erase(std::unique(hot.begin(), hot.end()), hot.end());
            std::vector<unsigned char> next = modes;
            for (std::size_t k = r; k < e; ++k) {
                if (std::binary_search(hot.begin(), hot.end(), m_Candidates[order[k]].m_Group))
                    next[order[k]] = stepMode;
            }
            Layout layout = evaluate(next);
            ++layouts;
            if (!layout.m_EmptyLine) {
                modes.swap(next);
                current = std::move(layout);
                applied.emplace_back(r, e);
            }
        }
        r = e;
    }

    // The search: undoing one of the last steps may give a better layout.
    for (std::size_t k = applied.size(), tried = 0; k-- > 0 && tried < MAX_ALTERNATIVES; ++tried) {
        std::vector<unsigned char> alternative = modes;
        for (std::size_t i = applied[k].first; i < applied[k].second; ++i)
            alternative[order[i]] = OFF;
        Layout layout = evaluate(alternative);
        ++layouts;
        if (better(layout, current)) {
            modes.swap(alternative);
            current = std::move(layout);
        }
    }
    return current.m_Text;
}

ExprLineWrapper::ExprLineWrapper(const Stylist::PropertySet& scheme) : ExprFormatterBase(scheme)
{
    const ExprLineWrapperSettings s = readExprLineWrapperSettings(scheme);
    m_RightMargin = s.m_RightMargin;
    m_ShiftWrapStyle = s.m_ShiftWrapStyle;
}

ExprLineWrapper::~ExprLineWrapper() = default;

bool ExprLineWrapper::needsWrap(const std::string& text, const Corvale::OIndentState& position) const
{
    if (m_RightMargin <= 0)
        return false;
    const int tab = position.tabSize > 0 ? position.tabSize : 1;
    int col = position.col;
    for (char c : text) {
        if (c == '\n') {
            if (col > m_RightMargin)
                return true;
            col = 0;
        } else {
            col += widthAt(c, col, tab);
        }
    }
    return col > m_RightMargin;
}

std::string ExprLineWrapper::wrap(const std::string& text, const Corvale::OIndentState& position,
                                  const Stylist::WrapSettings& settings, const ExprWrapStrategy& strategy) const
{
    m_LastLayoutCount = 0;
    // Breaks already in the text are kept, so a second round can only add
    // breaks where the first left a line overlong; a few rounds reach the
    // text that wrapping leaves as it is.
    std::string current = text;
    for (int round = 0; round < MAX_ROUNDS && needsWrap(current, position); ++round) {
        int layouts = 0;
        std::string next = Run(*this, current, position, settings).run(strategy, layouts);
        m_LastLayoutCount += layouts;
        if (next == current)
            break;
        current.swap(next);
    }
    return current;
}

std::string ExprLineWrapper::relayBreaks(const std::string& text, const Corvale::OIndentState& position,
                                         const Stylist::WrapSettings& settings,
                                         const ExprWrapStrategy& strategy) const
{
    if (m_RightMargin <= 0 || text.find('\n') == std::string::npos)
        return wrap(text, position, settings, strategy);
    int layouts = 0;
    const std::string relaid = Run(*this, text, position, settings).run(strategy, layouts, true);
    const std::string wrapped = wrap(relaid, position, settings, strategy);
    m_LastLayoutCount += layouts;
    return wrapped;
}

} // namespace StylistCpp
