#include "Corvale_PutbackBuf.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

using Traits = std::char_traits<char>;

TEST(PutbackBuf, ReadsEveryByteUnchangedAcrossBlocks)
{
    std::string text;
    for (int i = 0; i < 3 * Corvale::PutbackBuf::BLOCK_SIZE + 17; ++i)
        text += static_cast<char>(i % 256);
    text += "\r\n\r";
    std::stringbuf source(text, std::ios_base::in);
    Corvale::PutbackBuf buf(&source);
    std::istream in(&buf);
    const std::string read((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, read);
    EXPECT_TRUE(Traits::eq_int_type(buf.sgetc(), Traits::eof()));
}

TEST(PutbackBuf, PutsBackFourCharactersAcrossARefillAndAtTheEnd)
{
    std::string text(static_cast<std::size_t>(Corvale::PutbackBuf::BLOCK_SIZE) - 4, 'a');
    text += "wxyz";
    text += "bcde";
    std::stringbuf source(text, std::ios_base::in);
    Corvale::PutbackBuf buf(&source);
    for (int i = 0; i < Corvale::PutbackBuf::BLOCK_SIZE; ++i)
        buf.sbumpc();
    EXPECT_EQ('b', buf.sbumpc()); // refills
    EXPECT_EQ('b', buf.sungetc());
    for (char expected : {'z', 'y', 'x', 'w'})
        EXPECT_EQ(expected, buf.sungetc());
    EXPECT_TRUE(Traits::eq_int_type(buf.sungetc(), Traits::eof()));
    EXPECT_EQ('w', buf.sbumpc());

    // At the end of the source the last four characters are still there.
    while (!Traits::eq_int_type(buf.sbumpc(), Traits::eof())) {
    }
    EXPECT_EQ('e', buf.sungetc());
    EXPECT_EQ('Q', buf.sputbackc('Q')); // a different character replaces it
    EXPECT_EQ('Q', buf.sbumpc());
}

TEST(PutbackBuf, PutbackAtTheStartFails)
{
    std::stringbuf source("ab", std::ios_base::in);
    Corvale::PutbackBuf buf(&source);
    EXPECT_TRUE(Traits::eq_int_type(buf.sungetc(), Traits::eof()));
    EXPECT_EQ('a', buf.sbumpc());
    EXPECT_EQ('a', buf.sungetc());
    EXPECT_TRUE(Traits::eq_int_type(buf.sungetc(), Traits::eof()));
}

} // namespace
