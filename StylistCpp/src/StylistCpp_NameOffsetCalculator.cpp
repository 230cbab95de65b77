#include "StylistCpp_NameOffsetCalculator.h"

#include "Cpp.h"
#include "Cpp_CompositeNode.h"
#include "Cpp_InteriorNode.h"
#include "Cpp_LeafNode.h"
#include "Cpp_LexerIterator.h"
#include "Corvale_OIndentStream.h"
#include "Stylist.h"
#include "Stylist_SchemeKeys.h"

#include <algorithm>

namespace StylistCpp {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Whether text holds a comment, a verbatim region or a preprocessor line:
// a declaration with one of these between its type and its name is written
// as it stands, not aligned.
bool holdsComment(const std::string& text)
{
    Cpp::LexerIterator it(text.begin(), text.end()), end;
    for (; it != end && it->type() != Trn::END_OF_FILE; ++it) {
        std::int32_t type = it->type();
        if (type == Cpp::SL_COMMENT || type == Cpp::ML_COMMENT || type == Cpp::ML_COMMENT_UNPARSED ||
            type == Cpp::PREPROCESSOR)
            return true;
    }
    return false;
}

// The column reached by the first n characters of text written from col.
int columnAfter(const std::string& text, std::size_t n, int col, int tabSize)
{
    for (std::size_t i = 0; i < n && i < text.size(); ++i) {
        if (text[i] == '\n')
            col = 0;
        else
            col += Stylist::charWidth(text[i], col, tabSize);
    }
    return col;
}

// A type written over several lines is written on one line when its
// name is aligned: every run of blanks that holds a line break becomes one
// space.
std::string joinLines(const std::string& text)
{
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (!isBlank(text[i])) {
            out += text[i++];
            continue;
        }
        std::size_t j = i;
        while (j < text.size() && isBlank(text[j]))
            ++j;
        std::string run = text.substr(i, j - i);
        out += run.find('\n') == std::string::npos ? run : std::string(" ");
        i = j;
    }
    return out;
}

void trimBack(std::string& text)
{
    std::size_t end = text.size();
    while (end > 0 && isBlank(text[end - 1]))
        --end;
    text.resize(end);
}

} // namespace

NameOffsetCalculator::NameOffsetCalculator(Corvale::ITextDocStream& in, const Stylist::PropertySet& scheme)
    : OffsetCalculator(scheme), m_In(in), m_Settings(readAlignmentSettings(m_Scheme)), m_Expr(m_Scheme)
{
    m_TabSize = m_Settings.m_TabSize;
    m_Scheme.getString(Stylist::Key::WS_AFTER_DD_TYPE_ID, m_NameGap);
    m_Scheme.getString(Stylist::Key::WS_AFTER_PARAM_TYPE_ID, m_ParamGap);
    m_Scheme.getString(Stylist::Key::WS_BEFORE_TP_OPEN_BRACKET, m_TpBeforeOpen);
    m_Scheme.getString(Stylist::Key::WS_AFTER_TP_OPEN_BRACKET, m_TpAfterOpen);
    m_Scheme.getString(Stylist::Key::WS_BEFORE_TP_COMMA, m_TpBeforeComma);
    m_Scheme.getString(Stylist::Key::WS_BETWEEN_TP_PARAMS, m_TpBetween);
    m_Scheme.getString(Stylist::Key::WS_BEFORE_TP_CLOSE_BRACKET, m_TpBeforeClose);
    m_Scheme.getString(Stylist::Key::WS_AFTER_TP_CLOSE_BRACKET, m_TpAfterClose);
}

// A template head is written by the formatter with the template keys, the
// declaration after it following WS_AFTER_TP_CLOSE_BRACKET: the column at
// which that declaration starts is found here, from the head's parameters
// as the formatter re-spaces them. A line break in a key's value starts the
// next line at the head's indentation.
void NameOffsetCalculator::visitTemplateNode(Cpp::TemplateNode& node)
{
    if (!m_Template) {
        readUpTo(node.start());
        m_TemplateIndent = m_Col;
        m_TemplateEnd = m_Col;
    }
    std::string head = "template" + m_TpBeforeOpen + "<" + m_TpAfterOpen;
    if (Cpp::ParameterListNode* pParams = node.parameters()) {
        bool first = true;
        for (Cpp::SyntaxNode* pParam : pParams->children()) {
            if (!first)
                head += m_TpBeforeComma + "," + m_TpBetween;
            first = false;
            readUpTo(pParam->start());
            std::string text = joinLines(readThrough(pParam->end()));
            Corvale::OIndentState position;
            position.tabSize = m_TabSize;
            head += m_Expr.formatDeclarator(text, position, m_ParamGap);
        }
    }
    head += m_TpBeforeClose + ">" + m_TpAfterClose;
    readThrough(node.end());
    for (char c : head) {
        if (c == '\n')
            m_TemplateEnd = m_TemplateIndent;
        else
            m_TemplateEnd += Stylist::charWidth(c, m_TemplateEnd, m_TabSize);
    }
    OffsetCalculator::visitTemplateNode(node);
}

