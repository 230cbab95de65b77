// StylistCpp::Formatter: braced bodies, comma-separated lists, and the
// visits of declarations and classes.
#include "StylistCpp_Formatter.h"

#include "Cpp.h"
#include "Cpp_CompositeNode.h"
#include "Cpp_InteriorNode.h"
#include "Cpp_LeafNode.h"
#include "Stylist.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace StylistCpp {

namespace {

bool isCommentOrDirective(const Cpp::SyntaxNode* p)
{
    return Cpp::isA<Cpp::CommentNode>(p) || Cpp::isA<Cpp::PreprocDirectiveNode>(p);
}

// Whether the text before a function's name holds specifiers only
// ('virtual', 'explicit', 'inline', attributes) and so no return type: a
// constructor's, a destructor's or a conversion function's.
bool specifiersOnly(const Formatter::Pieces& pieces)
{
    static const char* const SPECIFIERS[] = {"virtual", "explicit",  "inline", "static",   "constexpr", "consteval",
                                             "friend",  "constinit", "extern", "__inline", "__forceinline"};
    int brackets = 0;
    bool any = false;
    for (const Formatter::Piece& p : pieces) {
        if (p.m_Kind != Formatter::Piece::TOKEN)
            continue;
        any = true;
        if (p.m_Type == Cpp::LBRACKET) {
            ++brackets;
            continue;
        }
        if (p.m_Type == Cpp::RBRACKET) {
            --brackets;
            continue;
        }
        if (brackets > 0)
            continue; // inside an attribute
        if (std::find_if(std::begin(SPECIFIERS), std::end(SPECIFIERS),
                         [&](const char* w) { return p.m_Text == w; }) == std::end(SPECIFIERS))
            return false;
    }
    return any;
}

// The last character of the pieces that is not whitespace; 0 when none.
char lastNonSpace(const Formatter::Pieces& pieces)
{
    for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) {
        if (it->m_Kind == Formatter::Piece::SPACE || it->m_Kind == Formatter::Piece::KEY)
            continue;
        auto c = std::find_if(it->m_Text.rbegin(), it->m_Text.rend(),
                              [](char ch) { return ch != ' ' && ch != '\t' && ch != '\n' && ch != '\r'; });
        if (c != it->m_Text.rend())
            return *c;
    }
    return 0;
}

// Whether a further declarator of a data declaration starts with its name
// or with the signs before it ("*q = a*b", "&r = x", "n[4]"): its signs are
// prefix operators and its initialiser an expression, so it is re-spaced as
// one, as the first declarator's name and initialiser are. Other forms (a
// parenthesised declarator of a pointer to function) keep the declaration
// rules.
bool startsPlainDeclarator(const Formatter::Pieces& pieces)
{
    for (const Formatter::Piece& p : pieces) {
        if (p.m_Kind != Formatter::Piece::TOKEN)
            continue;
        if (p.m_Type == Cpp::SL_COMMENT || p.m_Type == Cpp::ML_COMMENT || p.m_Type == Cpp::STAR ||
            p.m_Type == Cpp::AMPERSAND || p.m_Type == Cpp::AND_AND)
            continue;
        return p.m_Type == Cpp::IDENTIFIER;
    }
    return false;
}

bool startsOrEndsWithLineEnder(const Formatter::Pieces& pieces)
{
    auto isEnder = [](const Formatter::Piece& p) {
        return p.m_Kind == Formatter::Piece::TOKEN && (p.m_Type == Cpp::SL_COMMENT || p.m_Type == Cpp::PREPROCESSOR);
    };
    auto first = std::find_if(pieces.begin(), pieces.end(),
                              [](const Formatter::Piece& p) { return p.m_Kind != Formatter::Piece::SPACE; });
    auto last = std::find_if(pieces.rbegin(), pieces.rend(),
                             [](const Formatter::Piece& p) { return p.m_Kind != Formatter::Piece::SPACE; });
    return (first != pieces.end() && isEnder(*first)) || (last != pieces.rend() && isEnder(*last));
}

// Newlines become blanks, trailing whitespace goes: a type written on one
// line so that the name after it can be aligned.
void joinLines(Formatter::Pieces& pieces)
{
    for (Formatter::Piece& p : pieces)
        if (p.m_Kind == Formatter::Piece::SPACE && p.m_Text.find('\n') != std::string::npos)
            p.m_Text = " ";
}

} // namespace

// ---- braced bodies ----------------------------------------------------------

void Formatter::writeChildren(Cpp::InteriorNode& body)
{
    const std::size_t n = body.size();
    for (std::size_t i = 0; i < n; ++i) {
        Cpp::SyntaxNode* pChild = body.child(i);
        const bool isData = Cpp::isA<Cpp::DataDeclNode>(pChild);
        if (!isData)
            m_ClassEndedAtBrace = false;
        pChild->accept(*this);
        if (isData)
            m_ClassEndedAtBrace = false;
        const bool isTemplate = Cpp::isA<Cpp::TemplateNode>(pChild);
        if (i + 1 < n && m_TemplatePushed && isTemplate)
            writeNodelessTemplated(body.child(i + 1)->start());
        const bool keepsState = isTemplate || isCommentOrDirective(pChild);
        if (!keepsState) {
            // A template head whose declaration took no column, or a
            // separator no visit used, ends with the declaration.
            if (m_TemplatePushed) {
                m_TemplatePushed = false;
                if (!m_DeclColumns.empty())
                    m_DeclColumns.pop_back();
            }
            m_Pending.clear();
        }
        if (Cpp::isA<Cpp::CaseNode>(pChild)) {
            // What follows a case label is decided by WS_AFTER_CS_CASE_LABELS,
            // except that a comment on the label's line stays there.
            Pieces gap;
            if (i + 1 < n)
                gap = readUpTo(body.child(i + 1)->start());
            auto* pComment = i + 1 < n ? dynamic_cast<Cpp::CommentNode*>(body.child(i + 1)) : nullptr;
            bool lineEndFirst = false;
            std::size_t first = 0;
            while (first < gap.size() && gap[first].m_Kind == Piece::SPACE) {
                lineEndFirst = lineEndFirst || gap[first].m_Text.find('\n') != std::string::npos;
                ++first;
            }
            if (pComment && pComment->isSingleLine() && !lineEndFirst && first == gap.size()) {
                write(gap);
            } else if (first < gap.size() && !lineEndFirst && endsLine(gap[first])) {
                write(gap);
            } else {
                trimFront(gap);
                writeKey(m_Settings.m_WsAfterCsCaseLabels);
                write(gap);
            }
        }
    }
}

