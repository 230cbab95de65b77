// The rules of the expression formatter over one token vector.
#include "StylistCpp_ExprFormatterRun.h"

#include "Corvale_Exception.h"
#include "Cpp.h"
#include "Cpp_LexerIterator.h"
#include "Stylist.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

namespace StylistCpp {

namespace {

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

bool isWordChar(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_' || c == '$' || u >= 0x80;
}

bool isCastKeyword(std::int32_t t)
{
    return t == Cpp::STATIC_CAST_KEY || t == Cpp::DYNAMIC_CAST_KEY || t == Cpp::CONST_CAST_KEY ||
           t == Cpp::REINTERPRET_CAST_KEY;
}

bool isOpener(std::int32_t t) { return t == Cpp::LPAREN || t == Cpp::LBRACKET || t == Cpp::LBRACE; }
bool isCloser(std::int32_t t) { return t == Cpp::RPAREN || t == Cpp::RBRACKET || t == Cpp::RBRACE; }

// Two-character spellings that must not be formed by dropping the blanks
// between two tokens: operators, comment openers, digraphs.
const char* const GLUED_PAIRS[] = {"::", "..", ".*", "->", "++", "--", "<<", ">>", "<=", ">=", "==",
                                   "!=", "&&", "||", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=",
                                   "/*", "//", "*/", "<:", ":>", "<%", "%>", "%:", "##"};

// Whether s holds anything but blanks from from on.
bool hasNonBlank(const std::string& s, std::size_t from)
{
    for (std::size_t k = from; k < s.size(); ++k)
        if (!isBlank(s[k]))
            return true;
    return false;
}

std::string rtrim(const std::string& s)
{
    std::size_t e = s.size();
    while (e > 0 && isBlank(s[e - 1]))
        --e;
    return s.substr(0, e);
}

std::string ltrim(const std::string& s)
{
    std::size_t b = 0;
    while (b < s.size() && isBlank(s[b]))
        ++b;
    return s.substr(b);
}

} // namespace

ExprFormatter::StreamPool::StreamPool() = default;
ExprFormatter::StreamPool::StreamPool(const StreamPool&) {}
ExprFormatter::StreamPool& ExprFormatter::StreamPool::operator=(const StreamPool&) { return *this; }
ExprFormatter::StreamPool::~StreamPool() = default;

ExprFormatter::StreamLease::StreamLease(ExprFormatter& formatter, const std::string& text,
                                        const Corvale::OIndentState& position)
    : m_Formatter(formatter)
{
    if (formatter.m_FreeStreams.m_Free.empty()) {
        m_pStreams = std::make_unique<Streams>();
    } else {
        m_pStreams = std::move(formatter.m_FreeStreams.m_Free.back());
        formatter.m_FreeStreams.m_Free.pop_back();
    }
    m_pStreams->in.reopen(text, position.tabMode, position.tabSize, 1, 0);
    m_pStreams->out.reopen(position);
    m_pStreams->tokens.clear();
    m_pStreams->match.clear();
    m_pStreams->templateColumns.clear();
}

ExprFormatter::StreamLease::~StreamLease()
{
    // Runs nest no deeper than the template depth, so the list stays short;
    // a pair that cannot be kept is simply dropped.
    try {
        m_Formatter.m_FreeStreams.m_Free.push_back(std::move(m_pStreams));
    } catch (...) {
    }
}

ExprFormatter::Run::Run(ExprFormatter& formatter, const std::string& text, const Corvale::OIndentState& position,
                        int depth)
    : m_Formatter(formatter),
      m_S(formatter.m_Settings),
      m_Depth(depth),
      m_Streams(formatter, text, position),
      m_In(m_Streams.streams().in),
      m_Out(m_Streams.streams().out),
      m_Tokens(m_Streams.streams().tokens),
      m_Match(m_Streams.streams().match),
      m_Read(m_Streams.streams().read),
      m_TemplateColumns(m_Streams.streams().templateColumns)
{
    m_Tokens.reserve(text.size() / 6 + 16);
    // With the text's source column known, the source column of each
    // template-id's first character too: its argument lists are formatted
    // as texts of their own, which need theirs. The walk along the text
    // goes no further than the last template-id.
    const bool columns = formatter.m_SourceColumn >= 0;
    std::size_t pos = 0;
    int line = 1, chars = 1, width = formatter.m_SourceColumn;
    Cpp::LexerIterator it(text.begin(), text.end()), end;
    for (; it != end && !it.stuck(); ++it) {
        m_Tokens.emplace_back(*it);
        if (!columns || !m_Tokens.back().hasLess())
            continue;
        const Trn::Location& start = it->start();
        while (pos < text.size() && (line < start.line() || (line == start.line() && chars < start.col()))) {
            if (text[pos++] == '\n') {
                ++line;
                chars = 1;
                width = 0;
            } else {
                width += Stylist::charWidth(text[pos - 1], width, position.tabSize);
                ++chars;
            }
        }
        m_TemplateColumns.emplace_back(m_Tokens.size() - 1, width);
    }
    m_Stuck = it.stuck();
    m_Match.assign(m_Tokens.size(), NONE);
    matchBrackets();
    matchTemplates();
    m_LineHasText = position.col > 0;
    if (formatter.m_SourceColumn >= 0) {
        // At a line start the indentation is not written yet: the text
        // starts after it.
        m_HasShift = true;
        m_IndentWidth = Stylist::textWidth(position.indent, 0, position.tabSize);
        m_Shift = (position.col > 0 ? position.col : m_IndentWidth) - formatter.m_SourceColumn;
    }
}

std::string ExprFormatter::Run::format()
{
    formatRange(0, m_Tokens.size());
    // What follows the last token: trailing blanks, or the rest of a text
    // whose lexing stopped at an unterminated literal (kept exactly).
    const std::string rest = Stylist::restOfText(m_In);
    if (m_Stuck)
        emit(rest, true, true, true);
    else
        putSource(rest);
    m_Out.flush();
    return m_Out.str();
}

std::string ExprFormatter::Run::formatList()
{
    formatList(0, m_Tokens.size(), std::string(), m_S.m_WsBetweenTpParams, false);
    const std::string rest = Stylist::restOfText(m_In);
    emit(rest, true, true, m_Stuck);
    m_Out.flush();
    return m_Out.str();
}

// ---- matching ---------------------------------------------------------------

bool ExprFormatter::Run::isComment(std::int32_t t)
{
    return t == Cpp::SL_COMMENT || t == Cpp::ML_COMMENT || t == Cpp::ML_COMMENT_UNPARSED;
}

bool ExprFormatter::Run::isCommentOrDirective(std::int32_t t) { return isComment(t) || t == Cpp::PREPROCESSOR; }

std::size_t ExprFormatter::Run::nextSignificant(std::size_t i, std::size_t end) const
{
    while (i < end && isCommentOrDirective(m_Tokens[i].type()))
        ++i;
    return i;
}

bool ExprFormatter::Run::opensBinding(std::size_t i) const
{
    std::size_t k = i;
    // The significant token before k, or END_OF_FILE.
    auto previous = [this, &k]() -> std::int32_t {
        while (k > 0) {
            --k;
            if (!isCommentOrDirective(m_Tokens[k].type()))
                return m_Tokens[k].type();
        }
        return Trn::END_OF_FILE;
    };
    std::int32_t t = previous();
    if (t == Cpp::AMPERSAND || t == Cpp::AND_AND)
        t = previous();
    while (t == Cpp::CONST_KEY || t == Cpp::VOLATILE_KEY)
        t = previous();
    return t == Cpp::AUTO_KEY;
}

bool ExprFormatter::Run::opensCapture(std::size_t i) const
{
    std::size_t k = i;
    while (k > 0 && isCommentOrDirective(m_Tokens[k - 1].type()))
        --k;
    if (k == 0)
        return true;
    const std::int32_t t = m_Tokens[k - 1].type();
    return t == Cpp::LPAREN || t == Cpp::LBRACE || t == Cpp::COMMA || t == Cpp::SEMICOLON || t == Cpp::QUESTION ||
           t == Cpp::COLON || t == Cpp::RETURN_KEY || t == Cpp::THROW_KEY || isAssignOpType(t);
}

std::size_t ExprFormatter::Run::closer(std::size_t open, std::size_t end) const
{
    if (open >= end)
        return NONE;
    const std::size_t m = m_Match[open];
    if (m != NONE && m == end && m < m_Tokens.size() && m_Tokens[m].type() == Cpp::SHIFT_RIGHT && m_Match[m] == open)
        return m; // the inner list of a '>>' that closes two ends where the outer one does
    return m != NONE && m < end ? m : NONE;
}

// One pass with a stack: each closer matches the innermost open bracket of
// its own kind; a closer of another kind leaves the open ones unmatched.
void ExprFormatter::Run::matchBrackets()
{
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < m_Tokens.size(); ++i) {
        const std::int32_t t = m_Tokens[i].type();
        if (isOpener(t)) {
            open.push_back(i);
        } else if (isCloser(t)) {
            const std::int32_t want = t == Cpp::RPAREN ? Cpp::LPAREN : t == Cpp::RBRACKET ? Cpp::LBRACKET : Cpp::LBRACE;
            // Pop to the innermost opener of the same kind, if any; the
            // ones passed over stay unmatched.
            std::size_t k = open.size();
            while (k > 0 && m_Tokens[open[k - 1]].type() != want)
                --k;
            if (k == 0)
                continue;
            m_Match[open[k - 1]] = i;
            open.resize(k - 1);
        }
    }
}