// The type text as the formatter writes it before an aligned name: on one
// line, re-spaced as a declaration, without trailing blanks.
std::string NameOffsetCalculator::respaced(const std::string& text, int col)
{
    Corvale::OIndentState position;
    position.tabMode = Corvale::Keep;
    position.tabSize = m_TabSize;
    position.col = col;
    std::string out = m_Expr.formatDeclarator(text, position, m_NameGap);
    trimBack(out);
    return out;
}

NameOffsetCalculator::ColumnMap NameOffsetCalculator::takeDataColumns()
{
    ColumnMap columns;
    columns.swap(m_DataColumns);
    return columns;
}

NameOffsetCalculator::ColumnMap NameOffsetCalculator::takeFunctionColumns()
{
    ColumnMap columns;
    columns.swap(m_FunctionColumns);
    return columns;
}

// ---- reading the source ---------------------------------------------------------

bool NameOffsetCalculator::ahead(const Trn::Location& l) const
{
    return Trn::Location(m_In.line(), m_In.col()) < l;
}

void NameOffsetCalculator::track(const std::string& text) { m_Col = columnAfter(text, text.size(), m_Col, m_TabSize); }

std::string NameOffsetCalculator::readUpTo(const Trn::Location& l)
{
    if (!m_In || !ahead(l))
        return std::string();
    std::string text = Stylist::readUpTo(m_In, l);
    track(text);
    return text;
}

std::string NameOffsetCalculator::readThrough(const Trn::Location& l)
{
    if (!m_In || !ahead(l))
        return std::string();
    std::string text = Stylist::readThrough(m_In, l);
    track(text);
    return text;
}

// ---- measuring --------------------------------------------------------------------

bool NameOffsetCalculator::measure(const Trn::Location& start, const Trn::Location& typeEnd,
                                   const Trn::Location& nameStart, int& extent, int& indent)
{
    // The text before the declaration (or its template head) on its line:
    // its width makes the extent an absolute column.
    readUpTo(start);
    indent = m_Col;
    int typeCol = m_Col;
    if (m_Template) {
        // Under a template head: measured from the word "template", as the
        // head is written.
        indent = m_TemplateIndent;
        typeCol = m_TemplateEnd;
    }
    std::string text = readThrough(typeEnd);
    if (nameStart != Trn::Location())
        text += readUpTo(nameStart);
    m_Shift = 0;
    if (holdsComment(text))
        return false;
    text = joinLines(text);
    trimBack(text);
    char last = text.empty() ? '\0' : text.back();
    if (last == '*' || last == '&')
        extent = signExtent(text, typeCol, indent, last);
    else
        extent = columnAfter(respaced(text, typeCol), std::string::npos, typeCol, m_TabSize) + 1;
    return true;
}

// The extent of a type text that ends in a pointer or reference sign.
int NameOffsetCalculator::signExtent(const std::string& text, int startCol, int indent, char sign)
{
    const bool star = sign == '*';
    Stylist::Anchor anchor = star ? m_Settings.m_AsteriskAnchor : m_Settings.m_AmpersandAnchor;
    bool hanging = star ? m_Settings.m_HangingAsterisk : m_Settings.m_HangingAmpersand;
    int anchorWidth = star ? m_Settings.m_AsteriskAnchorWidth : m_Settings.m_AmpersandAnchorWidth;
    if (anchor != Stylist::Anchor::TO_NAME) {
        // The sign stays with the type; the name follows after the anchor
        // whitespace, and never touches the sign.
        return columnAfter(respaced(text, startCol), std::string::npos, startCol, m_TabSize) + std::max(anchorWidth, 1);
    }
    // The signs belong to the name: the type is measured without its final
    // run of signs (and the blanks among them).
    std::size_t cut = text.size();
    while (cut > 0 && (text[cut - 1] == sign || isBlank(text[cut - 1])))
        --cut;
    if (cut == 0)
        cut = text.size();
    int extent = columnAfter(respaced(text.substr(0, cut), startCol), std::string::npos, startCol, m_TabSize);
    if (hanging) {
        // Room for the sign to hang left of the name column. The tab stops
        // count from the indentation, as the name columns do.
        int relative = std::max(extent - indent, 0);
        if (extent > 0 && Stylist::nextTabStop(relative, m_TabSize) - relative < 2)
            extent += 2;
    } else {
        // One column between the type and the sign before the name, which
        // then stands after the signs.
        extent += 1;
        m_Shift = static_cast<int>(std::count(text.begin() + static_cast<std::ptrdiff_t>(cut), text.end(), sign));
    }
    return extent;
}

void NameOffsetCalculator::add(Group& group, const Cpp::SyntaxNode& node, int extent, int indent, bool measured)
{
    group.m_Pending.push_back(&node);
    if (!measured)
        return;
    group.m_Max = std::max(group.m_Max, extent);
    if (group.m_Indent < 0 || indent < group.m_Indent)
        group.m_Indent = indent;
}

