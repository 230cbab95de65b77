// The scheme store over a real directory.
#include "Corvale_Exception.h"
#include "Stylist_PropertySetStore.h"
#include "Stylist_TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using Stylist::PropertySet;
using Stylist::PropertySetStore;
using Stylist::test::TempDir;

std::string schemeText(const std::string& name, int tabSize = 4)
{
    return "Stylist::PropertySet\n1\n\"" + name + "\"\n2 TAB_SIZE " + std::to_string(tabSize) + "\n";
}

std::vector<std::string> schemeNames(const PropertySetStore& store)
{
    std::vector<std::string> names;
    for (const auto& s : store.schemes())
        names.push_back(s.first);
    return names;
}

TEST(SchemeStore, SelectsSchemeFilesOfTheDirectoryOnly)
{
    TempDir dir;
    dir.write("a.qlx", schemeText("A"));
    dir.write("B.QLX", schemeText("B"));
    dir.write("c.Qlx", schemeText("C"));
    dir.write(".qlx", "garbage");
    dir.write("x.qlx.bak", "garbage");
    dir.write("notes.txt", "garbage");
    dir.write("qlx", "garbage");
    dir.mkdir("dir.qlx");
    dir.mkdir("sub");
    dir.write("sub/d.qlx", schemeText("D"));
    ASSERT_EQ(0, ::mkfifo(dir.path("pipe.qlx").c_str(), 0644)) << "a pipe must not be opened";

    EXPECT_EQ((std::vector<std::string>{"B.QLX", "a.qlx", "c.Qlx"}), PropertySetStore::listSchemeFiles(dir.root()));
    PropertySetStore store(dir.root());
    store.load();
    EXPECT_EQ((std::vector<std::string>{"A", "B", "C"}), schemeNames(store));
    EXPECT_EQ("B", store.files().at("B.QLX"));
    EXPECT_EQ(3u, store.files().size());
    ASSERT_NE(nullptr, store.find("C"));
    EXPECT_EQ(nullptr, store.find("c")) << "names are found exactly";
    std::int32_t tab = 0;
    EXPECT_TRUE(store.find("A")->m_Set.getInt("TAB_SIZE", tab));
    EXPECT_EQ(4, tab);
    EXPECT_FALSE(store.find("A")->m_ReadOnly);
}

TEST(SchemeStore, TheFirstFileOfANameWinsAndBothFilesMapToIt)
{
    TempDir dir;
    dir.write("2.qlx", schemeText("Same", 2));
    dir.write("1.qlx", schemeText("Same", 1));
    PropertySetStore store(dir.root());
    store.load();
    ASSERT_EQ(1u, store.schemes().size());
    std::int32_t tab = 0;
    store.find("Same")->m_Set.getInt("TAB_SIZE", tab);
    EXPECT_EQ(1, tab);
    EXPECT_EQ("Same", store.files().at("1.qlx"));
    EXPECT_EQ("Same", store.files().at("2.qlx"));
}

TEST(SchemeStore, AnUnreadableFileRaisesReadErrorAndLeavesTheStoreAsItWas)
{
    TempDir dir;
    dir.write("good.qlx", schemeText("Good"));
    PropertySetStore store(dir.root());
    store.load();
    const auto schemesBefore = schemeNames(store);
    const auto filesBefore = store.files();

    const char* const broken[] = {
        "not a scheme\n",
        "Stylist::PropertySet\n2\n\"V\"\n",
        "Stylist::PropertySet\n1\n\"T\"\n4 X 1\n",
        "Stylist::PropertySet\n1\n\"N\"\n3\n",
        "",
    };
    for (const char* text : broken) {
        dir.write("zbroken.qlx", text);
        dir.write("new.qlx", schemeText("New"));
        try {
            store.load();
            ADD_FAILURE() << "loaded " << text;
        } catch (const PropertySetStore::ReadError& e) {
            EXPECT_EQ(dir.path("zbroken.qlx"), e.m_Path);
        }
        EXPECT_EQ(schemesBefore, schemeNames(store)) << text;
        EXPECT_EQ(filesBefore, store.files()) << text;
    }
    dir.remove("zbroken.qlx");
    store.load();
    EXPECT_EQ((std::vector<std::string>{"Good", "New"}), schemeNames(store));
}

TEST(SchemeStore, WithoutAPathOrADirectoryNothingIsLoaded)
{
    PropertySetStore unset;
    unset.load();
    unset.save();
    EXPECT_TRUE(unset.schemes().empty());

    TempDir dir;
    PropertySetStore missing(dir.path("no-such-dir"));
    missing.load();
    EXPECT_TRUE(missing.schemes().empty());
}

