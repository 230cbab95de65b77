// Formatter throughput: the format pass alone (the tree is parsed once,
// outside the measurement) on real headers and on synthetic inputs that
// punish super-linear layout (one long function body, long runs of
// top-level declarations, deeply nested blocks, long enumerations). Each
// input is measured at two sizes ten times apart; with a linear formatter
// the MB/s of the two sizes agree.
#include "Cpp_InteriorNode.h"
#include "Cpp_LexerIterator.h"
#include "Cpp_Parser.h"
#include "StylistCpp_Formatter.h"
#include "Stylist_PropertySet.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool parsesCleanly(const std::string& text)
{
    Cpp::Parser parser;
    bool clean = true;
    parser.onMessage().connect([&](const Trn::Message& m) { clean = clean && m.code() == 19; });
    Cpp::LexerIterator first(text.begin(), text.end()), last;
    parser.parse(first, last);
    return clean;
}

// The test-framework headers that parse cleanly, repeated to at least
// minBytes.
std::string realSource(std::size_t minBytes)
{
    namespace fs = std::filesystem;
    static const std::string sources = [] {
        std::string all;
        for (const char* dir : {"/usr/include/gtest", "/usr/include/gmock"}) {
            if (!fs::is_directory(dir))
                continue;
            for (const auto& entry : fs::recursive_directory_iterator(dir)) {
                if (entry.path().extension() != ".h")
                    continue;
                std::string text = readFile(entry.path().string());
                if (parsesCleanly(text))
                    all += text + "\n";
            }
        }
        return all;
    }();
    std::string text;
    while (!sources.empty() && text.size() < minBytes)
        text += sources;
    return text;
}

std::string repeated(const std::string& head, const std::string& unit, const std::string& tail, std::size_t bytes)
{
    std::string text = head;
    while (text.size() < bytes)
        text += unit;
    return text + tail;
}

std::string longBody(std::size_t bytes)
{
    return repeated("void f()\n{\n",
                    "    int x = a[i] + g(1, 2);\n    if (x > 0) { y = x; } else if (z) y = 0; else y = 1;\n"
                    "    for (int i = 0; i < n; ++i) sum += i; // count\n    switch (k) { case 1: s.call(x); break; }\n",
                    "}\n", bytes);
}

std::string longTopLevel(std::size_t bytes)
{
    return repeated("", "int v = 1;\nnamespace n { class C : public B { public: C(int a) : m(a) {} int m; }; }\n"
                        "template <class T> void g(T a, int b);\n/* block\n   comment */\n#define X 1\n",
                    "", bytes);
}

std::string deepBlocks(std::size_t bytes)
{
    std::string unit = "void f() ";
    for (int i = 0; i < 200; ++i)
        unit += "{ x;\n";
    for (int i = 0; i < 200; ++i)
        unit += "}\n";
    return repeated("", unit, "", bytes);
}

std::string longEnum(std::size_t bytes)
{
    std::string text = "enum E {\n";
    for (int i = 0; text.size() < bytes; ++i)
        text += "    VALUE_" + std::to_string(i) + " = " + std::to_string(i) + ", // value\n";
    return text + "    LAST\n};\n";
}

// A K&R-like scheme with every key the formatter reads.
Stylist::PropertySet scheme()
{
    Stylist::PropertySet set("bench");
    std::istringstream in(readFile(std::string(QUILLON_SOURCE_DIR) + "/StylistCpp/test/golden/Formatter/bases/kr.scheme"));
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::size_t eq = line.find(" = ");
        std::string key = line.substr(0, eq);
        std::string value = line.substr(eq + 3);
        if (value == "true" || value == "false") {
            set.setBool(key, value == "true");
        } else if (value[0] == '"') {
            std::string s;
            for (std::size_t i = 1; i + 1 < value.size(); ++i) {
                if (value[i] == '\\') {
                    char n = value[++i];
                    s += n == 'n' ? '\n' : n == 't' ? '\t' : n;
                } else {
                    s += value[i];
                }
            }
            set.setString(key, s);
        } else {
            set.setInt(key, std::stoi(value));
        }
    }
    set.setBool("ALIGN_ENUM_INITIALIZERS", std::getenv("BENCH_NO_ALIGN") == nullptr);
    return set;
}

void formatText(benchmark::State& state, std::string (*make)(std::size_t))
{
    const std::string text = make(static_cast<std::size_t>(state.range(0)));
    Cpp::Parser parser;
    Cpp::LexerIterator first(text.begin(), text.end()), last;
    std::unique_ptr<Cpp::RootNode> pRoot = parser.parse(first, last);
    const Stylist::PropertySet s = scheme();
    for (auto _ : state) {
        std::ostringstream out;
        StylistCpp::Formatter formatter(text, out, s);
        pRoot->accept(formatter);
        benchmark::DoNotOptimize(out.str().size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

void BM_FormatRealHeaders(benchmark::State& state) { formatText(state, realSource); }
void BM_FormatLongBody(benchmark::State& state) { formatText(state, longBody); }
void BM_FormatLongTopLevel(benchmark::State& state) { formatText(state, longTopLevel); }
void BM_FormatDeepBlocks(benchmark::State& state) { formatText(state, deepBlocks); }
void BM_FormatLongEnum(benchmark::State& state) { formatText(state, longEnum); }

BENCHMARK(BM_FormatRealHeaders)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatLongBody)->Arg(200 << 10)->Arg(2 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatLongTopLevel)->Arg(200 << 10)->Arg(2 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatDeepBlocks)->Arg(200 << 10)->Arg(2 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatLongEnum)->Arg(200 << 10)->Arg(2 << 20)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