// A template head whose declaration makes no node of its own (an alias
// template, a concept) is followed by that declaration's text. The space
// after the head goes before that text; the declaration then ends the
// template, and what follows its semicolon (line ends, blank lines) stays as
// written, as after any other declaration, instead of being replaced by the
// space after the head.
void Formatter::writeNodelessTemplated(const Trn::Location& next)
{
    // Look ahead in the source, without reading, for text before the next
    // node.
    const int line = m_In.line();
    if (line < 1 || static_cast<std::size_t>(line) > m_LineStarts.size())
        return;
    std::size_t pos = m_LineStarts[static_cast<std::size_t>(line) - 1] + static_cast<std::size_t>(m_In.col());
    int textLine = line;
    int textCol = m_In.col();
    while (pos < m_Text.size() && std::isspace(static_cast<unsigned char>(m_Text[pos]))) {
        if (m_Text[pos] == '\n') {
            ++textLine;
            textCol = 0;
        } else {
            ++textCol;
        }
        ++pos;
    }
    if (pos >= m_Text.size() || Trn::Location(textLine, textCol + 1) >= next)
        return;
    Pieces gap = readUpTo(next);
    std::string sep;
    if (popPending(sep))
        applyAfter(gap, sep);
    write(gap);
    m_TemplatePushed = false;
    if (!m_DeclColumns.empty())
        m_DeclColumns.pop_back();
    m_Pending.clear();
}

void Formatter::writeEmptyBody(Cpp::InteriorNode& body, const BodyKeys& keys)
{
    const int dc = declColumn();
    Pieces inner = readUpTo(body.end());
    bool lineEndBeforeClose = false;
    for (auto it = inner.rbegin(); it != inner.rend() && it->m_Kind == Piece::SPACE; ++it)
        lineEndBeforeClose = lineEndBeforeClose || it->m_Text.find('\n') != std::string::npos;
    bool lineEndAfterOpen = !inner.empty() && inner.front().m_Kind == Piece::SPACE &&
                            inner.front().m_Text.find('\n') != std::string::npos;
    trimFront(inner);
    trimBack(inner);
    {
        Corvale::ScopedIndent indent(*m_pOut, indentOf(dc) + *keys.m_pContent);
        if (!inner.empty()) {
            writeKey(lineEndAfterOpen ? "\n" : " ");
            write(inner);
        }
    }
    Corvale::ScopedIndent indent(*m_pOut, indentOf(dc));
    bool closeOnNewLine = lineEndBeforeClose && keys.m_pBeforeClose->find('\n') != std::string::npos;
    if (!inner.empty() && endsLine(inner.back()))
        ; // the comment's line end already stands before the "}"
    else if (closeOnNewLine)
        writeKey("\n");
    else if (!inner.empty())
        writeKey(" ");
    copyThrough(body.end());
}

void Formatter::writeBracedBody(Cpp::InteriorNode& body, bool braced, const BodyKeys& keys, bool isSwitch)
{
    (void)isSwitch;
    const int dc = declColumn();
    if (!braced) {
        // The single statement of a control part: the separator before it
        // takes the place of the brace.
        std::string content = indentOf(dc) + *keys.m_pContent;
        Corvale::ScopedIndent indent(*m_pOut, content);
        if (!body.empty())
            applyPending(body.child(0)->start());
        writeChildren(body);
        return;
    }

    std::string sep;
    if (popPending(sep)) {
        Corvale::ScopedIndent indent(*m_pOut, indentOf(dc));
        Pieces gap = readUpTo(body.start());
        applySeparator(gap, sep);
        write(gap);
    }
    {
        Corvale::ScopedIndent indent(*m_pOut, indentOf(dc));
        copyThrough(body.start());
    }
    if (body.empty()) {
        writeEmptyBody(body, keys);
        return;
    }
    {
        Corvale::ScopedIndent indent(*m_pOut, indentOf(dc) + *keys.m_pContent);
        Pieces gap = readUpTo(body.child(0)->start());
        // A comment that stands on the brace's line stays there.
        if (!(dynamic_cast<Cpp::CommentNode*>(body.child(0)) != nullptr && !hasLineEnd(gap)))
            applyAfter(gap, *keys.m_pAfterOpen);
        write(gap);
        writeChildren(body);
    }
    Corvale::ScopedIndent indent(*m_pOut, indentOf(dc));
    Pieces gap = readUpTo(body.end());
    applySeparator(gap, *keys.m_pBeforeClose);
    write(gap);
    copyThrough(body.end());
}

// ---- comma-separated lists --------------------------------------------------------

