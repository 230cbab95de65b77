// The format pipeline: passes, progress and cancellation, diagnostics, and
// that nothing is written unless every pass succeeded.
#include "StylistCpp.h"

#include "Corvale_Exception.h"
#include "Cpp_LexerIterator.h"
#include "Cpp_Parser.h"
#include "Stylist_Exception.h"
#include "Stylist_SchemeKeys.h"
#include "support/StylistCpp_PassRunner.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using StylistCpp::FormatPipeline;

const std::string BASES = std::string(QUILLON_FORMATTER_GOLDEN_DIR) + "/bases";

// The K&R layout with the wrap pass's keys added, wrapping off.
Stylist::PropertySet krScheme()
{
    Stylist::PropertySet scheme = StylistCpp::test::readScheme(BASES + "/kr.scheme", BASES);
    StylistCpp::test::overlay(scheme, StylistCpp::test::readScheme(
        std::string(QUILLON_SOURCE_DIR) + "/StylistCpp/test/golden/LineWrapper/wrap_off.scheme", BASES));
    return scheme;
}

Stylist::PropertySet withBraceStyles(Stylist::PropertySet scheme, int ifElse, int forStyle, int whileStyle)
{
    scheme.setInt(Stylist::Key::IF_ELSE_CS_SINGLE_STMT_BRACE_STYLE, ifElse);
    scheme.setInt(Stylist::Key::FOR_CS_SINGLE_STMT_BRACE_STYLE, forStyle);
    scheme.setInt(Stylist::Key::WHILE_CS_SINGLE_STMT_BRACE_STYLE, whileStyle);
    return scheme;
}

// A parser that counts its parses and, when asked, adds one diagnostic of
// the given code to each parse.
class ProbeParser : public Cpp::Parser {
public:
    ProbeParser(int& parses, std::uint32_t extraCode) : m_Parses(parses), m_ExtraCode(extraCode) {}
    std::unique_ptr<Cpp::RootNode> parse(Cpp::LexerIterator first, Cpp::LexerIterator last) override
    {
        ++m_Parses;
        std::unique_ptr<Cpp::RootNode> root = Cpp::Parser::parse(first, last);
        if (m_ExtraCode != 0)
            report(Trn::ERROR, Trn::Location(1, 0), m_ExtraCode);
        return root;
    }

private:
    int& m_Parses;
    std::uint32_t m_ExtraCode;
};

class ProbePipeline : public FormatPipeline {
public:
    explicit ProbePipeline(const Stylist::PropertySet& scheme, std::uint32_t extraCode = 0)
        : FormatPipeline(scheme), m_ExtraCode(extraCode)
    {
    }
    int parses = 0;

protected:
    std::unique_ptr<Cpp::Parser> createParser() const override
    {
        return std::make_unique<ProbeParser>(const_cast<int&>(parses), m_ExtraCode);
    }

private:
    std::uint32_t m_ExtraCode;
};

// Runs a pipeline over text, recording what it reports.
struct PipelineRun {
    std::int32_t result = -1;
    std::string output;
    std::vector<std::string> progress;
    std::vector<Trn::Message> messages;
};

PipelineRun runPipeline(FormatPipeline& pipeline, const std::string& text, const std::string& stopAt = std::string())
{
    PipelineRun run;
    boost::signals2::scoped_connection p = pipeline.onProgress().connect([&](const std::string& t) {
        run.progress.push_back(t);
        return t != stopAt;
    });
    boost::signals2::scoped_connection m =
        pipeline.onMessage().connect([&](const Trn::Message& message) { run.messages.push_back(message); });
    std::istringstream in(text);
    std::ostringstream out;
    run.result = pipeline.format(in, out);
    run.output = out.str();
    return run;
}

const std::string SAMPLE = "int  main( ) {if(x)  return 1;\nreturn 0;}\n";

