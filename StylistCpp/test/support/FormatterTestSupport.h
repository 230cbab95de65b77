// Helpers of the formatter tests, over the shared pass runner and token
// comparison: parse a text as the format pass does, run the formatter over
// it, read the formatter's test schemes, compare texts.
#ifndef STYLISTCPP_FORMATTERTESTSUPPORT_H
#define STYLISTCPP_FORMATTERTESTSUPPORT_H

#include "Stylist_PropertySet.h"

#include <string>
#include <vector>

namespace FormatterTest {

// Parses text; answers whether the parser reported nothing (the
// "function appears unterminated" notice aside, as the pipeline does).
bool parsesCleanly(const std::string& text, std::string* pFirstMessage = nullptr);

// Parses text and writes it through a formatter built on scheme. Throws
// std::runtime_error when the text does not parse cleanly.
std::string format(const std::string& text, const Stylist::PropertySet& scheme);

// A test scheme file: lines "KEY = value" where a value is "true" or
// "false" (flag), a number (integer) or a quoted string with the escapes
// \n, \t, \\ and \" (whitespace string). Empty lines and lines starting
// with "#" are skipped. A line "base = NAME" first reads
// <baseDir>/NAME.scheme, whose keys the later lines override.
Stylist::PropertySet readScheme(const std::string& path, const std::string& baseDir);

// Where the texts first differ (the pass runner's description); empty
// when they are equal.
std::string firstDifference(const std::string& expected, const std::string& actual);

// Whether two texts lex to the same tokens (the shared comparison of
// support/StylistCpp_TokenCompare.h). On a mismatch *pWhere describes the
// first differing token.
bool sameTokens(const std::string& a, const std::string& b, std::string* pWhere = nullptr);

std::string readFile(const std::string& path);

} // namespace FormatterTest

#endif