// The first top-level token of the given type in a gap (a ",", the ":" of
// a list) gets before in place of the whitespace before it and after in
// place of the whitespace after it; comments around it stay.
void Formatter::spaceAround(Pieces& gap, std::int32_t type, const std::string& before, const std::string& after)
{
    std::size_t at = findTopLevel(gap, type, 0);
    if (at == gap.size())
        return;
    Pieces head(gap.begin(), gap.begin() + static_cast<std::ptrdiff_t>(at));
    Pieces tail(gap.begin() + static_cast<std::ptrdiff_t>(at) + 1, gap.end());
    applyBefore(head, before);
    applyAfter(tail, after);
    head.push_back(gap[at]);
    head.insert(head.end(), tail.begin(), tail.end());
    gap.swap(head);
}

// The text before the first element holds the list's opening (":" of a
// base clause or initialiser list); the pending separator goes before it
// and afterOpen after it. Between elements the "," gets beforeComma and
// afterComma.
void Formatter::writeCommaList(Cpp::InteriorNode& list, const std::string& openSep, const std::string& afterOpen,
                               const std::string& beforeComma, const std::string& afterComma,
                               std::int32_t openType)
{
    if (list.empty())
        return;
    const int dc = declColumn();
    {
        Corvale::ScopedIndent indent(*m_pOut, indentOf(dc));
        Pieces gap = readUpTo(list.child(0)->start());
        spaceAround(gap, openType, openSep, afterOpen);
        write(gap);
    }
    bool onOwnLines = beforeComma.find('\n') != std::string::npos || afterComma.find('\n') != std::string::npos;
    int listCol = onOwnLines ? startColumn() : dc;
    Corvale::ScopedIndent indent(*m_pOut, indentOf(listCol));
    Corvale::ScopedKeepLeadingSpace keep(*m_pOut, false);
    for (std::size_t i = 0; i < list.size(); ++i) {
        Cpp::SyntaxNode* pChild = list.child(i);
        if (i > 0) {
            Pieces gap = readUpTo(pChild->start());
            spaceAround(gap, Cpp::COMMA, beforeComma, afterComma);
            write(gap);
        }
        pChild->accept(*this);
    }
}

void Formatter::writeParameterList(Cpp::InteriorNode& params)
{
    const FormatterSettings& s = m_Settings;
    copyThrough(params.start()); // "("
    if (params.empty()) {
        Pieces inner = readUpTo(params.end());
        trimFront(inner);
        trimBack(inner);
        write(inner);
        copyThrough(params.end());
        return;
    }
    {
        Pieces gap = readUpTo(params.child(0)->start());
        applyAfter(gap, s.m_WsAfterFnOpenParen);
        write(gap);
    }
    bool onOwnLines =
        s.m_WsBeforeFnComma.find('\n') != std::string::npos || s.m_WsBetweenFnParams.find('\n') != std::string::npos;
    Corvale::ScopedIndent indent(*m_pOut, indentOf(onOwnLines ? startColumn() : declColumn()));
    for (std::size_t i = 0; i < params.size(); ++i) {
        Cpp::SyntaxNode* pChild = params.child(i);
        if (i > 0) {
            Pieces gap = readUpTo(pChild->start());
            spaceAround(gap, Cpp::COMMA, s.m_WsBeforeFnComma, s.m_WsBetweenFnParams);
            write(gap);
        }
        pChild->accept(*this);
    }
    Pieces gap = readUpTo(params.end());
    applySeparator(gap, s.m_WsBeforeFnCloseParen);
    write(gap);
    copyThrough(params.end());
}

// ---- namespaces and linkage blocks ------------------------------------------------------

void Formatter::visitNamespaceDeclNode(Cpp::NamespaceDeclNode& node)
{
    applyPending(node.start());
    if (node.head()) {
        copyThrough(node.head()->start());
        m_DeclColumns.push_back(columnAfterFirst());
        {
            Corvale::ScopedIndent indent(*m_pOut, indentOf(declColumn()));
            node.head()->accept(*this);
        }
        if (node.body()) {
            m_Pending.push_back(m_Settings.m_WsBeforeNsOpenBrace);
            node.body()->accept(*this);
        }
        m_DeclColumns.pop_back();
    } else if (node.body()) {
        node.body()->accept(*this);
    }
    finish(node);
}

void Formatter::visitNamespaceBodyNode(Cpp::NamespaceBodyNode& node)
{
    const FormatterSettings& s = m_Settings;
    bool inClass = m_InClass;
    m_InClass = false;
    writeBracedBody(node, true, BodyKeys{&s.m_IndentNsContent, &s.m_WsAfterNsOpenBrace, &s.m_WsBeforeNsCloseBrace},
                    false);
    m_InClass = inClass;
}

void Formatter::visitLinkageBlockNode(Cpp::LinkageBlockNode& node)
{
    applyPending(node.start());
    if (node.expr()) {
        copyThrough(node.expr()->start());
        m_DeclColumns.push_back(columnAfterFirst());
        {
            Corvale::ScopedIndent indent(*m_pOut, indentOf(declColumn()));
            copyThrough(node.expr()->end());
        }
        if (node.body()) {
            m_Pending.push_back(m_Settings.m_GlobalWsBeforeOpenBrace);
            node.body()->accept(*this);
        }
        m_DeclColumns.pop_back();
    } else if (node.body()) {
        node.body()->accept(*this);
    }
    finish(node);
}

