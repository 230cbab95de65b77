// The parser: classifier, productions (input text -> expected tree),
// diagnostics (code and location), recovery, limits.
#include "Cpp_ParserTestUtil.h"

#include "Cpp.h"

#include <gtest/gtest.h>

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
// Trees: input -> expected tree (without the root line; "!" lists the
// diagnostics as "code line:col").

struct TreeCase {
    const char* text;
    const char* tree;
};

void expectTrees(const std::vector<TreeCase>& cases)
{
    for (const TreeCase& c : cases)
        EXPECT_EQ(c.tree, treeOf(c.text)) << "input: " << c.text;
}

TEST(ParserTopLevel, CommentsDirectivesUsingAndStrayTokens)
{
    expectTrees({
        {"#include <x>\n// c\n/* d */ int y; // e\n",
         "  PreprocDirectiveNode 1:1-2:0 \"#include <x>\\n\"\n"
         "  CommentNode single 2:1-3:0 \"// c\\n\"\n"
         "  CommentNode 3:1-3:7 \"/* d */\"\n"
         "  DataDeclNode 3:9-3:14\n"
         "    TypeNode 3:9-3:11 \"int\"\n"
         "    IdNode name=y 3:13-3:13 \"y\"\n"
         "  CommentNode single 3:16-4:0 \"// e\\n\"\n"},
        // A using declaration makes no node; the next node starts after it.
        {"using namespace std; int y;",
         "  DataDeclNode 1:22-1:27\n"
         "    TypeNode 1:22-1:24 \"int\"\n"
         "    IdNode name=y 1:26-1:26 \"y\"\n"},
        // A stray "}" and empty declarations are skipped without a diagnostic.
        {"int a; } ; int b;",
         "  DataDeclNode 1:1-1:6\n"
         "    TypeNode 1:1-1:3 \"int\"\n"
         "    IdNode name=a 1:5-1:5 \"a\"\n"
         "  DataDeclNode 1:12-1:17\n"
         "    TypeNode 1:12-1:14 \"int\"\n"
         "    IdNode name=b 1:16-1:16 \"b\"\n"},
        // A name directly before a brace is a statement of its own.
        {"BEGIN_X { x(); }",
         "  ExprNode 1:1-1:7 \"BEGIN_X\"\n"
         "  BlockNode 1:9-1:16\n"
         "    ExprNode 1:11-1:14 \"x();\"\n"},
        // A map-macro region with the parentheses after its end macro.
        {"BEGIN_MESSAGE_MAP(C, B)\n ON_X()\nEND_MESSAGE_MAP()\nint z;",
         "  CommentNode verbatim 1:1-3:17 \"BEGIN_MESSAGE_MAP(C, B)\\n ON_X()\\nEND_MESSAGE_MAP()\"\n"
         "  DataDeclNode 4:1-4:6\n"
         "    TypeNode 4:1-4:3 \"int\"\n"
         "    IdNode name=z 4:5-4:5 \"z\"\n"},
        {"FOO(x);\ncout << x;\nx = 0;\n",
         "  ExprNode 1:1-1:7 \"FOO(x);\"\n"
         "  ExprNode 2:1-2:10 \"cout << x;\"\n"
         "  ExprNode 3:1-3:6 \"x = 0;\"\n"},
    });
}

TEST(ParserNamespaces, NamedUnnamedNestedAndAliases)
{
    expectTrees({
        {"namespace { int x; }",
         "  NamespaceDeclNode 1:1-1:20\n"
         "    NamespaceHeadNode name= 1:1-1:9 \"namespace\"\n"
         "    NamespaceBodyNode 1:11-1:20\n"
         "      DataDeclNode 1:13-1:18\n"
         "        TypeNode 1:13-1:15 \"int\"\n"
         "        IdNode name=x 1:17-1:17 \"x\"\n"},
        {"namespace N { namespace M { } }",
         "  NamespaceDeclNode 1:1-1:31\n"
         "    NamespaceHeadNode name=N 1:1-1:11 \"namespace N\"\n"
         "    NamespaceBodyNode 1:13-1:31\n"
         "      NamespaceDeclNode 1:15-1:29\n"
         "        NamespaceHeadNode name=M 1:15-1:25 \"namespace M\"\n"
         "        NamespaceBodyNode 1:27-1:29\n"},
        {"inline namespace v1 { }",
         "  NamespaceDeclNode 1:1-1:23\n"
         "    NamespaceHeadNode name=v1 1:1-1:19 \"inline namespace v1\"\n"
         "    NamespaceBodyNode 1:21-1:23\n"},
        {"namespace fs = boost::filesystem;",
         "  ExprNode 1:1-1:33 \"namespace fs = boost::filesystem;\"\n"},
        // Macros and empty declarations inside a namespace.
        {"namespace N { DECLARE(x) ; void f() {}; }",
         "  NamespaceDeclNode 1:1-1:41\n"
         "    NamespaceHeadNode name=N 1:1-1:11 \"namespace N\"\n"
         "    NamespaceBodyNode 1:13-1:41\n"
         "      ExprNode 1:15-1:26 \"DECLARE(x) ;\"\n"
         "      FunctionDeclNode 1:28-1:39\n"
         "        FunctionHeadNode 1:28-1:35\n"
         "          FunctionReturnNode 1:28-1:31 \"void\"\n"
         "          IdNode name=f 1:33-1:33 \"f\"\n"
         "          ParameterListNode 1:34-1:35\n"
         "        BlockNode 1:37-1:38\n"},
    });
}