// Template "<" tokens (those the lexer did not fold into a name, as after
// a cast keyword or 'template'): matched by the first ">" at the same
// bracket depth; a closing bracket, ';', '&&', '||' or '?' at that depth
// ends the candidates.
//
// A candidate so ended whose ">" a comparison directly inside it took
// ('integral_constant<bool, A::num < B::num>', 'bool = W < L<T>::v>') gets
// that ">", and the comparison's "<" stays unmatched.
void ExprFormatter::Run::matchTemplates()
{
    struct Open {
        std::size_t index;
        int depth;
        std::size_t child = NONE; // a comparison's "<" closed directly inside
    };
    std::vector<Open> open;
    int depth = 0;
    auto failAt = [&](int d) {
        while (!open.empty() && open.back().depth >= d) {
            const std::size_t child = open.back().child;
            if (child != NONE && m_Match[child] != NONE && m_Tokens[m_Match[child]].type() == Cpp::GREATER) {
                m_Match[open.back().index] = m_Match[child];
                m_Match[child] = NONE;
            }
            open.pop_back();
        }
    };
    // A comparison's "<" stands between blanks after an operand; one after
    // a keyword ('static_cast<', 'template <') or written against a name
    // ('vector1<Char(&)[2]>') opens a list.
    auto afterOperand = [&](std::size_t less) {
        if (less == 0 || less + 1 >= m_Tokens.size())
            return false;
        const std::int32_t p = m_Tokens[less - 1].type();
        auto apart = [&](std::size_t a) {
            return m_Tokens[a].end().line() != m_Tokens[a + 1].start().line() ||
                   m_Tokens[a].end().col() + 1 < m_Tokens[a + 1].start().col();
        };
        return (p == Cpp::IDENTIFIER || p == Cpp::NUMBER_LITERAL || p == Cpp::RPAREN || p == Cpp::RBRACKET) &&
               apart(less - 1) && apart(less);
    };
    for (std::size_t i = 0; i < m_Tokens.size(); ++i) {
        const std::int32_t t = m_Tokens[i].type();
        if (isOpener(t)) {
            ++depth;
        } else if (isCloser(t)) {
            failAt(depth);
            if (depth > 0)
                --depth;
        } else if (t == Cpp::LESS) {
            open.push_back({i, depth});
        } else if (t == Cpp::GREATER) {
            if (!open.empty() && open.back().depth == depth) {
                const std::size_t inner = open.back().index;
                m_Match[inner] = i;
                open.pop_back();
                if (!open.empty() && open.back().depth == depth && afterOperand(inner))
                    open.back().child = inner;
            }
        } else if (t == Cpp::SHIFT_RIGHT) {
            // A '>>' closes two lists open at its depth ('A<B<const C&>>',
            // which the lexer leaves unfolded); the token then records the
            // inner one, whose list ends where the outer one does.
            const std::size_t n = open.size();
            if (n >= 2 && open[n - 1].depth == depth && open[n - 2].depth == depth) {
                m_Match[open[n - 1].index] = i;
                m_Match[open[n - 2].index] = i;
                m_Match[i] = open[n - 1].index;
                open.resize(n - 2);
            }
        } else if (t == Cpp::SEMICOLON || t == Cpp::AND_AND || t == Cpp::OR_OR || t == Cpp::QUESTION) {
            failAt(depth);
        }
    }
    failAt(0);
}

// ---- main loop and dispatch ----------------------------------------------------

void ExprFormatter::Run::formatRange(std::size_t begin, std::size_t end)
{
    std::size_t i = begin;
    while (i < end) {
        const std::size_t next = dispatch(i, end);
        CORVALE_CHECK_TEXT(next > i, "it != end");
        i = next;
    }
}

