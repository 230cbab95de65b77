// Lexes arbitrary bytes and checks what every consumer relies on: the
// iteration ends (within one token per byte), nothing but a stuck iterator
// raises a contract violation, and every token's locations are ordered,
// increasing from token to token, and inside the text.
#include "Corvale_Exception.h"
#include "Cpp_LexerIterator.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    // Length of every line, to check that locations lie inside the text.
    std::vector<std::int32_t> lineLength{0, 0};
    for (char c : text) {
        if (c == '\n')
            lineLength.push_back(0);
        else
            ++lineLength.back();
    }
    const std::int32_t lines = static_cast<std::int32_t>(lineLength.size()) - 1;
    auto inside = [&](const Trn::Location& l, bool isEnd) {
        if (l.line() < 1 || l.line() > lines || l.col() < 0 || l.col() > lineLength[l.line()])
            return false;
        // Only an end location (after a newline) may stand at column 0.
        return isEnd || l.col() >= 1;
    };

    try {
        Cpp::LexerIterator it(text.begin(), text.end()), end;
        Cpp::LexerIterator copy = it;
        Trn::Location previous;
        std::size_t count = 0;
        for (; it != end && !it.stuck(); ++it) {
            if (++count > size)
                std::abort(); // more tokens than bytes: the lexer does not advance
            const Trn::Token& t = *it;
            if (!inside(t.start(), false) || !inside(t.end(), true) || t.end() < t.start() ||
                !(previous < t.start()))
                std::abort();
            previous = t.end();
        }
        if (it.stuck()) {
            // A stuck iterator stays where it is and cannot be dereferenced.
            Cpp::LexerIterator again = it;
            ++again;
            if (!(again == it) || again == end)
                std::abort();
        }
        // A copy taken at the start lexes the same number of tokens.
        std::size_t copyCount = 0;
        for (; copy != end && !copy.stuck(); ++copy)
            ++copyCount;
        if (copyCount != count)
            std::abort();
    } catch (const Corvale::ContractViolation&) {
        std::abort();
    }
    return 0;
}
