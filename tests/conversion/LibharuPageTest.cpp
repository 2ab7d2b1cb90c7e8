// The page operators written past the library: the same bytes in the content and the same
// position afterwards as the library's own calls give.
#include "conversion/LibharuPrivate.h"

#include <gtest/gtest.h>
#include <hpdf.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

namespace {

using Document = std::unique_ptr<std::remove_pointer_t<HPDF_Doc>, decltype(&HPDF_Free)>;

struct Drawn {
    std::string content;
    HPDF_TransMatrix textMatrix{};
    HPDF_Point textPosition{};
    HPDF_STATUS error = HPDF_OK;
};

// Draws on a new page whose text position starts at (10, 700), then reads what was written.
Drawn DrawOnPage(bool inText, const std::function<void(HPDF_Page)>& draw)
{
    const Document pdf(HPDF_New(nullptr, nullptr), HPDF_Free);
    HPDF_Page page = HPDF_AddPage(pdf.get());
    HPDF_Page_SetFontAndSize(page, HPDF_GetFont(pdf.get(), "Courier", nullptr), 10);
    HPDF_Page_BeginText(page);
    HPDF_Page_MoveTextPos(page, 10, 700);
    if (!inText)
        HPDF_Page_EndText(page);
    draw(page);
    Drawn drawn;
    drawn.error = HPDF_GetError(pdf.get());
    drawn.textMatrix = HPDF_Page_GetTextMatrix(page);
    drawn.textPosition = HPDF_Page_GetCurrentTextPos(page);
    HPDF_ResetError(pdf.get());
    if (inText)
        HPDF_Page_EndText(page);
    std::vector<unsigned char> bytes;
    EXPECT_TRUE(LibharuPage(page).TakeContent(bytes));
    drawn.content.assign(bytes.begin(), bytes.end());
    return drawn;
}

void ExpectSame(const Drawn& ours, const Drawn& library)
{
    EXPECT_EQ(ours.content, library.content);
    EXPECT_EQ(ours.error, library.error);
    EXPECT_EQ(ours.textMatrix.x, library.textMatrix.x);
    EXPECT_EQ(ours.textMatrix.y, library.textMatrix.y);
    EXPECT_EQ(ours.textPosition.x, library.textPosition.x);
    EXPECT_EQ(ours.textPosition.y, library.textPosition.y);
}

struct Move {
    float x;
    float y;
};

void PrintTo(const Move& move, std::ostream* out)
{
    *out << move.x << ' ' << move.y;
}

class TextMove : public testing::TestWithParam<Move> {};

TEST_P(TextMove, WritesAndMovesAsTheLibraryDoes)
{
    const auto [x, y] = GetParam();
    const auto twice = [&](const std::function<void(HPDF_Page, float, float)>& move) {
        return [&](HPDF_Page page) {
            move(page, x, y);
            move(page, x, y);
        };
    };
    const Drawn library = DrawOnPage(true, twice([](HPDF_Page page, float dx, float dy) {
        HPDF_Page_MoveTextPos(page, dx, dy);
    }));
    const Drawn ours = DrawOnPage(true, twice([](HPDF_Page page, float dx, float dy) {
        LibharuPage(page).MoveTextPosition(dx, dy);
    }));
    ExpectSame(ours, library);
}

INSTANTIATE_TEST_SUITE_P(LibharuPage, TextMove,
                         testing::Values(Move{0, -15}, Move{-3.25f, 0}, Move{27.333f, -14.5f}, Move{0.000004f, 1e-6f},
                                         Move{-0.99999f, 123.456789f}, Move{40000, -40000}));

TEST(LibharuPage, AMoveOutsideAnyTextIsRefusedAsTheLibraryRefusesIt)
{
    const Drawn library = DrawOnPage(false, [](HPDF_Page page) { HPDF_Page_MoveTextPos(page, 5, 5); });
    const Drawn ours = DrawOnPage(false, [](HPDF_Page page) { LibharuPage(page).MoveTextPosition(5, 5); });
    EXPECT_NE(ours.error, HPDF_OK);
    ExpectSame(ours, library);
}

struct Rule {
    HPDF_Point from;
    HPDF_Point to;
};

void PrintTo(const Rule& rule, std::ostream* out)
{
    *out << rule.from.x << ' ' << rule.from.y << " to " << rule.to.x << ' ' << rule.to.y;
}

class StrokedLine : public testing::TestWithParam<Rule> {};

TEST_P(StrokedLine, WritesAsTheLibraryDoes)
{
    const auto [from, to] = GetParam();
    const Drawn library = DrawOnPage(false, [&](HPDF_Page page) {
        HPDF_Page_MoveTo(page, from.x, from.y);
        HPDF_Page_LineTo(page, to.x, to.y);
        HPDF_Page_Stroke(page);
    });
    const Drawn ours = DrawOnPage(false, [&](HPDF_Page page) { LibharuPage(page).StrokeLine(from, to); });
    ExpectSame(ours, library);
}

INSTANTIATE_TEST_SUITE_P(LibharuPage, StrokedLine,
                         testing::Values(Rule{{72, 750.15f}, {523, 750.15f}}, Rule{{0, 0}, {-1.5f, 20000.125f}}));

TEST(LibharuPage, ALineWithinTextIsRefusedAsTheLibraryRefusesIt)
{
    const Drawn library = DrawOnPage(true, [](HPDF_Page page) {
        HPDF_Page_MoveTo(page, 1, 2);
        HPDF_Page_LineTo(page, 3, 2);
        HPDF_Page_Stroke(page);
    });
    const Drawn ours = DrawOnPage(true, [](HPDF_Page page) { LibharuPage(page).StrokeLine({1, 2}, {3, 2}); });
    EXPECT_NE(ours.error, HPDF_OK);
    ExpectSame(ours, library);
}

} // namespace
