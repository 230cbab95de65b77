// Parses arbitrary bytes and checks what the emitters rely on: the parse
// ends without any exception (a contract violation included), the tree is
// no deeper than the nesting limit allows, every node's start lies before
// its end, children lie inside their parent and in text order, and a deep
// copy of the tree reports the same locations.
#include "Corvale_Exception.h"
#include "Cpp_LexerIterator.h"
#include "Cpp_Parser.h"
#include "Cpp_SyntaxTree.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// Tree levels per nesting level: a braceless control body nests a control
// statement, its part and the part's block.
const int MAX_DEPTH = 4 * Cpp::Parser::NESTING_LIMIT + 16;

void check(const Cpp::SyntaxNode& node, int depth)
{
    if (depth > MAX_DEPTH)
        std::abort();
    const Trn::Location start = node.start(), end = node.end();
    if (end < start)
        std::abort();
    Trn::Location previousEnd;
    auto child = [&](const Cpp::SyntaxNode* pChild) {
        if (pChild->start() < start || end < pChild->end())
            std::abort();
        if (!(previousEnd < pChild->start()) && previousEnd != Trn::Location())
            std::abort();
        previousEnd = pChild->end();
        check(*pChild, depth + 1);
    };
    if (auto pInterior = dynamic_cast<const Cpp::InteriorNode*>(&node)) {
        for (const Cpp::SyntaxNode* pChild : pInterior->children())
            child(pChild);
    }
    else if (auto pComposite = dynamic_cast<const Cpp::CompositeNode*>(&node)) {
        for (std::size_t i = 0; i < pComposite->fieldCount(); ++i)
            if (const Cpp::SyntaxNode* pField = pComposite->field(i))
                child(pField);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        Cpp::Parser parser;
        std::size_t messages = 0;
        parser.onMessage().connect([&](const Trn::Message& m) {
            if (m.code() < 3 || m.code() > 23 || m.severity() != Trn::ERROR)
                std::abort();
            ++messages;
        });
        std::unique_ptr<Cpp::RootNode> pRoot =
            parser.parse(Cpp::LexerIterator(text.begin(), text.end()), Cpp::LexerIterator());
        if (messages > static_cast<std::size_t>(Cpp::Parser::ERROR_LIMIT) + 1)
            std::abort();
        check(*pRoot, 0);
        std::unique_ptr<Cpp::RootNode> pCopy = Cpp::cloneAs(*pRoot);
        if (pCopy->start() != pRoot->start() || pCopy->end() != pRoot->end() || pCopy->size() != pRoot->size())
            std::abort();
    }
    catch (const Corvale::ContractViolation&) {
        std::abort();
    }
    catch (...) {
        std::abort();
    }
    return 0;
}
