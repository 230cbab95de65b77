#include "Corvale_Registry.h"

#include "Stylist_FileReplace.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace fs = boost::filesystem;

namespace Corvale {

const char* const QUILLON_REGISTRY_KEY = "Software\\Corvale Software\\Quillon\\C++";
const char* const SCHEME_DIRECTORY_VALUE = "PropertySetStore";

namespace {

const std::size_t NONE = static_cast<std::size_t>(-1);

bool readText(const fs::path& file, std::string& text)
{
    std::ifstream in(file.string(), std::ios::in | std::ios::binary);
    if (!in.is_open())
        return false;
    std::ostringstream s;
    s << in.rdbuf();
    if (in.bad())
        return false;
    text = s.str();
    return true;
}

// The lines of a text without their newlines; a final newline does not
// start another line. A carriage return before a newline stays part of the
// line, so that CR LF files keep their line ends when written back.
std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string trim(const std::string& s)
{
    const char* const blanks = " \t\r";
    const std::size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

bool equalsIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

bool isSectionLine(const std::string& line) { return trim(line).compare(0, 1, "[") == 0; }

// The index of the line opening the key's section, or NONE.
std::size_t findSection(const std::vector<std::string>& lines, const std::string& keyName)
{
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (equalsIgnoringCase(trim(lines[i]), "[" + keyName + "]"))
            return i;
    return NONE;
}

// One past the last line of the section that opens at index section.
std::size_t sectionEnd(const std::vector<std::string>& lines, std::size_t section)
{
    std::size_t end = section + 1;
    while (end < lines.size() && !isSectionLine(lines[end]))
        ++end;
    return end;
}

// Whether the line holds the named value; its text goes to value.
bool isValueLine(const std::string& line, const std::string& valueName, std::string& value)
{
    const std::string text = trim(line);
    if (text.empty() || text[0] == ';' || text[0] == '#')
        return false;
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos || !equalsIgnoringCase(trim(line.substr(0, eq)), valueName))
        return false;
    value = line.substr(eq + 1);
    if (!value.empty() && value.back() == '\r')
        value.pop_back();
    return true;
}

} // namespace

Registry::Key::Key(const fs::path& file, const std::string& keyName) : m_File(file), m_KeyName(keyName) {}

bool Registry::Key::queryString(const std::string& valueName, std::string& out) const
{
    std::string text;
    if (!readText(m_File, text))
        return false;
    const std::vector<std::string> lines = splitLines(text);
    const std::size_t section = findSection(lines, m_KeyName);
    if (section == NONE)
        return false;
    const std::size_t end = sectionEnd(lines, section);
    std::string value;
    for (std::size_t i = section + 1; i < end; ++i) {
        if (isValueLine(lines[i], valueName, value)) {
            out = value;
            return true;
        }
    }
    return false;
}

bool Registry::Key::setString(const std::string& valueName, const std::string& value)
{
    if (value.find_first_of("\r\n") != std::string::npos || valueName.find_first_of("\r\n=[") != std::string::npos)
        return false;
    std::string text;
    if (!readText(m_File, text))
        return false;
    std::vector<std::string> lines = splitLines(text);
    const bool crlf = !lines.empty() && !lines[0].empty() && lines[0].back() == '\r';
    const std::string newLine = valueName + "=" + value + (crlf ? "\r" : "");

    std::size_t section = findSection(lines, m_KeyName);
    if (section == NONE) {
        // The key went away since it was opened: put it back at the end.
        lines.push_back("[" + m_KeyName + "]" + (crlf ? "\r" : ""));
        section = lines.size() - 1;
    }
    const std::size_t end = sectionEnd(lines, section);
    std::string old;
    bool replaced = false;
    for (std::size_t i = section + 1; i < end && !replaced; ++i) {
        if (isValueLine(lines[i], valueName, old)) {
            lines[i] = newLine;
            replaced = true;
        }
    }
    if (!replaced) {
        // After the section's last line that is not blank, so that blank
        // lines separating it from the next section stay where they are.
        std::size_t at = end;
        while (at > section + 1 && trim(lines[at - 1]).empty())
            --at;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), newLine);
    }

    std::string result;
    for (const std::string& line : lines)
        result += line + "\n";
    return Stylist::replaceFile(m_File.string(), result);
}

Registry Registry::forExecutable(const fs::path& executablePath)
{
    return Registry(executablePath.parent_path() / "registry.ini", defaultUserFile());
}

fs::path Registry::defaultUserFile()
{
    fs::path base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
        base = xdg;
    } else {
        std::string home;
        if (const char* env = std::getenv("HOME"))
            home = env;
        if (home.empty()) {
            if (const passwd* pw = ::getpwuid(::getuid()))
                if (pw->pw_dir != nullptr)
                    home = pw->pw_dir;
        }
        if (home.empty())
            return fs::path();
        base = fs::path(home) / ".config";
    }
    return base / "quillon" / "registry.ini";
}

Registry::Registry(const fs::path& machineFile, const fs::path& userFile)
    : m_MachineFile(machineFile), m_UserFile(userFile)
{
}

boost::optional<Registry::Key> Registry::open(Root root, const std::string& keyName) const
{
    const fs::path& f = file(root);
    std::string text;
    if (f.empty() || !readText(f, text) || findSection(splitLines(text), keyName) == NONE)
        return boost::none;
    return Key(f, keyName);
}

} // namespace Corvale
