// Test support: the GoogleTest assertion that two texts lex to the same
// tokens (see StylistCpp_TokenSequence.h for what counts as the same).
//     EXPECT_TRUE(sameTokens(input, formatted));
#ifndef STYLISTCPP_TOKENCOMPARE_H
#define STYLISTCPP_TOKENCOMPARE_H

#include "StylistCpp_TokenSequence.h"

#include <gtest/gtest.h>

#include <string>

namespace StylistCppTest {

// Success when both texts lex to the same normalised tokens; otherwise a
// failure naming the first token that differs.
::testing::AssertionResult sameTokens(const std::string& before, const std::string& after);

} // namespace StylistCppTest

#endif
