#include "Stylist_Exception.h"
#include "Stylist_Messages.h"

#include <gtest/gtest.h>

namespace {

using Stylist::appMessage;
using Stylist::fillMessage;
using Stylist::topLevelMessage;

TEST(Messages, UnusedAndOutOfRangeNumbersAreContractViolations)
{
    for (int n : {-1, 0, 6, 13}) {
        EXPECT_THROW(topLevelMessage(n), Corvale::ContractViolation) << n;
    }
    for (int n : {-1, 36, 38}) {
        EXPECT_THROW(appMessage(n), Corvale::ContractViolation) << n;
    }
    for (int n : {1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12}) {
        EXPECT_NO_THROW(topLevelMessage(n)) << n;
    }
    for (int n = 0; n <= 37; ++n) {
        if (n != 36) {
            EXPECT_NO_THROW(appMessage(n)) << n;
        }
    }
}

TEST(Messages, CatalogueSharesTheUnexpectedErrorTexts)
{
    EXPECT_EQ(topLevelMessage(3), appMessage(3));
    EXPECT_EQ(topLevelMessage(4), appMessage(4));
}

TEST(Messages, PlaceholdersAreFilledInOrder)
{
    EXPECT_EQ("Using scheme Default to format -", fillMessage(appMessage(14), "-", "Default"));
    EXPECT_EQ("Could not open file \"a b.cpp\" for input.", fillMessage(topLevelMessage(8), "a b.cpp"));
    EXPECT_EQ("Quillon C++ 1.4.4", fillMessage(topLevelMessage(7), "1.4.4").substr(0, 17));
    // Texts with percent signs in a value, and odd numbers of values, never
    // make filling fail.
    EXPECT_EQ("Writing buffer: 100%", fillMessage(appMessage(19), "100%"));
    EXPECT_EQ("Writing buffer: ", fillMessage(appMessage(19)));
    EXPECT_EQ("Writing buffer: a", fillMessage(appMessage(19), "a", "b"));
}

TEST(Messages, MultiLineTexts)
{
    EXPECT_EQ("The scheme: 'S' has the invalid value: 7 for the option: K.\n"
              " The scheme file may have become corrupted.\n",
              fillMessage(appMessage(13), "S", 7, "K"));
    const std::string twelve = fillMessage(appMessage(12), "LIST");
    EXPECT_EQ("The following schemes were created using a previous version of Quillon C++:\r\nLISTThe files",
              twelve.substr(0, twelve.find(" are read-only")));
}

} // namespace
