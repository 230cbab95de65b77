// Stylist::PropertySet: a named scheme, three ordered maps of typed settings.
//
// A property set knows nothing of what its keys mean; the scheme keys and
// their readers are in Stylist_SchemeKeys.h and Stylist_FormatterConfig.h.
// The three maps are independent: one name may carry a boolean, an integer
// and a string value at the same time, and each lookup only sees its own map.
// Names are ordered byte-wise, which is also the order of a scheme file.
#ifndef STYLIST_PROPERTYSET_H
#define STYLIST_PROPERTYSET_H

#include <cstdint>
#include <iosfwd>
#include <map>
#include <string>

namespace Stylist {

class PropertySet {
public:
    typedef std::map<std::string, bool> BoolMap;
    typedef std::map<std::string, std::int32_t> IntMap;
    typedef std::map<std::string, std::string> StringMap;

    // The format version every set of this system carries and writes.
    static const int FORMAT_VERSION = 1;
    // The first line of every scheme file.
    static const char* const FILE_HEADER;

    // An unnamed set without properties.
    PropertySet();
    // A set with the given name and no properties.
    explicit PropertySet(const std::string& name);

    const std::string& name() const { return m_Name; }
    int version() const { return m_Version; }

    void swap(PropertySet& other);

    // A valid property name has at least one character and no white space
    // (blank, tab, newline, vertical tab, form feed, carriage return).
    static bool isValidName(const std::string& name);

    // Insert or overwrite a value in that type's map. An invalid name
    // raises InvalidPropertyName and leaves the set unchanged.
    void setBool(const std::string& name, bool value);
    void setInt(const std::string& name, std::int32_t value);
    void setString(const std::string& name, const std::string& value);
    void setString(const std::string& name, const char* value);

    // True and the value in out when the name is in that type's map; false
    // and out untouched otherwise. Names are not validated.
    bool getBool(const std::string& name, bool& out) const;
    bool getInt(const std::string& name, std::int32_t& out) const;
    bool getString(const std::string& name, std::string& out) const;

    // As the lookups, but an absent name raises PropertyMissingException
    // carrying this set's name and the property name.
    void requireBool(const std::string& name, bool& out) const;
    void requireInt(const std::string& name, std::int32_t& out) const;
    void requireString(const std::string& name, std::string& out) const;

    // Whether the name is in any of the three maps. Validates the name.
    bool has(const std::string& name) const;

    // Removes the name from one map only: the string map if it is there,
    // else the integer map, else the boolean map. Answers whether anything
    // was removed. Validates the name.
    bool remove(const std::string& name);

    const BoolMap& bools() const { return m_Bools; }
    const IntMap& ints() const { return m_Ints; }
    const StringMap& strings() const { return m_Strings; }

    // Writes the set in the scheme file format: header, version, quoted
    // name, then the boolean, integer and string properties, each group in
    // name order, every line ending in a newline.
    void write(std::ostream& out) const;

    // Reads a set in the scheme file format. Hand-edited files are
    // accepted: lines are trimmed, empty lines and lines starting with "#"
    // are skipped anywhere, unparsable boolean and integer values are
    // skipped. A wrong header, a version other than 1, an unknown type code
    // or an input that ends before the name line fails the read: the stream
    // is then left failed and this set unchanged. On success this set is
    // replaced by what was read. A string property without a name raises
    // InvalidPropertyName (this set again unchanged).
    std::istream& read(std::istream& in);

    friend bool operator==(const PropertySet& a, const PropertySet& b);
    friend bool operator!=(const PropertySet& a, const PropertySet& b) { return !(a == b); }

private:
    std::string m_Name;
    int m_Version;
    BoolMap m_Bools;
    IntMap m_Ints;
    StringMap m_Strings;
};

inline void swap(PropertySet& a, PropertySet& b) { a.swap(b); }

inline std::ostream& operator<<(std::ostream& out, const PropertySet& set)
{
    set.write(out);
    return out;
}

inline std::istream& operator>>(std::istream& in, PropertySet& set) { return set.read(in); }

// The escaped form of a string value as a scheme file stores it (without
// the enclosing quotes), and its inverse. unescapeValue takes any text: a
// backslash before n, r, t or v gives the control character, before any
// other character gives that character, and at the very end is dropped.
std::string escapeValue(const std::string& value);
std::string unescapeValue(const std::string& text);

} // namespace Stylist

#endif
