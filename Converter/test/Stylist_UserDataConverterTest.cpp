// The converter over a scheme directory: finding the directory, deciding
// whether anything needs converting, rewriting only what changed, and the
// reports about schemes that cannot be converted.
#include "Stylist_UserDataConverter.h"

#include "Corvale_Exception.h"
#include "StylistCpp_FormatterConfig.h"
#include "Stylist_Exception.h"
#include "Stylist_PropertySetStore.h"
#include "Stylist_SchemeKeys.h"

#include "../../Stylist/test/Stylist_TempDir.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace {

using Stylist::test::TempDir;

const std::string SECTION = std::string("[") + Corvale::QUILLON_REGISTRY_KEY + "]\n";
const char* const RUNNING = "1.4.4";

// An earlier-version scheme as its files looked: old key names only.
std::string oldScheme(const std::string& name)
{
    return "Stylist::PropertySet\n1\n\"" + name +
           "\"\n"
           "1 ALIGN_FN_PARAMS_LEFT 1\n"
           "1 LINE_WRAP 0\n"
           "2 SPACES_PER_TAB 8\n"
           "2 COMMA_WRAP_STYLE 1\n"
           "3 WRAP_INDENT \"\\t\"\n"
           "3 WS_AFTER_FN_HEAD \"\\n\"\n";
}

// A scheme of this version, hand-edited: comments and all.
std::string currentScheme(const std::string& name, const std::string& version)
{
    Stylist::PropertySet s(name);
    Stylist::convertScheme(s);
    s.setString(Stylist::Key::QUILLON_VERSION, version);
    std::ostringstream text;
    text << "# kept by hand\n" << s;
    return text.str();
}

std::string oneReadOnly(const std::string& name)
{
    return "The scheme '" + name +
           "' was created using a previous version of Quillon C++. The file is marked read-only and so cannot "
           "be converted. Please exit Quillon, change the file to read-write and then run Quillon again. Once the "
           "scheme has been converted, the file can be set read-only again.";
}

std::string invalidVersion(const std::string& name)
{
    return "The scheme: '" + name +
           "' has the invalid value: QUILLON_VERSION for the option: QUILLON_VERSION.\n"
           " The scheme file may have become corrupted.\n";
}

class Converter : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Dir.mkdir("schemes");
        m_Dir.mkdir("other");
    }

    Corvale::Registry registry() const
    {
        return Corvale::Registry(m_Dir.path("machine.ini"), m_Dir.path("user.ini"));
    }
    void machine(const std::string& value) const { m_Dir.write("machine.ini", SECTION + value); }
    void user(const std::string& value) const { m_Dir.write("user.ini", SECTION + value); }
    // Both roots name the test's scheme directory.
    void useSchemes() const { machine("PropertySetStore=" + m_Dir.path("schemes") + "\n"); }

    void readOnly(const std::string& name) const { ::chmod(m_Dir.path(name).c_str(), 0444); }

    Stylist::PropertySet load(const std::string& file) const
    {
        Stylist::PropertySet s;
        std::istringstream in(m_Dir.read(file));
        s.read(in);
        EXPECT_FALSE(in.fail()) << file;
        return s;
    }

    std::vector<std::string> convert(const std::string& version = RUNNING) const
    {
        Stylist::UserDataConverter converter(registry());
        std::vector<std::string> messages;
        converter.convert(version, messages);
        return messages;
    }

    TempDir m_Dir;
};

TEST_F(Converter, TheUsersDirectoryComesFirstThenTheMachines)
{
    EXPECT_EQ("", Stylist::UserDataConverter(registry()).schemeDirectory());

    machine("PropertySetStore=/machine\n");
    EXPECT_EQ("/machine", Stylist::UserDataConverter(registry()).schemeDirectory());
    user("PropertySetStore=/user\n");
    EXPECT_EQ("/user", Stylist::UserDataConverter(registry()).schemeDirectory());
    user("PropertySetStore=\n");
    EXPECT_EQ("/machine", Stylist::UserDataConverter(registry()).schemeDirectory()) << "an empty value is none";
    user("");
    EXPECT_EQ("/machine", Stylist::UserDataConverter(registry()).schemeDirectory());

    // No value anywhere: no directory, and no default is made up.
    machine("");
    m_Dir.write("schemes/old.qlx", oldScheme("Old"));
    Stylist::UserDataConverter none(registry());
    EXPECT_EQ("", none.schemeDirectory());
    EXPECT_FALSE(none.needsConversion(RUNNING));
    std::vector<std::string> messages;
    none.convert(RUNNING, messages);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(oldScheme("Old"), m_Dir.read("schemes/old.qlx"));
}

