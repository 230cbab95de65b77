// The expression formatter: re-spacing of one expression, declarator or
// initialiser text.
//
// A call lexes the text once into a token vector and matches every bracket,
// brace and template "<" in one pass each, so that no rule ever searches
// for a closer. The text is then read once, front to back, through an input
// text stream, and written through an indenting output stream that starts
// at the caller's position. Every write goes through one place that knows
// whether the output still continues the source contiguously; where it
// does not, a single blank is put between two characters that would
// otherwise lex as one token (or open a comment).
#include "StylistCpp_ExprFormatter.h"

#include "Corvale_Exception.h"
#include "Corvale_ITextDocStream.h"
#include "Corvale_OIndentStream.h"
#include "Cpp.h"
#include "Cpp_LexerIterator.h"
#include "Stylist.h"
#include "StylistCpp_ExprFormatterRun.h"

#include <utility>

namespace StylistCpp {

namespace {

// Sets a value for the lifetime of the object and restores it on every
// exit, an exception included.
template <typename T>
class ScopedValue {
public:
    ScopedValue(T& target, T value) : m_Target(target), m_Saved(std::move(target))
    {
        m_Target = std::move(value);
    }
    ~ScopedValue() { m_Target = std::move(m_Saved); }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    T& m_Target;
    T m_Saved;
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

} // namespace

ExprFormatter::ExprFormatter(const Stylist::PropertySet& scheme)
    : ExprFormatterBase(scheme), m_Settings(readExprFormatterSettings(scheme))
{
}

ExprFormatter::~ExprFormatter() = default;

bool ExprFormatter::forcesUnaryAfter(std::int32_t type) const
{
    switch (type) {
    case Cpp::SEMICOLON:
    case Cpp::COLON:
    case Cpp::LPAREN:
    case Cpp::EQUALS:
    case Cpp::STAR:
    case Cpp::AMPERSAND:
    case Cpp::SLASH:
    case Cpp::PLUS:
    case Cpp::MINUS:
    case Cpp::TILDE:
    case Cpp::THROW_KEY:
    case Cpp::RETURN_KEY:
        return true;
    case Cpp::COMMA:
        return m_ArgumentList;
    default:
        return type >= Cpp::PERCENT && type <= Cpp::QUESTION;
    }
}

std::string ExprFormatter::formatExpression(const std::string& text, const Corvale::OIndentState& position)
{
    ScopedValue<bool> mode(m_DeclarationMode, false);
    ScopedValue<std::string> gap(m_NameGap, std::string());
    ScopedValue<bool> hasGap(m_HasNameGap, false);
    ScopedValue<bool> args(m_ArgumentList, false);
    return format(text, position);
}

std::string ExprFormatter::formatDeclarator(const std::string& text, const Corvale::OIndentState& position,
                                            const std::string& nameGap)
{
    ScopedValue<bool> mode(m_DeclarationMode, true);
    ScopedValue<std::string> gap(m_NameGap, nameGap);
    ScopedValue<bool> hasGap(m_HasNameGap, true);
    ScopedValue<bool> args(m_ArgumentList, false);
    return format(text, position);
}

std::string ExprFormatter::format(const std::string& text, const Corvale::OIndentState& position)
{
    Run run(*this, text, position, 0);
    return run.format();
}

// ---- writers of comments and directives -------------------------------------

void ExprFormatter::writeMultiLine(const Trn::Location& start, const Trn::Location& end,
                                   Corvale::ITextDocStream& in, Corvale::OIndentStream& out) const
{
    if (end.line() <= start.line()) {
        Stylist::copyThrough(in, out, end);
        return;
    }
    Stylist::copyThrough(in, out, start);
    int col = out.col();
    if (col > 0)
        --col;
    CORVALE_CHECK(col >= 0);
    // The rest of the first line, through its line break.
    Stylist::copyThrough(in, out, Trn::Location(start.line() + 1, 0));
    // Columns of the first character in the source, counted as characters:
    // the text before it on its line has been read already.
    const int sourceCol = start.col() > 0 ? start.col() - 1 : 0;
    const int tabSize = out.tabSize() > 0 ? out.tabSize() : 1;
    const std::string indent = Stylist::whitespaceOfWidth(out, col);
    while (in.good() && Trn::Location(in.line(), in.col()) < end) {
        const int line = in.line() + (in.col() == 0 ? 0 : 1);
        const Trn::Location lineEnd(line + 1, 0);
        std::string text = Stylist::readThrough(in, lineEnd < end ? lineEnd : end);
        if (text.empty())
            break;
        std::size_t drop = 0;
        int c = 0;
        while (drop < text.size() && (text[drop] == ' ' || text[drop] == '\t') && c < sourceCol) {
            c += Stylist::charWidth(text[drop], c, tabSize);
            ++drop;
        }
        Corvale::ScopedIndent scopedIndent(out, indent);
        Corvale::ScopedKeepLeadingSpace keep(out, true);
        out.write(text.data() + drop, static_cast<std::streamsize>(text.size() - drop));
    }
}

void ExprFormatter::writeComment(bool singleLine, const Trn::Location& start, const Trn::Location& end,
                                 Corvale::ITextDocStream& in, Corvale::OIndentStream& out) const
{
    if (singleLine)
        Stylist::copyThrough(in, out, end);
    else
        writeMultiLine(start, end, in, out);
}

void ExprFormatter::writeDirective(const Trn::Location& start, const Trn::Location& end,
                                   Corvale::ITextDocStream& in, Corvale::OIndentStream& out) const
{
    if (!hasAlignPpdLeftMost()) {
        Stylist::copyThroughRaw(in, out, end);
    } else if (alignPpdLeftMost()) {
        Corvale::ScopedIndent margin(out, leftMargin());
        writeMultiLine(start, end, in, out);
    } else {
        writeMultiLine(start, end, in, out);
    }
}

// ---- enum initialiser aligner ---------------------------------------------------

std::string alignEnumInitializers(const ExprFormatter& formatter, const std::string& text,
                                  const Corvale::OIndentState& position)
{
    std::vector<Trn::Token> tokens;
    Cpp::LexerIterator it(text.begin(), text.end()), end;
    for (; it != end && !it.stuck(); ++it)
        tokens.push_back(*it);
    if (it.stuck())
        return text;

    // Offsets of line starts, to measure the raw text.
    std::vector<std::size_t> lineStart{0, 0};
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n')
            lineStart.push_back(i + 1);
    auto offsetOf = [&](const Trn::Location& l) -> std::size_t {
        const std::size_t line = static_cast<std::size_t>(l.line());
        if (line >= lineStart.size())
            return text.size();
        return lineStart[line] + static_cast<std::size_t>(l.col()) - 1;
    };
    const int tabSize = position.tabSize > 0 ? position.tabSize : 1;

    // Measure: the column after the token before the first assignment
    // operator of every line. Columns are walked once over the whole text.
    std::vector<std::size_t> aligned; // token indexes of the operators to align
    std::vector<int> reached;
    int col = position.col;
    std::size_t pos = 0;
    auto walkTo = [&](std::size_t offset) {
        for (; pos < offset && pos < text.size(); ++pos)
            col = text[pos] == '\n' ? 0 : col + Stylist::charWidth(text[pos], col, tabSize);
    };
    int lastLine = 0;
    int m = 0;
    for (std::size_t i = 1; i < tokens.size(); ++i) {
        const Trn::Token& t = tokens[i];
        if (!ExprFormatterBase::isAssignOpType(t.type()) || t.start().line() == lastLine)
            continue;
        lastLine = t.start().line();
        const Trn::Token& before = tokens[i - 1];
        if (before.end().line() != t.start().line() || before.type() == Cpp::SL_COMMENT ||
            before.type() == Cpp::PREPROCESSOR)
            continue;
        walkTo(offsetOf(before.end()) + 1);
        aligned.push_back(i);
        m = std::max(m, col);
    }
    if (m <= 0 || aligned.size() < 1)
        return text;
    int alignCol = m + 1;
    if (!Stylist::isTabStop(alignCol, tabSize))
        alignCol = Stylist::nextTabStop(alignCol, tabSize);

    // Write: the text again, the gap before each aligned operator replaced
    // by padding to the alignment column.
    Corvale::ITextDocStream in(text, position.tabMode, tabSize, 1, 0);
    Corvale::OIndentStream out(position);
    std::size_t next = 0;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Trn::Token& t = tokens[i];
        if (next < aligned.size() && aligned[next] == i) {
            ++next;
            std::string gap = Stylist::readUpTo(in, t.start());
            std::size_t b = 0, e = gap.size();
            while (b < e && isBlank(gap[b]))
                ++b;
            while (e > b && isBlank(gap[e - 1]))
                --e;
            if (b < e)
                out << ' ' << gap.substr(b, e - b);
            const int now = out.col();
            out << Stylist::Padding(alignCol > now ? alignCol - now : 1);
            Stylist::copyThrough(in, out, t.end());
        } else if (t.type() == Cpp::PREPROCESSOR) {
            Stylist::copyUpTo(in, out, t.start());
            formatter.writeDirective(t.start(), t.end(), in, out);
        } else if (t.type() == Cpp::ML_COMMENT || t.type() == Cpp::ML_COMMENT_UNPARSED) {
            Stylist::copyUpTo(in, out, t.start());
            formatter.writeMultiLine(t.start(), t.end(), in, out);
        } else if ((t.type() == Cpp::STRING_LITERAL || t.type() == Cpp::CHAR_LITERAL) &&
                   t.end().line() != t.start().line()) {
            Stylist::copyUpTo(in, out, t.start());
            Stylist::copyThroughRaw(in, out, t.end());
        } else {
            Stylist::copyThrough(in, out, t.end());
        }
    }
    out << Stylist::restOfText(in);
    out.flush();
    return out.str();
}

} // namespace StylistCpp
