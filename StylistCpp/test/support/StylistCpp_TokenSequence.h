// Test support without a test framework: the tokens of a text as compared
// for sameness, so that tests and fuzz targets of any emitter can check
// that formatting changed nothing but whitespace.
//
// Tokens are compared by type and text, with these allowances for what a
// formatter may legitimately change:
// - comments (and verbatim regions) are compared with all their inner
//   whitespace removed;
// - preprocessor tokens (directive lines, "#if 0" blocks) with every run
//   of whitespace taken as one blank;
// - names with template arguments are compared with each argument list
//   lexed again and compared token by token, and blanks in qualified names
//   ignored;
// - where lexing stops at an unterminated literal, the rest of the text is
//   compared with its whitespace runs taken as one blank.
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
