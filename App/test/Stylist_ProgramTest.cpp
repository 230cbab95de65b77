// The program run as a process: options, input, output and alerts.
#include "Stylist_ProgramFixture.h"

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace ProgramTest;

const char* const BANNER = "Quillon C++ 1.4.4\n";

bool startsWith(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

TEST_F(Program, UsageListingWhenAskedOrWhenAnOptionIsMissing)
{
    for (const char* args : {"", "--help", "--help --version --scheme X --in a --out b", "--in a --out b",
                              "--scheme X --in=a"}) {
        Outcome r = run(args);
        EXPECT_EQ(0, r.status) << args;
        EXPECT_TRUE(startsWith(r.out, BANNER)) << args << "\n" << r.out;
        for (const char* option : {"--help", "--version", "--scheme scheme", "--in input_file",
                                   "--out output_file", "name of the file to be read (use - for standard input)"})
            EXPECT_NE(std::string::npos, r.out.find(option)) << args << " lacks " << option;
        EXPECT_EQ("", r.err) << args;
    }
    EXPECT_FALSE(std::ifstream(path("b")).good()) << "no output is written without a scheme";
}

TEST_F(Program, VersionBanner)
{
    Outcome r = run("--version --in a");
    EXPECT_EQ(0, r.status);
    EXPECT_TRUE(startsWith(r.out, BANNER)) << r.out;
    EXPECT_EQ(std::string::npos, r.out.find("--help"));
}

TEST_F(Program, OptionErrorsAreAlerts)
{
    const std::string prefix = "ALERT: An unexpected error has occurred. The current Quillon C++ operation has "
                               "failed. Please contact Corvale Software Technical Support and report this error: ";
    for (const char* args : {"--bogus", "--scheme", "--scheme a --scheme b --in x --out y", "stray", "-h"}) {
        Outcome r = run(args);
        EXPECT_EQ(1, r.status) << args;
        EXPECT_TRUE(startsWith(r.err, prefix)) << args << "\n" << r.err;
        EXPECT_GT(r.err.size(), prefix.size() + 1) << "the option library's text follows";
        EXPECT_EQ('\n', r.err.back());
    }
    EXPECT_NE(std::string::npos, run("--bogus").err.find("--bogus"));
}

TEST_F(Program, UnreadableInput)
{
    Outcome missing = run("--scheme Default --in nosuch.cpp --out out.cpp");
    EXPECT_EQ(1, missing.status);
    EXPECT_EQ("ALERT: Could not open file \"nosuch.cpp\" for input.\n", missing.err);

    ASSERT_EQ(0, ::mkdir(path("dir").c_str(), 0755));
    Outcome directory = run("--scheme Default --in dir --out out.cpp");
    EXPECT_EQ(1, directory.status);
    EXPECT_EQ("ALERT: Could not read from input file \"dir\".\n", directory.err);
    EXPECT_FALSE(std::ifstream(path("out.cpp")).good());
}

TEST_F(Program, UnwritableOutputLeavesEverythingAsItWas)
{
    spit(path("in.cpp"), "int x;\n");
    Outcome noDir = run("--scheme Default --in in.cpp --out nodir/out.cpp");
    EXPECT_EQ(1, noDir.status);
    EXPECT_EQ("ALERT: Could not open file \"nodir/out.cpp\" for output.\n", noDir.err);

    ASSERT_EQ(0, ::mkdir(path("dir").c_str(), 0755));
    Outcome isDir = run("--scheme Default --in in.cpp --out dir");
    EXPECT_EQ(1, isDir.status);
    EXPECT_EQ("ALERT: Could not open file \"dir\" for output.\n", isDir.err);

    if (::geteuid() != 0) {
        // Root may write any file, so the permission cases only mean
        // something for an ordinary user.
        spit(path("locked.cpp"), "old\n");
        ::chmod(path("locked.cpp").c_str(), 0444);
        Outcome locked = run("--scheme Default --in in.cpp --out locked.cpp");
        EXPECT_EQ(1, locked.status);
        EXPECT_EQ("old\n", slurp(path("locked.cpp")));
    }
    Outcome full = run("--scheme Default --in in.cpp --out -", "", "/dev/full");
    EXPECT_EQ(1, full.status);
    EXPECT_EQ("ALERT: Could not write to output file \"-\".\n", full.err);
}

TEST_F(Program, StandardInputAndOutput)
{
    Outcome r = run("--scheme Default --in - --out -", "int a;\r\nint b;\rint c;\n");
    EXPECT_EQ(0, r.status) << r.err;
    // The message of the run comes first, then the formatted text, every
    // line end written as CR LF.
    EXPECT_EQ("Using scheme Default to format -\nint a;\r\nint b;\r\nint c;\r\n", r.out);
}

TEST_F(Program, InputAndOutputMayBeTheSameFile)
{
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "int value" + std::to_string(i) + " = " + std::to_string(i) + ";\n";
    spit(path("same.cpp"), text);
    ::chmod(path("same.cpp").c_str(), 0640);
    Outcome r = run("--scheme Default --in same.cpp --out same.cpp");
    EXPECT_EQ(0, r.status) << r.err;
    std::string formatted;
    for (int i = 0; i < 5000; ++i)
        formatted += "int value" + std::to_string(i) + " = " + std::to_string(i) + ";\r\n";
    EXPECT_EQ(formatted, slurp(path("same.cpp")));
    struct stat st;
    ASSERT_EQ(0, ::stat(path("same.cpp").c_str(), &st));
    EXPECT_EQ(0640u, st.st_mode & 07777) << "permission bits are kept";
    EXPECT_EQ(0, std::system(("test -z \"$(ls -A '" + m_Dir + "' | grep quillon-)\"").c_str()))
        << "no temporary file is left behind";
}

TEST_F(Program, OutputThroughASymbolicLinkReplacesItsTarget)
{
    spit(path("in.cpp"), "int x;\n");
    spit(path("real.cpp"), "old\n");
    ASSERT_EQ(0, ::symlink("real.cpp", path("link.cpp").c_str()));
    Outcome r = run("--scheme Default --in in.cpp --out link.cpp");
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("int x;\r\n", slurp(path("real.cpp")));
    struct stat st;
    ASSERT_EQ(0, ::lstat(path("link.cpp").c_str(), &st));
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link itself stays a link";
}

TEST_F(Program, OutputToADeviceIsWrittenInPlace)
{
    spit(path("in.cpp"), "int x;\n");
    Outcome r = run("--scheme Default --in in.cpp --out /dev/null");
    EXPECT_EQ(0, r.status) << r.err;
    struct stat st;
    ASSERT_EQ(0, ::stat("/dev/null", &st));
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

// ---- schemes ----------------------------------------------------------------

const std::string READ_ERROR_END = "\". To correct the problem, you should delete this file before restarting and "
                                   "attempting this operation again.\n";

TEST_F(Program, AnUnknownSchemeIsAnAlert)
{
    Outcome r = run("--scheme Nope --in - --out -", "int x;\n");
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("ALERT: An unknown scheme Nope was selected to use when formatting.\n", r.err);
    EXPECT_EQ("", r.out);

    spit(path("in.cpp"), "int x;\n");
    r = run("--scheme default --in in.cpp --out out.cpp");
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("ALERT: An unknown scheme default was selected to use when formatting.\n", r.err);
    EXPECT_FALSE(std::ifstream(path("out.cpp")).good()) << "no output file is created";
}

TEST_F(Program, ABrokenSchemeFileIsNamedInAnAlert)
{
    m_Exe = install(path("inst"));
    spit(path("inst/Schemes/broken.qlx"), "Stylist::PropertySet\n1\n\"B\"\n9 X 1\n");
    Outcome r = run("--scheme Default --in - --out -", "int x;\n");
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("ALERT: Encountered an error while trying to read the scheme file \"" + path("inst/Schemes/broken.qlx") +
                  READ_ERROR_END + "ALERT: An unknown scheme Default was selected to use when formatting.\n",
              r.err);
}

TEST_F(Program, TheSchemeDirectoryIsFoundAndRemembered)
{
    m_Exe = install(path("inst"));
    ASSERT_EQ(0, run("--scheme Default --in - --out -").status);
    EXPECT_EQ("[Software\\Corvale Software\\Quillon\\C++]\nPropertySetStore=" + path("inst/Schemes") + "\n",
              slurp(path("inst/registry.ini")));

    // A value names another directory; the user root is not consulted
    // while the machine root holds the key.
    ASSERT_EQ(0, ::mkdir(path("mine").c_str(), 0755));
    spit(path("mine/mine.qlx"), "Stylist::PropertySet\n1\n\"Mine\"\n");
    spit(path("inst/registry.ini"), "[Software\\Corvale Software\\Quillon\\C++]\nPropertySetStore=" +
                                        path("mine") + "\n");
    EXPECT_EQ(0, run("--scheme Mine --in - --out -").status);
    EXPECT_EQ(1, run("--scheme Default --in - --out -").status);

    // Without the machine root, the user's own root names the directory.
    ::unlink(path("inst/registry.ini").c_str());
    ASSERT_EQ(0, std::system(("mkdir -p '" + path(".config/quillon") + "'").c_str()));
    spit(path(".config/quillon/registry.ini"),
         "[Software\\Corvale Software\\Quillon\\C++]\nPropertySetStore=" + path("mine") + "\n");
    Outcome r = run("--scheme Mine --in - --out -", "int y;\n");
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("", r.err);
}

// An earlier-version scheme: old key names only.
const char* const OLD_SCHEME = "Stylist::PropertySet\n1\n\"Old\"\n"
                               "1 ALIGN_FN_PARAMS_LEFT 1\n"
                               "1 LINE_WRAP 0\n"
                               "2 SPACES_PER_TAB 8\n"
                               "2 COMMA_WRAP_STYLE 1\n"
                               "3 WRAP_INDENT \"\\t\"\n";

TEST_F(Program, AnOldSchemeIsConvertedByTheFirstRunThatFindsTheSchemeDirectory)
{
    m_Exe = install(path("inst"));
    spit(path("inst/Schemes/old.qlx"), OLD_SCHEME);

    // The first run finds no directory in the registry yet: the converter
    // has nothing to look at, the program remembers the directory.
    run("--scheme Old --in - --out -", "int x;\n");
    EXPECT_EQ(OLD_SCHEME, slurp(path("inst/Schemes/old.qlx")));
    EXPECT_EQ("[Software\\Corvale Software\\Quillon\\C++]\nPropertySetStore=" + path("inst/Schemes") + "\n",
              slurp(path("inst/registry.ini")));

    Outcome r = run("--scheme Old --in - --out -", "int  x ;\n");
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("", r.err) << "no conversion notice, no missing key, no unknown scheme";
    // The run formats with the converted scheme: the blanks are laid out
    // anew and the line ends are CR LF.
    EXPECT_TRUE(startsWith(r.out, "Using scheme Old to format -\nint x")) << r.out;
    EXPECT_EQ("\r\n", r.out.substr(r.out.size() - 2)) << r.out;
    const std::string converted = slurp(path("inst/Schemes/old.qlx"));
    EXPECT_NE(std::string::npos, converted.find("\n3 QUILLON_VERSION \"1.4.0\"\n")) << converted;
    EXPECT_NE(std::string::npos, converted.find("\n2 TAB_SIZE 8\n")) << converted;
    EXPECT_EQ(std::string::npos, converted.find("SPACES_PER_TAB")) << converted;

    r = run("--scheme Old --in - --out -", "int x;\n");
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ(converted, slurp(path("inst/Schemes/old.qlx"))) << "nothing more to convert";
}

TEST_F(Program, AReadOnlyOldSchemeIsNamedInAnAlertAndKept)
{
    m_Exe = install(path("inst"));
    spit(path("inst/Schemes/old.qlx"), OLD_SCHEME);
    std::string locked = OLD_SCHEME;
    locked.replace(locked.find("\"Old\""), 5, "\"Locked\"");
    spit(path("inst/Schemes/locked.qlx"), locked);
    ::chmod(path("inst/Schemes/locked.qlx").c_str(), 0444);

    run("--scheme Old --in - --out -");
    Outcome r = run("--scheme Old --in - --out -", "int x;\n");
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("ALERT: The scheme 'Locked' was created using a previous version of Quillon C++. The file is marked "
              "read-only and so cannot be converted. Please exit Quillon, change the file to read-write and then "
              "run Quillon again. Once the scheme has been converted, the file can be set read-only again.\n",
              r.err);
    EXPECT_EQ(locked, slurp(path("inst/Schemes/locked.qlx")));
    EXPECT_NE(OLD_SCHEME, slurp(path("inst/Schemes/old.qlx")));
}

TEST_F(Program, WithoutAnyConfigurationTheRunEndsWithAlerts)
{
    m_Exe = install(path("inst"));
    ::unlink(path("inst/registry.ini").c_str());
    Outcome r = run("--scheme Default --in - --out -", "int x;\n");
    EXPECT_EQ(1, r.status);
    EXPECT_TRUE(startsWith(r.err, "ALERT: Could not locate registry configuration data for Quillon C++.\n"
                                  "ALERT: An unexpected error has occurred."))
        << r.err;
    EXPECT_NE(std::string::npos, r.err.find("DBC Violation: Stylist/src/Stylist_PropertySetStore.cpp("));
    EXPECT_NE(std::string::npos, r.err.find("): newPath.length() > 0\n"));
}

} // namespace
