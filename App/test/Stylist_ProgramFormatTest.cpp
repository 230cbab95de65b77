// Formatting through the program: the messages of a run, line ends, parse
// errors, the handlers of buffer formatting, and that every shipped scheme
// keeps the tokens of a corpus of realistic files.
#include "Stylist_ProgramFixture.h"

#include "support/StylistCpp_TokenCompare.h"
#include "support/StylistCpp_TokenSequence.h"

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace ProgramTest;

const std::string USING_DEFAULT_ON_STDIN = "Using scheme Default to format -\n";

// text with every line end written as CR LF.
std::string crlf(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

// Whether every line end of text is CR LF, with no lone CR or LF.
bool allLineEndsAreCrLf(const std::string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            return false;
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))
            return false;
    }
    return true;
}

std::string withoutCr(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

// The shipped Default scheme under another name.
std::string defaultSchemeNamed(const std::string& name)
{
    std::string text = slurp(std::string(QUILLON_SCHEMES_DIR) + "/Default.qlx");
    const std::string nameLine = "\n\"Default\"\n";
    text.replace(text.find(nameLine), nameLine.size(), "\n\"" + name + "\"\n");
    return text;
}

// text with the first line that starts with prefix replaced by line.
std::string replaceLine(std::string text, const std::string& prefix, const std::string& line)
{
    const std::size_t at = text.find("\n" + prefix) + 1;
    text.replace(at, text.find('\n', at) - at, line);
    return text;
}

const std::string MESSY = "namespace n{\nint  f( int a ){if(a)return a*2;\nreturn 0;}\n}\n";
const std::string MESSY_DEFAULT = "namespace n {\n"
                                  "    int f(int a)\n"
                                  "    {\n"
                                  "        if (a)\n"
                                  "            return a * 2;\n"
                                  "        return 0;\n"
                                  "    }\n"
                                  "}\n";

TEST_F(Program, FormatsWithTheNamedSchemeAfterTheMessageOfTheRun)
{
    Outcome r = run("--scheme Default --in - --out -", MESSY);
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("", r.err);
    EXPECT_EQ(USING_DEFAULT_ON_STDIN + crlf(MESSY_DEFAULT), r.out);

    spit(path("messy.cpp"), MESSY);
    r = run("--scheme Allman --in messy.cpp --out -");
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("Using scheme Allman to format messy.cpp\n" +
                  crlf("namespace n\n{\n    int f(int a)\n    {\n        if (a)\n            return a * 2;\n        return 0;\n    }\n}\n"),
              r.out);

    // Formatting in place: the message goes to standard output, the text
    // to the file.
    r = run("--scheme Default --in messy.cpp --out messy.cpp");
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("Using scheme Default to format messy.cpp\n", r.out);
    EXPECT_EQ(crlf(MESSY_DEFAULT), slurp(path("messy.cpp")));
}

TEST_F(Program, EveryKindOfLineEndIsWrittenAsCrLf)
{
    const std::string expected = USING_DEFAULT_ON_STDIN + crlf("int a;\nint b;\nint c;\n");
    for (const char* input : {"int a;\nint b;\nint c;\n", "int a;\r\nint b;\r\nint c;\r\n", "int a;\rint b;\rint c;\r",
                              "int a;\r\nint b;\rint c;\n"}) {
        Outcome r = run("--scheme Default --in - --out -", input);
        EXPECT_EQ(0, r.status) << r.err;
        EXPECT_EQ(expected, r.out);
    }
}

TEST_F(Program, AnEmptyInputGivesAnEmptyOutput)
{
    Outcome r = run("--scheme Default --in - --out -", "");
    EXPECT_EQ(0, r.status);
    EXPECT_EQ(USING_DEFAULT_ON_STDIN, r.out);
    EXPECT_EQ("", r.err);

    spit(path("empty.cpp"), "");
    r = run("--scheme Default --in empty.cpp --out out.cpp");
    EXPECT_EQ(0, r.status);
    EXPECT_EQ("", slurp(path("out.cpp")));
}

TEST_F(Program, AParseErrorPassesTheInputThroughWithItsDiagnostic)
{
    const std::string input = "int f()\r\n{\r\n    if (x {\r\n    }\r\n}\r\n";
    Outcome r = run("--scheme Default --in - --out -", input);
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("", r.err);
    const std::string prefix = USING_DEFAULT_ON_STDIN + "-(3): Error: ";
    ASSERT_EQ(prefix, r.out.substr(0, prefix.size())) << r.out;
    const std::string body = "int f()\n{\n    if (x {\n    }\n}\n";
    ASSERT_GE(r.out.size(), body.size());
    EXPECT_EQ(body, r.out.substr(r.out.size() - body.size())) << "the input as read, with LF line ends";
    const std::string diagnostics = r.out.substr(USING_DEFAULT_ON_STDIN.size(),
                                                 r.out.size() - body.size() - USING_DEFAULT_ON_STDIN.size());
    EXPECT_EQ('\n', diagnostics.back());
    for (std::size_t start = 0; start < diagnostics.size();) {
        const std::size_t end = diagnostics.find('\n', start);
        const std::string line = diagnostics.substr(start, end - start);
        EXPECT_EQ(0u, line.find("-(")) << line;
        EXPECT_NE(std::string::npos, line.find("): Error: ")) << line;
        start = end + 1;
    }

    spit(path("broken.cpp"), input);
    r = run("--scheme Default --in broken.cpp --out out.cpp");
    EXPECT_EQ(0, r.status);
    EXPECT_EQ(0u, r.out.find(std::string("Using scheme Default to format broken.cpp\nbroken.cpp(3): Error: ")))
        << r.out;
    EXPECT_EQ(body, slurp(path("out.cpp")));
}

TEST_F(Program, TheRewritePassRunsOnlyForASchemeWithABraceStyle)
{
    m_Exe = install(path("inst"));
    spit(path("inst/Schemes/braces.qlx"),
         replaceLine(defaultSchemeNamed("Braces"), "2 IF_ELSE_CS_SINGLE_STMT_BRACE_STYLE",
                     "2 IF_ELSE_CS_SINGLE_STMT_BRACE_STYLE 1"));

    Outcome r = run("--scheme Braces --in - --out -", MESSY);
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("Using scheme Braces to format -\n" + crlf("namespace n {\n"
                                                          "    int f(int a)\n"
                                                          "    {\n"
                                                          "        if (a) {\n"
                                                          "            return a * 2;\n"
                                                          "        }\n"
                                                          "        return 0;\n"
                                                          "    }\n"
                                                          "}\n"),
              r.out);
}

TEST_F(Program, ASchemeLackingAKeyNeedsConversion)
{
    m_Exe = install(path("inst"));
    spit(path("inst/Schemes/partial.qlx"),
         replaceLine(defaultSchemeNamed("Partial"), "3 INDENT_CS_CONTENT", "# no INDENT_CS_CONTENT"));
    spit(path("out.cpp"), "old\n");

    Outcome r = run("--scheme Partial --in - --out out.cpp", MESSY);
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("Using scheme Partial to format -\n", r.out);
    EXPECT_EQ("ALERT: The scheme Partial requires conversion before it can be used. Please run the Quillon C++ GUI "
              "Client to perform this conversion.\n",
              r.err);
    EXPECT_EQ("old\n", slurp(path("out.cpp"))) << "nothing is written";
}

TEST_F(Program, AnInconsistentSchemeIsReportedAndTheInputPassesThrough)
{
    m_Exe = install(path("inst"));
    spit(path("inst/Schemes/bad.qlx"),
         replaceLine(defaultSchemeNamed("Bad"), "2 ASTERISK_ANCHOR", "2 ASTERISK_ANCHOR 5"));

    Outcome r = run("--scheme Bad --in - --out -", MESSY);
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("", r.err);
    const std::string prefix = "Using scheme Bad to format -\nAn unexpected error has occurred. The current Quillon C++ "
                               "operation has failed. Please contact Corvale Software Technical Support and report "
                               "this error: DBC Violation: ";
    EXPECT_EQ(prefix, r.out.substr(0, prefix.size())) << r.out;
    EXPECT_EQ(MESSY, r.out.substr(r.out.size() - MESSY.size()));
}

// ---- every shipped scheme keeps every token ------------------------------------------

std::vector<std::string> shippedSchemes()
{
    std::vector<std::string> names;
    namespace fs = boost::filesystem;
    for (fs::directory_iterator it(std::string(QUILLON_SOURCE_DIR) + "/schemes"), end; it != end; ++it)
        if (it->path().extension() == ".qlx")
            names.push_back(it->path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> corpusFiles()
{
    const std::string root = QUILLON_SOURCE_DIR;
    std::vector<std::string> files = {root + "/examples/shapes.cpp", root + "/docs/scheme-sample.cpp"};
    namespace fs = boost::filesystem;
    for (const char* dir : {"/StylistCpp/test/corpus", "/App/test/golden/input"})
        for (fs::directory_iterator it(root + dir), end; it != end; ++it)
            files.push_back(it->path().string());
    // The inputs of the emitters' own golden cases: small texts, each about
    // one construct.
    for (fs::recursive_directory_iterator it(root + "/StylistCpp/test/golden"), end; it != end; ++it) {
        const std::string name = it->path().filename().string();
        if (name.size() > 7 && name.compare(name.size() - 7, 7, ".in.cpp") == 0)
            files.push_back(it->path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST_F(Program, EveryShippedSchemeKeepsTheTokensOfTheCorpus)
{
    const std::vector<std::string> schemes = shippedSchemes();
    ASSERT_GE(schemes.size(), 5u);
    for (const std::string& file : corpusFiles()) {
        const std::string input = slurp(file);
        for (const std::string& scheme : schemes) {
            Outcome r = run("--scheme " + scheme + " --in '" + file + "' --out out.cpp");
            ASSERT_EQ(0, r.status) << scheme << " " << file << "\n" << r.err;
            EXPECT_EQ("Using scheme " + scheme + " to format " + file + "\n", r.out)
                << "a diagnostic or an error message: " << scheme << " " << file;
            const std::string output = slurp(path("out.cpp"));
            EXPECT_TRUE(allLineEndsAreCrLf(output)) << scheme << " " << file;
            EXPECT_TRUE(StylistCppTest::sameTokens(input, withoutCr(output))) << scheme << " " << file;
        }
    }
}

// The tokens of text without its braces.
std::vector<StylistCppTest::ComparableToken> tokensWithoutBraces(const std::string& text)
{
    std::vector<StylistCppTest::ComparableToken> tokens = StylistCppTest::comparableTokens(text);
    tokens.erase(std::remove_if(tokens.begin(), tokens.end(),
                                [](const StylistCppTest::ComparableToken& t) {
                                    return t.second == "{" || t.second == "}";
                                }),
                 tokens.end());
    return tokens;
}

TEST_F(Program, BraceRewritingChangesNothingButBracesAndWhitespace)
{
    m_Exe = install(path("inst"));
    for (const char* style : {"1", "2"}) {
        std::string scheme = defaultSchemeNamed(std::string("Braces") + style);
        for (const char* key : {"IF_ELSE", "FOR", "WHILE"}) {
            const std::string prefix = std::string("2 ") + key + "_CS_SINGLE_STMT_BRACE_STYLE";
            scheme = replaceLine(scheme, prefix, prefix + " " + style);
        }
        spit(path(std::string("inst/Schemes/braces") + style + ".qlx"), scheme);
    }
    for (const std::string& file : corpusFiles()) {
        const std::string input = slurp(file);
        for (const char* scheme : {"Braces1", "Braces2"}) {
            Outcome r = run(std::string("--scheme ") + scheme + " --in '" + file + "' --out out.cpp");
            ASSERT_EQ(0, r.status) << scheme << " " << file << "\n" << r.err;
            EXPECT_EQ(1, std::count(r.out.begin(), r.out.end(), '\n')) << scheme << " " << file << "\n" << r.out;
            const std::string output = withoutCr(slurp(path("out.cpp")));
            const auto before = tokensWithoutBraces(input);
            const auto after = tokensWithoutBraces(output);
            const std::size_t at = StylistCppTest::firstDifference(before, after);
            EXPECT_EQ(StylistCppTest::NO_DIFFERENCE, at)
                << scheme << " " << file << ": token " << at << " "
                << (at < after.size() ? after[at].second : std::string("<end>"));
        }
    }
}

} // namespace
