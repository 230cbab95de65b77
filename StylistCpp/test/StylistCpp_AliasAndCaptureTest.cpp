// Alias templates and lambda capture lists under every shipped scheme: an
// alias template ends its line and keeps the blank lines after it, a
// capture list's commas are spaced as a call's arguments are, while
// subscripts and attributes keep their text; a second run changes nothing.
#include "StylistCpp.h"
#include "support/StylistCpp_ShippedSchemes.h"
#include "support/StylistCpp_PassRunner.h"
#include "support/StylistCpp_TokenCompare.h"

#include "Stylist_PropertySetStore.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

struct Case {
    const char* name;
    const char* in;
    const char* out;
};

const Case CASES[] = {
    {"AliasTemplateKeepsBlankLineAfterIt", "template <typename T> using Rows = std::vector<T>;\n\nint x;\n",
     "template <typename T>\nusing Rows = std::vector<T>;\n\nint x;\n"},
    {"AliasTemplateKeepsTwoBlankLines", "template <typename T>\nusing Rows = std::vector<T>;\n\n\nint x;\n",
     "template <typename T>\nusing Rows = std::vector<T>;\n\n\nint x;\n"},
    {"AliasTemplateBeforeAnotherTemplate",
     "template <typename T> using A = T*;\ntemplate <typename T> using B = A<T>;\nint y;\n",
     "template <typename T>\nusing A = T*;\ntemplate <typename T>\nusing B = A<T>;\nint y;\n"},
    {"AliasTemplateBeforeFunctionTemplate",
     "template <typename T> using A = T;\n\ntemplate <typename T> T v = T{};\n",
     "template <typename T>\nusing A = T;\n\ntemplate <typename T>\nT v = T{};\n"},
    {"CaptureByValueList", "auto f = [a,b]() { return a; };\n", "auto f = [a, b]() { return a; };\n"},
    {"CaptureDefaultAndThis", "auto f = [&,this]() { return 1; };\n", "auto f = [&, this]() { return 1; };\n"},
    {"CaptureDefaultOnly", "auto f = [=]() { return 1; };\n", "auto f = [=]() { return 1; };\n"},
    {"InitCaptureAndReference", "auto f = [x = 1,&y]() { return x; };\n", "auto f = [x = 1, &y]() { return x; };\n"},
    {"CaptureListAfterQuestion", "auto f = t ? [a,b]() { return a; } : g;\n",
     "auto f = t ? [a, b]() { return a; } : g;\n"},
    {"SubscriptUnchanged", "int v = a[i];\n", "int v = a[i];\n"},
    {"AttributeUnchanged", "[[maybe_unused]] int x = a[1];\n", "[[maybe_unused]] int x = a[1];\n"},
};

class AliasAndCapture : public ::testing::TestWithParam<const char*> {};

TEST_P(AliasAndCapture, FormatsAsExpectedAndIsIdempotent)
{
    for (const Case& c : CASES) {
        SCOPED_TRACE(c.name);
        const std::string once = StylistCpp::test::formatText(c.in, StylistCppTest::shippedScheme(GetParam()));
        EXPECT_EQ(c.out, once);
        EXPECT_TRUE(StylistCppTest::sameTokens(c.in, once)) << once;
        const std::string twice = StylistCpp::test::formatText(once, StylistCppTest::shippedScheme(GetParam()));
        EXPECT_EQ("", StylistCpp::test::firstDifference(once, twice));
    }
}

INSTANTIATE_TEST_SUITE_P(ShippedSchemes, AliasAndCapture, ::testing::ValuesIn(StylistCppTest::SHIPPED_SCHEMES));

// With the kr test base (a blank after a template head instead of a line
// break) the alias stays on the head's line and still ends its own.
TEST(AliasAndCaptureKr, AliasTemplateEndsItsLineAfterASameLineHead)
{
    const std::string dir = QUILLON_FORMATTER_GOLDEN_DIR;
    const Stylist::PropertySet scheme = StylistCpp::test::readScheme(dir + "/bases/kr.scheme", dir + "/bases");
    const std::string in = "template <typename T>\nusing Rows = std::vector<T>;\n\nint x;\n";
    const std::string once = StylistCpp::test::formatText(in, scheme);
    EXPECT_EQ("template<typename T> using Rows = std::vector<T>;\n\nint x;\n", once);
    EXPECT_EQ(once, StylistCpp::test::formatText(once, scheme));
}

} // namespace