TEST(ParserLinkage, BlocksAndDeclarations)
{
    expectTrees({
        {"extern \"C\" { int a; void f(void); }",
         "  LinkageBlockNode 1:1-1:35\n"
         "    ExprNode 1:1-1:10 \"extern \\\"C\\\"\"\n"
         "    LinkageBlockBodyNode 1:12-1:35\n"
         "      DataDeclNode 1:14-1:19\n"
         "        TypeNode 1:14-1:16 \"int\"\n"
         "        IdNode name=a 1:18-1:18 \"a\"\n"
         "      FunctionDeclNode 1:21-1:33\n"
         "        FunctionHeadNode 1:21-1:32\n"
         "          FunctionReturnNode 1:21-1:24 \"void\"\n"
         "          IdNode name=f 1:26-1:26 \"f\"\n"
         "          ParameterListNode 1:27-1:32\n"
         "            ParameterNode 1:28-1:31 \"void\"\n"},
        {"extern { }",
         "  LinkageBlockNode 1:1-1:10\n"
         "    ExprNode 1:1-1:6 \"extern\"\n"
         "    LinkageBlockBodyNode 1:8-1:10\n"},
        // Without a brace, extern is left to the declarations.
        {"extern \"C\" int f(int);",
         "  FunctionDeclNode 1:1-1:22\n"
         "    FunctionHeadNode 1:1-1:21\n"
         "      FunctionReturnNode 1:1-1:14 \"extern \\\"C\\\" int\"\n"
         "      IdNode name=f 1:16-1:16 \"f\"\n"
         "      ParameterListNode 1:17-1:21\n"
         "        ParameterNode 1:18-1:20 \"int\"\n"},
    });
}