std::size_t ExprFormatter::Run::dispatch(std::size_t i, std::size_t end)
{
    const std::int32_t t = m_Tokens[i].type();
    const std::int32_t next = type(i + 1, end);
    switch (t) {
    case Cpp::PREPROCESSOR:
        preprocessorRule(i);
        return i + 1;
    case Cpp::SL_COMMENT:
    case Cpp::ML_COMMENT:
    case Cpp::ML_COMMENT_UNPARSED:
        copyThrough(i);
        return i + 1;
    case Cpp::CHAR_LITERAL:
    case Cpp::NUMBER_LITERAL:
    case Cpp::RPAREN:
    case Cpp::RBRACKET:
        return operandRule(i, end);
    case Cpp::STRING_LITERAL:
        return next == Cpp::STRING_LITERAL ? stringRun(i, end) : operandRule(i, end);
    case Cpp::SEMICOLON:
        if (isUnaryOpType(next)) {
            copyThrough(i);
            return unaryRule(i + 1, end);
        }
        return operandRule(i, end);
    case Cpp::COLON:
    case Cpp::QUESTION:
        if (isUnaryOpType(next)) {
            binaryOperator(i, end);
            return unaryRule(i + 1, end);
        }
        return operandRule(i, end);
    case Cpp::COMMA:
        if (next != Cpp::STAR && next != Cpp::AMPERSAND && isUnaryOpType(next)) {
            binaryOperator(i, end);
            return unaryRule(i + 1, end);
        }
        return operandRule(i, end);
    case Cpp::LPAREN: {
        const std::size_t close = bracketRule(i, end, m_S.m_WsAfterExprOpenParen, m_S.m_WsBeforeExprCloseParen,
                                              m_S.m_WsBeforeFnCallComma, m_S.m_WsBetweenFnCallArgs);
        if (close < end && m_Tokens[close].type() == Cpp::RPAREN && close + 1 < end)
            return parenthesisedCast(i, close, end);
        return close;
    }
    case Cpp::LBRACKET:
        if (next == Cpp::LBRACKET && closer(i, end) != NONE) {
            // An attribute ('[[nodiscard]]') is no subscript: it keeps its
            // text and the blank before it as written.
            const std::size_t close = closer(i, end);
            copyThrough(close);
            return close + 1;
        }
        if (opensBinding(i)) {
            // The names of a structured binding are declarators: the name
            // gap (one blank in an expression) stands before them, unless a
            // '&' placed by its anchor has already written it, and they are
            // separated like a data declaration's declarators.
            std::size_t p = i;
            while (p > 0 && isCommentOrDirective(m_Tokens[p - 1].type()))
                --p;
            const bool placed =
                p > 0 && (m_Tokens[p - 1].type() == Cpp::AMPERSAND || m_Tokens[p - 1].type() == Cpp::AND_AND);
            putRtrimmed(gapBefore(i));
            if ((!placed || m_S.m_AmpersandAnchor == Stylist::Anchor::AS_WRITTEN) && !isBlank(m_Last))
                putFill(m_Formatter.m_HasNameGap ? m_Formatter.m_NameGap : std::string(" "));
            return bracketRule(i, end, m_S.m_WsAfterLBracket, m_S.m_WsBeforeRBracket, m_S.m_WsBeforeDdComma,
                               m_S.m_WsBetweenDdElements);
        }
        putRtrimmed(gapBefore(i));
        if (opensCapture(i) && i > 0 &&
            (m_Tokens[i - 1].type() == Cpp::RETURN_KEY || m_Tokens[i - 1].type() == Cpp::THROW_KEY))
            putFill(" "); // a keyword and the capture list stay apart
        else
            putFill(m_S.m_WsBeforeLBracket);
        if (opensCapture(i)) {
            // A capture list is a list like a call's arguments: its commas
            // are spaced as those are.
            return bracketRule(i, end, m_S.m_WsAfterLBracket, m_S.m_WsBeforeRBracket, m_S.m_WsBeforeFnCallComma,
                               m_S.m_WsBetweenFnCallArgs);
        }
        return bracketRule(i, end, m_S.m_WsAfterLBracket, m_S.m_WsBeforeRBracket, std::string(), std::string());
    case Cpp::LBRACE:
        return braceGroup(i, end);
    case Cpp::EQUALS:
        return equalsOperator(i, end);
    case Cpp::LESS:
        if (closer(i, end) != NONE)
            return templateArgumentRule(i, end);
        return operandRule(i, end);
    case Cpp::STATIC_CAST_KEY:
    case Cpp::DYNAMIC_CAST_KEY:
    case Cpp::CONST_CAST_KEY:
    case Cpp::REINTERPRET_CAST_KEY:
        return castKeywordRule(i, end);
    case Cpp::OPERATOR_KEY:
        return operatorKeyword(i, end);
    case Cpp::THROW_KEY:
    case Cpp::SIZEOF_KEY:
        if (next == Cpp::LPAREN) {
            copyThrough(i);
            return callRule(i + 1, end);
        }
        return operandRule(i, end);
    case Cpp::IDENTIFIER:
        if (next == Cpp::LPAREN) {
            identifierRule(i);
            return callRule(i + 1, end);
        }
        if (next == Cpp::LESS && closer(i + 1, end) != NONE) {
            identifierRule(i);
            return templateArgumentRule(i + 1, end);
        }
        return operandRule(i, end);
    default:
        if (isUnaryOpType(t))
            return unaryRule(i, end);
        return operandRule(i, end);
    }
}

// ---- operands and operators ------------------------------------------------------

std::size_t ExprFormatter::Run::operandRule(std::size_t i, std::size_t end)
{
    const std::int32_t first = m_Tokens[i].type();
    const std::size_t j = nextSignificant(i + 1, end);
    const std::int32_t cur = type(j, end);
    if (cur == Trn::END_OF_FILE) {
        writeOperand(i);
        return i + 1;
    }
    const bool adjacent = j == i + 1;
    const bool decl = m_Formatter.m_DeclarationMode;
    // A '>>' that closes two template argument lists ends a type as '>' does.
    const bool shiftListEnd = first == Cpp::SHIFT_RIGHT && m_Match[i] != NONE;
    // 1. A prefix operator after an operator or an opening token.
    if (isUnaryOpType(cur) && !shiftListEnd && (isAssignOpType(first) || m_Formatter.forcesUnaryAfter(first))) {
        if (isOpType(first) && adjacent) {
            binaryOperator(i, end);
        } else {
            writeOperand(i);
            formatRange(i + 1, j);
        }
        return unaryRule(j, end);
    }
    // After a comma outside argument lists and declarations, '*' and '&'
    // keep their source spacing.
    if (first == Cpp::COMMA && isPtrType(cur) && !decl) {
        writeOperand(i);
        formatRange(i + 1, j);
        copyThrough(j);
        if (j + 1 < end)
            copyUpTo(j + 1);
        return j + 1;
    }
    // 2. and 3. A '*' or '&' after a type is a declarator.
    // 'auto' is a type even where the statement reads as an expression
    // ('auto& r = x;'): a sign after it is a declarator's.
    std::size_t before = i;
    while (before > 0 && isCommentOrDirective(m_Tokens[before - 1].type()))
        --before;
    const bool cvAfterAuto = (first == Cpp::CONST_KEY || first == Cpp::VOLATILE_KEY) && before > 0 &&
                             m_Tokens[before - 1].type() == Cpp::AUTO_KEY;
    const bool typeWord = isBuiltinType(first) || first == Cpp::AUTO_KEY || cvAfterAuto;
    const bool ptr = isPtrType(cur) || (cur == Cpp::AND_AND && (decl || typeWord));
    const bool listEnd = first == Cpp::GREATER || shiftListEnd;
    if (adjacent && ptr) {
        if (typeWord)
            return declaratorRule(i, end);
        if (decl && (isOpType(first) || first == Cpp::IDENTIFIER || first == Cpp::AUTO_KEY || first == Cpp::COMMA ||
                     listEnd || first == Cpp::CONST_KEY || first == Cpp::VOLATILE_KEY))
            return declaratorRule(i, end);
    }
    // A template argument list after a name or 'template'.
    if (cur == Cpp::LESS && adjacent && closer(j, end) != NONE &&
        (first == Cpp::TEMPLATE_KEY || first == Cpp::CLASS_KEY || first == Cpp::STRUCT_KEY ||
         first == Cpp::TYPENAME_KEY || first == Cpp::GREATER)) {
        writeOperand(i);
        return templateArgumentRule(j, end);
    }
    // 4. A binary operator after the operand.
    if (isOpType(cur)) {
        writeOperand(i);
        formatRange(i + 1, j);
        if (cur != Cpp::PLUS_PLUS && cur != Cpp::MINUS_MINUS) {
            putRtrimmed(gapBefore(j));
            putFill(m_S.m_WsBetweenExprOpOperands);
        }
        if (cur == Cpp::EQUALS)
            return equalsOperator(j, end);
        return binaryOperator(j, end);
    }
    // 5. Just the operand.
    writeOperand(i);
    return i + 1;
}

