// Loading the schemes converts those of the earlier version first: over a
// throw-away installation with its own machine and user roots.
#include "Corvale_Exception.h"
#include "Corvale_Registry.h"
#include "StylistCpp_FormatterConfig.h"
#include "Stylist_App.h"
#include "Stylist_Exception.h"
#include "Stylist_SchemeKeys.h"

#include "../../Stylist/test/Stylist_TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <vector>

#include <sys/stat.h>

namespace {

using Stylist::test::EnvVar;
using Stylist::test::TempDir;

const std::string SECTION = std::string("[") + Corvale::QUILLON_REGISTRY_KEY + "]\n";

const std::string OLD_SCHEME = "Stylist::PropertySet\n1\n\"Old\"\n"
                               "1 ALIGN_FN_PARAMS_LEFT 1\n"
                               "1 LINE_WRAP 1\n"
                               "2 SPACES_PER_TAB 8\n"
                               "2 WRAP_STYLE 2\n"
                               "2 COMMA_WRAP_STYLE 1\n"
                               "3 WRAP_INDENT \"  \"\n";

std::string named(const std::string& text, const std::string& name)
{
    std::string t = text;
    t.replace(t.find("\"Old\""), 5, "\"" + name + "\"");
    return t;
}

class AppConversion : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Dir.mkdir("inst");
        m_Dir.write("inst/quillon", "");
        m_Dir.mkdir("inst/Schemes");
        m_Dir.mkdir("config");
        m_Dir.mkdir("config/quillon");
        m_pXdg.reset(new EnvVar("XDG_CONFIG_HOME", m_Dir.path("config").c_str()));
    }

    // One run of the program: a fresh application object.
    std::unique_ptr<Stylist::App> start()
    {
        std::unique_ptr<Stylist::App> app(new Stylist::App(m_Dir.path("inst/quillon")));
        app->alertSignal().connect([this](const std::string& text) { m_Alerts.push_back(text); });
        return app;
    }

    void machine(const std::string& text) { m_Dir.write("inst/registry.ini", text); }
    void user(const std::string& text) { m_Dir.write("config/quillon/registry.ini", text); }

    TempDir m_Dir;
    std::unique_ptr<EnvVar> m_pXdg;
    std::vector<std::string> m_Alerts;
};

TEST_F(AppConversion, AnOldSchemeIsConvertedBeforeTheStoreReadsIt)
{
    machine(SECTION + "PropertySetStore=" + m_Dir.path("inst/Schemes") + "\n");
    m_Dir.write("inst/Schemes/old.qlx", OLD_SCHEME);

    const Stylist::PropertySet s = start()->scheme("Old");
    EXPECT_TRUE(m_Alerts.empty());
    std::string version;
    std::int32_t tab = 0;
    EXPECT_TRUE(s.getString(Stylist::Key::QUILLON_VERSION, version));
    EXPECT_EQ("1.4.0", version);
    EXPECT_TRUE(s.getInt(Stylist::Key::TAB_SIZE, tab));
    EXPECT_EQ(8, tab);
    EXPECT_FALSE(s.has(Stylist::Key::SPACES_PER_TAB));
    EXPECT_NE(OLD_SCHEME, m_Dir.read("inst/Schemes/old.qlx")) << "converted on disk";

    try {
        const StylistCpp::FormatterSettings f = StylistCpp::readFormatterSettings(s);
        EXPECT_EQ("\n", f.m_WsBetweenFnParams);
        const StylistCpp::LineWrapperSettings w = StylistCpp::readLineWrapperSettings(s);
        EXPECT_TRUE(w.m_GlobalLineWrap);
        EXPECT_EQ(2, w.m_GlobalWrap.m_WrapStyle);
        EXPECT_EQ("  ", w.m_GlobalWrap.m_WrapIndent);
        (void)StylistCpp::readExprFormatterSettings(s);
        (void)StylistCpp::readExprLineWrapperSettings(s);
    } catch (const Stylist::PropertyMissingException& e) {
        ADD_FAILURE() << "missing " << e.propertyName();
    } catch (const Corvale::ContractViolation& v) {
        ADD_FAILURE() << v.description();
    }
}