void Formatter::visitLinkageBlockBodyNode(Cpp::LinkageBlockBodyNode& node)
{
    const FormatterSettings& s = m_Settings;
    writeBracedBody(node, true,
                    BodyKeys{&s.m_GlobalIndentContent, &s.m_GlobalWsAfterOpenBrace, &s.m_GlobalWsBeforeCloseBrace},
                    false);
}

// ---- classes --------------------------------------------------------------------------

void Formatter::visitClassDeclNode(Cpp::ClassDeclNode& node)
{
    applyPending(node.start());
    int col;
    if (m_TemplatePushed) {
        m_TemplatePushed = false;
        col = declColumn();
        m_DeclColumns.pop_back();
    } else if (node.head()) {
        copyThrough(node.head()->start());
        col = columnAfterFirst();
    } else {
        col = startColumn();
    }
    m_DeclColumns.push_back(col);
    if (node.head())
        node.head()->accept(*this);
    if (!m_Settings.m_ClassDoNotFormat && node.body()) {
        const std::string& sep = m_Settings.m_WsBeforeClassOpenBrace;
        if (!(m_pOut->col() == 0 && sep.find('\n') == std::string::npos))
            m_Pending.push_back(sep);
    }
    m_DeclColumns.pop_back();
    if (node.body()) {
        m_DeclColumns.push_back(col);
        node.body()->accept(*this);
        m_DeclColumns.pop_back();
    }
    m_Pending.clear();
    finish(node);
    m_ClassEndedAtBrace = node.body() && node.body()->end() != Trn::Location() && node.end() == node.body()->end();
}

void Formatter::visitClassHeadNode(Cpp::ClassHeadNode& node)
{
    Corvale::ScopedIndent indent(*m_pOut, indentOf(declColumn()));
    if (node.className())
        node.className()->accept(*this);
    if (node.baseClauses()) {
        if (!m_Settings.m_ClassDoNotFormat)
            m_Pending.push_back(m_Settings.m_WsAfterClassName);
        node.baseClauses()->accept(*this);
    }
    copyThrough(node.end());
}

void Formatter::visitBaseClauseListNode(Cpp::BaseClauseListNode& node)
{
    if (m_Settings.m_ClassDoNotFormat) {
        copyThrough(node.end());
        return;
    }
    std::string sep;
    if (!popPending(sep))
        sep = " ";
    const FormatterSettings& s = m_Settings;
    writeCommaList(node, sep, s.m_WsBeforeBaseClauses, s.m_WsBeforeBaseClausesComma, s.m_WsBetweenBaseClauses,
                   Cpp::COLON);
}

void Formatter::visitBaseClauseNode(Cpp::BaseClauseNode& node)
{
    Pieces text = readThrough(node.end());
    writeRespaced(text, Respace::DECLARATOR, m_Settings.m_WsAfterParamTypeId);
}

void Formatter::visitClassBodyNode(Cpp::ClassBodyNode& node)
{
    const FormatterSettings& s = m_Settings;
    bool inClass = m_InClass;
    m_InClass = true;
    writeBracedBody(node, true,
                    BodyKeys{&s.m_IndentClassContent, &s.m_WsAfterClassOpenBrace, &s.m_WsBeforeClassCloseBrace}, false);
    m_InClass = inClass;
}

void Formatter::visitAccessSpecNode(Cpp::AccessSpecNode& node)
{
    applyPending(node.start());
    Corvale::ScopedIndent indent(*m_pOut, indentOf(declColumn()) + m_Settings.m_IndentAccessSpecLabel);
    Corvale::ScopedKeepLeadingSpace keep(*m_pOut, false);
    copyThrough(node.end());
}

// ---- enumerations --------------------------------------------------------------------

void Formatter::visitEnumDeclNode(Cpp::EnumDeclNode& node)
{
    applyPending(node.start());
    if (m_Settings.m_EnumDoNotFormat) {
        copyThrough(node.end());
        return;
    }
    int col;
    if (node.head()) {
        copyThrough(node.head()->start());
        col = columnAfterFirst();
        {
            Corvale::ScopedIndent indent(*m_pOut, indentOf(col));
            node.head()->accept(*this);
        }
        if (node.body())
            m_Pending.push_back(m_Settings.m_WsBeforeEnumOpenBrace);
    } else {
        col = startColumn();
    }
    if (node.body()) {
        m_DeclColumns.push_back(col);
        node.body()->accept(*this);
        m_DeclColumns.pop_back();
    }
    m_Pending.clear();
    finish(node);
}

