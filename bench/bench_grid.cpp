// Appends file-list rows to the grid (six cells each, a check cell in column 0) and paints the
// visible area, at 10,000 and 100,000 rows, and prints the cost per appended row. The two
// per-row figures should be close: appending must not slow down as the table grows.
// Run with QT_QPA_PLATFORM=offscreen.
#include "grid/GridCellCheck.h"
#include "grid/GridCtrl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {

constexpr UINT kLeft = 0x8824;
constexpr UINT kRight = 0x8826;

void AppendRow(CGridCtrl& grid, int index)
{
    const int row = grid.GetRowCount();
    grid.SetRowCount(row + 1);
    grid.SetRowHeight(row, 18);
    grid.SetCellType(row, 0, &CGridCellCheck::Class);
    static_cast<CGridCellCheck*>(grid.GetCell(row, 0))->SetCheck(true);
    grid.SetItemText(row, 1, QStringLiteral("document-%1.txt").arg(index));
    grid.SetItemText(row, 2, QStringLiteral("%1 KB").arg(index % 5000));
    grid.SetItemText(row, 3, QStringLiteral("12:34:56 01/02/2024"));
    for (int col = 0; col < 6; ++col) {
        grid.SetItemFormat(row, col, col == 0 || col == 2 || col == 3 ? kRight : kLeft);
        if (col < 4)
            grid.SetItemState(row, col, grid.GetItemState(row, col) | CellReadOnly);
    }
}

struct Result {
    double appendNsPerRow;
    double paintMs;
};

Result Run(int rows)
{
    CGridCtrl grid;
    grid.resize(800, 400);
    grid.SetColumnCount(6);
    grid.SetFixedRowCount(1);
    grid.SetListMode(true);
    grid.SetSingleRowSelection(true);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < rows; ++i)
        AppendRow(grid, i);
    const double appendNs = double(timer.nsecsElapsed()) / rows;

    grid.show();
    QApplication::processEvents();
    grid.EnsureVisible(rows, 1); // paint the end of the list
    QImage image(grid.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    timer.restart();
    constexpr int paints = 20;
    for (int i = 0; i < paints; ++i)
        grid.viewport()->render(&image);
    return {appendNs, double(timer.nsecsElapsed()) / paints / 1e6};
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Run(2000); // warm up fonts and allocators
    const Result small = Run(10000);
    const Result large = Run(100000);
    std::printf("rows     append/row   paint visible area\n");
    std::printf("10000    %8.0f ns   %6.2f ms\n", small.appendNsPerRow, small.paintMs);
    std::printf("100000   %8.0f ns   %6.2f ms\n", large.appendNsPerRow, large.paintMs);
    std::printf("ratio 100k/10k per row: %.2f\n", large.appendNsPerRow / small.appendNsPerRow);
    return 0;
}
