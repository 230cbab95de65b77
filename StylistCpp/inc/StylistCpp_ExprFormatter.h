// StylistCpp::ExprFormatter: re-spaces the text of one expression,
// declarator or initialiser.
//
// The caller hands over a piece of source text and the output position at
// which the text will start (its column, indentation, tab size and tab
// mode). The text is lexed again and written anew: each gap between two
// tokens is copied from the source, replaced by a scheme whitespace string,
// or reduced to the comments it holds. Token texts, comments and the line
// breaks the rules keep pass through unchanged, so the result always lexes
// to the same tokens as the text given (where two tokens would otherwise
// be glued into a different one, a single blank separates them). The
// result is meant to be written raw at that position: when the position is
// at column 0, its first line already carries the indentation.
//
// Typical use by an emitter:
//     std::string text = Stylist::readThrough(in, node.end());
//     Stylist::writeRaw(out, exprFormatter.formatExpression(text, out.state()));
//
// One formatter lives as long as the emitter that built it and is reused
// for every expression of a run. Bad input never throws; unmatched
// brackets and braces make the rest of the text be copied unchanged.
#ifndef STYLISTCPP_EXPRFORMATTER_H
#define STYLISTCPP_EXPRFORMATTER_H

#include "Corvale_StreamFwd.h"
#include "StylistCpp_ExprFormatterBase.h"
#include "StylistCpp_FormatterConfig.h"
#include "Trn_Location.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace StylistCpp {

class ExprFormatter : public ExprFormatterBase {
public:
    // Reads the expression keys (see ExprFormatterSettings). A missing
    // whitespace key raises Stylist::PropertyMissingException; an anchor
    // outside -1..1 is a contract violation.
    explicit ExprFormatter(const Stylist::PropertySet& scheme);
    ~ExprFormatter() override;

    const ExprFormatterSettings& settings() const { return m_Settings; }

    // The text re-spaced as an expression, laid out from position.
    std::string formatExpression(const std::string& text, const Corvale::OIndentState& position);

    // As formatExpression, in declaration mode: a '*' or '&' after a type
    // (a built-in type, a name, '>', an operator or a comma) is a
    // declarator and is placed by the anchor keys, and nameGap is the
    // whitespace put between the type part and the declared name (for
    // example the padding that aligns names). The mode and the name gap
    // hold for this call only. Hand over the type together with the
    // declared name ("const char *p", not "const char *"): with anchor 1
    // the name follows the anchor whitespace directly, and with anchor 0
    // the name gap is written only where a name follows the pointer run.
    // (Both calls honour the position's keep-leading-space switch: when it
    // is off, continuation lines start at the position's indentation.)
    std::string formatDeclarator(const std::string& text, const Corvale::OIndentState& position,
                                 const std::string& nameGap);

    // The source column (in columns) of the first character of the texts
    // formatted next, or -1 when unknown. When known, a line break kept
    // after a list's comma starts its continuation at the same offset from
    // the text's first character as in the source (never left of the
    // position's indentation), so that a continuation placed by an earlier
    // run stays where it is. Set it for one call and restore it after.
    int sourceColumn() const { return m_SourceColumn; }
    void setSourceColumn(int col) { m_SourceColumn = col; }

    // Whether an operator that follows a token of this type stands before
    // an operand (is a prefix operator): after ';', ':', '(', '=', '*',
    // '&', '/', '+', '-', '~', the operators from '%' to '?', throw and
    // return; after ',' only inside the argument list of a call or cast.
    bool forcesUnaryAfter(std::int32_t type) const;

    // --- Writers used by the formatter for comments and directives --------

    // Writes the source from the input's position through end, the input
    // standing at (or before, in a gap) start: so that the continuation
    // lines keep their offset to the first character when that character
    // lands at another output column.
    void writeMultiLine(const Trn::Location& start, const Trn::Location& end, Corvale::ITextDocStream& in,
                        Corvale::OIndentStream& out) const;

    // A comment from start to end: a single-line comment is copied through
    // its end; any other (a block comment, a verbatim region) goes through
    // writeMultiLine.
    void writeComment(bool singleLine, const Trn::Location& start, const Trn::Location& end,
                      Corvale::ITextDocStream& in, Corvale::OIndentStream& out) const;

    // A preprocessor directive from start to end, placed by
    // ALIGN_PPD_LEFT_MOST: true at the left margin, false where the output
    // stands (both through writeMultiLine), absent copied raw exactly as in
    // the source.
    void writeDirective(const Trn::Location& start, const Trn::Location& end, Corvale::ITextDocStream& in,
                        Corvale::OIndentStream& out) const;

private:
    class Run;
    friend class Run;
    // The streams and working storage of one run, kept for the next run when
    // it ends (runs nest, so each takes its own pair).
    struct Streams;
    class StreamLease;
    friend class StreamLease;

    std::string format(const std::string& text, const Corvale::OIndentState& position);

    ExprFormatterSettings m_Settings;

    // Call state, set for the duration of one call and restored on every
    // exit.
    bool m_DeclarationMode = false;
    std::string m_NameGap;
    // Whether a name gap was given (formatExpression gives none).
    bool m_HasNameGap = false;
    bool m_ArgumentList = false;
    int m_SourceColumn = -1;

    // The stream pairs of the runs that have ended, reused by the next
    // runs instead of new ones. A copy of the formatter starts with none.
    class StreamPool {
    public:
        StreamPool();
        StreamPool(const StreamPool&);
        StreamPool& operator=(const StreamPool&);
        ~StreamPool();

        std::vector<std::unique_ptr<Streams>> m_Free;
    };
    StreamPool m_FreeStreams;
};

// Aligns the first assignment operator of every line of an enumerator list
// (already re-spaced, for example by formatExpression) to one column: the
// widest column reached before such an operator plus one, raised to the
// next tab stop. Directives go through the formatter's directive writer,
// comments through its multi-line writer. Returns the aligned text, laid
// out from position.
std::string alignEnumInitializers(const ExprFormatter& formatter, const std::string& text,
                                  const Corvale::OIndentState& position);

} // namespace StylistCpp

#endif