void Formatter::visitEnumBodyNode(Cpp::EnumBodyNode& node)
{
    const FormatterSettings& s = m_Settings;
    BodyKeys keys{&s.m_IndentEnumContent, &s.m_WsAfterEnumOpenBrace, &s.m_WsBeforeEnumCloseBrace};
    if (node.empty()) {
        writeBracedBody(node, true, keys, false);
        return;
    }
    const int dc = declColumn();
    std::string sep;
    if (popPending(sep)) {
        Corvale::ScopedIndent indent(*m_pOut, indentOf(dc));
        Pieces gap = readUpTo(node.start());
        applySeparator(gap, sep);
        write(gap);
    }
    {
        Corvale::ScopedIndent indent(*m_pOut, indentOf(dc));
        copyThrough(node.start());
    }
    const Cpp::SyntaxNode* pFirst = node.child(0);
    const Cpp::SyntaxNode* pLast = node.child(node.size() - 1);
    {
        Corvale::ScopedIndent indent(*m_pOut, indentOf(dc) + s.m_IndentEnumContent);
        // Initialisers are aligned when every enumerator starts a line (or
        // will, because the value after each comma breaks the line: the
        // layout must not change when the output is formatted again).
        std::size_t enumerators = 0;
        bool ownLines = true;
        int lastLine = 0;
        for (std::size_t i = 0; i < node.size(); ++i) {
            const Cpp::SyntaxNode* pChild = node.child(i);
            if (isCommentOrDirective(pChild))
                continue;
            ++enumerators;
            ownLines = ownLines && pChild->start().line() > lastLine;
            lastLine = pChild->end().line();
        }
        ownLines = ownLines || s.m_WsBetweenEnumElements.find('\n') != std::string::npos;
        const bool align = s.m_AlignEnumInitializers && enumerators >= 2 && ownLines;

        // The text after "{" and the enumerators with the comments and
        // directives among them form one comma-separated list, read one
        // enumerator at a time; aligned, it is laid out whole first.
        Pieces aligned;
        Pieces item;
        std::size_t index = 0;
        auto emit = [&](Pieces pieces) {
            if (align)
                aligned.insert(aligned.end(), pieces.begin(), pieces.end());
            else
                write(pieces);
        };
        auto endItem = [&](const Piece* pComma) {
            if (index > 0)
                applyAfter(item, s.m_WsBetweenEnumElements);
            else if (dynamic_cast<const Cpp::PreprocDirectiveNode*>(pFirst) == nullptr)
                applyAfter(item, s.m_WsAfterEnumOpenBrace);
            if (pComma)
                applyBefore(item, s.m_WsBeforeEnumComma);
            Pieces laid = respace(item, Respace::EXPRESSION, std::string());
            if (pComma)
                laid.push_back(*pComma);
            emit(std::move(laid));
            item.clear();
            ++index;
        };
        auto take = [&](const Trn::Location& through) {
            Pieces commas;
            std::vector<Pieces> parts = splitTopLevel(readThrough(through), Cpp::COMMA, &commas);
            for (std::size_t k = 0; k < parts.size(); ++k) {
                item.insert(item.end(), parts[k].begin(), parts[k].end());
                if (k < commas.size())
                    endItem(&commas[k]);
            }
        };
        for (std::size_t i = 0; i < node.size(); ++i)
            if (!isCommentOrDirective(node.child(i)))
                take(node.child(i)->end());
        take(pLast->end());
        if (!item.empty())
            endItem(nullptr);
        if (align)
            Stylist::writeRaw(*m_pOut, alignEnumInitializers(m_Expr, render(aligned), m_pOut->state()));
    }
    Corvale::ScopedIndent indent(*m_pOut, indentOf(dc));
    Pieces gap = readUpTo(node.end());
    applySeparator(gap, isCommentOrDirective(pLast) ? std::string("\n") : s.m_WsBeforeEnumCloseBrace);
    write(gap);
    copyThrough(node.end());
}

// ---- templates -----------------------------------------------------------------------

void Formatter::visitTemplateNode(Cpp::TemplateNode& node)
{
    const FormatterSettings& s = m_Settings;
    applyPending(node.start());
    copyThrough(node.start());
    if (m_TemplatePushed && !m_DeclColumns.empty())
        m_DeclColumns.pop_back(); // a second head before one declaration
    m_DeclColumns.push_back(columnAfterFirst());
    m_TemplatePushed = true;
    Corvale::ScopedIndent indent(*m_pOut, indentOf(declColumn()));
    if (node.keyword())
        copyThrough(node.keyword()->end());
    Cpp::ParameterListNode* pParams = node.parameters();
    if (pParams) {
        Pieces gap = readUpTo(pParams->start());
        applyAfter(gap, s.m_WsBeforeTpOpenBracket);
        write(gap);
        copyThrough(pParams->start()); // "<"
        if (pParams->empty()) {
            Pieces inner = readUpTo(pParams->end());
            trimFront(inner);
            trimBack(inner);
            write(inner);
        } else {
            Pieces first = readUpTo(pParams->child(0)->start());
            applyAfter(first, s.m_WsAfterTpOpenBracket);
            write(first);
            bool onOwnLines =
                s.m_WsBeforeTpComma.find('\n') != std::string::npos || s.m_WsBetweenTpParams.find('\n') != std::string::npos;
            Corvale::ScopedIndent listIndent(*m_pOut, indentOf(onOwnLines ? startColumn() : declColumn()));
            // A list closed by ">>" shares that token with a list opened in
            // its last parameter ('typename = A<const B&>>'). Re-spaced on
            // its own, that parameter's "<" would read as a comparison, so
            // it is kept as written.
            // (With 'vector<int>>' the last parameter ends at the first ">".)
            auto offsetOf = [this](const Trn::Location& l) -> std::size_t {
                const auto line = static_cast<std::size_t>(l.line());
                if (line < 1 || line > m_LineStarts.size() || l.col() < 1)
                    return 0;
                return m_LineStarts[line - 1] + static_cast<std::size_t>(l.col()) - 1;
            };
            const std::size_t closeAt = offsetOf(pParams->end());
            const bool sharedClose = closeAt >= 1 && closeAt < m_Text.size() && m_Text[closeAt] == '>' &&
                                     m_Text[closeAt - 1] == '>' &&
                                     offsetOf(pParams->child(pParams->size() - 1)->end()) + 1 < closeAt;
            for (std::size_t i = 0; i < pParams->size(); ++i) {
                Cpp::SyntaxNode* pChild = pParams->child(i);
                if (i > 0) {
                    Pieces gap2 = readUpTo(pChild->start());
                    spaceAround(gap2, Cpp::COMMA, s.m_WsBeforeTpComma, s.m_WsBetweenTpParams);
                    write(gap2);
                }
                if (sharedClose && i + 1 == pParams->size())
                    copyThrough(pChild->end());
                else
                    pChild->accept(*this);
            }
            Pieces last = readUpTo(pParams->end());
            applySeparator(last, s.m_WsBeforeTpCloseBracket);
            write(last);
        }
        copyThrough(pParams->end()); // ">"
    }
    copyThrough(node.end());
    m_Pending.push_back(s.m_WsAfterTpCloseBracket);
}