TEST(SchemeStore, EmptyPathsBreakTheContract)
{
    try {
        PropertySetStore store{std::string()};
        ADD_FAILURE();
    } catch (const Corvale::ContractViolation& v) {
        EXPECT_EQ("path.length() > 0", v.expression());
        EXPECT_EQ("Stylist/src/Stylist_PropertySetStore.cpp", v.sourceFile());
    }
    PropertySetStore store;
    try {
        store.setPath("");
        ADD_FAILURE();
    } catch (const Corvale::ContractViolation& v) {
        EXPECT_EQ("newPath.length() > 0", v.expression());
    }
}

TEST(SchemeStore, ReadOnlyFilesLoadButAreNeverWritten)
{
    TempDir dir;
    dir.write("locked.qlx", schemeText("Locked"));
    dir.write("open.qlx", schemeText("Open"));
    ASSERT_EQ(0, ::chmod(dir.path("locked.qlx").c_str(), 0444));
    PropertySetStore store(dir.root());
    store.load();
    ASSERT_NE(nullptr, store.find("Locked"));
    EXPECT_TRUE(store.find("Locked")->m_ReadOnly);
    EXPECT_FALSE(store.find("Open")->m_ReadOnly);

    store.find("Locked")->m_Set.setInt("TAB_SIZE", 8);
    store.find("Open")->m_Set.setInt("TAB_SIZE", 8);
    store.save();
    EXPECT_EQ(schemeText("Locked"), dir.read("locked.qlx"));
    EXPECT_EQ(schemeText("Open", 8), dir.read("open.qlx"));
}

TEST(SchemeStore, SaveDeletesOnlyFilesOfSchemesItDropped)
{
    TempDir dir;
    dir.write("keep.qlx", schemeText("Keep"));
    dir.write("drop.qlx", schemeText("Drop"));
    dir.write("dropLocked.qlx", schemeText("DropLocked"));
    dir.write("dup.qlx", schemeText("Keep", 9));
    ::chmod(dir.path("dropLocked.qlx").c_str(), 0444);
    PropertySetStore store(dir.root());
    store.load();

    dir.write("later.qlx", schemeText("Later"));
    dir.write("other.txt", "x");
    store.schemes().erase("Drop");
    store.schemes().erase("DropLocked");
    store.save();

    EXPECT_FALSE(dir.exists("drop.qlx"));
    EXPECT_TRUE(dir.exists("dropLocked.qlx")) << "a read-only file is never deleted";
    EXPECT_TRUE(dir.exists("later.qlx")) << "a file the store did not read is kept";
    EXPECT_TRUE(dir.exists("other.txt"));
    EXPECT_EQ(schemeText("Keep"), dir.read("keep.qlx"));
    EXPECT_EQ(schemeText("Keep", 9), dir.read("dup.qlx")) << "the duplicate is not overwritten";
    EXPECT_EQ(0u, store.files().count("drop.qlx"));
}

TEST(SchemeStore, SavedSchemesLoadBackEqual)
{
    TempDir dir;
    dir.write("s.qlx", schemeText("S"));
    PropertySetStore store(dir.root());
    store.load();
    PropertySet& set = store.find("S")->m_Set;
    set.setString("WS", "\n\t \"x\\");
    set.setBool("FLAG", true);
    PropertySetStore::Entry fresh;
    fresh.m_Set = PropertySet("New/Scheme*");
    store.schemes()["New/Scheme*"] = fresh;
    store.save();

    PropertySetStore again(dir.root());
    again.load();
    ASSERT_EQ(2u, again.schemes().size());
    EXPECT_EQ(set, again.find("S")->m_Set);
    ASSERT_NE(nullptr, again.find("New/Scheme*"));
    EXPECT_EQ("New_Scheme_.qlx", again.find("New/Scheme*")->m_FileName);
}

TEST(SchemeStore, AFailedWriteRaisesWriteErrorWithThePath)
{
    TempDir dir;
    dir.write("s.qlx", schemeText("S"));
    PropertySetStore store(dir.root());
    store.load();
    dir.remove("s.qlx");
    dir.mkdir("s.qlx"); // the file's place is taken by a directory
    try {
        store.save();
        ADD_FAILURE();
    } catch (const PropertySetStore::WriteError& e) {
        EXPECT_EQ(dir.path("s.qlx"), e.m_Path);
    }
}

} // namespace
