#include "controls/PaneLabel.h"

#include "platform/SysColors.h"

#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QColor kPane(207, 234, 254);

// The rectangle of pixels that differ from the background, and how many there are.
struct Ink {
    QRect bounds;
    int pixels = 0;
};

Ink FindInk(const QImage& image, QColor background)
{
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != background) {
                ink.bounds |= QRect(x, y, 1, 1);
                ++ink.pixels;
            }
        }
    }
    return ink;
}

// The longest run of inked pixels along any row: a line drawn across the text.
int LongestInkRun(const QImage& image, QColor background)
{
    int longest = 0;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = image.pixelColor(x, y) != background ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    return longest;
}

Ink Paint(CPaneLabel& label)
{
    label.resize(200, 60);
    return FindInk(label.grab().toImage(), kPane);
}

} // namespace

TEST(PaneLabel, FillsWithThePaneColourAndWritesBlackText)
{
    CPaneLabel label("Current");
    const QImage image = (label.resize(200, 60), label.grab().toImage());
    EXPECT_EQ(image.pixelColor(199, 59), kPane);
    const Ink ink = FindInk(image, kPane);
    EXPECT_GT(ink.pixels, 20);
    EXPECT_LT(ink.bounds.left(), 3); // left-aligned, at the top
    EXPECT_LT(ink.bounds.top(), 6);
    int darkest = 255;
    for (int y = ink.bounds.top(); y <= ink.bounds.bottom(); ++y)
        for (int x = ink.bounds.left(); x <= ink.bounds.right(); ++x)
            darkest = std::min(darkest, image.pixelColor(x, y).value());
    EXPECT_LT(darkest, 60);
}

TEST(PaneLabel, EmptyTextPaintsOnlyTheBackground)
{
    CPaneLabel label;
    EXPECT_EQ(Paint(label).pixels, 0);
}

TEST(PaneLabel, CentredAndRightAlignedText)
{
    CPaneLabel left("Total");
    const Ink leftInk = Paint(left);
    CPaneLabel centred("Total");
    centred.SetCentered(TRUE);
    const Ink centredInk = Paint(centred);
    EXPECT_NEAR(centredInk.bounds.center().x(), 100, 3);
    CPaneLabel right("Total");
    right.SetRightAligned(TRUE);
    const Ink rightInk = Paint(right);
    EXPECT_GT(rightInk.bounds.right(), 195);
    EXPECT_EQ(rightInk.bounds.width(), leftInk.bounds.width());
}

TEST(PaneLabel, FontFlagsChangeTheGlyphs)
{
    CPaneLabel plain("Waiting");
    const Ink plainInk = Paint(plain);
    EXPECT_LT(LongestInkRun(plain.grab().toImage(), kPane), plainInk.bounds.width() / 2);

    CPaneLabel bold("Waiting");
    bold.SetBold(TRUE);
    EXPECT_EQ(bold.CreatePaintFont().weight(), QFont::Black);
    EXPECT_GT(Paint(bold).pixels, plainInk.pixels * 1.2);

    // Underline and strike-out each add a line across the whole text.
    for (auto set : {&CPaneLabel::SetUnderline, &CPaneLabel::SetStrikeOut}) {
        CPaneLabel lined("Waiting");
        (lined.*set)(TRUE);
        Paint(lined);
        EXPECT_GE(LongestInkRun(lined.grab().toImage(), kPane), plainInk.bounds.width() - 2);
    }

    CPaneLabel italic("Waiting");
    italic.SetItalic(TRUE);
    EXPECT_TRUE(italic.CreatePaintFont().italic());
    Paint(italic);
    EXPECT_NE(italic.grab().toImage(), plain.grab().toImage());

    CPaneLabel larger("Waiting");
    larger.SetFontHeight(16);
    EXPECT_GT(Paint(larger).bounds.height(), plainInk.bounds.height() * 1.5);
}

TEST(PaneLabel, LongTextWrapsAtWords)
{
    CPaneLabel label("one two three four five six seven eight nine ten eleven twelve");
    label.resize(80, 120);
    const Ink ink = FindInk(label.grab().toImage(), kPane);
    EXPECT_GT(ink.bounds.height(), 3 * label.fontMetrics().height());
    EXPECT_LE(ink.bounds.right(), 79);
}

TEST(PaneLabel, OwnColours)
{
    CPaneLabel label("Colours");
    label.SetBkColor(RGB(0, 0, 0));
    label.SetTextColor(RGB(255, 255, 255));
    label.SetSmooth(FALSE);
    label.resize(120, 30);
    const QImage image = label.grab().toImage();
    EXPECT_EQ(image.pixelColor(119, 29), QColor(0, 0, 0));
    const Ink ink = FindInk(image, QColor(0, 0, 0));
    int brightest = 0;
    for (int y = ink.bounds.top(); y <= ink.bounds.bottom(); ++y)
        for (int x = ink.bounds.left(); x <= ink.bounds.right(); ++x)
            brightest = std::max(brightest, image.pixelColor(x, y).value());
    EXPECT_GT(brightest, 200);
}
