// Shared helpers of the line wrapper tests: a complete wrap scheme, a
// parse-and-wrap run, and the golden case reader.
#ifndef STYLISTCPP_LINEWRAPPERTESTSUPPORT_H
#define STYLISTCPP_LINEWRAPPERTESTSUPPORT_H

#include "StylistCpp_ExprFormatterTestSupport.h"

#include "Stylist_PropertySet.h"

#include <string>

namespace StylistCppTest {

// Every key the wrap pass reads, with a plain layout: four-space
// indentation, every family wrapping with its own record (wrap style 1,
// wrap indent four spaces, comma wrap style 2, indent wrap style 1, list
// wrap strategy 1), operators and shifts broken before the operator, and a
// right margin of 40. Overrides as in exprScheme.
Stylist::PropertySet lineWrapScheme(const Overrides& overrides = Overrides());

// Parses text and writes it through a line wrapper built on scheme.
// Throws std::runtime_error when the text does not parse.
std::string wrapText(const std::string& text, const Stylist::PropertySet& scheme);

// Reads a golden case: lines "KEY = value" (value "true"/"false", a
// number, or a quoted whitespace string with \n and \t), then a line
// "--- input", the input text, a line "--- expected" and the expected
// text. Fills the scheme overrides, the input and the expected output.
bool readGoldenCase(const std::string& path, Overrides& overrides, std::string& input, std::string& expected);

} // namespace StylistCppTest

#endif
