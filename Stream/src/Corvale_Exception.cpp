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

namespace {

// The build maps __FILE__ to the path below the source root. A compiler
// launcher that rewrites absolute paths (a compile cache, say) hands the
// compiler "../../Module/src/File.cpp" instead; the leading "./" and "../"
// steps are dropped so the description names the file the same way.
const char* belowSourceRoot(const char* sourceFile)
{
    if (sourceFile == nullptr)
        return "";
    for (;;) {
        if (sourceFile[0] == '.' && sourceFile[1] == '/')
            sourceFile += 2;
        else if (sourceFile[0] == '.' && sourceFile[1] == '.' && sourceFile[2] == '/')
            sourceFile += 3;
        else
            return sourceFile;
    }
}

} // namespace

void contractFailed(const char* expression, int line, const char* sourceFile)
{
    throw ContractViolation(expression ? expression : "", line, belowSourceRoot(sourceFile));
}

} // namespace Corvale
