// Buffer formatting on the application object: the messages it sends, the
// progress it asks for, cancellation, and the diagnostic line.
#include "Corvale_Registry.h"
#include "Stylist_App.h"
#include "Stylist_Exception.h"

#include "../../Stylist/test/Stylist_TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Stylist::test::TempDir;

TEST(DiagnosticLine, BufferLineSeverityWordAndText)
{
    const struct {
        int severity;
        const char* line;
    } cases[] = {
        {Trn::INFORMATION, "-(12): Information: Text."},
        {Trn::WARNING, "-(12): Warning: Text."},
        {Trn::ERROR, "-(12): Error: Text."},
        {0, "-(12): : Text."},
        {4, "-(12): : Text."},
    };
    for (const auto& c : cases) {
        const Trn::Message m(static_cast<Trn::MessageSeverity>(c.severity), Trn::Location(12, 7), 2, "Text.");
        EXPECT_EQ(c.line, Stylist::diagnosticLine("-", m));
    }
    EXPECT_EQ("src/a b.cpp(1): Error: Expected \"}\".",
              Stylist::diagnosticLine("src/a b.cpp", Trn::Message(Trn::ERROR, Trn::Location(1, 0), 6,
                                                                     "Expected \"}\".")));
}

// An application object whose scheme directory holds the shipped schemes.
class AppFormat : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Dir.mkdir("inst");
        m_Dir.write("inst/quillon", "");
        m_Dir.write("inst/registry.ini", std::string("[") + Corvale::QUILLON_REGISTRY_KEY +
                                             "]\nPropertySetStore=" + QUILLON_SCHEMES_DIR + "\n");
        m_App.reset(new Stylist::App(m_Dir.path("inst/quillon")));
        m_App->messageSignal().connect(
            [this](int severity, const std::string& text) { m_Messages.emplace_back(severity, text); });
        m_App->alertSignal().connect([this](const std::string& text) { m_Alerts.push_back(text); });
        m_App->progressSignal().connect([this](const std::string& buffer, const std::string& text, int a, int b) {
            m_Progress.push_back(buffer + "|" + text + "|" + std::to_string(a) + "|" + std::to_string(b));
            return text != m_StopAt;
        });
    }

    TempDir m_Dir;
    std::unique_ptr<Stylist::App> m_App;
    std::vector<std::pair<int, std::string>> m_Messages;
    std::vector<std::string> m_Alerts;
    std::vector<std::string> m_Progress;
    std::string m_StopAt;
};

typedef std::vector<std::pair<int, std::string>> Messages;

const std::string USING = "Using scheme Default to format buf";
const std::string CANCELLED = "User cancelled current formatting operation.";

TEST_F(AppFormat, FormatsAndAsksForProgressAtEachStep)
{
    std::string buffer = "int  x;\rint y;\n";
    m_App->formatBuffer(buffer, "buf", "Default");
    EXPECT_EQ("int x;\r\nint y;\r\n", buffer);
    EXPECT_EQ((Messages{{1, USING}}), m_Messages);
    EXPECT_EQ((std::vector<std::string>{"buf|Reading buffer contents|1|1", "buf|Analyzing source...|1|1",
                                        "buf|Formatting source...|1|1", "buf|Wrapping lines...|1|1",
                                        "buf|Writing buffer: %1%|1|1"}),
              m_Progress);
    EXPECT_TRUE(m_Alerts.empty());
}

TEST_F(AppFormat, CancellingAtAnyStepLeavesTheBufferAsItWas)
{
    const struct {
        const char* stopAt;
        Messages messages;
    } cases[] = {
        // Before the pipeline runs, and after it: the application's own
        // cancellation message.
        {"Reading buffer contents", {{1, USING}, {3, CANCELLED}}},
        {"Writing buffer: %1%", {{1, USING}, {3, CANCELLED}}},
        // Inside the pipeline: its cancellation message as a diagnostic
        // line (it has no location, so line 0).
        {"Analyzing source...", {{1, USING}, {3, "buf(0): Error: " + CANCELLED}}},
        {"Formatting source...", {{1, USING}, {3, "buf(0): Error: " + CANCELLED}}},
        {"Wrapping lines...", {{1, USING}, {3, "buf(0): Error: " + CANCELLED}}},
    };
    for (const auto& c : cases) {
        m_Messages.clear();
        m_Progress.clear();
        m_StopAt = c.stopAt;
        std::string buffer = "int  x;\n";
        m_App->formatBuffer(buffer, "buf", "Default");
        EXPECT_EQ("int  x;\n", buffer) << c.stopAt;
        EXPECT_EQ(c.messages, m_Messages) << c.stopAt;
        EXPECT_EQ(c.stopAt, m_Progress.back().substr(4, m_Progress.back().size() - 8)) << "nothing after the stop";
    }
}

TEST_F(AppFormat, AnEmptyBufferIsLeftAloneAfterTheFirstMessage)
{
    std::string buffer;
    m_App->formatBuffer(buffer, "buf", "Default");
    EXPECT_EQ("", buffer);
    EXPECT_EQ((Messages{{1, USING}}), m_Messages);
    EXPECT_EQ((std::vector<std::string>{"buf|Reading buffer contents|1|1"}), m_Progress);
}

TEST_F(AppFormat, ParseErrorsBecomeDiagnosticLinesAndTheBufferStays)
{
    std::string buffer = "void f() {\r\n  if (x {\r\n  }\r\n}\r\n";
    m_App->formatBuffer(buffer, "buf", "Default");
    EXPECT_EQ("void f() {\r\n  if (x {\r\n  }\r\n}\r\n", buffer);
    ASSERT_EQ(2u, m_Messages.size());
    EXPECT_EQ(3, m_Messages[1].first);
    EXPECT_EQ("buf(2): Error: Expected \")\". Possible unbalanced parentheses.", m_Messages[1].second);
    EXPECT_EQ("buf|Formatting source...|1|1", m_Progress.back()) << "no writing step";
}

TEST_F(AppFormat, AnUnknownSchemeRaisesBeforeAnyMessage)
{
    std::string buffer = "int x;\n";
    EXPECT_THROW(m_App->formatBuffer(buffer, "buf", "Nope"), Stylist::AppException);
    EXPECT_TRUE(m_Messages.empty());
    EXPECT_TRUE(m_Progress.empty());
    EXPECT_EQ("int x;\n", buffer);
}

} // namespace
