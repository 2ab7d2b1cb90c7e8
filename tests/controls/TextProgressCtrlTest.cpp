#include "controls/TextProgressCtrl.h"

#include "platform/SysColors.h"

#include <QImage>
#include <QTest>

#include "QStringPrinter.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

// A bar on a parent of a known colour, shown, with an unsmoothed font so that every text pixel
// takes exactly one of the pen colours.
struct ShownBar {
    QWidget parent;
    CTextProgressCtrl* bar;

    explicit ShownBar(DWORD style = 0, QSize size = QSize(200, 20))
    {
        QPalette palette;
        palette.setColor(QPalette::Window, QColor(1, 2, 3));
        parent.setPalette(palette);
        parent.setAutoFillBackground(true);
        parent.resize(size + QSize(20, 20));
        bar = new CTextProgressCtrl(&parent, style);
        bar->setGeometry(QRect(QPoint(10, 10), size));
        QFont font = bar->font();
        font.setStyleStrategy(QFont::NoAntialias);
        font.setPixelSize(14);
        bar->setFont(font);
        parent.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&parent));
    }
    QImage Image() { return bar->grab().toImage(); }
};

QColor Highlight() { return ToQColor(GetSysColor(COLOR_HIGHLIGHT)); }
QColor Window() { return ToQColor(GetSysColor(COLOR_WINDOW)); }

// Pixels of columns [x0, x1) that differ from `ground`; each must equal `ink`.
int CountInk(const QImage& image, int x0, int x1, QColor ground, QColor ink)
{
    int inked = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = x0; x < x1; ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c == ground)
                continue;
            EXPECT_EQ(c, ink) << "at " << x << "," << y;
            ++inked;
        }
    }
    return inked;
}

} // namespace

TEST(TextProgressCtrl, StartsAtZeroOfAHundredWithStepOneAndNoCaption)
{
    CTextProgressCtrl bar;
    PBRANGE range;
    EXPECT_EQ(bar.GetRange(TRUE, &range), 0);
    EXPECT_EQ(bar.GetRange(FALSE), 100);
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);
    EXPECT_EQ(bar.GetPos(), 0);
    EXPECT_EQ(bar.StepIt(), 0);
    EXPECT_EQ(bar.GetPos(), 1);
    EXPECT_EQ(bar.GetWindowText(), "");
}

TEST(TextProgressCtrl, PositionRequestsReturnThePreviousValues)
{
    CTextProgressCtrl bar;
    EXPECT_EQ(bar.SetPos(40), 0);
    EXPECT_EQ(bar.OffsetPos(-15), 40);
    EXPECT_EQ(bar.GetPos(), 25);
    EXPECT_EQ(bar.SetStep(10), 1);
    EXPECT_EQ(bar.SetStep(7), 10);
    EXPECT_EQ(bar.StepIt(), 25);
    EXPECT_EQ(bar.GetPos(), 32);
    EXPECT_EQ(bar.SetBarColor(RGB(1, 2, 3)), CTextProgressCtrl::DefaultColour);
    EXPECT_EQ(bar.SetBarColor(RGB(4, 5, 6)), RGB(1, 2, 3));
    EXPECT_EQ(bar.SetBkColor(RGB(7, 8, 9)), CTextProgressCtrl::DefaultColour);
    EXPECT_EQ(bar.SetTextColor(RGB(9, 9, 9)), CTextProgressCtrl::DefaultColour);
}

TEST(TextProgressCtrl, RangesOf16And32Bits)
{
    CTextProgressCtrl bar;
    EXPECT_EQ(bar.SetRange(5, 65000), 0);
    EXPECT_EQ(bar.GetRange(TRUE), 5);
    EXPECT_EQ(bar.GetRange(FALSE), 65000);
    EXPECT_EQ(bar.SetRange32(-300, 200000), 0);
    PBRANGE range;
    bar.GetRange(FALSE, &range);
    EXPECT_EQ(range.iLow, -300);
    EXPECT_EQ(range.iHigh, 200000);
}

