#include "support/StylistCpp_PassRunner.h"

#include "Cpp_LexerIterator.h"
#include "Cpp_Parser.h"
#include "StylistCpp_Formatter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace StylistCpp {
namespace test {

ParsedText parseText(const std::string& text)
{
    ParsedText parsed;
    Cpp::Parser parser;
    parser.onMessage().connect([&parsed](const Trn::Message& m) { parsed.messages.push_back(m); });
    parsed.pRoot = parser.parse(Cpp::LexerIterator(text.begin(), text.end()), Cpp::LexerIterator());
    return parsed;
}

std::string describeMessages(const std::vector<Trn::Message>& messages)
{
    std::string out;
    for (const Trn::Message& m : messages) {
        if (!out.empty())
            out += ", ";
        out += std::to_string(m.code()) + " " + std::to_string(m.location().line()) + ":" +
               std::to_string(m.location().col());
    }
    return out;
}

bool parsedCleanly(const ParsedText& parsed, std::string* pFirstMessage)
{
    for (const Trn::Message& m : parsed.messages) {
        if (m.code() == Cpp::Parser::UNTERMINATED_FUNCTION)
            continue;
        if (pFirstMessage)
            *pFirstMessage = std::to_string(m.location().line()) + ": " + m.text();
        return false;
    }
    return true;
}

std::string formatText(const std::string& text, const Stylist::PropertySet& scheme)
{
    return emitText<Formatter>(text, scheme);
}

namespace {

std::string restOfLine(const std::string& text, std::size_t pos)
{
    const std::size_t end = text.find('\n', pos);
    std::string rest = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    if (end != std::string::npos)
        rest += "\\n";
    return rest.empty() ? "<end of text>" : rest;
}

} // namespace

std::string firstDifference(const std::string& expected, const std::string& actual)
{
    if (expected == actual)
        return std::string();
    const std::size_t n = std::min(expected.size(), actual.size());
    std::size_t pos = 0;
    int line = 1;
    int col = 1;
    for (; pos < n && expected[pos] == actual[pos]; ++pos) {
        if (expected[pos] == '\n') {
            ++line;
            col = 1;
        } else {
            ++col;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(col) + ": expected \"" +
           restOfLine(expected, pos) + "\" but got \"" + restOfLine(actual, pos) + "\"";
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "cannot read " << path;
        return std::string();
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> fileStems(const std::string& directory, const std::string& suffix)
{
    std::vector<std::string> stems;
    std::error_code error;
    for (std::filesystem::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            stems.push_back(name.substr(0, name.size() - suffix.size()));
    }
    std::sort(stems.begin(), stems.end());
    return stems;
}

std::string testNameOf(const std::string& stem)
{
    std::string name = stem;
    for (char& c : name) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (!ok)
            c = '_';
    }
    return name;
}

void overlay(Stylist::PropertySet& target, const Stylist::PropertySet& overrides)
{
    for (const auto& p : overrides.bools())
        target.setBool(p.first, p.second);
    for (const auto& p : overrides.ints())
        target.setInt(p.first, p.second);
    for (const auto& p : overrides.strings())
        target.setString(p.first, p.second);
}

namespace {

std::string trim(const std::string& s)
{
    const std::size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return std::string();
    return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

std::string unquote(const std::string& value)
{
    std::string out;
    for (std::size_t i = 1; i + 1 < value.size(); ++i) {
        const char c = value[i];
        if (c == '\\' && i + 2 < value.size()) {
            const char n = value[++i];
            out += n == 'n' ? '\n' : n == 't' ? '\t' : n;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

void setSchemeValue(Stylist::PropertySet& scheme, const std::string& key, const std::string& value)
{
    scheme.remove(key);
    if (value == "true" || value == "false")
        scheme.setBool(key, value == "true");
    else if (!value.empty() && value[0] == '"')
        scheme.setString(key, unquote(value));
    else
        scheme.setInt(key, std::stoi(value));
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
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            throw std::runtime_error(path + ": no '=' in: " + line);
        const std::string key = trim(line.substr(0, eq));
        const std::string value = trim(line.substr(eq + 1));
        if (key == "base")
            overlay(set, readScheme(baseDir + "/" + value + ".scheme", baseDir));
        else
            setSchemeValue(set, key, value);
    }
    return set;
}

void applyKeys(Stylist::PropertySet& scheme, const std::string& keys)
{
    std::istringstream in(keys);
    std::string kv;
    while (in >> kv) {
        const std::string key = kv.substr(0, kv.find('='));
        const std::string value = kv.substr(kv.find('=') + 1);
        if (!value.empty() && value[0] == '\'') {
            std::string ws = value.substr(1);
            for (char& c : ws)
                c = c == '_' ? ' ' : c == '~' ? '\n' : c;
            scheme.remove(key);
            scheme.setString(key, ws);
        } else {
            setSchemeValue(scheme, key, value);
        }
    }
}

Stylist::PropertySet readSchemeOver(const Stylist::PropertySet& base, const std::string& path)
{
    std::ifstream in(path);
    Stylist::PropertySet overrides;
    if (!in || !overrides.read(in)) {
        ADD_FAILURE() << "cannot read the scheme file " << path;
        return base;
    }
    Stylist::PropertySet result = base;
    overlay(result, overrides);
    return result;
}

} // namespace test
} // namespace StylistCpp
