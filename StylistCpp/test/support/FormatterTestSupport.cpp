#include "support/FormatterTestSupport.h"

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

// The text of a token from the source, for the folded tokens whose text is
// empty.
std::string spanOf(const std::string& text, const std::vector<std::size_t>& starts, const Trn::Token& t)
{
    auto offset = [&](const Trn::Location& l) {
        std::size_t li = static_cast<std::size_t>(l.line() - 1);
        return li < starts.size() ? starts[li] + static_cast<std::size_t>(l.col()) - 1 : text.size();
    };
    std::size_t s = offset(t.start());
    std::size_t e = std::min(offset(t.end()) + 1, text.size());
    return e > s ? text.substr(s, e - s) : std::string();
}

struct Tok {
    std::int32_t type;
    std::string text;
    int line;
};

std::vector<Tok> lex(const std::string& text)
{
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n')
            starts.push_back(i + 1);
    std::vector<Tok> out;
    Cpp::LexerIterator it(text.begin(), text.end()), end;
    for (; it != end && !it.stuck(); ++it) {
        std::string s = spanOf(text, starts, *it);
        switch (it->type()) {
        case Cpp::SL_COMMENT:
        case Cpp::ML_COMMENT:
        case Cpp::ML_COMMENT_UNPARSED:
            s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return std::isspace(static_cast<unsigned char>(c)); }),
                    s.end());
            break;
        case Cpp::PREPROCESSOR: {
            // Blanks only separate the words of a directive (string
            // literals in directives are rare enough in the corpus to be
            // compared the same way); tab conversion may change them.
            std::string n;
            bool lineStart = true;
            for (char c : s) {
                bool blank = c == ' ' || c == '\t';
                if (blank && (lineStart || n.back() == ' '))
                    continue;
                lineStart = c == '\n';
                n += blank ? ' ' : c;
            }
            while (!n.empty() && std::isspace(static_cast<unsigned char>(n.back())))
                n.pop_back();
            s = n;
            break;
        }
        case Cpp::IDENTIFIER: {
            // A folded template-id: the blanks between its parts only
            // separate them.
            std::string n;
            for (char c : s) {
                bool space = std::isspace(static_cast<unsigned char>(c)) != 0;
                if (space && (n.empty() || n.back() == ' '))
                    continue;
                n += space ? ' ' : c;
            }
            s = n;
            break;
        }
        default:
            break;
        }
        out.push_back(Tok{it->type(), s, it->start().line()});
    }
    if (it.stuck())
        out.push_back(Tok{-100, "<lexer stopped>", it.position().line()});
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
    std::vector<Tok> ta = lex(a);
    std::vector<Tok> tb = lex(b);
    std::size_t n = std::min(ta.size(), tb.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (ta[i].type != tb[i].type || ta[i].text != tb[i].text) {
            if (pWhere)
                *pWhere = "token " + std::to_string(i) + " (input line " + std::to_string(ta[i].line) + ": \"" +
                          ta[i].text + "\", output line " + std::to_string(tb[i].line) + ": \"" + tb[i].text + "\")";
            return false;
        }
    }
    if (ta.size() != tb.size()) {
        if (pWhere)
            *pWhere = "token count " + std::to_string(ta.size()) + " vs " + std::to_string(tb.size());
        return false;
    }
    return true;
}

} // namespace FormatterTest
