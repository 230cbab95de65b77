// The wrap pass emitter: copies what fits, re-lays out what runs past the
// right margin.
#include "StylistCpp_LineWrapper.h"

#include "Corvale_Exception.h"
#include "Cpp.h"
#include "Cpp_SyntaxTree.h"
#include "Stylist.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace StylistCpp {

namespace {

bool holdsLineBreak(const std::string& ws)
{
    return ws.find('\n') != std::string::npos;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// The width of c at column col, as Stylist::charWidth measures it, for the
// loops that measure every character of a text: their columns are never
// negative and the scheme's tab size is at least 1, so the checks are left
// out.
inline int widthAt(char c, int col, int tabSize)
{
    if (c == '\t')
        return tabSize - col % tabSize;
    return c == '\n' ? 0 : 1;
}

// A whitespace string written after a line end of a laid-out text: each of
// its line ends is followed by indent.
std::string indentedWhitespace(const std::string& ws, const std::string& indent)
{
    std::string out;
    for (char c : ws) {
        out += c;
        if (c == '\n')
            out += indent;
    }
    // A line end followed by blanks of the key: the indentation replaces
    // them, as the indenting output stream would.
    return out;
}

// Whether a piece of a laid-out text ends with a line end plus blanks, so
// that what follows starts a line.
bool atLineStart(const std::string& text)
{
    std::size_t i = text.size();
    while (i > 0 && isBlank(text[i - 1]))
        --i;
    return i == 0 || text[i - 1] == '\n';
}

} // namespace

LineWrapper::LineWrapper(const std::string& text, std::ostream& out, const Stylist::PropertySet& scheme, int startCol)
    : m_Settings(readLineWrapperSettings(scheme)), m_Text(text), m_Out(out), m_StartCol(std::max(startCol, 0)),
      m_ExprFormatter(scheme), m_ExprWrapper(scheme), m_StdStrategy(false, false), m_ListStrategy(false, true),
      m_ClassInitStrategy(ClassInitWrapStrategy::shared()), m_EnumWrap(m_Settings.m_EnumWrap.m_LineWrap)
{
    m_LineStarts.push_back(0);
    for (const char* p = text.data(), *end = p + text.size();;) {
        const void* nl = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
        if (nl == nullptr)
            break;
        p = static_cast<const char*>(nl) + 1;
        m_LineStarts.push_back(static_cast<std::size_t>(p - text.data()));
    }
    // The overlong-line set.
    // A line without a tab is as wide as it is long; only lines with tabs
    // are measured character by character.
    if (m_Settings.m_RightMargin > 0) {
        const int tabSize = m_Settings.m_TabSize;
        for (std::size_t i = 0; i < m_LineStarts.size(); ++i) {
            const std::size_t begin = m_LineStarts[i];
            const std::size_t end = i + 1 < m_LineStarts.size() ? m_LineStarts[i + 1] - 1 : text.size();
            const int startCol = i == 0 ? m_StartCol : 0;
            long long col = startCol + static_cast<long long>(end - begin);
            if (std::memchr(text.data() + begin, '\t', end - begin) != nullptr)
                col = startCol + Stylist::textWidth(text.substr(begin, end - begin), startCol, tabSize);
            if (col > m_Settings.m_RightMargin)
                m_OverlongLines.insert(static_cast<int>(i + 1));
        }
    }
    m_OutCol = m_StartCol;
}

LineWrapper::~LineWrapper() = default;

bool LineWrapper::overlong(const Cpp::SyntaxNode& node) const
{
    const int s = node.start().line();
    const int e = node.end().line();
    if (s < 1 || s > e)
        return false;
    const auto it = m_OverlongLines.lower_bound(s);
    return it != m_OverlongLines.end() && *it <= e;
}

// ---- reading and writing ------------------------------------------------------

std::size_t LineWrapper::offsetOf(const Trn::Location& l) const
{
    const std::size_t line = static_cast<std::size_t>(l.line() > 0 ? l.line() : 1) - 1;
    const std::size_t base = line < m_LineStarts.size() ? m_LineStarts[line] : m_Text.size();
    const long off = static_cast<long>(base) + l.col() - 1;
    return off < 0 ? 0 : std::min(static_cast<std::size_t>(off), m_Text.size());
}

void LineWrapper::copyUpTo(const Trn::Location& l)
{
    if (!valid(l))
        return;
    const std::size_t to = offsetOf(l);
    if (to > m_Pos) {
        m_Buffer.append(m_Text, m_Pos, to - m_Pos);
        m_Pos = to;
        passOnFinishedLines();
    }
}

void LineWrapper::copyThrough(const Trn::Location& l)
{
    if (!valid(l))
        return;
    const std::size_t to = std::min(offsetOf(l) + 1, m_Text.size());
    if (to > m_Pos) {
        m_Buffer.append(m_Text, m_Pos, to - m_Pos);
        m_Pos = to;
        passOnFinishedLines();
    }
}

void LineWrapper::write(const std::string& text)
{
    m_Buffer += text;
    passOnFinishedLines();
}

void LineWrapper::passOnFinishedLines()
{
    if (m_Buffer.size() < PASS_ON_SIZE)
        return;
    // Only the part not searched yet: a line longer than the block is
    // searched once, not again at every write.
    const std::size_t from = std::min(m_NoLineEndBefore, m_Buffer.size());
    const void* nl = memrchr(m_Buffer.data() + from, '\n', m_Buffer.size() - from);
    if (nl == nullptr) {
        m_NoLineEndBefore = m_Buffer.size();
        return;
    }
    const std::size_t cut = static_cast<std::size_t>(static_cast<const char*>(nl) - m_Buffer.data()) + 1;
    if (m_Scanned <= cut) {
        // What position() would find at the line end before cut.
        m_Scanned = m_LineStart = m_IndentEnd = cut;
        m_IndentDone = false;
        m_OutCol = 0;
    }
    m_Out.write(m_Buffer.data(), static_cast<std::streamsize>(cut));
    m_Buffer.erase(0, cut);
    m_Scanned -= cut;
    m_LineStart -= cut;
    m_IndentEnd -= cut;
    m_NoLineEndBefore = m_Buffer.size();
}

void LineWrapper::copyNode(const Cpp::SyntaxNode& node)
{
    copyThrough(node.end());
}

std::string LineWrapper::takeThrough(const Trn::Location& l)
{
    if (!valid(l))
        return std::string();
    const std::size_t to = std::min(offsetOf(l) + 1, m_Text.size());
    if (to <= m_Pos)
        return std::string();
    std::string text = m_Text.substr(m_Pos, to - m_Pos);
    m_Pos = to;
    return text;
}

Corvale::OIndentState LineWrapper::position(const std::string& extraIndent) const
{
    // Only the last line written matters: the scan starts after the last
    // newline not scanned yet.
    if (m_Scanned < m_Buffer.size()) {
        const void* nl = memrchr(m_Buffer.data() + m_Scanned, '\n', m_Buffer.size() - m_Scanned);
        if (nl != nullptr) {
            m_Scanned = static_cast<std::size_t>(static_cast<const char*>(nl) - m_Buffer.data()) + 1;
            m_LineStart = m_IndentEnd = m_Scanned;
            m_IndentDone = false;
            m_OutCol = 0;
        }
    }
    for (; m_Scanned < m_Buffer.size(); ++m_Scanned) {
        const char c = m_Buffer[m_Scanned];
        if (!m_IndentDone) {
            if (isBlank(c))
                m_IndentEnd = m_Scanned + 1;
            else
                m_IndentDone = true;
        }
        m_OutCol += widthAt(c, m_OutCol, m_Settings.m_TabSize);
    }
    Corvale::OIndentState state =
        m_ExprWrapper.position(0, m_Buffer.substr(m_LineStart, m_IndentEnd - m_LineStart) + extraIndent);
    state.col = m_OutCol;
    state.tabSize = m_Settings.m_TabSize;
    return state;
}

void LineWrapper::writeWrapped(const std::string& text, const Corvale::OIndentState& at,
                               const Stylist::WrapSettings& settings, const ExprWrapStrategy& strategy)
{
    write(m_ExprWrapper.wrap(text, at, settings, strategy));
}

bool LineWrapper::holdsTrivia(std::size_t from, std::size_t to) const
{
    for (std::size_t p = from; p + 1 < to; ++p) {
        const char c = m_Text[p];
        if (c == '#' || (c == '/' && (m_Text[p + 1] == '/' || m_Text[p + 1] == '*')))
            return true;
    }
    return false;
}

// ---- shared mechanisms --------------------------------------------------------------

void LineWrapper::visit(Cpp::SyntaxNode* pNode)
{
    if (pNode != nullptr)
        pNode->accept(*this);
}

void LineWrapper::visitChildren(Cpp::InteriorNode& node)
{
    for (Cpp::SyntaxNode* pChild : node.children())
        pChild->accept(*this);
}

void LineWrapper::writeBody(Cpp::InteriorNode& body, bool bracketed)
{
    if (body.empty()) {
        copyNode(body);
        return;
    }
    if (bracketed)
        copyThrough(body.start());
    visitChildren(body);
    copyNode(body);
}

void LineWrapper::wrapList(Cpp::InteriorNode& list, const std::string& beforeComma, const std::string& afterComma,
                           const std::string& prefix, const Stylist::WrapSettings& settings,
                           const ExprWrapStrategy& strategy, bool relay)
{
    copyUpTo(list.start());
    const Corvale::OIndentState at = position();
    const std::size_t from = m_Pos;
    // Up to the end of the last element: a bracketed list's closing
    // bracket is copied by the caller.
    const auto& children = list.children();
    const Trn::Location last = children.empty() ? list.end() : children.back()->end();
    const std::size_t to = std::max(from, std::min(offsetOf(last) + 1, m_Text.size()));
    // Elements separated by anything but blanks and one comma (a comment,
    // a directive) keep the source's spelling between them.
    bool plain = !holdsTrivia(from, to);
    std::string text = prefix;
    for (std::size_t i = 0; plain && i < children.size(); ++i) {
        const std::size_t b = offsetOf(children[i]->start());
        const std::size_t e = std::min(offsetOf(children[i]->end()) + 1, m_Text.size());
        if (e < b) {
            plain = false;
            break;
        }
        if (i > 0) {
            const std::size_t prevEnd = std::min(offsetOf(children[i - 1]->end()) + 1, m_Text.size());
            // Between two elements: one comma and whitespace (anything
            // else, such as a character the lexer skipped, keeps the
            // source's spelling).
            int commas = 0;
            bool other = false;
            for (std::size_t p = prevEnd; p < b; ++p) {
                commas += m_Text[p] == ',' ? 1 : 0;
                other = other || (m_Text[p] != ',' && std::isspace(static_cast<unsigned char>(m_Text[p])) == 0);
            }
            if (commas != 1 || other || prevEnd > b) {
                plain = false;
                break;
            }
            text += beforeComma + "," + afterComma;
        }
        text.append(m_Text, b, e - b);
    }
    if (!plain || children.empty())
        text = prefix + m_Text.substr(from, to > from ? to - from : 0);
    m_Pos = std::max(m_Pos, to);
    if (relay)
        write(m_ExprWrapper.relayBreaks(text, at, settings, strategy));
    else
        writeWrapped(text, at, settings, strategy);
}

// ---- copied leaves ------------------------------------------------------------------

void LineWrapper::visitCaseNode(Cpp::CaseNode& node) { copyNode(node); }
void LineWrapper::visitKeywordNode(Cpp::KeywordNode& node) { copyNode(node); }
void LineWrapper::visitTypeNode(Cpp::TypeNode& node) { copyNode(node); }
void LineWrapper::visitFunctionReturnNode(Cpp::FunctionReturnNode& node) { copyNode(node); }
void LineWrapper::visitParameterNode(Cpp::ParameterNode& node) { copyNode(node); }
void LineWrapper::visitParameterListNode(Cpp::ParameterListNode& node) { copyNode(node); }
void LineWrapper::visitIdNode(Cpp::IdNode& node) { copyNode(node); }
void LineWrapper::visitNamespaceHeadNode(Cpp::NamespaceHeadNode& node) { copyNode(node); }
void LineWrapper::visitAccessSpecNode(Cpp::AccessSpecNode& node) { copyNode(node); }
void LineWrapper::visitClassNameNode(Cpp::ClassNameNode& node) { copyNode(node); }
void LineWrapper::visitBaseClauseNode(Cpp::BaseClauseNode& node) { copyNode(node); }
void LineWrapper::visitTextNode(Cpp::TextNode& node) { copyNode(node); }
void LineWrapper::visitLabelNode(Cpp::LabelNode& node) { copyNode(node); }
void LineWrapper::visitAsmNode(Cpp::AsmNode& node) { copyNode(node); }
void LineWrapper::visitArgNode(Cpp::ArgNode& node) { copyNode(node); }
void LineWrapper::visitArgListNode(Cpp::ArgListNode& node) { copyNode(node); }
void LineWrapper::visitCommentNode(Cpp::CommentNode& node) { copyNode(node); }
void LineWrapper::visitPreprocDirectiveNode(Cpp::PreprocDirectiveNode& node) { copyNode(node); }

void LineWrapper::visitEnumHeadNode(Cpp::EnumHeadNode& node)
{
    CORVALE_CHECK_TEXT(m_EnumWrap, "m_EnumWrap");
    copyNode(node);
}

// ---- wrapped constructs ----------------------------------------------------------------

void LineWrapper::visitExprNode(Cpp::ExprNode& node)
{
    // An expression whose lines all fit stays as the format pass wrote it
    // (re-spacing it would re-indent continuation lines that a previous
    // wrap aligned).
    if (!overlong(node)) {
        copyNode(node);
        return;
    }
    copyUpTo(node.start());
    const Corvale::OIndentState at = position();
    const std::string text = takeThrough(node.end());
    if (m_Settings.m_ExprWrap.m_LineWrap)
        writeWrapped(text, at, m_Settings.m_ExprWrap.m_Wrap, m_StdStrategy);
    else
        write(m_ExprFormatter.formatExpression(text, at));
}

void LineWrapper::visitBaseClauseListNode(Cpp::BaseClauseListNode& node)
{
    if (!m_Settings.m_BaseClauseWrap.m_LineWrap || !overlong(node)) {
        copyNode(node);
        return;
    }
    wrapList(node, m_Settings.m_WsBeforeBaseClausesComma, m_Settings.m_WsBetweenBaseClauses, std::string(),
             m_Settings.m_BaseClauseWrap.m_Wrap, m_ListStrategy);
    copyNode(node);
}

void LineWrapper::visitTemplateNode(Cpp::TemplateNode& node)
{
    Cpp::ParameterListNode* pParams = node.parameters();
    if (!m_Settings.m_FormatTemplateParams || pParams == nullptr || pParams->empty()) {
        copyNode(node);
        return;
    }
    // A head that holds line breaks of an earlier wrap (inside a parameter:
    // the format pass lays out the breaks between parameters itself) has
    // them laid out again by the wrap rules, so that formatting the output
    // again gives the same text.
    bool relay = false;
    if (!overlong(node) && !holdsLineBreak(m_Settings.m_WsBeforeTpComma) &&
        !holdsLineBreak(m_Settings.m_WsBetweenTpParams)) {
        for (const Cpp::SyntaxNode* pParam : pParams->children())
            relay = relay || pParam->start().line() < pParam->end().line();
    }
    if (!relay && !overlong(node)) {
        copyNode(node);
        return;
    }
    copyThrough(pParams->start()); // through the "<"
    wrapList(*pParams, m_Settings.m_WsBeforeTpComma, m_Settings.m_WsBetweenTpParams, std::string(),
             m_Settings.m_GlobalWrap, m_StdStrategy, relay);
    copyNode(node);
}

void LineWrapper::visitCtrlSubStmtHeadNode(Cpp::CtrlSubStmtHeadNode& node)
{
    Cpp::ExprNode* pCondition = node.expr();
    if (!m_Settings.m_WrapControlStatements || !overlong(node) || pCondition == nullptr) {
        copyNode(node);
        return;
    }
    copyUpTo(pCondition->start());
    const Corvale::OIndentState at = position();
    writeWrapped(takeThrough(pCondition->end()), at, m_Settings.m_ExprWrap.m_Wrap, m_StdStrategy);
    copyNode(node);
}

void LineWrapper::visitInitializerListNode(Cpp::InitializerListNode& node)
{
    if (!m_Settings.m_ClassInitWrap.m_LineWrap || !overlong(node) ||
        holdsLineBreak(m_Settings.m_WsBeforeClassInitsComma) || holdsLineBreak(m_Settings.m_WsBetweenClassInits)) {
        copyNode(node);
        return;
    }
    const Stylist::WrapSettings& settings = m_Settings.m_ClassInitWrap.m_Wrap;
    if (holdsLineBreak(m_Settings.m_WsBeforeClassInits) || holdsLineBreak(m_Settings.m_WsBeforeClassInitList)) {
        // The list starts a line of its own: it is wrapped from its first
        // initialiser.
        copyUpTo(node.start());
        const Corvale::OIndentState at = position();
        writeWrapped(takeThrough(node.end()), at, settings, m_StdStrategy);
        return;
    }
    // The whitespace before the ":" stays; from the ":" on, the text is
    // wrapped with the member initialiser strategy.
    while (m_Pos < m_Text.size() && (isBlank(m_Text[m_Pos]) || m_Text[m_Pos] == '\n') &&
           m_Pos < offsetOf(node.start()))
        m_Buffer += m_Text[m_Pos++];
    passOnFinishedLines();
    const Corvale::OIndentState at = position();
    writeWrapped(takeThrough(node.end()), at, settings, m_ClassInitStrategy);
}

void LineWrapper::visitInitializerNode(Cpp::InitializerNode& node)
{
    copyUpTo(node.start());
    const Corvale::OIndentState at = position();
    writeWrapped(takeThrough(node.end()), at, m_Settings.m_ClassInitWrap.m_Wrap, m_StdStrategy);
}

void LineWrapper::visitDataDeclNode(Cpp::DataDeclNode& node)
{
    Cpp::ExprNode* pRest = node.rest();
    if (!m_Settings.m_DdWrap.m_LineWrap || !overlong(node) || pRest == nullptr) {
        copyNode(node);
        return;
    }
    // From the declared name on, so that a break before the "=" of the
    // initialiser has a token before it.
    copyUpTo(node.id() != nullptr ? node.id()->start() : pRest->start());
    const std::size_t from = m_Pos;
    const std::size_t to = std::min(offsetOf(pRest->end()) + 1, m_Text.size());
    const bool braced = m_Text.find('{', from) < to;
    // A brace initialiser's elements continue at the indentation widened
    // by INDENT_DD_CONTENT, with the data declaration settings; any other
    // initialiser with the expression settings.
    const Corvale::OIndentState at = braced ? position(m_Settings.m_IndentDdContent) : position();
    writeWrapped(takeThrough(pRest->end()), at,
                 braced ? m_Settings.m_DdWrap.m_Wrap : m_Settings.m_ExprWrap.m_Wrap, m_StdStrategy);
    copyNode(node);
}

void LineWrapper::writeFunction(Cpp::FunctionDeclNode& node, Cpp::InitializerListNode* pInits)
{
    Cpp::FunctionHeadNode* pHead = node.head();
    const bool definition = node.body() != nullptr;
    const WrapFamilySettings& family = definition ? m_Settings.m_FnDefnWrap : m_Settings.m_FnDeclWrap;
    if (pHead != nullptr) {
        if (family.m_LineWrap && overlong(node)) {
            copyUpTo(pHead->start());
            const Corvale::OIndentState at = position();
            writeWrapped(takeThrough(pHead->end()), at, family.m_Wrap, m_FnDeclStrategy);
        } else {
            copyNode(*pHead);
        }
    }
    if (pInits != nullptr)
        pInits->accept(*this);
    if (Cpp::BlockNode* pBody = node.body()) {
        const bool bracketed = valid(pBody->start()) && m_Text[offsetOf(pBody->start())] == '{';
        writeBody(*pBody, bracketed);
    }
    copyNode(node);
}

void LineWrapper::visitFunctionDeclNode(Cpp::FunctionDeclNode& node) { writeFunction(node, nullptr); }

void LineWrapper::visitCtorDeclNode(Cpp::CtorDeclNode& node) { writeFunction(node, node.initializers()); }

void LineWrapper::visitFunctionPtrDeclNode(Cpp::FunctionPtrDeclNode& node)
{
    if (!overlong(node)) {
        copyNode(node);
        return;
    }
    copyUpTo(node.start());
    const Corvale::OIndentState at = position();
    write(m_ExprFormatter.formatDeclarator(takeThrough(node.end()), at, m_Settings.m_WsAfterFnDeclReturnType));
}

std::string LineWrapper::enumText(Cpp::EnumBodyNode& body, const std::string& lineIndent, bool& relaid)
{
    const std::size_t from = offsetOf(body.start());
    const std::size_t to = std::min(offsetOf(body.end()) + 1, m_Text.size());
    relaid = false;
    const auto& children = body.children();
    if (children.empty() || holdsTrivia(from, to) || m_Text[from] != '{' || m_Text[to - 1] != '}')
        return m_Text.substr(from, to - from);
    // Every gap between enumerators holds blanks and one comma; the last
    // may be followed by a comma of its own, which stays.
    const std::string contentIndent = lineIndent + m_Settings.m_IndentEnumContent;
    std::string text = "{";
    std::string after = indentedWhitespace(m_Settings.m_WsAfterEnumOpenBrace, contentIndent);
    text += after;
    std::size_t prevEnd = from + 1;
    for (std::size_t i = 0; i < children.size(); ++i) {
        const std::size_t b = offsetOf(children[i]->start());
        const std::size_t e = std::min(offsetOf(children[i]->end()) + 1, m_Text.size());
        if (b < prevEnd || e < b)
            return m_Text.substr(from, to - from);
        int commas = 0;
        for (std::size_t p = prevEnd; p < b; ++p) {
            if (m_Text[p] == ',')
                ++commas;
            else if (!isBlank(m_Text[p]) && m_Text[p] != '\n')
                return m_Text.substr(from, to - from);
        }
        if (commas != (i == 0 ? 0 : 1))
            return m_Text.substr(from, to - from);
        if (i > 0)
            text += m_Settings.m_WsBeforeEnumComma + "," +
                    indentedWhitespace(m_Settings.m_WsBetweenEnumElements, contentIndent);
        text.append(m_Text, b, e - b);
        prevEnd = e;
    }
    int trailing = 0;
    for (std::size_t p = prevEnd; p + 1 < to; ++p) {
        if (m_Text[p] == ',')
            ++trailing;
        else if (!isBlank(m_Text[p]) && m_Text[p] != '\n')
            return m_Text.substr(from, to - from);
    }
    if (trailing > 1)
        return m_Text.substr(from, to - from);
    if (trailing == 1)
        text += m_Settings.m_WsBeforeEnumComma + ",";
    std::string beforeClose = indentedWhitespace(m_Settings.m_WsBeforeEnumCloseBrace, lineIndent);
    text += beforeClose;
    if (atLineStart(text)) {
        // The "}" starts its line at the enumeration's indentation.
        while (!text.empty() && isBlank(text.back()))
            text.pop_back();
        text += lineIndent;
    }
    text += "}";
    relaid = true;
    return text;
}

void LineWrapper::visitEnumBodyNode(Cpp::EnumBodyNode& node)
{
    CORVALE_CHECK_TEXT(m_EnumWrap, "m_EnumWrap");
    copyUpTo(node.start());
    const Corvale::OIndentState lineAt = position();
    const Corvale::OIndentState at = position(m_Settings.m_IndentEnumContent);
    bool relaid = false;
    const std::string laidOut = enumText(node, lineAt.indent, relaid);
    m_Pos = std::max(m_Pos, std::min(offsetOf(node.end()) + 1, m_Text.size()));
    const Stylist::WrapSettings& settings = m_Settings.m_EnumWrap.m_Wrap;
    std::string wrapped = m_ExprWrapper.wrap(laidOut, at, settings, m_StdStrategy);
    if (m_Settings.m_AlignEnumInitializers && settings.m_ListWrapStrategy == 2) {
        // The aligner lays every line out at the content indentation; a
        // closing brace on a line of its own keeps the enumeration's.
        std::size_t split = wrapped.size();
        const std::size_t nl = wrapped.rfind('\n');
        if (nl != std::string::npos && wrapped.back() == '}') {
            std::size_t p = nl + 1;
            while (p < wrapped.size() && isBlank(wrapped[p]))
                ++p;
            if (p + 1 == wrapped.size())
                split = nl;
        }
        wrapped = alignEnumInitializers(m_ExprFormatter, wrapped.substr(0, split), at) + wrapped.substr(split);
    }
    write(wrapped);
}

// ---- bodies ------------------------------------------------------------------------------

void LineWrapper::visitBlockNode(Cpp::BlockNode& node)
{
    if (!overlong(node)) {
        copyNode(node);
        return;
    }
    m_IndentStack.push_back(Stylist::textWidth(position().indent, 0, m_Settings.m_TabSize));
    const bool bracketed = valid(node.start()) && m_Text[offsetOf(node.start())] == '{';
    writeBody(node, bracketed);
    m_IndentStack.pop_back();
}

void LineWrapper::visitNamespaceBodyNode(Cpp::NamespaceBodyNode& node)
{
    // Declaration bodies are walked even when their lines fit: a template
    // head inside may have its line breaks laid out again (each member
    // that fits is copied by its own visit).
    writeBody(node, true);
}

void LineWrapper::visitClassBodyNode(Cpp::ClassBodyNode& node)
{
    // Declaration bodies are walked even when their lines fit: a template
    // head inside may have its line breaks laid out again (each member
    // that fits is copied by its own visit).
    writeBody(node, true);
}

void LineWrapper::visitLinkageBlockBodyNode(Cpp::LinkageBlockBodyNode& node)
{
    // Declaration bodies are walked even when their lines fit: a template
    // head inside may have its line breaks laid out again (each member
    // that fits is copied by its own visit).
    writeBody(node, true);
}

// ---- structural ----------------------------------------------------------------------------

void LineWrapper::visitRootNode(Cpp::RootNode& node)
{
    visitChildren(node);
    m_Buffer.append(m_Text, m_Pos, std::string::npos);
    m_Pos = m_Text.size();
    m_Out << m_Buffer;
    m_Out.flush();
}

void LineWrapper::visitClassDeclNode(Cpp::ClassDeclNode& node)
{
    visit(node.head());
    visit(node.body());
    copyNode(node);
}

void LineWrapper::visitClassHeadNode(Cpp::ClassHeadNode& node)
{
    visit(node.className());
    visit(node.baseClauses());
    copyNode(node);
}

void LineWrapper::visitNamespaceDeclNode(Cpp::NamespaceDeclNode& node)
{
    visit(node.head());
    visit(node.body());
    copyNode(node);
}

void LineWrapper::visitLinkageBlockNode(Cpp::LinkageBlockNode& node)
{
    if (node.expr() != nullptr)
        copyNode(*node.expr());
    visit(node.body());
    copyNode(node);
}

void LineWrapper::visitEnumDeclNode(Cpp::EnumDeclNode& node)
{
    if (!m_EnumWrap || !overlong(node) || node.body() == nullptr) {
        copyNode(node);
        return;
    }
    visit(node.head());
    visit(node.body());
    copyNode(node);
}

void LineWrapper::visitCtrlStmtNode(Cpp::CtrlStmtNode& node)
{
    visitChildren(node);
    copyNode(node);
}

void LineWrapper::visitCtrlSubStmtNode(Cpp::CtrlSubStmtNode& node)
{
    visit(node.head());
    visit(node.body());
    copyNode(node);
}

void LineWrapper::visitInteriorNode(Cpp::InteriorNode& node)
{
    visitChildren(node);
    copyNode(node);
}

} // namespace StylistCpp