TEST(ParserClasses, HeadsBasesAccessLabelsAndDeclarators)
{
    expectTrees({
        {"class C : public B, private D { public: C(); };",
         "  ClassDeclNode 1:1-1:47\n"
         "    ClassHeadNode 1:1-1:29\n"
         "      ClassNameNode key=0 name=C 1:1-1:7 \"class C\"\n"
         "      BaseClauseListNode 1:11-1:29\n"
         "        BaseClauseNode access=1 virtual 1:11-1:18 \"public B\"\n"
         "        BaseClauseNode access=1 virtual 1:21-1:29 \"private D\"\n"
         "    ClassBodyNode 1:31-1:46\n"
         "      AccessSpecNode access=1 1:33-1:39 \"public:\"\n"
         "      FunctionDeclNode 1:41-1:44\n"
         "        FunctionHeadNode 1:41-1:43\n"
         "          IdNode name=C 1:41-1:41 \"C\"\n"
         "          ParameterListNode 1:42-1:43\n"},
        {"class W { public slots: void f(); signals: };",
         "  ClassDeclNode 1:1-1:45\n"
         "    ClassHeadNode 1:1-1:7\n"
         "      ClassNameNode key=0 name=W 1:1-1:7 \"class W\"\n"
         "    ClassBodyNode 1:9-1:44\n"
         "      AccessSpecNode access=1 1:11-1:23 \"public slots:\"\n"
         "      FunctionDeclNode 1:25-1:33\n"
         "        FunctionHeadNode 1:25-1:32\n"
         "          FunctionReturnNode 1:25-1:28 \"void\"\n"
         "          IdNode name=f 1:30-1:30 \"f\"\n"
         "          ParameterListNode 1:31-1:32\n"
         "      AccessSpecNode access=4 1:35-1:42 \"signals:\"\n"},
        {"class B2 : public virtual Base<int, 3>, protected ns::D { private: int m; protected: };",
         "  ClassDeclNode 1:1-1:87\n"
         "    ClassHeadNode 1:1-1:55\n"
         "      ClassNameNode key=0 name=B2 1:1-1:8 \"class B2\"\n"
         "      BaseClauseListNode 1:12-1:55\n"
         "        BaseClauseNode access=1 virtual 1:12-1:38 \"public virtual Base<int, 3>\"\n"
         "        BaseClauseNode access=1 virtual 1:41-1:55 \"protected ns::D\"\n"
         "    ClassBodyNode 1:57-1:86\n"
         "      AccessSpecNode access=3 1:59-1:66 \"private:\"\n"
         "      DataDeclNode 1:68-1:73\n"
         "        TypeNode 1:68-1:70 \"int\"\n"
         "        IdNode name=m 1:72-1:72 \"m\"\n"
         "      AccessSpecNode access=2 1:75-1:84 \"protected:\"\n"},
        {"struct S { int a; } s, *ps;",
         "  ClassDeclNode 1:1-1:19\n"
         "    ClassHeadNode 1:1-1:8\n"
         "      ClassNameNode key=1 name=S 1:1-1:8 \"struct S\"\n"
         "    ClassBodyNode 1:10-1:19\n"
         "      DataDeclNode 1:12-1:17\n"
         "        TypeNode 1:12-1:14 \"int\"\n"
         "        IdNode name=a 1:16-1:16 \"a\"\n"
         "  DataDeclNode 1:21-1:27\n"
         "    IdNode name=s 1:21-1:21 \"s\"\n"
         "    ExprNode 1:22-1:27 \", *ps;\"\n"},
        {"typedef struct { int a; } S;",
         "  ClassDeclNode 1:1-1:25\n"
         "    ClassHeadNode 1:9-1:14\n"
         "      ClassNameNode key=1 name= 1:9-1:14 \"struct\"\n"
         "    ClassBodyNode 1:16-1:25\n"
         "      DataDeclNode 1:18-1:23\n"
         "        TypeNode 1:18-1:20 \"int\"\n"
         "        IdNode name=a 1:22-1:22 \"a\"\n"
         "  DataDeclNode 1:27-1:28\n"
         "    IdNode name=S 1:27-1:27 \"S\"\n"},
        // A declaration after "};" is not read as a declarator.
        {"union U { int i; }; int j;",
         "  ClassDeclNode 1:1-1:19\n"
         "    ClassHeadNode 1:1-1:7\n"
         "      ClassNameNode key=2 name=U 1:1-1:7 \"union U\"\n"
         "    ClassBodyNode 1:9-1:18\n"
         "      DataDeclNode 1:11-1:16\n"
         "        TypeNode 1:11-1:13 \"int\"\n"
         "        IdNode name=i 1:15-1:15 \"i\"\n"
         "  DataDeclNode 1:21-1:26\n"
         "    TypeNode 1:21-1:23 \"int\"\n"
         "    IdNode name=j 1:25-1:25 \"j\"\n"},
        // Forward declarations, and extension words in the name text.
        {"friend class X; class __declspec(dllexport) Y;",
         "  ClassDeclNode 1:1-1:15\n"
         "    ClassHeadNode 1:8-1:14\n"
         "      ClassNameNode key=0 name=X 1:8-1:14 \"class X\"\n"
         "  ClassDeclNode 1:17-1:46\n"
         "    ClassHeadNode 1:17-1:45\n"
         "      ClassNameNode key=0 name=__declspec ( dllexport ) Y 1:17-1:45 \"class __declspec(dllexport) Y\"\n"},
        // Members: constructors with initializers, destructors, macros and
        // the empty declaration after an inline body.
        {"class D { Q_OBJECT public: D() : m(0) { }; ~D(); };",
         "  ClassDeclNode 1:1-1:51\n"
         "    ClassHeadNode 1:1-1:7\n"
         "      ClassNameNode key=0 name=D 1:1-1:7 \"class D\"\n"
         "    ClassBodyNode 1:9-1:50\n"
         "      DataDeclNode 1:11-1:18\n"
         "        IdNode name=Q_OBJECT 1:11-1:18 \"Q_OBJECT\"\n"
         "      AccessSpecNode access=1 1:20-1:26 \"public:\"\n"
         "      CtorDeclNode 1:28-1:42\n"
         "        FunctionHeadNode 1:28-1:30\n"
         "          IdNode name=D 1:28-1:28 \"D\"\n"
         "          ParameterListNode 1:29-1:30\n"
         "        InitializerListNode 1:34-1:37\n"
         "          InitializerNode 1:34-1:37\n"
         "            IdNode name=m 1:34-1:34 \"m\"\n"
         "            ArgListNode 1:35-1:37\n"
         "              ArgNode 1:36-1:36 \"0\"\n"
         "        BlockNode 1:39-1:41\n"
         "      FunctionDeclNode 1:44-1:48\n"
         "        FunctionHeadNode 1:44-1:47\n"
         "          IdNode name=~D 1:44-1:45 \"~D\"\n"
         "          ParameterListNode 1:46-1:47\n"},
    });
}

