// Parser throughput (lexing included, and parsing alone) on real source and
// on synthetic inputs that punish super-linear parsing: one very long
// function body, long runs of top-level statements that the classifier has
// to look at, deeply nested blocks just under the nesting limit, and
// macro-like names between directives with no statement end. Each input is
// measured at two sizes ten times apart; with a linear parser the MB/s of
// the two sizes agree.
#include "Cpp_LexerIterator.h"
#include "Cpp_Parser.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The project's own C++ sources, repeated to at least minBytes.
std::string realSource(std::size_t minBytes)
{
    namespace fs = std::filesystem;
    static const std::string sources = [] {
        std::string all;
        for (const char* module : {"Stream", "Trn", "Cpp", "Stylist", "StylistCpp", "Converter", "App"}) {
            const fs::path dir = fs::path(QUILLON_SOURCE_DIR) / module;
            if (!fs::exists(dir))
                continue;
            for (const auto& entry : fs::recursive_directory_iterator(dir)) {
                const std::string ext = entry.path().extension().string();
                if (ext != ".cpp" && ext != ".h")
                    continue;
                std::ifstream in(entry.path(), std::ios::binary);
                std::ostringstream content;
                content << in.rdbuf();
                all += content.str();
                all += "\n";
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
                    "    int x = a[i] + g(1, 2);\n    if (x > 0) { y = x; } else y = 0;\n"
                    "    for (int i = 0; i < n; ++i) sum += i;\n    s.call(x);\n",
                    "}\n", bytes);
}

std::string longTopLevel(std::size_t bytes)
{
    return repeated("", "int v = 1;\nFOO(x);\nvoid g(int a);\nstruct S { int m; } s;\nx = y;\n", "", bytes);
}

std::string deepBlocks(std::size_t bytes)
{
    std::string unit = "void f() ";
    for (int i = 0; i < Cpp::Parser::NESTING_LIMIT - 10; ++i)
        unit += "{ x;\n";
    for (int i = 0; i < Cpp::Parser::NESTING_LIMIT - 10; ++i)
        unit += "}\n";
    return repeated("", unit, "", bytes);
}

std::string namesBetweenDirectives(std::size_t bytes)
{
    return repeated("", "NAME other\n#define X 1\n", "", bytes);
}

std::vector<Trn::Token> lex(const std::string& text)
{
    std::vector<Trn::Token> tokens;
    for (Cpp::LexerIterator it(text.begin(), text.end()), end; it != end && !it.stuck(); ++it)
        tokens.push_back(*it);
    return tokens;
}

void lexAndParse(benchmark::State& state, const std::string& text)
{
    Cpp::Parser parser;
    std::size_t messages = 0;
    parser.onMessage().connect([&](const Trn::Message&) { ++messages; });
    for (auto _ : state) {
        auto pRoot = parser.parse(Cpp::LexerIterator(text.begin(), text.end()), Cpp::LexerIterator());
        benchmark::DoNotOptimize(pRoot.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["bytes"] = static_cast<double>(text.size());
    state.counters["messages"] = static_cast<double>(messages / std::max<std::size_t>(1, state.iterations()));
}

void parseOnly(benchmark::State& state, const std::string& text)
{
    const std::vector<Trn::Token> tokens = lex(text);
    Cpp::Parser parser;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<Trn::Token> copy = tokens;
        state.ResumeTiming();
        auto pRoot = parser.parse(std::move(copy));
        benchmark::DoNotOptimize(pRoot.get());
        state.PauseTiming();
        pRoot.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["bytes"] = static_cast<double>(text.size());
}

const std::size_t SMALL = 400 * 1024;
const std::size_t LARGE = 4 * 1024 * 1024;

void BM_LexParse_RealSource_Small(benchmark::State& s) { lexAndParse(s, realSource(SMALL)); }
void BM_LexParse_RealSource_Large(benchmark::State& s) { lexAndParse(s, realSource(LARGE)); }
void BM_Parse_RealSource_Small(benchmark::State& s) { parseOnly(s, realSource(SMALL)); }
void BM_Parse_RealSource_Large(benchmark::State& s) { parseOnly(s, realSource(LARGE)); }
void BM_Parse_LongBody_Small(benchmark::State& s) { parseOnly(s, longBody(SMALL)); }
void BM_Parse_LongBody_Large(benchmark::State& s) { parseOnly(s, longBody(LARGE)); }
void BM_Parse_LongTopLevel_Small(benchmark::State& s) { parseOnly(s, longTopLevel(SMALL)); }
void BM_Parse_LongTopLevel_Large(benchmark::State& s) { parseOnly(s, longTopLevel(LARGE)); }
void BM_Parse_DeepBlocks_Small(benchmark::State& s) { parseOnly(s, deepBlocks(SMALL)); }
void BM_Parse_DeepBlocks_Large(benchmark::State& s) { parseOnly(s, deepBlocks(LARGE)); }
void BM_Parse_NamesBetweenDirectives_Small(benchmark::State& s) { parseOnly(s, namesBetweenDirectives(SMALL)); }
void BM_Parse_NamesBetweenDirectives_Large(benchmark::State& s) { parseOnly(s, namesBetweenDirectives(LARGE)); }

BENCHMARK(BM_LexParse_RealSource_Small)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LexParse_RealSource_Large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse_RealSource_Small)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse_RealSource_Large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse_LongBody_Small)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse_LongBody_Large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse_LongTopLevel_Small)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse_LongTopLevel_Large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse_DeepBlocks_Small)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse_DeepBlocks_Large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse_NamesBetweenDirectives_Small)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse_NamesBetweenDirectives_Large)->Unit(benchmark::kMillisecond);

} // namespace

// Keep freed memory in the process: otherwise every iteration over the large
// inputs pays for fresh pages from the system (on virtual machines this
// dominates), and the comparison between the two sizes would measure the
// page faults instead of the parser.
int main(int argc, char** argv)
{
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_TOP_PAD, 1 << 28);
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
