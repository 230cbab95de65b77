// Compact text form of a syntax tree, for tests: one node per line, indented
// by depth, with the class name, the locations, the node's fields, and for a
// leaf the source text between its locations.
//
//   DataDeclNode 1:1-1:6
//     TypeNode 1:1-1:3 "int"
//     IdNode 1:5-1:5 name=x "x"
#ifndef CPP_TREEDUMP_H
#define CPP_TREEDUMP_H

#include "Cpp_SyntaxNode.h"

#include <string>

namespace Cpp {

// The text between two locations of source, both inclusive: a location's
// column is that of the character it stands on, and column 0 stands for the
// newline ending the line before.
std::string textBetween(const std::string& source, const Trn::Location& start, const Trn::Location& end);

// The dump of node and everything below it. With an empty source, leaves are
// shown without their text.
std::string dumpTree(const SyntaxNode& node, const std::string& source = std::string());

} // namespace Cpp

#endif
