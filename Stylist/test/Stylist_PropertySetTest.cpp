// Property-set semantics and the scheme file format.
#include "Stylist_Exception.h"
#include "Stylist_PropertySet.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using Stylist::PropertySet;

// ---- property-set semantics ------------------------------------------------

TEST(PropertySet, OneNameMayCarryAValueOfEachTypeAndRemoveTakesOneAtATime)
{
    PropertySet set("s");
    set.setInt("X", 7);
    set.setBool("X", true);
    set.setString("X", "text");
    std::int32_t i = 0;
    bool b = false;
    std::string s;
    EXPECT_TRUE(set.getInt("X", i));
    EXPECT_TRUE(set.getBool("X", b));
    EXPECT_TRUE(set.getString("X", s));
    EXPECT_EQ(7, i);
    EXPECT_TRUE(b);
    EXPECT_EQ("text", s);

    // string first, then integer, then boolean
    EXPECT_TRUE(set.remove("X"));
    EXPECT_FALSE(set.getString("X", s));
    EXPECT_TRUE(set.getInt("X", i));
    EXPECT_TRUE(set.remove("X"));
    EXPECT_FALSE(set.getInt("X", i));
    EXPECT_TRUE(set.getBool("X", b));
    EXPECT_TRUE(set.has("X"));
    EXPECT_TRUE(set.remove("X"));
    EXPECT_FALSE(set.has("X"));
    EXPECT_FALSE(set.remove("X"));
}

TEST(PropertySet, SettersOverwriteAndLookupsOfAbsentNamesLeaveTheOutValue)
{
    PropertySet set;
    set.setInt("N", 1);
    set.setInt("N", -2);
    set.setString("S", static_cast<const char*>(nullptr));
    std::int32_t i = 99;
    EXPECT_TRUE(set.getInt("N", i));
    EXPECT_EQ(-2, i);
    i = 99;
    EXPECT_FALSE(set.getInt("n", i)) << "letter case matters";
    EXPECT_EQ(99, i);
    bool b = true;
    EXPECT_FALSE(set.getBool("N", b));
    EXPECT_TRUE(b);
    std::string s = "kept";
    EXPECT_TRUE(set.getString("S", s));
    EXPECT_EQ("", s);
    EXPECT_FALSE(set.getString("T", s));
    EXPECT_EQ("", s);
}

TEST(PropertySet, InvalidNamesAreRejectedAndChangeNothing)
{
    PropertySet set("s");
    set.setInt("A", 1);
    const PropertySet before = set;
    for (const char* name : {"", " ", "A B", "A\tB", "A\n", "\rA", "A\vB", "A\fB"}) {
        try {
            set.setInt(name, 2);
            ADD_FAILURE() << "accepted [" << name << "]";
        } catch (const Stylist::InvalidPropertyName& e) {
            EXPECT_EQ("Invalid name for a Property.", e.message());
        }
        EXPECT_THROW(set.setBool(name, true), Stylist::InvalidPropertyName);
        EXPECT_THROW(set.setString(name, "v"), Stylist::InvalidPropertyName);
        EXPECT_THROW(set.has(name), Stylist::InvalidPropertyName);
        EXPECT_THROW(set.remove(name), Stylist::InvalidPropertyName);
    }
    EXPECT_EQ(before, set);
    std::int32_t i = 5;
    EXPECT_FALSE(set.getInt("A B", i)) << "lookups do not validate";
}

TEST(PropertySet, RequiredLookupsNameTheSchemeAndTheProperty)
{
    PropertySet set("default");
    set.setBool("B", false);
    bool b = true;
    set.requireBool("B", b);
    EXPECT_FALSE(b);
    std::string s;
    try {
        set.requireString("WS_AFTER_CS_KEY", s);
        ADD_FAILURE();
    } catch (const Corvale::Exception& e) {
        const auto* missing = dynamic_cast<const Stylist::PropertyMissingException*>(&e);
        ASSERT_NE(nullptr, missing);
        EXPECT_EQ("Scheme \"default\" is missing property WS_AFTER_CS_KEY.", e.message());
        EXPECT_EQ("default", missing->schemeName());
        EXPECT_EQ("WS_AFTER_CS_KEY", missing->propertyName());
    }
    std::int32_t i;
    EXPECT_THROW(set.requireInt("B", i), Stylist::PropertyMissingException) << "the boolean does not count";
}

