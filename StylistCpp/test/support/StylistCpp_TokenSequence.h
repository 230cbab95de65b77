// Test support without a test framework: the tokens of a text as compared
// for sameness, so that tests and fuzz targets of any emitter can check
// that formatting changed nothing but whitespace.
//
// The comparison itself is the pipeline's self-check (StylistCpp_Verifier.h);
// this is its view as (type, normalised text) pairs.
#ifndef STYLISTCPP_TOKENSEQUENCE_H
#define STYLISTCPP_TOKENSEQUENCE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace StylistCppTest {

// One token as compared: its type and its normalised text.
using ComparableToken = std::pair<std::int32_t, std::string>;

// The tokens of a text, normalised as described above.
std::vector<ComparableToken> comparableTokens(const std::string& text);

const std::size_t NO_DIFFERENCE = static_cast<std::size_t>(-1);

// The index of the first token that differs (one sequence ending early
// counts), or NO_DIFFERENCE.
std::size_t firstDifference(const std::vector<ComparableToken>& a, const std::vector<ComparableToken>& b);

} // namespace StylistCppTest

#endif