TEST(ParserEnums, HeadsBodiesAndDeclarators)
{
    expectTrees({
        {"enum E { A, B = 2 };",
         "  EnumDeclNode 1:1-1:20\n"
         "    EnumHeadNode name=E 1:1-1:6 \"enum E\"\n"
         "    EnumBodyNode 1:8-1:19\n"
         "      ExprNode 1:10-1:10 \"A\"\n"
         "      ExprNode 1:13-1:17 \"B = 2\"\n"},
        {"enum class Color : unsigned char { Red, Green = 3, /* c */ Blue };",
         "  EnumDeclNode 1:1-1:66\n"
         "    EnumHeadNode name=Color 1:1-1:32 \"enum class Color : unsigned char\"\n"
         "    EnumBodyNode 1:34-1:65\n"
         "      ExprNode 1:36-1:38 \"Red\"\n"
         "      ExprNode 1:41-1:49 \"Green = 3\"\n"
         "      CommentNode 1:52-1:58 \"/* c */\"\n"
         "      ExprNode 1:60-1:63 \"Blue\"\n"},
        {"typedef enum { A = f(1, 2), B, } e;",
         "  EnumDeclNode 1:1-1:32\n"
         "    EnumHeadNode name= 1:9-1:12 \"enum\"\n"
         "    EnumBodyNode 1:14-1:32\n"
         "      ExprNode 1:16-1:26 \"A = f(1, 2)\"\n"
         "      ExprNode 1:29-1:29 \"B\"\n"
         "  DataDeclNode 1:34-1:35\n"
         "    IdNode name=e 1:34-1:34 \"e\"\n"},
    });
}

TEST(ParserFunctions, HeadsBodiesAndConstructors)
{
    expectTrees({
        {"virtual void f() const = 0;",
         "  FunctionDeclNode 1:1-1:27\n"
         "    FunctionHeadNode 1:1-1:26\n"
         "      FunctionReturnNode 1:1-1:12 \"virtual void\"\n"
         "      IdNode name=f 1:14-1:14 \"f\"\n"
         "      ParameterListNode 1:15-1:16\n"
         "      TextNode 1:18-1:22 \"const\"\n"
         "      ExprNode 1:24-1:26 \"= 0\"\n"},
        {"C::C() : a(1), b(x, y) { }",
         "  CtorDeclNode 1:1-1:26\n"
         "    FunctionHeadNode 1:1-1:6\n"
         "      IdNode name=C::C 1:1-1:4 \"C::C\"\n"
         "      ParameterListNode 1:5-1:6\n"
         "    InitializerListNode 1:10-1:22\n"
         "      InitializerNode 1:10-1:13\n"
         "        IdNode name=a 1:10-1:10 \"a\"\n"
         "        ArgListNode 1:11-1:13\n"
         "          ArgNode 1:12-1:12 \"1\"\n"
         "      InitializerNode 1:16-1:22\n"
         "        IdNode name=b 1:16-1:16 \"b\"\n"
         "        ArgListNode 1:17-1:22\n"
         "          ArgNode 1:18-1:18 \"x\"\n"
         "          ArgNode 1:21-1:21 \"y\"\n"
         "    BlockNode 1:24-1:26\n"},
        {"void f(int a, ...) throw(E1, E2);",
         "  FunctionDeclNode 1:1-1:33\n"
         "    FunctionHeadNode 1:1-1:32\n"
         "      FunctionReturnNode 1:1-1:4 \"void\"\n"
         "      IdNode name=f 1:6-1:6 \"f\"\n"
         "      ParameterListNode 1:7-1:18\n"
         "        ParameterNode 1:8-1:12 \"int a\"\n"
         "        ParameterNode 1:15-1:17 \"...\"\n"
         "      ExprNode 1:20-1:32 \"throw(E1, E2)\"\n"},
        {"bool operator()(int a) const { return a; }",
         "  FunctionDeclNode 1:1-1:42\n"
         "    FunctionHeadNode 1:1-1:28\n"
         "      FunctionReturnNode 1:1-1:4 \"bool\"\n"
         "      IdNode name=operator ( ) 1:6-1:15 \"operator()\"\n"
         "      ParameterListNode 1:16-1:22\n"
         "        ParameterNode 1:17-1:21 \"int a\"\n"
         "      TextNode 1:24-1:28 \"const\"\n"
         "    BlockNode 1:30-1:42\n"
         "      ExprNode 1:32-1:40 \"return a;\"\n"},
        {"operator bool() const;",
         "  FunctionDeclNode 1:1-1:22\n"
         "    FunctionHeadNode 1:1-1:21\n"
         "      IdNode name=operator bool 1:1-1:13 \"operator bool\"\n"
         "      ParameterListNode 1:14-1:15\n"
         "      TextNode 1:17-1:21 \"const\"\n"},
        {"X& operator=(const X&) = default;",
         "  FunctionDeclNode 1:1-1:33\n"
         "    FunctionHeadNode 1:1-1:32\n"
         "      FunctionReturnNode 1:1-1:2 \"X&\"\n"
         "      IdNode name=operator = 1:4-1:12 \"operator=\"\n"
         "      ParameterListNode 1:13-1:22\n"
         "        ParameterNode 1:14-1:21 \"const X&\"\n"
         "      ExprNode 1:24-1:32 \"= default\"\n"},
        {"void (*pf)(int);",
         "  FunctionPtrDeclNode 1:1-1:16\n"
         "    TypeNode 1:1-1:4 \"void\"\n"
         "    IdNode name=pf 1:6-1:10 \"(*pf)\"\n"
         "    ParameterListNode 1:11-1:15\n"
         "      ParameterNode 1:12-1:14 \"int\"\n"},
        {"typedef void (*F)(int, char*) ;",
         "  FunctionPtrDeclNode 1:1-1:31\n"
         "    TypeNode 1:1-1:12 \"typedef void\"\n"
         "    IdNode name=F 1:14-1:17 \"(*F)\"\n"
         "    ParameterListNode 1:18-1:29\n"
         "      ParameterNode 1:19-1:21 \"int\"\n"
         "      ParameterNode 1:24-1:28 \"char*\"\n"},
    });
}

