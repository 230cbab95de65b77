// Stylist::PropertySetStore: the schemes of one scheme directory.
//
// Every scheme file of the directory (an entry that is not a directory and
// whose name ends in ".qlx", in any letter case, with at least one character
// before it) holds one property set. The store reads them all, remembers
// which file each scheme came from and whether the process may write that
// file, finds schemes by name, and writes them back. Loading is
// all-or-nothing: one unreadable file leaves the store as it was.
#ifndef STYLIST_PROPERTYSETSTORE_H
#define STYLIST_PROPERTYSETSTORE_H

#include "Stylist_PropertySet.h"

#include <map>
#include <string>
#include <vector>

namespace Stylist {

class PropertySetStore {
public:
    // A scheme file that could not be read; m_Path is its full path.
    class ReadError {
    public:
        explicit ReadError(const std::string& path) : m_Path(path) {}
        virtual ~ReadError() = default;
        std::string m_Path;
    };

    // A scheme file that could not be written; m_Path is its full path.
    class WriteError {
    public:
        explicit WriteError(const std::string& path) : m_Path(path) {}
        virtual ~WriteError() = default;
        std::string m_Path;
    };

    // One scheme: its property set and whether its file is read-only (a
    // read-only scheme is never written back).
    struct Entry {
        bool m_ReadOnly = false;
        PropertySet m_Set;
        // The file the scheme was read from (a name within the directory).
        std::string m_FileName;
    };

    // Entries keyed by the set's name; the key always equals
    // entry.m_Set.name(), so a set held here must keep its name.
    typedef std::map<std::string, Entry> Schemes;
    // Scheme file name (without directory) -> name of the scheme read from it.
    typedef std::map<std::string, std::string> Files;

    // The file extension of scheme files.
    static const char* const EXTENSION;

    // An empty store without a directory: load and save do nothing until a
    // path is set.
    PropertySetStore();
    // An empty store for the directory; the path must not be empty.
    explicit PropertySetStore(const std::string& path);

    // Sets the directory (kept in native form) without reloading; the path
    // must not be empty.
    void setPath(const std::string& newPath);
    const std::string& path() const { return m_Path; }

    // Reads every scheme file of the directory, in file name order. When two
    // files hold sets of the same name, the one read first is kept and both
    // files map to it. A file that cannot be read raises ReadError with its
    // full path and leaves the store unchanged. Without a path, does nothing.
    void load();

    // The scheme of exactly that name, or null.
    const Entry* find(const std::string& name) const;
    Entry* find(const std::string& name);

    const Schemes& schemes() const { return m_Schemes; }
    Schemes& schemes() { return m_Schemes; }
    const Files& files() const { return m_Files; }

    // Deletes the scheme files of the directory that the store read but
    // whose scheme it no longer holds, then writes every scheme that is not
    // read-only back to the file it came from (replacing the file
    // atomically). A failed write raises WriteError with the file's full
    // path. Without a path, does nothing. Files the store did not read, and
    // read-only files, are never deleted.
    void save();

    // The scheme file names of a directory, sorted byte-wise. A file system
    // error ends the listing with the names found so far.
    static std::vector<std::string> listSchemeFiles(const std::string& directory);

    // Whether a directory entry's name has the form of a scheme file.
    static bool isSchemeFileName(const std::string& fileName);

    // Whether the process may not write the file. A file without any write
    // permission bit counts as read-only even for a process that could
    // override the permission.
    static bool isReadOnly(const std::string& filePath);

private:
    std::string fullPath(const std::string& fileName) const;

    std::string m_Path;
    Schemes m_Schemes;
    Files m_Files;
};

} // namespace Stylist

#endif
