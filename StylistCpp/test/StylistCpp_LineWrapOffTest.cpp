// LINE_WRAP_DO_NOT_FORMAT: with it on, the wrap pass breaks no line, whatever
// the families' own switches say; with it off, the same long constructs are
// wrapped.
#include "StylistCpp_LineWrapperTestSupport.h"

#include "StylistCpp_LineWrapper.h"
#include "Stylist_Exception.h"
#include "Stylist_SchemeKeys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

namespace {

using StylistCppTest::lineWrapScheme;
using StylistCppTest::Overrides;
using StylistCppTest::wrapText;

struct LongConstruct {
    const char* name;
    const char* text;
};

// One construct of each wrapped family, each on a line past the margin of 40.
const LongConstruct LONG_CONSTRUCTS[] = {
    {"constructor", "Widget::Widget(int width, int height) : m_Width(width), m_Height(height)\n{\n}\n"},
    {"declaration", "void configureEverything(int alphaValue, int betaValue, int gammaValue);\n"},
    {"definition", "void configureEverything(int alphaValue, int betaValue, int gammaValue)\n{\n}\n"},
    {"data", "int values[] = { 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000 };\n"},
    {"enumeration", "enum E { FIRST_VALUE, SECOND_VALUE, THIRD_VALUE, FOURTH_VALUE };\n"},
    {"bases", "class C : public FirstBase, public SecondBase, public ThirdBase\n{\n};\n"},
    {"condition", "void f()\n{\n    if (firstCondition && secondCondition && thirdCondition)\n        g();\n}\n"},
    {"expression", "void f()\n{\n    total = firstValue + secondValue * thirdValue - fourthValue;\n}\n"},
    {"template", "template <class FirstType, class SecondType, class ThirdType> class P;\n"},
};

std::size_t lineCount(const std::string& text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

class LineWrapOff : public ::testing::TestWithParam<LongConstruct> {};

TEST_P(LineWrapOff, BreaksNoLineWhateverTheFamiliesSay)
{
    const std::string input = GetParam().text;
    // Every family's switch is on in the test scheme, and control statements
    // wrap with expressions.
    const std::string wrapped = wrapText(input, lineWrapScheme());
    EXPECT_GT(lineCount(wrapped), lineCount(input)) << "not a long construct:\n" << wrapped;

    const std::string off = wrapText(input, lineWrapScheme({{Stylist::Key::LINE_WRAP_DO_NOT_FORMAT, "b:true"}}));
    EXPECT_EQ(input, off);
}

INSTANTIATE_TEST_SUITE_P(Families, LineWrapOff, ::testing::ValuesIn(LONG_CONSTRUCTS),
                         [](const ::testing::TestParamInfo<LongConstruct>& info) {
                             return std::string(info.param.name);
                         });

TEST(LineWrapOff, TurnsEverySwitchOffButStillReadsTheFamilies)
{
    std::ostringstream out;
    const std::string text = "int x;\n";
    const StylistCpp::LineWrapper wrapper(text, out,
                                          lineWrapScheme({{Stylist::Key::LINE_WRAP_DO_NOT_FORMAT, "b:true"}}));
    const StylistCpp::LineWrapperSettings& s = wrapper.settings();
    for (const StylistCpp::WrapFamilySettings* pFamily : {&s.m_DdWrap, &s.m_EnumWrap, &s.m_ClassInitWrap, &s.m_ExprWrap,
                                                          &s.m_FnDeclWrap, &s.m_FnDefnWrap, &s.m_BaseClauseWrap})
        EXPECT_FALSE(pFamily->m_LineWrap);
    EXPECT_FALSE(s.m_FormatTemplateParams);
    EXPECT_FALSE(s.m_WrapControlStatements);
    // The families' keys stay required reads: a scheme without one is
    // incomplete whether or not it wraps.
    EXPECT_THROW(StylistCpp::LineWrapper(text, out,
                                         lineWrapScheme({{Stylist::Key::LINE_WRAP_DO_NOT_FORMAT, "b:true"},
                                                         {Stylist::Key::EXPR_LINE_WRAP, "-"}})),
                 Stylist::PropertyMissingException);
}

} // namespace