TEST_F(AppConversion, TheFirstRunThatFindsTheDirectoryInTheRegistryConverts)
{
    // No value yet: the converter has no directory, while the program
    // falls back to the directory beside it and remembers it.
    machine(SECTION);
    m_Dir.write("inst/Schemes/old.qlx", OLD_SCHEME);
    EXPECT_EQ("Old", start()->scheme("Old").name());
    EXPECT_EQ(OLD_SCHEME, m_Dir.read("inst/Schemes/old.qlx"));
    EXPECT_EQ(SECTION + "PropertySetStore=" + m_Dir.path("inst/Schemes") + "\n", m_Dir.read("inst/registry.ini"));

    // The next run finds the value.
    EXPECT_TRUE(start()->scheme("Old").has(Stylist::Key::QUILLON_VERSION));
    const std::string converted = m_Dir.read("inst/Schemes/old.qlx");
    EXPECT_NE(OLD_SCHEME, converted);

    // And the one after finds nothing more to do.
    start()->scheme("Old");
    EXPECT_EQ(converted, m_Dir.read("inst/Schemes/old.qlx"));
    EXPECT_TRUE(m_Alerts.empty());
}

TEST_F(AppConversion, ConversionNoticesAreAlertsAndTheSchemesStillLoad)
{
    machine(SECTION + "PropertySetStore=" + m_Dir.path("inst/Schemes") + "\n");
    m_Dir.write("inst/Schemes/locked.qlx", named(OLD_SCHEME, "Locked"));
    ::chmod(m_Dir.path("inst/Schemes/locked.qlx").c_str(), 0444);
    const std::string broken = "Stylist::PropertySet\n1\n\"Broken\"\n3 QUILLON_VERSION \"\"\n";
    m_Dir.write("inst/Schemes/broken.qlx", broken);

    std::unique_ptr<Stylist::App> app = start();
    EXPECT_EQ("Locked", app->scheme("Locked").name());
    EXPECT_EQ("Broken", app->scheme("Broken").name());
    ASSERT_EQ(2u, m_Alerts.size());
    EXPECT_EQ("The scheme: 'Broken' has the invalid value: QUILLON_VERSION for the option: QUILLON_VERSION.\n"
              " The scheme file may have become corrupted.\n",
              m_Alerts[0]);
    EXPECT_EQ("The scheme 'Locked' was created using a previous version of Quillon C++. The file is marked "
              "read-only and so cannot be converted. Please exit Quillon, change the file to read-write and then "
              "run Quillon again. Once the scheme has been converted, the file can be set read-only again.",
              m_Alerts[1]);
    EXPECT_EQ(named(OLD_SCHEME, "Locked"), m_Dir.read("inst/Schemes/locked.qlx"));
    EXPECT_EQ(broken, m_Dir.read("inst/Schemes/broken.qlx"));
}

TEST_F(AppConversion, TheConverterAsksTheUsersRootFirst)
{
    // The program's own lookup asks the machine root first; the converter
    // the user's. Each directory is treated by its own reader.
    m_Dir.mkdir("mine");
    m_Dir.write("mine/old.qlx", OLD_SCHEME);
    m_Dir.write("inst/Schemes/old.qlx", OLD_SCHEME);
    user(SECTION + "PropertySetStore=" + m_Dir.path("mine") + "\n");
    machine(SECTION + "PropertySetStore=" + m_Dir.path("inst/Schemes") + "\n");
    EXPECT_FALSE(start()->scheme("Old").has(Stylist::Key::QUILLON_VERSION));
    EXPECT_NE(OLD_SCHEME, m_Dir.read("mine/old.qlx"));
    EXPECT_EQ(OLD_SCHEME, m_Dir.read("inst/Schemes/old.qlx"));
}

TEST_F(AppConversion, AnUnreadableFileStopsConversionAndLoadingAlike)
{
    machine(SECTION + "PropertySetStore=" + m_Dir.path("inst/Schemes") + "\n");
    m_Dir.write("inst/Schemes/old.qlx", OLD_SCHEME);
    m_Dir.write("inst/Schemes/bad.qlx", "Stylist::PropertySet\n1\n\"Bad\"\n4 X 1\n");
    std::unique_ptr<Stylist::App> app = start();
    EXPECT_THROW(app->scheme("Old"), Stylist::AppException);
    ASSERT_EQ(1u, m_Alerts.size());
    EXPECT_NE(std::string::npos, m_Alerts[0].find(m_Dir.path("inst/Schemes/bad.qlx")));
    EXPECT_EQ(OLD_SCHEME, m_Dir.read("inst/Schemes/old.qlx")) << "nothing is converted";

    // Once the file is gone the next lookup converts and loads.
    m_Dir.remove("inst/Schemes/bad.qlx");
    EXPECT_TRUE(app->scheme("Old").has(Stylist::Key::QUILLON_VERSION));
    EXPECT_EQ(1u, m_Alerts.size());
}

} // namespace
