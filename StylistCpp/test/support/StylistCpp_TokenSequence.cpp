#include "StylistCpp_TokenSequence.h"

#include "StylistCpp_Verifier.h"

#include <algorithm>

namespace StylistCppTest {

std::vector<ComparableToken> comparableTokens(const std::string& text)
{
    const std::vector<StylistCpp::Verifier::ComparableToken> tokens = StylistCpp::Verifier::comparableTokens(text);
    std::vector<ComparableToken> result;
    result.reserve(tokens.size());
    for (const StylistCpp::Verifier::ComparableToken& t : tokens)
        result.emplace_back(t.type, t.text);
    return result;
}

std::size_t firstDifference(const std::vector<ComparableToken>& a, const std::vector<ComparableToken>& b)
{
    const std::size_t n = std::max(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i)
        if (i >= a.size() || i >= b.size() || a[i] != b[i])
            return i;
    return NO_DIFFERENCE;
}

} // namespace StylistCppTest
