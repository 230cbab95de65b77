// Alignment calculators' throughput: the name and initialiser calculators
// walking a parsed tree (parsing is outside the measurement) on synthetic
// inputs that would punish a calculator that rescans its group or the
// source: one long run of declarations forming a single group, a class
// whose members on both sides of many access labels share one column,
// many declarations on a single line, and long multi-line types. Each
// input is measured at two sizes ten times apart; with linear calculators
// the bytes per second of the two sizes agree.
#include "Corvale_ITextDocStream.h"
#include "Cpp_InteriorNode.h"
#include "Cpp_LexerIterator.h"
#include "Cpp_Parser.h"
#include "StylistCpp_DataOffsetCalculator.h"
#include "StylistCpp_NameOffsetCalculator.h"
#include "Stylist_PropertySet.h"

#include <benchmark/benchmark.h>

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

// The K&R-like test scheme with every alignment key on.
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
    for (const char* key : {"ALIGN_CLASS_MEMBER_NAMES_LEFT", "ALIGN_FN_DECL_NAMES_LEFT", "ALIGN_DD_NAMES_LEFT",
                            "ALIGN_DD_INITIALIZERS", "HANGING_ASTERISK"}) {
        set.remove(key);
        set.setBool(key, true);
    }
    set.remove("ASTERISK_ANCHOR");
    set.setInt("ASTERISK_ANCHOR", 1);
    return set;
}

std::string oneGroup(std::size_t n)
{
    std::string text;
    for (std::size_t i = 0; i < n; ++i)
        text += (i % 3 ? "unsigned long *value" : "int n") + std::to_string(i) + " = " + std::to_string(i) + ";\n";
    return text;
}

std::string classWithLabels(std::size_t n)
{
    std::string text = "class Big {\n";
    for (std::size_t i = 0; i < n; ++i) {
        text += i % 5 == 0 ? "public:\n" : "";
        text += i % 2 ? "    const char *name" + std::to_string(i) + "() const;\n"
                      : "    long m_Value" + std::to_string(i) + " = 0;\n";
    }
    return text + "};\n";
}

std::string oneLine(std::size_t n)
{
    std::string text;
    for (std::size_t i = 0; i < n; ++i)
        text += "int a" + std::to_string(i) + " = 1; ";
    return text + "\n";
}

std::string longTypes(std::size_t n)
{
    std::string text;
    for (std::size_t i = 0; i < n; ++i)
        text += "const\n    unsigned\n    long long\n    value" + std::to_string(i) + ";\n";
    return text;
}

void calculate(benchmark::State& state, std::string (*make)(std::size_t))
{
    const std::string text = make(static_cast<std::size_t>(state.range(0)));
    Cpp::Parser parser;
    Cpp::LexerIterator first(text.begin(), text.end()), last;
    std::unique_ptr<Cpp::RootNode> pRoot = parser.parse(first, last);
    const Stylist::PropertySet s = scheme();
    for (auto _ : state) {
        Corvale::ITextDocStream in(text);
        StylistCpp::NameOffsetCalculator names(in, s);
        pRoot->accept(names);
        StylistCpp::DataOffsetCalculator initializers(s);
        pRoot->accept(initializers);
        benchmark::DoNotOptimize(names.dataColumns().size() + initializers.columns().size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_OneGroup(benchmark::State& state) { calculate(state, oneGroup); }
void BM_ClassWithLabels(benchmark::State& state) { calculate(state, classWithLabels); }
void BM_OneLine(benchmark::State& state) { calculate(state, oneLine); }
void BM_LongTypes(benchmark::State& state) { calculate(state, longTypes); }

BENCHMARK(BM_OneGroup)->Arg(2000)->Arg(20000);
BENCHMARK(BM_ClassWithLabels)->Arg(2000)->Arg(20000);
BENCHMARK(BM_OneLine)->Arg(2000)->Arg(20000);
BENCHMARK(BM_LongTypes)->Arg(2000)->Arg(20000);

} // namespace

BENCHMARK_MAIN();
