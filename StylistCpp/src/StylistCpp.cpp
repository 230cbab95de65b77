#include "StylistCpp.h"

#include "Cpp_InteriorNode.h"
#include "Cpp_LexerIterator.h"
#include "Cpp_Parser.h"
#include "StylistCpp_Formatter.h"
#include "StylistCpp_FormatterConfig.h"
#include "StylistCpp_LineWrapper.h"
#include "StylistCpp_Rewriter.h"
#include "StylistCpp_Verifier.h"

#include "Corvale_StringOutBuf.h"

#include <istream>
#include <ostream>
#include <utility>
#include <vector>

namespace StylistCpp {

namespace {

// The whole rest of a stream's content, read straight from its buffer.
std::string readAll(std::istream& in)
{
    std::string text;
    std::streambuf* pSource = in.rdbuf();
    if (pSource == nullptr)
        return text;
    const std::streamsize available = pSource->in_avail();
    if (available > 0)
        text.reserve(static_cast<std::size_t>(available));
    char block[1 << 14];
    try {
        std::streamsize n;
        while ((n = pSource->sgetn(block, sizeof block)) > 0)
            text.append(block, static_cast<std::size_t>(n));
    } catch (...) {
        // A source that fails part way gives what it gave before, as a
        // stream insertion from it would.
    }
    return text;
}

} // namespace

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

    // The texts of the passes are moved, never copied: the input is read
    // once into the current text, each pass writes the next text into the
    // work buffer, and that text is taken over as the current one; the
    // memory of a text no longer needed becomes the work buffer's storage.
    std::string text = readAll(in);
    Corvale::StringOutBuf workBuf;
    std::ostream work(&workBuf);
    if (!announce(PROGRESS_ANALYZING))
        return m_ErrorCount;

    // For the self-checks the texts are kept, not their token lists (a
    // text is a fraction of the size of its tokens). The text the format
    // pass starts from is kept to be read beside the result at the end.
    // With a rewrite, its input is kept until the format pass has parsed
    // the rewrite's output, and the tokens of that output are recorded as
    // the format pass's parse reads them (12 bytes a token, and where each
    // starts until the tree comparison is done): the trees are compared
    // while the rewrite's input is read beside the recording, and the final
    // check reads the recording beside the result, so no text is lexed
    // twice. Without a rewrite the final check lexes both texts: the
    // recording would save a tenth of such a run's instructions but, kept
    // through the wrap pass, cost more at the peak than its own size.
    std::string rewriteText;
    std::string layoutText;
    std::unique_ptr<Cpp::RootNode> pRewriteTree;
    const bool rewrites = readRewriterSettings(m_Properties).rewrites();
    // Where the tokens start is needed only for the rewrite's tree
    // comparison; the starts are freed after it.
    Verifier::RecordedTokens layoutTokens(true);
    if (rewrites) {
        pRewriteTree = parsePass(*pParser, text);
        if (!pRewriteTree)
            return m_ErrorCount;
        emitPass(*pRewriteTree, Pass::REWRITE, text, work);
    }
    // Hands the work stream's content on as the next pass's text and keeps
    // the current one in kept.
    auto keepAndTakeWork = [&work, &workBuf, &text](std::string& kept) {
        work.flush();
        kept = std::move(text);
        text = workBuf.take();
        work.clear();
    };

    if (!announce(PROGRESS_FORMATTING))
        return m_ErrorCount;
    // Without a rewrite the format pass reads the input itself.
    if (rewrites)
        keepAndTakeWork(rewriteText);
    std::unique_ptr<Cpp::RootNode> pFormatTree;
    if (!rewrites) {
        pFormatTree = parsePass(*pParser, text);
    } else {
        Verifier::TokenRecorder recorder(text, layoutTokens);
        struct Observing {
            Cpp::Parser& parser;
            ~Observing() { parser.observeTokens(nullptr); }
        } observing{*pParser};
        pParser->observeTokens(&recorder);
        pFormatTree = parsePass(*pParser, text);
    }
    if (!pFormatTree)
        return m_ErrorCount;
    if (pRewriteTree) {
        layoutTokens.finish();
        Verifier::checkBraceRewrite(*pRewriteTree, rewriteText, *pFormatTree, layoutTokens, text);
        layoutTokens.dropStarts();
        pRewriteTree.reset();
        workBuf.reuse(std::move(rewriteText));
    }
    emitPass(*pFormatTree, Pass::FORMAT, text, work);
    pFormatTree.reset();

    if (!announce(PROGRESS_WRAPPING))
        return m_ErrorCount;
    // The format and wrap passes together may change whitespace only: the
    // text the format pass read is kept for the final check.
    keepAndTakeWork(layoutText);
    if (!runPass(*pParser, Pass::WRAP, text, work))
        return m_ErrorCount;

    work.flush();
    const std::string result = workBuf.take();
    text.clear();
    text.shrink_to_fit();
    Verifier::checkWhitespaceOnly("format and wrap passes", layoutTokens, layoutText, result);
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
