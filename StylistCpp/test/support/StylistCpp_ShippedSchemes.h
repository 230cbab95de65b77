// Test support for tests that run texts through the whole pipeline under
// every shipped scheme: the schemes, loaded once from the source tree, and
// an assertion that formats a text.
//     class MySuite : public ::testing::TestWithParam<const char*> {};
//     TEST_P(MySuite, X) {
//         StylistCpp::FormatPipeline pipeline(StylistCppTest::shippedScheme(GetParam()));
//         std::string out;
//         ASSERT_TRUE(StylistCppTest::formatted(pipeline, text, out));
//     }
//     INSTANTIATE_TEST_SUITE_P(ShippedSchemes, MySuite,
//                              ::testing::ValuesIn(StylistCppTest::SHIPPED_SCHEMES));
#ifndef STYLISTCPP_SHIPPEDSCHEMES_H
#define STYLISTCPP_SHIPPEDSCHEMES_H

#include "StylistCpp.h"
#include "Stylist_PropertySet.h"

#include <gtest/gtest.h>

#include <string>

namespace StylistCppTest {

// The names of the six shipped schemes.
extern const char* const SHIPPED_SCHEMES[6];

// The shipped scheme of that name (loaded from the source tree's schemes
// folder on first use); a test that names no shipped scheme is a fatal
// error of the test program.
const Stylist::PropertySet& shippedScheme(const std::string& name);

// Formats text with the pipeline into out; a failure names the error count
// or the contract violation and the text.
::testing::AssertionResult formatted(StylistCpp::FormatPipeline& pipeline, const std::string& text, std::string& out);

} // namespace StylistCppTest

#endif