// Writes the operator op (with whatever gap before it is still unread) and
// the whitespace after it; answers the index after op.
std::size_t ExprFormatter::Run::binaryOperator(std::size_t op, std::size_t end)
{
    const std::int32_t t = m_Tokens[op].type();
    CORVALE_CHECK_TEXT(isOpType(t) || t == Cpp::COMMA || m_Formatter.forcesUnaryAfter(t),
                       "isOpType(op.type()) || (op.type() == Cpp::COMMA) || forcesUnaryAfter(op.type())");
    const std::int32_t next = type(op + 1, end);
    copyThrough(op);
    if (t == Cpp::PLUS_PLUS || t == Cpp::MINUS_MINUS || next == Trn::END_OF_FILE ||
        next == Cpp::PREPROCESSOR || next == Cpp::SL_COMMENT || next == Cpp::ML_COMMENT ||
        next == Cpp::ML_COMMENT_UNPARSED) {
        if (next != Trn::END_OF_FILE)
            copyUpTo(op + 1);
        return op + 1;
    }
    const std::string& ws = m_S.m_WsBetweenExprOpOperands;
    putFill(ws);
    if (ws.empty() && t == Cpp::EQUALS && isOpType(next))
        putFill(" ");
    putLtrimmed(gapBefore(op + 1));
    return op + 1;
}

// "=": a binary operator; before a "{" the start of a brace initialiser.
std::size_t ExprFormatter::Run::equalsOperator(std::size_t op, std::size_t end)
{
    CORVALE_CHECK_TEXT(m_Tokens[op].type() == Cpp::EQUALS, "first->type() == Cpp::EQUALS");
    const std::size_t j = nextSignificant(op + 1, end);
    if (type(j, end) == Cpp::LBRACE && closer(j, end) != NONE) {
        copyThrough(op);
        formatRange(op + 1, j);
        putTrimmed(gapBefore(j));
        putFill(m_S.m_WsBeforeDdOpenBrace);
        return braceInitializer(j, end);
    }
    return binaryOperator(op, end);
}

std::size_t ExprFormatter::Run::unaryRule(std::size_t i, std::size_t end)
{
    CORVALE_CHECK_TEXT(i < end, "first != last");
    CORVALE_CHECK_TEXT(isUnaryOpType(m_Tokens[i].type()), "isUnaryOpType(first->type())");
    // A run of prefix operators keeps its own spacing.
    while (i + 1 < end && isUnaryOpType(m_Tokens[i + 1].type())) {
        copyThrough(i);
        ++i;
    }
    copyThrough(i);
    if (i + 1 >= end || isCommentOrDirective(m_Tokens[i + 1].type()))
        return i + 1;
    putLtrimmed(gapBefore(i + 1));
    putFill(m_S.m_WsBetweenUnaryOpOperand);
    return i + 1;
}

// A type part at i followed by a run of '*' / '&' (and '&&').
std::size_t ExprFormatter::Run::declaratorRule(std::size_t i, std::size_t end)
{
    CORVALE_CHECK_TEXT(i + 1 < end && (isPtrType(m_Tokens[i + 1].type()) || m_Tokens[i + 1].type() == Cpp::AND_AND),
                       "isPtrType(boost::next(first)->type())");
    const bool star = m_Tokens[i + 1].type() == Cpp::STAR;
    const Stylist::Anchor anchor = star ? m_S.m_AsteriskAnchor : m_S.m_AmpersandAnchor;
    const std::string& anchorWs = star ? m_S.m_WsBetweenAsteriskAnchor : m_S.m_WsBetweenAmpersandAnchor;
    std::size_t runEnd = i + 1;
    while (runEnd < end && (isPtrType(m_Tokens[runEnd].type()) || m_Tokens[runEnd].type() == Cpp::AND_AND))
        ++runEnd;
    const bool afterComma = m_Tokens[i].type() == Cpp::COMMA;
    writeOperand(i);
    if (anchor == Stylist::Anchor::AS_WRITTEN) {
        for (std::size_t k = i + 1; k < runEnd; ++k)
            copyThrough(k);
        return runEnd;
    }
    // What follows the run: a declared name (or a qualifier before it)
    // takes the name gap; a closer or an operator does not.
    const std::int32_t after = type(runEnd, end);
    const bool named = after == Cpp::IDENTIFIER || after == Cpp::CONST_KEY || after == Cpp::VOLATILE_KEY ||
                       after == Cpp::OPERATOR_KEY || after == Cpp::LPAREN ||
                       (after == Cpp::LBRACKET && opensBinding(runEnd));
    // Without a name gap given (an expression), the gap is one blank where
    // the source had blanks around the run, so that 'int *p' in a for
    // head becomes 'int* p' and not 'int*p'.
    auto adjacent = [this](std::size_t a, std::size_t b) {
        const Trn::Location& e = m_Tokens[a].end();
        const Trn::Location& s = m_Tokens[b].start();
        return e.line() == s.line() && e.col() + 1 == s.col();
    };
    const bool sourceBlank = !adjacent(i, i + 1) || (runEnd < end && !adjacent(runEnd - 1, runEnd));
    const std::string nameGap =
        m_Formatter.m_HasNameGap ? m_Formatter.m_NameGap : std::string(sourceBlank ? " " : "");
    auto writeRun = [&] {
        for (std::size_t k = i + 1; k < runEnd; ++k) {
            putTrimmed(gapBefore(k));
            copyThrough(k);
        }
    };
    if (afterComma) {
        // A further declarator: the run stands against its name.
        copyUpTo(i + 1);
        writeRun();
        if (named) {
            putTrimmed(gapBefore(runEnd));
            putFill(anchorWs);
        }
        return runEnd;
    }
    if (anchor == Stylist::Anchor::TO_NAME && nameGap.find('\n') == std::string::npos) {
        putTrimmed(gapBefore(i + 1));
        putFill(nameGap);
        writeRun();
        if (named) {
            putTrimmed(gapBefore(runEnd));
            putFill(anchorWs);
        }
        return runEnd;
    }
    putTrimmed(gapBefore(i + 1));
    putFill(anchorWs);
    writeRun();
    if (named) {
        putTrimmed(gapBefore(runEnd));
        putFill(nameGap);
    }
    return runEnd;
}

// ---- brackets ----------------------------------------------------------------------