TEST(ParserData, DeclarationsAndRests)
{
    expectTrees({
        {"int a[3] = { 1, 2, 3 };",
         "  DataDeclNode 1:1-1:23\n"
         "    TypeNode 1:1-1:3 \"int\"\n"
         "    IdNode name=a 1:5-1:5 \"a\"\n"
         "    ExprNode 1:6-1:23 \"[3] = { 1, 2, 3 };\"\n"},
        {"Foo bar(5);",
         "  DataDeclNode 1:1-1:11\n"
         "    TypeNode 1:1-1:3 \"Foo\"\n"
         "    IdNode name=bar 1:5-1:7 \"bar\"\n"
         "    ExprNode 1:8-1:11 \"(5);\"\n"},
        {"class C c; struct S *p;",
         "  DataDeclNode 1:1-1:10\n"
         "    TypeNode 1:1-1:7 \"class C\"\n"
         "    IdNode name=c 1:9-1:9 \"c\"\n"
         "  DataDeclNode 1:12-1:23\n"
         "    TypeNode 1:12-1:21 \"struct S *\"\n"
         "    IdNode name=p 1:22-1:22 \"p\"\n"},
        {"static const std::map<int, int> m;",
         "  DataDeclNode 1:1-1:34\n"
         "    TypeNode 1:1-1:31 \"static const std::map<int, int>\"\n"
         "    IdNode name=m 1:33-1:33 \"m\"\n"},
    });
}

TEST(ParserTemplates, HeadsAndExplicitInstantiations)
{
    expectTrees({
        {"template <class T, int N> class A;",
         "  TemplateNode 1:1-1:25\n"
         "    KeywordNode type=80 1:1-1:8 \"template\"\n"
         "    ParameterListNode 1:10-1:25\n"
         "      ParameterNode 1:11-1:17 \"class T\"\n"
         "      ParameterNode 1:20-1:24 \"int N\"\n"
         "  ClassDeclNode 1:27-1:34\n"
         "    ClassHeadNode 1:27-1:33\n"
         "      ClassNameNode key=0 name=A 1:27-1:33 \"class A\"\n"},
        {"template <> void f<int>(int);",
         "  TemplateNode 1:1-1:11\n"
         "    KeywordNode type=80 1:1-1:8 \"template\"\n"
         "    ParameterListNode 1:10-1:11\n"
         "  FunctionDeclNode 1:13-1:29\n"
         "    FunctionHeadNode 1:13-1:28\n"
         "      FunctionReturnNode 1:13-1:16 \"void\"\n"
         "      IdNode name=f<int> 1:18-1:23 \"f<int>\"\n"
         "      ParameterListNode 1:24-1:28\n"
         "        ParameterNode 1:25-1:27 \"int\"\n"},
        {"template <template <class> class C, class T = int> T g(T b = T());",
         "  TemplateNode 1:1-1:50\n"
         "    KeywordNode type=80 1:1-1:8 \"template\"\n"
         "    ParameterListNode 1:10-1:50\n"
         "      ParameterNode 1:11-1:34 \"template <class> class C\"\n"
         "      ParameterNode flag 1:37-1:49 \"class T = int\"\n"
         "  FunctionDeclNode 1:52-1:66\n"
         "    FunctionHeadNode 1:52-1:65\n"
         "      FunctionReturnNode 1:52-1:52 \"T\"\n"
         "      IdNode name=g 1:54-1:54 \"g\"\n"
         "      ParameterListNode 1:55-1:65\n"
         "        ParameterNode flag 1:56-1:64 \"T b = T()\"\n"},
        {"template class X<int>;",
         "  ExprNode 1:1-1:22 \"template class X<int>;\"\n"},
    });
}

