// Reads the case files of the data-driven tests.
//
// A case file holds one or more cases. Each case is a run of sections; a
// section starts with a line "=== <field>" and its text is every line up to
// the next such line or the end of the file, without the newline that ends
// its last line (so a text that ends in a newline shows a blank line before
// the next section). The field of the file's first section starts every
// case; a field named twice within one case is an error. Lines before the
// first section are comments. Files are read as bytes: tabs, carriage
// returns and trailing blanks are part of the texts.
#ifndef CORVALE_GOLDENCASES_H
#define CORVALE_GOLDENCASES_H

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace CorvaleTest {

struct GoldenCase {
    std::string file; // relative to the folder it was read from
    int line = 0;     // of the case's first section
    std::map<std::string, std::string> fields;

    // "<file>:<line>", for failure messages.
    std::string where() const { return file + ":" + std::to_string(line); }
    bool has(const std::string& field) const { return fields.count(field) != 0; }
    const std::string& operator[](const std::string& field) const
    {
        auto it = fields.find(field);
        if (it == fields.end())
            throw std::runtime_error(where() + ": no section \"" + field + "\"");
        return it->second;
    }
};

inline std::string readGoldenFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// The cases of one file's text; name is used in locations.
inline std::vector<GoldenCase> parseGoldenCases(const std::string& text, const std::string& name)
{
    static const std::string MARKER = "=== ";
    std::vector<GoldenCase> cases;
    std::string firstField;
    std::string* pSection = nullptr;
    bool sectionEmpty = true;
    std::size_t pos = 0;
    int lineNo = 0;
    while (pos < text.size()) {
        std::size_t eol = text.find('\n', pos);
        if (eol == std::string::npos)
            throw std::runtime_error(name + ": the last line has no newline");
        const std::string line = text.substr(pos, eol - pos);
        pos = eol + 1;
        ++lineNo;
        if (line.compare(0, MARKER.size(), MARKER) == 0) {
            const std::string field = line.substr(MARKER.size());
            if (firstField.empty())
                firstField = field;
            if (field == firstField)
                cases.push_back(GoldenCase{name, lineNo, {}});
            if (cases.empty() || cases.back().has(field))
                throw std::runtime_error(name + ":" + std::to_string(lineNo) + ": section \"" + field +
                                         "\" out of place");
            pSection = &cases.back().fields[field];
            sectionEmpty = true;
            continue;
        }
        if (pSection == nullptr)
            continue;
        if (!sectionEmpty)
            *pSection += '\n';
        *pSection += line;
        sectionEmpty = false;
    }
    return cases;
}

// The text of a value written in C quotes: "a\tb" with the escapes \n, \t,
// \r, \v, \f, \\ and \".
inline std::string unquoteGolden(const std::string& quoted)
{
    if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"')
        throw std::runtime_error("not a quoted value: " + quoted);
    std::string out;
    for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
        char c = quoted[i];
        if (c == '\\' && i + 2 < quoted.size()) {
            c = quoted[++i];
            c = c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c == 'v' ? '\v' : c == 'f' ? '\f' : c;
        }
        out += c;
    }
    return out;
}

// Every case of every file in folder whose name ends in suffix, files in
// name order.
inline std::vector<GoldenCase> readGoldenFolder(const std::string& folder, const std::string& suffix = ".cases")
{
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    if (fs::is_directory(folder)) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (entry.is_regular_file() && name.size() > suffix.size() &&
                name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
                names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    std::vector<GoldenCase> cases;
    for (const std::string& name : names) {
        std::vector<GoldenCase> more = parseGoldenCases(readGoldenFile(fs::path(folder) / name), name);
        cases.insert(cases.end(), more.begin(), more.end());
    }
    return cases;
}

} // namespace CorvaleTest

#endif
