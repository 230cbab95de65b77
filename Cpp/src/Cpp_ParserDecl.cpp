// The declaration classifier and the productions of functions, data,
// templates and the generic statement scan.
#include "Corvale_Exception.h"
#include "Cpp_ParserRun.h"

#include <algorithm>

namespace Cpp {

namespace {

bool isAccessKeyword(std::int32_t t)
{
    return t == PUBLIC_KEY || t == PROTECTED_KEY || t == PRIVATE_KEY;
}

bool isAssignment(std::int32_t t)
{
    return t == EQUALS || t == STAR_EQUALS || t == SLASH_EQUALS || t == PERCENT_EQUALS || t == PLUS_EQUALS ||
           t == MINUS_EQUALS;
}

} // namespace

// ===========================================================================
// Declaration classifier

Parser::Run::Index Parser::Run::qualifierStep(Index i, Index last) const
{
    CORVALE_CHECK_TEXT(isTypeQualifier(token(i)), "isTypeQualifier(*first)");
    // An extension word or using takes a directly following parenthesised or
    // bracketed group with it ('__declspec(dllexport)').
    if ((isExtensionWord(i) || type(i) == USING_KEY) && i + 1 < last &&
        (type(i + 1) == LPAREN || type(i + 1) == LBRACKET)) {
        Index close = matching(i + 1, last);
        if (close != NONE)
            return close;
    }
    return i;
}

int Parser::Run::classify(Index first, Index last) const
{
    CORVALE_CHECK_TEXT(first != last, "first != last");
    std::int32_t t0 = type(first);
    if (t0 == PREPROCESSOR || t0 == SL_COMMENT || t0 == ML_COMMENT)
        return NO_DECLARATION;
    Index c = skipTrivia(first, last);
    // Attributes before the declaration ('[[nodiscard]]') say nothing about
    // its kind.
    for (Index a = attributeEnd(c, last); a != NONE; a = attributeEnd(c, last))
        c = advance(a, last);
    if (c >= last)
        return NO_DECLARATION;
    const Index declFirst = c;
    Index prev = c;

    switch (type(c)) {
    case CLASS_KEY:
    case STRUCT_KEY:
    case UNION_KEY:
    case ENUM_KEY:
    case VIRTUAL_KEY:
    case INLINE_KEY:
    case EXPLICIT_KEY:
    case FRIEND_KEY:
    case TYPEDEF_KEY:
    case OPERATOR_KEY:
    case EXTERN_KEY:
    case VOID_KEY: break;
    case USING_KEY: return NO_DECLARATION;
    case IDENTIFIER: {
        Index n = advance(c, last);
        std::int32_t next = n < last ? type(n) : Trn::END_OF_FILE;
        if (next == SHIFT_LEFT || next == SHIFT_RIGHT)
            return NO_DECLARATION;
        if (isAssignment(next)) {
            Index after = advance(n, last);
            if (after < last && type(after) != LBRACE)
                return NO_DECLARATION;
        }
        break;
    }
    default:
        if (type(c) == STAR || type(c) == AMPERSAND)
            return NO_DECLARATION;
        if (!isTypeWord(c) && !isTypeQualifier(token(c)))
            return NO_DECLARATION;
        break;
    }

    int kind = NO_DECLARATION;
    int angle = 0;
    int names = 0;
    bool operatorSeen = false, externSeen = false, typedefSeen = false, typeWordSeen = false, voidSeen = false,
         classKeySeen = false;
    auto step = [&]() {
        prev = c;
        c = advance(c, last);
    };
    int budget = CLASSIFY_LOOKAHEAD;
    bool scanning = true;
    while (scanning && c < last) {
        if (--budget < 0 || c - declFirst > static_cast<Index>(CLASSIFY_LOOKAHEAD)) {
            c = last; // far beyond any real declaration head: read as the end
            break;
        }
        std::int32_t t = type(c);
        if (Index a = attributeEnd(c, last); a != NONE) {
            // An attribute among the specifiers or after the name is passed
            // whole.
            c = advance(a, last);
            continue;
        }
        if (t == IDENTIFIER && nameRunEnd(c) > c + 1) {
            // A run of plain names (with comments and directives between
            // them) only counts names: it is passed in one step, so that
            // runs of names never cost more than once.
            Index runEnd = std::min(nameRunEnd(c), last);
            names += static_cast<int>(namesInRun(c, last));
            prev = previous(runEnd, c);
            c = runEnd;
            continue;
        }
        switch (t) {
        case SEMICOLON:
        case COLON:
            if (kind == NO_DECLARATION)
                kind = DATA_DECL;
            step();
            scanning = false;
            break;
        case LBRACE:
            step();
            scanning = false;
            break;
        case GOTO_KEY:
        case RETURN_KEY:
        case IF_KEY:
        case ELSE_KEY:
        case FOR_KEY:
        case DO_KEY:
        case WHILE_KEY:
        case TRY_KEY:
        case CATCH_KEY:
        case SWITCH_KEY: scanning = false; break;
        case DOT:
        case ARROW:
        case DOT_STAR:
            if (kind == NO_DECLARATION)
                return NO_DECLARATION;
            step();
            break;
        case PLUS_PLUS:
        case MINUS_MINUS:
            if (!operatorSeen)
                return NO_DECLARATION;
            step();
            break;
        case PUBLIC_KEY:
        case PRIVATE_KEY:
        case PROTECTED_KEY: return DATA_DECL;
        case EXTERN_KEY:
            externSeen = true;
            step();
            break;
        case TYPEDEF_KEY:
            typedefSeen = true;
            step();
            break;
        case VOID_KEY:
            voidSeen = true;
            typeWordSeen = true;
            step();
            break;
        case OPERATOR_KEY:
            operatorSeen = true;
            kind = FUNCTION_FULL_HEAD;
            step();
            break;
        case VIRTUAL_KEY:
        case INLINE_KEY:
        case EXPLICIT_KEY:
            kind = FUNCTION_FULL_HEAD;
            step();
            break;
        case CLASS_KEY:
        case STRUCT_KEY:
        case UNION_KEY:
            classKeySeen = true;
            if (kind == NO_DECLARATION) {
                if (type(prev) == IDENTIFIER && prev != c) {
                    scanning = false;
                    break;
                }
                kind = CLASS_DECL;
            }
            step();
            break;
        case ENUM_KEY:
            classKeySeen = true;
            if (type(prev) == IDENTIFIER && prev != c) {
                kind = NO_DECLARATION;
            }
            else {
                kind = ENUM_DECL;
                step();
            }
            scanning = false;
            break;
        case LESS:
            if (operatorSeen) {
                kind = FUNCTION_FULL_HEAD;
                step();
                scanning = false;
            }
            else {
                ++angle;
                step();
            }
            break;
        case GREATER:
            if (operatorSeen) {
                kind = FUNCTION_FULL_HEAD;
                step();
                scanning = false;
            }
            else {
                --angle;
                step();
            }
            break;
        case SHIFT_RIGHT:
            if (!operatorSeen && closesTwoLists(c)) { // 'A<B<C&>> x;'
                angle -= 2;
                step();
                break;
            }
            kind = operatorSeen ? FUNCTION_FULL_HEAD : NO_DECLARATION;
            step();
            scanning = false;
            break;
        case SHIFT_LEFT:
        case SHIFT_LEFT_EQUALS:
        case SHIFT_RIGHT_EQUALS:
            kind = operatorSeen ? FUNCTION_FULL_HEAD : NO_DECLARATION;
            step();
            scanning = false;
            break;
        case EQUALS:
        case LBRACKET: {
            if (operatorSeen) {
                kind = FUNCTION_FULL_HEAD;
                step();
                break;
            }
            if (kind != NO_DECLARATION || externSeen || typeWordSeen || names >= 2)
                return DATA_DECL;
            Index after = advance(c, last);
            if (after < last && type(after) == (t == EQUALS ? LBRACE : RBRACKET)) {
                kind = DATA_DECL;
                step();
            }
            scanning = false;
            break;
        }
        case LPAREN:
            if (angle != 0) {
                step();
                break;
            }
            if (typedefSeen)
                return FUNCTION_DECL;
            kind = FUNCTION_FULL_HEAD;
            scanning = false;
            break;
        default:
            if (isTypeQualifier(token(c))) {
                prev = qualifierStep(c, last);
                c = advance(prev, last);
            }
            else if (isControlKeywordType(t)) {
                scanning = false;
            }
            else if (isTypeWord(c)) {
                typeWordSeen = true;
                step();
            }
            else {
                ++names;
                step();
            }
            break;
        }
    }
    if (kind == FUNCTION_FULL_HEAD)
        return functionCheck(declFirst, last, c, prev, operatorSeen, externSeen, classKeySeen, voidSeen);
    if (kind == CLASS_DECL)
        return classCheck(declFirst, last, prev, typedefSeen);
    return kind;
}

int Parser::Run::functionCheck(Index first, Index last, Index c, Index prev, bool operatorSeen, bool externSeen,
                               bool classKeySeen, bool voidSeen) const
{
    if (type(prev) == OPERATOR_KEY || operatorSeen)
        return FUNCTION_FULL_HEAD;
    if (c >= last || type(c) != LPAREN)
        return FUNCTION_FULL_HEAD;
    const Index open = c;
    if (type(prev) == STAR || type(advance(open, last)) == STAR)
        return FUNCTION_DECL; // a pointer to function
    const Index close = matching(open, last);
    if (close == NONE)
        return NO_DECLARATION;
    c = advance(close, last);
    if (c < last) {
        if (externSeen || type(c) == COLON || type(c) == LBRACE || type(c) == TRY_KEY)
            return FUNCTION_FULL_HEAD; // a definition, or a constructor with initializers
    }
    if (c < last && (type(c) == DOT || type(c) == ARROW))
        return NO_DECLARATION; // the parentheses were a call
    for (int budget = CLASSIFY_LOOKAHEAD; c < last && budget > 0; c = advance(c, last), --budget) {
        std::int32_t t = type(c);
        if (t == LPAREN || t == STAR)
            return FUNCTION_DECL;
        if (t == THROW_KEY || t == IDENTIFIER || t == LBRACE || t == SEMICOLON)
            break;
    }
    int kind = FUNCTION_FULL_HEAD;
    Index p = advance(open, last);
    // A name with a group holding an empty item ('MACRO(void, );') is a
    // macro invocation: no parameter list is ever empty between commas.
    if (p < close && type(advance(first, last)) == LPAREN && holdsEmptyItem(open, close))
        return CALL_LIKE;
    if (p >= close || isTypeWord(p) || isTypeQualifier(token(p)))
        return FUNCTION_FULL_HEAD;
    int count = 0;
    while (count <= 1 && kind == FUNCTION_FULL_HEAD && p < close && type(p) != COMMA) {
        std::int32_t t = type(p);
        if (isTypeWord(p) || isClassKey(p))
            ++count;
        else if (isTypeQualifier(token(p)) || t == AND_AND) // '&&' qualifies like '&'
            count = 2;
        else if (t == IDENTIFIER)
            ++count;
        else if (t == LBRACE || t == RBRACE || t == GREATER)
            ;
        else
            kind = DATA_DECL;
        p = advance(p, last);
    }
    if (count <= 1) {
        if (classKeySeen)
            kind = DATA_DECL;
        else if (type(advance(first, last)) == LPAREN)
            kind = CALL_LIKE;
    }
    if (kind != FUNCTION_DECL && kind != FUNCTION_FULL_HEAD && voidSeen)
        kind = FUNCTION_FULL_HEAD;
    return kind;
}

int Parser::Run::classCheck(Index first, Index last, Index prev, bool typedefSeen) const
{
    if (typedefSeen)
        return type(prev) == LBRACE ? CLASS_DECL : DATA_DECL;
    Index c = first;
    int budget = CLASSIFY_LOOKAHEAD;
    while (c < last && !isClassKey(c) && --budget > 0)
        c = advance(c, last);
    if (c >= last || !isClassKey(c))
        return DATA_DECL;
    c = advance(c, last);
    while (c < last && isTypeQualifier(token(c)))
        c = advance(qualifierStep(c, last), last);
    if (c < last && type(c) == IDENTIFIER)
        c = advance(c, last);
    if (c >= last)
        return DATA_DECL;
    for (Index s = c; s < last && budget > 0; s = advance(s, last), --budget) {
        std::int32_t t = type(s);
        if (t == SEMICOLON)
            return s == c ? CLASS_DECL : DATA_DECL;
        if (t == COLON || t == LBRACE)
            return CLASS_DECL;
        // A closing brace before any opening one closes an enclosing
        // block: no class head runs across it. Taking the "{" after it for
        // a class body would read 'class } if (a) { b; }' as a class named
        // "} if (a)", and a brace added to a statement could then turn the
        // text around it into a class.
        if (t == RBRACE)
            return DATA_DECL;
    }
    return DATA_DECL;
}

// ===========================================================================
// Items of comma-separated lists

Parser::Run::Index Parser::Run::itemEnd(Index i, Index last, bool& hasDefault) const
{
    hasDefault = false;
    while (i < last && type(i) != COMMA) {
        std::int32_t t = type(i);
        if (t == EQUALS)
            hasDefault = true;
        if (t == LPAREN || t == LBRACKET || t == LBRACE || t == LESS) {
            Index close = matching(i, last);
            if (close != NONE)
                i = close;
            else if (t == LESS && last < m_Tokens.size() && opening(i) == last && closesTwoLists(last))
                return last; // 'A<B&, C>>': the list's own '>>' closes this one too
        }
        ++i;
    }
    return i;
}

bool Parser::Run::holdsEmptyItem(Index open, Index close) const
{
    Index i = advance(open, close);
    while (i < close) {
        bool hasDefault = false;
        Index end = itemEnd(i, close, hasDefault);
        if (end == i)
            return true; // '(, x)' or '(x, , y)'
        if (end >= close)
            return false;
        i = advance(end, close);
        if (i >= close)
            return true; // '(x, )'
    }
    return false;
}

std::unique_ptr<ParameterListNode> Parser::Run::parseParameters(Index open, Index close)
{
    auto pList = std::make_unique<ParameterListNode>(startOf(open), endOf(close));
    Index i = advance(open, close);
    if (i >= close)
        return pList;
    for (;;) {
        bool hasDefault = false;
        Index end = itemEnd(i, close, hasDefault);
        Index lastToken = previous(end, i);
        if (end == i || lastToken == NONE) { // an empty parameter: '(int, )'
            report(i, UNRECOGNIZED_ELEMENT);
            return nullptr;
        }
        pList->add(std::make_unique<ParameterNode>(startOf(i), endOf(lastToken), hasDefault));
        if (end < close && type(end) == COMMA) {
            i = advance(end, close);
            if (i >= close) {
                report(end, UNRECOGNIZED_ELEMENT);
                return nullptr;
            }
            continue;
        }
        return pList;
    }
}

std::unique_ptr<ArgListNode> Parser::Run::parseArguments(Index open, Index close)
{
    auto pList = std::make_unique<ArgListNode>(startOf(open), endOf(close));
    Index i = advance(open, close);
    if (i >= close)
        return pList;
    for (;;) {
        bool unused = false;
        Index end = itemEnd(i, close, unused);
        Index lastToken = previous(end, i);
        if (end == i || lastToken == NONE) {
            report(i, UNRECOGNIZED_ELEMENT);
            return nullptr;
        }
        pList->add(leaf<ArgNode>(i, lastToken));
        if (end < close && type(end) == COMMA) {
            i = advance(end, close);
            if (i >= close) {
                report(end, UNRECOGNIZED_ELEMENT);
                return nullptr;
            }
            continue;
        }
        return pList;
    }
}

// ===========================================================================
// Functions

namespace {

// Tokens that may stand between a function's parameter list and its body or
// semicolon: cv-qualifiers, ref-qualifiers, extension words and macros
// ('const', 'override', 'BOOST_NOEXCEPT'), trailing return types.
bool isTrailingWord(std::int32_t t)
{
    return t == CONST_KEY || t == VOLATILE_KEY || t == IDENTIFIER || t == AMPERSAND || t == AND_AND ||
           t == ARROW || t == STAR || t == TYPENAME_KEY || t == LESS || t == GREATER || t == LPAREN ||
           t == LBRACKET || isBuiltinTypeType(t);
}

} // namespace

std::unique_ptr<SyntaxNode> Parser::Run::parseFunction(Index& first, Index last, bool fullHead, bool inStatement)
{
    const Index begin = skipTrivia(first, last);
    if (begin >= last)
        return nullptr;
    // Find the parameter list and where the name starts. An operator name
    // runs from 'operator' to the parameter list, and 'operator()' keeps its
    // own parentheses.
    Index nameFirst = NONE;
    Index open = NONE;
    Index i = begin;
    while (i < last) {
        std::int32_t t = type(i);
        if (Index a = attributeEnd(i, last); a != NONE) {
            i = advance(a, last);
            continue;
        }
        if (t == OPERATOR_KEY) {
            nameFirst = i;
            Index j = advance(i, last);
            if (j < last && type(j) == LPAREN) {
                Index k = advance(j, last);
                if (k < last && type(k) == RPAREN)
                    j = advance(k, last);
            }
            while (j < last && type(j) != LPAREN && type(j) != SEMICOLON && type(j) != LBRACE)
                j = advance(j, last);
            if (j < last && type(j) == LPAREN)
                open = j;
            i = j;
            break;
        }
        // Template arguments in the return type may hold parentheses
        // ('enable_if_t<!(A && B)> swap(...)', 'array<T, N * (N + 1) / 2> f()').
        if (t == LESS) {
            Index close = matching(i, last);
            if (close != NONE) {
                i = advance(close, last);
                continue;
            }
        }
        if (t == LPAREN) {
            Index p = previous(i, begin);
            Index close = matching(i, last);
            if (p != NONE && isExtensionWord(p) && close != NONE) { // '__declspec(...)' before the name
                i = advance(close, last);
                continue;
            }
            open = i;
            break;
        }
        if (t == SEMICOLON || t == LBRACE || t == EQUALS || t == COLON || t == RBRACE)
            break;
        i = advance(i, last);
    }
    if (open == NONE) {
        // No parameter list before the declaration's end: the specifiers
        // that made it look like a function ('inline constexpr T x{};')
        // belong to a variable.
        if (nameFirst == NONE && i < last && (type(i) == SEMICOLON || type(i) == EQUALS || type(i) == LBRACE) &&
            previous(i, begin) != NONE && type(previous(i, begin)) == IDENTIFIER)
            return parseData(first, last, false);
        report(i, MISSING_PARAMETER_LIST);
        return nullptr;
    }
    const Index close = matching(open, last);
    if (nameFirst == NONE && close != NONE) {
        Index p = previous(open, begin);
        bool named = p != NONE && (type(p) == IDENTIFIER || type(p) == NEW_KEY || type(p) == DELETE_KEY);
        Index after = advance(close, last);
        // A declarator in parentheses that is not followed by parameters is
        // a variable: 'typedef char (&two)[2];', 'int (*p) = 0;'.
        if (!named && after < last &&
            (type(after) == LBRACKET || type(after) == SEMICOLON || type(after) == EQUALS || type(after) == COMMA))
            return parseData(first, last, false);
    }
    if (nameFirst == NONE && close != NONE) {
        // 'void (*pf)(int)': the first group is the declarator of a pointer
        // to function when it holds a '*' or '&' and another group follows.
        Index after = advance(close, last);
        if (after < last && type(after) == LPAREN) {
            // A declarator in parentheses without any name before it:
            // 'int (f)(int)'.
            Index p = previous(open, begin);
            if (p == NONE || !(type(p) == IDENTIFIER || type(p) == NEW_KEY || type(p) == DELETE_KEY))
                return parseFunctionPointer(first, last, open);
            for (Index k = advance(open, close); k < close; k = advance(k, close)) {
                if (type(k) == STAR || type(k) == AMPERSAND)
                    return parseFunctionPointer(first, last, open);
                if (type(k) == LPAREN || type(k) == LBRACKET) {
                    Index m = matching(k, close);
                    if (m == NONE)
                        break;
                    k = m;
                }
            }
        }
    }
    if (nameFirst == NONE) {
        Index p = previous(open, begin);
        if (p == NONE || !(type(p) == IDENTIFIER || type(p) == NEW_KEY || type(p) == DELETE_KEY)) {
            report(open, MISSING_FUNCTION_NAME);
            return nullptr;
        }
        nameFirst = p;
    }
    if (close == NONE) {
        report(open, EXPECTED_RPAREN);
        return nullptr;
    }
    std::unique_ptr<FunctionReturnNode> pReturn;
    if (nameFirst > begin) {
        Index returnLast = previous(nameFirst, begin);
        if (returnLast != NONE)
            pReturn = leaf<FunctionReturnNode>(begin, returnLast);
    }
    auto pId = leaf<IdNode>(nameFirst, previous(open, nameFirst), nameText(nameFirst, open));
    auto pParams = parseParameters(open, close);
    if (!pParams)
        return nullptr;

    // The text after the parameter list, up to an exception specification,
    // a pure specifier, an initializer list, the body or the semicolon.
    Index t = advance(close, last);
    const Index trailingFirst = t;
    Index trailingLast = NONE;
    while (t < last && isTrailingWord(type(t))) {
        // A trailing requires-clause ('void f() requires C<T>;') is part of
        // the text after the parameters.
        if (isRequires(t)) {
            Index clauseEnd = requiresClauseEnd(t, last);
            if (clauseEnd != NONE) {
                trailingLast = clauseEnd;
                t = advance(clauseEnd, last);
                continue;
            }
        }
        if (type(t) == LPAREN || type(t) == LBRACKET) {
            Index m = matching(t, last);
            if (m == NONE)
                break;
            t = m;
        }
        trailingLast = t;
        t = advance(t, last);
    }
    // A function-try-block: 'try' stands between the head and the
    // initializers or the body, and catch clauses follow the body. The
    // keyword ends the head's trailing text (or its exception specification
    // below).
    const bool functionTry = fullHead && t < last && type(t) == TRY_KEY;
    if (functionTry) {
        trailingLast = t;
        t = advance(t, last);
    }
    std::unique_ptr<TextNode> pTrailing;
    if (trailingLast != NONE)
        pTrailing = leaf<TextNode>(trailingFirst, trailingLast);

    std::unique_ptr<ExprNode> pException;
    bool tryAfterSpec = false;
    if (t < last && type(t) == THROW_KEY) {
        const Index throwAt = t;
        Index group = advance(t, last);
        if (group >= last || type(group) != LPAREN) {
            report(group, INVALID_EXCEPTION_SPEC);
            return nullptr;
        }
        Index groupClose = matching(group, last);
        if (groupClose == NONE) {
            report(group, EXPECTED_RPAREN);
            return nullptr;
        }
        Index specLast = groupClose;
        t = advance(groupClose, last);
        // Words after the exception specification ('throw() override') stay with it.
        while (t < last && isTrailingWord(type(t))) {
            if (type(t) == LPAREN || type(t) == LBRACKET) {
                Index m = matching(t, last);
                if (m == NONE)
                    break;
                t = m;
            }
            specLast = t;
            t = advance(t, last);
        }
        if (fullHead && !functionTry && t < last && type(t) == TRY_KEY) {
            specLast = t;
            t = advance(t, last);
            tryAfterSpec = true;
        }
        pException = leaf<ExprNode>(throwAt, specLast);
    }

    std::unique_ptr<ExprNode> pPure;
    if (t < last && type(t) == EQUALS) {
        Index value = advance(t, last);
        bool zero = value < last && type(value) == NUMBER_LITERAL && token(value).text() == "0";
        // '= default' and '= delete' stand where a pure specifier stands.
        bool special = value < last && (type(value) == DEFAULT_KEY || type(value) == DELETE_KEY);
        if (!zero && !special) {
            // In a statement no function can be declared pure: 'f(*p) = x;'
            // is an assignment, left to the statement scan.
            if (inStatement)
                return nullptr;
            report(value, EXPECTED_PURE_ZERO);
            return nullptr;
        }
        pPure = leaf<ExprNode>(t, value);
        t = advance(value, last);
    }
    auto pHead = std::make_unique<FunctionHeadNode>(std::move(pReturn), std::move(pId), std::move(pParams),
                                                    std::move(pTrailing), std::move(pException), std::move(pPure));

    std::unique_ptr<InitializerListNode> pInits;
    if (fullHead && t < last && type(t) == COLON) {
        pInits = parseInitializers(t, last);
        if (!pInits)
            return nullptr;
    }
    Index end = previous(t, begin);
    std::unique_ptr<BlockNode> pBody;
    std::unique_ptr<CtrlStmtNode> pHandlers;
    if (t < last && type(t) == LBRACE) {
        pBody = parseBlock(t, last);
        if (!pBody)
            return nullptr;
        end = previous(t, begin);
        // The catch clauses of a function-try-block end the definition;
        // they are parsed as a try statement's are.
        if (functionTry || tryAfterSpec) {
            pHandlers = std::make_unique<CtrlStmtNode>();
            for (Index c = skipTrivia(t, last); c < last && type(c) == CATCH_KEY; c = skipTrivia(t, last)) {
                Index open = advance(c, last);
                Index groupClose = open < last && type(open) == LPAREN ? matching(open, last) : NONE;
                if (groupClose == NONE) {
                    report(open, EXPECTED_LPAREN);
                    return nullptr;
                }
                Index brace = advance(groupClose, last);
                Index braceClose = brace < last && type(brace) == LBRACE ? matching(brace, last) : NONE;
                if (braceClose == NONE) {
                    report(brace, EXPECTED_LBRACE);
                    return nullptr;
                }
                Index partFirst = c;
                auto pCatch = parseControlPart(partFirst, braceClose + 1, false);
                if (!pCatch)
                    return nullptr;
                pHandlers->add(std::move(pCatch));
                end = braceClose;
                t = braceClose + 1;
            }
            if (pHandlers->empty())
                pHandlers.reset();
        }
    }
    Index next = skipTrivia(t, last);
    if (next < last && type(next) == SEMICOLON) {
        end = next;
        t = next + 1;
    }
    std::unique_ptr<FunctionDeclNode> pDecl;
    if (pInits)
        pDecl = std::make_unique<CtorDeclNode>(std::move(pHead), std::move(pInits), std::move(pBody));
    else
        pDecl = std::make_unique<FunctionDeclNode>(std::move(pHead), std::move(pBody));
    pDecl->setHandlers(std::move(pHandlers));
    pDecl->setStart(startOf(begin));
    pDecl->setEnd(endOf(end));
    // A body without its closing brace reaches to the end of the text, which
    // may lie beyond the last token that is no comment.
    if (pDecl->body() != nullptr && pDecl->end() < pDecl->body()->end())
        pDecl->setEnd(pDecl->body()->end());
    first = std::max(t, end + 1);
    return pDecl;
}

std::unique_ptr<SyntaxNode> Parser::Run::parseFunctionPointer(Index& first, Index last, Index open)
{
    const Index begin = skipTrivia(first, last);
    const Index close = matching(open, last);
    const Index paramsOpen = advance(close, last);
    const Index paramsClose = matching(paramsOpen, last);
    if (paramsClose == NONE) {
        report(paramsOpen, EXPECTED_RPAREN);
        return nullptr;
    }
    std::unique_ptr<TypeNode> pType;
    if (open > begin) {
        Index typeLast = previous(open, begin);
        if (typeLast != NONE)
            pType = leaf<TypeNode>(begin, typeLast);
    }
    // The declarator group is the name's extent; its name is the last name
    // at the group's own level ('(*pf)', '(C::*pmf)', '(__stdcall *p)').
    std::string name;
    for (Index k = advance(open, close); k < close; k = advance(k, close)) {
        if (type(k) == IDENTIFIER)
            name = token(k).text();
        else if (type(k) == LPAREN || type(k) == LBRACKET) {
            Index m = matching(k, close);
            if (m == NONE)
                break;
            k = m;
        }
    }
    auto pId = leaf<IdNode>(open, close, name);
    auto pParams = parseParameters(paramsOpen, paramsClose);
    if (!pParams)
        return nullptr;
    // Whatever follows up to the semicolon ('const', '= 0', '= &f').
    Index t = advance(paramsClose, last);
    const Index trailingFirst = t;
    Index trailingLast = NONE;
    while (t < last && type(t) != SEMICOLON && type(t) != LBRACE && type(t) != RBRACE) {
        if (type(t) == LPAREN || type(t) == LBRACKET) {
            Index m = matching(t, last);
            if (m != NONE)
                t = m;
        }
        trailingLast = t;
        t = advance(t, last);
    }
    std::unique_ptr<TextNode> pTrailing;
    if (trailingLast != NONE)
        pTrailing = leaf<TextNode>(trailingFirst, trailingLast);
    Index end = trailingLast != NONE ? trailingLast : paramsClose;
    if (t < last && type(t) == SEMICOLON)
        end = t;
    auto pDecl = std::make_unique<FunctionPtrDeclNode>(std::move(pType), std::move(pId), std::move(pParams),
                                                       std::move(pTrailing));
    pDecl->setStart(startOf(begin));
    pDecl->setEnd(endOf(end));
    first = end + 1;
    return pDecl;
}

std::unique_ptr<InitializerListNode> Parser::Run::parseInitializers(Index& first, Index last)
{
    CORVALE_CHECK_TEXT(type(first) == COLON, "first->type() == COLON");
    auto pList = std::make_unique<InitializerListNode>();
    Index i = advance(first, last);
    for (;;) {
        if (i >= last || type(i) != IDENTIFIER) {
            if (i < last && (type(i) == LPAREN || type(i) == LBRACE))
                report(i, EXPECTED_VARIABLE_NAME);
            else
                report(i, UNRECOGNIZED_ELEMENT);
            return nullptr;
        }
        // A base named with template arguments the lexer did not fold into
        // the name ('Base<const T&>(x)').
        Index nameLast = i;
        Index open = advance(i, last);
        if (open < last && type(open) == LESS) {
            Index close = matching(open, last);
            if (close != NONE) {
                nameLast = close;
                open = advance(close, last);
            }
        }
        // 'a(1)', and the braced form 'a{1}'.
        if (open >= last || (type(open) != LPAREN && type(open) != LBRACE)) {
            report(open, UNRECOGNIZED_ELEMENT);
            return nullptr;
        }
        Index close = matching(open, last);
        if (close == NONE) {
            report(open, EXPECTED_RPAREN);
            return nullptr;
        }
        auto pArgs = parseArguments(open, close);
        if (!pArgs)
            return nullptr;
        pList->add(std::make_unique<InitializerNode>(leaf<IdNode>(i, nameLast, nameText(i, nameLast + 1)),
                                                     std::move(pArgs)));
        i = advance(close, last);
        if (i < last && type(i) == COMMA) {
            i = advance(i, last);
            continue;
        }
        break;
    }
    first = i;
    return pList;
}

// ===========================================================================
// Data

std::unique_ptr<SyntaxNode> Parser::Run::parseData(Index& first, Index last, bool declaratorOnly)
{
    const Index begin = skipTrivia(first, last);
    if (begin >= last || type(begin) == RBRACE)
        return nullptr;
    // The declared name is the last name before the first declarator
    // punctuation at the top level.
    Index k = begin;
    Index name = NONE;
    int angle = 0;
    while (k < last) {
        std::int32_t t = type(k);
        if (t == SEMICOLON || t == LBRACE || t == RBRACE || isAccessKeyword(t))
            break;
        if (angle == 0 && (t == COMMA || t == EQUALS || t == LBRACKET || t == COLON))
            break;
        if (t == LPAREN) {
            Index p = previous(k, begin);
            Index close = matching(k, last);
            bool extension = p != NONE && isExtensionWord(p);
            if (!extension && name != NONE && angle == 0)
                break; // 'Foo bar(5);'
            if (close == NONE)
                break;
            k = advance(close, last);
            continue;
        }
        if (t == LESS)
            ++angle;
        else if (t == GREATER && angle > 0)
            --angle;
        else if (closesTwoLists(k))
            angle = std::max(0, angle - 2);
        else if (t == IDENTIFIER && !isExtensionWord(k))
            name = k;
        k = advance(k, last);
    }
    const Index stop = k;
    std::unique_ptr<TypeNode> pType;
    std::unique_ptr<IdNode> pId;
    if (name != NONE) {
        if (!declaratorOnly && name > begin) {
            Index typeLast = previous(name, begin);
            if (typeLast != NONE)
                pType = leaf<TypeNode>(begin, typeLast);
        }
        pId = leaf<IdNode>(name, name, token(name).text());
    }
    else if (!declaratorOnly && stop > begin) {
        pType = leaf<TypeNode>(begin, previous(stop, begin));
    }
    const Index restFirst = name != NONE ? advance(name, last) : stop;
    Index end = NONE;
    std::unique_ptr<ExprNode> pRest;
    if (restFirst < last && type(restFirst) == SEMICOLON) {
        end = restFirst;
    }
    else if (restFirst >= last || type(restFirst) == RBRACE || type(restFirst) == LBRACE ||
             isAccessKeyword(type(restFirst))) {
        // No terminator: the declaration ends with its name, as a macro
        // before an access label ('Q_OBJECT public:').
        end = previous(restFirst, begin);
    }
    else {
        Index r = restFirst;
        while (r < last && type(r) != SEMICOLON && type(r) != RBRACE && !isAccessKeyword(type(r))) {
            if (type(r) == LPAREN || type(r) == LBRACKET || type(r) == LBRACE) {
                Index m = matching(r, last);
                if (m != NONE)
                    r = m;
            }
            r = advance(r, last);
        }
        end = (r < last && type(r) == SEMICOLON) ? r : previous(r, restFirst);
        if (end == NONE)
            end = restFirst;
        pRest = leaf<ExprNode>(restFirst, end);
    }
    if (end == NONE || end < begin)
        return nullptr;
    auto pDecl = std::make_unique<DataDeclNode>(std::move(pType), std::move(pId), std::move(pRest));
    pDecl->setStart(startOf(begin));
    pDecl->setEnd(endOf(end));
    first = end + 1;
    return pDecl;
}

// ===========================================================================
// Templates

std::unique_ptr<SyntaxNode> Parser::Run::parseTemplate(Index& first, Index last)
{
    if (first >= last || type(first) != TEMPLATE_KEY)
        return nullptr;
    Index open = advance(first, last);
    if (open >= last || type(open) != LESS)
        return nullptr;
    Index close = matching(open, last);
    if (close == NONE) {
        report(open, EXPECTED_GREATER);
        return nullptr;
    }
    auto pParams = parseParameters(open, close);
    if (!pParams)
        return nullptr;
    auto pNode = std::make_unique<TemplateNode>(leaf<KeywordNode>(first, first, TEMPLATE_KEY), std::move(pParams));
    // A requires-clause after the head belongs to it; it is copied as
    // written ('template <class T> requires C<T> void f();').
    Index end = close;
    Index next = advance(close, last);
    if (next < last && isRequires(next)) {
        Index clauseEnd = requiresClauseEnd(next, last);
        if (clauseEnd != NONE) {
            end = clauseEnd;
            pNode->setEnd(endOf(end));
        }
    }
    first = end + 1;
    return pNode;
}

bool Parser::Run::isRequires(Index i) const
{
    return type(i) == IDENTIFIER && token(i).text() == "requires";
}

// A constraint is a name with its template arguments (and any '::member'
// after them), a literal, a parenthesised expression, or a
// requires-expression ('requires (T a) { ... }'); '&&' and '||' join them.
Parser::Run::Index Parser::Run::requiresClauseEnd(Index i, Index last) const
{
    Index end = NONE;
    Index k = advance(i, last);
    for (;;) {
        while (k < last && type(k) == EXCLAMATION)
            k = advance(k, last);
        if (k >= last)
            return NONE;
        const std::int32_t t = type(k);
        if (t == LPAREN) {
            Index close = matching(k, last);
            if (close == NONE)
                return NONE;
            end = close;
        }
        else if (isRequires(k)) {
            const Index body = pastOptionalGroup(advance(k, last), last);
            if (body == NONE || body >= last || type(body) != LBRACE || matching(body, last) == NONE)
                return NONE;
            end = matching(body, last);
        }
        else if (t == IDENTIFIER || t == TRUE_KEY || t == FALSE_KEY || t == NUMBER_LITERAL) {
            end = k;
            Index next = advance(k, last);
            if (t == IDENTIFIER && next < last && type(next) == LESS) {
                Index close = matching(next, last);
                if (close == NONE)
                    return NONE;
                end = close;
                // 'is_x<const T&>::value': the member after the list.
                for (next = advance(close, last); next < last && type(next) == IDENTIFIER &&
                                                  token(next).text().compare(0, 2, "::") == 0;
                     next = advance(next, last))
                    end = next;
            }
        }
        else {
            return NONE;
        }
        k = advance(end, last);
        if (k < last && (type(k) == AND_AND || type(k) == OR_OR)) {
            k = advance(k, last);
            continue;
        }
        return end;
    }
}

std::unique_ptr<SyntaxNode> Parser::Run::parseExplicitInstantiation(Index& first, Index last)
{
    if (first >= last || type(first) != TEMPLATE_KEY)
        return nullptr;
    Index next = advance(first, last);
    if (next < last && type(next) == LESS)
        return nullptr;
    return parseStatementScan(first, last);
}

// ===========================================================================
// Generic statement scan

// A brace inside a statement that opens an initializer or a lambda's body
// rather than a block: 'x = { 1, 2 }', 'f(a, { 1 })', '[&](int i) { ... }'.
bool Parser::Run::opensInitializer(Index brace, Index first) const
{
    Index p = previous(brace, first);
    if (p == NONE)
        return false;
    switch (type(p)) {
    case EQUALS:
    case COMMA:
    case LPAREN:
    case LBRACKET:
    case RETURN_KEY:
    case QUESTION:
    case MUTABLE_KEY:
    case RBRACKET: return true;
    case RPAREN: {
        Index open = opening(p);
        Index q = open == NONE ? NONE : previous(open, first);
        return q != NONE && type(q) == RBRACKET;
    }
    case IDENTIFIER:
    case GREATER: {
        Index q = previous(p, first);
        if (q == NONE)
            return false;
        std::int32_t t = type(q);
        // 'x = T{1}', 'return T{1}', 'f(a, T{1})', 'new T{1}', and the
        // declaration 'std::vector<int> v{1, 2}'.
        return t == EQUALS || t == RETURN_KEY || t == COMMA || t == LPAREN || t == NEW_KEY ||
               (type(p) == IDENTIFIER && (t == IDENTIFIER || t == GREATER || t == STAR || t == AMPERSAND ||
                                          isBuiltinTypeType(t)));
    }
    default: return false;
    }
}

std::unique_ptr<SyntaxNode> Parser::Run::parseStatementScan(Index& first, Index last)
{
    Index k = first;
    Index lastTaken = NONE;
    int angle = 0;
    bool templateSeen = false;
    while (k < last) {
        std::int32_t t = type(k);
        if (t == SEMICOLON) {
            lastTaken = k;
            break;
        }
        if (t == PREPROCESSOR || t == RBRACE)
            break;
        // '= default' and '= delete' end a declaration the classifier did not
        // recognise; any other control keyword starts the next statement.
        if (isControlKeywordType(t) && !(t == DEFAULT_KEY && k != first && type(previous(k, first)) == EQUALS))
            break;
        // A namespace never stands inside a statement: a macro invocation
        // without a semicolon before it ends there.
        if (t == NAMESPACE_KEY && k != first)
            break;
        if (k != first && (t == LBRACE || t == THROW_KEY || t == RETURN_KEY)) {
            if (t != LBRACE || !opensInitializer(k, first))
                break;
        }
        if (t == LESS)
            ++angle;
        else if (t == GREATER && angle > 0)
            --angle;
        else if (closesTwoLists(k))
            angle = std::max(0, angle - 2);
        else if (t == TEMPLATE_KEY)
            templateSeen = true;
        else if ((t == CLASS_KEY || t == STRUCT_KEY) && angle == 0 && !templateSeen)
            break;
        if (t == LPAREN || t == LBRACKET || t == LBRACE) {
            Index close = matching(k, last);
            if (close != NONE)
                k = close;
        }
        if (!isTrivia(k))
            lastTaken = k;
        ++k;
    }
    if (lastTaken == NONE)
        return nullptr;
    auto pNode = leaf<ExprNode>(first, lastTaken);
    first = lastTaken + 1;
    return pNode;
}

} // namespace Cpp
