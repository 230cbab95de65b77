// The application object's scheme directory, store loading and lookups,
// over a throw-away installation: a program file, the machine root beside
// it and a user root under its own configuration directory.
#include "Corvale_Exception.h"
#include "Corvale_Registry.h"
#include "Stylist_App.h"
#include "Stylist_Exception.h"

#include "../../Stylist/test/Stylist_TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using Stylist::test::EnvVar;
using Stylist::test::TempDir;

const std::string SECTION = std::string("[") + Corvale::QUILLON_REGISTRY_KEY + "]\n";

std::string schemeText(const std::string& name)
{
    return "Stylist::PropertySet\n1\n\"" + name + "\"\n2 TAB_SIZE 4\n";
}

class AppSchemes : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Dir.mkdir("inst");
        m_Dir.write("inst/quillon", "");
        m_Dir.mkdir("config");
        m_Dir.mkdir("config/quillon");
        m_pXdg.reset(new EnvVar("XDG_CONFIG_HOME", m_Dir.path("config").c_str()));
        m_App.reset(new Stylist::App(m_Dir.path("inst/quillon")));
        m_App->alertSignal().connect([this](const std::string& text) { m_Alerts.push_back(text); });
    }

    void machine(const std::string& text) { m_Dir.write("inst/registry.ini", text); }
    void user(const std::string& text) { m_Dir.write("config/quillon/registry.ini", text); }

    TempDir m_Dir;
    std::unique_ptr<EnvVar> m_pXdg; // restored after the application object is gone
    std::unique_ptr<Stylist::App> m_App;
    std::vector<std::string> m_Alerts;
};

const std::string NO_REGISTRY = "Could not locate registry configuration data for Quillon C++.";

std::string noStorage(const std::string& dir)
{
    return "Could not locate the path to Quillon C++ Scheme storage currently listed as \"" + dir + "\".";
}

TEST_F(AppSchemes, TheMachineRootIsAskedFirstThenTheUserRoot)
{
    machine(SECTION + "PropertySetStore=/machine/schemes\n");
    user(SECTION + "PropertySetStore=/user/schemes\n");
    EXPECT_EQ("/machine/schemes", m_App->schemeStorePath());

    machine("[Something else]\nPropertySetStore=/elsewhere\n");
    EXPECT_EQ("/user/schemes", m_App->schemeStorePath());

    m_Dir.remove("inst/registry.ini");
    EXPECT_EQ("/user/schemes", m_App->schemeStorePath());
    EXPECT_TRUE(m_Alerts.empty());
    EXPECT_EQ(SECTION + "PropertySetStore=/user/schemes\n", m_Dir.read("config/quillon/registry.ini"))
        << "a value that was found is not written again";
}

TEST_F(AppSchemes, WithoutTheProductKeyTheAnswerIsEmpty)
{
    EXPECT_EQ("", m_App->schemeStorePath());
    user("[Unrelated]\n");
    machine("");
    EXPECT_EQ("", m_App->schemeStorePath());
    EXPECT_EQ((std::vector<std::string>{NO_REGISTRY, NO_REGISTRY}), m_Alerts);
}

TEST_F(AppSchemes, WithoutAValueTheSchemesDirectoryBesideTheProgramIsChosenAndRemembered)
{
    m_Dir.mkdir("inst/Schemes");
    for (const char* reg : {"", "PropertySetStore=\n"}) {
        machine(SECTION + reg);
        EXPECT_EQ(m_Dir.path("inst/Schemes"), m_App->schemeStorePath()) << reg;
        EXPECT_EQ(SECTION + "PropertySetStore=" + m_Dir.path("inst/Schemes") + "\n", m_Dir.read("inst/registry.ini"));
    }
    EXPECT_TRUE(m_Alerts.empty());

    // Through the user root the choice goes to the user root.
    m_Dir.remove("inst/registry.ini");
    user(SECTION);
    EXPECT_EQ(m_Dir.path("inst/Schemes"), m_App->schemeStorePath());
    EXPECT_EQ(SECTION + "PropertySetStore=" + m_Dir.path("inst/Schemes") + "\n",
              m_Dir.read("config/quillon/registry.ini"));
}

