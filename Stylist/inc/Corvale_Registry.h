// Corvale::Registry: the product's configuration store.
//
// Two roots answer the same questions: is a key present, what string does
// one of its values hold, and store a string value. The local-machine root
// belongs to the installation (beside the executable), the current-user
// root to the user's own configuration. Callers only see keys and values;
// how a root keeps them is this class's business.
//
// Each root is a text file of sections: a key is a line "[key name]", and a
// string value of that key is a line "name=value" after it (the value is
// the rest of the line), up to the next section line. Key and value names
// match without regard to letter case. Lines starting with ";" or "#" are
// comments.
#ifndef CORVALE_REGISTRY_H
#define CORVALE_REGISTRY_H

#include <boost/filesystem/path.hpp>
#include <boost/optional.hpp>

#include <string>

namespace Corvale {

// The key of the product's settings and the value naming its scheme
// directory.
extern const char* const QUILLON_REGISTRY_KEY;
extern const char* const SCHEME_DIRECTORY_VALUE;

class Registry {
public:
    enum class Root { LOCAL_MACHINE, CURRENT_USER };

    // An open key of one root.
    class Key {
    public:
        // True and the value in out when the key holds the value.
        bool queryString(const std::string& valueName, std::string& out) const;
        // Stores the value, replacing an earlier one, and keeps the rest of
        // the root as it was; the root is replaced as a whole, never left
        // half-written. False when the value cannot be stored (the root is
        // not writable, or the value holds a line end).
        bool setString(const std::string& valueName, const std::string& value);

    private:
        friend class Registry;
        Key(const boost::filesystem::path& file, const std::string& keyName);

        boost::filesystem::path m_File;
        std::string m_KeyName;
    };

    // The roots of an installation whose executable is executablePath: the
    // machine root is "registry.ini" beside it, the user root is
    // defaultUserFile().
    static Registry forExecutable(const boost::filesystem::path& executablePath);

    // "quillon/registry.ini" under $XDG_CONFIG_HOME, or under "$HOME/.config"
    // when that is unset, empty or not absolute, HOME falling back to the
    // password database.
    static boost::filesystem::path defaultUserFile();

    Registry(const boost::filesystem::path& machineFile, const boost::filesystem::path& userFile);

    // Opens the key for reading: present when the root can be read and
    // holds the key.
    boost::optional<Key> open(Root root, const std::string& keyName) const;

    const boost::filesystem::path& file(Root root) const
    {
        return root == Root::LOCAL_MACHINE ? m_MachineFile : m_UserFile;
    }

private:
    boost::filesystem::path m_MachineFile;
    boost::filesystem::path m_UserFile;
};

} // namespace Corvale

#endif
