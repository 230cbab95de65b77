// Runs the built program as a process over a throw-away installation, for
// the program tests.
#ifndef STYLIST_PROGRAMFIXTURE_H
#define STYLIST_PROGRAMFIXTURE_H

#include <gtest/gtest.h>

#include <string>

namespace ProgramTest {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

std::string slurp(const std::string& path);
void spit(const std::string& path, const std::string& text);

// Makes an installation of the program in dir: a copy of the built
// program, a machine root holding the product key without a value, and a
// "Schemes" directory with the shipped schemes plus a test scheme named
// Default. The test scheme's file sorts after the usual file names, so a
// shipped scheme of the same name is the one the program keeps.
// Answers the installed program's path.
std::string install(const std::string& dir);

class Program : public ::testing::Test {
protected:
    // One installation serves every test that does not change it.
    static void SetUpTestSuite();
    static void TearDownTestSuite();

    void SetUp() override;
    void TearDown() override;

    std::string path(const std::string& name) const { return m_Dir + "/" + name; }

    // Runs the program in the test's directory with the given arguments
    // (shell words) and standard input. The user's configuration directory
    // is one of the test's own, so no real user settings take part.
    Outcome run(const std::string& args, const std::string& input = std::string(),
                const std::string& stdoutFile = ".stdout");

    std::string m_Dir;
    std::string m_Exe;
    static std::string s_InstallDir;
    static std::string s_Exe;
};

} // namespace ProgramTest

#endif
