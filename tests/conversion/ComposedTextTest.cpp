// A letter and its combining marks composed into the one character, wherever the mark stands
// among the bytes looked at together.
#include "conversion/ComposedText.h"

#include <gtest/gtest.h>

namespace {

struct ComposeCase {
    const char* name;
    std::string text;
    std::string composed;
};

class Composition : public testing::TestWithParam<ComposeCase> {};

TEST_P(Composition, ComposesWhatHasAComposedForm)
{
    std::string text = GetParam().text;
    EXPECT_EQ(ComposeMarks(text), GetParam().composed != GetParam().text);
    EXPECT_EQ(text, GetParam().composed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Composition,
    testing::Values(ComposeCase{"MarkAtTheStartOfEightBytes", "e\xCC\x81" "1234567", "\xC3\xA9" "1234567"},
                    ComposeCase{"MarkAtTheEndOfEightBytes", "123456e\xCC\x81" "12345678", "123456\xC3\xA9" "12345678"},
                    ComposeCase{"GreekMarkOfLeadByteCD", "1234\xCE\xB1\xCD\x82" "12345678", "1234\xE1\xBE\xB6" "12345678"},
                    ComposeCase{"HangulLettersMakeTheirSyllable", "1\xE1\x84\x92\xE1\x85\xA1" "12345678",
                                "1\xED\x95\x98" "12345678"},
                    ComposeCase{"ComposedAlready", "caf\xC3\xA9 \xCE\xB1\xCE\xB2\xCE\xB3 \xD0\x96 12345678",
                                "caf\xC3\xA9 \xCE\xB1\xCE\xB2\xCE\xB3 \xD0\x96 12345678"},
                    ComposeCase{"MalformedIsLeftAsItIs", "e\xCC\x81\xFF" "1234567", "e\xCC\x81\xFF" "1234567"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
