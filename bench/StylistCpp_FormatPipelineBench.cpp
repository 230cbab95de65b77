// Whole-pipeline throughput: parse, rewrite (with a brace style) and format
// the project's own sources with the shipped Default scheme, at two sizes
// ten times apart; with linear passes the MB/s of the two sizes agree.
#include "StylistCpp.h"
#include "StylistCpp_Rewriter.h"
#include "StylistCpp_Verifier.h"
#include "Stylist_PropertySet.h"
#include "Stylist_SchemeKeys.h"
#include "Cpp_LexerIterator.h"
#include "Cpp_Parser.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
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

Stylist::PropertySet defaultScheme(int braceStyle)
{
    std::ifstream in(std::string(QUILLON_SOURCE_DIR) + "/schemes/Default.qlx", std::ios::binary);
    Stylist::PropertySet scheme;
    scheme.read(in);
    scheme.setInt(Stylist::Key::IF_ELSE_CS_SINGLE_STMT_BRACE_STYLE, braceStyle);
    return scheme;
}

// Times whole runs of the pipeline with scheme on text.
void timePipeline(benchmark::State& state, const Stylist::PropertySet& scheme, const std::string& text)
{
    StylistCpp::FormatPipeline pipeline(scheme);
    for (auto _ : state) {
        std::istringstream in(text);
        std::ostringstream out;
        if (pipeline.format(in, out) != 0) {
            state.SkipWithError("the input did not parse");
            break;
        }
        benchmark::DoNotOptimize(out.str().size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

// state.range(0): minimum input size in bytes; state.range(1): brace style.
void BM_FormatPipeline(benchmark::State& state)
{
    timePipeline(state, defaultScheme(static_cast<int>(state.range(1))),
                 realSource(static_cast<std::size_t>(state.range(0))));
}

BENCHMARK(BM_FormatPipeline)
    ->Args({100000, 0})
    ->Args({1000000, 0})
    ->Args({100000, 1})
    ->Args({1000000, 1})
    ->Unit(benchmark::kMillisecond);

// The self-check alone, on the same input and the pipeline's own output:
// its share of a full run is this time over BM_FormatPipeline's (brace
// style 0: the whitespace comparison; 1: the brace-rewrite comparison on
// two texts, which parses both texts itself; the pipeline reuses its passes'
// parses instead, see BM_RewriteTreeCheck).
void BM_SelfCheck(benchmark::State& state)
{
    const std::string text = realSource(static_cast<std::size_t>(state.range(0)));
    StylistCpp::FormatPipeline pipeline(defaultScheme(0));
    std::istringstream in(text);
    std::ostringstream out;
    if (pipeline.format(in, out) != 0) {
        state.SkipWithError("the input did not parse");
        return;
    }
    const std::string formatted = out.str();
    for (auto _ : state) {
        const StylistCpp::Verifier::Comparison c = state.range(1) == 0
                                                       ? StylistCpp::Verifier::compareWhitespaceOnly(text, formatted)
                                                       : StylistCpp::Verifier::compareBraceRewrite(text, formatted);
        benchmark::DoNotOptimize(c.same);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

BENCHMARK(BM_SelfCheck)
    ->Args({100000, 0})
    ->Args({1000000, 0})
    ->Args({100000, 1})
    ->Args({1000000, 1})
    ->Unit(benchmark::kMillisecond);

// Default with braces added to every single-statement control body.
Stylist::PropertySet bracesAddedScheme()
{
    Stylist::PropertySet scheme = defaultScheme(1);
    scheme.setInt(Stylist::Key::FOR_CS_SINGLE_STMT_BRACE_STYLE, 1);
    scheme.setInt(Stylist::Key::WHILE_CS_SINGLE_STMT_BRACE_STYLE, 1);
    return scheme;
}

// The rewrite pass's output for text under scheme.
std::string rewrittenText(const Stylist::PropertySet& scheme, const std::string& text)
{
    Cpp::Parser parser;
    std::unique_ptr<Cpp::RootNode> pRoot = parser.parse(Cpp::LexerIterator(text.begin(), text.end()), Cpp::LexerIterator());
    std::ostringstream out;
    StylistCpp::Rewriter rewriter(scheme, text, out);
    pRoot->accept(rewriter);
    return out.str();
}

// The brace-rewrite check as the pipeline runs it: the tree the rewrite pass
// parsed is compared with the tree the format pass parses from the
// rewrite's output while both texts are read; the parses themselves are the
// passes' own and are not timed. The input has single-statement bodies of both kinds (brace style 1
// adds braces around the unbraced ones).
void BM_RewriteTreeCheck(benchmark::State& state)
{
    const std::string text = realSource(static_cast<std::size_t>(state.range(0)));
    // The rewrite's output: the whole pipeline's output would do as well for
    // the cost, but the tree comparison needs a real rewrite.
    const std::string rewritten = rewrittenText(bracesAddedScheme(), text);
    Cpp::Parser parser;
    const std::unique_ptr<Cpp::RootNode> pIn =
        parser.parse(Cpp::LexerIterator(text.begin(), text.end()), Cpp::LexerIterator());
    const std::unique_ptr<Cpp::RootNode> pOut =
        parser.parse(Cpp::LexerIterator(rewritten.begin(), rewritten.end()), Cpp::LexerIterator());
    for (auto _ : state) {
        const StylistCpp::Verifier::Comparison c = StylistCpp::Verifier::compareBraceRewrite(*pIn, text, *pOut, rewritten);
        if (!c.same) {
            state.SkipWithError("the rewrite did not pass the check");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

BENCHMARK(BM_RewriteTreeCheck)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A whole run with braces added, for the share of the check below.
void BM_FormatPipelineBracesAdded(benchmark::State& state)
{
    timePipeline(state, bracesAddedScheme(), realSource(static_cast<std::size_t>(state.range(0))));
}

BENCHMARK(BM_FormatPipelineBracesAdded)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The whole self-check of a run with braces added, as the pipeline runs it:
// the tree comparison of the rewrite (recording the rewritten text's
// tokens) and the comparison of the rewritten text with the result.
void BM_RewriteSelfCheck(benchmark::State& state)
{
    const std::string text = realSource(static_cast<std::size_t>(state.range(0)));
    const Stylist::PropertySet scheme = bracesAddedScheme();
    const std::string rewritten = rewrittenText(scheme, text);
    std::string result;
    {
        StylistCpp::FormatPipeline pipeline(scheme);
        std::istringstream in(text);
        std::ostringstream formatted;
        if (pipeline.format(in, formatted) != 0) {
            state.SkipWithError("the input did not parse");
            return;
        }
        result = formatted.str();
    }
    Cpp::Parser parser;
    const std::unique_ptr<Cpp::RootNode> pIn =
        parser.parse(Cpp::LexerIterator(text.begin(), text.end()), Cpp::LexerIterator());
    // The rewritten text's tokens are recorded as the format pass's parse
    // reads them; the recording is timed apart (BM_RecordTokens).
    StylistCpp::Verifier::RecordedTokens recorded(true);
    StylistCpp::Verifier::TokenRecorder recorder(rewritten, recorded);
    parser.observeTokens(&recorder);
    const std::unique_ptr<Cpp::RootNode> pOut =
        parser.parse(Cpp::LexerIterator(rewritten.begin(), rewritten.end()), Cpp::LexerIterator());
    parser.observeTokens(nullptr);
    recorded.finish();
    for (auto _ : state) {
        const bool same = StylistCpp::Verifier::compareBraceRewrite(*pIn, text, *pOut, recorded, rewritten).same &&
                          StylistCpp::Verifier::compareWhitespaceOnly(recorded, rewritten, result).same;
        if (!same) {
            state.SkipWithError("the run did not pass the check");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

BENCHMARK(BM_RewriteSelfCheck)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The recording of a text's tokens as its parse reads them: the parse with
// and without it (state.range(1)), the difference being the check's share.
void BM_RecordTokens(benchmark::State& state)
{
    const std::string text = realSource(static_cast<std::size_t>(state.range(0)));
    Cpp::Parser parser;
    for (auto _ : state) {
        StylistCpp::Verifier::RecordedTokens recorded;
        StylistCpp::Verifier::TokenRecorder recorder(text, recorded);
        parser.observeTokens(state.range(1) != 0 ? &recorder : nullptr);
        benchmark::DoNotOptimize(parser.parse(Cpp::LexerIterator(text.begin(), text.end()), Cpp::LexerIterator()));
        parser.observeTokens(nullptr);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

BENCHMARK(BM_RecordTokens)->Args({1000000, 0})->Args({1000000, 1})->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
