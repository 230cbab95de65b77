// The parser: classifier, productions (input text -> expected tree),
// diagnostics (code and location), recovery, limits.
#include "Cpp_ParserTestUtil.h"
#include "support/Corvale_GoldenCases.h"

#include "Cpp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace Cpp;

namespace {

int classifyText(const std::string& text)
{
    Parser parser;
    return parser.classify(LexerIterator(text.begin(), text.end()), LexerIterator());
}

// ---------------------------------------------------------------------------
// Classifier

TEST(ParserClassify, ExampleTable)
{
    struct Case {
        const char* text;
        int kind;
    };
    const Case cases[] = {
        {"int x;", Parser::DATA_DECL},
        {"int x = 0;", Parser::DATA_DECL},
        {"x = 0;", Parser::NO_DECLARATION},
        {"a[i] = 1;", Parser::NO_DECLARATION},
        {"class C { int a; };", Parser::CLASS_DECL},
        {"class C : public B { };", Parser::CLASS_DECL},
        {"class C c;", Parser::DATA_DECL},
        {"struct S *p;", Parser::DATA_DECL},
        {"typedef struct { int a; } S;", Parser::CLASS_DECL},
        {"enum E { A };", Parser::ENUM_DECL},
        {"int (*pf)(int);", Parser::FUNCTION_DECL},
        {"typedef void (*F)(int);", Parser::FUNCTION_DECL},
        {"void f();", Parser::FUNCTION_FULL_HEAD},
        {"C::C() : a(1) { }", Parser::FUNCTION_FULL_HEAD},
        {"Foo bar(5);", Parser::DATA_DECL},
        {"Foo bar(int x);", Parser::FUNCTION_FULL_HEAD},
        {"FOO(x);", Parser::CALL_LIKE},
        {"cout << x;", Parser::NO_DECLARATION},
        // Further rows of the decision table.
        {"// comment\nint x;", Parser::NO_DECLARATION},
        {"using namespace std;", Parser::NO_DECLARATION},
        {"*p = 1;", Parser::NO_DECLARATION},
        {"x = { 1 };", Parser::DATA_DECL},
        {"a.b = 1;", Parser::NO_DECLARATION},
        {"i++;", Parser::NO_DECLARATION},
        {"class C;", Parser::CLASS_DECL},
        {"friend class X;", Parser::CLASS_DECL},
        {"virtual ~C();", Parser::FUNCTION_FULL_HEAD},
        {"bool operator<(const C& o) const;", Parser::FUNCTION_FULL_HEAD},
        {"int f() const { return 1; }", Parser::FUNCTION_FULL_HEAD},
        {"extern int f(int);", Parser::FUNCTION_FULL_HEAD},
        {"f(a).g();", Parser::NO_DECLARATION},
        {"int a[3];", Parser::DATA_DECL},
        {"unsigned x : 3;", Parser::DATA_DECL},
        {"static const int k = 1;", Parser::DATA_DECL},
        {"return x;", Parser::NO_DECLARATION},
        {"void (*signal(int))(int);", Parser::FUNCTION_DECL},
        {"struct S s = { 1 };", Parser::DATA_DECL},
        {"public: int x;", Parser::NO_DECLARATION},
        {"volatile public int x;", Parser::DATA_DECL},
        {"Foo<int> f;", Parser::DATA_DECL},
        {"std::map<int, int> m;", Parser::DATA_DECL},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.kind, classifyText(c.text)) << c.text;
}

TEST(ParserClassify, RunsOfNamesAndTheLookAheadLimit)
{
    std::string names;
    for (int i = 0; i < 100; ++i)
        names += "n" + std::to_string(i) + (i % 10 == 0 ? " // c\n#define X\n" : " ");
    EXPECT_EQ(Parser::DATA_DECL, classifyText(names + ";"));
    EXPECT_EQ(Parser::DATA_DECL, classifyText(names + "= 1;"));
    EXPECT_EQ(Parser::FUNCTION_FULL_HEAD, classifyText(names + "(int a);"));
    // Beyond the look-ahead limit the head is read as ending there.
    std::string many;
    for (int i = 0; i < Parser::CLASSIFY_LOOKAHEAD + 10; ++i)
        many += "n ";
    EXPECT_EQ(Parser::NO_DECLARATION, classifyText(many + ";"));
}

// ---------------------------------------------------------------------------
// Error texts

TEST(ParserErrors, EveryCodeHasItsText)
{
    const std::vector<std::string> texts = {
        "Unexpected EOF found.",
        "Unexpected token found.",
        "Did not expect to see a template within a linkage specification.",
        "public: protected: private: labels are illegal inside linkage blocks.",
        "control statements (e.g. if, else, while) are illegal inside linkage blocks.",
        "Expected \"}\". Possible unbalanced braces.",
        "Expected \")\". Possible unbalanced parentheses.",
        "Expected \">\". Possible unbalanced template operators.",
        "Expected to see base clause.",
        "Expected to see \"(\".",
        "Expected to see \"{\".",
        "Expected to see \"enum\" keyword.",
        "Expected a : immediately following a case label or \"default\" keyword.",
        "Expected a : immediately following an access specifier.",
        "Expected to see \"= 0\" to indicate a pure virtual function.",
        "Expected to see a variable name.",
        "Could not recognize element.",
        "Assembler statement appears to be unterminated.",
        "Function declaration appears to be unterminated.",
        "Data declaration appears to be unterminated.",
        "Invalid exception specifier clause.",
        "Function declaration appears to be missing parameter list.",
        "Function declaration appears to be missing name.",
    };
    for (std::size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(texts[i], Parser::errorText(static_cast<std::uint32_t>(i + 1))) << i + 1;
    EXPECT_EQ("Unknown error.", Parser::errorText(0));
    EXPECT_EQ("Unknown error.", Parser::errorText(24));
    EXPECT_EQ("Unknown error.", Parser::errorText(1000));
}

TEST(ParserErrors, MessagesAreErrorsWithTextAndTokenStart)
{
    ParseResult r = parseText("void f()\n{\n    if x;\n}\n");
    ASSERT_EQ(1u, r.messages.size());
    const Trn::Message& m = r.messages[0];
    EXPECT_EQ(Trn::ERROR, m.severity());
    EXPECT_EQ(10u, m.code());
    EXPECT_EQ("Expected to see \"(\".", m.text());
    EXPECT_EQ(Trn::Location(3, 8), m.location());
}

TEST(ParserErrors, ReceiversAreCalledInConnectionOrder)
{
    std::string order;
    Parser parser;
    parser.onMessage().connect([&](const Trn::Message&) { order += "a"; });
    parser.onMessage().connect([&](const Trn::Message&) { order += "b"; });
    std::string text = "class C : { };";
    parser.parse(LexerIterator(text.begin(), text.end()), LexerIterator());
    EXPECT_EQ("ab", order);
}

// ---------------------------------------------------------------------------
// Trees and diagnostics: golden/ParserTrees/*.cases give an input and its
// tree dump without the root line ("!" lists the diagnostics as
// "code line:col"); golden/ParserDiagnostics/*.cases give an input and its
// diagnostics alone.

const std::string GOLDEN_DIR = QUILLON_CPP_GOLDEN_DIR;

TEST(ParserGolden, TreesOfEveryCase)
{
    const auto cases = CorvaleTest::readGoldenFolder(GOLDEN_DIR + "/ParserTrees");
    EXPECT_GE(cases.size(), 52u) << "cases missing from " << GOLDEN_DIR;
    for (const CorvaleTest::GoldenCase& c : cases) {
        SCOPED_TRACE(c.where());
        EXPECT_EQ(c["tree"], treeOf(c["input"]));
    }
}

TEST(ParserGolden, DiagnosticsOfEveryCase)
{
    const auto cases = CorvaleTest::readGoldenFolder(GOLDEN_DIR + "/ParserDiagnostics");
    EXPECT_GE(cases.size(), 52u) << "cases missing from " << GOLDEN_DIR;
    for (const CorvaleTest::GoldenCase& c : cases) {
        SCOPED_TRACE(c.where());
        EXPECT_EQ(c["diagnostics"], parseText(c["input"]).diagnostics());
    }
}

// The parser reads the texts of the tokens a lexer gives from the parsed
// text, and the texts of tokens handed in as a vector from a copy of its
// own: both give the same tree and the same diagnostics, names included
// (folded qualified names, region tokens, tokens after a long comment).
TEST(ParserGolden, TokensHandedInParseLikeTheLexedText)
{
    std::vector<std::string> inputs = {
        "A:: B :: C f(std:: string s);\nclass X :: Y : public Z {};",
        "/* a long comment well past any short buffer */ enum class E : unsigned { a } e;",
        "BEGIN_MESSAGE_MAP(C, D)\nEND_MESSAGE_MAP()\nnamespace n { int veryLongVariableNameNumberOne; }",
        "#define X 1 /* one\n two */\nlabel: ;",
        "void f() { if consteval { } asm(\"nop\"); }",
    };
    for (const char* folder : {"/ParserTrees", "/ParserDiagnostics"})
        for (const CorvaleTest::GoldenCase& c : CorvaleTest::readGoldenFolder(GOLDEN_DIR + folder))
            inputs.push_back(c["input"]);
#ifdef QUILLON_SOURCE_DIR
    // Texts of many thousand tokens, whose records fill several blocks.
    for (const char* file : {"Cpp/src/Cpp_Parser.cpp", "Cpp/src/Cpp_LexerIterator.cpp"}) {
        std::ifstream in(std::filesystem::path(QUILLON_SOURCE_DIR) / file, std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        EXPECT_GT(content.str().size(), 20000u) << file;
        inputs.push_back(content.str());
    }
#endif
    EXPECT_GE(inputs.size(), 100u);
    for (const std::string& text : inputs) {
        SCOPED_TRACE(text);
        const ParseResult lexed = parseText(text);
        std::vector<Trn::Token> tokens;
        LexerIterator it(text.begin(), text.end()), end;
        for (; it != end && !it.stuck(); ++it)
            tokens.push_back(*it);
        ParseResult given;
        Parser parser;
        parser.onMessage().connect([&](const Trn::Message& m) { given.messages.push_back(m); });
        given.pRoot = parser.parse(std::move(tokens));
        EXPECT_EQ(lexed.tree, dumpTree(*given.pRoot, text));
        // Where the lexer stopped at an unterminated literal, the lexing
        // parse adds its report.
        if (it.stuck()) {
            ASSERT_FALSE(lexed.messages.empty());
            given.messages.push_back(lexed.messages.back());
        }
        EXPECT_EQ(lexed.diagnostics(), given.diagnostics());
    }
}

// The texts of real headers parse without a diagnostic (golden/ParserDiagnostics).
TEST(ParserModernCode, AMacroWithoutSemicolonStaysAStatement)
{
    // The macro before the namespace stays a statement of its own.
    ParseResult r = parseText("MACRO_WITHOUT_SEMICOLON(x)\nnamespace n { int i; }");
    ASSERT_EQ(2u, r.pRoot->size());
    EXPECT_NE(nullptr, dynamic_cast<const NamespaceDeclNode*>(r.pRoot->child(1)));
}

// ---------------------------------------------------------------------------
// Recovery

TEST(ParserRecovery, TopLevelGoesOnAfterTheOffendingToken)
{
    ParseResult r = parseText("virtual void f() = 1; int x; default int y;");
    EXPECT_EQ("15 1:20, 17 1:30", r.diagnostics());
    // Both data declarations after the errors are still read.
    std::size_t data = 0;
    for (const SyntaxNode* pNode : r.pRoot->children())
        data += dynamic_cast<const DataDeclNode*>(pNode) != nullptr;
    EXPECT_EQ(2u, data);
}

TEST(ParserRecovery, ErrorsStopAfterTheLimit)
{
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += "case ";
    ParseResult r = parseText(text);
    EXPECT_EQ(static_cast<std::size_t>(Parser::ERROR_LIMIT), r.messages.size());
}

TEST(ParserRecovery, AnUnterminatedLiteralMakesTheTextUnparsable)
{
    ParseResult r = parseText("int a;\nconst char* s = \"abc\nint b;\n");
    ASSERT_EQ(1u, r.messages.size());
    EXPECT_EQ(17u, r.messages[0].code());
    EXPECT_EQ(2, r.messages[0].location().line());
    EXPECT_FALSE(r.pRoot->empty());
}

// ---------------------------------------------------------------------------
// Nesting limit

TEST(ParserLimits, DeepBracesAndParenthesesAreAnErrorNotACrash)
{
    for (const char* open : {"{", "(", "["}) {
        std::string text = "void f() ";
        for (int i = 0; i < 50000; ++i)
            text += open;
        ParseResult r = parseText(text);
        ASSERT_EQ(1u, r.messages.size()) << open;
        EXPECT_EQ(17u, r.messages[0].code());
        // The bracket that reaches the limit; the function's own "()" is
        // closed before.
        std::int32_t column = 10 + Parser::NESTING_LIMIT;
        EXPECT_EQ(Trn::Location(1, column), r.messages[0].location()) << open;
        EXPECT_TRUE(r.pRoot->empty());
    }
}

// Tokens handed in with a type the parser cannot hold are refused whole
// (reported at the offending token, nothing parsed) rather than read as
// another type; types at the edges of the range parse.
TEST(ParserLimits, TokenTypesOutsideTheRecordRangeAreRefused)
{
    const struct {
        std::int32_t type;
        bool refused;
    } cases[] = {
        {-(1 << 29), false}, {(1 << 29) - 1, false}, {1 << 29, true}, {-(1 << 29) - 1, true},
        {INT32_MAX, true},   {INT32_MIN, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        std::vector<Trn::Token> tokens{Trn::Token(IDENTIFIER, Trn::Location(1, 1), Trn::Location(1, 1), "a"),
                                       Trn::Token(c.type, Trn::Location(2, 3), Trn::Location(2, 3), "b"),
                                       Trn::Token(SEMICOLON, Trn::Location(2, 4), Trn::Location(2, 4), ";")};
        std::vector<Trn::Message> messages;
        Parser parser;
        parser.onMessage().connect([&](const Trn::Message& m) { messages.push_back(m); });
        std::unique_ptr<RootNode> pRoot = parser.parse(std::move(tokens));
        if (c.refused) {
            ASSERT_EQ(1u, messages.size());
            EXPECT_EQ(17u, messages[0].code());
            EXPECT_EQ(Trn::Location(2, 3), messages[0].location());
            EXPECT_TRUE(pRoot->empty());
        }
        else {
            EXPECT_FALSE(pRoot->empty());
        }
    }
}

TEST(ParserLimits, DeepStatementNestingIsAnErrorNotACrash)
{
    std::string text = "void f() { ";
    for (int i = 0; i < 20000; ++i)
        text += "if (a) ";
    text += "x(); }";
    ParseResult r = parseText(text);
    ASSERT_EQ(1u, r.messages.size());
    EXPECT_EQ(17u, r.messages[0].code());

    // Just under the limit parses without a diagnostic.
    std::string ok = "void f() { ";
    for (int i = 0; i < Parser::NESTING_LIMIT - 2; ++i)
        ok += "if (a) ";
    ok += "x(); }";
    EXPECT_EQ("", parseText(ok).diagnostics());
}

// ---------------------------------------------------------------------------
// Every prefix of a realistic text parses without a crash, and every tree
// keeps its nodes in text order inside their parents.

const char* const SAMPLE = R"(// sample
#include <vector>
namespace app {
template <class T> class Box : public Base<T> {
public:
    Box() : m_v(0), m_w{1} { }
    virtual ~Box() = default;
    T get() const { return m_v; }
    void set(T v) { if (v > 0) m_v = v; else { m_v = T(); } }
private:
    T m_v; int m_w;
};
enum Mode { A, B = 2 };
extern "C" { int c_api(void); }
int run(int argc, char** argv)
{
    for (int i = 0; i < argc; ++i) {
        switch (argv[i][0]) { case '-': continue; default: break; }
    }
    do { --argc; } while (argc > 0);
    try { throw 1; } catch (...) { }
    return 0;
}
}
)";

void checkOrder(const SyntaxNode& node)
{
    Trn::Location previousEnd;
    auto visit = [&](const SyntaxNode* pChild) {
        EXPECT_LE(node.start(), pChild->start());
        EXPECT_LE(pChild->end(), node.end());
        EXPECT_LE(pChild->start(), pChild->end());
        EXPECT_LT(previousEnd, pChild->start());
        previousEnd = pChild->end();
        checkOrder(*pChild);
    };
    if (auto pInterior = dynamic_cast<const InteriorNode*>(&node)) {
        for (const SyntaxNode* pChild : pInterior->children())
            visit(pChild);
    }
    else if (auto pComposite = dynamic_cast<const CompositeNode*>(&node)) {
        for (std::size_t i = 0; i < pComposite->fieldCount(); ++i)
            if (const SyntaxNode* pField = pComposite->field(i))
                visit(pField);
    }
}

TEST(ParserRobustness, AnUnclosedBodyEndingInACommentStaysInsideItsFunction)
{
    ParseResult r = parseText("void f() { int x; /* open\n comment\n");
    EXPECT_EQ("6 1:10", r.diagnostics());
    ASSERT_EQ(1u, r.pRoot->size());
    EXPECT_EQ(Trn::Location(3, 0), r.pRoot->child(0)->end());
    checkOrder(*r.pRoot);
}

TEST(ParserRobustness, AClassHeadWithoutBodyOrSemicolonEndsAfterItsBases)
{
    ParseResult r = parseText("void f() { struct P : B case 1: }");
    checkOrder(*r.pRoot);
    ParseResult top = parseText("class C : public B");
    EXPECT_EQ("", top.diagnostics());
    ASSERT_EQ(1u, top.pRoot->size());
    EXPECT_EQ(Trn::Location(1, 18), top.pRoot->child(0)->end());
    checkOrder(*top.pRoot);
}

// The whole sample parses without a diagnostic.
TEST(ParserRobustness, EveryPrefixParsesWithOrderedNodes)
{
    const std::string sample = SAMPLE;
    for (std::size_t n = 0; n <= sample.size(); ++n) {
        ParseResult r = parseText(sample.substr(0, n));
        checkOrder(*r.pRoot);
        if (n == sample.size()) {
            EXPECT_EQ("", r.diagnostics()) << "the whole sample";
        }
        if (::testing::Test::HasFailure()) {
            ADD_FAILURE() << "prefix of length " << n;
            return;
        }
    }
}

// Every node ends where one of its tokens ends, as the lexer reports it:
// the parser works most token ends out from the start and the length, so
// tokens over several lines, folded names, regions and tabs must come out
// as the lexer has them. An empty node reports no location.
void collectEnds(const SyntaxNode& node, std::vector<Trn::Location>& ends)
{
    ends.push_back(node.end());
    if (auto pInterior = dynamic_cast<const InteriorNode*>(&node)) {
        for (const SyntaxNode* pChild : pInterior->children())
            collectEnds(*pChild, ends);
    }
    else if (auto pComposite = dynamic_cast<const CompositeNode*>(&node)) {
        for (std::size_t i = 0; i < pComposite->fieldCount(); ++i)
            if (const SyntaxNode* pField = pComposite->field(i))
                collectEnds(*pField, ends);
    }
}

TEST(ParserRobustness, EveryNodeEndsWhereATokenEnds)
{
    std::vector<std::string> inputs;
    for (const char* folder : {"/ParserTrees", "/ParserDiagnostics"})
        for (const CorvaleTest::GoldenCase& c : CorvaleTest::readGoldenFolder(GOLDEN_DIR + folder))
            inputs.push_back(c["input"]);
#ifdef QUILLON_SOURCE_DIR
    for (const char* file :
         {"Cpp/src/Cpp_Parser.cpp", "Cpp/src/Cpp_LexerIterator.cpp", "Cpp/test/Cpp_ParserTest.cpp"}) {
        std::ifstream in(std::filesystem::path(QUILLON_SOURCE_DIR) / file, std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        inputs.push_back(content.str());
    }
#endif
    std::size_t checked = 0;
    for (const std::string& text : inputs) {
        SCOPED_TRACE(text.substr(0, 200));
        std::vector<Trn::Location> tokenEnds{Trn::Location()};
        for (LexerIterator it(text.begin(), text.end()), end; it != end && !it.stuck(); ++it)
            tokenEnds.push_back(it->end());
        std::sort(tokenEnds.begin(), tokenEnds.end());
        const ParseResult r = parseText(text);
        std::vector<Trn::Location> nodeEnds;
        collectEnds(*r.pRoot, nodeEnds);
        for (const Trn::Location& end : nodeEnds) {
            EXPECT_TRUE(std::binary_search(tokenEnds.begin(), tokenEnds.end(), end))
                << end.line() << ":" << end.col();
            ++checked;
        }
    }
    EXPECT_GT(checked, 5000u);
}

#ifdef QUILLON_SOURCE_DIR
// The project's own sources are real code that must parse without a
// diagnostic, into trees whose nodes keep text order.
TEST(ParserRobustness, ProjectSourcesParseCleanly)
{
    namespace fs = std::filesystem;
    std::size_t files = 0;
    for (const char* module : {"Trn", "Cpp"}) {
        for (const auto& entry : fs::recursive_directory_iterator(fs::path(QUILLON_SOURCE_DIR) / module)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".cpp" && ext != ".h")
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream content;
            content << in.rdbuf();
            ParseResult r = parseText(content.str());
            EXPECT_EQ("", r.diagnostics()) << entry.path();
            checkOrder(*r.pRoot);
            ++files;
        }
    }
    EXPECT_GT(files, 10u);
}
#endif

} // namespace