TEST(FormatPipeline, FormatsLikeTheFormatPassAndParsesTwiceWithoutBraceStyles)
{
    const Stylist::PropertySet scheme = krScheme();
    ProbePipeline pipeline(scheme);
    const PipelineRun run = runPipeline(pipeline, SAMPLE);
    EXPECT_EQ(0, run.result);
    EXPECT_EQ("int main() {\n    if (x)\n        return 1;\n    return 0;\n}\n", run.output);
    EXPECT_EQ(StylistCpp::test::formatText(SAMPLE, scheme), run.output) << "the text reaches the formatter as read";
    EXPECT_EQ((std::vector<std::string>{"Analyzing source...", "Formatting source...", "Wrapping lines..."}),
              run.progress);
    EXPECT_TRUE(run.messages.empty());
    EXPECT_EQ(2, pipeline.parses) << "format and wrap passes only when every brace style is 0";
}

TEST(FormatPipeline, ABraceStyleAddsTheRewritePass)
{
    for (const auto& styles : {std::vector<int>{1, 0, 0}, std::vector<int>{0, 1, 0}, std::vector<int>{0, 0, 1}}) {
        ProbePipeline pipeline(withBraceStyles(krScheme(), styles[0], styles[1], styles[2]));
        const PipelineRun run = runPipeline(pipeline, SAMPLE);
        EXPECT_EQ(0, run.result);
        EXPECT_EQ(3, pipeline.parses);
    }
    ProbePipeline pipeline(withBraceStyles(krScheme(), 1, 0, 0));
    const PipelineRun run = runPipeline(pipeline, SAMPLE);
    EXPECT_EQ("int main() {\n    if (x) {\n        return 1;\n    }\n    return 0;\n}\n", run.output);
}

TEST(FormatPipeline, CancellationAtEachAnnouncementWritesNothing)
{
    const struct {
        const char* stopAt;
        int braceStyle;
        int parses;
    } cases[] = {
        {"Analyzing source...", 0, 0},
        {"Analyzing source...", 1, 0},
        {"Formatting source...", 0, 0},
        // The rewrite pass has run, but its result is discarded.
        {"Formatting source...", 1, 1},
    };
    for (const auto& c : cases) {
        ProbePipeline pipeline(withBraceStyles(krScheme(), c.braceStyle, 0, 0));
        const PipelineRun run = runPipeline(pipeline, SAMPLE, c.stopAt);
        EXPECT_EQ(1, run.result) << c.stopAt;
        EXPECT_EQ("", run.output) << c.stopAt;
        ASSERT_EQ(1u, run.messages.size()) << c.stopAt;
        EXPECT_EQ(FormatPipeline::cancellationMessage(), run.messages[0]);
        EXPECT_EQ(c.parses, pipeline.parses) << c.stopAt << " " << c.braceStyle;
        EXPECT_EQ(c.stopAt, run.progress.back()) << "nothing is announced after a stop";
    }
    const Trn::Message& m = FormatPipeline::cancellationMessage();
    EXPECT_EQ(Trn::ERROR, m.severity());
    EXPECT_EQ(Trn::Location(0, 0), m.location());
    EXPECT_EQ(0u, m.code());
    EXPECT_EQ("User cancelled current formatting operation.", m.text());
}

TEST(FormatPipeline, ProgressAnswersAreCombinedWithAnd)
{
    FormatPipeline pipeline(krScheme());
    int asked = 0;
    pipeline.onProgress().connect([&](const std::string&) {
        ++asked;
        return false;
    });
    pipeline.onProgress().connect([&](const std::string&) {
        ++asked;
        return true;
    });
    std::istringstream in(SAMPLE);
    std::ostringstream out;
    EXPECT_EQ(1, pipeline.format(in, out));
    EXPECT_EQ(2, asked) << "every receiver is asked";
    EXPECT_EQ("", out.str());
}

TEST(FormatPipeline, TheUnterminatedFunctionNoticeIsNeitherCountedNorReported)
{
    ProbePipeline pipeline(withBraceStyles(krScheme(), 1, 0, 0), Cpp::Parser::UNTERMINATED_FUNCTION);
    const PipelineRun run = runPipeline(pipeline, SAMPLE);
    EXPECT_EQ(0, run.result);
    EXPECT_TRUE(run.messages.empty());
    EXPECT_EQ("int main() {\n    if (x) {\n        return 1;\n    }\n    return 0;\n}\n", run.output);
}

