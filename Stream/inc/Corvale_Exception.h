// Failure types of the Corvale support library and the contract check.
//
// None of these types derives from std::exception: a handler for standard
// exceptions never catches them by accident, so every handler of the
// program lists them explicitly.
#ifndef CORVALE_EXCEPTION_H
#define CORVALE_EXCEPTION_H

#include <string>

namespace Corvale {

// An ordinary failure with a message text.
class Exception {
public:
    explicit Exception(const std::string& message);
    // A null pointer gives an empty message.
    explicit Exception(const char* message);
    virtual ~Exception();
    virtual std::string message() const;

private:
    std::string m_Message;
};

// A broken precondition: an internal inconsistency of the program, never a
// reaction to bad input.
class ContractViolation {
public:
    ContractViolation(std::string expression, int line, std::string sourceFile);
    virtual ~ContractViolation();

    // "DBC Violation: <file>(<line>): <expression>"
    std::string description() const;

    const std::string& expression() const { return m_Expression; }
    int line() const { return m_Line; }
    const std::string& sourceFile() const { return m_SourceFile; }

private:
    std::string m_Expression;
    int m_Line;
    std::string m_SourceFile;
};

// Raises ContractViolation when condition is false. The source file should
// be the path relative to the source root; CORVALE_CHECK passes __FILE__,
// which the build maps to exactly that.
inline void check(bool condition, const char* expression, int line, const char* sourceFile);

// Raises ContractViolation unconditionally; the out-of-line half of check.
[[noreturn]] void contractFailed(const char* expression, int line, const char* sourceFile);

inline void check(bool condition, const char* expression, int line, const char* sourceFile)
{
    if (!condition)
        contractFailed(expression, line, sourceFile);
}

} // namespace Corvale

// Checks a precondition, naming the expression text, the line and the file.
#define CORVALE_CHECK(cond)                                                  \
    do {                                                                     \
        if (!(cond))                                                         \
            ::Corvale::contractFailed(#cond, __LINE__, __FILE__);            \
    } while (false)

// As CORVALE_CHECK, with the expression text given explicitly (for checks
// whose reported text must differ from the C++ spelling of the test).
#define CORVALE_CHECK_TEXT(cond, text)                                       \
    do {                                                                     \
        if (!(cond))                                                         \
            ::Corvale::contractFailed(text, __LINE__, __FILE__);             \
    } while (false)

#endif
