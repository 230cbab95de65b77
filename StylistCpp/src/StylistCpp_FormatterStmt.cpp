// StylistCpp::Formatter: the root, compound and control statements, case
// labels, expressions, comments, directives and assembler statements.
#include "StylistCpp_Formatter.h"

#include "Corvale_Exception.h"
#include "Cpp.h"
#include "Cpp_CompositeNode.h"
#include "Cpp_InteriorNode.h"
#include "Cpp_LeafNode.h"
#include "Stylist.h"
#include "StylistCpp_DataOffsetCalculator.h"
#include "StylistCpp_NameOffsetCalculator.h"

#include <algorithm>

namespace StylistCpp {

namespace {

bool isCommentOrDirective(const Cpp::SyntaxNode* p)
{
    return dynamic_cast<const Cpp::CommentNode*>(p) != nullptr ||
           dynamic_cast<const Cpp::PreprocDirectiveNode*>(p) != nullptr;
}

std::int32_t keywordOf(const Cpp::CtrlSubStmtNode* pPart)
{
    if (pPart && pPart->head() && pPart->head()->keyword())
        return pPart->head()->keyword()->type();
    return -1;
}

bool isBraced(const Cpp::BlockNode& block)
{
    return block.isBraced();
}

} // namespace

// ---- the root ------------------------------------------------------------------

void Formatter::visitRootNode(Cpp::RootNode& node)
{
    if (!m_AlignmentGiven)
        findAlignment(node);
    m_DeclColumns.clear();
    m_Pending.clear();
    m_TemplatePushed = false;
    m_InClass = false;
    m_ClassEndedAtBrace = false;
    m_SameLine = false;
    {
        Corvale::ScopedKeepLeadingSpace keep(*m_pOut, false);
        Corvale::ScopedIndent indent(*m_pOut, m_Settings.m_LeftMargin);
        writeChildren(node);
        // The text after the last node: trailing comments and blank lines.
        write(split(Stylist::restOfText(m_In), m_In.line(), m_In.col()));
    }
    m_Out.flush();
    m_Target.flush();
}

// The alignment columns, found by the calculators over the whole tree
// before anything is written.
void Formatter::findAlignment(Cpp::RootNode& node)
{
    const FormatterSettings& s = m_Settings;
    if (s.m_AlignClassMemberNamesLeft || s.m_AlignFnDeclNamesLeft || s.m_AlignDdNamesLeft) {
        Corvale::ITextDocStream in(m_Text, m_In.tabMode(), s.m_TabSize);
        NameOffsetCalculator names(in, m_Scheme);
        node.accept(names);
        // The name is padded to a column counted from where the declaration
        // is written: the offset from the indentation its group was
        // measured from.
        auto relative = [&names](const ColumnMap& columns) {
            ColumnMap offsets;
            for (const auto& entry : columns) {
                auto offset = names.offsets().find(entry.first);
                offsets.emplace_hint(offsets.end(), entry.first,
                                     offset == names.offsets().end() ? entry.second : offset->second);
            }
            return offsets;
        };
        m_FunctionNameColumns = relative(names.functionColumns());
        m_DataNameColumns = relative(names.dataColumns());
        if (s.m_AlignDdInitializers) {
            // Where the aligned names start: after the signs written
            // before them.
            ColumnMap nameStarts = m_DataNameColumns;
            for (const auto& shift : names.nameShifts())
                nameStarts[shift.first] += shift.second;
            DataOffsetCalculator initializers(m_Scheme);
            initializers.useNameOffsets(nameStarts);
            node.accept(initializers);
            m_DataInitColumns = initializers.takeColumns();
        }
    } else if (s.m_AlignDdInitializers) {
        DataOffsetCalculator initializers(m_Scheme);
        node.accept(initializers);
        m_DataInitColumns = initializers.takeColumns();
    }
}

// ---- compound statements ----------------------------------------------------------

void Formatter::visitBlockNode(Cpp::BlockNode& node)
{
    const FormatterSettings& s = m_Settings;
    if (!isBraced(node)) {
        // A block without braces is not a compound statement of its own.
        BodyKeys keys{&s.m_GlobalIndentContent, &s.m_GlobalWsAfterOpenBrace, &s.m_GlobalWsBeforeCloseBrace};
        m_DeclColumns.push_back(startColumn());
        writeChildren(node);
        m_DeclColumns.pop_back();
        (void)keys;
        return;
    }
    applyPending(node.start());
    int column = Stylist::textWidth(m_pOut->indent(), 0, s.m_TabSize);
    m_DeclColumns.push_back(column);
    {
        Corvale::ScopedIndent indent(*m_pOut, indentOf(column));
        std::string sep = s.m_GlobalWsBeforeOpenBrace;
        if (!sep.empty() && sep[0] == '\n' && m_pOut->col() == 0)
            sep.erase(0, 1);
        Pieces gap = readUpTo(node.start());
        // A block that stands on a line of its own stays there.
        if (hasLineEnd(gap) && sep.find('\n') == std::string::npos && m_pOut->col() != 0)
            sep = "\n";
        applySeparator(gap, sep);
        write(gap);
        writeBracedBody(node, true,
                        BodyKeys{&s.m_GlobalIndentContent, &s.m_GlobalWsAfterOpenBrace, &s.m_GlobalWsBeforeCloseBrace},
                        false);
    }
    m_DeclColumns.pop_back();
}

// ---- control statements -----------------------------------------------------------

void Formatter::visitCtrlStmtNode(Cpp::CtrlStmtNode& node)
{
    if (node.empty())
        return;
    int column;
    if (m_SameLine) {
        // The "if" of an "else if" continues the "else" line.
        Pieces before = readUpTo(node.start());
        bool keep = false;
        for (const Piece& p : before)
            keep = keep || (p.m_Kind == Piece::TOKEN && (p.m_Type == Cpp::SL_COMMENT || p.m_Type == Cpp::PREPROCESSOR));
        if (!keep) {
            trimFront(before);
            trimBack(before);
        }
        write(before);
        if (m_pOut->col() != 0)
            writeKey(" ");
        column = declColumn();
    } else {
        applyPending(node.start());
        copyThrough(node.start());
        column = columnAfterFirst();
    }
    m_DeclColumns.push_back(column);

    std::string sep = m_Settings.m_WsBetweenCs;
    const auto* pFirst = dynamic_cast<const Cpp::CtrlSubStmtNode*>(node.child(0));
    if (node.size() > 1 && pFirst && pFirst->body() && !isBraced(*pFirst->body()) &&
        sep.find('\n') == std::string::npos)
        sep = "\n"; // "else", "catch" or "while" starts a new line after an unbraced body
    for (std::size_t i = 0; i < node.size(); ++i) {
        Cpp::SyntaxNode* pChild = node.child(i);
        Corvale::ScopedIndent indent(*m_pOut, indentOf(column));
        if (i > 0 && !isCommentOrDirective(pChild) && !isCommentOrDirective(node.child(i - 1))) {
            Pieces gap = readUpTo(pChild->start());
            applySeparator(gap, sep);
            write(gap);
        }
        pChild->accept(*this);
    }
    m_DeclColumns.pop_back();
    finish(node);
}

void Formatter::visitCtrlSubStmtNode(Cpp::CtrlSubStmtNode& node)
{
    const FormatterSettings& s = m_Settings;
    std::int32_t keyword = keywordOf(&node);
    bool elseIf = false;
    if (keyword == Cpp::ELSE_KEY && node.body() && !isBraced(*node.body()) && node.body()->size() == 1) {
        const auto* pStmt = dynamic_cast<const Cpp::CtrlStmtNode*>(node.body()->child(0));
        if (pStmt && !pStmt->empty()) {
            const auto* pPart = dynamic_cast<const Cpp::CtrlSubStmtNode*>(pStmt->child(0));
            elseIf = pPart && keywordOf(pPart) == Cpp::IF_KEY && pPart->start() == node.body()->start();
        }
    }
    if (!m_SameLine && elseIf)
        m_SameLine = true;
    else if (m_SameLine)
        m_SameLine = false;

    if (node.head())
        node.head()->accept(*this);
    if (Cpp::BlockNode* pBody = node.body()) {
        bool braced = isBraced(*pBody);
        const std::string* pContent = &s.m_IndentCsContent;
        bool isSwitch = keyword == Cpp::SWITCH_KEY;
        if (!m_SameLine) {
            if (braced)
                m_Pending.push_back(s.m_WsBeforeCsOpenBrace);
            else
                m_Pending.push_back(s.m_WsAfterCsOpenBrace.empty() ? std::string(" ") : s.m_WsAfterCsOpenBrace);
            if (isSwitch)
                pContent = &s.m_IndentCsCaseContent;
        }
        writeBracedBody(*pBody, braced, BodyKeys{pContent, &s.m_WsAfterCsOpenBrace, &s.m_WsBeforeCsCloseBrace},
                        isSwitch);
        m_Pending.clear();
    }
    m_SameLine = false;
    finish(node);
}

void Formatter::visitCtrlSubStmtHeadNode(Cpp::CtrlSubStmtHeadNode& node)
{
    const FormatterSettings& s = m_Settings;
    std::int32_t keyword = node.keyword() ? node.keyword()->type() : -1;
    if (node.keyword())
        copyThrough(node.keyword()->end());
    if (!node.expr()) {
        finish(node);
        return;
    }
    Pieces text = readThrough(node.expr()->end());
    std::size_t l = text.size();
    std::size_t r = text.size();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i].m_Kind != Piece::TOKEN)
            continue;
        if (l == text.size() && text[i].m_Type == Cpp::LPAREN)
            l = i;
        if (text[i].m_Type == Cpp::RPAREN)
            r = i;
    }
    // A head with "(" has its ")": the parser delimits heads by them.
    CORVALE_CHECK_TEXT(l == text.size() || (r != text.size() && r > l), "(l != string::npos) && (r != string::npos)");
    if (l == text.size()) {
        // Not a parenthesised head (the while of a do statement keeps its
        // ";" here): laid out as an expression.
        applyAfter(text, s.m_WsAfterCsKey);
        writeRespaced(text, Respace::EXPRESSION, std::string());
        finish(node);
        return;
    }
    Pieces before(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(l));
    Pieces inner(text.begin() + static_cast<std::ptrdiff_t>(l) + 1, text.begin() + static_cast<std::ptrdiff_t>(r));
    Pieces after(text.begin() + static_cast<std::ptrdiff_t>(r) + 1, text.end());

    bool words = std::any_of(before.begin(), before.end(), [](const Piece& p) {
        return p.m_Kind == Piece::JUNK ||
               (p.m_Kind == Piece::TOKEN && p.m_Type != Cpp::SL_COMMENT && p.m_Type != Cpp::ML_COMMENT);
    });
    if (words) {
        // "if constexpr (": the words after the keyword keep a blank before
        // them, and the value goes before the "(".
        trimFront(before);
        before.insert(before.begin(), Piece(Piece::KEY, -1, " ", 0, 0));
        applyBefore(before, s.m_WsAfterCsKey);
    } else {
        applyAfter(before, s.m_WsAfterCsKey);
    }
    Pieces out = before;
    out.push_back(text[l]);
    Pieces laid;
    bool clausesEmpty = true;
    if (keyword == Cpp::FOR_KEY) {
        Pieces semis;
        std::vector<Pieces> clauses = splitTopLevel(inner, Cpp::SEMICOLON, &semis);
        for (std::size_t i = 0; i < clauses.size(); ++i) {
            Pieces clause = clauses[i];
            bool lineEnder = !clause.empty() && endsLine(clause.back());
            trimFront(clause);
            if (!lineEnder)
                trimBack(clause);
            clausesEmpty = clausesEmpty && clause.empty();
            if (i > 0 && !clause.empty())
                clause.insert(clause.begin(), Piece{Piece::KEY, -1, s.m_WsBetweenCsForClauses, 0, 0});
            Pieces c = respace(clause, i == 0 ? Respace::DECLARATOR : Respace::EXPRESSION, s.m_WsAfterDdTypeId);
            laid.insert(laid.end(), c.begin(), c.end());
            if (i < semis.size())
                laid.push_back(semis[i]);
        }
    } else {
        laid = inner;
        bool lineEnder = false;
        for (auto it = laid.rbegin(); it != laid.rend(); ++it)
            if (it->m_Kind != Piece::SPACE) {
                lineEnder = endsLine(*it);
                break;
            }
        trimFront(laid);
        if (!lineEnder)
            trimBack(laid);
        laid = respace(laid, keyword == Cpp::CATCH_KEY ? Respace::DECLARATOR : Respace::EXPRESSION,
                       s.m_WsAfterParamTypeId);
    }
    if (keyword != Cpp::FOR_KEY)
        clausesEmpty = laid.empty();
    if (clausesEmpty) {
        // "for (;;)" and "()" take no whitespace inside.
        out.insert(out.end(), laid.begin(), laid.end());
    } else {
        out.push_back(Piece{Piece::KEY, -1, s.m_WsAfterCsOpenParen, 0, 0});
        out.insert(out.end(), laid.begin(), laid.end());
        if (!endsLine(laid.back()))
            out.push_back(Piece{Piece::KEY, -1, s.m_WsBeforeCsCloseParen, 0, 0});
    }
    out.push_back(text[r]);
    out.insert(out.end(), after.begin(), after.end());
    write(out);
    finish(node);
}

