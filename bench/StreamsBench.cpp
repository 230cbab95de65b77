// Throughput of the text stream path every formatting pass takes: a whole
// source text read through an input text stream, copied with copyThrough
// onto an indenting output stream, in each tab mode, beside a plain string
// copy of the same text.
#include "Corvale_ITextDocStream.h"
#include "Corvale_OIndentStream.h"
#include "Stylist.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// About 4 MB of C++-like text: indented with tabs and spaces, with string
// and character literals holding blanks, and runs of spaces for alignment.
const std::string& sourceText()
{
    static const std::string text = [] {
        const char* lines[] = {
            "namespace Sample {\n",
            "\n",
            "int\tcompute(const std::string& name,  int   count)\n",
            "{\n",
            "\tif (count > 0 && name != \"a  b\\t\\\"c\\\"\") {\n",
            "\t    std::cout << name << '\\t' << \"value:    \" << count;\n",
            "        return count    * 2;   // double it\n",
            "\t}\n",
            "    /* a block comment with    spaces and a quote ' inside */\n",
            "\treturn 0;\n",
            "}\n",
            "\n",
            "} // namespace Sample\n",
        };
        std::string t;
        while (t.size() < 4u * 1024u * 1024u)
            for (const char* l : lines)
                t += l;
        return t;
    }();
    return text;
}

// An output buffer over one string that is kept from run to run, so that
// the runs measure the streams rather than the allocator and the kernel's
// page faults on a fresh multi-megabyte output.
class ReusedSink : public std::streambuf {
public:
    explicit ReusedSink(std::size_t capacity) : m_Text(capacity, '\0') { reset(); }
    void reset() { setp(&m_Text[0], &m_Text[0] + m_Text.size()); }
    std::size_t size() const { return static_cast<std::size_t>(pptr() - pbase()); }

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        const std::size_t used = size();
        m_Text.resize(m_Text.size() * 2);
        setp(&m_Text[0], &m_Text[0] + m_Text.size());
        pbump(static_cast<int>(used));
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
        return c;
    }

private:
    std::string m_Text;
};

int lineCount(const std::string& text)
{
    int n = 0;
    for (char c : text)
        n += c == '\n';
    return n;
}

void BM_StringCopy(benchmark::State& state)
{
    const std::string& text = sourceText();
    for (auto _ : state) {
        std::string copy = text;
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_StringCopy);

// One copyThrough per source line, as the emitters copy node by node; the
// output indent is one tab, so every line's leading blanks are replaced.
void BM_CopyThroughIndentStream(benchmark::State& state)
{
    const std::string& text = sourceText();
    const int lines = lineCount(text);
    const auto mode = static_cast<Corvale::TabMode>(state.range(0));
    std::size_t written = 0;
    for (auto _ : state) {
        Corvale::ITextDocStream in(text, mode, 4);
        std::ostringstream target;
        {
            Corvale::OIndentStream out(target, "\t", false, mode, 4);
            for (int line = 1; line <= lines; ++line)
                Stylist::copyThrough(in, out, Trn::Location(line + 1, 0));
        }
        written = target.str().size();
        benchmark::DoNotOptimize(written);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
    state.counters["out_bytes"] = static_cast<double>(written);
}
BENCHMARK(BM_CopyThroughIndentStream)->Arg(Corvale::Keep)->Arg(Corvale::Expand)->Arg(Corvale::Compress);

// The same copy onto an output buffer that is reused between runs.
void BM_CopyThroughIndentStreamReusedOutput(benchmark::State& state)
{
    const std::string& text = sourceText();
    const int lines = lineCount(text);
    const auto mode = static_cast<Corvale::TabMode>(state.range(0));
    ReusedSink sink(text.size() * 2);
    std::ostream target(&sink);
    for (auto _ : state) {
        sink.reset();
        Corvale::ITextDocStream in(text, mode, 4);
        {
            Corvale::OIndentStream out(target, "\t", false, mode, 4);
            for (int line = 1; line <= lines; ++line)
                Stylist::copyThrough(in, out, Trn::Location(line + 1, 0));
        }
        benchmark::DoNotOptimize(sink.size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_CopyThroughIndentStreamReusedOutput)
    ->Arg(Corvale::Keep)
    ->Arg(Corvale::Expand)
    ->Arg(Corvale::Compress);

// Token-sized copies, as the emitters copy leaves: copyThrough to the end
// of every word, onto the reused output, so the cost per call shows.
void BM_CopyThroughPerWord(benchmark::State& state)
{
    const std::string& text = sourceText();
    // The location of the last character of every word.
    std::vector<Trn::Location> ends;
    int line = 1, col = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            col = 0;
            continue;
        }
        ++col;
        const bool last = i + 1 == text.size() || text[i + 1] == ' ' || text[i + 1] == '\n' ||
                          text[i + 1] == '\t';
        if (text[i] != ' ' && text[i] != '\t' && last)
            ends.emplace_back(line, col);
    }
    ends.emplace_back(line + 1, 0);
    ReusedSink sink(text.size() * 2);
    std::ostream target(&sink);
    for (auto _ : state) {
        sink.reset();
        Corvale::ITextDocStream in(text, Corvale::Keep, 4);
        {
            Corvale::OIndentStream out(target, "\t", false, Corvale::Keep, 4);
            for (const Trn::Location& l : ends)
                Stylist::copyThrough(in, out, l);
        }
        benchmark::DoNotOptimize(sink.size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
    state.counters["calls"] = static_cast<double>(ends.size());
}
BENCHMARK(BM_CopyThroughPerWord);

// The whole text in one copy, raw: the per-character cost of the buffers
// alone, without the per-call overhead.
void BM_CopyThroughRawWhole(benchmark::State& state)
{
    const std::string& text = sourceText();
    const int lines = lineCount(text);
    const auto mode = static_cast<Corvale::TabMode>(state.range(0));
    for (auto _ : state) {
        Corvale::ITextDocStream in(text, mode, 4);
        std::ostringstream target;
        {
            Corvale::OIndentStream out(target, "", true, mode, 4);
            Stylist::copyThroughRaw(in, out, Trn::Location(lines + 1, 0));
        }
        benchmark::DoNotOptimize(target.str().size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_CopyThroughRawWhole)->Arg(Corvale::Keep)->Arg(Corvale::Expand)->Arg(Corvale::Compress);

// Character-by-character reading and writing through the stream
// interfaces (get and put), as an emitter copying the tail of a text does.
void BM_GetPutCharacters(benchmark::State& state)
{
    const std::string& text = sourceText();
    const auto mode = static_cast<Corvale::TabMode>(state.range(0));
    for (auto _ : state) {
        Corvale::ITextDocStream in(text, mode, 4);
        std::ostringstream target;
        {
            Corvale::OIndentStream out(target, "\t", false, mode, 4);
            char c;
            while (in.get(c))
                out.put(c);
        }
        benchmark::DoNotOptimize(target.str().size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_GetPutCharacters)->Arg(Corvale::Keep)->Arg(Corvale::Expand)->Arg(Corvale::Compress);

} // namespace

BENCHMARK_MAIN();
