#include "Stylist_ProgramFixture.h"

#include <boost/filesystem.hpp>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

namespace ProgramTest {

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void spit(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::string install(const std::string& dir)
{
    namespace fs = boost::filesystem;
    fs::create_directories(fs::path(dir) / "Schemes");
    const fs::path exe = fs::path(dir) / "quillon";
    fs::copy_file(QUILLON_EXE, exe, fs::copy_option::overwrite_if_exists);
    spit(dir + "/registry.ini", "[Software\\Corvale Software\\Quillon\\C++]\n");
    boost::system::error_code ec;
    for (fs::directory_iterator it(QUILLON_SCHEMES_DIR, ec), end; !ec && it != end; it.increment(ec))
        fs::copy_file(it->path(), fs::path(dir) / "Schemes" / it->path().filename(),
                      fs::copy_option::overwrite_if_exists);
    spit(dir + "/Schemes/~test-default.qlx", "Stylist::PropertySet\n1\n\"Default\"\n");
    return exe.string();
}

std::string Program::s_InstallDir;
std::string Program::s_Exe;

void Program::SetUpTestSuite()
{
    char name[] = "/tmp/quillon-install-XXXXXX";
    ASSERT_NE(nullptr, ::mkdtemp(name));
    s_InstallDir = name;
    s_Exe = install(s_InstallDir);
}

void Program::TearDownTestSuite() { (void)std::system(("rm -rf '" + s_InstallDir + "'").c_str()); }

void Program::SetUp()
{
    char name[] = "/tmp/quillon-program-XXXXXX";
    ASSERT_NE(nullptr, ::mkdtemp(name));
    m_Dir = name;
    m_Exe = s_Exe;
}

void Program::TearDown()
{
    std::string cmd = "chmod -R u+rwx '" + m_Dir + "' && rm -rf '" + m_Dir + "'";
    (void)std::system(cmd.c_str());
}

Outcome Program::run(const std::string& args, const std::string& input, const std::string& stdoutFile)
{
    spit(path(".stdin"), input);
    spit(path(".stdout"), "");
    const std::string cmd = "cd '" + m_Dir + "' && XDG_CONFIG_HOME='" + m_Dir + "/.config' '" + m_Exe + "' " + args +
                            " <.stdin >" + stdoutFile + " 2>.stderr";
    int rc = std::system(cmd.c_str());
    Outcome r;
    r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    r.out = slurp(path(".stdout"));
    r.err = slurp(path(".stderr"));
    return r;
}

} // namespace ProgramTest