TEST(ParserStatements, ControlStatementsAndTheirChains)
{
    expectTrees({
        {"void f() { if (x) y = 1; else if (z) { w(); } else return 0; }",
         "  FunctionDeclNode 1:1-1:62\n"
         "    FunctionHeadNode 1:1-1:8\n"
         "      FunctionReturnNode 1:1-1:4 \"void\"\n"
         "      IdNode name=f 1:6-1:6 \"f\"\n"
         "      ParameterListNode 1:7-1:8\n"
         "    BlockNode 1:10-1:62\n"
         "      CtrlStmtNode 1:12-1:60\n"
         "        CtrlSubStmtNode 1:12-1:24\n"
         "          CtrlSubStmtHeadNode 1:12-1:17\n"
         "            KeywordNode type=93 1:12-1:13 \"if\"\n"
         "            ExprNode 1:15-1:17 \"(x)\"\n"
         "          BlockNode 1:19-1:24\n"
         "            ExprNode 1:19-1:24 \"y = 1;\"\n"
         "        CtrlSubStmtNode 1:26-1:60\n"
         "          CtrlSubStmtHeadNode 1:26-1:29\n"
         "            KeywordNode type=94 1:26-1:29 \"else\"\n"
         "          BlockNode 1:31-1:60\n"
         "            CtrlStmtNode 1:31-1:60\n"
         "              CtrlSubStmtNode 1:31-1:45\n"
         "                CtrlSubStmtHeadNode 1:31-1:36\n"
         "                  KeywordNode type=93 1:31-1:32 \"if\"\n"
         "                  ExprNode 1:34-1:36 \"(z)\"\n"
         "                BlockNode 1:38-1:45\n"
         "                  ExprNode 1:40-1:43 \"w();\"\n"
         "              CtrlSubStmtNode 1:47-1:60\n"
         "                CtrlSubStmtHeadNode 1:47-1:50\n"
         "                  KeywordNode type=94 1:47-1:50 \"else\"\n"
         "                BlockNode 1:52-1:60\n"
         "                  ExprNode 1:52-1:60 \"return 0;\"\n"},
        {"{ do { x++; } // c\n while (x < 3); for (;;) ; }",
         "  BlockNode 1:1-2:28\n"
         "    CtrlStmtNode 1:3-2:15\n"
         "      CtrlSubStmtNode 1:3-1:13\n"
         "        CtrlSubStmtHeadNode 1:3-1:4\n"
         "          KeywordNode type=97 1:3-1:4 \"do\"\n"
         "        BlockNode 1:6-1:13\n"
         "          ExprNode 1:8-1:11 \"x++;\"\n"
         "      CtrlSubStmtNode 2:2-2:15\n"
         "        CtrlSubStmtHeadNode 2:2-2:14\n"
         "          KeywordNode type=98 2:2-2:6 \"while\"\n"
         "          ExprNode 2:8-2:14 \"(x < 3)\"\n"
         "    CtrlStmtNode 2:17-2:26\n"
         "      CtrlSubStmtNode 2:17-2:26\n"
         "        CtrlSubStmtHeadNode 2:17-2:24\n"
         "          KeywordNode type=96 2:17-2:19 \"for\"\n"
         "          ExprNode 2:21-2:24 \"(;;)\"\n"
         "        BlockNode 2:26-2:26\n"
         "          ExprNode 2:26-2:26 \";\"\n"},
        {"{ try { f(); } catch (const E& e) { } catch (...) { throw; } }",
         "  BlockNode 1:1-1:62\n"
         "    CtrlStmtNode 1:3-1:60\n"
         "      CtrlSubStmtNode 1:3-1:14\n"
         "        CtrlSubStmtHeadNode 1:3-1:5\n"
         "          KeywordNode type=99 1:3-1:5 \"try\"\n"
         "        BlockNode 1:7-1:14\n"
         "          ExprNode 1:9-1:12 \"f();\"\n"
         "      CtrlSubStmtNode 1:16-1:37\n"
         "        CtrlSubStmtHeadNode 1:16-1:33\n"
         "          KeywordNode type=100 1:16-1:20 \"catch\"\n"
         "          ExprNode 1:22-1:33 \"(const E& e)\"\n"
         "        BlockNode 1:35-1:37\n"
         "      CtrlSubStmtNode 1:39-1:60\n"
         "        CtrlSubStmtHeadNode 1:39-1:49\n"
         "          KeywordNode type=100 1:39-1:43 \"catch\"\n"
         "          ExprNode 1:45-1:49 \"(...)\"\n"
         "        BlockNode 1:51-1:60\n"
         "          ExprNode 1:53-1:58 \"throw;\"\n"},
    });
}