TEST_F(Converter, NeedsConversionWhenAnySchemeIsOlder)
{
    useSchemes();
    EXPECT_FALSE(Stylist::UserDataConverter(registry()).needsConversion(RUNNING)) << "an empty directory";
    m_Dir.write("schemes/a.qlx", currentScheme("A", "1.4.4"));
    m_Dir.write("schemes/b.qlx", currentScheme("B", "1.5.0"));
    EXPECT_FALSE(Stylist::UserDataConverter(registry()).needsConversion(RUNNING));
    m_Dir.write("schemes/c.qlx", currentScheme("C", "1.4.0"));
    EXPECT_TRUE(Stylist::UserDataConverter(registry()).needsConversion(RUNNING));
    EXPECT_FALSE(Stylist::UserDataConverter(registry()).needsConversion("1.4.0"));
    m_Dir.write("schemes/c.qlx", "Stylist::PropertySet\n1\n\"C\"\n3 QUILLON_VERSION \"\"\n");
    EXPECT_TRUE(Stylist::UserDataConverter(registry()).needsConversion(RUNNING))
        << "a version that cannot be compared is left for conversion to report";

    m_Dir.write("schemes/d.qlx", "Stylist::PropertySet\n2\n");
    try {
        Stylist::UserDataConverter(registry()).needsConversion(RUNNING);
        ADD_FAILURE() << "an unreadable scheme file is an error";
    } catch (const Stylist::PropertySetStore::ReadError& e) {
        EXPECT_EQ(m_Dir.path("schemes/d.qlx"), e.m_Path);
    }
}

TEST_F(Converter, OldSchemesAreRewrittenAndNothingElseIsTouched)
{
    useSchemes();
    m_Dir.write("schemes/old.qlx", oldScheme("Old"));
    const std::string current = currentScheme("Current", "1.4.4");
    m_Dir.write("schemes/current.qlx", current);
    // Complete and stamped with an older version: examined, found complete,
    // and not written.
    const std::string complete = currentScheme("Complete", "1.4.0");
    m_Dir.write("schemes/complete.qlx", complete);
    m_Dir.write("schemes/notes.txt", "not a scheme");
    // Stamped by a later version: not this version's business, however
    // incomplete it looks.
    const std::string later = "Stylist::PropertySet\n1\n\"Later\"\n3 QUILLON_VERSION 2.0.0\n2 SPACES_PER_TAB 3\n";
    m_Dir.write("schemes/later.qlx", later);
    // A second file of the same name: the store keeps the first one read,
    // and the second file is left as it is.
    m_Dir.write("schemes/zz-old-copy.qlx", oldScheme("Old"));

    Stylist::UserDataConverter converter(registry());
    ASSERT_TRUE(converter.needsConversion(RUNNING));
    std::vector<std::string> messages;
    converter.convert(RUNNING, messages);
    EXPECT_TRUE(messages.empty());

    const Stylist::PropertySet old = load("schemes/old.qlx");
    EXPECT_EQ("Old", old.name());
    std::string version, params, args, brace, indent;
    std::int32_t tab = 0;
    EXPECT_TRUE(old.getString(Stylist::Key::QUILLON_VERSION, version));
    EXPECT_EQ("1.4.0", version);
    EXPECT_TRUE(old.getInt(Stylist::Key::TAB_SIZE, tab));
    EXPECT_EQ(8, tab);
    old.getString(Stylist::Key::WS_BETWEEN_FN_PARAMS, params);
    old.getString(Stylist::Key::WS_BETWEEN_FN_CALL_ARGS, args);
    old.getString(Stylist::Key::WS_BEFORE_FN_OPEN_BRACE, brace);
    old.getString(Stylist::Key::FN_DEFN_WRAP_INDENT, indent);
    EXPECT_EQ("\n", params);
    EXPECT_EQ("\n", args);
    EXPECT_EQ("\n", brace);
    EXPECT_EQ("\t", indent);
    for (const char* key : Stylist::OBSOLETE_KEYS)
        EXPECT_FALSE(old.has(key)) << key;

    EXPECT_EQ(current, m_Dir.read("schemes/current.qlx"));
    EXPECT_EQ(complete, m_Dir.read("schemes/complete.qlx")) << "not rewritten in the store's own layout";
    EXPECT_EQ("not a scheme", m_Dir.read("schemes/notes.txt"));
    EXPECT_EQ(later, m_Dir.read("schemes/later.qlx"));
    EXPECT_EQ(oldScheme("Old"), m_Dir.read("schemes/zz-old-copy.qlx"));
    EXPECT_EQ(0, std::system(("test -z \"$(ls -A '" + m_Dir.path("schemes") + "' | grep quillon-)\"").c_str()))
        << "no temporary file is left behind";

    // The next start finds every scheme converted or complete.
    EXPECT_TRUE(convert().empty());
    EXPECT_EQ(complete, m_Dir.read("schemes/complete.qlx"));
}

