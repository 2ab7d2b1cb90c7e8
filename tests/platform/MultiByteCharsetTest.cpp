#include "platform/MultiByteCharset.h"

#include <gtest/gtest.h>

namespace {

MultiByteCharset ShiftJisLike()
{
    MultiByteCharset charset;
    for (int b = 0x81; b <= 0x9F; ++b)
        charset.SetLeadByte(static_cast<unsigned char>(b));
    return charset;
}

TEST(MultiByteCharset, SearchesSkipTheSecondByteOfACharacter)
{
    const MultiByteCharset charset = ShiftJisLike();
    // 0x81 0x20 is one character whose second byte equals a space; 0x81 0x0D likewise a CR.
    const std::string text = "a\x81 b \x81\rc\r";
    EXPECT_EQ(charset.Find(text, ' '), 4u);
    EXPECT_EQ(charset.Find(text, '\r'), 8u);
    EXPECT_EQ(charset.FindLast(text, ' '), 4u);
    EXPECT_EQ(charset.CharLengthAt(text, 1), 2u);
    EXPECT_EQ(charset.CharLengthAt(text, 0), 1u);
}

TEST(MultiByteCharset, ALeadByteAtTheEndIsOneCharacterAndSingleByteIsPlain)
{
    const MultiByteCharset charset = ShiftJisLike();
    EXPECT_EQ(charset.CharLengthAt("ab\x81", 2), 1u);
    EXPECT_EQ(charset.CharLengthAt("ab", 2), 0u);
    const MultiByteCharset plain;
    EXPECT_TRUE(plain.IsSingleByte());
    EXPECT_EQ(plain.Find("a\x81 b", ' '), 2u);
    EXPECT_EQ(plain.FindLast("none", ' '), std::string_view::npos);
}

} // namespace
