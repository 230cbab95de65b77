// Line wrapping cost: a call with thousands of arguments on one line, a
// long sum, and a long brace initialiser, each at two sizes. The cost per
// byte must stay flat when the size doubles: the wrapper evaluates a fixed
// number of layouts per construct, each linear in the text. The last case
// runs the whole wrap pass (parse and emitter) over such a call.
#include "Cpp_LexerIterator.h"
#include "Cpp_Parser.h"
#include "Cpp_SyntaxTree.h"
#include "StylistCpp_ExprLineWrapper.h"
#include "StylistCpp_LineWrapper.h"
#include "StylistCpp_StdWrapStrategy.h"
#include "Stylist_PropertySet.h"
#include "Stylist_SchemeKeys.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

namespace {

namespace Key = Stylist::Key;

void setFamily(Stylist::PropertySet& s, const Stylist::WrapFamily& f)
{
    s.setBool(f.m_LineWrap, true);
    if (f.m_UseGlobal != nullptr)
        s.setBool(f.m_UseGlobal, false);
    s.setInt(f.m_Keys.m_Style, 1);
    s.setString(f.m_Keys.m_Indent, "    ");
    s.setInt(f.m_Keys.m_Comma, 2);
    s.setInt(f.m_Keys.m_IndentStyle, 1);
    s.setInt(f.m_Keys.m_Strategy, 1);
}

Stylist::PropertySet scheme()
{
    Stylist::PropertySet s("bench");
    for (const char* k :
         {Key::LEFT_MARGIN, Key::WS_BETWEEN_UNARY_OP_OPERAND, Key::WS_BETWEEN_CAST_OPERAND, Key::WS_AFTER_FN_CALL_NAME,
          Key::WS_BEFORE_FN_CALL_COMMA, Key::WS_AFTER_EXPR_OPEN_PAREN, Key::WS_BEFORE_EXPR_CLOSE_PAREN,
          Key::WS_BEFORE_LBRACKET, Key::WS_AFTER_LBRACKET, Key::WS_BEFORE_RBRACKET, Key::WS_BETWEEN_AMPERSAND_ANCHOR,
          Key::WS_BETWEEN_ASTERISK_ANCHOR, Key::WS_AFTER_TP_OPEN_BRACKET, Key::WS_BEFORE_TP_CLOSE_BRACKET,
          Key::WS_BEFORE_DD_COMMA, Key::WS_BEFORE_ENUM_COMMA, Key::WS_BEFORE_CLASS_INITS_COMMA,
          Key::WS_AFTER_FN_OPEN_PAREN, Key::WS_BEFORE_FN_COMMA, Key::WS_BEFORE_FN_CLOSE_PAREN,
          Key::WS_BEFORE_BASE_CLAUSES_COMMA, Key::WS_BEFORE_TP_COMMA, Key::WS_AFTER_CS_OPEN_PAREN,
          Key::WS_BEFORE_CS_CLOSE_PAREN})
        s.setString(k, "");
    for (const char* k :
         {Key::WS_BETWEEN_EXPR_OP_OPERANDS, Key::WS_BETWEEN_FN_CALL_ARGS, Key::WS_BETWEEN_TP_PARAMS,
          Key::WS_BEFORE_DD_OPEN_BRACE, Key::WS_AFTER_DD_OPEN_BRACE, Key::WS_BEFORE_DD_CLOSE_BRACE,
          Key::WS_BETWEEN_DD_ELEMENTS, Key::WS_AFTER_ENUM_OPEN_BRACE, Key::WS_BEFORE_ENUM_CLOSE_BRACE,
          Key::WS_BETWEEN_ENUM_ELEMENTS, Key::WS_BEFORE_CLASS_INIT_LIST, Key::WS_BEFORE_CLASS_INITS,
          Key::WS_BETWEEN_CLASS_INITS, Key::WS_AFTER_FN_DECL_RETURN_TYPE, Key::WS_BETWEEN_FN_PARAMS,
          Key::WS_BETWEEN_BASE_CLAUSES, Key::WS_AFTER_CS_KEY})
        s.setString(k, " ");
    for (const char* k : {Key::INDENT_DD_CONTENT, Key::GLOBAL_INDENT_CONTENT, Key::INDENT_NS_CONTENT,
                          Key::INDENT_CLASS_CONTENT, Key::INDENT_FN_CONTENT, Key::INDENT_ENUM_CONTENT,
                          Key::INDENT_CS_CONTENT, Key::INDENT_CS_CASE_CONTENT})
        s.setString(k, "    ");
    s.setString(Key::WS_BETWEEN_CS, "\n");
    s.setInt(Key::TAB_SIZE, 4);
    s.setInt(Key::RIGHT_MARGIN, 78);
    s.setInt(Key::SHIFT_WRAP_STYLE, 1);
    s.setInt(Key::GLOBAL_INDENT_WRAP_STYLE, 1);
    for (const char* k : {Key::LINE_WRAP_DO_NOT_FORMAT, Key::FN_USE_GLOBAL_SETTINGS, Key::DD_DO_NOT_FORMAT,
                          Key::ENUM_DO_NOT_FORMAT, Key::CLASS_INIT_DO_NOT_FORMAT, Key::FN_DO_NOT_FORMAT,
                          Key::CLASS_DO_NOT_FORMAT, Key::TP_DO_NOT_FORMAT, Key::CS_DO_NOT_FORMAT,
                          Key::ALIGN_ENUM_INITIALIZERS})
        s.setBool(k, false);
    s.setBool(Key::PPD_DO_NOT_FORMAT, true);
    for (const Stylist::WrapFamily* f : {&Key::GLOBAL_WRAP, &Key::DD_WRAP, &Key::ENUM_WRAP, &Key::CLASS_INIT_WRAP,
                                         &Key::EXPR_WRAP, &Key::FN_DECL_WRAP, &Key::FN_DEFN_WRAP,
                                         &Key::BASE_CLAUSE_WRAP})
        setFamily(s, *f);
    return s;
}

std::string call(int args)
{
    std::string t = "result = compute(";
    for (int i = 0; i < args; ++i)
        t += (i > 0 ? ", argument" : "argument") + std::to_string(i);
    return t + ");";
}

std::string sum(int terms)
{
    std::string t = "total = ";
    for (int i = 0; i < terms; ++i)
        t += (i > 0 ? " + value" : "value") + std::to_string(i) + " * factor";
    return t + ";";
}

std::string initialiser(int elements)
{
    std::string t = "table[] = { ";
    for (int i = 0; i < elements; ++i)
        t += (i > 0 ? ", { " : "{ ") + std::to_string(i) + ", \"name" + std::to_string(i) + "\" }";
    return t + " };";
}

void wrap(benchmark::State& state, const std::string& text)
{
    const StylistCpp::ExprLineWrapper w(scheme());
    const StylistCpp::StdWrapStrategy strategy;
    Stylist::WrapSettings settings;
    settings.m_WrapIndent = "    ";
    settings.m_CommaWrapStyle = 2;
    const Corvale::OIndentState pos = w.position(4, "    ");
    for (auto _ : state)
        benchmark::DoNotOptimize(w.wrap(text, pos, settings, strategy));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
    state.counters["layouts"] = w.lastLayoutCount();
}

void BM_WrapCall(benchmark::State& state) { wrap(state, call(static_cast<int>(state.range(0)))); }
void BM_WrapSum(benchmark::State& state) { wrap(state, sum(static_cast<int>(state.range(0)))); }
void BM_WrapInitialiser(benchmark::State& state) { wrap(state, initialiser(static_cast<int>(state.range(0)))); }

void BM_WrapPassOverCall(benchmark::State& state)
{
    const std::string text = "void f()\n{\n    " + call(static_cast<int>(state.range(0))) + "\n}\n";
    const Stylist::PropertySet s = scheme();
    for (auto _ : state) {
        Cpp::Parser parser;
        std::unique_ptr<Cpp::RootNode> root =
            parser.parse(Cpp::LexerIterator(text.begin(), text.end()), Cpp::LexerIterator());
        std::ostringstream out;
        StylistCpp::LineWrapper wrapper(text, out, s);
        root->accept(wrapper);
        benchmark::DoNotOptimize(out.str());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

// A whole function body on one line: every statement lies on the overlong
// line and is wrapped on its own.
void BM_WrapPassOverOneLineBody(benchmark::State& state)
{
    std::string text = "void f() {";
    for (int i = 0; i < state.range(0); ++i)
        text += " total = total + value" + std::to_string(i) + " * factor;";
    text += " }\n";
    const Stylist::PropertySet s = scheme();
    for (auto _ : state) {
        Cpp::Parser parser;
        std::unique_ptr<Cpp::RootNode> root =
            parser.parse(Cpp::LexerIterator(text.begin(), text.end()), Cpp::LexerIterator());
        std::ostringstream out;
        StylistCpp::LineWrapper wrapper(text, out, s);
        root->accept(wrapper);
        benchmark::DoNotOptimize(out.str());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

} // namespace

BENCHMARK(BM_WrapPassOverOneLineBody)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WrapCall)->Arg(1000)->Arg(2000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WrapSum)->Arg(250)->Arg(500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WrapInitialiser)->Arg(1000)->Arg(2000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WrapPassOverCall)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