// ---- functions ------------------------------------------------------------------------

void Formatter::writeTypeAligned(Pieces type, int nameColumn, const std::string& nameGap)
{
    const FormatterSettings& s = m_Settings;
    trimBack(type);
    if (!startsOrEndsWithLineEnder(type))
        joinLines(type);
    // A trailing "*" or "&" anchored to the name is split off and written
    // right before it.
    std::string sign;
    char last = lastNonSpace(type);
    bool splitSign = (last == '*' && s.m_AsteriskAnchor == Stylist::Anchor::TO_NAME) ||
                     (last == '&' && s.m_AmpersandAnchor == Stylist::Anchor::TO_NAME);
    if (splitSign) {
        while (!type.empty() && (type.back().m_Kind == Piece::SPACE ||
                                 (type.back().m_Kind == Piece::TOKEN &&
                                  (type.back().m_Type == Cpp::STAR || type.back().m_Type == Cpp::AMPERSAND ||
                                   type.back().m_Type == Cpp::AND_AND)))) {
            if (type.back().m_Kind == Piece::TOKEN)
                sign.insert(0, type.back().m_Text);
            type.pop_back();
        }
    }
    write(respace(type, Respace::DECLARATOR, nameGap));
    int target = Stylist::textWidth(m_pOut->indent(), 0, s.m_TabSize) + nameColumn;
    int pad = Stylist::paddingTo(target, m_pOut->col(), s.m_TabSize);
    if (pad == 0 && m_pOut->col() != 0)
        pad = 1;
    bool hang = !sign.empty() &&
                ((sign.back() == '*' && s.m_HangingAsterisk) || (sign.back() == '&' && s.m_HangingAmpersand));
    if (hang && pad > static_cast<int>(sign.size()))
        pad -= static_cast<int>(sign.size());
    {
        Corvale::ScopedKeepLeadingSpace keep(*m_pOut, true);
        *m_pOut << Stylist::Padding(pad);
    }
    *m_pOut << sign;
    m_LastChar = sign.empty() ? ' ' : sign.back();
}

void Formatter::writeFunctionHead(Cpp::FunctionDeclNode& node, bool definition, int& column)
{
    const FormatterSettings& s = m_Settings;
    Cpp::FunctionHeadNode* pHead = node.head();
    applyPending(pHead->start());
    bool fromTemplate = m_TemplatePushed;
    if (fromTemplate) {
        m_TemplatePushed = false;
        column = declColumn();
        m_DeclColumns.pop_back();
    }
    Cpp::IdNode* pName = pHead->id();
    Pieces typeWithName;
    Trn::Location nameStart = pName ? pName->start() : pHead->end();
    if (pHead->returnType()) {
        copyUpTo(pHead->returnType()->start());
        if (!fromTemplate)
            column = startColumn();
        Pieces type = readUpTo(nameStart);
        char last = lastNonSpace(type);
        bool pointer = last == '*' || last == '&';
        bool aligned = false;
        if (!definition && !s.m_FnDoNotFormat &&
            (s.m_AlignFnDeclNamesLeft || (m_InClass && s.m_AlignClassMemberNamesLeft)) &&
            !holdsCommentOrDirective(type)) {
            auto it = m_FunctionNameColumns.find(&node);
            if (it != m_FunctionNameColumns.end()) {
                aligned = true;
                writeTypeAligned(type, it->second, s.m_WsAfterDdTypeId);
            }
        }
        if (!aligned) {
            if (s.m_FnDoNotFormat) {
                write(type);
            } else if (!definition && pointer) {
                // The sign's placement and the name gap depend on the name:
                // both are re-spaced together.
                typeWithName = type;
            } else {
                static const std::string BLANK = " ";
                const std::string& sep = specifiersOnly(type) ? BLANK
                                         : definition         ? s.m_WsAfterFnDefnReturnType
                                                              : s.m_WsAfterFnDeclReturnType;
                applyBefore(type, sep);
                write(respace(type, Respace::DECLARATOR, sep));
            }
        }
    } else {
        copyUpTo(nameStart);
        if (!fromTemplate)
            column = startColumn();
    }
    if (pName) {
        Pieces name = readThrough(pName->end());
        if (typeWithName.empty()) {
            writeRespaced(name, Respace::EXPRESSION, std::string());
        } else {
            typeWithName.insert(typeWithName.end(), name.begin(), name.end());
            writeRespaced(typeWithName, Respace::DECLARATOR, s.m_WsAfterFnDeclReturnType);
        }
    } else {
        write(typeWithName);
    }
    m_DeclColumns.push_back(column);
    if (Cpp::ParameterListNode* pParams = pHead->parameters()) {
        Pieces between = readUpTo(pParams->start());
        if (!startsOrEndsWithLineEnder(between)) {
            trimFront(between);
            trimBack(between);
        }
        writeKey(s.m_WsAfterFnName);
        write(between);
        Corvale::ScopedIndent indent(*m_pOut, indentOf(column));
        writeParameterList(*pParams);
    }
    {
        Corvale::ScopedIndent indent(*m_pOut, indentOf(column));
        writeRespaced(readThrough(pHead->end()), Respace::EXPRESSION, std::string());
    }
    m_DeclColumns.pop_back();
}

