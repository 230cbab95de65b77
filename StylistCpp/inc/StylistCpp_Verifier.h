// StylistCpp::Verifier: the pipeline's check of its own output.
//
// Formatting must never change what the code means. Before the pipeline
// writes anything, it compares the tokens of each pass's output with those
// of its input:
// - the format and wrap passes may change whitespace only: both texts lex
//   to the same tokens, with these allowances
//     * comments (and verbatim regions) compared with their inner
//       whitespace removed;
//     * preprocessor lines compared with the leading whitespace of their
//       continuation lines removed;
//     * names with template arguments compared with each argument list
//       lexed again and compared token by token, blanks in qualified names
//       ignored;
//     * where lexing stops at an unterminated literal, the rest of the text
//       compared with its whitespace runs taken as one blank;
// - the rewrite pass may add or remove the braces of control bodies that
//   hold a single statement and nothing else: the syntax trees of its input
//   and output must agree node by node (kinds, and the tokens each leaf
//   covers and those between leaves), a braced body holding exactly one
//   statement being equal to that statement alone. So a statement moved
//   into or out of a body, or an "else" that comes to belong to another
//   "if", is a difference.
// A failed check is an internal inconsistency of the pipeline: it raises a
// Corvale::ContractViolation naming the first differing position in the
// input and in the output (line and column).
//
// Both comparisons run in one walk of the two token sequences (for the
// rewrite, in step with one walk of the two trees, which the pipeline
// parses anyway for its passes). The tokens of the text the format pass
// starts from are those its parse read, recorded as it read them; the
// rewrite's input and the final text are lexed once each.
#ifndef STYLISTCPP_VERIFIER_H
#define STYLISTCPP_VERIFIER_H

#include "Cpp_Parser.h"
#include "Trn_Location.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Cpp {
class RootNode;
}

namespace StylistCpp {

namespace Verifier {

// One token as compared: its type, its normalised text and where it starts.
struct ComparableToken {
    std::int32_t type;
    std::string text;
    Trn::Location start;
    // The text is a name's spelling (with template arguments or blanks),
    // normalised only when it is compared with a different text: most such
    // names are spelled alike on both sides.
    bool spelled = false;

    bool sameAs(const ComparableToken& other) const
    {
        return type == other.type && (text == other.text || sameNormalisedText(other));
    }

private:
    bool sameNormalisedText(const ComparableToken& other) const;
};

// The tokens of a text, normalised as described above.
std::vector<ComparableToken> comparableTokens(const std::string& text);
// The same for lists that are only compared (sameAs): a name with template
// arguments or blanks keeps its spelling, normalised only when it meets a
// different one, which is cheaper than normalising every such name.
std::vector<ComparableToken> spelledTokens(const std::string& text);

const std::size_t NO_DIFFERENCE = static_cast<std::size_t>(-1);

// The index of the first token that differs by type or normalised text (one
// sequence ending early counts), or NO_DIFFERENCE.
std::size_t firstDifference(const std::vector<ComparableToken>& a, const std::vector<ComparableToken>& b);

// The result of comparing a pass's input with its output: whether they
// agree, and if not where the first difference lies in each text.
struct Comparison {
    bool same = true;
    Trn::Location input;
    Trn::Location output;
    std::string reason;
};

// Whitespace-only comparison.
Comparison compareWhitespaceOnly(const std::string& input, const std::string& output);

// The tokens of one text as the comparisons read them, recorded while the
// parser reads that text anyway (see TokenRecorder), so that the
// comparisons need not lex it again. A token is kept as its type and where
// its spelling lies (in the text, or in a store of its own for a spelling
// the text does not hold as written), 12 bytes. Where a token starts is
// worked out from where its spelling lies and the text's line starts, which
// a recording that keeps starts holds (4 bytes a line; the tree comparison
// needs starts, the whitespace comparison does not); only a token whose
// spelling is stored keeps its start. The text itself is kept by the
// caller.
class RecordedTokens {
public:
    struct Token {
        std::int32_t type;
        std::uint32_t offset;
        std::uint32_t length;
    };

    explicit RecordedTokens(bool keepStarts = false) : m_KeepStarts(keepStarts) {}

    // Adds a token of the text [pText, pText + textSize) starting at start,
    // whose spelling is a view into that text or the lexer's own copy of
    // the bytes at pAt. A text past the 32-bit offsets stops the recording
    // (it is then never complete).
    void add(const char* pText, std::size_t textSize, std::int32_t type, const Trn::Location& start,
             std::string_view spelling, const char* pAt);
    // Marks the recording as holding every token of its text.
    void finish() { m_Complete = m_Usable; }
    bool complete() const { return m_Complete; }

