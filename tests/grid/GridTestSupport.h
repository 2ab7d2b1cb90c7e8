#pragma once
// A grid set up as the file list sets it up, and a recorder of the notifications it sends.
#include "grid/GridCellCheck.h"
#include "grid/GridCtrl.h"
#include "platform/DrawTextFlags.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <QTest>

#include <map>
#include <ostream>
#include <memory>
#include <vector>

// Cells and ranges read as numbers in failure messages.
inline void PrintTo(const CellID& cell, std::ostream* os)
{
    *os << '(' << cell.row << ", " << cell.col << ')';
}
inline void PrintTo(const CellRange& range, std::ostream* os)
{
    *os << '(' << range.minRow << ", " << range.minCol << ")-(" << range.maxRow << ", " << range.maxCol << ')';
}

namespace gridtest {

struct Notice {
    int code;
    int row;
    int col;
    friend bool operator==(const Notice&, const Notice&) = default;
    friend void PrintTo(const Notice& n, std::ostream* os)
    {
        *os << '{' << n.code << ", " << n.row << ", " << n.col << '}';
    }
};

// Records every notification; answers with the result set for its code (0 otherwise).
struct Recorder {
    std::vector<Notice> notices;
    std::map<int, LRESULT> answers;

    NotifyHandler Handler()
    {
        return [this](int, NMHDR& header) -> LRESULT {
            auto& record = static_cast<GridNotify&>(header);
            notices.push_back({record.code, record.iRow, record.iColumn});
            return answers.count(record.code) ? answers[record.code] : 0;
        };
    }
    std::vector<int> Codes() const
    {
        std::vector<int> codes;
        for (const Notice& n : notices)
            codes.push_back(n.code);
        return codes;
    }
};

constexpr UINT kLeft = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
constexpr UINT kCentre = kLeft | DT_CENTER;
constexpr UINT kRight = kLeft | DT_RIGHT;

// One fixed header row, six columns, list mode with single-row selection, a check cell in
// column 0 and two editable password columns, as the file list builds it.
inline void AppendFileRow(CGridCtrl& grid, const QString& name)
{
    const int row = grid.GetRowCount();
    grid.SetRowCount(row + 1);
    grid.SetRowHeight(row, 18);
    grid.SetCellType(row, 0, &CGridCellCheck::Class);
    static_cast<CGridCellCheck*>(grid.GetCell(row, 0))->SetCheck(true);
    grid.SetItemText(row, 1, name);
    grid.SetItemText(row, 2, QStringLiteral("1,024 KB"));
    grid.SetItemText(row, 3, QStringLiteral("12:00:00 01/02/2024"));
    const UINT formats[6] = {kRight, kLeft, kRight, kRight, kLeft, kLeft};
    for (int col = 0; col < 6; ++col) {
        grid.SetItemFormat(row, col, formats[col]);
        if (col < 4)
            grid.SetItemState(row, col, grid.GetItemState(row, col) | CellReadOnly);
    }
}

// Focus and keys reach a window only once the window system has made it active; under a real X
// server that happens some time after show().
inline void ShowActive(QWidget& widget)
{
    widget.show();
    widget.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&widget));
    QApplication::processEvents();
}

inline std::unique_ptr<CGridCtrl> MakeFileList(int dataRows, bool show = true)
{
    auto grid = std::make_unique<CGridCtrl>();
    grid->resize(700, 300);
    grid->SetColumnCount(6);
    grid->SetFixedRowCount(1);
    grid->SetListMode(true);
    grid->SetSingleRowSelection(true);
    grid->SetGridBkColor(0xFFFFFF);
    const int widths[6] = {25, 144, 100, 154, 110, 100};
    const char* headers[6] = {"", "File Name", "File Size", "Creation Date", "Owner Password", "User Password"};
    grid->SetRowHeight(0, 18);
    for (int col = 0; col < 6; ++col) {
        grid->SetColumnWidth(col, widths[col]);
        grid->SetItemText(0, col, QString::fromLatin1(headers[col]));
        grid->SetItemFormat(0, col, kCentre);
        grid->SetItemState(0, col, grid->GetItemState(0, col) | CellReadOnly);
    }
    for (int i = 1; i <= dataRows; ++i)
        AppendFileRow(*grid, QStringLiteral("file%1.txt").arg(i));
    if (show)
        ShowActive(*grid);
    return grid;
}

inline QPoint CellCentre(const CGridCtrl& grid, int row, int col)
{
    QRect rect;
    grid.GetCellRect(row, col, rect);
    return rect.center();
}

inline void Click(CGridCtrl& grid, QPoint point, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, modifiers, point);
}

// Moves the pointer with no button held through the widget's window, which sends the enter and
// leave events a real pointer causes. A move to where an earlier test left the pointer would
// send nothing, so the pointer first stops one pixel beside the target.
inline void MovePointer(const QWidget& widget, QPoint point)
{
    QWindow* window = widget.window()->windowHandle();
    const QPoint target = window->mapFromGlobal(widget.mapToGlobal(point));
    QTest::mouseMove(window, target - QPoint(1, 1));
    QTest::mouseMove(window, target);
}

inline CGridCellEdit* OpenEditor(const CGridCtrl& grid)
{
    for (CGridCellEdit* edit : grid.viewport()->findChildren<CGridCellEdit*>()) {
        if (edit->isVisible())
            return edit;
    }
    return nullptr;
}

} // namespace gridtest
