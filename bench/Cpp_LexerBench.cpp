// Lexer throughput: real source text, and the inputs that make a naive
// template scan quadratic ('a<b,' repeated with nothing that ends a scan,
// 'a<b<=c,' whose "<=" start scans of their own, and unclosed nested '<'),
// each at two sizes ten times apart. With a linear lexer the MB/s of the
// two sizes agree.
#include "Cpp_LexerIterator.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::size_t countTokens(const std::string& text)
{
    std::size_t count = 0;
    for (Cpp::LexerIterator it(text.begin(), text.end()), end; it != end && !it.stuck(); ++it)
        ++count;
    return count;
}

// The project's own C++ sources, repeated to about 4 MB.
const std::string& realSource()
{
    static const std::string text = [] {
        namespace fs = std::filesystem;
        std::string sources;
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
                sources += content.str();
            }
        }
        std::string text;
        while (!sources.empty() && text.size() < 4 * 1024 * 1024)
            text += sources;
        return text;
    }();
    return text;
}

void run(benchmark::State& state, const std::string& text)
{
    std::size_t tokens = 0;
    for (auto _ : state) {
        tokens = countTokens(text);
        benchmark::DoNotOptimize(tokens);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["bytes"] = static_cast<double>(text.size());
    state.counters["tokens"] = static_cast<double>(tokens);
}

void BM_LexRealSource(benchmark::State& state) { run(state, realSource()); }

// int x[] = { a<b,a<b,a<b, ... : every '<' starts a scan that, naively,
// runs to the end of the text.
void BM_LexTemplateCommas(benchmark::State& state)
{
    std::string text = "int x[] = {";
    for (std::int64_t i = 0; i < state.range(0); ++i)
        text += "a<b,";
    run(state, text);
}

// x = a<=b,a<=b, ... : every "<=" after a name starts a scan, which the
// scans before it read as a comparison.
void BM_LexComparisons(benchmark::State& state)
{
    std::string text = "x = ";
    for (std::int64_t i = 0; i < state.range(0); ++i)
        text += "a<b<=c,";
    run(state, text);
}

// a<a<a<a< ... : every scan nests one level deeper and never closes.
void BM_LexUnclosedNesting(benchmark::State& state)
{
    std::string text;
    for (std::int64_t i = 0; i < state.range(0); ++i)
        text += "a<";
    run(state, text);
}

// f(a<b, g(a<b, ... : parentheses that never close around failing scans.
void BM_LexOpenCalls(benchmark::State& state)
{
    std::string text;
    for (std::int64_t i = 0; i < state.range(0); ++i)
        text += "f(a<b,";
    run(state, text);
}

// #error \'\'\' ... : every quote in the directive line starts a quoted
// piece that never closes.
void BM_LexDirectiveQuotes(benchmark::State& state)
{
    std::string text = "#error ";
    for (std::int64_t i = 0; i < state.range(0); ++i)
        text += "\\'";
    text += "\n";
    run(state, text);
}

} // namespace

BENCHMARK(BM_LexRealSource)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LexTemplateCommas)->Arg(25000)->Arg(250000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LexComparisons)->Arg(15000)->Arg(150000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LexUnclosedNesting)->Arg(50000)->Arg(500000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LexOpenCalls)->Arg(16000)->Arg(160000)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_LexDirectiveQuotes)->Arg(50000)->Arg(500000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