    std::size_t size() const { return m_Size; }
    const Token& operator[](std::size_t i) const { return m_Blocks[i >> BLOCK_SHIFT][i & BLOCK_MASK]; }
    bool hasStarts() const { return m_KeepStarts; }
    // Where token i starts (contract: hasStarts()). line is a hint, the
    // index of the line the previous call found: reading the tokens in
    // order, each call looks at a line or two.
    Trn::Location start(std::size_t i, std::size_t& line) const;
    // Frees the starts once no comparison needs them.
    void dropStarts()
    {
        m_KeepStarts = false;
        std::vector<std::uint32_t>().swap(m_LineStarts);
        std::vector<std::pair<std::uint32_t, Trn::Location>>().swap(m_StoredStarts);
    }
    // The spelling of a token recorded from text (the same characters as
    // the text recorded from, wherever that string now is).
    std::string_view spelling(const Token& token, const std::string& text) const
    {
        if (token.length == 0)
            return std::string_view();
        return token.offset < text.size() ? std::string_view(text).substr(token.offset, token.length)
                                          : std::string_view(m_Store).substr(token.offset - text.size(), token.length);
    }

private:
    // Blocks of 4096 tokens: the recording never copies tokens to grow.
    static constexpr std::size_t BLOCK_SHIFT = 12;
    static constexpr std::size_t BLOCK_MASK = (std::size_t(1) << BLOCK_SHIFT) - 1;

    std::vector<std::unique_ptr<Token[]>> m_Blocks;
    bool m_KeepStarts;
    // The size of the text recorded from; with starts, the offset of each
    // of its lines (the first line's at 0) and the starts of the tokens
    // whose spelling is stored, by index.
    std::size_t m_TextSize = 0;
    std::vector<std::uint32_t> m_LineStarts;
    std::vector<std::pair<std::uint32_t, Trn::Location>> m_StoredStarts;
    std::size_t m_Size = 0;
    std::string m_Store;
    bool m_Usable = true;
    bool m_Complete = false;
};

// Records the tokens a parse of text reads (Cpp::Parser::observeTokens)
// into a RecordedTokens, as the comparisons would read them from the text.
// The recording is complete once finish() is called on it after a parse
// that read the whole text.
class TokenRecorder : public Cpp::TokenObserver {
public:
    TokenRecorder(const std::string& text, RecordedTokens& into);
    ~TokenRecorder() override;
    TokenRecorder(const TokenRecorder&) = delete;
    TokenRecorder& operator=(const TokenRecorder&) = delete;

    void token(const Trn::Token& token, const char* pBegin) override;

private:
    class Spellings;
    const std::string& m_Text;
    RecordedTokens& m_Into;
    std::unique_ptr<Spellings> m_pSpellings;
};

// The whitespace-only comparison of a text whose tokens were recorded with
// a later text. An incomplete recording compares the two texts in full.
Comparison compareWhitespaceOnly(const RecordedTokens& inputTokens, const std::string& input,
                                 const std::string& output);

// Comparison allowing the braces of single-statement control bodies to be
// added or removed. Both texts are parsed and their trees compared; when a
// text does not parse cleanly (the pipeline never rewrites such a text) the
// comparison falls back to the token comparison below.
Comparison compareBraceRewrite(const std::string& input, const std::string& output);

// The same on trees and tokens already at hand: the trees the parser built
// from the two texts and the texts' comparable tokens.
Comparison compareBraceRewrite(const Cpp::RootNode& inputTree, const std::vector<ComparableToken>& input,
                               const Cpp::RootNode& outputTree, const std::vector<ComparableToken>& output);

// The same reading the tokens from the two texts as the trees are walked,
// holding neither's tokens.
Comparison compareBraceRewrite(const Cpp::RootNode& inputTree, const std::string& input,
                               const Cpp::RootNode& outputTree, const std::string& output);
// The same reading the output's tokens from their recording (the output
// text itself when the recording is not complete or keeps no starts).
Comparison compareBraceRewrite(const Cpp::RootNode& inputTree, const std::string& input,
                               const Cpp::RootNode& outputTree, const RecordedTokens& outputTokens,
                               const std::string& output);

// The same on tokens already lexed.
Comparison compareWhitespaceOnly(const std::vector<ComparableToken>& input, const std::vector<ComparableToken>& output);

// The token comparison of a brace rewrite, for texts without a tree: brace
// pairs may be added or removed where they close before any brace both
// texts share, and no "else" may change its "if".
Comparison compareBraceRewrite(const std::vector<ComparableToken>& input, const std::vector<ComparableToken>& output);

// Raise a contract violation when the comparison found a difference;
// passName names the pass in the violation's text. Both read the two texts
// side by side, holding neither's tokens.
void checkBraceRewrite(const Cpp::RootNode& inputTree, const std::string& input, const Cpp::RootNode& outputTree,
                       const std::string& output);
void checkBraceRewrite(const Cpp::RootNode& inputTree, const std::string& input, const Cpp::RootNode& outputTree,
                       const RecordedTokens& outputTokens, const std::string& output);
void checkWhitespaceOnly(const char* passName, const std::string& input, const std::string& output);
void checkWhitespaceOnly(const char* passName, const RecordedTokens& inputTokens, const std::string& input,
                         const std::string& output);

} // namespace Verifier

} // namespace StylistCpp

#endif
