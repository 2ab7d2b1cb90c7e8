// UTF-8 sequences as the converter accepts them, and the repair of those it does not.
#include "platform/MultiByteCharset.h"
#include "platform/Utf8.h"

#include <gtest/gtest.h>

namespace {

struct SequenceCase {
    const char* name;
    std::string bytes;
    std::size_t length; // of the sequence at the start; 0: malformed
};

class Utf8Sequence : public testing::TestWithParam<SequenceCase> {};

TEST_P(Utf8Sequence, LengthOfTheSequenceAtTheStartOrZeroWhenMalformed)
{
    EXPECT_EQ(Utf8SequenceLength(GetParam().bytes, 0), GetParam().length);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8Sequence,
    testing::Values(SequenceCase{"Ascii", "a", 1}, SequenceCase{"TwoBytes", "\xC3\xA9", 2},
                    SequenceCase{"ThreeBytes", "\xE2\x82\xAC", 3}, SequenceCase{"FourBytes", "\xF0\x9F\x98\x80", 4},
                    SequenceCase{"LastScalarValue", "\xF4\x8F\xBF\xBF", 4},
                    SequenceCase{"LastBeforeSurrogates", "\xED\x9F\xBF", 3},
                    SequenceCase{"StrayContinuation", "\x80", 0},
                    SequenceCase{"OverlongSlash", "\xC0\xAF", 0},
                    SequenceCase{"OverlongThree", "\xE0\x80\xAF", 0}, SequenceCase{"OverlongFour", "\xF0\x80\x80\xAF", 0},
                    SequenceCase{"HighSurrogate", "\xED\xA0\x80", 0}, SequenceCase{"LowSurrogate", "\xED\xBF\xBF", 0},
                    SequenceCase{"BeyondU10FFFF", "\xF4\x90\x80\x80", 0},
                    SequenceCase{"ByteFF", "\xFF", 0}, SequenceCase{"CutAtTheEnd", "\xE2\x82", 0},
                    SequenceCase{"CutByALineEnd", "\xE2\x82\n", 0}, SequenceCase{"CutByASpace", "\xC3 ", 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct WellFormedCase {
    const char* name;
    std::string bytes;
    bool wellFormed;
};

class Utf8WellFormed : public testing::TestWithParam<WellFormedCase> {};

TEST_P(Utf8WellFormed, HoldsAcrossTheEightBytesLookedAtTogether)
{
    EXPECT_EQ(IsWellFormedUtf8(GetParam().bytes), GetParam().wellFormed);
}

// The lead byte of a sequence at the end of eight bytes, its continuation in the next eight.
INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8WellFormed,
    testing::Values(WellFormedCase{"GreekAndCyrillicWords", "\xCE\xB1\xCE\xB2 \xD0\x96\xD0\xB8 caf\xC3\xA9 ok", true},
                    WellFormedCase{"LeadEndsAWord", "abcdefg\xC3\xA9xyzxyzx", true},
                    WellFormedCase{"LeadEndsTheText", "abcdefg\xC3", false},
                    WellFormedCase{"LeadEndsAWordAsciiFollows", "abcdefg\xC3xyzxyzxy", false},
                    WellFormedCase{"LeadEndsAWordThreeBytesFollowLater", "abcdefg\xC3\xA9\xE2\x82\xAC" "abcd", true},
                    WellFormedCase{"LeadEndsAWordALeadFollows", "abcdefg\xC3\xE2\x82\xAC" "abcde", false},
                    WellFormedCase{"OverlongInAWord", "ab\xC0\xAF" "cdef", false},
                    WellFormedCase{"StrayContinuationInAWord", "abc\x80" "defg", false}),
    [](const auto& info) { return std::string(info.param.name); });

struct RepairCase {
    const char* name;
    std::string bytes;
    std::string repaired;
    std::size_t replaced;
};

class Utf8Repair : public testing::TestWithParam<RepairCase> {};

TEST_P(Utf8Repair, EachByteThatStartsNoSequenceBecomesOneReplacementCharacter)
{
    std::string text = GetParam().bytes;
    EXPECT_EQ(RepairUtf8(text), GetParam().replaced);
    EXPECT_EQ(text, GetParam().repaired);
}

#define FFFD "\xEF\xBF\xBD"
INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8Repair,
    testing::Values(RepairCase{"WellFormedStays", "caf\xC3\xA9 \xE2\x82\xAC", "caf\xC3\xA9 \xE2\x82\xAC", 0},
                    RepairCase{"ByteOrderMarkIsDropped", "\xEF\xBB\xBFhi", "hi", 0},
                    RepairCase{"OnlyALeadingMarkIsDropped", "a\xEF\xBB\xBF", "a\xEF\xBB\xBF", 0},
                    RepairCase{"MarkAndMalformed", "\xEF\xBB\xBF\xFFz", FFFD "z", 1},
                    RepairCase{"Latin1Byte", "caf\xE9!", "caf" FFFD "!", 1},
                    RepairCase{"Overlong", "a\xC0\xAF" "b", "a" FFFD FFFD "b", 2},
                    RepairCase{"Surrogate", "\xED\xA0\x80", FFFD FFFD FFFD, 3},
                    RepairCase{"CutAtTheEnd", "ok\xE2\x82", "ok" FFFD FFFD, 2},
                    RepairCase{"CutBeforeALineEnd", "\xE2\x82\nnext", FFFD FFFD "\nnext", 2},
                    RepairCase{"HalfUtf8HalfLatin1", "\xC3\xBC | \xFC", "\xC3\xBC | " FFFD, 1}),
    [](const auto& info) { return std::string(info.param.name); });

class Utf8BeyondBmp : public testing::TestWithParam<RepairCase> {};

TEST_P(Utf8BeyondBmp, EachCharacterBeyondTheBmpBecomesOneReplacementCharacter)
{
    std::string text = GetParam().bytes;
    EXPECT_EQ(ReplaceBeyondBmp(text), GetParam().replaced);
    EXPECT_EQ(text, GetParam().repaired);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8BeyondBmp,
    testing::Values(RepairCase{"BmpStays", "caf\xC3\xA9 \xE2\x82\xAC \xEF\xBF\xBF", "caf\xC3\xA9 \xE2\x82\xAC \xEF\xBF\xBF", 0},
                    RepairCase{"EmojiBetweenWords", "a \xF0\x9F\x98\x80 b", "a " FFFD " b", 1},
                    RepairCase{"TwoInARowAndLast", "\xF0\x9D\x94\xB8\xF0\x9D\x94\xB9x\xF4\x8F\xBF\xBF",
                               FFFD FFFD "x" FFFD, 3},
                    RepairCase{"MalformedBytesStay", "\xF0\x9F\x98 \xFF", "\xF0\x9F\x98 \xFF", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf8, AFileHoldsMultiByteUtf8OnlyWhenWellFormedAndBeyondAscii)
{
    EXPECT_TRUE(HoldsMultiByteUtf8("Gr\xC3\xBC\xC3\x9F" "e"));
    EXPECT_TRUE(HoldsMultiByteUtf8("\xF0\x9F\x98\x80"));
    EXPECT_FALSE(HoldsMultiByteUtf8("plain ASCII"));
    EXPECT_FALSE(HoldsMultiByteUtf8("caf\xE9"));                 // Latin-1
    EXPECT_FALSE(HoldsMultiByteUtf8("\xC3\xBC then \xFC"));      // half and half
    EXPECT_FALSE(HoldsMultiByteUtf8(""));
}

TEST(Utf8, ACharsetInUtf8StepsOverWholeSequencesAndOverEachMalformedByte)
{
    MultiByteCharset charset;
    charset.SetUtf8();
    EXPECT_FALSE(charset.IsSingleByte());
    const std::string text = "\xE4\xB8\xAD \xF0\x9F\x98\x80\xE2\x82 \xE2";
    std::vector<std::size_t> starts;
    for (std::size_t pos = 0; pos < text.size(); pos += charset.CharLengthAt(text, pos))
        starts.push_back(pos);
    EXPECT_EQ(starts, (std::vector<std::size_t>{0, 3, 4, 8, 9, 10, 11}));
    EXPECT_EQ(charset.Find(text, ' ', 4), 10u);
    EXPECT_EQ(charset.FindLast(text, ' '), 10u);
}

} // namespace
