#include "Corvale_Exception.h"

#include <utility>

namespace Corvale {

Exception::Exception(const std::string& message) : m_Message(message) {}

Exception::Exception(const char* message) : m_Message(message ? message : "") {}

Exception::~Exception() = default;

std::string Exception::message() const { return m_Message; }

ContractViolation::ContractViolation(std::string expression, int line, std::string sourceFile)
    : m_Expression(std::move(expression)), m_Line(line), m_SourceFile(std::move(sourceFile))
{
    // Compilers without a prefix map hand us an absolute path and, on some
    // platforms, backslashes; the description always shows forward slashes.
    for (char& c : m_SourceFile)
        if (c == '\\')
            c = '/';
}

ContractViolation::~ContractViolation() = default;

std::string ContractViolation::description() const
{
    return "DBC Violation: " + m_SourceFile + "(" + std::to_string(m_Line) + "): " + m_Expression;
}

void contractFailed(const char* expression, int line, const char* sourceFile)
{
    throw ContractViolation(expression ? expression : "", line, sourceFile ? sourceFile : "");
}

} // namespace Corvale
