// StylistCpp::FormatPipeline: the one entry into the C++ formatting engine.
//
// A pipeline formats one text under one scheme in passes. Each pass parses
// the current text into a fresh syntax tree and walks it with one emitter,
// which re-reads the same text and writes the next one:
//   1. the rewrite pass (StylistCpp::Rewriter), only when the scheme asks
//      for a single-statement brace style; otherwise the text is copied;
//   2. the format pass (StylistCpp::Formatter);
//   3. the wrap pass (StylistCpp::LineWrapper).
// Nothing reaches the output stream unless every pass succeeded and the
// result passed the self-check (StylistCpp_Verifier.h): the rewrite pass
// changed only braces of single statements, the format and wrap passes
// only whitespace. A failed self-check raises Corvale::ContractViolation.
//
// Usage:
//     StylistCpp::FormatPipeline pipeline(scheme);
//     pipeline.onMessage().connect(...);   // parse errors, cancellation
//     pipeline.onProgress().connect(...);  // answer false to cancel
//     int errors = pipeline.format(in, out);
//
// format answers 0 after writing the formatted text to out; otherwise the
// number of errors counted (parse errors and a cancellation), after having
// reported each one on onMessage, and out receives nothing. A scheme that
// lacks a key an emitter requires, or holds an out-of-range value, makes the
// emitter's constructor throw; the exception leaves format unchanged.
#ifndef STYLISTCPP_H
#define STYLISTCPP_H

#include "Stylist_PropertySet.h"
#include "Trn_Message.h"

#include <boost/signals2/signal.hpp>

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

namespace Cpp {
class Emitter;
class Parser;
class RootNode;
}

namespace StylistCpp {

class FormatPipeline {
public:
    // Combines the progress receivers' answers: go on only when every
    // receiver says go on, and also when none is connected.
    struct AllTrue {
        typedef bool result_type;
        template <typename InputIterator>
        bool operator()(InputIterator first, InputIterator last) const
        {
            bool result = true;
            for (; first != last; ++first)
                result = *first && result; // every receiver is asked
            return result;
        }
    };

    typedef boost::signals2::signal<bool(const std::string&), AllTrue> ProgressSignal;
    typedef boost::signals2::signal<void(const Trn::Message&)> MessageSignal;

    // The progress texts, announced before the passes.
    static const char* const PROGRESS_ANALYZING; // "Analyzing source..."
    static const char* const PROGRESS_FORMATTING; // "Formatting source..."
    static const char* const PROGRESS_WRAPPING;   // "Wrapping lines..."

    // The message reported when a progress receiver stops the run.
    static const Trn::Message& cancellationMessage();

    // The parser's "function declaration appears to be unterminated"
    // notice: the text is formatted all the same, so it is neither counted
    // nor reported.
    static constexpr std::uint32_t IGNORED_PARSER_CODE = 19;

    explicit FormatPipeline(const Stylist::PropertySet& properties);
    virtual ~FormatPipeline();
    FormatPipeline(const FormatPipeline&) = delete;
    FormatPipeline& operator=(const FormatPipeline&) = delete;

    ProgressSignal& onProgress() { return m_OnProgress; }
    MessageSignal& onMessage() { return m_OnMessage; }

    // The scheme this pipeline formats with (its name is the scheme name).
    const Stylist::PropertySet& properties() const { return m_Properties; }

    // Formats the whole of in; see the header comment for the result.
    std::int32_t format(std::istream& in, std::ostream& out);

    // The same for a text in memory, which the first pass reads in place
    // (no copy of it is made) and which stays as it is.
    std::int32_t format(const std::string& text, std::ostream& out);

protected:
    // The parser of one format call, used for each of its passes. Its parse
    // must show the tokens it reads to the observer it is given (as
    // Cpp::Parser::parse does): the self-check reads them.
    virtual std::unique_ptr<Cpp::Parser> createParser() const;

    enum class Pass { REWRITE, FORMAT, WRAP };

    // The emitter of one pass: it re-reads text and writes onto work.
    virtual std::unique_ptr<Cpp::Emitter> createEmitter(Pass pass, const std::string& text, std::ostream& work) const;

private:
    // The two halves of a pass: the parse (null when it counted errors) and
    // the emitter's walk of the tree.
    std::unique_ptr<Cpp::RootNode> parsePass(Cpp::Parser& parser, const std::string& text);
    void emitPass(Cpp::RootNode& root, Pass pass, const std::string& text, std::ostream& work);

    // Announces a progress text; a stop answer counts and reports the
    // cancellation and answers false.
    bool announce(const char* text);

    // Receives the parser's diagnostics.
    void diagnostic(const Trn::Message& message);

    ProgressSignal m_OnProgress;
    MessageSignal m_OnMessage;
    const Stylist::PropertySet m_Properties;
    std::int32_t m_ErrorCount = 0;
};

} // namespace StylistCpp

#endif