TEST_F(Converter, EveryConvertedSchemeLoadsAndSatisfiesTheReaders)
{
    useSchemes();
    m_Dir.write("schemes/old.qlx", oldScheme("Old"));
    m_Dir.write("schemes/bare.qlx", "Stylist::PropertySet\n1\n\"Bare\"\n");
    m_Dir.write("schemes/partial.qlx", "Stylist::PropertySet\n1\n\"Partial\"\n3 QUILLON_VERSION 1.3.9\n"
                                       "3 INDENT_FN_CONTENT \"  \"\n2 RIGHT_MARGIN 120\n");
    EXPECT_TRUE(convert().empty());

    Stylist::PropertySetStore store(m_Dir.path("schemes"));
    store.load();
    ASSERT_EQ(3u, store.schemes().size());
    for (const auto& scheme : store.schemes()) {
        const Stylist::PropertySet& s = scheme.second.m_Set;
        try {
            (void)StylistCpp::readRewriterSettings(s);
            (void)StylistCpp::readFormatterSettings(s);
            (void)StylistCpp::readExprFormatterSettings(s);
            (void)StylistCpp::readExprLineWrapperSettings(s);
            (void)StylistCpp::readLineWrapperSettings(s);
        } catch (const Stylist::PropertyMissingException& e) {
            ADD_FAILURE() << scheme.first << " lacks " << e.propertyName();
        } catch (const Corvale::ContractViolation& v) {
            ADD_FAILURE() << scheme.first << ": " << v.description();
        }
    }
    EXPECT_EQ("  ", StylistCpp::readFormatterSettings(store.find("Partial")->m_Set).m_IndentFnContent);
    EXPECT_EQ(120, StylistCpp::readFormatterSettings(store.find("Partial")->m_Set).m_RightMargin);
}

TEST_F(Converter, AReadOnlySchemeIsReportedAndLeftAlone)
{
    useSchemes();
    m_Dir.write("schemes/locked.qlx", oldScheme("Locked"));
    readOnly("schemes/locked.qlx");
    m_Dir.write("schemes/fine.qlx", currentScheme("Fine", "1.4.4"));
    readOnly("schemes/fine.qlx");

    EXPECT_EQ((std::vector<std::string>{oneReadOnly("Locked")}), convert());
    EXPECT_EQ(oldScheme("Locked"), m_Dir.read("schemes/locked.qlx"));
    struct stat st;
    ASSERT_EQ(0, ::stat(m_Dir.path("schemes/locked.qlx").c_str(), &st));
    EXPECT_EQ(0444u, st.st_mode & 07777);
}

TEST_F(Converter, SeveralReadOnlySchemesAreListedInOneMessage)
{
    useSchemes();
    m_Dir.write("schemes/b.qlx", oldScheme("B"));
    m_Dir.write("schemes/a.qlx", oldScheme("A"));
    m_Dir.write("schemes/c.qlx", oldScheme("C"));
    readOnly("schemes/a.qlx");
    readOnly("schemes/b.qlx");

    const std::vector<std::string> messages = convert();
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("The following schemes were created using a previous version of Quillon C++:\r\n"
              "\"A\", \"B\" The files are read-only and so cannot be converted. Please exit Quillon, change the "
              "file to read-write and then run Quillon again. Once the schemes have been converted, the files can "
              "be set read-only again.",
              messages[0]);
    EXPECT_EQ(oldScheme("A"), m_Dir.read("schemes/a.qlx"));
    EXPECT_EQ(oldScheme("B"), m_Dir.read("schemes/b.qlx"));
    EXPECT_TRUE(load("schemes/c.qlx").has(Stylist::Key::QUILLON_VERSION)) << "the writable one is converted";
}

TEST_F(Converter, ASchemeThatFailsIsReportedAndKeptWhileTheOthersConvert)
{
    useSchemes();
    const std::string broken = "Stylist::PropertySet\n1\n\"Broken\"\n# a comment\n3 QUILLON_VERSION \"\"\n"
                               "2 SPACES_PER_TAB 3\n";
    m_Dir.write("schemes/broken.qlx", broken);
    m_Dir.write("schemes/old.qlx", oldScheme("Old"));

    EXPECT_EQ((std::vector<std::string>{invalidVersion("Broken")}), convert());
    EXPECT_EQ(broken, m_Dir.read("schemes/broken.qlx"));
    EXPECT_TRUE(load("schemes/old.qlx").has(Stylist::Key::TAB_SIZE));
}

TEST_F(Converter, AFailedWriteIsRaisedAndLeavesEachFileOldOrNew)
{
    useSchemes();
    m_Dir.write("schemes/a.qlx", oldScheme("A"));
    m_Dir.write("schemes/b.qlx", oldScheme("B"));
    Stylist::UserDataConverter converter(registry());
    ASSERT_TRUE(converter.needsConversion(RUNNING));
    // The second file turns into something that cannot be replaced
    // between loading and saving.
    m_Dir.remove("schemes/b.qlx");
    m_Dir.mkdir("schemes/b.qlx");
    std::vector<std::string> messages;
    try {
        converter.convert(RUNNING, messages);
        ADD_FAILURE() << "the failed write is not reported";
    } catch (const Stylist::PropertySetStore::WriteError& e) {
        EXPECT_EQ(m_Dir.path("schemes/b.qlx"), e.m_Path);
    }
    EXPECT_TRUE(load("schemes/a.qlx").has(Stylist::Key::QUILLON_VERSION));
    EXPECT_EQ(0, std::system(("test -z \"$(ls -A '" + m_Dir.path("schemes") + "' | grep quillon-)\"").c_str()));
}

} // namespace