TEST(PropertySet, SwapExchangesEverything)
{
    PropertySet a("a"), b("b");
    a.setInt("I", 1);
    b.setString("S", "x");
    const PropertySet a0 = a, b0 = b;
    swap(a, b);
    EXPECT_EQ(b0, a);
    EXPECT_EQ(a0, b);
}

// ---- writing ---------------------------------------------------------------

TEST(SchemeFile, WritesGroupsInNameOrderWithEscapes)
{
    PropertySet set("My Scheme");
    set.setString("b", "tab\there \"q\" 'a' back\\slash\nline\rcr\vvt");
    set.setString("a", "");
    set.setInt("Z", -12);
    set.setInt("A", 3);
    set.setBool("y", false);
    set.setBool("X", true);
    std::ostringstream out;
    out << set;
    EXPECT_EQ("Stylist::PropertySet\n"
              "1\n"
              "\"My Scheme\"\n"
              "1 X 1\n"
              "1 y 0\n"
              "2 A 3\n"
              "2 Z -12\n"
              "3 a \"\"\n"
              "3 b \"tab\\there \\\"q\\\" \\'a\\' back\\\\slash\\nline\\rcr\\vvt\"\n",
              out.str());
}

// ---- reading ---------------------------------------------------------------

PropertySet readOk(const std::string& text)
{
    std::istringstream in(text);
    PropertySet set("untouched");
    set.read(in);
    EXPECT_FALSE(in.fail()) << text;
    return set;
}

TEST(SchemeFile, ReadsHandEditedFiles)
{
    const PropertySet plain = readOk("Stylist::PropertySet\n1\n\"S\"\n2 TAB_SIZE 4\n");
    const struct {
        const char* what;
        const char* text;
    } sameAsPlain[] = {
        {"comments and empty lines anywhere", "# a comment\n\nStylist::PropertySet\n# another\n1\n\n\"S\"\n#x\n"
                                              "2 TAB_SIZE 4\n\n# last"},
        {"CR LF line ends", "Stylist::PropertySet\r\n1\r\n\"S\"\r\n2 TAB_SIZE 4\r\n"},
        {"blanks around lines", "  Stylist::PropertySet \t\n 1 \n \"S\" \n\t2   TAB_SIZE\t4  \n"},
        {"no final line end", "Stylist::PropertySet\n1\n\"S\"\n2 TAB_SIZE 4"},
        {"unquoted name", "Stylist::PropertySet\n1\nS\n2 TAB_SIZE 4\n"},
        {"text after a value", "Stylist::PropertySet\n1\n\"S\"\n2 TAB_SIZE 4 apples\n"},
        {"unparsable numbers are skipped", "Stylist::PropertySet\n1\n\"S\"\n2 RIGHT_MARGIN wide\n2 TAB_SIZE 4\n"
                                           "1 FLAG 2\n1 FLAG yes\n2 BIG 2147483648\n1 NONAME\n2\n"},
    };
    EXPECT_EQ("S", plain.name());
    for (const auto& c : sameAsPlain)
        EXPECT_EQ(plain, readOk(c.text)) << c.what;
}

TEST(SchemeFile, ReadsStringValues)
{
    const struct {
        const char* line;
        const char* value;
    } cases[] = {
        {"3 K word", "word"},
        {"3 K word and more", "word"},
        {"3 K \"with blanks \"", "with blanks "},
        {"3 K \"a\\\"b\" tail", "a\"b"},
        {"3 K \"\\t\\n\\r\\v\\\\\\q\\'\"", "\t\n\r\v\\q'"},
        {"3 K \"unclosed value", "\"unclosed value"},
        {"3 K \"ends in backslash\\", "\"ends in backslash"},
        {"3 K", ""},
        {"3 K \"\"", ""},
        {"3 K \"\\\"\"", "\""},
        {"3 K ab\\", "ab"},
    };
    for (const auto& c : cases) {
        const PropertySet set = readOk(std::string("Stylist::PropertySet\n1\n\"S\"\n") + c.line + "\n");
        std::string v = "absent";
        EXPECT_TRUE(set.getString("K", v)) << c.line;
        EXPECT_EQ(c.value, v) << c.line;
    }
}

