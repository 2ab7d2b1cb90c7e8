#include "menubar/MenuColors.h"

#include <gtest/gtest.h>

namespace {

struct AdjustCase {
    COLORREF color;
    int lightness;
    int saturation;
    COLORREF expected;
};

class AdjustColorTest : public testing::TestWithParam<AdjustCase> {};

// Worked out by hand from the lightness and saturation rules (integer steps), then back to RGB.
TEST_P(AdjustColorTest, MovesLightnessAndSaturationByTheirPercentages)
{
    const AdjustCase& c = GetParam();
    const COLORREF got = AdjustColor(c.color, c.lightness, c.saturation);
    EXPECT_EQ(got, c.expected) << "got " << GetRValue(got) << "," << GetGValue(got) << "," << GetBValue(got);
}

INSTANTIATE_TEST_SUITE_P(Table, AdjustColorTest, testing::Values(
    AdjustCase{RGB(128, 128, 128), 20, 0, RGB(153, 153, 153)},   // L 128 + 127 * 20 / 100
    AdjustCase{RGB(128, 128, 128), -18, 0, RGB(104, 104, 104)},  // L 128 * 82 / 100
    AdjustCase{RGB(255, 255, 255), 75, 0, RGB(255, 255, 255)},   // already at the top
    AdjustCase{RGB(0, 0, 0), 20, 0, RGB(51, 51, 51)},
    AdjustCase{RGB(239, 239, 239), 73, 0, RGB(250, 250, 250)},
    AdjustCase{RGB(255, 0, 0), 70, -57, RGB(233, 199, 199)},     // L 127 -> 216, S 255 -> 109
    AdjustCase{RGB(48, 140, 198), 70, -57, RGB(205, 217, 225)},  // hue kept: still a blue
    AdjustCase{RGB(48, 140, 198), 50, -66, RGB(176, 192, 202)},
    AdjustCase{RGB(0, 0, 255), -50, 0, RGB(0, 0, 126)}));

} // namespace
