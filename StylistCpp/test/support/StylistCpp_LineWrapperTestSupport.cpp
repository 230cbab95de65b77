#include "../StylistCpp_LineWrapperTestSupport.h"

#include "StylistCpp_PassRunner.h"
#include "StylistCpp_LineWrapper.h"
#include "Stylist_SchemeKeys.h"

#include <deque>
#include <fstream>

namespace StylistCppTest {

namespace {

void addFamily(Overrides& o, const Stylist::WrapFamily& f)
{
    o.emplace_back(f.m_LineWrap, "b:true");
    if (f.m_UseGlobal != nullptr)
        o.emplace_back(f.m_UseGlobal, "b:false");
    o.emplace_back(f.m_Keys.m_Style, "i:1");
    o.emplace_back(f.m_Keys.m_Indent, "    ");
    o.emplace_back(f.m_Keys.m_Comma, "i:2");
    o.emplace_back(f.m_Keys.m_IndentStyle, "i:1");
    o.emplace_back(f.m_Keys.m_Strategy, "i:1");
}

} // namespace

Stylist::PropertySet lineWrapScheme(const Overrides& overrides)
{
    namespace Key = Stylist::Key;
    Overrides all = {
        {Key::RIGHT_MARGIN, "i:40"},
        {Key::OPERATOR_WRAP_STYLE, "i:1"},
        {Key::SHIFT_WRAP_STYLE, "i:1"},
        {Key::LINE_WRAP_DO_NOT_FORMAT, "b:false"},
        {Key::GLOBAL_INDENT_CONTENT, "    "},
        {Key::INDENT_NS_CONTENT, "    "},
        {Key::INDENT_CLASS_CONTENT, "    "},
        {Key::INDENT_FN_CONTENT, "    "},
        {Key::FN_USE_GLOBAL_SETTINGS, "b:false"},
        {Key::WS_AFTER_ENUM_OPEN_BRACE, " "},
        {Key::WS_BEFORE_ENUM_CLOSE_BRACE, " "},
        {Key::WS_BEFORE_ENUM_COMMA, ""},
        {Key::WS_BETWEEN_ENUM_ELEMENTS, " "},
        {Key::INDENT_ENUM_CONTENT, "    "},
        {Key::ALIGN_ENUM_INITIALIZERS, "b:false"},
        {Key::WS_BEFORE_CLASS_INIT_LIST, " "},
        {Key::WS_BEFORE_CLASS_INITS, " "},
        {Key::WS_BEFORE_CLASS_INITS_COMMA, ""},
        {Key::WS_BETWEEN_CLASS_INITS, " "},
        {Key::WS_AFTER_FN_DECL_RETURN_TYPE, " "},
        {Key::WS_AFTER_FN_OPEN_PAREN, ""},
        {Key::WS_BEFORE_FN_COMMA, ""},
        {Key::WS_BETWEEN_FN_PARAMS, " "},
        {Key::WS_BEFORE_FN_CLOSE_PAREN, ""},
        {Key::WS_BEFORE_BASE_CLAUSES_COMMA, ""},
        {Key::WS_BETWEEN_BASE_CLAUSES, " "},
        {Key::WS_BEFORE_TP_COMMA, ""},
        {Key::TP_DO_NOT_FORMAT, "b:false"},
        {Key::WS_AFTER_CS_KEY, " "},
        {Key::WS_BETWEEN_CS, "\n"},
        {Key::INDENT_CS_CONTENT, "    "},
        {Key::WS_AFTER_CS_OPEN_PAREN, ""},
        {Key::WS_BEFORE_CS_CLOSE_PAREN, ""},
        {Key::INDENT_CS_CASE_CONTENT, "    "},
        {Key::CS_DO_NOT_FORMAT, "b:false"},
        {Key::PPD_DO_NOT_FORMAT, "b:true"},
        {Key::DD_DO_NOT_FORMAT, "b:false"},
        {Key::ENUM_DO_NOT_FORMAT, "b:false"},
        {Key::CLASS_INIT_DO_NOT_FORMAT, "b:false"},
        {Key::FN_DO_NOT_FORMAT, "b:false"},
        {Key::CLASS_DO_NOT_FORMAT, "b:false"},
        {Key::GLOBAL_INDENT_WRAP_STYLE, "i:1"},
    };
    addFamily(all, Key::GLOBAL_WRAP);
    addFamily(all, Key::DD_WRAP);
    addFamily(all, Key::ENUM_WRAP);
    addFamily(all, Key::CLASS_INIT_WRAP);
    addFamily(all, Key::EXPR_WRAP);
    addFamily(all, Key::FN_DECL_WRAP);
    addFamily(all, Key::FN_DEFN_WRAP);
    addFamily(all, Key::BASE_CLAUSE_WRAP);
    all.insert(all.end(), overrides.begin(), overrides.end());
    return exprScheme(all);
}

std::string wrapText(const std::string& text, const Stylist::PropertySet& scheme)
{
    return StylistCpp::test::emitText<StylistCpp::LineWrapper>(text, scheme);
}

namespace {

std::string unquote(const std::string& v)
{
    std::string out;
    for (std::size_t i = 1; i + 1 < v.size(); ++i) {
        if (v[i] == '\\' && i + 2 < v.size()) {
            const char c = v[++i];
            out += c == 'n' ? '\n' : c == 't' ? '\t' : c;
        } else {
            out += v[i];
        }
    }
    return out;
}

} // namespace

bool readGoldenCase(const std::string& path, Overrides& overrides, std::string& input, std::string& expected)
{
    static std::deque<std::string> keep; // key names outlive the overrides
    std::ifstream in(path);
    if (!in)
        return false;
    std::string line;
    int part = 0;
    while (std::getline(in, line)) {
        if (line == "--- input") {
            part = 1;
            continue;
        }
        if (line == "--- expected") {
            part = 2;
            continue;
        }
        if (part == 1) {
            input += line + "\n";
        } else if (part == 2) {
            expected += line + "\n";
        } else if (!line.empty() && line[0] != '#') {
            const std::size_t eq = line.find(" = ");
            if (eq == std::string::npos)
                return false;
            keep.push_back(line.substr(0, eq));
            const std::string v = line.substr(eq + 3);
            std::string value;
            if (v == "true" || v == "false")
                value = "b:" + v;
            else if (!v.empty() && v[0] == '"')
                value = unquote(v);
            else
                value = "i:" + v;
            overrides.emplace_back(nullptr, value);
            overrides.back().first = keep.back().c_str();
        }
    }
    return part == 2;
}

} // namespace StylistCppTest
