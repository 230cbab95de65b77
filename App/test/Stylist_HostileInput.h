// What the program may write for a hostile input: a formatting of the text
// or the text as read, never a part of either.
#ifndef STYLIST_HOSTILEINPUT_H
#define STYLIST_HOSTILEINPUT_H

#include <gtest/gtest.h>

#include <string>

namespace HostileInput {

enum Expect {
    FORMATTED,            // formatted, no diagnostic
    AS_READ_WITH_MESSAGE, // refused with a diagnostic, the text passed through
    EITHER                // one or the other
};

// The text as the program reads it: CR LF, lone CR and LF each one newline.
inline std::string asRead(const std::string& text)
{
    std::string r;
    r.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            r += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            r += text[i];
        }
    }
    return r;
}

inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// A formatting with a scheme that rewrites no braces changes whitespace
// only and writes every line end as CR LF: the non-blank bytes are the
// input's, in order, and no LF stands without its CR. Answers the first
// problem, or "".
inline std::string formattingProblem(const std::string& input, const std::string& output)
{
    std::size_t i = 0, j = 0;
    for (;;) {
        while (i < input.size() && isBlank(input[i]))
            ++i;
        while (j < output.size() && isBlank(output[j])) {
            if (output[j] == '\n' && (j == 0 || output[j - 1] != '\r'))
                return "a line end without CR at output byte " + std::to_string(j);
            ++j;
        }
        if (i == input.size() || j == output.size())
            break;
        if (input[i] != output[j])
            return "input byte " + std::to_string(i) + " differs from output byte " + std::to_string(j);
        ++i;
        ++j;
    }
    if (i != input.size())
        return "the output ends early, at input byte " + std::to_string(i);
    if (j != output.size())
        return "the output goes on past the input, at output byte " + std::to_string(j);
    return std::string();
}

// Checks the output file of one run over input, given what the run printed
// on standard output.
inline void checkOutput(const std::string& input, const std::string& output, const std::string& messages,
                        Expect expect)
{
    const std::string read = asRead(input);
    // The first message line names the scheme and the file; any further
    // line is a diagnostic.
    const bool diagnosed = messages.find('\n') + 1 < messages.size();
    const bool passedThrough = output == read && diagnosed;
    // Refusals are the parser's diagnostics, never an internal fault.
    EXPECT_EQ(std::string::npos, messages.find("An unexpected error")) << messages.substr(0, 1000);
    if (expect == AS_READ_WITH_MESSAGE) {
        EXPECT_TRUE(diagnosed) << "no diagnostic";
        EXPECT_TRUE(output == read) << "the output is not the input as read (" << output.size() << " bytes of "
                                    << read.size() << ")";
        return;
    }
    if (expect == EITHER && passedThrough)
        return;
    EXPECT_FALSE(diagnosed) << messages.substr(0, 1000);
    EXPECT_EQ("", formattingProblem(read, output));
}

} // namespace HostileInput

#endif
