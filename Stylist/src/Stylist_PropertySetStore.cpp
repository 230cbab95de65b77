#include "Stylist_PropertySetStore.h"

#include "Corvale_Exception.h"
#include "Stylist_FileReplace.h"

#include <boost/filesystem.hpp>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = boost::filesystem;

namespace Stylist {

const char* const PropertySetStore::EXTENSION = ".qlx";

PropertySetStore::PropertySetStore() = default;

PropertySetStore::PropertySetStore(const std::string& path)
{
    CORVALE_CHECK(path.length() > 0);
    setPath(path);
}

void PropertySetStore::setPath(const std::string& newPath)
{
    CORVALE_CHECK(newPath.length() > 0);
    m_Path = fs::path(newPath).make_preferred().string();
}

std::string PropertySetStore::fullPath(const std::string& fileName) const
{
    return (fs::path(m_Path) / fileName).string();
}

bool PropertySetStore::isSchemeFileName(const std::string& fileName)
{
    const std::size_t n = fileName.size();
    if (n < 5)
        return false;
    std::string extension = fileName.substr(n - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    return extension == EXTENSION;
}

std::vector<std::string> PropertySetStore::listSchemeFiles(const std::string& directory)
{
    std::vector<std::string> names;
    boost::system::error_code ec;
    fs::directory_iterator it(fs::path(directory), ec);
    for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!isSchemeFileName(name))
            continue;
        boost::system::error_code statusError;
        const fs::file_type type = fs::status(it->path(), statusError).type();
        // Directories are not scheme files. Pipes, sockets and devices are
        // left alone too: opening a pipe would wait for a writer forever.
        // A dangling link stays in the list and fails to read like any
        // other unreadable file.
        if (type == fs::directory_file || type == fs::fifo_file || type == fs::socket_file ||
            type == fs::block_file || type == fs::character_file)
            continue;
        names.push_back(name);
    }
    // The order in which the system lists a directory is arbitrary; file
    // name order makes "the first file wins" the same on every machine.
    std::sort(names.begin(), names.end());
    return names;
}

bool PropertySetStore::isReadOnly(const std::string& filePath)
{
    if (::access(filePath.c_str(), W_OK) != 0)
        return true;
    struct stat st;
    return ::stat(filePath.c_str(), &st) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

void PropertySetStore::load()
{
    if (m_Path.empty())
        return;
    Schemes schemes;
    Files files;
    for (const std::string& fileName : listSchemeFiles(m_Path)) {
        const std::string filePath = fullPath(fileName);
        Entry entry;
        std::ifstream in(filePath, std::ios::in | std::ios::binary);
        bool ok = in.is_open();
        if (ok) {
            try {
                entry.m_Set.read(in);
                ok = !in.fail();
            } catch (const Corvale::Exception&) {
                // A string property without a name: the file is as
                // unreadable as one with a broken header.
                ok = false;
            }
        }
        if (!ok)
            throw ReadError(filePath);
        entry.m_ReadOnly = isReadOnly(filePath);
        entry.m_FileName = fileName;
        const std::string name = entry.m_Set.name();
        schemes.emplace(name, std::move(entry)); // a name read before stays
        files[fileName] = name;
    }
    m_Schemes.swap(schemes);
    m_Files.swap(files);
}

const PropertySetStore::Entry* PropertySetStore::find(const std::string& name) const
{
    Schemes::const_iterator it = m_Schemes.find(name);
    return it == m_Schemes.end() ? nullptr : &it->second;
}

PropertySetStore::Entry* PropertySetStore::find(const std::string& name)
{
    Schemes::iterator it = m_Schemes.find(name);
    return it == m_Schemes.end() ? nullptr : &it->second;
}

namespace {

// A file name for a scheme that has none yet: the scheme name with every
// character that is awkward in file names replaced, made unique among the
// names already taken.
std::string newFileName(const std::string& schemeName, const std::set<std::string>& taken)
{
    std::string stem;
    for (char c : schemeName) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '_' || c == ' ' || c == '.';
        stem += plain ? c : '_';
    }
    if (stem.empty() || stem[0] == '.' || stem[0] == ' ')
        stem = "Scheme" + stem;
    std::string name = stem + PropertySetStore::EXTENSION;
    for (int n = 2; taken.count(name) != 0; ++n)
        name = stem + " " + std::to_string(n) + PropertySetStore::EXTENSION;
    return name;
}

} // namespace

void PropertySetStore::save()
{
    if (m_Path.empty())
        return;

    std::set<std::string> taken;
    for (const std::string& fileName : listSchemeFiles(m_Path)) {
        taken.insert(fileName);
        Files::iterator tie = m_Files.find(fileName);
        if (tie == m_Files.end() || m_Schemes.count(tie->second) != 0)
            continue;
        const std::string filePath = fullPath(fileName);
        boost::system::error_code ec;
        if (!isReadOnly(filePath) && fs::is_regular_file(fs::symlink_status(filePath, ec)) &&
            fs::remove(filePath, ec)) {
            m_Files.erase(tie);
            taken.erase(fileName);
        }
    }

    for (auto& scheme : m_Schemes) {
        Entry& entry = scheme.second;
        if (entry.m_ReadOnly)
            continue;
        if (entry.m_FileName.empty()) {
            for (const auto& f : m_Files)
                taken.insert(f.first);
            entry.m_FileName = newFileName(scheme.first, taken);
            taken.insert(entry.m_FileName);
            m_Files[entry.m_FileName] = scheme.first;
        }
        std::ostringstream text;
        entry.m_Set.write(text);
        const std::string filePath = fullPath(entry.m_FileName);
        if (!replaceFile(filePath, text.str()))
            throw WriteError(filePath);
    }
}

} // namespace Stylist
