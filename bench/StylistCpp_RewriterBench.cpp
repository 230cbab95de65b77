// Rewrite pass throughput (the tree is parsed once, outside the timing) on
// real source and on synthetic inputs that punish repeated analysis: chains
// of unbraced statements nested just under the parser's nesting limit,
// braced if-else statements whose dangling-else check looks through deep
// loop nests, and bodies full of preprocessor lines. Each input is measured
// at two sizes ten times apart; with a linear pass the MB/s of the two
// sizes agree.
#include "Cpp_LexerIterator.h"
#include "Cpp_Parser.h"
#include "StylistCpp_Rewriter.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

std::string realSource(std::size_t minBytes)
{
    namespace fs = std::filesystem;
    static const std::string sources = [] {
        std::string all;
        for (const char* module : {"Stream", "Trn", "Cpp", "Stylist", "StylistCpp"}) {
            const fs::path dir = fs::path(QUILLON_SOURCE_DIR) / module / "src";
            if (!fs::exists(dir))
                continue;
            for (const auto& entry : fs::recursive_directory_iterator(dir)) {
                if (entry.path().extension() != ".cpp")
                    continue;
                std::ifstream in(entry.path(), std::ios::binary);
                std::ostringstream content;
                content << in.rdbuf();
                all += content.str() + "\n";
            }
        }
        return all;
    }();
    std::string text;
    while (!sources.empty() && text.size() < minBytes)
        text += sources;
    return text;
}

std::string repeatedFunctions(const std::string& body, std::size_t bytes)
{
    std::string text;
    for (int n = 0; text.size() < bytes; ++n)
        text += "void f" + std::to_string(n) + "(int a, int b)\n{\n" + body + "}\n";
    return text;
}

// if (a) for (;;) while (b) if (a) ... x(); nested 80 deep.
std::string unbracedChains(std::size_t bytes)
{
    std::string body;
    for (int i = 0; i < 80; ++i)
        body += i % 3 == 0 ? "if (a) " : i % 3 == 1 ? "for (;;) " : "while (b) ";
    return repeatedFunctions(body + "x();\n", bytes);
}

// if (a) { for (;;) { for (;;) { ... { y(); } ... } } } else z(); 80 deep,
// whose inner loops are themselves the then-bodies of if-else statements.
std::string guardedNests(std::size_t bytes)
{
    std::string open;
    std::string close;
    for (int i = 0; i < 80; ++i) {
        open += i % 2 == 0 ? "if (a) { " : "for (;;) { ";
        close.insert(0, i % 2 == 0 ? "} else z();\n" : "}\n");
    }
    return repeatedFunctions(open + "y();\n" + close, bytes);
}

std::string preprocessorBodies(std::size_t bytes)
{
    return repeatedFunctions("    if (a) {\n#ifdef X\n        x();\n#endif\n    }\n"
                             "    for (;;) x(a,\n#if Y\n b\n#endif\n);\n",
                             bytes);
}

void runRewriter(benchmark::State& state, const std::string& text, int style)
{
    Cpp::Parser parser;
    int errors = 0;
    parser.onMessage().connect([&errors](const Trn::Message&) { ++errors; });
    std::unique_ptr<Cpp::RootNode> pRoot = parser.parse(Cpp::LexerIterator(text.begin(), text.end()), Cpp::LexerIterator());
    if (errors != 0) {
        state.SkipWithError("the input does not parse cleanly");
        return;
    }
    Stylist::PropertySet scheme("bench");
    scheme.setInt("IF_ELSE_CS_SINGLE_STMT_BRACE_STYLE", style);
    scheme.setInt("FOR_CS_SINGLE_STMT_BRACE_STYLE", style);
    scheme.setInt("WHILE_CS_SINGLE_STMT_BRACE_STYLE", style);
    for (auto _ : state) {
        std::ostringstream out;
        {
            StylistCpp::Rewriter rewriter(scheme, text, out);
            pRoot->accept(rewriter);
        }
        benchmark::DoNotOptimize(out.str().size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

template <std::string (*MAKE)(std::size_t)>
void bmRewrite(benchmark::State& state)
{
    static std::string text;
    static std::size_t made = 0;
    const std::size_t bytes = static_cast<std::size_t>(state.range(0));
    if (made != bytes) {
        text = MAKE(bytes);
        made = bytes;
    }
    runRewriter(state, text, static_cast<int>(state.range(1)));
}

void sizes(benchmark::internal::Benchmark* b)
{
    for (int style : {1, 2})
        for (int bytes : {100 << 10, 1000 << 10})
            b->Args({bytes, style});
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK_TEMPLATE(bmRewrite, realSource)->Apply(sizes);
BENCHMARK_TEMPLATE(bmRewrite, unbracedChains)->Apply(sizes);
BENCHMARK_TEMPLATE(bmRewrite, guardedNests)->Apply(sizes);
BENCHMARK_TEMPLATE(bmRewrite, preprocessorBodies)->Apply(sizes);

} // namespace

BENCHMARK_MAIN();