// ---- case labels ---------------------------------------------------------------------

void Formatter::visitCaseNode(Cpp::CaseNode& node)
{
    applyPending(node.start());
    {
        Corvale::ScopedKeepLeadingSpace keep(*m_pOut, false);
        Corvale::ScopedIndent indent(*m_pOut, indentOf(declColumn()) + m_Settings.m_IndentCsCaseLabels);
        copyThrough(node.end());
    }
    // The whitespace after the label is written by the loop over the
    // switch body, which sees what follows the label.
}

// ---- expressions, comments, directives ---------------------------------------------------

void Formatter::visitExprNode(Cpp::ExprNode& node)
{
    applyPending(node.start());
    copyUpTo(node.start());
    if (m_Settings.m_ExprDoNotFormat) {
        copyThrough(node.end());
        return;
    }
    writeRespaced(readThrough(node.end(), Join::ALL), Respace::EXPRESSION, std::string());
}

void Formatter::visitCommentNode(Cpp::CommentNode& node)
{
    applyPending(node.start());
    copyThrough(node.end());
}

void Formatter::visitPreprocDirectiveNode(Cpp::PreprocDirectiveNode& node)
{
    applyPending(node.start());
    copyThrough(node.end());
}

// ---- assembler statements -----------------------------------------------------------------

// A braced assembler body is not C++: the statement is kept as written.
void Formatter::visitAsmNode(Cpp::AsmNode& node)
{
    applyPending(node.start());
    copyThrough(node.end());
}

} // namespace StylistCpp
