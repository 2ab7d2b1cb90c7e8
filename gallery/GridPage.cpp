// The grid as the file list uses it (header row, check boxes, password columns, one row
// selected) above a small spreadsheet with a fixed row and column and a cell selection.
#include "GalleryPages.h"

#include "grid/GridCellCheck.h"
#include "grid/GridCellNumeric.h"
#include "grid/GridCtrl.h"
#include "platform/ControlFonts.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr UINT kLeft = 0x8824;
constexpr UINT kCentre = 0x8825;
constexpr UINT kRight = 0x8826;

CGridCtrl* MakeFileList()
{
    auto* grid = new CGridCtrl;
    grid->SetColumnCount(6);
    grid->SetFixedRowCount(1);
    grid->SetListMode(true);
    grid->SetSingleRowSelection(true);
    grid->SetGridBkColor(0xFFFFFF);
    const int widths[6] = {25, 144, 100, 154, 110, 100};
    const char* headers[6] = {"", "File Name", "File Size", "Creation Date", "Owner Password", "User Password"};
    const QFont bold = ControlFonts::AtHeight(14, QFont::Bold);
    grid->SetRowHeight(0, 18);
    for (int col = 0; col < 6; ++col) {
        grid->SetColumnWidth(col, widths[col]);
        grid->SetItemText(0, col, QString::fromLatin1(headers[col]));
        grid->SetItemFormat(0, col, kCentre);
        grid->SetItemFont(0, col, bold);
    }
    for (int i = 1; i <= 40; ++i) {
        grid->SetRowCount(i + 1);
        grid->SetRowHeight(i, 18);
        grid->SetCellType(i, 0, &CGridCellCheck::Class);
        static_cast<CGridCellCheck*>(grid->GetCell(i, 0))->SetCheck(i % 3 != 0);
        grid->SetItemText(i, 1, QStringLiteral("chapter-%1.txt").arg(i, 2, 10, QLatin1Char('0')));
        grid->SetItemText(i, 2, QStringLiteral("%L1 KB").arg(i * 1237));
        grid->SetItemText(i, 3, QStringLiteral("09:%1:00 03/14/2024").arg(i, 2, 10, QLatin1Char('0')));
        grid->SetItemText(i, 4, i == 2 ? QStringLiteral("owner-secret") : QString());
        for (int col = 0; col < 6; ++col) {
            grid->SetItemFormat(i, col, col == 1 || col >= 4 ? kLeft : kRight);
            if (col < 4)
                grid->SetItemState(i, col, grid->GetItemState(i, col) | CellReadOnly);
        }
    }
    grid->SetFocusCell(3, 4);
    grid->SetSelectedRange(3, 0, 3, 5);
    return grid;
}

CGridCtrl* MakeSheet()
{
    auto* grid = new CGridCtrl(8, 6, 1, 1);
    for (int col = 1; col < 6; ++col)
        grid->SetItemText(0, col, QString(QChar('A' + col - 1)));
    for (int row = 1; row < 8; ++row) {
        grid->SetItemText(row, 0, QString::number(row));
        for (int col = 1; col < 6; ++col) {
            grid->SetCellType(row, col, &CGridCellNumeric::Class);
            grid->SetItemText(row, col, QString::number(row * col * 7));
            grid->SetItemFormat(row, col, kRight);
        }
    }
    grid->SetItemBkColour(2, 2, RGB(255, 240, 200));
    grid->SetFocusCell(4, 3);
    grid->SetSelectedRange(3, 2, 5, 4);
    return grid;
}

GalleryPageRegistration reg("Grid", [] {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("File list (list mode, single-row selection)")));
    layout->addWidget(MakeFileList(), 3);
    layout->addWidget(new QLabel(QStringLiteral("Cells with a fixed row and column, numeric cells")));
    layout->addWidget(MakeSheet(), 2);
    return page;
});

} // namespace
