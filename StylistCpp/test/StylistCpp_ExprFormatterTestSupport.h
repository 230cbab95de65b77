// Shared helpers of the expression formatter tests: a complete base scheme
// and overrides given as (key, value) strings.
#ifndef STYLISTCPP_EXPRFORMATTERTESTSUPPORT_H
#define STYLISTCPP_EXPRFORMATTERTESTSUPPORT_H

#include "Stylist_PropertySet.h"
#include "Stylist_SchemeKeys.h"

#include <string>
#include <utility>
#include <vector>

namespace StylistCppTest {

// A value for a scheme key: "b:true", "i:4" or a plain whitespace string;
// "-" removes the key.
using Override = std::pair<const char*, std::string>;
using Overrides = std::vector<Override>;

inline Stylist::PropertySet exprScheme(const Overrides& overrides = Overrides())
{
    namespace Key = Stylist::Key;
    Stylist::PropertySet s("expr");
    const Overrides base = {
        {Key::LEFT_MARGIN, ""},
        {Key::TAB_SIZE, "i:4"},
        {Key::WS_BETWEEN_EXPR_OP_OPERANDS, " "},
        {Key::WS_BETWEEN_UNARY_OP_OPERAND, ""},
        {Key::WS_BETWEEN_CAST_OPERAND, ""},
        {Key::WS_AFTER_FN_CALL_NAME, ""},
        {Key::WS_BEFORE_FN_CALL_COMMA, ""},
        {Key::WS_BETWEEN_FN_CALL_ARGS, " "},
        {Key::WS_AFTER_EXPR_OPEN_PAREN, ""},
        {Key::WS_BEFORE_EXPR_CLOSE_PAREN, ""},
        {Key::WS_BEFORE_LBRACKET, ""},
        {Key::WS_AFTER_LBRACKET, ""},
        {Key::WS_BEFORE_RBRACKET, ""},
        {Key::WS_BETWEEN_AMPERSAND_ANCHOR, ""},
        {Key::WS_BETWEEN_ASTERISK_ANCHOR, ""},
        {Key::WS_AFTER_TP_OPEN_BRACKET, ""},
        {Key::WS_BEFORE_TP_CLOSE_BRACKET, ""},
        {Key::WS_BETWEEN_TP_PARAMS, " "},
        {Key::WS_BEFORE_DD_OPEN_BRACE, " "},
        {Key::WS_AFTER_DD_OPEN_BRACE, " "},
        {Key::WS_BEFORE_DD_CLOSE_BRACE, " "},
        {Key::WS_BEFORE_DD_COMMA, ""},
        {Key::WS_BETWEEN_DD_ELEMENTS, " "},
        {Key::INDENT_DD_CONTENT, "    "},
    };
    auto apply = [&s](const Override& o) {
        const std::string& v = o.second;
        if (v == "-") {
            while (s.has(o.first))
                s.remove(o.first);
        } else if (v.rfind("b:", 0) == 0) {
            s.setBool(o.first, v == "b:true");
        } else if (v.rfind("i:", 0) == 0) {
            s.setInt(o.first, std::stoi(v.substr(2)));
        } else {
            s.setString(o.first, v);
        }
    };
    for (const Override& o : base)
        apply(o);
    for (const Override& o : overrides)
        apply(o);
    return s;
}

} // namespace StylistCppTest

#endif
