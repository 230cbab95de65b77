// The expression formatter on arbitrary bytes: no exception, and the output
// always lexes to the input's tokens, with empty whitespace strings (where
// tokens would merge) and with line breaks (where directives and line
// splices matter), in both modes.
//   build-fuzz/fuzz/fuzz_exprformatter -max_total_time=600 -max_len=2048 corpus-expr/
#include "StylistCpp_ExprFormatter.h"
#include "StylistCpp_ExprFormatterTestSupport.h"
#include "support/StylistCpp_TokenSequence.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace StylistCppTest;
namespace Key = Stylist::Key;

std::vector<StylistCpp::ExprFormatter>& formatters()
{
    static std::vector<StylistCpp::ExprFormatter> fs = [] {
        const char* const keys[] = {Key::WS_BETWEEN_EXPR_OP_OPERANDS, Key::WS_BETWEEN_UNARY_OP_OPERAND,
                                    Key::WS_BETWEEN_CAST_OPERAND,     Key::WS_AFTER_FN_CALL_NAME,
                                    Key::WS_BETWEEN_FN_CALL_ARGS,     Key::WS_AFTER_EXPR_OPEN_PAREN,
                                    Key::WS_BEFORE_EXPR_CLOSE_PAREN,  Key::WS_BEFORE_LBRACKET,
                                    Key::WS_BETWEEN_ASTERISK_ANCHOR,  Key::WS_BETWEEN_AMPERSAND_ANCHOR,
                                    Key::WS_AFTER_TP_OPEN_BRACKET,    Key::WS_BEFORE_TP_CLOSE_BRACKET,
                                    Key::WS_BETWEEN_TP_PARAMS,        Key::WS_AFTER_DD_OPEN_BRACE,
                                    Key::WS_BEFORE_DD_CLOSE_BRACE,    Key::WS_BETWEEN_DD_ELEMENTS};
        std::vector<StylistCpp::ExprFormatter> v;
        for (const char* value : {"", "\n"}) {
            Overrides o;
            for (const char* k : keys)
                o.emplace_back(k, value);
            o.emplace_back(Key::ASTERISK_ANCHOR, value[0] ? "i:1" : "i:0");
            o.emplace_back(Key::AMPERSAND_ANCHOR, value[0] ? "i:1" : "i:0");
            o.emplace_back(Key::ALIGN_PPD_LEFT_MOST, value[0] ? "b:true" : "-");
            o.emplace_back(Key::GLOBAL_LINE_WRAP, "b:true");
            v.emplace_back(exprScheme(o));
        }
        return v;
    }();
    return fs;
}

void check(const std::string& in, const std::string& out)
{
    if (firstDifference(comparableTokens(in), comparableTokens(out)) != NO_DIFFERENCE)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (StylistCpp::ExprFormatter& f : formatters()) {
        check(text, f.formatExpression(text, f.position(2, "  ")));
        check(text, f.formatDeclarator(text, f.position(0), "  "));
    }
    return 0;
}
