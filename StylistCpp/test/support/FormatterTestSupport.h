// The formatter tests' earlier helper names; the helpers themselves are the
// pass runner's. New tests include support/StylistCpp_PassRunner.h.
#ifndef STYLISTCPP_FORMATTERTESTSUPPORT_H
#define STYLISTCPP_FORMATTERTESTSUPPORT_H

#include "support/StylistCpp_PassRunner.h"
#include "support/StylistCpp_TokenCompare.h"

namespace FormatterTest {

using StylistCpp::test::firstDifference;
using StylistCpp::test::parsesCleanly;
using StylistCpp::test::readFile;
using StylistCpp::test::readScheme;

inline std::string format(const std::string& text, const Stylist::PropertySet& scheme)
{
    return StylistCpp::test::formatText(text, scheme);
}

inline bool sameTokens(const std::string& a, const std::string& b, std::string* pWhere = nullptr)
{
    const ::testing::AssertionResult r = StylistCppTest::sameTokens(a, b);
    if (!r && pWhere)
        *pWhere = r.message();
    return static_cast<bool>(r);
}

} // namespace FormatterTest

#endif