// Writes the opener at i, its content and the whitespace before its
// closer; answers the closer's index, so that the closer is dispatched as
// an operand (what follows it is then an operator after an operand).
std::size_t ExprFormatter::Run::bracketRule(std::size_t i, std::size_t end, const std::string& afterOpen,
                                            const std::string& beforeClose, const std::string& beforeComma,
                                            const std::string& afterComma)
{
    const std::size_t close = closer(i, end);
    if (close == NONE)
        return copyRest(i, end);
    if (m_Depth >= MAX_DEPTH) {
        for (std::size_t k = i; k < close; ++k)
            copyThrough(k);
        return close;
    }
    ScopedValue<int> depth(m_Depth, m_Depth + 1);
    copyThrough(i);
    const std::size_t first = nextSignificant(i + 1, close);
    if (first == close) {
        // An empty pair, perhaps with comments: nothing configured inside.
        for (std::size_t k = i + 1; k < close; ++k) {
            putTrimmed(gapBefore(k));
            if (m_Tokens[k].type() == Cpp::PREPROCESSOR)
                preprocessorRule(k);
            else
                copyThrough(k);
        }
        putLtrimmed(gapBefore(close));
        return close;
    }
    // Comments and directives right after the opener keep their place.
    for (std::size_t k = i + 1; k < first; ++k) {
        if (m_Tokens[k].type() == Cpp::PREPROCESSOR) {
            preprocessorRule(k);
        } else {
            copyUpTo(k);
            copyThrough(k);
        }
    }
    putRtrimmed(gapBefore(first));
    putFill(afterOpen);
    const int argColumn = m_AlignNextArgs ? m_Out.col() : -1;
    m_AlignNextArgs = false;
    ScopedValue<int> column(m_ArgColumn, argColumn);
    formatList(first, close, beforeComma, afterComma, false);
    putRtrimmed(gapBefore(close));
    // A ">" written directly after the ">" of an inner list is the second
    // half of one ">>" token: nothing goes between them.
    const Trn::Location& innerEnd = m_Tokens[close - 1].end();
    const Trn::Location& closeStart = m_Tokens[close].start();
    const bool shiftToken = m_Tokens[close].type() == Cpp::GREATER && m_Tokens[close - 1].lastChar() == '>' &&
                            innerEnd.line() == closeStart.line() && innerEnd.col() + 1 == closeStart.col();
    // The inner list of a '>>' leaves the blank before it to the outer one.
    const bool innerOfShift = m_Tokens[close].type() == Cpp::SHIFT_RIGHT && m_Match[close] == i;
    if (!shiftToken && !innerOfShift)
        putFill(beforeClose);
    return close;
}

// The elements of a list between top-level commas, each formatted as an
// expression of its own. A line break after a comma in the source is kept
// when the after-comma string holds none, so that lists written one
// element per line stay so.
void ExprFormatter::Run::formatList(std::size_t begin, std::size_t end, const std::string& beforeComma,
                                    const std::string& afterComma, bool braces)
{
    std::size_t element = begin;
    std::size_t k = begin;
    // The call's argument column applies to this list only, not to lists
    // nested in its elements.
    const int argColumn = m_ArgColumn;
    ScopedValue<int> inner(m_ArgColumn, -1);
    auto formatElement = [&](std::size_t a, std::size_t b) {
        const std::size_t f = nextSignificant(a, b);
        if (braces && f < b && m_Tokens[f].type() == Cpp::LBRACE && closer(f, b) != NONE) {
            formatRange(a, f);
            const std::size_t close = braceInitializer(f, b);
            formatRange(close, b);
        } else {
            formatRange(a, b);
        }
    };
    while (k < end) {
        const std::int32_t t = m_Tokens[k].type();
        if (isOpener(t) && closer(k, end) != NONE) {
            k = closer(k, end) + 1;
            continue;
        }
        // The commas of a list closed by a '>>' are that list's own
        // ('A<B<const C&, D>>'): the lexer left it unfolded.
        if (t == Cpp::LESS && closer(k, end) != NONE && m_Tokens[closer(k, end)].type() == Cpp::SHIFT_RIGHT) {
            k = closer(k, end) + 1;
            continue;
        }
        if (t != Cpp::COMMA) {
            ++k;
            continue;
        }
        formatElement(element, k);
        putRtrimmed(gapBefore(k));
        putFill(beforeComma);
        copyThrough(k);
        element = k + 1;
        if (element < end && m_Tokens[element].type() != Cpp::PREPROCESSOR) {
            const std::string gap = gapBefore(element);
            const bool lastEmpty = nextSignificant(element, end) == end && element == end;
            if (!lastEmpty) {
                if (gap.find('\n') != std::string::npos && afterComma.find('\n') == std::string::npos &&
                    !isComment(m_Tokens[element].type()) && argColumn >= 0)
                    alignedBreak(argColumn);
                else if (gap.find('\n') != std::string::npos && afterComma.find('\n') == std::string::npos &&
                         !isComment(m_Tokens[element].type()))
                    keptBreak(gap, &afterComma != &m_S.m_WsBetweenTpParams);
                else
                    putFill(afterComma);
            }
            putLtrimmed(gap);
        }
        ++k;
    }
    formatElement(element, end);
}

// A line break kept after a comma. Its continuation keeps its offset from
// the text's first character when the source column of that character is
// known; else (or when that would pass left of the indentation) it starts
// at the indentation.
void ExprFormatter::Run::keptBreak(const std::string& gap, bool shift)
{
    putFill("\n");
    if (!m_HasShift || !shift)
        return; // template argument lists start their continuations at the indentation
    if (gap.find_first_not_of(" \t\r\n") != std::string::npos)
        return; // a comment around the break: laid out as before
    const std::string lead = gap.substr(gap.rfind('\n') + 1);
    // Inside braces indented by the keys the indentation is wider: a
    // continuation left of it starts at it, one right of it (where the line
    // wrapper put it, under the "{") keeps its place.
    const int indentWidth = Stylist::textWidth(m_Out.indent(), 0, m_Out.state().tabSize);
    const int width = Stylist::textWidth(lead, 0, m_Out.state().tabSize) + m_Shift;
    if (width <= indentWidth)
        return;
    emit(Stylist::whitespaceOfWidth(m_Out, width), false, false, true);
}

void ExprFormatter::Run::alignedBreak(int column)
{
    putFill("\n");
    if (column > Stylist::textWidth(m_Out.indent(), 0, m_Out.state().tabSize))
        emit(Stylist::whitespaceOfWidth(m_Out, column), false, false, true);
}

// Braces inside an expression (a lambda body, a braced temporary): the
// blanks inside the braces stay as written, the content is formatted as a
// list with the call comma strings. Answers the index of "}".
std::size_t ExprFormatter::Run::braceGroup(std::size_t i, std::size_t end)
{
    const std::size_t close = closer(i, end);
    if (close == NONE)
        return copyRest(i, end);
    if (m_Depth >= MAX_DEPTH) {
        for (std::size_t k = i; k < close; ++k)
            copyThrough(k);
        return close;
    }
    ScopedValue<int> depth(m_Depth, m_Depth + 1);
    copyThrough(i);
    if (i + 1 < close)
        formatList(i + 1, close, m_S.m_WsBeforeFnCallComma, m_S.m_WsBetweenFnCallArgs, false);
    copyUpTo(close);
    return close;
}

// A brace initialiser: its elements at the indentation widened by
// INDENT_DD_CONTENT; nested braces alike. Answers the index of "}".
std::size_t ExprFormatter::Run::braceInitializer(std::size_t i, std::size_t end)
{
    const std::size_t close = closer(i, end);
    if (close == NONE)
        return copyRest(i, end);
    if (m_Depth >= MAX_DEPTH) {
        for (std::size_t k = i; k < close; ++k)
            copyThrough(k);
        return close;
    }
    ScopedValue<int> depth(m_Depth, m_Depth + 1);
    copyThrough(i);
    const std::size_t first = nextSignificant(i + 1, close);
    if (first == close && first == i + 1) {
        putLtrimmed(gapBefore(close));
        return close;
    }
    {
        Corvale::ScopedIndent indent(m_Out, m_Out.indent() + m_S.m_IndentDdContent);
        if (first > i + 1 && isComment(m_Tokens[i + 1].type())) {
            // A comment right after "{" stays on the brace's line.
            copyUpTo(i + 1);
        } else {
            putRtrimmed(gapBefore(i + 1));
            putFill(m_S.m_WsAfterDdOpenBrace);
        }
        formatList(i + 1, close, m_S.m_WsBeforeDdComma, m_S.m_WsBetweenDdElements, true);
        putRtrimmed(gapBefore(close));
    }
    putFill(m_S.m_WsBeforeDdCloseBrace);
    return close;
}

