// A temporary directory for tests, removed with everything in it, and an
// environment variable set for the life of an object.
#ifndef STYLIST_TEMPDIR_H
#define STYLIST_TEMPDIR_H

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace Stylist {
namespace test {

class TempDir {
public:
    TempDir()
    {
        char name[] = "/tmp/quillon-test-XXXXXX";
        if (::mkdtemp(name) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        m_Root = name;
    }
    ~TempDir()
    {
        const std::string cmd = "chmod -R u+rwx '" + m_Root + "' && rm -rf '" + m_Root + "'";
        (void)std::system(cmd.c_str());
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& root() const { return m_Root; }
    std::string path(const std::string& name) const { return m_Root + "/" + name; }

    void write(const std::string& name, const std::string& text) const
    {
        std::ofstream out(path(name), std::ios::binary | std::ios::trunc);
        out << text;
    }
    std::string read(const std::string& name) const
    {
        std::ifstream in(path(name), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void mkdir(const std::string& name) const { ::mkdir(path(name).c_str(), 0755); }
    void remove(const std::string& name) const { ::unlink(path(name).c_str()); }
    bool exists(const std::string& name) const
    {
        struct stat st;
        return ::lstat(path(name).c_str(), &st) == 0;
    }

private:
    std::string m_Root;
};

// Sets or clears an environment variable for the life of the object.
class EnvVar {
public:
    EnvVar(const char* name, const char* value) : m_Name(name)
    {
        const char* old = std::getenv(name);
        m_Had = old != nullptr;
        if (m_Had)
            m_Old = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~EnvVar()
    {
        if (m_Had)
            ::setenv(m_Name.c_str(), m_Old.c_str(), 1);
        else
            ::unsetenv(m_Name.c_str());
    }
    EnvVar(const EnvVar&) = delete;
    EnvVar& operator=(const EnvVar&) = delete;

private:
    std::string m_Name;
    std::string m_Old;
    bool m_Had;
};

} // namespace test
} // namespace Stylist

#endif
