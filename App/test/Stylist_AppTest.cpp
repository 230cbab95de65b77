#include "Corvale_Exception.h"
#include "Stylist_App.h"

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>

namespace {

TEST(Version, ComposedFromTheProductVersion)
{
    const struct {
        const char* product;
        const char* shown;
    } cases[] = {
        {"1.4.4002.1", "1.4.4"},
        {"1.4.4002.1 beta-7", "1.4.4"},
        {"2.1.1000.0", "2.1.1000"},
        {"2.1.1001.0", "2.1.1"},
        {"3001.2.3", "3.2.3"},
        {"1.4", "1.4.0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.shown, Stylist::composeVersion(c.product)) << c.product;
}

TEST(App, ConstructorChecksThePath)
{
    const struct {
        const char* path;
        const char* expression;
    } cases[] = {
        {"", "!p.empty()"},
        {"relative/quillon", "p.is_complete()"},
        {"/no/such/file/quillon", "exists(p)"},
    };
    for (const auto& c : cases) {
        try {
            Stylist::App app{boost::filesystem::path(c.path)};
            ADD_FAILURE() << "accepted " << c.path;
        } catch (const Corvale::ContractViolation& v) {
            EXPECT_EQ(c.expression, v.expression());
            EXPECT_EQ("App/src/Stylist_App.cpp", v.sourceFile());
        }
    }
    EXPECT_EQ(nullptr, Stylist::App::instance());
}

TEST(App, InstanceLivesWithTheObject)
{
    {
        Stylist::App app{boost::filesystem::path(QUILLON_EXE)};
        EXPECT_EQ(&app, Stylist::App::instance());
    }
    EXPECT_EQ(nullptr, Stylist::App::instance());
}

TEST(App, ProgressGoesOnUnlessAReceiverSaysStop)
{
    Stylist::App app{boost::filesystem::path(QUILLON_EXE)};
    EXPECT_TRUE(app.progress("b", "t", 1, 1));

    int calls = 0;
    app.progressSignal().connect([&](const std::string&, const std::string&, int, int) {
        ++calls;
        return false;
    });
    app.progressSignal().connect([&](const std::string&, const std::string&, int, int) {
        ++calls;
        return true;
    });
    EXPECT_FALSE(app.progress("b", "t", 1, 1));
    EXPECT_EQ(2, calls) << "every receiver is asked";
}

TEST(App, FormatBufferChecksItsArguments)
{
    Stylist::App app{boost::filesystem::path(QUILLON_EXE)};
    std::string buffer = "int x;";
    EXPECT_THROW(app.formatBuffer(buffer, "", "Default"), Corvale::ContractViolation);
    EXPECT_THROW(app.formatBuffer(buffer, "-", ""), Corvale::ContractViolation);
}

} // namespace