std::size_t ExprFormatter::Run::callRule(std::size_t i, std::size_t end)
{
    CORVALE_CHECK_TEXT(m_Tokens[i].type() == Cpp::LPAREN, "first->type() == Cpp::LPAREN");
    putRtrimmed(gapBefore(i));
    putFill(m_S.m_WsAfterFnCallName);
    ScopedValue<bool> args(m_Formatter.m_ArgumentList, true);
    ScopedValue<bool> align(m_AlignNextArgs, m_S.m_AlignFnCallArgsLeft);
    return bracketRule(i, end, m_S.m_WsAfterExprOpenParen, m_S.m_WsBeforeExprCloseParen, m_S.m_WsBeforeFnCallComma,
                       m_S.m_WsBetweenFnCallArgs);
}

// After a parenthesised group whose ")" is at close: a cast when its
// content looks like a type and an operand follows.
std::size_t ExprFormatter::Run::parenthesisedCast(std::size_t open, std::size_t close, std::size_t end)
{
    CORVALE_CHECK_TEXT(close + 1 < end, "first != last");
    CORVALE_CHECK_TEXT(open != close, "first != last");
    CORVALE_CHECK_TEXT(m_Tokens[open].type() == Cpp::LPAREN, "first->type() == Cpp::LPAREN");
    if (close == open + 1)
        return close;
    const std::size_t last = close - 1;
    bool cast = isUnaryOpType(m_Tokens[last].type());
    if (!cast) {
        cast = true;
        for (std::size_t k = open + 1; k < last && cast; ++k)
            cast = isOpType(m_Tokens[k].type());
    }
    if (!cast)
        return close;
    // Comments between ")" and the operand stay; directives end the cast.
    std::size_t operand = close + 1;
    while (operand < end && isComment(m_Tokens[operand].type()))
        ++operand;
    const std::int32_t next = type(operand, end);
    switch (next) {
    case Cpp::CHAR_LITERAL:
    case Cpp::NUMBER_LITERAL:
    case Cpp::STRING_LITERAL:
    case Cpp::LPAREN:
    case Cpp::IDENTIFIER:
    case Cpp::STAR:
    case Cpp::AMPERSAND:
        break;
    default:
        return close;
    }
    copyThrough(close);
    formatRange(close + 1, operand);
    putRtrimmed(gapBefore(operand));
    putFill(m_S.m_WsBetweenCastOperand);
    return operand;
}

std::size_t ExprFormatter::Run::castKeywordRule(std::size_t i, std::size_t end)
{
    CORVALE_CHECK_TEXT(isCastKeyword(m_Tokens[i].type()),
                       "first->type() == Cpp::CONST_CAST_KEY || first->type() == Cpp::DYNAMIC_CAST_KEY || "
                       "first->type() == Cpp::REINTERPRET_CAST_KEY || first->type() == Cpp::STATIC_CAST_KEY");
    copyThrough(i);
    std::size_t k = nextSignificant(i + 1, end);
    formatRange(i + 1, k);
    if (type(k, end) == Cpp::LESS && closer(k, end) != NONE) {
        std::size_t close;
        {
            ScopedValue<bool> mode(m_Formatter.m_DeclarationMode, true);
            ScopedValue<std::string> gap(m_Formatter.m_NameGap, m_S.m_WsBetweenAsteriskAnchor);
                ScopedValue<bool> hasGap(m_Formatter.m_HasNameGap, true);
            close = bracketRule(k, end, m_S.m_WsAfterTpOpenBracket, m_S.m_WsBeforeTpCloseBracket,
                                m_S.m_WsBeforeFnCallComma, m_S.m_WsBetweenFnCallArgs);
        }
        copyThrough(close);
        k = nextSignificant(close + 1, end);
        formatRange(close + 1, k);
    }
    if (type(k, end) == Cpp::LPAREN) {
        putRtrimmed(gapBefore(k));
        putFill(m_S.m_WsBetweenCastOperand);
        ScopedValue<bool> args(m_Formatter.m_ArgumentList, true);
        return bracketRule(k, end, m_S.m_WsAfterExprOpenParen, m_S.m_WsBeforeExprCloseParen,
                           m_S.m_WsBeforeFnCallComma, m_S.m_WsBetweenFnCallArgs);
    }
    return k;
}

// A template argument list at the "<" less: answers the index of its ">".
std::size_t ExprFormatter::Run::templateArgumentRule(std::size_t less, std::size_t end)
{
    const std::int32_t lType = m_Tokens[less].type();
    CORVALE_CHECK_TEXT(lType == Cpp::LESS && closer(less, end) != NONE,
                       "(lType == Cpp::IDENTIFIER || lType == Cpp::CLASS_KEY || lType == Cpp::STRUCT_KEY || "
                       "lType == Cpp::TYPENAME_KEY || lType == LTYPE) && (lType == LTYPE || rType == LTYPE)");
    ScopedValue<bool> mode(m_Formatter.m_DeclarationMode, true);
    ScopedValue<std::string> gap(m_Formatter.m_NameGap, m_S.m_WsBetweenAsteriskAnchor);
    ScopedValue<bool> hasGap(m_Formatter.m_HasNameGap, true);
    ScopedValue<bool> args(m_Formatter.m_ArgumentList, false);
    return bracketRule(less, end, m_S.m_WsAfterTpOpenBracket, m_S.m_WsBeforeTpCloseBracket, std::string(),
                       m_S.m_WsBetweenTpParams);
}

// 'operator' and the operator it names are written as they stand; a call
// follows as for any name.
std::size_t ExprFormatter::Run::operatorKeyword(std::size_t i, std::size_t end)
{
    copyThrough(i);
    std::size_t k = i + 1;
    const std::int32_t t = type(k, end);
    if ((t == Cpp::LPAREN || t == Cpp::LBRACKET) && type(k + 1, end) == (t == Cpp::LPAREN ? Cpp::RPAREN : Cpp::RBRACKET)) {
        copyThrough(k);
        copyThrough(k + 1);
        k += 2;
    } else if (t != Trn::END_OF_FILE && t != Cpp::LPAREN && !isCommentOrDirective(t) &&
               (isOpType(t) || (t >= Cpp::COMMA && t <= Cpp::ARROW_STAR) || t == Cpp::NEW_KEY ||
                t == Cpp::DELETE_KEY)) {
        copyThrough(k);
        ++k;
    }
    if (type(k, end) == Cpp::LPAREN)
        return callRule(k, end);
    return k;
}

