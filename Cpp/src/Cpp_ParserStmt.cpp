// Blocks and the statements inside them.
#include "Corvale_Exception.h"
#include "Cpp_ParserRun.h"

namespace Cpp {

// ===========================================================================
// Blocks

std::unique_ptr<BlockNode> Parser::Run::parseBlock(Index& first, Index last)
{
    CORVALE_CHECK_TEXT(type(first) == LBRACE, "first->type() == LBRACE");
    Index close = matching(first, last);
    if (close == NONE) {
        // Without its closing brace the block reaches to the end of the text
        // and nothing in it is parsed.
        report(first, EXPECTED_RBRACE);
        auto pBlock = std::make_unique<BlockNode>(startOf(first), endOf(m_Tokens.size() - 1));
        first = last;
        return pBlock;
    }
    if (!enter(first))
        return nullptr;
    auto pBlock = std::make_unique<BlockNode>(startOf(first), endOf(close));
    parseBlockElements(*pBlock, first + 1, close);
    leave();
    first = close + 1;
    return pBlock;
}

void Parser::Run::parseBlockElements(BlockNode& block, Index i, Index last)
{
    static const Production statements[] = {
        &Run::parseControl,
        &Run::parseCase,
        &Run::parseAsm,
        &Run::parseLabel,
    };
    while (i < last && !m_Stopped) {
        std::int32_t t = type(i);
        if (t == SL_COMMENT || t == ML_COMMENT || t == ML_COMMENT_UNPARSED) {
            block.add(parseComment(i, last));
            continue;
        }
        if (t == PREPROCESSOR) {
            block.add(parsePreprocessor(i, last));
            continue;
        }
        const unsigned errors = m_Errors;
        if (t == LBRACE) {
            auto pBlock = parseBlock(i, last);
            if (!pBlock)
                return;
            block.add(std::move(pBlock));
            continue;
        }
        bool done = false;
        for (Production production : statements) {
            if (auto pNode = (this->*production)(i, last)) {
                block.add(std::move(pNode));
                done = true;
                break;
            }
            if (m_Errors != errors || m_Stopped)
                return;
        }
        if (done)
            continue;
        if (parseDeclarationInto(block, i, last, FUNCTION_DECL | DATA_DECL | CLASS_DECL | ENUM_DECL))
            continue;
        if (m_Errors != errors || m_Stopped)
            return;
        if (auto pNode = parseStatementScan(i, last)) {
            block.add(std::move(pNode));
            continue;
        }
        report(i, UNRECOGNIZED_ELEMENT);
        return;
    }
}

// ===========================================================================
// Control statements

namespace {

bool startsControlStatement(std::int32_t t)
{
    switch (t) {
    case IF_KEY:
    case ELSE_KEY:
    case FOR_KEY:
    case DO_KEY:
    case WHILE_KEY:
    case TRY_KEY:
    case CATCH_KEY:
    case SWITCH_KEY: return true;
    default: return false;
    }
}

bool hasCondition(std::int32_t t)
{
    return t == IF_KEY || t == FOR_KEY || t == WHILE_KEY || t == SWITCH_KEY || t == CATCH_KEY;
}

} // namespace

std::unique_ptr<SyntaxNode> Parser::Run::parseControl(Index& first, Index last)
{
    if (first >= last || !startsControlStatement(type(first)))
        return nullptr;
    if (!enter(first))
        return nullptr;
    const std::int32_t keyword = type(first);
    auto pStmt = std::make_unique<CtrlStmtNode>();
    Index i = first;
    auto pPart = parseControlPart(i, last, false);
    if (!pPart) {
        leave();
        return nullptr;
    }
    pStmt->add(std::move(pPart));
    // The continuations: an if takes its else (an else-if chain nests, as
    // the else's body is the next if); a try takes every catch; a do needs
    // its while. Comments and directives between the parts stay inside the
    // statement.
    if (keyword == IF_KEY) {
        Index next = skipTrivia(i, last);
        if (next < last && type(next) == ELSE_KEY) {
            if (auto pElse = parseControlPart(next, last, false)) {
                pStmt->add(std::move(pElse));
                i = next;
            }
        }
    }
    else if (keyword == TRY_KEY) {
        for (Index next = skipTrivia(i, last); next < last && type(next) == CATCH_KEY && !m_Stopped;
             next = skipTrivia(i, last)) {
            auto pCatch = parseControlPart(next, last, false);
            if (!pCatch)
                break;
            pStmt->add(std::move(pCatch));
            i = next;
        }
    }
    else if (keyword == DO_KEY) {
        Index next = skipTrivia(i, last);
        if (next < last && type(next) == WHILE_KEY) {
            if (auto pWhile = parseControlPart(next, last, true)) {
                pStmt->add(std::move(pWhile));
                i = next;
            }
        }
        else {
            report(next, UNRECOGNIZED_ELEMENT);
        }
    }
    leave();
    first = i;
    return pStmt;
}

std::unique_ptr<CtrlSubStmtNode> Parser::Run::parseControlPart(Index& first, Index last, bool whileOfDo)
{
    const std::int32_t keyword = type(first);
    auto pKeyword = leaf<KeywordNode>(first, first, keyword);
    Index i = first + 1;
    std::unique_ptr<ExprNode> pCondition;
    if (hasCondition(keyword)) {
        Index open = skipTrivia(i, last);
        // 'if constexpr (...)', and a macro standing for it in headers that
        // serve several language versions ('if _GLIBCXX17_CONSTEXPR (...)'):
        // the word stays between the keyword and the condition as written.
        if (keyword == IF_KEY && open < last && type(open) == IDENTIFIER) {
            Index next = advance(open, last);
            if (next < last && type(next) == LPAREN)
                open = next;
        }
        // 'if consteval { ... }' and 'if !consteval { ... }' have no
        // parenthesised condition: the words are the head's condition.
        Index word = open < last && type(open) == EXCLAMATION ? advance(open, last) : open;
        if (keyword == IF_KEY && word < last && type(word) == IDENTIFIER && token(word).text() == "consteval") {
            Index brace = advance(word, last);
            if (brace < last && type(brace) == LBRACE) {
                pCondition = leaf<ExprNode>(open, word);
                i = word + 1;
            }
        }
        if (!pCondition) {
            if (open >= last || type(open) != LPAREN) {
                report(open, EXPECTED_LPAREN);
                return nullptr;
            }
            Index close = matching(open, last);
            if (close == NONE) {
                report(open, EXPECTED_RPAREN);
                return nullptr;
            }
            pCondition = leaf<ExprNode>(open, close);
            i = close + 1;
        }
    }
    auto pHead = std::make_unique<CtrlSubStmtHeadNode>(std::move(pKeyword), std::move(pCondition));
    if (whileOfDo) {
        // 'do ... while (c);': the while part has no body; its semicolon
        // belongs to it.
        auto pPart = std::make_unique<CtrlSubStmtNode>(std::move(pHead));
        Index next = skipTrivia(i, last);
        if (next < last && type(next) == SEMICOLON) {
            pPart->setEnd(endOf(next));
            i = next + 1;
        }
        first = i;
        return pPart;
    }
    Index b = skipTrivia(i, last);
    std::unique_ptr<BlockNode> pBody;
    if (b < last && type(b) == LBRACE) {
        pBody = parseBlock(b, last);
        if (!pBody)
            return nullptr;
    }
    else {
        // A body without braces: one statement in a block without bracket
        // locations.
        const unsigned errors = m_Errors;
        std::unique_ptr<SyntaxNode> pStatement;
        if (b < last)
            pStatement = parseSingleStatement(b, last);
        if (!pStatement) {
            if (m_Errors == errors)
                report(b, UNRECOGNIZED_ELEMENT);
            return nullptr;
        }
        pBody = std::make_unique<BlockNode>();
        pBody->add(std::move(pStatement));
    }
    first = b;
    return std::make_unique<CtrlSubStmtNode>(std::move(pHead), std::move(pBody));
}

std::unique_ptr<SyntaxNode> Parser::Run::parseSingleStatement(Index& first, Index last)
{
    const unsigned errors = m_Errors;
    if (auto pNode = parseControl(first, last))
        return pNode;
    if (m_Errors != errors || m_Stopped)
        return nullptr;
    if (auto pNode = parseAsm(first, last))
        return pNode;
    if (m_Errors != errors || m_Stopped)
        return nullptr;
    if (auto pNode = parseDeclaration(first, last, FUNCTION_DECL | DATA_DECL | CLASS_DECL | ENUM_DECL))
        return pNode;
    if (m_Errors != errors || m_Stopped)
        return nullptr;
    return parseStatementScan(first, last);
}

// ===========================================================================
// Labels

std::unique_ptr<SyntaxNode> Parser::Run::parseCase(Index& first, Index last)
{
    std::int32_t keyword = type(first);
    if (first >= last || (keyword != CASE_KEY && keyword != DEFAULT_KEY))
        return nullptr;
    Index i = advance(first, last);
    std::unique_ptr<ExprNode> pLabel;
    if (keyword == CASE_KEY) {
        Index labelFirst = i;
        while (i < last && type(i) != COLON && type(i) != SEMICOLON && type(i) != LBRACE && type(i) != RBRACE) {
            if (type(i) == LPAREN || type(i) == LBRACKET) {
                Index close = matching(i, last);
                if (close != NONE)
                    i = close;
            }
            i = advance(i, last);
        }
        if (i >= last || type(i) != COLON || i == labelFirst) {
            report(i, EXPECTED_CASE_COLON);
            return nullptr;
        }
        pLabel = leaf<ExprNode>(labelFirst, previous(i, labelFirst));
    }
    else if (i >= last || type(i) != COLON) {
        report(i, EXPECTED_CASE_COLON);
        return nullptr;
    }
    auto pNode = std::make_unique<CaseNode>(leaf<KeywordNode>(first, first, keyword), std::move(pLabel));
    pNode->setEnd(endOf(i));
    first = i + 1;
    return pNode;
}

std::unique_ptr<SyntaxNode> Parser::Run::parseLabel(Index& first, Index last)
{
    if (first >= last || type(first) != IDENTIFIER || isAccessSpecifier(token(first)))
        return nullptr;
    Index colon = advance(first, last);
    if (colon >= last || type(colon) != COLON)
        return nullptr;
    auto pNode = std::make_unique<LabelNode>(leaf<IdNode>(first, first, token(first).text()));
    pNode->setEnd(endOf(colon));
    first = colon + 1;
    return pNode;
}

// ===========================================================================
// Assembler statements

std::unique_ptr<SyntaxNode> Parser::Run::parseAsm(Index& first, Index last)
{
    if (first >= last || !isAsmKeyword(token(first)))
        return nullptr;
    Index i = advance(first, last);
    // 'asm volatile (...)', '__asm__ __volatile__ (...)', 'asm goto (...)'.
    while (i < last && (type(i) == VOLATILE_KEY || type(i) == INLINE_KEY || type(i) == GOTO_KEY ||
                        (type(i) == IDENTIFIER && token(i).text() == "__volatile__")))
        i = advance(i, last);
    if (i < last && type(i) == LBRACE) {
        Index close = matching(i, last);
        if (close == NONE) {
            report(i, EXPECTED_RBRACE);
            first = last;
            return nullptr;
        }
        // The braced body is assembler, not C++: it is kept whole, as a block
        // without children.
        auto pNode = std::make_unique<AsmNode>(leaf<TextNode>(first, previous(i, first)),
                                               std::make_unique<BlockNode>(startOf(i), endOf(close)), 1);
        first = close + 1;
        return pNode;
    }
    Index end;
    if (i < last && type(i) == LPAREN) {
        Index close = matching(i, last);
        if (close == NONE) {
            report(i, EXPECTED_RPAREN);
            return nullptr;
        }
        end = close;
        Index next = skipTrivia(close + 1, last);
        if (next < last && type(next) == SEMICOLON)
            end = next;
    }
    else {
        // One line: up to a semicolon, the end of the keyword's line, or the
        // next assembler keyword ('__asm mov eax, 1 __asm mov ebx, 2').
        end = first;
        const std::int32_t line = startOf(first).line();
        for (Index k = first + 1; k < last; ++k) {
            if (isTrivia(k) || type(k) == RBRACE || type(k) == LBRACE || startOf(k).line() != line ||
                isAsmKeyword(token(k)))
                break;
            end = k;
            if (type(k) == SEMICOLON)
                break;
        }
    }
    auto pNode = std::make_unique<AsmNode>(leaf<TextNode>(first, end), nullptr, 0);
    first = end + 1;
    return pNode;
}

} // namespace Cpp
