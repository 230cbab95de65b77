// A data declarator with "*" or "&" is spaced after its name exactly like a
// plain one ("int *p=0;" -> "int *p = 0;", never "int *p= 0;"), whichever
// side the sign is anchored to. Each row is one declaration and its layout
// with the sign as written, against the type and against the name; a
// further declarator's initialiser is re-spaced as the first one's is.
#include "support/StylistCpp_PassRunner.h"
#include "support/StylistCpp_TokenCompare.h"

#include "Stylist_SchemeKeys.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string GOLDEN_DIR = QUILLON_FORMATTER_GOLDEN_DIR;

struct DeclaratorRow {
    const char* input;
    const char* asWritten; // anchors -1
    const char* toType;    // anchors 0, no anchor whitespace
    const char* toName;    // anchors 1, no anchor whitespace
};

const DeclaratorRow ROWS[] = {
    {"int p=0;\n", "int p = 0;\n", "int p = 0;\n", "int p = 0;\n"},
    {"int *p=0;\n", "int *p = 0;\n", "int* p = 0;\n", "int *p = 0;\n"},
    {"int &r=x;\n", "int &r = x;\n", "int& r = x;\n", "int &r = x;\n"},
    {"int &&r=f();\n", "int &&r = f();\n", "int&& r = f();\n", "int &&r = f();\n"},
    {"char **pp=0;\n", "char **pp = 0;\n", "char** pp = 0;\n", "char **pp = 0;\n"},
    {"int* q= 0;\n", "int* q = 0;\n", "int* q = 0;\n", "int *q = 0;\n"},
    {"int & s =x;\n", "int & s = x;\n", "int& s = x;\n", "int &s = x;\n"},
    {"Foo<int> *t=nullptr;\n", "Foo<int> *t = nullptr;\n", "Foo<int>* t = nullptr;\n", "Foo<int> *t = nullptr;\n"},
    {"const char *n=\"x\", *m=0;\n", "const char *n = \"x\", *m = 0;\n", "const char* n = \"x\", *m = 0;\n",
     "const char *n = \"x\", *m = 0;\n"},
    // A further declarator's initialiser is an expression like the first's.
    {"int a, *q=a*b, r=a*b, &z=y;\n", "int a, *q = a * b, r = a * b, &z = y;\n",
     "int a, *q = a * b, r = a * b, &z = y;\n", "int a, *q = a * b, r = a * b, &z = y;\n"},
    {"int *c (0);\n", "int *c(0);\n", "int* c(0);\n", "int *c(0);\n"},
    {"int *a[3]={1};\n", "int *a[3] = { 1 };\n", "int* a[3] = { 1 };\n", "int *a[3] = { 1 };\n"},
    {"int *b{0};\n", "int *b{0};\n", "int* b{0};\n", "int *b{0};\n"},
    {"int *l\n  =0;\n", "int *l = 0;\n", "int* l = 0;\n", "int *l = 0;\n"},
    {"int *k/*c*/=0;\n", "int *k/*c*/ = 0;\n", "int* k/*c*/ = 0;\n", "int *k/*c*/ = 0;\n"},
    {"void g(){\nint *p=0;\nFoo &r=x;\n}\n", "void g() {\n    int *p = 0;\n    Foo &r = x;\n}\n",
     "void g() {\n    int* p = 0;\n    Foo& r = x;\n}\n", "void g() {\n    int *p = 0;\n    Foo &r = x;\n}\n"},
};

Stylist::PropertySet withAnchors(int anchor)
{
    Stylist::PropertySet scheme = StylistCpp::test::readScheme(GOLDEN_DIR + "/bases/kr.scheme", GOLDEN_DIR + "/bases");
    if (anchor != -1) {
        scheme.setInt(Stylist::Key::ASTERISK_ANCHOR, anchor);
        scheme.setInt(Stylist::Key::AMPERSAND_ANCHOR, anchor);
        scheme.setString(Stylist::Key::WS_BETWEEN_ASTERISK_ANCHOR, "");
        scheme.setString(Stylist::Key::WS_BETWEEN_AMPERSAND_ANCHOR, "");
    }
    return scheme;
}

class DeclaratorSpacing : public ::testing::TestWithParam<DeclaratorRow> {};

TEST_P(DeclaratorSpacing, NameIsFollowedAsAPlainNameIs)
{
    const DeclaratorRow& row = GetParam();
    const struct {
        int anchor;
        const char* expected;
    } layouts[] = {{-1, row.asWritten}, {0, row.toType}, {1, row.toName}};
    for (const auto& layout : layouts) {
        const Stylist::PropertySet scheme = withAnchors(layout.anchor);
        const std::string once = StylistCpp::test::formatText(row.input, scheme);
        EXPECT_EQ(layout.expected, once) << "anchor " << layout.anchor;
        EXPECT_EQ(once, StylistCpp::test::formatText(once, scheme)) << "anchor " << layout.anchor << ", formatted again";
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, DeclaratorSpacing, ::testing::ValuesIn(ROWS));

} // namespace