TEST(TextProgressCtrl, HalfwayFillsTheLeftHalfAndInvertsThePercentage)
{
    ShownBar shown;
    shown.bar->SetPos(50);
    const QImage image = shown.Image();
    EXPECT_EQ(image.pixelColor(0, 0), Highlight());
    EXPECT_EQ(image.pixelColor(99, 0), Highlight());
    EXPECT_EQ(image.pixelColor(100, 0), Window());
    EXPECT_EQ(image.pixelColor(199, 19), Window());
    // "50%" is centred on the boundary: glyph parts on each side, each in the other side's colour.
    EXPECT_GT(CountInk(image, 0, 100, Highlight(), Window()), 10);
    EXPECT_GT(CountInk(image, 100, 200, Window(), Highlight()), 10);
}

TEST(TextProgressCtrl, FilledWidthIsTruncated)
{
    ShownBar shown;
    shown.bar->SetShowText(FALSE);
    shown.bar->SetRange32(0, 3);
    shown.bar->SetPos(1); // 200 / 3 = 66.67 pixels
    const QImage image = shown.Image();
    EXPECT_EQ(image.pixelColor(65, 10), Highlight());
    EXPECT_EQ(image.pixelColor(66, 10), Window());
}

TEST(TextProgressCtrl, OwnColoursAndTextColourOnBothSides)
{
    ShownBar shown;
    shown.bar->SetBarColor(RGB(0, 128, 0));
    shown.bar->SetBkColor(RGB(255, 255, 0));
    shown.bar->SetTextColor(RGB(255, 0, 0));
    shown.bar->SetPos(50);
    const QImage image = shown.Image();
    EXPECT_GT(CountInk(image, 0, 100, QColor(0, 128, 0), QColor(255, 0, 0)), 10);
    EXPECT_GT(CountInk(image, 100, 200, QColor(255, 255, 0), QColor(255, 0, 0)), 10);
}

TEST(TextProgressCtrl, CaptionReplacesThePercentageUntilEmptied)
{
    ShownBar shown;
    shown.bar->SetPos(50);
    const QImage percentage = shown.Image();
    shown.bar->SetWindowText("Waiting for converting.");
    EXPECT_EQ(shown.bar->GetWindowText(), "Waiting for converting.");
    const QImage caption = shown.Image();
    EXPECT_NE(caption, percentage);
    // The caption is wider than "50%": it reaches further out on both sides.
    EXPECT_GT(CountInk(caption, 0, 40, Highlight(), Window()), 0);
    EXPECT_EQ(CountInk(percentage, 0, 40, Highlight(), Window()), 0);
    shown.bar->SetWindowText("");
    EXPECT_EQ(shown.Image(), percentage);
}

TEST(TextProgressCtrl, NoTextWhenSwitchedOff)
{
    ShownBar shown;
    shown.bar->SetPos(50);
    shown.bar->SetShowText(FALSE);
    const QImage image = shown.Image();
    EXPECT_EQ(CountInk(image, 0, 100, Highlight(), Window()), 0);
    EXPECT_EQ(CountInk(image, 100, 200, Window(), Highlight()), 0);
}

TEST(TextProgressCtrl, VerticalBarFillsFromTheBottomWithoutText)
{
    ShownBar shown(PBS_VERTICAL, QSize(30, 100));
    shown.bar->SetPos(25);
    const QImage image = shown.Image();
    EXPECT_EQ(image.pixelColor(15, 74), Window());
    EXPECT_EQ(image.pixelColor(15, 75), Highlight());
    EXPECT_EQ(image.pixelColor(0, 99), Highlight());
    EXPECT_EQ(CountInk(image, 0, 30, Window(), Highlight()), 25 * 30);
}

