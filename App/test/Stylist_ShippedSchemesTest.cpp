// The shipped schemes: each one reads as a scheme file, carries the name of
// its file, is current (conversion leaves it alone), and holds every key
// that any reader of a format run requires, with legal values, so that no
// run fails for a missing or bad key whatever the text.
#include "Stylist_PropertySet.h"
#include "Stylist_SchemeKeys.h"
#include "Stylist_UserDataConverter.h"
#include "StylistCpp_FormatterConfig.h"

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>

#include <fstream>
#include <string>
#include <vector>

namespace {

std::vector<boost::filesystem::path> shippedSchemeFiles()
{
    std::vector<boost::filesystem::path> files;
    for (boost::filesystem::directory_iterator it(std::string(QUILLON_SOURCE_DIR) + "/schemes"), end; it != end; ++it)
        if (it->path().extension() == ".qlx")
            files.push_back(it->path());
    return files;
}

// The keys whose presence or value differs between a and b.
template <class Map>
std::string differences(const Map& a, const Map& b)
{
    std::string out;
    for (const auto& kv : a)
        if (!b.count(kv.first) || b.at(kv.first) != kv.second)
            out += " " + kv.first;
    for (const auto& kv : b)
        if (!a.count(kv.first))
            out += " +" + kv.first;
    return out;
}

TEST(ShippedSchemes, AreCompleteAndCurrent)
{
    const std::vector<boost::filesystem::path> files = shippedSchemeFiles();
    ASSERT_GE(files.size(), 5u);
    bool haveDefault = false;
    for (const boost::filesystem::path& file : files) {
        SCOPED_TRACE(file.string());
        std::ifstream in(file.string(), std::ios::binary);
        Stylist::PropertySet scheme;
        ASSERT_TRUE(static_cast<bool>(scheme.read(in)));
        EXPECT_EQ(file.stem().string(), scheme.name());
        haveDefault = haveDefault || scheme.name() == "Default";

        std::string version;
        EXPECT_TRUE(scheme.getString(Stylist::Key::QUILLON_VERSION, version));
        EXPECT_EQ("1.4.4", version);
        EXPECT_FALSE(Stylist::schemeNeedsConversion(scheme, "1.4.4"));
        Stylist::PropertySet converted = scheme;
        EXPECT_FALSE(Stylist::convertScheme(converted))
            << "conversion would change:" << differences(scheme.bools(), converted.bools())
            << differences(scheme.ints(), converted.ints()) << differences(scheme.strings(), converted.strings());

        // Every reader, as a format run builds them; none may throw.
        EXPECT_NO_THROW(StylistCpp::readRewriterSettings(scheme));
        EXPECT_NO_THROW(StylistCpp::readFormatterSettings(scheme));
        EXPECT_NO_THROW(StylistCpp::readExprFormatterSettings(scheme));
        EXPECT_NO_THROW(StylistCpp::readExprLineWrapperSettings(scheme));
        EXPECT_NO_THROW(StylistCpp::readLineWrapperSettings(scheme));
        EXPECT_NO_THROW(StylistCpp::readAlignmentSettings(scheme));

        // Every reader must be satisfied without the defaulting step's
        // help too, so a key the step would fill in is there as well.
        for (const char* key : {Stylist::Key::TAB_SIZE, Stylist::Key::ASTERISK_ANCHOR, Stylist::Key::AMPERSAND_ANCHOR,
                                Stylist::Key::WS_AFTER_PARAM_TYPE_ID, Stylist::Key::CONVERT_WS,
                                Stylist::Key::OPERATOR_WRAP_STYLE, Stylist::Key::WS_BETWEEN_EXPR_OP_OPERANDS})
            EXPECT_TRUE(scheme.has(key)) << key;
    }
    EXPECT_TRUE(haveDefault);
}

} // namespace
