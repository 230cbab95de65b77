// Rewrites arbitrary bytes that parse without a diagnostic, with every
// brace style, and checks what the pipeline relies on: no exception (a
// contract violation included); with all styles 0 the text comes back
// unchanged; otherwise the output's tokens are the input's but for braces,
// braces are added or removed in pairs, and the output parses without a
// diagnostic too.
#include "Corvale_Exception.h"
#include "Cpp.h"
#include "Cpp_LexerIterator.h"
#include "Cpp_Parser.h"
#include "StylistCpp_Rewriter.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// The tokens other than braces, and the count of "{" minus the count of "}".
std::pair<std::vector<std::pair<std::int32_t, std::string>>, long> tokens(const std::string& text)
{
    std::pair<std::vector<std::pair<std::int32_t, std::string>>, long> result;
    Cpp::LexerIterator it(text.begin(), text.end());
    for (const Cpp::LexerIterator end; it != end && !it.stuck(); ++it) {
        if (it->type() == Cpp::LBRACE)
            ++result.second;
        else if (it->type() == Cpp::RBRACE)
            --result.second;
        else
            result.first.emplace_back(it->type(), it->text());
    }
    return result;
}

bool parsesCleanly(const std::string& text, std::unique_ptr<Cpp::RootNode>* pRoot = nullptr)
{
    Cpp::Parser parser;
    int messages = 0;
    parser.onMessage().connect([&messages](const Trn::Message&) { ++messages; });
    std::unique_ptr<Cpp::RootNode> root = parser.parse(Cpp::LexerIterator(text.begin(), text.end()), Cpp::LexerIterator());
    if (pRoot)
        *pRoot = std::move(root);
    return messages == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        std::unique_ptr<Cpp::RootNode> pRoot;
        if (!parsesCleanly(text, &pRoot))
            return 0;
        const auto before = tokens(text);
        for (int styles : {0, 111, 222, 212, 121, 120, 2}) {
            Stylist::PropertySet scheme("fuzz");
            scheme.setInt("IF_ELSE_CS_SINGLE_STMT_BRACE_STYLE", styles / 100);
            scheme.setInt("FOR_CS_SINGLE_STMT_BRACE_STYLE", styles / 10 % 10);
            scheme.setInt("WHILE_CS_SINGLE_STMT_BRACE_STYLE", styles % 10);
            std::ostringstream out;
            {
                StylistCpp::Rewriter rewriter(scheme, text, out);
                pRoot->accept(rewriter);
            }
            const std::string output = out.str();
            if (styles == 0) {
                if (output != text)
                    std::abort();
                continue;
            }
            if (tokens(output) != before || !parsesCleanly(output))
                std::abort();
        }
    }
    catch (const Corvale::ContractViolation&) {
        std::abort();
    }
    catch (...) {
        std::abort();
    }
    return 0;
}
