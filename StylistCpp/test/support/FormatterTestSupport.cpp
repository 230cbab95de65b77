#include "support/FormatterTestSupport.h"

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

std::unique_ptr<Cpp::RootNode> parse(const std::string& text, std::string* pFirstMessage, bool& clean)
{
    Cpp::Parser parser;
    clean = true;
    parser.onMessage().connect([&](const Trn::Message& m) {
        if (m.code() == Cpp::Parser::UNTERMINATED_FUNCTION)
            return;
        if (clean && pFirstMessage)
            *pFirstMessage = std::to_string(m.location().line()) + ": " + m.text();
        clean = false;
    });
    Cpp::LexerIterator first(text.begin(), text.end()), last;
    return parser.parse(first, last);
}

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

bool parsesCleanly(const std::string& text, std::string* pFirstMessage)
{
    bool clean = true;
    parse(text, pFirstMessage, clean);
    return clean;
}

std::string format(const std::string& text, const Stylist::PropertySet& scheme)
{
    bool clean = true;
    std::string message;
    std::unique_ptr<Cpp::RootNode> pRoot = parse(text, &message, clean);
    if (!clean)
        throw std::runtime_error("the text does not parse: " + message);
    std::ostringstream out;
    StylistCpp::Formatter formatter(text, out, scheme);
    pRoot->accept(formatter);
    return out.str();
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

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
    std::size_t i = 0;
    while (i < expected.size() && i < actual.size() && expected[i] == actual[i])
        ++i;
    if (i == expected.size() && i == actual.size())
        return std::string();
    int line = 1 + static_cast<int>(std::count(expected.begin(), expected.begin() + static_cast<std::ptrdiff_t>(i), '\n'));
    std::size_t lineStart = expected.rfind('\n', i == 0 ? 0 : i - 1);
    lineStart = lineStart == std::string::npos || i == 0 ? 0 : lineStart + 1;
    auto lineOf = [](const std::string& s, std::size_t from) {
        std::size_t e = s.find('\n', from);
        return s.substr(from, e == std::string::npos ? std::string::npos : e - from);
    };
    std::ostringstream out;
    out << line << ":" << (i - lineStart + 1) << "\n  expected: \"" << lineOf(expected, lineStart)
        << "\"\n  actual:   \"" << (lineStart <= actual.size() ? lineOf(actual, lineStart) : std::string()) << "\"";
    return out.str();
}

bool sameTokens(const std::string& a, const std::string& b, std::string* pWhere)
{
    ::testing::AssertionResult r = StylistCppTest::sameTokens(a, b);
    if (!r && pWhere)
        *pWhere = r.message();
    return static_cast<bool>(r);
}

} // namespace FormatterTest