// ---- declarations -----------------------------------------------------------------

void NameOffsetCalculator::visitDataDeclNode(Cpp::DataDeclNode& node)
{
    if (!((m_InClassBody && m_Settings.m_AlignClassMemberNamesLeft) || m_Settings.m_AlignDdNamesLeft)) {
        clearTemplate();
        return;
    }
    if (!node.type()) {
        add(m_Data, node, 0, 0, false);
        clearTemplate();
        return;
    }
    int extent = 0;
    int indent = 0;
    Trn::Location nameStart = node.id() ? node.id()->start() : Trn::Location();
    if (measure(node.start(), node.type()->end(), nameStart, extent, indent)) {
        add(m_Data, node, extent, indent, true);
        if (m_Shift > 0)
            m_NameShifts[&node] = m_Shift;
    }
    clearTemplate();
}

void NameOffsetCalculator::visitFunction(Cpp::FunctionDeclNode& node)
{
    bool aligned = (m_InClassBody && m_Settings.m_AlignClassMemberNamesLeft) || m_Settings.m_AlignFnDeclNamesLeft;
    Cpp::FunctionHeadNode* pHead = node.head();
    if (aligned && !pHead)
        return;
    if (!aligned || node.body()) {
        // A definition ends the group; its local declarations form groups
        // of their own.
        clearTemplate();
        endGroup();
        if (node.body())
            node.body()->accept(*this);
        return;
    }
    if (!pHead->returnType()) {
        add(m_Functions, node, 0, 0, false);
        clearTemplate();
        return;
    }
    int extent = 0;
    int indent = 0;
    Trn::Location nameStart = pHead->id() ? pHead->id()->start() : Trn::Location();
    if (measure(node.start(), pHead->returnType()->end(), nameStart, extent, indent))
        add(m_Functions, node, extent, indent, true);
    clearTemplate();
}

void NameOffsetCalculator::visitFunctionDeclNode(Cpp::FunctionDeclNode& node) { visitFunction(node); }

void NameOffsetCalculator::visitCtorDeclNode(Cpp::CtorDeclNode& node) { visitFunction(node); }

void NameOffsetCalculator::visitAccessSpecNode(Cpp::AccessSpecNode&) {}

void NameOffsetCalculator::visitClassDeclNode(Cpp::ClassDeclNode& node)
{
    // A class head under a template takes the template; its members are
    // measured from their own lines.
    clearTemplate();
    OffsetCalculator::visitClassDeclNode(node);
}

void NameOffsetCalculator::visitClassBodyNode(Cpp::ClassBodyNode& node)
{
    bool inClassBody = m_InClassBody;
    m_InClassBody = true;
    visitChildren(node);
    m_InClassBody = inClassBody;
    m_ClassBodyEnded = true;
}

void NameOffsetCalculator::visitBlockNode(Cpp::BlockNode& node)
{
    // The local declarations of an inline member function are not members.
    bool inClassBody = m_InClassBody;
    m_InClassBody = false;
    OffsetCalculator::visitBlockNode(node);
    m_InClassBody = inClassBody;
}

// ---- ending a group -------------------------------------------------------------

void NameOffsetCalculator::assign(Group& group, ColumnMap& columns, int column, int indent, int offset)
{
    for (const Cpp::SyntaxNode* pNode : group.m_Pending) {
        columns[pNode] = column;
        m_Indents[pNode] = indent;
        m_Offsets[pNode] = offset;
    }
    group.m_Pending.clear();
    group.m_Max = 0;
    group.m_Indent = -1;
}

void NameOffsetCalculator::endGroup()
{
    int dataMax = m_Data.m_Max;
    int functionMax = m_Functions.m_Max;
    int dataIndent = std::max(m_Data.m_Indent, 0);
    int functionIndent = std::max(m_Functions.m_Indent, 0);
    if (m_Settings.m_AlignClassMemberNamesLeft && (m_InClassBody || m_ClassBodyEnded)) {
        dataMax = functionMax = std::max(dataMax, functionMax);
        if (m_Data.m_Indent < 0)
            dataIndent = functionIndent;
        else if (m_Functions.m_Indent >= 0)
            dataIndent = std::min(dataIndent, functionIndent);
        functionIndent = dataIndent;
    }
    m_ClassBodyEnded = false;
    // The offsets are rounded from the indentation, so that they do not
    // depend on how the source was indented.
    assign(m_Data, m_DataColumns, Stylist::nextTabStop(dataMax, m_TabSize), dataIndent,
           Stylist::nextTabStop(std::max(dataMax - dataIndent, 0), m_TabSize));
    assign(m_Functions, m_FunctionColumns, Stylist::nextTabStop(functionMax, m_TabSize), functionIndent,
           Stylist::nextTabStop(std::max(functionMax - functionIndent, 0), m_TabSize));
    OffsetCalculator::endGroup();
}

} // namespace StylistCpp
