// Cpp::Parser: the tolerant recursive-descent parser that turns a C++ text
// into a syntax tree for the formatting emitters.
#ifndef CPP_PARSER_H
#define CPP_PARSER_H

#include "Cpp_InteriorNode.h"
#include "Trn_Message.h"
#include "Trn_Token.h"

#include <boost/signals2/signal.hpp>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Cpp {

class LexerIterator;

// Shown every token a parse of a text reads, in order, with where the
// token starts in that text. Whoever needs a text's tokens after the parse
// keeps them this way instead of lexing the text again.
class TokenObserver {
public:
    virtual ~TokenObserver() = default;
    virtual void token(const Trn::Token& token, const char* pBegin) = 0;
};

// Parses a whole translation unit. It does not check types, resolve names or
// expand macros; it finds where each declaration, statement and body lies,
// and keeps going after errors. Every problem is reported on the message
// signal as an error (severity 3) with one of the codes below; parse never
// throws for bad input.
class Parser {
public:
    using MessageSignal = boost::signals2::signal<void(const Trn::Message&)>;

    // Declaration kinds returned by classify, as bits so that callers can
    // accept a set of them with a mask.
    enum DeclKind : int {
        NO_DECLARATION = 0,
        CALL_LIKE = 1,
        FUNCTION_DECL = 2,
        FUNCTION_FULL_HEAD = 4,
        DATA_DECL = 8,
        CLASS_DECL = 16,
        ENUM_DECL = 32
    };

    // Error codes; errorText gives their texts.
    enum ErrorCode : std::uint32_t {
        UNEXPECTED_EOF = 1,
        UNEXPECTED_TOKEN = 2,
        TEMPLATE_IN_LINKAGE = 3,
        ACCESS_IN_LINKAGE = 4,
        CONTROL_IN_LINKAGE = 5,
        EXPECTED_RBRACE = 6,
        EXPECTED_RPAREN = 7,
        EXPECTED_GREATER = 8,
        EXPECTED_BASE_CLAUSE = 9,
        EXPECTED_LPAREN = 10,
        EXPECTED_LBRACE = 11,
        EXPECTED_ENUM = 12,
        EXPECTED_CASE_COLON = 13,
        EXPECTED_ACCESS_COLON = 14,
        EXPECTED_PURE_ZERO = 15,
        EXPECTED_VARIABLE_NAME = 16,
        UNRECOGNIZED_ELEMENT = 17,
        UNTERMINATED_ASM = 18,
        UNTERMINATED_FUNCTION = 19,
        UNTERMINATED_DATA = 20,
        INVALID_EXCEPTION_SPEC = 21,
        MISSING_PARAMETER_LIST = 22,
        MISSING_FUNCTION_NAME = 23
    };

    // How deeply braces, parentheses and brackets, and statements inside
    // statements, may nest. Deeper text is reported as code 17 at the token
    // that reaches the limit and is not parsed further, so neither this
    // parser nor any emitter that walks the tree recursively can run out of
    // stack on it. Compilers refuse deeper bracket nesting too.
    static constexpr int NESTING_LIMIT = 256;
    // After this many diagnostics the parse ends: the text cannot be
    // formatted anyway, and recovery on hopeless input stays cheap.
    static constexpr int ERROR_LIMIT = 100;
    // The classifier looks at most this many tokens ahead of a declaration's
    // start; a real declaration reaches its deciding token long before.
    static constexpr int CLASSIFY_LOOKAHEAD = 512;

    Parser();
    virtual ~Parser();
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    // Parses the tokens of [first, last) into a new tree owned by the caller.
    // A lexer stopped by an unterminated literal makes the text unparsable:
    // code 17 is reported at the place where it stopped.
    virtual std::unique_ptr<RootNode> parse(LexerIterator first, LexerIterator last);
    // Parses already lexed tokens.
    std::unique_ptr<RootNode> parse(std::vector<Trn::Token> tokens);

    // Shows the tokens every later parse(first, last) reads to pObserver
    // (null: to no one). The observer must outlive those parses.
    void observeTokens(TokenObserver* pObserver) { m_pTokenObserver = pObserver; }

    // The declaration kind of the tokens at first (contract: first != last).
    int classify(LexerIterator first, LexerIterator last);

    // Receivers are called synchronously, in connection order, for every
    // diagnostic.
    MessageSignal& onMessage() { return m_OnMessage; }

    // Builds the message for code and emits it on the message signal.
    void report(Trn::MessageSeverity severity, const Trn::Location& location, std::uint32_t code);

    // The text of an error code; "Unknown error." for any other number.
    static std::string errorText(std::uint32_t code);

private:
    class Run;
    MessageSignal m_OnMessage;
    TokenObserver* m_pTokenObserver = nullptr;
};

} // namespace Cpp

#endif
