// Parses a text and renders the tree and the diagnostics for comparison.
#ifndef CPP_PARSERTESTUTIL_H
#define CPP_PARSERTESTUTIL_H

#include "Cpp_LexerIterator.h"
#include "Cpp_Parser.h"
#include "Cpp_SyntaxTree.h"
#include "Cpp_TreeDump.h"

#include <memory>
#include <string>
#include <vector>

namespace Cpp {

struct ParseResult {
    std::unique_ptr<RootNode> pRoot;
    std::vector<Trn::Message> messages;
    std::string tree;
    // "code line:col" for each message, joined by ", ".
    std::string diagnostics() const
    {
        std::string out;
        for (const Trn::Message& m : messages) {
            if (!out.empty())
                out += ", ";
            out += std::to_string(m.code()) + " " + std::to_string(m.location().line()) + ":" +
                   std::to_string(m.location().col());
        }
        return out;
    }
};

inline ParseResult parseText(const std::string& text)
{
    ParseResult result;
    Parser parser;
    parser.onMessage().connect([&](const Trn::Message& m) { result.messages.push_back(m); });
    result.pRoot = parser.parse(LexerIterator(text.begin(), text.end()), LexerIterator());
    result.tree = dumpTree(*result.pRoot, text);
    return result;
}

// The dump without the root's own line.
inline std::string treeOf(const std::string& text)
{
    ParseResult r = parseText(text);
    std::string tree = r.tree.substr(r.tree.find('\n') + 1);
    if (!r.messages.empty())
        tree += "! " + r.diagnostics() + "\n";
    return tree;
}

} // namespace Cpp

#endif
