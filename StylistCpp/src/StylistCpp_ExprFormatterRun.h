// ExprFormatter::Run: the state of one formatExpression or formatDeclarator
// call (private to the expression formatter).
#ifndef STYLISTCPP_EXPRFORMATTERRUN_H
#define STYLISTCPP_EXPRFORMATTERRUN_H

#include "Corvale_ITextDocStream.h"
#include "Corvale_OIndentStream.h"
#include "StylistCpp_ExprFormatter.h"
#include "Cpp.h"
#include "Trn_Token.h"

#include <cstddef>
#include <string>
#include <vector>

namespace StylistCpp {

// What the rules need of a token: its type and locations, whether its
// text holds a "<" (a template-id) and its last character.
class RunToken {
public:
    explicit RunToken(const Trn::Token& t)
        : m_Type(t.type()),
          m_Start(t.start()),
          m_End(t.end()),
          m_HasLess(t.type() == Cpp::IDENTIFIER && t.text().find('<') != std::string::npos),
          m_LastChar(t.text().empty() ? '\n' : t.text().back())
    {
    }
    std::int32_t type() const { return m_Type; }
    const Trn::Location& start() const { return m_Start; }
    const Trn::Location& end() const { return m_End; }
    bool hasLess() const { return m_HasLess; }
    char lastChar() const { return m_LastChar; }

private:
    std::int32_t m_Type;
    Trn::Location m_Start;
    Trn::Location m_End;
    bool m_HasLess;
    char m_LastChar;
};

// The streams and working storage of one run, kept for the next run when it
// ends, so that a run neither builds streams nor grows vectors anew.
struct ExprFormatter::Streams {
    Corvale::ITextDocStream in{std::string()};
    Corvale::OIndentStream out{Corvale::OIndentState()};
    std::vector<RunToken> tokens;
    std::vector<std::size_t> match;
    std::vector<std::pair<std::size_t, int>> templateColumns;
    std::string read;
};

// The streams and storage of a run, taken from the formatter's free list (or
// made when the list is empty), reopened on the run's text and position, and
// handed back when the run ends.
class ExprFormatter::StreamLease {
public:
    StreamLease(ExprFormatter& formatter, const std::string& text, const Corvale::OIndentState& position);
    ~StreamLease();
    StreamLease(const StreamLease&) = delete;
    StreamLease& operator=(const StreamLease&) = delete;

    Streams& streams() { return *m_pStreams; }

private:
    ExprFormatter& m_Formatter;
    std::unique_ptr<Streams> m_pStreams;
};

class ExprFormatter::Run {
public:
    // Bracket groups nested deeper than this, and template-ids nested
    // deeper than MAX_TEMPLATE_DEPTH, are copied as written: the cost stays
    // linear and the stack bounded whatever the input.
    static constexpr int MAX_DEPTH = 200;
    static constexpr int MAX_TEMPLATE_DEPTH = 12;

    // The text is read where it lies: it must outlive the run.
    Run(ExprFormatter& formatter, const std::string& text, const Corvale::OIndentState& position, int depth);
    Run(ExprFormatter& formatter, std::string&& text, const Corvale::OIndentState& position, int depth) = delete;

    // Formats the whole text and answers the result.
    std::string format();
    // Formats the whole text as a template argument list without its
    // brackets and answers the result.
    std::string formatList();
    // Whether the text ends with a directive or a line comment: whatever
    // follows must then begin a new line.
    bool endsWithLineEnd() const
    {
        return !m_Tokens.empty() &&
               (m_Tokens.back().type() == Cpp::PREPROCESSOR || m_Tokens.back().type() == Cpp::SL_COMMENT);
    }

private:
    using Tok = RunToken;

    static constexpr std::size_t NONE = static_cast<std::size_t>(-1);

    // Token access; END_OF_FILE beyond the range.
    std::int32_t type(std::size_t i, std::size_t end) const
    {
        return i < end ? m_Tokens[i].type() : Trn::END_OF_FILE;
    }
    static bool isComment(std::int32_t t);
    static bool isCommentOrDirective(std::int32_t t);
    std::size_t nextSignificant(std::size_t i, std::size_t end) const;
    // Whether the "[" at i opens a structured binding ('auto [a, b]',
    // 'const auto& [k, v]'): it follows 'auto', possibly with cv-qualifiers
    // and a '&' or '&&' between.
    bool opensBinding(std::size_t i) const;
    // Whether the '[' at i opens a lambda's capture list: it stands where an
    // operand begins, not after one as a subscript does.
    bool opensCapture(std::size_t i) const;
    std::size_t closer(std::size_t open, std::size_t end) const;

