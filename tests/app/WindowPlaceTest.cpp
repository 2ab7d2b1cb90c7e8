// The main window's place on its screen, centred unless that would hide its title bar.
#include "app/WindowPlace.h"

#include <gtest/gtest.h>

namespace {

struct PlaceCase {
    const char* name;
    QRect frame;
    QRect available;
    QPoint expected;
};

void PrintTo(const PlaceCase& placeCase, std::ostream* out)
{
    *out << placeCase.name;
}

class WindowPlaceTest : public testing::TestWithParam<PlaceCase> {};

TEST_P(WindowPlaceTest, KeepsTheTitleBarOnTheScreen)
{
    EXPECT_EQ(CentredWindowPlace(GetParam().frame, GetParam().available), GetParam().expected);
}

// 930 x 565 at a 2x scale is 1860 x 1130 device pixels; the panel takes the top 30.
INSTANTIATE_TEST_SUITE_P(Table, WindowPlaceTest, testing::Values(
    PlaceCase{"SmallerIsCentred", {0, 0, 930, 565}, {0, 30, 1920, 1050}, {495, 272}},
    PlaceCase{"LargerBothWaysStartsAtTheTopLeft", {0, 0, 1860, 1130}, {0, 30, 1366, 738}, {0, 30}},
    PlaceCase{"TallerOnlyIsCentredAcross", {0, 0, 930, 1130}, {0, 30, 1920, 1050}, {495, 30}},
    PlaceCase{"SecondScreenToTheRight", {0, 0, 1860, 1130}, {1920, 0, 1366, 768}, {1920, 0}}),
    [](const testing::TestParamInfo<PlaceCase>& info) { return info.param.name; });

} // namespace
