#include "controls/PaneSplitter.h"

#include <QSplitterHandle>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct ShownSplitter {
    CPaneSplitter splitter;
    QWidget* left = new QWidget;
    QWidget* right = new QWidget;
    explicit ShownSplitter(int width = 1000)
    {
        for (QWidget* pane : {left, right}) {
            QPalette palette;
            palette.setColor(QPalette::Window, Qt::white);
            pane->setPalette(palette);
            pane->setAutoFillBackground(true);
            splitter.addWidget(pane);
        }
        splitter.SetColumnInfo(0, 640, 600);
        splitter.resize(width, 300);
        splitter.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&splitter));
    }
    QSplitterHandle* Bar() { return splitter.handle(1); }
};

} // namespace

TEST(PaneSplitter, BarIsPaintedInThePaneColour)
{
    ShownSplitter shown;
    const QRect bar = shown.Bar()->geometry();
    ASSERT_GT(bar.width(), 0);
    const QImage image = shown.splitter.grab().toImage();
    for (int x = bar.left(); x <= bar.right(); ++x)
        for (int y : {0, 150, 299})
            EXPECT_EQ(image.pixelColor(x, y), QColor(207, 234, 254)) << x << "," << y;
    EXPECT_EQ(image.pixelColor(bar.left() - 1, 150), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(bar.right() + 1, 150), QColor(Qt::white));
}

TEST(PaneSplitter, LeftColumnStartsAtItsIdealWidthAndKeepsIt)
{
    ShownSplitter shown;
    EXPECT_EQ(shown.left->width(), 640);
    shown.splitter.resize(1200, 300);
    EXPECT_EQ(shown.left->width(), 640);
    EXPECT_GT(shown.right->width(), 500);
}

TEST(PaneSplitter, DraggingTheBarStopsAtTheMinimumWidth)
{
    ShownSplitter shown;
    QSplitterHandle* bar = shown.Bar();
    const QPoint grip(bar->width() / 2, 100);
    QTest::mousePress(bar, Qt::LeftButton, {}, grip);
    QTest::mouseMove(bar, grip + QPoint(-400, 0));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, grip + QPoint(-400, 0));
    EXPECT_EQ(shown.left->width(), 600);

    QTest::mousePress(bar, Qt::LeftButton, {}, grip);
    QTest::mouseMove(bar, grip + QPoint(100, 0));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, grip + QPoint(100, 0));
    EXPECT_EQ(shown.left->width(), 700);
}

TEST(PaneSplitter, NarrowWindowDoesNotSqueezeTheLeftColumn)
{
    ShownSplitter shown;
    shown.splitter.resize(500, 300);
    EXPECT_GE(shown.left->width(), 600);
}

TEST(PaneSplitter, UnknownColumnChangesNoColumn)
{
    ShownSplitter shown;
    const QList<int> widths = shown.splitter.sizes();
    for (int col : {2, -1})
        shown.splitter.SetColumnInfo(col, 100, 90);
    EXPECT_EQ(shown.splitter.sizes(), widths);
    EXPECT_EQ(shown.left->minimumWidth(), 600);
    EXPECT_EQ(shown.right->minimumWidth(), 0);
    shown.splitter.resize(1200, 300);
    EXPECT_EQ(shown.left->width(), 640) << "the last column still takes what the window gains";
}
