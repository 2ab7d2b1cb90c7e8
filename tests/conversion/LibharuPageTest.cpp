// The page operators written past the library: the same bytes in the content and the same
// position afterwards as the library's own calls give.
#include "conversion/LibharuPrivate.h"

#include <gtest/gtest.h>
#include <hpdf.h>

#include <functional>
#include <memory>
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

// A drawing done both ways: through the library's calls and through LibharuPage.
struct Twin {
    std::string name;
    bool inText;
    std::function<void(HPDF_Page)> library;
    std::function<void(HPDF_Page)> ours;
};

// Two moves, so that the second starts where the first left the text position.
Twin Moves(std::string name, bool inText, float x, float y)
{
    return {std::move(name), inText,
            [=](HPDF_Page page) {
                HPDF_Page_MoveTextPos(page, x, y);
                HPDF_Page_MoveTextPos(page, x, y);
            },
            [=](HPDF_Page page) {
                LibharuPage(page).MoveTextPosition(x, y);
                LibharuPage(page).MoveTextPosition(x, y);
            }};
}

Twin Line(std::string name, bool inText, HPDF_Point from, HPDF_Point to)
{
    return {std::move(name), inText,
            [=](HPDF_Page page) {
                HPDF_Page_MoveTo(page, from.x, from.y);
                HPDF_Page_LineTo(page, to.x, to.y);
                HPDF_Page_Stroke(page);
            },
            [=](HPDF_Page page) { LibharuPage(page).StrokeLine(from, to); }};
}

class LibharuPageOperators : public testing::TestWithParam<Twin> {};

TEST_P(LibharuPageOperators, WriteTheSameBytesAndLeaveTheSamePositionAsTheLibrarysCalls)
{
    const Twin& twin = GetParam();
    const Drawn library = DrawOnPage(twin.inText, twin.library);
    const Drawn ours = DrawOnPage(twin.inText, twin.ours);
    EXPECT_FALSE(library.content.empty());
    EXPECT_EQ(ours.content, library.content);
    EXPECT_EQ(ours.error, library.error);
    EXPECT_TRUE(ours.textMatrix.x == library.textMatrix.x && ours.textMatrix.y == library.textMatrix.y);
    EXPECT_TRUE(ours.textPosition.x == library.textPosition.x && ours.textPosition.y == library.textPosition.y);
}

INSTANTIATE_TEST_SUITE_P(
    LibharuPage, LibharuPageOperators,
    testing::Values(Moves("DownALine", true, 0, -15), Moves("LeftAFraction", true, -3.25f, 0),
                    Moves("Diagonal", true, 27.333f, -14.5f), Moves("BelowTheLibrarysPrecision", true, 0.000004f, 1e-6f),
                    Moves("MoreDigitsThanTheLibraryWrites", true, -0.99999f, 123.456789f),
                    Moves("BeyondTheLibrarysRange", true, 40000, -40000),
                    Moves("OutsideAnyTextRefused", false, 5, 5), Line("Rule", false, {72, 750.15f}, {523, 750.15f}),
                    Line("NegativeAndLarge", false, {0, 0}, {-1.5f, 20000.125f}),
                    Line("WithinTextRefused", true, {1, 2}, {3, 2})),
    [](const testing::TestParamInfo<Twin>& info) { return info.param.name; });

} // namespace
