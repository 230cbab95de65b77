// Corvale::StringOutBuf: an output stream buffer that appends to a string
// it owns, and hands the string over when the writing is done.
//
// A std::stringbuf can only give a copy of what was written; a pass over a
// whole source file writes megabytes, so the pipeline writes here instead
// and takes the text over without copying it. Writes are gathered in a
// small block and appended to the string when the block fills, so that
// single characters cost no call to the string.
//
// A large text is not grown by doubling its string (which moves it and may
// leave it nearly twice the room it needs): once the string is full, it
// is put aside whole and the writing goes on in a new one a quarter the
// size of what was written; text and take join the pieces once.
//
// Usage:
//     Corvale::StringOutBuf buf;
//     std::ostream out(&buf);
//     out << ...;
//     std::string text = buf.take();   // buf is empty again
#ifndef CORVALE_STRINGOUTBUF_H
#define CORVALE_STRINGOUTBUF_H

#include <streambuf>
#include <string>
#include <vector>

namespace Corvale {

class StringOutBuf : public std::streambuf {
public:
    StringOutBuf();
    StringOutBuf(const StringOutBuf&) = delete;
    StringOutBuf& operator=(const StringOutBuf&) = delete;

    // Starts over with storage's memory (its content is dropped): a text
    // about as long as the last one is written without growing the string.
    void reuse(std::string storage);

    // Starts over empty, keeping the string's memory.
    void clear();

    // Makes room for a text of size characters in all, so that writing one
    // up to that long never moves what was written (a string left to grow
    // by itself may end up with twice the room its text needs).
    void reserve(std::size_t size);

    // Everything written since the start (or the last take), by reference.
    const std::string& text();

    // Everything written since the start (or the last take); the buffer is
    // empty afterwards.
    std::string take();

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    static constexpr int BLOCK_SIZE = 4096;
    // Below this size a full string grows as strings do.
    static constexpr std::size_t LEAST_PIECE = 64 * 1024;

    void drain();
    // Appends n characters to the text.
    void append(const char* s, std::size_t n);
    // Joins the pieces put aside and the current string into m_Text.
    void join();

    std::vector<std::string> m_Pieces; // full strings put aside, in order
    std::size_t m_PieceSize = 0;       // their characters together
    std::string m_Text;
    char m_Block[BLOCK_SIZE];
};

} // namespace Corvale

#endif
