// Test support for the emitters of the C++ formatting engine: parse a text
// the way a formatting pass does, run one emitter over it, and compare
// texts; plus the file handling of the golden cases and the test scheme
// files.
//
// Golden cases live in a directory as triples <case>.in.cpp, <case>.scheme
// (a scheme file holding only the keys the case is about) and
// <case>.out.cpp. caseNames lists the stems; a parameterised test runs one
// case per stem.
#ifndef STYLISTCPP_PASSRUNNER_H
#define STYLISTCPP_PASSRUNNER_H

#include "Cpp_SyntaxTree.h"
#include "Stylist_PropertySet.h"
#include "Trn_Message.h"

#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace StylistCpp {
namespace test {

// A text parsed as a formatting pass parses it: the lexer with its default
// verbatim regions, then the parser; the diagnostics in the order reported.
struct ParsedText {
    std::unique_ptr<Cpp::RootNode> pRoot;
    std::vector<Trn::Message> messages;
};

ParsedText parseText(const std::string& text);

// "code line:col" for each message, joined by ", ".
std::string describeMessages(const std::vector<Trn::Message>& messages);

// Whether the parse reported nothing that stops the format pipeline: the
// notice that a function looks unterminated does not count. Otherwise
// *pFirstMessage (when given) receives "line: text" of the first message that
// counts.
bool parsedCleanly(const ParsedText& parsed, std::string* pFirstMessage = nullptr);

inline bool parsesCleanly(const std::string& text, std::string* pFirstMessage = nullptr)
{
    return parsedCleanly(parseText(text), pFirstMessage);
}

// The text parsed as the pipeline parses it and written through an emitter
// built from (text, output stream, scheme), as the format and wrap passes
// build theirs; the emitter is destroyed before the output is read. Throws
// std::runtime_error when the text does not parse cleanly.
template <class EmitterT>
std::string emitText(const std::string& text, const Stylist::PropertySet& scheme)
{
    ParsedText parsed = parseText(text);
    std::string message;
    if (!parsedCleanly(parsed, &message))
        throw std::runtime_error("the text does not parse: " + message);
    std::ostringstream out;
    {
        EmitterT emitter(text, out, scheme);
        parsed.pRoot->accept(emitter);
    }
    return out.str();
}

// emitText with the formatter of the format pass.
std::string formatText(const std::string& text, const Stylist::PropertySet& scheme);

// One pass as the format pipeline runs it: the text is parsed, an emitter is
// built from (scheme, text, output stream), the root accepts it, and the
// emitter is destroyed before the output is read. A text with diagnostics
// is never walked: the pass answers false and leaves output empty.
template <class EmitterT>
bool runPass(const Stylist::PropertySet& scheme, const std::string& text, std::string& output)
{
    output.clear();
    ParsedText parsed = parseText(text);
    if (!parsed.messages.empty())
        return false;
    std::ostringstream out;
    {
        EmitterT emitter(scheme, text, out);
        parsed.pRoot->accept(emitter);
    }
    output = out.str();
    return true;
}

// Empty when the texts are equal; otherwise where they first differ, as
// "line L, column C: expected "..." but got "..."" with the rest of that line
// of each text (columns from 1).
std::string firstDifference(const std::string& expected, const std::string& actual);

// The whole content of a file; a file that cannot be read fails the
// calling test and answers the empty string.
std::string readFile(const std::string& path);

// The stems of the files in directory whose names end in suffix, sorted.
std::vector<std::string> fileStems(const std::string& directory, const std::string& suffix);

// The stems of the golden cases of a directory (the <case>.in.cpp files).
inline std::vector<std::string> caseNames(const std::string& directory)
{
    return fileStems(directory, ".in.cpp");
}

// A stem as a test name: every character that is not a letter, a digit or
// an underscore becomes an underscore.
std::string testNameOf(const std::string& stem);

// Every property of overrides replaces or adds to target's.
void overlay(Stylist::PropertySet& target, const Stylist::PropertySet& overrides);

// A test scheme file: lines "KEY = value" where a value is "true" or
// "false" (flag), a number (integer) or a quoted string with the escapes
// \n, \t, \\ and \" (whitespace string). Empty lines and lines starting with
// "#" are skipped. A line "base = NAME" first reads <baseDir>/NAME.scheme,
// whose keys the later lines override. Throws std::runtime_error on a line
// without "=".
Stylist::PropertySet readScheme(const std::string& path, const std::string& baseDir);

// One value of a test scheme line ("true", "false", a number or a quoted
// string) stored under key after one value the key held is removed (the
// set's remove takes its string, else its integer, else its flag).
void setSchemeValue(Stylist::PropertySet& scheme, const std::string& key, const std::string& value);

// Keys given inline as "KEY=value" separated by blanks, each stored as
// setSchemeValue stores it: true/false a flag, digits an integer, 'text a
// whitespace string in which "_" stands for a space and "~" for a line break.
void applyKeys(Stylist::PropertySet& scheme, const std::string& keys);

// The scheme file at path read over base: every property the file holds
// replaces or adds to base's. A file that cannot be read fails the calling
// test and answers base.
Stylist::PropertySet readSchemeOver(const Stylist::PropertySet& base, const std::string& path);

} // namespace test
} // namespace StylistCpp

#endif
