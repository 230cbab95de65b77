// The configuration store over its root files.
#include "Corvale_Registry.h"
#include "Stylist_TempDir.h"

#include <gtest/gtest.h>

#include <pwd.h>

namespace {

using Corvale::Registry;
using Stylist::test::EnvVar;
using Stylist::test::TempDir;

const std::string KEY = Corvale::QUILLON_REGISTRY_KEY;
const Registry::Root MACHINE = Registry::Root::LOCAL_MACHINE;
const Registry::Root USER = Registry::Root::CURRENT_USER;

struct Roots {
    TempDir dir;
    Registry registry{dir.path("machine.ini"), dir.path("user.ini")};
};

TEST(Registry, AKeyOpensWhenItsRootIsReadableAndHoldsItsSection)
{
    EXPECT_EQ("Software\\Corvale Software\\Quillon\\C++", KEY);
    Roots r;
    EXPECT_FALSE(r.registry.open(MACHINE, KEY)) << "no file";
    r.dir.write("machine.ini", "[Other]\nPropertySetStore=/x\n");
    EXPECT_FALSE(r.registry.open(MACHINE, KEY)) << "no section";
    r.dir.write("machine.ini", "; comment\n  [software\\corvale software\\quillon\\c++]  \r\n");
    EXPECT_TRUE(r.registry.open(MACHINE, KEY)) << "names ignore letter case and surrounding blanks";
    EXPECT_FALSE(r.registry.open(USER, KEY)) << "the roots are separate";
    r.dir.mkdir("dir.ini");
    EXPECT_FALSE(Registry(r.dir.path("dir.ini"), "").open(MACHINE, KEY));
    EXPECT_FALSE(Registry("", "").open(USER, KEY));
}

TEST(Registry, QueriesFindTheValueOfTheirOwnSectionOnly)
{
    Roots r;
    r.dir.write("user.ini", "[Before]\nPropertySetStore=/wrong\n\n[" + KEY +
                                "]\n# PropertySetStore=/comment\nOther=1\n propertysetstore = /a b=c \r\n"
                                "PropertySetStore=/second\n[After]\nPropertySetStore=/wrong\n");
    auto key = r.registry.open(USER, KEY);
    ASSERT_TRUE(key);
    std::string value = "untouched";
    EXPECT_TRUE(key->queryString("PropertySetStore", value));
    EXPECT_EQ(" /a b=c ", value) << "the value is the rest of the line, without the carriage return";
    EXPECT_FALSE(key->queryString("Missing", value));
    EXPECT_EQ(" /a b=c ", value);

    r.dir.write("user.ini", "[" + KEY + "]\nPropertySetStore=\n");
    EXPECT_TRUE(key->queryString("PropertySetStore", value));
    EXPECT_EQ("", value);
}

TEST(Registry, SettingAValueKeepsTheRestOfTheRoot)
{
    const struct {
        const char* what;
        std::string before;
        std::string after;
    } cases[] = {
        {"replace", "; top\n[" + KEY + "]\nA=1\nPropertySetStore=/old\nB=2\n[Next]\nPropertySetStore=/n\n",
         "; top\n[" + KEY + "]\nA=1\nPropertySetStore=/new dir\nB=2\n[Next]\nPropertySetStore=/n\n"},
        {"add before blank lines", "[" + KEY + "]\nA=1\n\n\n[Next]\nX=1\n",
         "[" + KEY + "]\nA=1\nPropertySetStore=/new dir\n\n\n[Next]\nX=1\n"},
        {"add to an empty last section", "[" + KEY + "]", "[" + KEY + "]\nPropertySetStore=/new dir\n"},
        {"keep CR LF", "[" + KEY + "]\r\nPropertySetStore=/old\r\nB=2\r\n",
         "[" + KEY + "]\r\nPropertySetStore=/new dir\r\nB=2\r\n"},
    };
    for (const auto& c : cases) {
        Roots r;
        r.dir.write("machine.ini", c.before);
        auto key = r.registry.open(MACHINE, KEY);
        ASSERT_TRUE(key) << c.what;
        EXPECT_TRUE(key->setString("PropertySetStore", "/new dir")) << c.what;
        EXPECT_EQ(c.after, r.dir.read("machine.ini")) << c.what;
        std::string value;
        EXPECT_TRUE(key->queryString("PropertySetStore", value));
        EXPECT_EQ("/new dir", value);
    }
}

TEST(Registry, ValuesThatCannotBeStoredAreRefused)
{
    Roots r;
    const std::string text = "[" + KEY + "]\nPropertySetStore=/old\n";
    r.dir.write("machine.ini", text);
    auto key = r.registry.open(MACHINE, KEY);
    ASSERT_TRUE(key);
    EXPECT_FALSE(key->setString("PropertySetStore", "/a\nb"));
    EXPECT_FALSE(key->setString("Property\nSetStore", "/a"));
    r.dir.remove("machine.ini");
    r.dir.mkdir("machine.ini");
    EXPECT_FALSE(key->setString("PropertySetStore", "/a")) << "the root became a directory";
}

TEST(Registry, AValueIsWrittenThroughASymbolicLink)
{
    Roots r;
    r.dir.write("real.ini", "[" + KEY + "]\n");
    ASSERT_EQ(0, ::symlink("real.ini", r.dir.path("machine.ini").c_str()));
    auto key = r.registry.open(MACHINE, KEY);
    ASSERT_TRUE(key);
    EXPECT_TRUE(key->setString("PropertySetStore", "/x"));
    EXPECT_EQ("[" + KEY + "]\nPropertySetStore=/x\n", r.dir.read("real.ini"));
    struct stat st;
    ASSERT_EQ(0, ::lstat(r.dir.path("machine.ini").c_str(), &st));
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

TEST(Registry, TheUserRootFollowsTheConfigurationDirectoryConventions)
{
    {
        EnvVar xdg("XDG_CONFIG_HOME", "/xdg/config");
        EnvVar home("HOME", "/home/someone");
        EXPECT_EQ("/xdg/config/quillon/registry.ini", Registry::defaultUserFile().string());
    }
    {
        EnvVar xdg("XDG_CONFIG_HOME", "relative/config");
        EnvVar home("HOME", "/home/someone");
        EXPECT_EQ("/home/someone/.config/quillon/registry.ini", Registry::defaultUserFile().string());
    }
    {
        EnvVar xdg("XDG_CONFIG_HOME", nullptr);
        EnvVar home("HOME", nullptr);
        const passwd* pw = ::getpwuid(::getuid());
        ASSERT_NE(nullptr, pw);
        EXPECT_EQ(std::string(pw->pw_dir) + "/.config/quillon/registry.ini", Registry::defaultUserFile().string());
    }
    const Registry installed = Registry::forExecutable("/opt/q/lib/quillon/quillon");
    EXPECT_EQ("/opt/q/lib/quillon/registry.ini", installed.file(MACHINE).string());
}

} // namespace
