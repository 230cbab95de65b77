#include "support/FormatterTestSupport.h"

#include "support/StylistCpp_PassRunner.h"
#include "support/StylistCpp_TokenCompare.h"

#include "Cpp.h"
#include "Cpp_InteriorNode.h"
#include "Cpp_LexerIterator.h"
#include "Cpp_Parser.h"
#include "StylistCpp_Formatter.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace FormatterTest {

namespace {

std::string trim(const std::string& s)
{
    std::size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return std::string();
    std::size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

std::string unquote(const std::string& value)
{
    std::string out;
    for (std::size_t i = 1; i + 1 < value.size(); ++i) {
        char c = value[i];
        if (c == '\\' && i + 2 < value.size()) {
            char n = value[++i];
            out += n == 'n' ? '\n' : n == 't' ? '\t' : n;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

namespace {

// The pass's parse of the text; the notice that a function looks
// unterminated does not count, as in the format pipeline.
bool parseForPass(const std::string& text, StylistCpp::test::ParsedText& parsed, std::string* pFirstMessage)
{
    parsed = StylistCpp::test::parseText(text);
    for (const Trn::Message& m : parsed.messages) {
        if (m.code() == Cpp::Parser::UNTERMINATED_FUNCTION)
            continue;
        if (pFirstMessage)
            *pFirstMessage = std::to_string(m.location().line()) + ": " + m.text();
        return false;
    }
    return true;
}

} // namespace

bool parsesCleanly(const std::string& text, std::string* pFirstMessage)
{
    StylistCpp::test::ParsedText parsed;
    return parseForPass(text, parsed, pFirstMessage);
}

std::string format(const std::string& text, const Stylist::PropertySet& scheme)
{
    StylistCpp::test::ParsedText parsed;
    std::string message;
    if (!parseForPass(text, parsed, &message))
        throw std::runtime_error("the text does not parse: " + message);
    std::ostringstream out;
    {
        StylistCpp::Formatter formatter(text, out, scheme);
        parsed.pRoot->accept(formatter);
    }
    return out.str();
}

std::string readFile(const std::string& path) { return StylistCpp::test::readFile(path); }

Stylist::PropertySet readScheme(const std::string& path, const std::string& baseDir)
{
    Stylist::PropertySet set("test");
    std::istringstream in(readFile(path));
    std::string line;
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty() || line[0] == '#')
            continue;
        std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            throw std::runtime_error(path + ": no '=' in: " + line);
        std::string key = trim(line.substr(0, eq));
        std::string value = trim(line.substr(eq + 1));
        if (key == "base") {
            Stylist::PropertySet base = readScheme(baseDir + "/" + value + ".scheme", baseDir);
            for (const auto& b : base.bools())
                set.setBool(b.first, b.second);
            for (const auto& i : base.ints())
                set.setInt(i.first, i.second);
            for (const auto& s : base.strings())
                set.setString(s.first, s.second);
        } else if (value == "true" || value == "false") {
            set.remove(key);
            set.setBool(key, value == "true");
        } else if (!value.empty() && value[0] == '"') {
            set.remove(key);
            set.setString(key, unquote(value));
        } else {
            set.remove(key);
            set.setInt(key, std::stoi(value));
        }
    }
    return set;
}

std::string firstDifference(const std::string& expected, const std::string& actual)
{
    return StylistCpp::test::firstDifference(expected, actual);
}

bool sameTokens(const std::string& a, const std::string& b, std::string* pWhere)
{
    ::testing::AssertionResult r = StylistCppTest::sameTokens(a, b);
    if (!r && pWhere)
        *pWhere = r.message();
    return static_cast<bool>(r);
}

} // namespace FormatterTest
