// Hostile input through the program: texts nested beyond the parser's
// limit, NUL and high bytes, a file of preprocessor lines only, and a
// scheme directory that cannot be read. Whatever the input, the program
// does not crash, ends with its usual status, and the output file holds
// either a formatting of the text or the text as read, never a part of it.
// The inputs are generated here; the large ones are in
// Stylist_HostileInputLargeTest.cpp.
#include "Stylist_HostileInput.h"
#include "Stylist_ProgramFixture.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace {

using namespace ProgramTest;
using namespace HostileInput;

std::string nested(char open, char close, std::size_t depth, const std::string& before, const std::string& inner,
                   const std::string& after)
{
    return before + std::string(depth, open) + inner + std::string(depth, close) + after;
}

std::string allBytes()
{
    std::string s;
    for (int c = 0; c < 256; ++c)
        s += static_cast<char>(c);
    return s;
}

std::string preprocessorOnly()
{
    std::string s;
    for (int i = 0; i < 5000; ++i) {
        const std::string n = std::to_string(i);
        s += "#define M" + n + "(x) ((x) + " + n + ")\n#if defined(M" + n + ") && M" + n + "(1) > 0\n";
        s += "#  include <m" + n + ".h>\n#else\n#error no M" + n + " \\\n    at all\n#endif\n";
    }
    return s;
}

TEST_F(Program, HostileTextsAreFormattedOrPassedThroughWhole)
{
    const struct {
        const char* name;
        std::function<std::string()> text;
        Expect expect;
    } cases[] = {
        {"100,000 nested parentheses",
         [] { return nested('(', ')', 100000, "int x = ", "1", ";\n"); }, AS_READ_WITH_MESSAGE},
        {"100,000 nested braces", [] { return nested('{', '}', 100000, "void f() ", "", "\n"); },
         AS_READ_WITH_MESSAGE},
        {"100,000 nested brackets", [] { return nested('[', ']', 100000, "int x = a", "0", ";\n"); },
         AS_READ_WITH_MESSAGE},
        {"100,000 nested blocks unbalanced", [] { return std::string(100000, '{'); }, AS_READ_WITH_MESSAGE},
        {"100,000 nested ifs", [] {
             std::string s = "void f() { ";
             for (int i = 0; i < 100000; ++i)
                 s += "if (a) ";
             return s + "x(); }\n";
         }, AS_READ_WITH_MESSAGE},
        {"every byte value between declarations", [] { return "int a;\n" + allBytes() + "\nint b;\n"; }, EITHER},
        {"NUL bytes between tokens", [] { return std::string("int a;\n\0int\0b;\n", 15); }, EITHER},
        {"high bytes and invalid UTF-8 in comments and literals",
         [] {
             return std::string("// caf\xc3\xa9 \xff\xfe\n/* \x80\x81 \xc3\x28 \xe2\x82 */\nconst char* s = \"\xf0\x90\x80 "
                                "\xa0\";\nchar c = '\xe9';\nint  x;\n");
         },
         FORMATTED},
        {"high bytes as names", [] { return std::string("int \xc3\xa9t\xc3\xa9 = 1;\nint \x80\xff;\n"); }, EITHER},
        {"lone CR line ends and a NUL at the end", [] { return std::string("int a;\rint b;\r\0", 15); }, EITHER},
        {"preprocessor lines only", preprocessorOnly, FORMATTED},
        {"a directive continued to the end of the text", [] { return std::string("#define X \\\n\\\n\\"); },
         EITHER},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = c.text();
        spit(path("in.cpp"), text);
        spit(path("out.cpp"), "not yet written");
        const Outcome r = run("--scheme Default --in in.cpp --out out.cpp");
        ASSERT_EQ(0, r.status) << r.err;
        EXPECT_EQ("", r.err);
        EXPECT_EQ(0u, r.out.find("Using scheme Default to format in.cpp\n")) << r.out;
        checkOutput(text, slurp(path("out.cpp")), r.out, c.expect);
    }
}

// An installation in dir whose scheme directory is named in the
// configuration store; answers the directory.
std::string installWithNamedSchemes(const std::string& dir, std::string& exe)
{
    exe = install(dir + "/inst");
    spit(dir + "/inst/registry.ini",
         "[Software\\Corvale Software\\Quillon\\C++]\nPropertySetStore=" + dir + "/inst/Schemes\n");
    return dir + "/inst/Schemes";
}

bool readable(const std::string& dir)
{
    DIR* d = ::opendir(dir.c_str());
    if (d == nullptr)
        return false;
    ::closedir(d);
    return true;
}

// The run cannot find the scheme: an alert, status 1, and the output file
// as it was.
void expectUnknownSchemeKeepsTheOutput(const Outcome& r, const std::string& output)
{
    EXPECT_EQ(1, r.status) << r.err;
    EXPECT_NE(std::string::npos, r.err.find("ALERT: An unknown scheme Default was selected to use when formatting.\n"))
        << r.err;
    EXPECT_EQ("kept", output);
}

TEST_F(Program, ASchemeDirectoryWithoutPermissionsIsAnAlert)
{
    const std::string schemes = installWithNamedSchemes(m_Dir, m_Exe);
    ASSERT_EQ(0, ::chmod(schemes.c_str(), 0));
    if (readable(schemes)) {
        ::chmod(schemes.c_str(), 0755);
        GTEST_SKIP() << "permission bits do not stop this process reading (run as root)";
    }
    spit(path("in.cpp"), "int  x;\n");
    spit(path("out.cpp"), "kept");
    const Outcome r = run("--scheme Default --in in.cpp --out out.cpp");
    ::chmod(schemes.c_str(), 0755);
    expectUnknownSchemeKeepsTheOutput(r, slurp(path("out.cpp")));
}

TEST_F(Program, ASchemeDirectoryThatCannotBeOpenedIsAnAlert)
{
    // A symbolic link to itself cannot be opened by any process, whatever
    // its rights.
    const std::string schemes = installWithNamedSchemes(m_Dir, m_Exe);
    ASSERT_EQ(0, std::system(("rm -rf '" + schemes + "'").c_str()));
    ASSERT_EQ(0, ::symlink(schemes.c_str(), schemes.c_str()));
    ASSERT_FALSE(readable(schemes));
    spit(path("in.cpp"), "int  x;\n");
    spit(path("out.cpp"), "kept");
    const Outcome r = run("--scheme Default --in in.cpp --out out.cpp");
    expectUnknownSchemeKeepsTheOutput(r, slurp(path("out.cpp")));
}

} // namespace
