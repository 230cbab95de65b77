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
    const std::string text = readAll(in);
    return format(text, out);
}

std::int32_t FormatPipeline::format(const std::string& input, std::ostream& out)
{
    m_ErrorCount = 0;
    std::unique_ptr<Cpp::Parser> pParser = createParser();
    boost::signals2::scoped_connection diagnostics =
        pParser->onMessage().connect([this](const Trn::Message& message) { diagnostic(message); });

    // The first pass reads the caller's text in place; each pass writes the
    // next text into the work buffer, and that text is taken over, never
    // copied, as the next pass's input.
    Corvale::StringOutBuf workBuf;
    std::ostream work(&workBuf);
    auto takeWork = [&work, &workBuf]() {
        work.flush();
        std::string text = workBuf.take();
        work.clear();
        return text;
    };
    // A pass writes about as much as it reads. Room for that and an eighth
    // more is made before it writes: left to grow by itself, the string
    // could end up with twice the room, and it lives on as the next text.
    auto makeRoomAfter = [&workBuf](const std::string& text) { workBuf.reserve(text.size() + text.size() / 8); };
    if (!announce(PROGRESS_ANALYZING))
        return m_ErrorCount;

    // For the self-checks the texts are kept, not their token lists (a
    // text is a fraction of the size of its tokens). The text the format
    // pass starts from is kept to be read beside the result at the end:
    // the input itself, or the rewrite's output. With a rewrite, the tokens
    // of its output are recorded as the format pass's parse reads them (12
    // bytes a token, and where each starts until the tree comparison is
    // done): the trees are compared while the input is read beside the
    // recording, and the final check reads the recording beside the result,
    // so no text is lexed twice. Without a rewrite the final check lexes
    // both texts: the recording would save a tenth of such a run's
    // instructions but, kept through the wrap pass, cost more at the peak
    // than its own size.
    std::string rewritten;
    std::unique_ptr<Cpp::RootNode> pRewriteTree;
    const bool rewrites = readRewriterSettings(m_Properties).rewrites();
    // Where the tokens start is needed only for the rewrite's tree
    // comparison; the starts are freed after it.
    Verifier::RecordedTokens layoutTokens(true);
    if (rewrites) {
        pRewriteTree = parsePass(*pParser, input);
        if (!pRewriteTree)
            return m_ErrorCount;
        makeRoomAfter(input);
        emitPass(*pRewriteTree, Pass::REWRITE, input, work);
    }

    if (!announce(PROGRESS_FORMATTING))
        return m_ErrorCount;
    if (rewrites)
        rewritten = takeWork();
    const std::string& layoutText = rewrites ? rewritten : input;
    std::unique_ptr<Cpp::RootNode> pFormatTree;
    if (!rewrites) {
        pFormatTree = parsePass(*pParser, layoutText);
    } else {
        Verifier::TokenRecorder recorder(layoutText, layoutTokens);
        struct Observing {
            Cpp::Parser& parser;
            ~Observing() { parser.observeTokens(nullptr); }
        } observing{*pParser};
        pParser->observeTokens(&recorder);
        pFormatTree = parsePass(*pParser, layoutText);
    }
    if (!pFormatTree)
        return m_ErrorCount;
    if (pRewriteTree) {
        layoutTokens.finish();
        Verifier::checkBraceRewrite(*pRewriteTree, input, *pFormatTree, layoutTokens, layoutText);
        layoutTokens.dropStarts();
        pRewriteTree.reset();
    }
    makeRoomAfter(layoutText);
    emitPass(*pFormatTree, Pass::FORMAT, layoutText, work);
    pFormatTree.reset();

    if (!announce(PROGRESS_WRAPPING))
        return m_ErrorCount;
    // The format and wrap passes together may change whitespace only: the
    // text the format pass read is kept for the final check.
    std::string formatted = takeWork();
    std::unique_ptr<Cpp::RootNode> pWrapTree = parsePass(*pParser, formatted);
    if (!pWrapTree)
        return m_ErrorCount;
    makeRoomAfter(formatted);
    emitPass(*pWrapTree, Pass::WRAP, formatted, work);
    pWrapTree.reset();

    const std::string result = takeWork();
    formatted.clear();
    formatted.shrink_to_fit();
    Verifier::checkWhitespaceOnly("format and wrap passes", layoutTokens, layoutText, result);
    out << result;
    out.flush();
    return 0;
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