TEST(ParserStatements, LabelsAsmDeclarationsAndScans)
{
    expectTrees({
        {"{ switch (c) { case 1: case 'a': break; default: return 2; } }",
         "  BlockNode 1:1-1:62\n"
         "    CtrlStmtNode 1:3-1:60\n"
         "      CtrlSubStmtNode 1:3-1:60\n"
         "        CtrlSubStmtHeadNode 1:3-1:12\n"
         "          KeywordNode type=101 1:3-1:8 \"switch\"\n"
         "          ExprNode 1:10-1:12 \"(c)\"\n"
         "        BlockNode 1:14-1:60\n"
         "          CaseNode 1:16-1:22\n"
         "            KeywordNode type=102 1:16-1:19 \"case\"\n"
         "            ExprNode 1:21-1:21 \"1\"\n"
         "          CaseNode 1:24-1:32\n"
         "            KeywordNode type=102 1:24-1:27 \"case\"\n"
         "            ExprNode 1:29-1:31 \"'a'\"\n"
         "          ExprNode 1:34-1:39 \"break;\"\n"
         "          CaseNode 1:41-1:48\n"
         "            KeywordNode type=103 1:41-1:47 \"default\"\n"
         "          ExprNode 1:50-1:58 \"return 2;\"\n"},
        {"{ again: goto again;\n __asm mov eax, 1\n asm volatile (\"nop\");\n __asm { mov eax, 2 } }",
         "  BlockNode 1:1-4:23\n"
         "    LabelNode 1:3-1:8\n"
         "      IdNode name=again 1:3-1:7 \"again\"\n"
         "    ExprNode 1:10-1:20 \"goto again;\"\n"
         "    AsmNode value=0 2:2-2:17\n"
         "      TextNode 2:2-2:17 \"__asm mov eax, 1\"\n"
         "    AsmNode value=0 3:2-3:22\n"
         "      TextNode 3:2-3:22 \"asm volatile (\\\"nop\\\");\"\n"
         "    AsmNode value=1 4:2-4:21\n"
         "      TextNode 4:2-4:6 \"__asm\"\n"
         "      BlockNode 4:8-4:21\n"},
        {"{ std::vector<int> v{1, 2}; auto l = [&](int a) { return a + 1; }; struct P { int x; } p; }",
         "  BlockNode 1:1-1:91\n"
         "    ExprNode 1:3-1:27 \"std::vector<int> v{1, 2};\"\n"
         "    ExprNode 1:29-1:66 \"auto l = [&](int a) { return a + 1; };\"\n"
         "    ClassDeclNode 1:68-1:86\n"
         "      ClassHeadNode 1:68-1:75\n"
         "        ClassNameNode key=1 name=P 1:68-1:75 \"struct P\"\n"
         "      ClassBodyNode 1:77-1:86\n"
         "        DataDeclNode 1:79-1:84\n"
         "          TypeNode 1:79-1:81 \"int\"\n"
         "          IdNode name=x 1:83-1:83 \"x\"\n"
         "    DataDeclNode 1:88-1:89\n"
         "      IdNode name=p 1:88-1:88 \"p\"\n"},
        // Inside a block, a function-like declaration with a full head is a
        // statement.
        {"{ void g(); int k = 0; }",
         "  BlockNode 1:1-1:24\n"
         "    ExprNode 1:3-1:11 \"void g();\"\n"
         "    DataDeclNode 1:13-1:22\n"
         "      TypeNode 1:13-1:15 \"int\"\n"
         "      IdNode name=k 1:17-1:17 \"k\"\n"
         "      ExprNode 1:19-1:22 \"= 0;\"\n"},
    });
}

TEST(ParserModernCode, ConstructsOfRealHeadersParseWithoutDiagnostics)
{
    const char* const texts[] = {
        "template <class... T> struct S : Base<T>... { };",
        "class C { C(C&&) = default; C& operator=(const C&) = delete; };",
        "class D : B { D(const T& t) : ns::B<const T&>(t), m{1} {} };",
        "MACRO_WITHOUT_SEMICOLON(x)\nnamespace n { int i; }",
        "int (f)(int);",
        "class E { Q_OBJECT public: E(); };",
        "void f() { if constexpr (N > 1) g(); get(*p) = v; }",
        "typedef char (&two)[2];",
        "template <class T> inline constexpr T zero{};",
        "class F : public BASE_OF(F) { };",
    };
    for (const char* text : texts)
        EXPECT_EQ("", parseText(text).diagnostics()) << text;
    // The macro before the namespace stays a statement of its own.
    ParseResult r = parseText("MACRO_WITHOUT_SEMICOLON(x)\nnamespace n { int i; }");
    ASSERT_EQ(2u, r.pRoot->size());
    EXPECT_NE(nullptr, dynamic_cast<const NamespaceDeclNode*>(r.pRoot->child(1)));
}

// ---------------------------------------------------------------------------
// Diagnostics: input -> "code line:col" list.

