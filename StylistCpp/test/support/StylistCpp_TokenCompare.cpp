#include "StylistCpp_TokenCompare.h"

#include <sstream>

namespace StylistCppTest {

namespace {

std::string shortened(const std::string& s)
{
    return s.size() <= 400 ? s : s.substr(0, 200) + " ... " + s.substr(s.size() - 200);
}

std::string describe(const std::vector<ComparableToken>& tokens, std::size_t i)
{
    if (i >= tokens.size())
        return "(end)";
    std::ostringstream s;
    s << "type " << tokens[i].first << " '" << shortened(tokens[i].second) << "'";
    return s.str();
}

} // namespace

::testing::AssertionResult sameTokens(const std::string& before, const std::string& after)
{
    const std::vector<ComparableToken> a = comparableTokens(before);
    const std::vector<ComparableToken> b = comparableTokens(after);
    const std::size_t i = firstDifference(a, b);
    if (i != NO_DIFFERENCE)
        return ::testing::AssertionFailure() << "token " << i << " differs: " << describe(a, i) << " became "
                                             << describe(b, i) << "\n  before: [" << shortened(before)
                                             << "]\n  after:  [" << shortened(after) << "]";
    return ::testing::AssertionSuccess();
}

} // namespace StylistCppTest