TEST(TextProgressCtrl, EmptyOrReversedRangePaintsNothing)
{
    for (const auto& [lower, upper] : {std::pair{1, 1}, std::pair{10, 5}}) {
        ShownBar shown;
        shown.bar->SetRange32(lower, upper);
        shown.bar->SetPos(1);
        shown.bar->StepIt();
        const QImage image = shown.parent.grab().toImage();
        for (const QPoint p : {QPoint(10, 10), QPoint(110, 20), QPoint(209, 29)})
            EXPECT_EQ(image.pixelColor(p), QColor(1, 2, 3)) << lower << ".." << upper;
    }
}

TEST(TextProgressCtrl, RepaintsOnlyWhenTheFilledWidthChanges)
{
    ShownBar shown;
    shown.bar->SetRange32(0, 1000); // 0.2 pixels per step
    PaintCounter counter;
    shown.bar->installEventFilter(&counter);
    shown.bar->SetPos(4);
    EXPECT_EQ(counter.count, 0);
    shown.bar->SetPos(5);
    EXPECT_EQ(counter.count, 1);
    shown.bar->SetPos(9);
    EXPECT_EQ(counter.count, 1);
    // A new size makes the next change repaint even when the pixel count stays the same.
    shown.bar->resize(201, 20);
    const int afterResize = counter.count;
    shown.bar->SetPos(8);
    EXPECT_EQ(counter.count, afterResize + 1);
}

TEST(TextProgressCtrl, ExtremeRangesAndPositionsStaySane)
{
    ShownBar shown;
    shown.bar->SetRange32(INT_MIN, INT_MAX);
    shown.bar->SetPos(INT_MAX);
    EXPECT_EQ(shown.Image().pixelColor(199, 0), Highlight());
    shown.bar->SetRange32(0, 10);
    shown.bar->SetPos(INT_MAX);
    shown.bar->OffsetPos(1); // wraps as the int position of the original request does
    EXPECT_EQ(shown.bar->GetPos(), INT_MIN);
    EXPECT_EQ(shown.Image().pixelColor(199, 0), Window());
}

// A position outside the range draws exactly as the nearer end of the range: no negative
// percentage, no more than 100%.
struct OutsideRange {
    int lower;
    int upper;
    int pos;
    int drawnAs;
};

class PositionOutsideRange : public ::testing::TestWithParam<OutsideRange> {};

TEST_P(PositionOutsideRange, DrawsAsTheNearerEnd)
{
    const OutsideRange c = GetParam();
    ShownBar shown;
    shown.bar->SetRange32(c.lower, c.upper);
    shown.bar->SetPos(c.drawnAs);
    const QImage expected = shown.Image();
    shown.bar->SetPos(c.pos);
    EXPECT_EQ(shown.bar->GetPos(), c.pos);
    EXPECT_EQ(shown.Image(), expected);
}

INSTANTIATE_TEST_SUITE_P(TextProgressCtrl, PositionOutsideRange,
                         ::testing::Values(OutsideRange{0, 100, -2, 0}, OutsideRange{200, 10000, 0, 200},
                                           OutsideRange{0, 100, 150, 100}));

TEST(TextProgressCtrl, LongCaptionPaintsAndCopiesSafely)
{
    ShownBar shown;
    shown.bar->SetPos(30);
    const QString longCaption(10000, QChar('W'));
    shown.bar->SetWindowText(longCaption);
    const QImage image = shown.Image();
    EXPECT_EQ(image.size(), QSize(200, 20));
    EXPECT_GT(CountInk(image, 0, 60, Highlight(), Window()), 0);

    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(shown.bar->GetWindowText(buffer, sizeof buffer), 15);
    EXPECT_EQ(std::string(buffer), std::string(15, 'W'));

    // "é" is two bytes in UTF-8: a copy never ends inside it.
    shown.bar->SetWindowText(QString::fromUtf8("ab\xC3\xA9"));
    EXPECT_EQ(shown.bar->GetWindowText(buffer, 4), 2);
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(shown.bar->GetWindowText(buffer, 5), 4);
    EXPECT_EQ(shown.bar->GetWindowText(nullptr, 5), 0);
}
