#include "StylistCpp_Rewriter.h"

#include "Corvale_Exception.h"
#include "Cpp.h"
#include "Cpp_LexerIterator.h"
#include "Cpp_SyntaxTree.h"
#include "Stylist.h"

#include <algorithm>

namespace StylistCpp {

namespace {

const char LBRACE_CHAR = '{';
const char RBRACE_CHAR = '}';
const char* const LBRACE_STR = "{";
const char* const RBRACE_STR = "}";
const char* const SPACE_STR = " ";

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// A character that can continue an identifier, keyword or number.
bool isWordChar(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' || u >= 0x80;
}

const Cpp::CtrlSubStmtNode* asPart(const Cpp::SyntaxNode* pNode)
{
    return dynamic_cast<const Cpp::CtrlSubStmtNode*>(pNode);
}

// The keyword token type of a control part, or -1 when it has none.
int keywordOf(const Cpp::CtrlSubStmtNode& part)
{
    const Cpp::CtrlSubStmtHeadNode* pHead = part.head();
    return pHead && pHead->keyword() ? pHead->keyword()->type() : -1;
}

// The first control part of a statement, or null.
const Cpp::CtrlSubStmtNode* firstPart(const Cpp::CtrlStmtNode& stmt)
{
    for (const Cpp::SyntaxNode* pChild : stmt.children())
        if (const Cpp::CtrlSubStmtNode* pPart = asPart(pChild))
            return pPart;
    return nullptr;
}

// The index of the next control part after index, or the child count. The
// children of a statement besides its parts are comments and preprocessor
// lines standing between a do body and its while.
std::size_t nextPartIndex(const Cpp::CtrlStmtNode& stmt, std::size_t index)
{
    std::size_t i = index + 1;
    while (i < stmt.size() && !asPart(stmt.child(i)))
        ++i;
    return i;
}

bool startsWithElse(const Cpp::SyntaxNode* pNode)
{
    const Cpp::CtrlStmtNode* pStmt = dynamic_cast<const Cpp::CtrlStmtNode*>(pNode);
    const Cpp::CtrlSubStmtNode* pFirst = pStmt ? firstPart(*pStmt) : nullptr;
    return pFirst && keywordOf(*pFirst) == Cpp::ELSE_KEY;
}

bool hasIfPart(const Cpp::SyntaxNode* pNode)
{
    const Cpp::CtrlStmtNode* pStmt = dynamic_cast<const Cpp::CtrlStmtNode*>(pNode);
    if (!pStmt)
        return false;
    for (const Cpp::SyntaxNode* pChild : pStmt->children()) {
        const Cpp::CtrlSubStmtNode* pPart = asPart(pChild);
        if (pPart && keywordOf(*pPart) == Cpp::IF_KEY)
            return true;
    }
    return false;
}

} // namespace

Rewriter::Rewriter(const Stylist::PropertySet& scheme, const std::string& text, std::ostream& out)
    : m_Scheme(scheme),
      m_Settings(readRewriterSettings(m_Scheme)),
      m_Text(text),
      m_In(text, Corvale::Keep),
      m_Out(out, std::string(), true, Corvale::Keep)
{
    m_LineStarts.push_back(0);
    for (std::size_t i = 0; i < m_Text.size(); ++i)
        if (m_Text[i] == '\n')
            m_LineStarts.push_back(i + 1);
}

Rewriter::~Rewriter()
{
    m_Out.flush();
}

// ---- the walk ----------------------------------------------------------------

void Rewriter::visitRootNode(Cpp::RootNode& node)
{
    if (m_Settings.rewrites())
        visitChildren(node);
    // Locations that ran past the text would have cut the copy short; the
    // pass must fail rather than hand a shortened text on.
    CORVALE_CHECK_TEXT(!m_In.fail(), "m_In.good()");
    Stylist::writeRaw(m_Out, Stylist::restOfText(m_In));
    m_Out.flush();
}

void Rewriter::visitChildren(Cpp::InteriorNode& node)
{
    const std::size_t n = node.size();
    for (std::size_t i = 0; i < n; ++i) {
        // The parser keeps an else that follows no if as a statement of its
        // own ('for (;;) { if (b) x(); } else y();' is no valid C++); the
        // statement before it must not come to end in an if that takes it.
        m_GuardNext = i + 1 < n && startsWithElse(node.child(i + 1));
        node.child(i)->accept(*this);
    }
    m_GuardNext = false;
}

void Rewriter::visitStatement(Cpp::SyntaxNode& node, bool guarded)
{
    m_GuardNext = guarded;
    node.accept(*this);
    m_GuardNext = false;
}

void Rewriter::visitNamespaceDeclNode(Cpp::NamespaceDeclNode& node)
{
    if (node.body())
        visitChildren(*node.body());
}

void Rewriter::visitClassDeclNode(Cpp::ClassDeclNode& node)
{
    if (node.body())
        visitChildren(*node.body());
}

void Rewriter::visitLinkageBlockNode(Cpp::LinkageBlockNode& node)
{
    if (node.body())
        visitChildren(*node.body());
}

void Rewriter::visitFunctionDeclNode(Cpp::FunctionDeclNode& node)
{
    if (node.body())
        visitChildren(*node.body());
}

void Rewriter::visitCtorDeclNode(Cpp::CtorDeclNode& node)
{
    if (node.body())
        visitChildren(*node.body());
}

void Rewriter::visitBlockNode(Cpp::BlockNode& node)
{
    visitChildren(node);
}

void Rewriter::visitCtrlStmtNode(Cpp::CtrlStmtNode& node)
{
    const bool guarded = m_GuardNext;
    m_GuardNext = false;
    for (std::size_t i = 0; i < node.size(); ++i) {
        Cpp::CtrlSubStmtNode* pPart = dynamic_cast<Cpp::CtrlSubStmtNode*>(node.child(i));
        if (!pPart || !pPart->body())
            continue;
        const PartPlan plan = planPart(node, i, guarded);
        rewriteBody(*pPart->body(), plan.m_Style, plan.m_ChildGuarded);
    }
}

// ---- deciding --------------------------------------------------------------------

BraceStyle Rewriter::styleOf(int keyword) const
{
    switch (keyword) {
    case Cpp::IF_KEY:
    case Cpp::ELSE_KEY:
        return m_Settings.m_IfElseBraceStyle;
    case Cpp::FOR_KEY:
        return m_Settings.m_ForBraceStyle;
    case Cpp::DO_KEY:
    case Cpp::WHILE_KEY:
        return m_Settings.m_WhileBraceStyle;
    default:
        return BraceStyle::AS_WRITTEN;
    }
}

// The style of one part after every reason to leave its body alone has been
// weighed. guarded: the statement must not end in an if without else, since
// an else follows it in the text.
Rewriter::PartPlan Rewriter::planPart(const Cpp::CtrlStmtNode& stmt, std::size_t index, bool guarded)
{
    const Cpp::CtrlSubStmtNode& part = *asPart(stmt.child(index));
    const Cpp::BlockNode& body = *part.body();
    const int keyword = keywordOf(part);
    const std::size_t next = nextPartIndex(stmt, index);
    const bool isLast = next == stmt.size();
    const bool followedByElse = keyword == Cpp::IF_KEY && !isLast && keywordOf(*asPart(stmt.child(next))) == Cpp::ELSE_KEY;
    // Left without braces, the body's statement is followed by an else that
    // belongs to this statement or to one around it.
    const bool needsGuard = followedByElse || (guarded && isLast);
    const bool single = body.size() == 1;
    const bool braced = body.isBraced();

    BraceStyle style = styleOf(keyword);
    if (style == BraceStyle::REMOVE_BRACES && followedByElse && innerIfWouldTakeElse(body))
        style = BraceStyle::AS_WRITTEN;
    if (keyword == Cpp::ELSE_KEY && isElseIf(body))
        style = BraceStyle::AS_WRITTEN;
    if (style != BraceStyle::AS_WRITTEN && single && holdsPreprocessorLine(body))
        style = BraceStyle::AS_WRITTEN;
    if (style == BraceStyle::ADD_BRACES && single && !braced &&
        (!isComplete(*body.child(0)) || !bracketsPairUp(body.start(), body.end())))
        style = BraceStyle::AS_WRITTEN;
    if (style == BraceStyle::REMOVE_BRACES && single && braced &&
        (!canUnbrace(body) || (needsGuard && endsOpen(*body.child(0)))))
        style = BraceStyle::AS_WRITTEN;

    const bool bracedAfter = braced ? !(style == BraceStyle::REMOVE_BRACES && single)
                                    : (style == BraceStyle::ADD_BRACES && single);
    return PartPlan{style, needsGuard && !bracedAfter};
}

// The check for an if whose body loses its braces while an else follows:
// an if among the body's statements, or inside the body of one of their
// parts whose own braces the scheme removes, could take the else.
bool Rewriter::innerIfWouldTakeElse(const Cpp::BlockNode& body) const
{
    for (const Cpp::SyntaxNode* pChild : body.children()) {
        const Cpp::CtrlStmtNode* pStmt = dynamic_cast<const Cpp::CtrlStmtNode*>(pChild);
        if (!pStmt)
            continue;
        if (hasIfPart(pStmt))
            return true;
        for (const Cpp::SyntaxNode* pPartNode : pStmt->children()) {
            const Cpp::CtrlSubStmtNode* pPart = asPart(pPartNode);
            if (!pPart || !pPart->body() || styleOf(keywordOf(*pPart)) != BraceStyle::REMOVE_BRACES)
                continue;
            for (const Cpp::SyntaxNode* pInner : pPart->body()->children())
                if (hasIfPart(pInner))
                    return true;
        }
    }
    return false;
}

// An else whose body is an if statement starting right where the body
// starts: the chain stays "else if", the inner if is handled on its own.
bool Rewriter::isElseIf(const Cpp::BlockNode& body) const
{
    if (body.size() != 1)
        return false;
    const Cpp::CtrlStmtNode* pStmt = dynamic_cast<const Cpp::CtrlStmtNode*>(body.child(0));
    if (!pStmt)
        return false;
    const Cpp::CtrlSubStmtNode* pFirst = firstPart(*pStmt);
    return pFirst && keywordOf(*pFirst) == Cpp::IF_KEY && pFirst->start() == body.start();
}

// ---- brackets of one kind -----------------------------------------------------------

void Rewriter::Brackets::add(const Trn::Location& at, int step)
{
    m_At.push_back(at);
    m_DepthAfter.push_back((m_DepthAfter.empty() ? 0 : m_DepthAfter.back()) + step);
}

// A tree of minima over the depths: the leaves at n .. 2n - 1, each inner
// node i the least of 2i and 2i + 1.
void Rewriter::Brackets::finish()
{
    const std::size_t n = m_DepthAfter.size();
    m_MinTree.assign(2 * n, 0);
    std::copy(m_DepthAfter.begin(), m_DepthAfter.end(), m_MinTree.begin() + static_cast<std::ptrdiff_t>(n));
    for (std::size_t i = n; i-- > 1;)
        m_MinTree[i] = std::min(m_MinTree[2 * i], m_MinTree[2 * i + 1]);
}

// As many close as open between first and last, and none closes one opened
// before first.
bool Rewriter::Brackets::pairUp(const Trn::Location& first, const Trn::Location& last) const
{
    const std::size_t n = m_At.size();
    const std::size_t i = static_cast<std::size_t>(std::lower_bound(m_At.begin(), m_At.end(), first) - m_At.begin());
    const std::size_t j = static_cast<std::size_t>(std::upper_bound(m_At.begin(), m_At.end(), last) - m_At.begin());
    if (i >= j)
        return true;
    const int before = i > 0 ? m_DepthAfter[i - 1] : 0;
    if (m_DepthAfter[j - 1] != before)
        return false;
    int least = before;
    for (std::size_t lo = i + n, hi = j + n; lo < hi; lo /= 2, hi /= 2) {
        if (lo & 1)
            least = std::min(least, m_MinTree[lo++]);
        if (hi & 1)
            least = std::min(least, m_MinTree[--hi]);
    }
    return least >= before;
}

// The preprocessor lines and the brackets of the whole text are found by
// one pass of the lexer on first use. Re-reading each body's text instead
// would read nested bodies again for every level around them.
void Rewriter::readTokens()
{
    if (m_TokensRead)
        return;
    m_TokensRead = true;
    Cpp::LexerIterator it(m_Text.begin(), m_Text.end());
    for (const Cpp::LexerIterator end; it != end && !it.stuck(); ++it) {
        switch (it->type()) {
        case Cpp::PREPROCESSOR: m_PreprocLines.push_back(it->start()); break;
        case Cpp::LBRACE: m_Brackets[0].add(it->start(), 1); break;
        case Cpp::RBRACE: m_Brackets[0].add(it->start(), -1); break;
        case Cpp::LPAREN: m_Brackets[1].add(it->start(), 1); break;
        case Cpp::RPAREN: m_Brackets[1].add(it->start(), -1); break;
        case Cpp::LBRACKET: m_Brackets[2].add(it->start(), 1); break;
        case Cpp::RBRACKET: m_Brackets[2].add(it->start(), -1); break;
        default: break;
        }
    }
    for (Brackets& brackets : m_Brackets)
        brackets.finish();
}

// A body holds a preprocessor line when one starts between its first and
// last character.
bool Rewriter::holdsPreprocessorLine(const Cpp::BlockNode& body)
{
    readTokens();
    const auto it = std::lower_bound(m_PreprocLines.begin(), m_PreprocLines.end(), body.start());
    return it != m_PreprocLines.end() && !(body.end() < *it);
}

// Whether the braces, parentheses and square brackets between two
// locations pair up among themselves; only then do braces put around the
// text, or taken away from around it, leave every other pair as it was.
// The parser matches each kind of bracket without looking at the others,
// so a text that is no valid C++ may parse with a lone one in a statement
// ('while (a) for (}) y();', '{ (; }').
bool Rewriter::bracketsPairUp(const Trn::Location& first, const Trn::Location& last)
{
    readTokens();
    for (const Brackets& brackets : m_Brackets)
        if (!brackets.pairUp(first, last))
            return false;
    return true;
}

// Whether the braces of a braced body holding one statement may go: the
// statement is one that stands as a body on its own, and nothing else lies
// between the braces.
bool Rewriter::canUnbrace(const Cpp::BlockNode& body)
{
    const Cpp::SyntaxNode& child = *body.child(0);
    if (dynamic_cast<const Cpp::CommentNode*>(&child) || dynamic_cast<const Cpp::PreprocDirectiveNode*>(&child) ||
        dynamic_cast<const Cpp::LabelNode*>(&child) || dynamic_cast<const Cpp::CaseNode*>(&child))
        return false;
    // A declaration is a valid body in C++ but not in C.
    if (dynamic_cast<const Cpp::DeclNode*>(&child) || dynamic_cast<const Cpp::TemplateNode*>(&child))
        return false;
    // Braces around a block: taking one pair away would leave the body
    // braced, and the next run would take the next pair.
    if (dynamic_cast<const Cpp::BlockNode*>(&child))
        return false;
    if (const Cpp::CtrlStmtNode* pStmt = dynamic_cast<const Cpp::CtrlStmtNode*>(&child)) {
        const Cpp::CtrlSubStmtNode* pFirst = firstPart(*pStmt);
        const int keyword = pFirst ? keywordOf(*pFirst) : -1;
        if (keyword != Cpp::IF_KEY && keyword != Cpp::FOR_KEY && keyword != Cpp::SWITCH_KEY &&
            keyword != Cpp::WHILE_KEY && keyword != Cpp::DO_KEY)
            return false;
    }
    if (!isComplete(child) || !bracketsPairUp(child.start(), child.end()))
        return false;
    const std::size_t open = offsetOf(body.start());
    const std::size_t close = offsetOf(body.end());
    const std::size_t first = offsetOf(child.start());
    const std::size_t last = offsetOf(child.end());
    if (open == std::string::npos || close == std::string::npos || first == std::string::npos ||
        last == std::string::npos || !(open < first && first <= last && last < close))
        return false;
    return onlyWhitespace(open + 1, first) && onlyWhitespace(last + 1, close);
}

// A statement whose extent, as the parser found it, is the whole statement
// of the language: it ends in its semicolon or its closing brace. The parser
// ends a statement early before a "{" that follows a macro invocation
// ('FOREACH(x, l) { ... }') and after the body of 'struct S {} s;'; braces
// put around such a piece would split the statement.
bool Rewriter::isComplete(const Cpp::SyntaxNode& statement)
{
    const auto found = m_Complete.find(&statement);
    if (found != m_Complete.end())
        return found->second;
    bool complete = false;
    if (const Cpp::BlockNode* pBlock = dynamic_cast<const Cpp::BlockNode*>(&statement)) {
        complete = pBlock->isBraced();
    } else if (const Cpp::CtrlStmtNode* pStmt = dynamic_cast<const Cpp::CtrlStmtNode*>(&statement)) {
        const Cpp::CtrlSubStmtNode* pFirst = firstPart(*pStmt);
        const Cpp::CtrlSubStmtNode* pLast = nullptr;
        for (const Cpp::SyntaxNode* pChild : pStmt->children())
            if (const Cpp::CtrlSubStmtNode* pPart = asPart(pChild))
                pLast = pPart;
        if (pFirst && keywordOf(*pFirst) == Cpp::DO_KEY)
            complete = pLast != pFirst && charAt(pStmt->end()) == ';';
        else if (pLast && pLast->body())
            complete = pLast->body()->isBraced() ||
                       (pLast->body()->size() == 1 && isComplete(*pLast->body()->child(0)));
    } else if (const Cpp::AsmNode* pAsm = dynamic_cast<const Cpp::AsmNode*>(&statement)) {
        // The one-line form runs to the end of its line and would take a
        // closing brace written after it.
        complete = pAsm->block() != nullptr;
    } else if (dynamic_cast<const Cpp::CommentNode*>(&statement) ||
               dynamic_cast<const Cpp::PreprocDirectiveNode*>(&statement) ||
               dynamic_cast<const Cpp::LabelNode*>(&statement) || dynamic_cast<const Cpp::CaseNode*>(&statement)) {
        complete = false;
    } else {
        complete = charAt(statement.end()) == ';';
    }
    m_Complete.emplace(&statement, complete);
    return complete;
}

// Whether a statement, written as the rewriter will write it in a place
// where it must not end in an if without else, still does so: an if without
// else at its end, reached through bodies left without braces. Bodies with
// braces never do: their braces stay unless taking them away is safe.
bool Rewriter::endsOpen(const Cpp::SyntaxNode& statement)
{
    const Cpp::CtrlStmtNode* pStmt = dynamic_cast<const Cpp::CtrlStmtNode*>(&statement);
    if (!pStmt)
        return false;
    const auto found = m_EndsOpen.find(pStmt);
    if (found != m_EndsOpen.end())
        return found->second;
    bool open = false;
    std::size_t last = pStmt->size();
    for (std::size_t i = 0; i < pStmt->size(); ++i)
        if (asPart(pStmt->child(i)))
            last = i;
    const Cpp::CtrlSubStmtNode* pFirst = firstPart(*pStmt);
    if (last != pStmt->size() && keywordOf(*pFirst) != Cpp::DO_KEY) {
        const Cpp::CtrlSubStmtNode& part = *asPart(pStmt->child(last));
        if (keywordOf(part) == Cpp::IF_KEY) {
            open = true;
        } else if (part.body()) {
            const PartPlan plan = planPart(*pStmt, last, true);
            open = plan.m_ChildGuarded && part.body()->size() == 1 && endsOpen(*part.body()->child(0));
        }
    }
    m_EndsOpen.emplace(pStmt, open);
    return open;
}

// ---- writing -----------------------------------------------------------------------

void Rewriter::rewriteBody(Cpp::BlockNode& body, BraceStyle style, bool childGuarded)
{
    if (body.size() != 1) {
        visitChildren(body);
        return;
    }
    Cpp::SyntaxNode& child = *body.child(0);
    const bool braced = body.isBraced();
    switch (style) {
    case BraceStyle::AS_WRITTEN:
        Stylist::copyUpToRaw(m_In, m_Out, body.start());
        visitStatement(child, childGuarded);
        Stylist::copyUpToRaw(m_In, m_Out, body.end());
        break;
    case BraceStyle::ADD_BRACES: {
        Stylist::copyUpToRaw(m_In, m_Out, body.start());
        if (!braced)
            Stylist::writeRaw(m_Out, LBRACE_STR);
        visitStatement(child, childGuarded);
        std::string stmt = Stylist::readThrough(m_In, body.end());
        if (!braced)
            stmt += RBRACE_STR;
        Stylist::writeRaw(m_Out, stmt);
        break;
    }
    case BraceStyle::REMOVE_BRACES: {
        Stylist::copyUpToRaw(m_In, m_Out, body.start());
        if (braced) {
            const std::string stmt = Stylist::readThrough(m_In, body.start());
            CORVALE_CHECK_TEXT(stmt.size() == 1 && stmt[0] == LBRACE_CHAR, "stmt == LBRACE_CHAR");
            // 'else{x();}' must not become 'elsex();'.
            const std::size_t open = offsetOf(body.start());
            if (open > 0 && open + 1 < m_Text.size() && isWordChar(m_Text[open - 1]) && !isBlank(m_Text[open + 1]))
                Stylist::writeRaw(m_Out, SPACE_STR);
        }
        visitStatement(child, childGuarded);
        std::string stmt = Stylist::readThrough(m_In, body.end());
        if (braced) {
            const std::size_t pos = stmt.rfind(RBRACE_CHAR);
            CORVALE_CHECK_TEXT(pos != std::string::npos && pos == stmt.length() - 1, "pos == stmt.length() - 1");
            std::size_t keep = pos;
            while (keep > 0 && isBlank(stmt[keep - 1]))
                --keep;
            stmt.erase(keep);
        }
        Stylist::writeRaw(m_Out, stmt);
        break;
    }
    default:
        CORVALE_CHECK(false);
    }
}

// ---- the text behind the tree ------------------------------------------------------

// Locations count lines from 1 and columns from 1 by character; column 0 is
// the newline that ends the line before.
std::size_t Rewriter::offsetOf(const Trn::Location& location) const
{
    const int line = location.line();
    if (line < 1 || static_cast<std::size_t>(line) > m_LineStarts.size() || location.col() < 0)
        return std::string::npos;
    const std::size_t lineStart = m_LineStarts[static_cast<std::size_t>(line - 1)];
    if (location.col() == 0 && lineStart == 0)
        return std::string::npos;
    const std::size_t offset = lineStart + static_cast<std::size_t>(location.col()) - 1;
    return offset < m_Text.size() ? offset : std::string::npos;
}

char Rewriter::charAt(const Trn::Location& location) const
{
    const std::size_t offset = offsetOf(location);
    return offset == std::string::npos ? '\0' : m_Text[offset];
}

bool Rewriter::onlyWhitespace(std::size_t from, std::size_t to) const
{
    for (std::size_t i = from; i < to; ++i)
        if (!isBlank(m_Text[i]))
            return false;
    return true;
}

// ---- nodes the walk never reaches ------------------------------------------------

void Rewriter::visitLinkageBlockBodyNode(Cpp::LinkageBlockBodyNode&) { CORVALE_CHECK(false); }
void Rewriter::visitEnumBodyNode(Cpp::EnumBodyNode&) { CORVALE_CHECK(false); }
void Rewriter::visitEnumHeadNode(Cpp::EnumHeadNode&) { CORVALE_CHECK(false); }
void Rewriter::visitKeywordNode(Cpp::KeywordNode&) { CORVALE_CHECK(false); }
void Rewriter::visitCtrlSubStmtHeadNode(Cpp::CtrlSubStmtHeadNode&) { CORVALE_CHECK(false); }
void Rewriter::visitCtrlSubStmtNode(Cpp::CtrlSubStmtNode&) { CORVALE_CHECK(false); }
void Rewriter::visitTypeNode(Cpp::TypeNode&) { CORVALE_CHECK(false); }
void Rewriter::visitInitializerNode(Cpp::InitializerNode&) { CORVALE_CHECK(false); }
void Rewriter::visitInitializerListNode(Cpp::InitializerListNode&) { CORVALE_CHECK(false); }
void Rewriter::visitParameterListNode(Cpp::ParameterListNode&) { CORVALE_CHECK(false); }
void Rewriter::visitParameterNode(Cpp::ParameterNode&) { CORVALE_CHECK(false); }
void Rewriter::visitFunctionReturnNode(Cpp::FunctionReturnNode&) { CORVALE_CHECK(false); }
void Rewriter::visitFunctionHeadNode(Cpp::FunctionHeadNode&) { CORVALE_CHECK(false); }
void Rewriter::visitNamespaceBodyNode(Cpp::NamespaceBodyNode&) { CORVALE_CHECK(false); }
void Rewriter::visitNamespaceHeadNode(Cpp::NamespaceHeadNode&) { CORVALE_CHECK(false); }
void Rewriter::visitClassNameNode(Cpp::ClassNameNode&) { CORVALE_CHECK(false); }
void Rewriter::visitClassHeadNode(Cpp::ClassHeadNode&) { CORVALE_CHECK(false); }
void Rewriter::visitClassBodyNode(Cpp::ClassBodyNode&) { CORVALE_CHECK(false); }
void Rewriter::visitBaseClauseListNode(Cpp::BaseClauseListNode&) { CORVALE_CHECK(false); }
void Rewriter::visitBaseClauseNode(Cpp::BaseClauseNode&) { CORVALE_CHECK(false); }

} // namespace StylistCpp
