// Large inputs through the program: a 50 MB file of real code and a file
// whose one line is 5 MB long. Each is formatted (or, should the parser
// refuse it, passed through with its diagnostic) without a crash, and the
// output file holds the whole result. These take tens of seconds and
// several hundred megabytes, so the tests carry the CTest label "large".
#include "Stylist_HostileInput.h"
#include "Stylist_ProgramFixture.h"

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>

#include <string>

namespace {

using namespace ProgramTest;
using namespace HostileInput;

// The project's own sources, repeated to at least minBytes.
std::string realCode(std::size_t minBytes)
{
    namespace fs = boost::filesystem;
    std::string sources;
    for (const char* module : {"Stream", "Trn", "Cpp", "Stylist", "StylistCpp"}) {
        const fs::path dir = fs::path(QUILLON_SOURCE_DIR) / module / "src";
        for (fs::directory_iterator it(dir), end; it != end; ++it)
            if (it->path().extension() == ".cpp")
                sources += slurp(it->path().string()) + "\n";
    }
    std::string text;
    text.reserve(minBytes + sources.size());
    while (!sources.empty() && text.size() < minBytes)
        text += sources;
    return text;
}

TEST_F(Program, LargeFilesAreFormattedWhole)
{
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"50 MB of real code", realCode(50u << 20)},
        {"one line of 5 MB", [] {
             std::string s = "void f() { ";
             while (s.size() < (5u << 20))
                 s += "x = f(a, b) + g[c] * 2; ";
             return s + "}\n";
         }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        spit(path("in.cpp"), c.text);
        const Outcome r = run("--scheme Default --in in.cpp --out out.cpp");
        ASSERT_EQ(0, r.status) << r.err;
        EXPECT_EQ("", r.err);
        checkOutput(c.text, slurp(path("out.cpp")), r.out, EITHER);
    }
}

} // namespace