TEST_F(AppSchemes, WithoutASchemesDirectoryTheProgramsDirectoryIsUsed)
{
    machine(SECTION);
    m_Dir.write("inst/Schemes", "a file, not a directory");
    EXPECT_EQ(m_Dir.path("inst"), m_App->schemeStorePath());
    EXPECT_EQ((std::vector<std::string>{noStorage(m_Dir.path("inst"))}), m_Alerts);
    EXPECT_EQ(SECTION + "PropertySetStore=" + m_Dir.path("inst") + "\n", m_Dir.read("inst/registry.ini"));
}

TEST_F(AppSchemes, SchemesAreLoadedOnceAndHandedOutAsCopies)
{
    m_Dir.mkdir("inst/Schemes");
    m_Dir.write("inst/Schemes/default.qlx", schemeText("Default"));
    machine(SECTION);
    EXPECT_FALSE(m_App->schemesLoaded());
    Stylist::PropertySet s = m_App->scheme("Default");
    EXPECT_EQ("Default", s.name());
    EXPECT_TRUE(m_App->schemesLoaded());
    s.setInt("TAB_SIZE", 8);
    std::int32_t tab = 0;
    m_App->scheme("Default").getInt("TAB_SIZE", tab);
    EXPECT_EQ(4, tab) << "the store's set is not changed through a copy";

    m_Dir.write("inst/Schemes/later.qlx", schemeText("Later"));
    try {
        m_App->scheme("Later");
        ADD_FAILURE() << "the store was loaded again";
    } catch (const Stylist::AppException& e) {
        EXPECT_EQ("An unknown scheme Later was selected to use when formatting.", e.message());
    }
    EXPECT_THROW(m_App->scheme("default"), Stylist::AppException) << "names match exactly";
    EXPECT_TRUE(m_Alerts.empty());
}

TEST_F(AppSchemes, AnUnreadableSchemeFileIsAnAlertAndTheNextLookupTriesAgain)
{
    machine(SECTION + "PropertySetStore=" + m_Dir.path("schemes") + "\n");
    m_Dir.mkdir("schemes");
    m_Dir.write("schemes/good.qlx", schemeText("Good"));
    m_Dir.write("schemes/broken.qlx", "Stylist::PropertySet\n7\n");
    EXPECT_THROW(m_App->scheme("Good"), Stylist::AppException);
    ASSERT_EQ(1u, m_Alerts.size());
    EXPECT_EQ("Encountered an error while trying to read the scheme file \"" + m_Dir.path("schemes/broken.qlx") +
                  "\". To correct the problem, you should delete this file before restarting and attempting this "
                  "operation again.",
              m_Alerts[0]);
    EXPECT_FALSE(m_App->schemesLoaded());

    m_Dir.remove("schemes/broken.qlx");
    EXPECT_EQ("Good", m_App->scheme("Good").name());
    EXPECT_EQ(1u, m_Alerts.size());
}

TEST_F(AppSchemes, WithoutAnyConfigurationLoadingBreaksTheStoreContract)
{
    try {
        m_App->loadSchemes();
        ADD_FAILURE();
    } catch (const Corvale::ContractViolation& v) {
        EXPECT_EQ("newPath.length() > 0", v.expression());
    }
    ASSERT_EQ(2u, m_Alerts.size());
    EXPECT_EQ(NO_REGISTRY, m_Alerts[0]);
    EXPECT_EQ("An unexpected error has occurred. The current Quillon C++ operation has failed. Please contact "
              "Corvale Software Technical Support and report this error.",
              m_Alerts[1]);
    EXPECT_FALSE(m_App->schemesLoaded());
}

} // namespace