std::size_t ExprFormatter::Run::stringRun(std::size_t i, std::size_t end)
{
    CORVALE_CHECK_TEXT(m_Tokens[i].type() == Cpp::STRING_LITERAL, "first->type() == Cpp::STRING_LITERAL");
    CORVALE_CHECK_TEXT(type(i + 1, end) == Cpp::STRING_LITERAL, "boost::next(first)->type() == Cpp::STRING_LITERAL");
    while (type(i + 1, end) == Cpp::STRING_LITERAL) {
        copyThrough(i);
        if (m_S.m_GlobalLineWrap) {
            const std::string gap = gapBefore(i + 1);
            putFill(" ");
            putLtrimmed(gap);
        } else {
            copyUpTo(i + 1);
        }
        ++i;
    }
    return i;
}

void ExprFormatter::Run::preprocessorRule(std::size_t i)
{
    const Tok& t = m_Tokens[i];
    // The gap through its last line break is copied; the blanks that begin
    // the directive's line are the directive's own.
    const std::string gap = gapBefore(i);
    const std::size_t nl = gap.rfind('\n');
    std::string lead = gap;
    if (nl != std::string::npos) {
        putSource(gap.substr(0, nl + 1));
        lead = gap.substr(nl + 1);
    }
    // A directive must begin its own line.
    if (m_LineHasText) {
        putFill("\n");
        lead = ltrim(lead);
    }
    if (!m_Formatter.hasAlignPpdLeftMost()) {
        emit(lead + Stylist::readThrough(m_In, t.end()), true, true, true);
        m_LastTokenType = t.type();
        return;
    }
    m_Out.flush();
    if (m_Formatter.alignPpdLeftMost()) {
        Corvale::ScopedIndent margin(m_Out, m_Formatter.leftMargin());
        m_Formatter.writeMultiLine(t.start(), t.end(), m_In, m_Out);
    } else {
        m_Formatter.writeMultiLine(t.start(), t.end(), m_In, m_Out);
    }
    afterDirectWrite(i);
}

void ExprFormatter::Run::writeOperand(std::size_t i)
{
    if (m_Tokens[i].type() == Cpp::IDENTIFIER)
        identifierRule(i);
    else if (m_Tokens[i].type() == Cpp::PREPROCESSOR)
        preprocessorRule(i);
    else
        copyThrough(i);
}

// The end of the template argument list that opens at text[lt]: the ">"
// that brings the count of "<" and ">" outside parentheses back to zero
// (the way the lexer delimits the lists of a template-id), or npos.
namespace {
std::size_t templateListEnd(const std::string& text, std::size_t lt)
{
    int angles = 0;
    int parens = 0;
    for (std::size_t k = lt; k < text.size(); ++k) {
        switch (text[k]) {
        case '(':
            ++parens;
            break;
        case ')':
            if (parens > 0)
                --parens;
            break;
        case '<':
            if (parens == 0)
                ++angles;
            break;
        case '>':
            if (parens == 0 && --angles == 0)
                return k;
            break;
        default:
            break;
        }
    }
    return std::string::npos;
}
// Whether the ">" at text[gt] of the list opening at text[lt] stands on a
// preprocessor line that begins inside the list.
bool closesOnDirectiveLine(const std::string& text, std::size_t lt, std::size_t gt)
{
    std::size_t p = gt;
    while (p > lt && text[p - 1] != '\n')
        --p;
    if (p == lt)
        return false;
    while (p < gt && isBlank(text[p]))
        ++p;
    return text[p] == '#';
}
} // namespace

// A name copied as written; a template-id with each of its argument lists
// re-spaced as an expression of its own, and its names and qualified tail
// kept. The characters around each list stay as they were, so the text
// still lexes as the same one name.
void ExprFormatter::Run::identifierRule(std::size_t i)
{
    const Tok& t = m_Tokens[i];
    CORVALE_CHECK_TEXT(t.type() == Cpp::IDENTIFIER, "t.type() == Cpp::IDENTIFIER");
    if (!t.hasLess()) {
        copyThrough(i);
        return;
    }
    copyUpTo(i);
    const std::string src = Stylist::readThrough(m_In, t.end());
    if (m_Depth >= MAX_TEMPLATE_DEPTH) {
        putSource(src);
        m_LastTokenType = t.type();
        return;
    }
    std::size_t done = 0;
    std::size_t lt = src.find('<');
    while (lt != std::string::npos) {
        const std::size_t gt = templateListEnd(src, lt);
        if (gt == std::string::npos)
            break;
        // Searches stay within the list, so a long name of many lists is
        // read once.
        const char odds[] = "\\\"'";
        const bool odd = std::find_first_of(src.begin() + lt, src.begin() + gt, odds, odds + 3) !=
                         src.begin() + gt;
        if (odd || closesOnDirectiveLine(src, lt, gt)) {
            // A line splice or a literal inside the list: kept as written
            // (the lexer delimits the list without regard to quotes). So is
            // a list whose ">" stands on a directive's line: a comparison
            // inside an "#if" the lexer took for the list's end.
            emit(src.substr(done, gt + 1 - done), true, true);
            done = gt + 1;
            lt = src.find('<', done);
            continue;
        }
        emit(src.substr(done, lt + 1 - done), true, true);
        // The arguments, without the blanks around them, formatted on
        // their own.
        std::size_t b = lt + 1, e = gt;
        while (b < e && isBlank(src[b]))
            ++b;
        while (e > b && isBlank(src[e - 1]))
            --e;
        // A ">>" that closes this list and the one inside it is one token
        // as written: the two ">" stay together, without the whitespace
        // before a closing bracket, so no token is split.
        const bool closesTwo = e == gt && src[gt - 1] == '>';
        if (b < e) {
            putFill(m_S.m_WsAfterTpOpenBracket);
            m_Out.flush();
            std::string list;
            bool endsLine = false;
            {
                ScopedValue<bool> mode(m_Formatter.m_DeclarationMode, true);
                ScopedValue<std::string> gap(m_Formatter.m_NameGap, m_S.m_WsBetweenAsteriskAnchor);
                ScopedValue<bool> hasGap(m_Formatter.m_HasNameGap, true);
                ScopedValue<bool> args(m_Formatter.m_ArgumentList, false);
                ScopedValue<int> column(m_Formatter.m_SourceColumn, sourceColumnIn(i, src, b));
                // The nested run reads its text where it lies: it must
                // outlive the run.
                const std::string arguments = src.substr(b, e - b);
                Run nested(m_Formatter, arguments, m_Out.state(), m_Depth + 1);
                list = nested.formatList();
                endsLine = nested.endsWithLineEnd();
            }
            emit(list, false, closesTwo, true);
            // A list that ends with a directive (or a line comment) before a
            // line break keeps that line break: the ">" may not join the
            // directive's line. Where no line break was written, the ">"
            // stands on the directive's own line (a comparison inside an
            // "#if" the lexer took for the list's end) and stays there.
            if (endsLine && std::find(src.begin() + e, src.begin() + gt, '\n') != src.begin() + gt)
                putFill("\n");
            else if (!closesTwo)
                putFill(m_S.m_WsBeforeTpCloseBracket);
        }
        emit(">", closesTwo, true);
        done = gt + 1;
        lt = src.find('<', done);
    }
    emit(src.substr(done), true, true);
    m_LastTokenType = t.type();
}