TEST(FormatPipeline, AParseErrorIsCountedReportedAndStopsTheRun)
{
    // Another code from the parser stops every pass it occurs in.
    for (int braceStyle : {0, 1}) {
        ProbePipeline pipeline(withBraceStyles(krScheme(), braceStyle, 0, 0), Cpp::Parser::EXPECTED_RBRACE);
        const PipelineRun run = runPipeline(pipeline, SAMPLE);
        EXPECT_EQ(1, run.result);
        ASSERT_EQ(1u, run.messages.size());
        EXPECT_EQ(Cpp::Parser::EXPECTED_RBRACE, run.messages[0].code());
        EXPECT_EQ("", run.output);
        EXPECT_EQ(1, pipeline.parses) << "the run stops after the first pass's parse";
    }

    // A real error in the text: reported unchanged, nothing written.
    FormatPipeline pipeline(krScheme());
    const std::string text = "void f() {\n  if (x {\n  }\n}\n";
    const PipelineRun run = runPipeline(pipeline, text);
    EXPECT_EQ(1, run.result);
    ASSERT_EQ(1u, run.messages.size());
    EXPECT_EQ(2, run.messages[0].location().line());
    EXPECT_EQ("", run.output);
    Cpp::Parser parser;
    std::vector<Trn::Message> direct;
    parser.onMessage().connect([&](const Trn::Message& m) { direct.push_back(m); });
    parser.parse(Cpp::LexerIterator(text.begin(), text.end()), Cpp::LexerIterator());
    EXPECT_EQ(direct, run.messages);
}

TEST(FormatPipeline, EachCallStartsAfresh)
{
    FormatPipeline pipeline(krScheme());
    EXPECT_NE(0, runPipeline(pipeline, "class {\n").result);
    const PipelineRun run = runPipeline(pipeline, SAMPLE);
    EXPECT_EQ(0, run.result) << "the error count is reset";
    EXPECT_TRUE(run.messages.empty());
    EXPECT_EQ(StylistCpp::test::formatText(SAMPLE, krScheme()), run.output);
}

TEST(FormatPipeline, KeepsItsOwnCopyOfTheScheme)
{
    Stylist::PropertySet scheme = krScheme();
    FormatPipeline pipeline(scheme);
    scheme.setString(Stylist::Key::INDENT_FN_CONTENT, "\t");
    std::string indent;
    ASSERT_TRUE(pipeline.properties().getString(Stylist::Key::INDENT_FN_CONTENT, indent));
    EXPECT_EQ("    ", indent);
    EXPECT_EQ(StylistCpp::test::formatText(SAMPLE, krScheme()), runPipeline(pipeline, SAMPLE).output);
}

TEST(FormatPipeline, EmitterConstructorFailuresLeaveFormatAndWriteNothing)
{
    Stylist::PropertySet missing = krScheme();
    missing.remove(Stylist::Key::INDENT_CS_CONTENT);
    FormatPipeline pipeline(missing);
    std::istringstream in(SAMPLE);
    std::ostringstream out;
    EXPECT_THROW(pipeline.format(in, out), Stylist::PropertyMissingException);
    EXPECT_EQ("", out.str());

    // An out-of-range brace style fails before any pass.
    FormatPipeline badStyle(withBraceStyles(krScheme(), 3, 0, 0));
    std::istringstream in2(SAMPLE);
    EXPECT_THROW(badStyle.format(in2, out), Corvale::ContractViolation);
    EXPECT_EQ("", out.str());
}

TEST(FormatPipeline, AnEmptyTextFormatsToAnEmptyText)
{
    FormatPipeline pipeline(krScheme());
    const PipelineRun run = runPipeline(pipeline, "");
    EXPECT_EQ(0, run.result);
    EXPECT_EQ("", run.output);
}

} // namespace