void Formatter::visitFunctionDeclNode(Cpp::FunctionDeclNode& node)
{
    const FormatterSettings& s = m_Settings;
    if (!node.head()) {
        copyNode(node);
        return;
    }
    int column = 0;
    writeFunctionHead(node, node.body() != nullptr, column);
    m_DeclColumns.push_back(column);
    if (Cpp::BlockNode* pBody = node.body()) {
        m_Pending.push_back(s.m_WsBeforeFnOpenBrace);
        bool inClass = m_InClass;
        m_InClass = false;
        writeBracedBody(*pBody, true, BodyKeys{&s.m_IndentFnContent, &s.m_WsAfterFnOpenBrace, &s.m_WsBeforeFnCloseBrace},
                        false);
        m_InClass = inClass;
    }
    m_Pending.clear();
    {
        Corvale::ScopedIndent indent(*m_pOut, indentOf(column));
        writeHandlers(node);
        finish(node);
    }
    m_DeclColumns.pop_back();
}

void Formatter::visitCtorDeclNode(Cpp::CtorDeclNode& node)
{
    const FormatterSettings& s = m_Settings;
    if (!node.head()) {
        copyNode(node);
        return;
    }
    int column = 0;
    writeFunctionHead(node, true, column);
    m_DeclColumns.push_back(column);
    if (Cpp::InitializerListNode* pInits = node.initializers()) {
        m_Pending.push_back(s.m_WsBeforeClassInitList);
        if (!s.m_ClassInitDoNotFormat) {
            pInits->accept(*this);
            if (node.body())
                m_Pending.push_back(s.m_WsAfterClassInitList);
        }
    } else if (node.body()) {
        m_Pending.push_back(s.m_WsBeforeFnOpenBrace);
    }
    if (Cpp::BlockNode* pBody = node.body()) {
        bool inClass = m_InClass;
        m_InClass = false;
        writeBracedBody(*pBody, true, BodyKeys{&s.m_IndentFnContent, &s.m_WsAfterFnOpenBrace, &s.m_WsBeforeFnCloseBrace},
                        false);
        m_InClass = inClass;
    }
    m_Pending.clear();
    {
        Corvale::ScopedIndent indent(*m_pOut, indentOf(column));
        writeHandlers(node);
        finish(node);
    }
    m_DeclColumns.pop_back();
}

// The catch clauses of a function-try-block, laid out as a try statement's
// are: WS_BETWEEN_CS before each "catch", then the clause with the control
// statement keys.
void Formatter::writeHandlers(Cpp::FunctionDeclNode& node)
{
    Cpp::CtrlStmtNode* pHandlers = node.handlers();
    if (!pHandlers)
        return;
    bool inClass = m_InClass;
    m_InClass = false;
    for (std::size_t i = 0; i < pHandlers->size(); ++i) {
        Cpp::SyntaxNode* pChild = pHandlers->child(i);
        if (!isCommentOrDirective(pChild)) {
            Pieces gap = readUpTo(pChild->start());
            applySeparator(gap, m_Settings.m_WsBetweenCs);
            write(gap);
        }
        pChild->accept(*this);
    }
    m_InClass = inClass;
}

void Formatter::visitInitializerListNode(Cpp::InitializerListNode& node)
{
    const FormatterSettings& s = m_Settings;
    std::string sep;
    if (!popPending(sep))
        sep = " ";
    writeCommaList(node, sep, s.m_WsBeforeClassInits, s.m_WsBeforeClassInitsComma, s.m_WsBetweenClassInits,
                   Cpp::COLON);
}

void Formatter::visitInitializerNode(Cpp::InitializerNode& node)
{
    writeRespaced(readThrough(node.end()), Respace::DECLARATOR, m_Settings.m_WsAfterDdTypeId);
}

void Formatter::visitParameterNode(Cpp::ParameterNode& node)
{
    Pieces text = respace(readThrough(node.end()), Respace::DECLARATOR, m_Settings.m_WsAfterParamTypeId);
    for (Piece& p : text)
        p.m_TrimAfterSign = true; // an unnamed "int *" parameter ends at its sign
    write(text);
}

void Formatter::visitFunctionPtrDeclNode(Cpp::FunctionPtrDeclNode& node)
{
    const FormatterSettings& s = m_Settings;
    applyPending(node.start());
    int column;
    if (m_TemplatePushed) {
        m_TemplatePushed = false;
        column = declColumn();
        m_DeclColumns.pop_back();
        copyUpTo(node.start());
    } else {
        copyUpTo(node.start());
        column = startColumn();
    }
    m_DeclColumns.push_back(column);
    Corvale::ScopedIndent indent(*m_pOut, indentOf(column));
    if (node.type() && node.id()) {
        Pieces type = readUpTo(node.id()->start());
        applyBefore(type, s.m_WsAfterFnDeclReturnType);
        write(respace(type, Respace::DECLARATOR, s.m_WsAfterFnDeclReturnType));
    }
    if (node.id())
        copyThrough(node.id()->end()); // the parenthesised declarator as written
    if (Cpp::ParameterListNode* pParams = node.parameters()) {
        Pieces between = readUpTo(pParams->start());
        if (!startsOrEndsWithLineEnder(between)) {
            trimFront(between);
            trimBack(between);
        }
        write(between);
        writeParameterList(*pParams);
    }
    writeRespaced(readThrough(node.end()), Respace::EXPRESSION, std::string());
    m_DeclColumns.pop_back();
}