    void matchBrackets();
    void matchTemplates();

    // The main loop and the dispatch.
    void formatRange(std::size_t begin, std::size_t end);
    std::size_t dispatch(std::size_t i, std::size_t end);

    // The rules; each answers the index of the next token to dispatch.
    std::size_t operandRule(std::size_t i, std::size_t end);
    std::size_t binaryOperator(std::size_t op, std::size_t end);
    std::size_t equalsOperator(std::size_t op, std::size_t end);
    std::size_t unaryRule(std::size_t i, std::size_t end);
    std::size_t declaratorRule(std::size_t i, std::size_t end);
    std::size_t bracketRule(std::size_t i, std::size_t end, const std::string& afterOpen,
                            const std::string& beforeClose, const std::string& beforeComma,
                            const std::string& afterComma);
    std::size_t braceInitializer(std::size_t i, std::size_t end);
    std::size_t braceGroup(std::size_t i, std::size_t end);
    void formatList(std::size_t begin, std::size_t end, const std::string& beforeComma,
                    const std::string& afterComma, bool braces);
    std::size_t callRule(std::size_t i, std::size_t end);
    std::size_t parenthesisedCast(std::size_t open, std::size_t close, std::size_t end);
    std::size_t castKeywordRule(std::size_t i, std::size_t end);
    std::size_t templateArgumentRule(std::size_t less, std::size_t end);
    std::size_t operatorKeyword(std::size_t i, std::size_t end);
    std::size_t stringRun(std::size_t i, std::size_t end);
    void preprocessorRule(std::size_t i);
    void writeOperand(std::size_t i);
    void identifierRule(std::size_t i);
    std::size_t copyRest(std::size_t i, std::size_t end);
    int sourceColumnIn(std::size_t i, const std::string& src, std::size_t b) const;

    // Reading and writing.
    std::string gapBefore(std::size_t i);
    void copyUpTo(std::size_t i);
    void copyThrough(std::size_t i);
    void putSource(const std::string& text);
    void putFill(const std::string& ws);
    void keptBreak(const std::string& gap, bool shift);
    // A kept line break after a call's comma with its continuation at the
    // column of the call's first argument (ALIGN_FN_CALL_ARGS_LEFT).
    void alignedBreak(int column);
    void putLtrimmed(const std::string& gap);
    void putRtrimmed(const std::string& gap);
    void putTrimmed(const std::string& gap);
    void emit(const std::string& text, bool startContiguous, bool endContiguous, bool raw = false);
    void putText(const std::string& text);
    bool glues(char next, char afterNext) const;
    void afterDirectWrite(std::size_t i);

    ExprFormatter& m_Formatter;
    const ExprFormatterSettings& m_S;
    int m_Depth;
    StreamLease m_Streams;
    Corvale::ITextDocStream& m_In;
    Corvale::OIndentStream& m_Out;
    std::vector<Tok>& m_Tokens;
    bool m_Stuck = false;
    // For every "(", "[", "{" and template "<": the index of its closer, or
    // NONE.
    std::vector<std::size_t>& m_Match;
    // What copyUpTo and copyThrough read.
    std::string& m_Read;

    // The last two characters written and whether the output still
    // continues the source text contiguously (nothing dropped or inserted
    // since the last source character written).
    char m_Last = '\n';
    char m_BeforeLast = '\n';
    bool m_Contiguous = true;
    // The output ends with a backslash and perhaps blanks.
    bool m_Splice = false;
    // The next bracket rule opens a call's arguments, to be aligned left.
    bool m_AlignNextArgs = false;
    // The column of the first argument of the call whose list is being
    // formatted, or -1.
    int m_ArgColumn = -1;
    std::int32_t m_LastTokenType = Trn::END_OF_FILE;
    // Whether anything but blanks was written on the current output line.
    bool m_LineHasText = false;
    // What a kept continuation line's source column is moved by (output
    // column of the text's start less its source column), and the width
    // of the position's indentation; no move when m_HasShift is false.
    bool m_HasShift = false;
    int m_Shift = 0;
    int m_IndentWidth = 0;
    // The source column of each template-id's first character (by token
    // index, in token order) when m_HasShift.
    std::vector<std::pair<std::size_t, int>>& m_TemplateColumns;
};

} // namespace StylistCpp

#endif
