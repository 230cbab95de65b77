// Expression formatter throughput: the cost must grow linearly with the
// text, for long initialiser lists and for deeply nested calls, braces and
// template-ids alike (each at two sizes; compare the time per byte).
#include "StylistCpp_ExprFormatter.h"
#include "Stylist_PropertySet.h"
#include "Stylist_SchemeKeys.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

namespace Key = Stylist::Key;

Stylist::PropertySet scheme()
{
    Stylist::PropertySet s("bench");
    for (const char* k : {Key::LEFT_MARGIN, Key::WS_BETWEEN_UNARY_OP_OPERAND, Key::WS_BETWEEN_CAST_OPERAND,
                          Key::WS_AFTER_FN_CALL_NAME, Key::WS_BEFORE_FN_CALL_COMMA, Key::WS_AFTER_EXPR_OPEN_PAREN,
                          Key::WS_BEFORE_EXPR_CLOSE_PAREN, Key::WS_BEFORE_LBRACKET, Key::WS_AFTER_LBRACKET,
                          Key::WS_BEFORE_RBRACKET, Key::WS_BETWEEN_AMPERSAND_ANCHOR, Key::WS_BETWEEN_ASTERISK_ANCHOR,
                          Key::WS_AFTER_TP_OPEN_BRACKET, Key::WS_BEFORE_TP_CLOSE_BRACKET, Key::WS_BEFORE_DD_COMMA})
        s.setString(k, "");
    for (const char* k : {Key::WS_BETWEEN_EXPR_OP_OPERANDS, Key::WS_BETWEEN_FN_CALL_ARGS, Key::WS_BETWEEN_TP_PARAMS,
                          Key::WS_BEFORE_DD_OPEN_BRACE, Key::WS_AFTER_DD_OPEN_BRACE, Key::WS_BEFORE_DD_CLOSE_BRACE,
                          Key::WS_BETWEEN_DD_ELEMENTS})
        s.setString(k, " ");
    s.setString(Key::INDENT_DD_CONTENT, "    ");
    s.setInt(Key::TAB_SIZE, 4);
    s.setInt(Key::ASTERISK_ANCHOR, 1);
    return s;
}

void run(benchmark::State& state, const std::string& text)
{
    StylistCpp::ExprFormatter f(scheme());
    const Corvale::OIndentState pos = f.position(4, "    ");
    for (auto _ : state)
        benchmark::DoNotOptimize(f.formatExpression(text, pos));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

void BM_LongInitialiserList(benchmark::State& state)
{
    std::string text = "= {";
    for (std::int64_t i = 0; i < state.range(0); ++i)
        text += "\n  { \"name\" , -" + std::to_string(i) + " , f( a+b , *p ) },";
    text += "\n}";
    run(state, text);
}
BENCHMARK(BM_LongInitialiserList)->Arg(2000)->Arg(20000);

void BM_NestedCalls(benchmark::State& state)
{
    std::string text;
    for (std::int64_t i = 0; i < state.range(0); ++i)
        text += "f( a+1 ,";
    text += "x";
    for (std::int64_t i = 0; i < state.range(0); ++i)
        text += " )";
    run(state, text);
}
BENCHMARK(BM_NestedCalls)->Arg(150)->Arg(1500)->Arg(15000);

void BM_NestedBraces(benchmark::State& state)
{
    std::string text = "= ";
    for (std::int64_t i = 0; i < state.range(0); ++i)
        text += "{ 1 , ";
    for (std::int64_t i = 0; i < state.range(0); ++i)
        text += "}";
    run(state, text);
}
BENCHMARK(BM_NestedBraces)->Arg(150)->Arg(15000);

void BM_NestedTemplateIds(benchmark::State& state)
{
    std::string text = "x = a";
    for (std::int64_t i = 0; i < state.range(0); ++i)
        text += "< b ,c";
    for (std::int64_t i = 0; i < state.range(0); ++i)
        text += " >";
    run(state, text);
}
BENCHMARK(BM_NestedTemplateIds)->Arg(200)->Arg(2000);

// Header-sized text of statements.
void BM_Statements(benchmark::State& state)
{
    std::string text;
    for (std::int64_t i = 0; i < state.range(0); ++i)
        text += "x=(int)y+f(a,-b)*c[i] ; p=static_cast<char*>(q) ; s=\"a\" \"b\" ;\n";
    run(state, text);
}
BENCHMARK(BM_Statements)->Arg(1000)->Arg(10000);

// The set-up of a call: a formatter re-spaces thousands of short
// declarators and expressions per file, most of a few tokens, some with a
// template argument list of their own (a nested run). Items are calls.
void BM_ShortTexts(benchmark::State& state)
{
    const std::string texts[] = {"int  *p", "const std::string& name", "a+b*c", "std::vector< std::pair<int,long> > v",
                                 "f( x , y )", "i = 0"};
    StylistCpp::ExprFormatter f(scheme());
    const Corvale::OIndentState pos = f.position(8, "        ");
    std::int64_t bytes = 0;
    for (auto _ : state) {
        for (const std::string& t : texts) {
            benchmark::DoNotOptimize(f.formatDeclarator(t, pos, " "));
            bytes += static_cast<std::int64_t>(t.size());
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 6);
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ShortTexts);

} // namespace

BENCHMARK_MAIN();
