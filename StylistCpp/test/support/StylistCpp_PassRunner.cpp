#include "support/StylistCpp_PassRunner.h"

#include "Cpp_LexerIterator.h"
#include "Cpp_Parser.h"

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

Stylist::PropertySet readSchemeOver(const Stylist::PropertySet& base, const std::string& path)
{
    std::ifstream in(path);
    Stylist::PropertySet overrides;
    if (!in || !overrides.read(in)) {
        ADD_FAILURE() << "cannot read the scheme file " << path;
        return base;
    }
    Stylist::PropertySet result = base;
    for (const auto& p : overrides.bools())
        result.setBool(p.first, p.second);
    for (const auto& p : overrides.ints())
        result.setInt(p.first, p.second);
    for (const auto& p : overrides.strings())
        result.setString(p.first, p.second);
    return result;
}

} // namespace test
} // namespace StylistCpp
