#include "Stylist_PropertySet.h"

#include "Stylist_Exception.h"

#include <cerrno>
#include <cstdlib>
#include <istream>
#include <limits>
#include <ostream>

namespace Stylist {

namespace {

const char* const WHITESPACE = " \t\n\v\f\r";

const int BOOL_TYPE = 1;
const int INT_TYPE = 2;
const int STRING_TYPE = 3;

bool isSpace(char c) { return c != '\0' && std::char_traits<char>::find(WHITESPACE, 6, c) != nullptr; }

std::string trim(const std::string& s)
{
    const std::size_t first = s.find_first_not_of(WHITESPACE);
    if (first == std::string::npos)
        return std::string();
    const std::size_t last = s.find_last_not_of(WHITESPACE);
    return s.substr(first, last - first + 1);
}

void skipSpace(const std::string& s, std::size_t& pos)
{
    while (pos < s.size() && isSpace(s[pos]))
        ++pos;
}

// The next white-space-delimited word from pos; empty at the end.
std::string nextWord(const std::string& s, std::size_t& pos)
{
    skipSpace(s, pos);
    const std::size_t start = pos;
    while (pos < s.size() && !isSpace(s[pos]))
        ++pos;
    return s.substr(start, pos - start);
}

// A whole word as a signed decimal 32-bit integer.
bool parseInt(const std::string& word, std::int32_t& out)
{
    if (word.empty())
        return false;
    const char* begin = word.c_str();
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(begin, &end, 10);
    if (errno != 0 || end != begin + word.size() || isSpace(word[0]))
        return false;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return false;
    out = static_cast<std::int32_t>(value);
    return true;
}

bool isQuoted(const std::string& s) { return s.size() >= 2 && s.front() == '"' && s.back() == '"'; }

std::string stripQuotes(const std::string& s) { return isQuoted(s) ? s.substr(1, s.size() - 2) : s; }

// The raw text of a string value: a quoted run up to the next quote that
// no backslash takes with it (to the end when unclosed), or else one word.
std::string rawStringValue(const std::string& s, std::size_t pos)
{
    skipSpace(s, pos);
    if (pos >= s.size() || s[pos] != '"')
        return nextWord(s, pos);
    std::size_t end = pos + 1;
    while (end < s.size()) {
        if (s[end] == '\\')
            end += 2;
        else if (s[end] == '"')
            return s.substr(pos, end - pos + 1);
        else
            ++end;
    }
    return s.substr(pos);
}

// Reads one property line into set. Unparsable boolean and integer values
// are skipped; false only for a type code the format does not know.
bool readProperty(PropertySet& set, const std::string& line)
{
    std::size_t pos = 0;
    std::int32_t type = 0;
    if (!parseInt(nextWord(line, pos), type))
        return false;
    const std::string name = nextWord(line, pos);
    switch (type) {
    case BOOL_TYPE: {
        std::int32_t value = 0;
        if (!name.empty() && parseInt(nextWord(line, pos), value) && (value == 0 || value == 1))
            set.setBool(name, value == 1);
        return true;
    }
    case INT_TYPE: {
        std::int32_t value = 0;
        if (!name.empty() && parseInt(nextWord(line, pos), value))
            set.setInt(name, value);
        return true;
    }
    case STRING_TYPE:
        set.setString(name, stripQuotes(unescapeValue(rawStringValue(line, pos))));
        return true;
    default:
        return false;
    }
}

} // namespace

const char* const PropertySet::FILE_HEADER = "Stylist::PropertySet";

PropertySet::PropertySet() : m_Version(FORMAT_VERSION) {}

PropertySet::PropertySet(const std::string& name) : m_Name(name), m_Version(FORMAT_VERSION) {}

void PropertySet::swap(PropertySet& other)
{
    m_Name.swap(other.m_Name);
    std::swap(m_Version, other.m_Version);
    m_Bools.swap(other.m_Bools);
    m_Ints.swap(other.m_Ints);
    m_Strings.swap(other.m_Strings);
}

bool PropertySet::isValidName(const std::string& name)
{
    if (name.empty())
        return false;
    for (char c : name)
        if (isSpace(c))
            return false;
    return true;
}

namespace {

void validate(const std::string& name)
{
    if (!PropertySet::isValidName(name))
        throw InvalidPropertyName("Invalid name for a Property.");
}

template <typename Map, typename Value>
bool lookup(const Map& map, const std::string& name, Value& out)
{
    typename Map::const_iterator it = map.find(name);
    if (it == map.end())
        return false;
    out = it->second;
    return true;
}

} // namespace

void PropertySet::setBool(const std::string& name, bool value)
{
    validate(name);
    m_Bools[name] = value;
}

void PropertySet::setInt(const std::string& name, std::int32_t value)
{
    validate(name);
    m_Ints[name] = value;
}

void PropertySet::setString(const std::string& name, const std::string& value)
{
    validate(name);
    m_Strings[name] = value;
}

void PropertySet::setString(const std::string& name, const char* value)
{
    setString(name, std::string(value ? value : ""));
}

bool PropertySet::getBool(const std::string& name, bool& out) const { return lookup(m_Bools, name, out); }

bool PropertySet::getInt(const std::string& name, std::int32_t& out) const { return lookup(m_Ints, name, out); }

bool PropertySet::getString(const std::string& name, std::string& out) const
{
    return lookup(m_Strings, name, out);
}

void PropertySet::requireBool(const std::string& name, bool& out) const
{
    if (!getBool(name, out))
        throw PropertyMissingException(m_Name, name);
}

void PropertySet::requireInt(const std::string& name, std::int32_t& out) const
{
    if (!getInt(name, out))
        throw PropertyMissingException(m_Name, name);
}

void PropertySet::requireString(const std::string& name, std::string& out) const
{
    if (!getString(name, out))
        throw PropertyMissingException(m_Name, name);
}

bool PropertySet::has(const std::string& name) const
{
    validate(name);
    return m_Bools.count(name) != 0 || m_Ints.count(name) != 0 || m_Strings.count(name) != 0;
}

bool PropertySet::remove(const std::string& name)
{
    validate(name);
    return m_Strings.erase(name) != 0 || m_Ints.erase(name) != 0 || m_Bools.erase(name) != 0;
}

void PropertySet::write(std::ostream& out) const
{
    out << FILE_HEADER << '\n' << m_Version << '\n' << '"' << m_Name << '"' << '\n';
    for (const auto& p : m_Bools)
        out << BOOL_TYPE << ' ' << p.first << ' ' << (p.second ? 1 : 0) << '\n';
    for (const auto& p : m_Ints)
        out << INT_TYPE << ' ' << p.first << ' ' << p.second << '\n';
    for (const auto& p : m_Strings)
        out << STRING_TYPE << ' ' << p.first << ' ' << '"' << escapeValue(p.second) << '"' << '\n';
}

std::istream& PropertySet::read(std::istream& in)
{
    enum Stage { HEADER, VERSION, NAME, PROPERTIES };
    Stage stage = HEADER;
    PropertySet scratch("temp");
    bool failed = false;
    std::string line;
    while (!failed && std::getline(in, line)) {
        const std::string text = trim(line);
        if (text.empty() || text[0] == '#')
            continue;
        switch (stage) {
        case HEADER:
            failed = text != FILE_HEADER;
            stage = VERSION;
            break;
        case VERSION: {
            std::int32_t version = 0;
            failed = !parseInt(text, version) || version != FORMAT_VERSION;
            scratch.m_Version = version;
            stage = NAME;
            break;
        }
        case NAME:
            scratch.m_Name = stripQuotes(text);
            stage = PROPERTIES;
            break;
        case PROPERTIES:
            failed = !readProperty(scratch, text);
            break;
        }
    }
    // A file that stops before its name line names no scheme: it is as
    // unreadable as one with a wrong header.
    if (failed || stage != PROPERTIES || in.bad()) {
        in.setstate(std::ios::failbit);
        return in;
    }
    in.clear(in.rdstate() & ~std::ios::failbit);
    swap(scratch);
    return in;
}

bool operator==(const PropertySet& a, const PropertySet& b)
{
    return a.m_Name == b.m_Name && a.m_Version == b.m_Version && a.m_Bools == b.m_Bools && a.m_Ints == b.m_Ints &&
           a.m_Strings == b.m_Strings;
}

std::string escapeValue(const std::string& value)
{
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        switch (c) {
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\v': out += "\\v"; break;
        case '\r': out += "\\r"; break;
        case '"': out += "\\\""; break;
        case '\'': out += "\\'"; break;
        case '\\': out += "\\\\"; break;
        default: out += c; break;
        }
    }
    return out;
}

std::string unescapeValue(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            break; // a backslash at the very end is dropped
        switch (text[i]) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'v': out += '\v'; break;
        default: out += text[i]; break;
        }
    }
    return out;
}

} // namespace Stylist