TEST(SchemeFile, UnreadableFilesLeaveTheTargetAndFailTheStream)
{
    const struct {
        const char* what;
        const char* text;
    } cases[] = {
        {"empty input", ""},
        {"only comments", "# nothing\n\n"},
        {"header with more after it", "Stylist::PropertySet2\n1\n\"S\"\n"},
        {"header of another kind", "Stylist::PropertySetStore\n1\n\"S\"\n"},
        {"header in other case", "stylist::propertyset\n1\n\"S\"\n"},
        {"version 2", "Stylist::PropertySet\n2\n\"S\"\n"},
        {"version not a number", "Stylist::PropertySet\none\n\"S\"\n"},
        {"ends before the name", "Stylist::PropertySet\n1\n"},
        {"type code 4", "Stylist::PropertySet\n1\n\"S\"\n2 A 1\n4 B 1\n"},
        {"type code 0", "Stylist::PropertySet\n1\n\"S\"\n0 B 1\n"},
        {"type code not a number", "Stylist::PropertySet\n1\n\"S\"\nX B 1\n"},
    };
    for (const auto& c : cases) {
        PropertySet target("target");
        target.setInt("KEEP", 1);
        const PropertySet before = target;
        std::istringstream in(c.text);
        target.read(in);
        EXPECT_TRUE(in.fail()) << c.what;
        EXPECT_EQ(before, target) << c.what;
    }
}

TEST(SchemeFile, StringPropertyWithoutNameIsAnInvalidName)
{
    PropertySet target("target");
    std::istringstream in("Stylist::PropertySet\n1\n\"S\"\n2 A 1\n3\n");
    EXPECT_THROW(target.read(in), Stylist::InvalidPropertyName);
    EXPECT_EQ(PropertySet("target"), target);
}

TEST(SchemeFile, ReadingReplacesWhatTheTargetHeld)
{
    PropertySet target("old");
    target.setInt("GONE", 1);
    std::istringstream in("Stylist::PropertySet\n1\n\"new\"\n1 B 1\n");
    in >> target;
    ASSERT_FALSE(in.fail());
    PropertySet expected("new");
    expected.setBool("B", true);
    EXPECT_EQ(expected, target);
}

// ---- round trips ------------------------------------------------------------

TEST(SchemeFile, EverySetReadsBackEqual)
{
    std::string allBytes;
    for (int c = 1; c < 256; ++c)
        allBytes += static_cast<char>(c);

    PropertySet set(" a \"scheme\" name ");
    set.setBool("A", true);
    set.setBool("b", false);
    set.setInt("A", -2147483647 - 1);
    set.setInt("max", 2147483647);
    set.setString("A", "x");
    set.setString("#hash", "# not a comment");
    set.setString("quote\"in'name\\", "'");
    set.setString("empty", "");
    set.setString("blanks", "   ");
    set.setString("mixed", " \t\n\n\"\\\\'\r\v\f end ");
    set.setString("trailing", "path\\");
    set.setString("quoted", "\"already quoted\"");
    set.setString("all", allBytes);
    set.setString("nul", std::string("a\0b", 3));

    std::ostringstream out;
    out << set;
    const PropertySet back = readOk(out.str());
    EXPECT_EQ(set, back);

    for (const char* name : {"", "plain", "with \"quotes\"", "\"", "#1"}) {
        std::ostringstream o;
        o << PropertySet(name);
        EXPECT_EQ(PropertySet(name), readOk(o.str())) << name;
    }
}

TEST(SchemeFile, EscapeAndUnescapeAreInverse)
{
    for (const char* value : {"", "\\", "\\\\n", "\"'\t", "a\\b\\"})
        EXPECT_EQ(value, Stylist::unescapeValue(Stylist::escapeValue(value))) << value;
}

} // namespace
