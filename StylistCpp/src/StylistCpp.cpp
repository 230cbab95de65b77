#include "StylistCpp.h"

#include "Cpp_InteriorNode.h"
#include "Cpp_LexerIterator.h"
#include "Cpp_Parser.h"
#include "StylistCpp_Formatter.h"
#include "StylistCpp_FormatterConfig.h"
#include "StylistCpp_LineWrapper.h"
#include "StylistCpp_Rewriter.h"
#include "StylistCpp_Verifier.h"

#include <istream>
#include <ostream>
#include <sstream>
#include <vector>

namespace StylistCpp {

const char* const FormatPipeline::PROGRESS_ANALYZING = "Analyzing source...";
const char* const FormatPipeline::PROGRESS_FORMATTING = "Formatting source...";
const char* const FormatPipeline::PROGRESS_WRAPPING = "Wrapping lines...";

const Trn::Message& FormatPipeline::cancellationMessage()
{
    static const Trn::Message message(Trn::ERROR, Trn::Location(0, 0), 0,
                                      "User cancelled current formatting operation.");
    return message;
}

FormatPipeline::FormatPipeline(const Stylist::PropertySet& properties) : m_Properties(properties) {}

FormatPipeline::~FormatPipeline() = default;

std::unique_ptr<Cpp::Parser> FormatPipeline::createParser() const { return std::make_unique<Cpp::Parser>(); }

std::unique_ptr<Cpp::Emitter> FormatPipeline::createEmitter(Pass pass, const std::string& text,
                                                            std::ostream& work) const
{
    switch (pass) {
    case Pass::REWRITE:
        return std::make_unique<Rewriter>(m_Properties, text, work);
    case Pass::FORMAT:
        return std::make_unique<Formatter>(text, work, m_Properties);
    case Pass::WRAP:
        break;
    }
    return std::make_unique<LineWrapper>(text, work, m_Properties);
}

std::int32_t FormatPipeline::format(std::istream& in, std::ostream& out)
{
    m_ErrorCount = 0;
    std::unique_ptr<Cpp::Parser> pParser = createParser();
    boost::signals2::scoped_connection diagnostics =
        pParser->onMessage().connect([this](const Trn::Message& message) { diagnostic(message); });

    std::stringstream inputCopy(std::ios::in | std::ios::out | std::ios::binary);
    inputCopy << in.rdbuf();
    inputCopy.flush();
    std::string text = inputCopy.str();
    inputCopy.str(std::string());

    std::stringstream work(std::ios::in | std::ios::out | std::ios::binary);
    // Hands the work stream's content on as the next pass's text.
    auto nextText = [&work, &text]() {
        text = work.str();
        work.str(std::string());
        work.clear();
    };

    if (!announce(PROGRESS_ANALYZING))
        return m_ErrorCount;

    // For the final self-check: with a rewrite, the tokens of the text the
    // format pass starts from (lexed once for both checks; the rewrite's
    // input tree is kept until the format pass has parsed the rewrite's
    // output, so the two trees are compared without a parse of their own);
    // without one, that text itself, read side by side with the result at
    // the end (a copy of the text is a fraction of the size of its tokens,
    // which would otherwise be held through both passes).
    std::vector<Verifier::ComparableToken> layoutInput;
    std::string layoutText;
    std::vector<Verifier::ComparableToken> rewriteInput;
    std::unique_ptr<Cpp::RootNode> pRewriteTree;
    const bool rewrites = readRewriterSettings(m_Properties).rewrites();
    if (rewrites) {
        pRewriteTree = parsePass(*pParser, text);
        if (!pRewriteTree)
            return m_ErrorCount;
        emitPass(*pRewriteTree, Pass::REWRITE, text, work);
        rewriteInput = Verifier::comparableTokens(text);
    } else {
        work << text;
        layoutText = text;
    }

    if (!announce(PROGRESS_FORMATTING))
        return m_ErrorCount;
    nextText();
    // The format and wrap passes together may change whitespace only.
    if (rewrites)
        layoutInput = Verifier::comparableTokens(text);
    std::unique_ptr<Cpp::RootNode> pFormatTree = parsePass(*pParser, text);
    if (!pFormatTree)
        return m_ErrorCount;
    if (pRewriteTree) {
        Verifier::checkBraceRewrite(*pRewriteTree, rewriteInput, *pFormatTree, layoutInput);
        pRewriteTree.reset();
        rewriteInput = std::vector<Verifier::ComparableToken>();
    }
    emitPass(*pFormatTree, Pass::FORMAT, text, work);
    pFormatTree.reset();

    if (!announce(PROGRESS_WRAPPING))
        return m_ErrorCount;
    nextText();
    if (!runPass(*pParser, Pass::WRAP, text, work))
        return m_ErrorCount;

    const std::string result = work.str();
    text.clear();
    text.shrink_to_fit();
    work.str(std::string());
    if (!rewrites)
        Verifier::checkWhitespaceOnly("format and wrap passes", layoutText, result);
    else
        Verifier::checkWhitespaceOnly("format and wrap passes", layoutInput, Verifier::comparableTokens(result));
    out << result;
    out.flush();
    return 0;
}

bool FormatPipeline::runPass(Cpp::Parser& parser, Pass pass, const std::string& text, std::ostream& work)
{
    std::unique_ptr<Cpp::RootNode> pRoot = parsePass(parser, text);
    if (!pRoot)
        return false;
    emitPass(*pRoot, pass, text, work);
    return true;
}

std::unique_ptr<Cpp::RootNode> FormatPipeline::parsePass(Cpp::Parser& parser, const std::string& text)
{
    std::unique_ptr<Cpp::RootNode> pRoot =
        parser.parse(Cpp::LexerIterator(text.begin(), text.end()), Cpp::LexerIterator());
    if (m_ErrorCount != 0)
        pRoot.reset();
    return pRoot;
}

void FormatPipeline::emitPass(Cpp::RootNode& root, Pass pass, const std::string& text, std::ostream& work)
{
    // The emitter exists only for the walk; an exception from its
    // constructor or from the walk leaves with the tree released by the
    // caller.
    std::unique_ptr<Cpp::Emitter> pEmitter = createEmitter(pass, text, work);
    root.accept(*pEmitter);
}

bool FormatPipeline::announce(const char* text)
{
    if (m_OnProgress(std::string(text)))
        return true;
    ++m_ErrorCount;
    m_OnMessage(cancellationMessage());
    return false;
}

void FormatPipeline::diagnostic(const Trn::Message& message)
{
    if (message.code() == IGNORED_PARSER_CODE)
        return;
    ++m_ErrorCount;
    m_OnMessage(message);
}

} // namespace StylistCpp
