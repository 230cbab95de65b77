// Stylist::UserDataConverter: brings schemes written by an earlier version
// up to the current set of keys.
//
// The earlier version used other key names, other value encodings and one
// global group of wrap settings where the formatter now keeps one per
// construct. Before the program loads its schemes, the converter looks at
// every scheme of the scheme directory and rewrites in place those whose
// recorded version (the string property QUILLON_VERSION) is older than the
// running version: it derives the current keys from the old ones, fills in
// every key that is still missing with its default, removes the old keys
// and stamps the scheme with CONVERTED_VERSION.
//
// User files are never lost: a scheme is converted on a copy, so one that
// fails keeps its file as it was; only schemes that changed are written,
// each by replacing its file atomically; read-only files are never written,
// their schemes are reported instead.
#ifndef STYLIST_USERDATACONVERTER_H
#define STYLIST_USERDATACONVERTER_H

#include "Corvale_Registry.h"
#include "Stylist_PropertySet.h"
#include "Stylist_PropertySetStore.h"

#include <memory>
#include <string>
#include <vector>

namespace Stylist {

// ---- versions -------------------------------------------------------------

// A dotted version of three numbers.
struct Version {
    int m_Major = 0;
    int m_Minor = 0;
    int m_Third = 0;
};

// Reads three numbers from text after turning every "." into a blank;
// anything after the third number is ignored, and a number that does not
// read is 0 (as are the ones after it). An empty text is a contract
// violation "!s.empty()".
Version parseVersion(const std::string& s);

// Compares two version texts number by number: negative when lhs is older,
// 0 when equal, positive when newer. An empty text is a contract violation
// ("!lhs.empty()", "!rhs.empty()").
int compareVersions(const std::string& lhs, const std::string& rhs);

// The version every converted scheme is stamped with.
extern const char* const CONVERTED_VERSION;

// ---- conversion messages ----------------------------------------------------

// The converter's messages, numbered from 0; each is a catalogue text.
enum ConversionMessage {
    CONV_SCHEME_READ_ERROR = 0,     // catalogue 5
    CONV_SCHEME_WRITE_ERROR = 1,    // catalogue 6
    CONV_SETTINGS_READ_ERROR = 2,   // catalogue 7
    CONV_SETTINGS_WRITE_ERROR = 3,  // catalogue 8
    CONV_ONE_READ_ONLY_SCHEME = 4,  // catalogue 11: %1% the scheme name
    CONV_READ_ONLY_SCHEMES = 5,     // catalogue 12: %1% the list of names
    CONV_INVALID_SCHEME_VALUE = 6,  // catalogue 13: %1% scheme, %2% value, %3% option
};

// The text of a conversion message; a number outside 0..6 is a contract
// violation.
std::string conversionMessage(int number);

// The keys of the earlier version that conversion removes, in removal
// order.
extern const char* const OBSOLETE_KEYS[32];

// ---- one scheme ----------------------------------------------------------------

// Whether a scheme needs converting for the running version: it has no
// QUILLON_VERSION string, or that version is older. A stored version that
// is empty breaks the comparison's contract.
bool schemeNeedsConversion(const PropertySet& scheme, const std::string& version);

// Converts one scheme in place, in eight steps: derivations of current keys
// from old ones, remapping of the old 0 encodings of wrap styles, retyping
// LINE_WRAP_DO_NOT_FORMAT as a flag, fan-out of the old global wrap
// settings to the eight wrapped constructs, DD_DO_NOT_FORMAT from the old
// data switch, defaults for every missing key, removal of the old keys,
// and the version stamp. A step changes the scheme only when it adds,
// removes or alters a value; the stamp is set only when something changed.
// The expression wrap style replaces a present operator wrap style only in
// schemes that still hold keys of the earlier version (where it meant the
// operator style). Answers whether the scheme changed.
bool convertScheme(PropertySet& scheme);

// ---- the scheme directory -------------------------------------------------------

class UserDataConverter {
public:
    // The converter finds the scheme directory through the registry's
    // "PropertySetStore" value of the product key, asking the current
    // user's root first and the machine's root when the user's gives no
    // value (or an empty one). Without a value there is nothing to convert.
    explicit UserDataConverter(const Corvale::Registry& registry);
    ~UserDataConverter();
    UserDataConverter(const UserDataConverter&) = delete;
    UserDataConverter& operator=(const UserDataConverter&) = delete;

    // The scheme directory, empty when the registry names none.
    const std::string& schemeDirectory() const { return m_Directory; }

    // Whether any scheme of the directory needs converting for the running
    // version. A scheme whose stored version cannot be compared counts as
    // needing it, so that convert reports it. Loads the converter's store
    // on first use; an unreadable scheme file raises
    // PropertySetStore::ReadError.
    bool needsConversion(const std::string& version);

    // Converts every scheme that needs it and saves those that changed. A
    // scheme that fails is reported (message 6) and left as it was; schemes
    // on read-only files are reported (message 4 for one, 5 for several).
    // The reports are appended to messages. A failed write raises
    // PropertySetStore::WriteError; an unreadable scheme file
    // PropertySetStore::ReadError.
    void convert(const std::string& version, std::vector<std::string>& messages);

private:
    PropertySetStore& store();

    std::string m_Directory;
    std::unique_ptr<PropertySetStore> m_pStore;
};

} // namespace Stylist

#endif
