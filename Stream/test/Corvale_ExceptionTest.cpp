#include "Corvale_Exception.h"

#include <gtest/gtest.h>

namespace {

TEST(ContractCheck, TrueConditionDoesNothing)
{
    EXPECT_NO_THROW(CORVALE_CHECK(1 + 1 == 2));
}

TEST(ContractCheck, FalseConditionNamesFileLineAndExpression)
{
    const int line = __LINE__ + 2;
    try {
        CORVALE_CHECK(!std::string().empty());
        FAIL() << "no violation raised";
    } catch (const Corvale::ContractViolation& v) {
        // The build maps source paths to paths relative to the source root.
        EXPECT_EQ("DBC Violation: Stream/test/Corvale_ExceptionTest.cpp(" + std::to_string(line) +
                      "): !std::string().empty()",
                  v.description());
        EXPECT_EQ(line, v.line());
    }
}

TEST(ContractCheck, DescriptionUsesForwardSlashes)
{
    Corvale::ContractViolation v("!p.empty()", 78, "App\\src\\Stylist_App.cpp");
    EXPECT_EQ("DBC Violation: App/src/Stylist_App.cpp(78): !p.empty()", v.description());
}

TEST(ContractCheck, PathsHandedOverRelativeToTheBuildDirectoryNameTheSourceFile)
{
    for (const char* handedOver : {"../../App/src/Stylist_App.cpp", "./App/src/Stylist_App.cpp",
                                   "App/src/Stylist_App.cpp"}) {
        try {
            Corvale::contractFailed("ok", 7, handedOver);
            FAIL() << "no violation raised";
        } catch (const Corvale::ContractViolation& v) {
            EXPECT_EQ("DBC Violation: App/src/Stylist_App.cpp(7): ok", v.description()) << handedOver;
        }
    }
}

TEST(CorvaleException, NullTextIsEmpty)
{
    EXPECT_EQ("", Corvale::Exception(static_cast<const char*>(nullptr)).message());
    EXPECT_EQ("x", Corvale::Exception("x").message());
}

} // namespace