TEST(ParserDiagnostics, EveryReportedCodeAtItsToken)
{
    struct Case {
        const char* text;
        const char* diagnostics;
    };
    const Case cases[] = {
        {"extern \"C\" { template<class T> void f(); }", "3 1:14"},
        {"extern \"C\" { public: int x; }", "4 1:14"},
        {"extern \"C\" { int a; if (x) y(); }", "5 1:21"},
        {"extern \"C\" { case 1: }", "5 1:14"},
        {"namespace N { int x;", "6 1:13"},
        {"class C { int x;", "6 1:9"},
        {"enum E { A, B", "6 1:8"},
        {"void f() { int x;", "6 1:10"},
        {"void f() { __asm { mov eax, 1 }", "6 1:10"},
        {"void f() { while (x { } }", "7 1:18"},
        {"void f() { asm(\"nop\"; }", "7 1:15"},
        {"void f() throw(int;", "7 1:15"},
        {"C::C() : a(1 { }", "7 1:11"},
        {"typedef void F(int;", "7 1:15"},
        // The classifier gives no declaration for an unmatched group.
        {"void f(int;", ""},
        {"template <class T void f();", "8 1:10"},
        {"class C : { };", "9 1:11"},
        {"void f() { if x; }", "10 1:15"},
        {"void f() { for ; }", "10 1:16"},
        {"namespace N int x;", "11 1:13"},
        {"void f() { switch(x) { case 1 break; } }", "13 1:36"},
        {"void f() { switch(x) { default; } }", "13 1:31"},
        {"class C { public int x; };", "14 1:18"},
        {"class C { private };", "14 1:19"},
        {"virtual void f() = 1;", "15 1:20"},
        {"virtual void f() = NULL;", "15 1:20"},
        {"virtual void f() = 0L;", "15 1:20"},
        {"C::C() : (1) {}", "16 1:10"},
        {"void f() throw int;", "21 1:16"},
        {"int (f)();", ""},
        {"void () { }", "23 1:6"},
        {"using namespace std", "17 1:1"},
        {"case 1: x = 1;", "17 1:1"},
        {"int f(int, );", "17 1:10"},
        {"C::C() : a b { }", "17 1:12"},
        {"class C : public B* { };", "17 1:19"},
        {"enum E ( { A };", "17 1:8"},
        {"void f() { do { } x = 1; }", "17 1:19"},
        {"void f() { x = 1; else y = 2; z(); }", ""},
        {"class C { if (x) y(); int z; };", "17 1:11"},
        {"namespace N { case 1: }", "17 1:15"},
        {"void f() { if (x) }", "17 1:19"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.diagnostics, parseText(c.text).diagnostics()) << "input: " << c.text;
}

// ---------------------------------------------------------------------------
// Recovery

TEST(ParserRecovery, BodyEndsAtTheUnrecognisedElementAndParsingGoesOnAfterIt)
{
    EXPECT_EQ("  ClassDeclNode 1:1-1:38\n"
              "    ClassHeadNode 1:1-1:7\n"
              "      ClassNameNode key=0 name=C 1:1-1:7 \"class C\"\n"
              "    ClassBodyNode 1:9-1:37\n"
              "      DataDeclNode 1:11-1:16\n"
              "        TypeNode 1:11-1:13 \"int\"\n"
              "        IdNode name=a 1:15-1:15 \"a\"\n"
              "  DataDeclNode 1:40-1:45\n"
              "    TypeNode 1:40-1:42 \"int\"\n"
              "    IdNode name=b 1:44-1:44 \"b\"\n"
              "! 17 1:18\n",
              treeOf("class C { int a; if (x) y(); int c; }; int b;"));
}

TEST(ParserRecovery, UnmatchedBracketsStopTheBody)
{
    // A namespace without "}" yields no node at all.
    EXPECT_EQ("! 6 1:13\n", treeOf("namespace N { int x; void f() { }"));
    // A function body without "}" is an empty block to the end of the text.
    EXPECT_EQ("  FunctionDeclNode 1:1-2:10\n"
              "    FunctionHeadNode 1:1-1:8\n"
              "      FunctionReturnNode 1:1-1:4 \"void\"\n"
              "      IdNode name=f 1:6-1:6 \"f\"\n"
              "      ParameterListNode 1:7-1:8\n"
              "    BlockNode 1:10-2:10\n"
              "! 6 1:10\n",
              treeOf("void f() { int x;\nint y = 1;"));
    // An unmatched parenthesis in a control head ends the enclosing body;
    // what follows the body's "}" is parsed.
    EXPECT_EQ("  FunctionDeclNode 1:1-1:24\n"
              "    FunctionHeadNode 1:1-1:8\n"
              "      FunctionReturnNode 1:1-1:4 \"void\"\n"
              "      IdNode name=f 1:6-1:6 \"f\"\n"
              "      ParameterListNode 1:7-1:8\n"
              "    BlockNode 1:10-1:24\n"
              "      ExprNode 1:12-1:14 \"a++\"\n"
              "  DataDeclNode 1:26-1:31\n"
              "    TypeNode 1:26-1:28 \"int\"\n"
              "    IdNode name=z 1:30-1:30 \"z\"\n"
              "! 7 1:19\n",
              treeOf("void f() { a++ if ( b; } int z;"));
}

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