// ---- data declarations ---------------------------------------------------------------------

// The rest of a data declaration after its name: declarators after the
// first are separated by the data declaration comma keys.
void Formatter::writeDataRest(Pieces rest)
{
    const FormatterSettings& s = m_Settings;
    if (s.m_ExprDoNotFormat) {
        write(rest);
        return;
    }
    Pieces commas;
    std::vector<Pieces> parts = splitTopLevel(rest, Cpp::COMMA, &commas);
    Pieces out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        Pieces part = parts[i];
        if (i > 0)
            applyAfter(part, s.m_WsBetweenDdElements);
        if (i + 1 < parts.size())
            applyBefore(part, s.m_WsBeforeDdComma);
        const Respace how = i == 0 || startsPlainDeclarator(part) ? Respace::EXPRESSION : Respace::DECLARATOR;
        Pieces laid = respace(part, how, s.m_WsAfterDdTypeId);
        out.insert(out.end(), laid.begin(), laid.end());
        if (i < commas.size())
            out.push_back(commas[i]);
    }
    write(out);
}

// A type ending in "*" or "&": the sign's placement and the name gap depend
// on the name, so the type is re-spaced together with it; the name itself is
// left to the expression that starts with it, so that what follows the name
// ("=", "(", a line break) is spaced as after any other name. Answers
// whether the name is still to be written.
bool Formatter::writeSignedType(const Pieces& type, const Pieces& name)
{
    Pieces head = type;
    head.insert(head.end(), name.begin(), name.end());
    head = respace(head, Respace::DECLARATOR, m_Settings.m_WsAfterDdTypeId);
    const std::string laid = render(head);
    // Rendered alone the name may start a line: its indentation is no part
    // of it.
    std::string written = render(respace(name, Respace::EXPRESSION, std::string()));
    written.erase(0, written.find_first_not_of(" \t"));
    if (written.empty() || laid.size() < written.size() ||
        laid.compare(laid.size() - written.size(), written.size(), written) != 0) {
        // Not a plain name at the end (cannot happen with a name token):
        // the type keeps the name and the expression starts after it.
        write(head);
        return false;
    }
    const std::string before = laid.substr(0, laid.size() - written.size());
    Stylist::writeRaw(*m_pOut, before);
    if (!before.empty())
        m_LastChar = before.back();
    return true;
}

void Formatter::visitDataDeclNode(Cpp::DataDeclNode& node)
{
    const FormatterSettings& s = m_Settings;
    applyPending(node.start());
    bool fromTemplate = m_TemplatePushed;
    int column = 0;
    if (fromTemplate) {
        // A variable template: the template head gave the column.
        m_TemplatePushed = false;
        column = declColumn();
        m_DeclColumns.pop_back();
    }
    copyUpTo(node.type() ? node.type()->start() : node.start());
    if (!fromTemplate)
        column = startColumn();
    if (s.m_DdDoNotFormat) {
        copyThrough(node.end());
        return;
    }
    m_DeclColumns.push_back(column);
    Corvale::ScopedIndent indent(*m_pOut, indentOf(column));
    Pieces name;
    bool nameRead = false;
    if (node.type() && node.id()) {
        Pieces type = readUpTo(node.id()->start());
        bool aligned = false;
        if (!m_ClassEndedAtBrace && alignNames() && !holdsCommentOrDirective(type)) {
            auto it = m_DataNameColumns.find(&node);
            if (it != m_DataNameColumns.end()) {
                aligned = true;
                writeTypeAligned(type, it->second, s.m_WsAfterDdTypeId);
            }
        }
        if (!aligned) {
            char last = lastNonSpace(type);
            if (!(last == '*' || last == '&')) {
                applyBefore(type, s.m_WsAfterDdTypeId);
                write(respace(type, Respace::DECLARATOR, s.m_WsAfterDdTypeId));
            } else {
                name = readThrough(node.id()->end());
                nameRead = true;
                if (!writeSignedType(type, name))
                    name.clear();
            }
        }
    }
    // The name and what follows it are one expression ("n=0" takes the
    // operator keys on both sides), unless the initialiser is aligned.
    if (!nameRead && node.id())
        name = readThrough(node.id()->end());
    auto init = m_DataInitColumns.find(&node);
    bool alignInit = node.rest() && s.m_AlignDdInitializers && init != m_DataInitColumns.end();
    if (!node.rest() || alignInit) {
        writeRespaced(name, Respace::EXPRESSION, std::string());
    } else {
        Pieces rest = readThrough(node.rest()->end(), s.m_ExprDoNotFormat ? Join::NONE : Join::NESTED);
        name.insert(name.end(), std::make_move_iterator(rest.begin()), std::make_move_iterator(rest.end()));
        writeDataRest(std::move(name));
    }
    if (node.rest() && alignInit) {
        auto it = init;
        {
            Pieces rest = readThrough(node.rest()->end(), s.m_ExprDoNotFormat ? Join::NONE : Join::NESTED);
            trimFront(rest);
            if (!rest.empty() && rest.front().m_Kind == Piece::TOKEN && rest.front().m_Type != Cpp::SEMICOLON &&
                rest.front().m_Type != Cpp::COMMA) {
                int pad = std::max(column + it->second - m_pOut->col(), 1);
                Corvale::ScopedKeepLeadingSpace keep(*m_pOut, true);
                *m_pOut << Stylist::Padding(pad);
                m_LastChar = ' ';
            }
            writeDataRest(std::move(rest));
        }
    }
    finish(node);
    m_DeclColumns.pop_back();
}

} // namespace StylistCpp
