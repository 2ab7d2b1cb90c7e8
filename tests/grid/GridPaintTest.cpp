// What the grid paints: selection and focus colours, grid lines, raised and sunken headers,
// check boxes, and that only the visible cells are drawn.
#include "GridTestSupport.h"

#include "platform/SysColors.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace gridtest;

namespace {

QImage Paint(CGridCtrl& grid)
{
    return grid.viewport()->grab().toImage();
}

COLORREF PixelAt(const QImage& image, QPoint point)
{
    return ToColorRef(image.pixelColor(point));
}

class GridPaint : public testing::Test {
protected:
    void SetUp() override { grid = MakeFileList(5); }
    std::unique_ptr<CGridCtrl> grid;
};

TEST_F(GridPaint, SelectedRowIsHighlightedAndTheFocusCellFramed)
{
    Click(*grid, CellCentre(*grid, 2, 4));
    const QImage image = Paint(*grid);
    EXPECT_EQ(PixelAt(image, CellCentre(*grid, 2, 5)), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(PixelAt(image, CellCentre(*grid, 3, 5)), GetSysColor(COLOR_WINDOW));
    QRect focus;
    grid->GetCellRect(2, 4, focus);
    EXPECT_EQ(PixelAt(image, QPoint(focus.left(), focus.center().y())), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(PixelAt(image, QPoint(focus.center().x(), focus.top())), GetSysColor(COLOR_WINDOWTEXT));
}

TEST_F(GridPaint, GridLinesAreLightGreyAndFollowTheSetting)
{
    QRect cell;
    grid->GetCellRect(3, 1, cell);
    const QPoint vertical(cell.right(), cell.center().y());
    const QPoint horizontal(cell.center().x(), cell.bottom());
    QImage image = Paint(*grid);
    EXPECT_EQ(PixelAt(image, vertical), RGB(192, 192, 192));
    EXPECT_EQ(PixelAt(image, horizontal), RGB(192, 192, 192));
    grid->SetGridLines(CGridCtrl::GridLinesHorz);
    image = Paint(*grid);
    EXPECT_NE(PixelAt(image, vertical), RGB(192, 192, 192));
    EXPECT_EQ(PixelAt(image, horizontal), RGB(192, 192, 192));
}

TEST_F(GridPaint, HeaderIsRaisedAndSinksOverTheFocusColumn)
{
    QRect header;
    grid->GetCellRect(0, 2, header);
    QImage image = Paint(*grid);
    EXPECT_EQ(PixelAt(image, header.topLeft() + QPoint(5, 0)), GetSysColor(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(PixelAt(image, header.bottomLeft() + QPoint(5, 0)), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(PixelAt(image, header.center() + QPoint(header.width() / 2 - 4, 0)), GetSysColor(COLOR_BTNFACE));
    grid->SetFocusCell(3, 2);
    image = Paint(*grid);
    EXPECT_EQ(PixelAt(image, header.topLeft() + QPoint(5, 0)), GetSysColor(COLOR_3DDKSHADOW));
}

TEST_F(GridPaint, CheckBoxShowsItsState)
{
    QRect cell;
    grid->GetCellRect(1, 0, cell);
    const QImage checked = Paint(*grid).copy(cell);
    static_cast<CGridCellCheck*>(grid->GetCell(1, 0))->SetCheck(false);
    const QImage unchecked = Paint(*grid).copy(cell);
    EXPECT_NE(checked, unchecked);
    // An unchecked box still differs from an empty cell.
    grid->SetCellType(1, 0, &CGridCell::Class);
    EXPECT_NE(Paint(*grid).copy(cell), unchecked);
}

TEST_F(GridPaint, AHundredThousandCharacterTextIsDrawnElided)
{
    QRect cell;
    grid->GetCellRect(2, 1, cell);
    const QRect rightEnd(cell.right() - 30, cell.top() + 2, 25, cell.height() - 4);
    const auto inkIn = [](const QImage& image) {
        int ink = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ink += ToColorRef(image.pixelColor(x, y)) != GetSysColor(COLOR_WINDOW);
        return ink;
    };
    EXPECT_EQ(inkIn(Paint(*grid).copy(rightEnd)), 0); // "file2.txt" ends well before
    grid->SetItemText(2, 1, QString(100000, QLatin1Char('m')));
    EXPECT_GT(inkIn(Paint(*grid).copy(rightEnd)), 0);
}

TEST_F(GridPaint, ColumnSizingLineInvertsTwoPixelsOverTheWholeHeight)
{
    Click(*grid, CellCentre(*grid, 2, 1)); // a highlighted row under the line, too
    QRect header;
    grid->GetCellRect(0, 2, header);
    const int lineX = header.center().x();
    const QImage before = Paint(*grid);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, QPoint(header.right(), header.center().y()));
    QTest::mouseMove(grid->viewport(), QPoint(lineX, header.center().y()));
    const QImage during = Paint(*grid);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, QPoint(lineX, header.center().y()));
    int wrong = 0;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = lineX - 1; x <= lineX + 2; ++x) {
            const QRgb old = before.pixel(x, y) & 0xFFFFFF;
            const QRgb now = during.pixel(x, y) & 0xFFFFFF;
            const bool onLine = x == lineX || x == lineX + 1;
            wrong += now != (onLine ? old ^ 0xFFFFFF : old);
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(GridPaint, BackgroundBelowTheLastRowIsTheGridBackground)
{
    const QImage image = Paint(*grid);
    EXPECT_EQ(PixelAt(image, QPoint(50, image.height() - 5)), RGB(255, 255, 255));
}

// A cell that counts how often it is drawn.
int g_draws = 0;
class CountingCell : public CGridCell {
public:
    static const GridCellClass Class;
    bool Draw(QPainter& painter, int row, int col, QRect rect) override
    {
        ++g_draws;
        return CGridCell::Draw(painter, row, col, rect);
    }
};
const GridCellClass CountingCell::Class = {"CountingCell", &CGridCell::Class,
                                           &CreateCellOf<CountingCell>};

TEST(GridPaintCost, OnlyVisibleCellsAreDrawnAfterScrolling)
{
    CGridCtrl grid;
    grid.resize(400, 200);
    grid.SetDefaultCellType(&CountingCell::Class);
    grid.SetColumnCount(6);
    grid.SetFixedRowCount(1);
    grid.SetRowCount(20001);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    grid.EnsureVisible(15000, 2);
    const CellRange visible = grid.GetVisibleNonFixedCellRange();
    EXPECT_LE(visible.minRow, 15000);
    EXPECT_GE(visible.maxRow, 15000);
    g_draws = 0;
    grid.viewport()->grab();
    const int rows = visible.maxRow - visible.minRow + 2;
    const int cols = visible.maxCol - visible.minCol + 1;
    EXPECT_GT(g_draws, 0);
    EXPECT_LE(g_draws, rows * cols);
}

} // namespace