// The source column of src[b], src being the text of the template-id at
// token i; -1 when the text's source column is unknown.
int ExprFormatter::Run::sourceColumnIn(std::size_t i, const std::string& src, std::size_t b) const
{
    const auto at = std::lower_bound(m_TemplateColumns.begin(), m_TemplateColumns.end(), i,
                                     [](const std::pair<std::size_t, int>& c, std::size_t k) { return c.first < k; });
    if (at == m_TemplateColumns.end() || at->first != i)
        return -1;
    const std::size_t nl = src.rfind('\n', b);
    const std::size_t from = nl == std::string::npos ? 0 : nl + 1;
    const int start = nl == std::string::npos ? at->second : 0;
    return Stylist::textWidth(src.substr(from, b - from), start, m_Out.state().tabSize) + start;
}

std::size_t ExprFormatter::Run::copyRest(std::size_t i, std::size_t end)
{
    for (std::size_t k = i; k < end; ++k) {
        if (m_Tokens[k].type() == Cpp::PREPROCESSOR)
            preprocessorRule(k);
        else
            copyThrough(k);
    }
    return end;
}

// ---- reading and writing ---------------------------------------------------------

std::string ExprFormatter::Run::gapBefore(std::size_t i)
{
    const Trn::Location& start = m_Tokens[i].start();
    if (!(Trn::Location(m_In.line(), m_In.col()) < start))
        return std::string();
    return Stylist::readUpTo(m_In, start);
}

void ExprFormatter::Run::copyUpTo(std::size_t i)
{
    const Trn::Location& start = m_Tokens[i].start();
    // Nothing to read leaves the output as it is.
    if (!(Trn::Location(m_In.line(), m_In.col()) < start))
        return;
    Stylist::readUpTo(m_In, start, m_Read);
    putSource(m_Read);
}

void ExprFormatter::Run::copyThrough(std::size_t i)
{
    const Tok& t = m_Tokens[i];
    copyUpTo(i);
    if (!(Trn::Location(m_In.line(), m_In.col()) < t.end()))
        return;
    Stylist::readThrough(m_In, t.end(), m_Read);
    const std::string& text = m_Read;
    // Verbatim regions, and literals that span lines, keep their lines
    // exactly: no indentation is added to or dropped from them.
    const bool raw = t.type() == Cpp::ML_COMMENT_UNPARSED ||
                     ((t.type() == Cpp::STRING_LITERAL || t.type() == Cpp::CHAR_LITERAL) &&
                      t.end().line() != t.start().line());
    emit(text, true, true, raw);
    m_LastTokenType = t.type();
}

void ExprFormatter::Run::putSource(const std::string& text) { emit(text, true, true); }

// An empty fill, or a trim that drops nothing, leaves the output
// continuing the source as it was.
void ExprFormatter::Run::putFill(const std::string& ws)
{
    if (!ws.empty())
        emit(ws, false, false);
}

void ExprFormatter::Run::putLtrimmed(const std::string& gap)
{
    const std::string t = ltrim(gap);
    emit(t, t.size() == gap.size(), true);
}

void ExprFormatter::Run::putRtrimmed(const std::string& gap)
{
    const std::string t = rtrim(gap);
    emit(t, true, t.size() == gap.size());
}

void ExprFormatter::Run::putTrimmed(const std::string& gap)
{
    const std::string r = rtrim(gap);
    const std::string t = ltrim(r);
    emit(t, t.size() == r.size(), r.size() == gap.size());
}

bool ExprFormatter::Run::glues(char next, char afterNext) const
{
    const char last = m_Last;
    if (isBlank(last) || isBlank(next))
        return false;
    // A name directly before "<" may be lexed as a template-id (never after
    // a keyword), and a name or ">" directly before "::" as a qualified
    // name.
    if (isWordChar(last) && next == '<' && afterNext != '<' && !Cpp::isKeywordType(m_LastTokenType))
        return true;
    if ((isWordChar(last) || last == '>') && next == ':' && afterNext == ':')
        return true;
    // A template-id goes on with whatever name characters or further
    // argument list follow it directly.
    if (last == '>' && m_LastTokenType == Cpp::IDENTIFIER && (isWordChar(next) || next == '<'))
        return true;
    if (isWordChar(last) && (isWordChar(next) || next == '"' || next == '\''))
        return true;
    if ((last == '"' || last == '\'') && isWordChar(next))
        return true;
    // '~' before a letter lexes as a destructor-like name.
    if (last == '~' && isWordChar(next) && !std::isdigit(static_cast<unsigned char>(next)))
        return true;
    if ((std::isdigit(static_cast<unsigned char>(last)) && next == '.') ||
        (last == '.' && std::isdigit(static_cast<unsigned char>(next))))
        return true;
    if (m_LastTokenType == Cpp::NUMBER_LITERAL && (next == '+' || next == '-') &&
        (last == 'e' || last == 'E' || last == 'p' || last == 'P'))
        return true;
    if (m_BeforeLast == '-' && last == '>' && next == '*')
        return true;
    for (const char* pair : GLUED_PAIRS)
        if (pair[0] == last && pair[1] == next)
            return true;
    return false;
}

void ExprFormatter::Run::emit(const std::string& text, bool startContiguous, bool endContiguous, bool raw)
{
    if (text.empty()) {
        m_Contiguous = m_Contiguous && startContiguous && endContiguous;
        return;
    }
    const bool joined = startContiguous && m_Contiguous;
    if (!joined && glues(text[0], text.size() > 1 ? text[1] : '\0'))
        m_Out << ' ';
    if (!joined && m_Splice && text.find('\n') < text.find_first_not_of(" \t\n\r\v\f")) {
        // A stray backslash would become a line splice before a line break
        // that was not there: the break becomes a blank.
        std::string t = text;
        for (std::size_t k = 0; k < t.size() && isBlank(t[k]); ++k)
            if (t[k] == '\n')
                t[k] = ' ';
        m_Contiguous = true;
        emit(t, false, endContiguous, raw);
        return;
    }
    if (raw)
        Stylist::writeRaw(m_Out, text);
    else
        putText(text);
    // Whether the output now ends with a backslash and blanks.
    for (std::size_t k = text.size(); k-- > 0;) {
        if (text[k] != '\n' && isBlank(text[k]))
            continue;
        m_Splice = text[k] == '\\';
        break;
    }
    const std::size_t n = text.size();
    m_Last = text[n - 1];
    m_BeforeLast = n > 1 ? text[n - 2] : m_Last;
    const std::size_t nl = text.rfind('\n');
    if (nl == std::string::npos) {
        m_LineHasText = m_LineHasText || hasNonBlank(text, 0);
    } else {
        m_LineHasText = hasNonBlank(text, nl + 1);
    }
    m_Contiguous = endContiguous;
}

void ExprFormatter::Run::putText(const std::string& text)
{
    // Straight to the buffer, as the stream's write would once its checks
    // pass: a failed stream writes nothing, a short write fails it.
    const std::streamsize n = static_cast<std::streamsize>(text.size());
    if (m_Out.good() && m_Out.rdbuf()->sputn(text.data(), n) != n)
        m_Out.setstate(std::ios_base::badbit);
}

void ExprFormatter::Run::afterDirectWrite(std::size_t i)
{
    m_Last = m_Tokens[i].lastChar();
    m_BeforeLast = m_Last;
    m_LineHasText = m_Out.col() > static_cast<int>(m_Out.indent().size()) && m_Last != '\n';
    m_Contiguous = true;
    m_LastTokenType = m_Tokens[i].type();
}

} // namespace StylistCpp
