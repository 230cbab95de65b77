// Test support: whether two texts lex to the same tokens, so that a test of
// any emitter can check that formatting changed nothing but whitespace.
//
// Tokens are compared by type and text, with these allowances for what a
// formatter may legitimately change:
// - comments (and verbatim regions) are compared with all their inner
//   whitespace removed;
// - preprocessor tokens (directive lines, "#if 0" blocks) with every run
//   of whitespace taken as one blank;
// - names with template arguments are compared with the argument list
//   lexed again and compared token by token, and blanks in qualified names
//   ignored;
// - where lexing stops at an unterminated literal, the rest of the text is
//   compared with its whitespace runs taken as one blank.
#ifndef STYLISTCPP_TOKENCOMPARE_H
#define STYLISTCPP_TOKENCOMPARE_H

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace StylistCppTest {

// One token as compared: its type and its normalised text.
using ComparableToken = std::pair<std::int32_t, std::string>;

// The tokens of a text, normalised as described above.
std::vector<ComparableToken> comparableTokens(const std::string& text);

// Success when both texts lex to the same normalised tokens; otherwise a
// failure naming the first token that differs.
::testing::AssertionResult sameTokens(const std::string& before, const std::string& after);

} // namespace StylistCppTest

#endif
