// The grid under the mouse, set up as the file list: clicks, Ctrl and Shift clicks, dividers,
// double and right clicks, and the notifications with their order.
#include "GridTestSupport.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace gridtest;

namespace {

class GridMouse : public testing::Test {
protected:
    void SetUp() override
    {
        grid = MakeFileList(5);
        grid->SetNotifyHandler(recorder.Handler());
    }
    bool RowSelected(int row) const
    {
        for (int col = 0; col < 6; ++col) {
            if (!grid->IsCellSelected(row, col))
                return false;
        }
        return true;
    }

    std::unique_ptr<CGridCtrl> grid;
    Recorder recorder;
};

TEST_F(GridMouse, ClickSelectsExactlyOneRowAndNotifiesInOrder)
{
    QSignalSpy commands(grid.get(), &CGridCtrl::Command);
    Click(*grid, CellCentre(*grid, 2, 1));
    EXPECT_EQ(grid->GetSelectionBounds(), (CellRange{2, 0, 2, 5}));
    EXPECT_EQ(grid->GetSelectedCount(), 6);
    EXPECT_EQ(grid->GetFocusCell(), (CellID{2, 1}));
    const std::vector<Notice> expected = {{GridNotify::SelectionChanging, 2, 1},
                                          {GridNotify::SelectionChanged, 2, 1},
                                          {NM_CLICK, 2, 1}};
    EXPECT_EQ(recorder.notices, expected);
    // The command arrives later, from the event loop.
    EXPECT_EQ(commands.count(), 0);
    QApplication::processEvents();
    EXPECT_EQ(commands.count(), 1);
}

TEST_F(GridMouse, ShiftAndCtrlClicksKeepOneRowInSingleRowMode)
{
    Click(*grid, CellCentre(*grid, 1, 1));
    Click(*grid, CellCentre(*grid, 4, 2), Qt::ShiftModifier);
    EXPECT_EQ(grid->GetSelectionBounds(), (CellRange{4, 0, 4, 5}));
    Click(*grid, CellCentre(*grid, 3, 2), Qt::ControlModifier);
    EXPECT_EQ(grid->GetSelectionBounds(), (CellRange{3, 0, 3, 5}));
    EXPECT_FALSE(RowSelected(4));
    // Ctrl+click on the selected row unselects it.
    Click(*grid, CellCentre(*grid, 3, 2), Qt::ControlModifier);
    EXPECT_EQ(grid->GetSelectedCount(), 0);
    EXPECT_EQ(grid->GetFocusCell(), (CellID{3, 2}));
}

TEST_F(GridMouse, CtrlAndShiftBuildSelectionsOutsideSingleRowMode)
{
    grid->SetSingleRowSelection(false);
    Click(*grid, CellCentre(*grid, 1, 1));
    Click(*grid, CellCentre(*grid, 3, 1), Qt::ShiftModifier);
    EXPECT_EQ(grid->GetSelectionBounds(), (CellRange{1, 0, 3, 5}));
    Click(*grid, CellCentre(*grid, 5, 1), Qt::ControlModifier);
    EXPECT_TRUE(RowSelected(1) && RowSelected(3) && RowSelected(5));
    EXPECT_FALSE(RowSelected(4));
    Click(*grid, CellCentre(*grid, 3, 1), Qt::ControlModifier);
    EXPECT_FALSE(RowSelected(3));
    EXPECT_TRUE(RowSelected(5));
}

TEST_F(GridMouse, DraggingExtendsTheSelectionOfCells)
{
    grid->SetListMode(false);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, CellCentre(*grid, 1, 1));
    QMouseEvent move(QEvent::MouseMove, CellCentre(*grid, 3, 2), grid->viewport()->mapToGlobal(CellCentre(*grid, 3, 2)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &move);
    EXPECT_EQ(grid->GetMouseMode(), CGridCtrl::SelectCells);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, CellCentre(*grid, 3, 2));
    EXPECT_EQ(grid->GetSelectionBounds(), (CellRange{1, 1, 3, 2}));
    EXPECT_EQ(grid->GetSelectedCount(), 6);
    EXPECT_EQ(grid->GetFocusCell(), (CellID{3, 2}));
    EXPECT_EQ(grid->GetMouseMode(), CGridCtrl::Idle);
}

TEST_F(GridMouse, ClickOnTheCheckBoxTogglesItOnlyInsideTheBox)
{
    auto* check = static_cast<CGridCellCheck*>(grid->GetCell(2, 0));
    QRect rect;
    grid->GetCellRect(2, 0, rect);
    const int margin = int(check->GetMargin());
    Click(*grid, rect.topLeft() + QPoint(margin + 3, rect.height() / 2));
    EXPECT_FALSE(check->GetCheck());
    EXPECT_EQ(grid->GetSelectionBounds(), (CellRange{2, 0, 2, 5}));
    QApplication::processEvents();
    Click(*grid, QPoint(rect.right() - 1, rect.center().y()));
    EXPECT_FALSE(check->GetCheck());
    EXPECT_TRUE(static_cast<CGridCellCheck*>(grid->GetCell(3, 0))->GetCheck());
    EXPECT_EQ(recorder.Codes().back(), NM_CLICK);
}

TEST_F(GridMouse, DraggingAColumnDividerResizesDownToOnePixel)
{
    QRect header;
    grid->GetCellRect(0, 1, header);
    const QPoint divider(header.right(), header.center().y());
    MovePointer(*grid->viewport(), divider);
    EXPECT_EQ(grid->GetMouseMode(), CGridCtrl::OverColumnDivider);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, divider);
    EXPECT_EQ(grid->GetMouseMode(), CGridCtrl::SizingColumn);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, divider + QPoint(30, 0));
    EXPECT_EQ(grid->GetColumnWidth(1), 144 - 1 + 30); // mouse x minus the left edge
    EXPECT_EQ(grid->GetSelectedCount(), 0);

    // Far left of the column's edge: held right of it, so 1 pixel is the narrowest.
    grid->GetCellRect(0, 1, header);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, QPoint(header.right(), 5));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, QPoint(2, 5));
    EXPECT_EQ(grid->GetColumnWidth(1), 1);
    EXPECT_TRUE(recorder.notices.empty());
}

QPoint HeaderDivider(const CGridCtrl& grid, int col)
{
    QRect header;
    grid.GetCellRect(0, col, header);
    return QPoint(header.right(), header.center().y());
}

TEST(GridMouseLeave, LeavingTheGridOverADividerRestoresTheArrowAndIdle)
{
    QWidget window;
    window.resize(800, 400);
    auto grid = MakeFileList(5, false);
    grid->setParent(&window);
    grid->move(0, 0);
    ShowActive(window);
    MovePointer(*grid->viewport(), HeaderDivider(*grid, 1));
    ASSERT_EQ(grid->GetMouseMode(), CGridCtrl::OverColumnDivider);
    ASSERT_EQ(grid->viewport()->cursor().shape(), Qt::SplitHCursor);
    MovePointer(window, QPoint(760, 380));
    EXPECT_EQ(grid->GetMouseMode(), CGridCtrl::Idle);
    EXPECT_EQ(grid->viewport()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(GridMouse, KeysActWhileThePointerRestsOverADivider)
{
    Click(*grid, CellCentre(*grid, 2, 4));
    recorder.notices.clear();
    MovePointer(*grid->viewport(), HeaderDivider(*grid, 1));
    ASSERT_EQ(grid->GetMouseMode(), CGridCtrl::OverColumnDivider);
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(grid->GetFocusCell(), (CellID{3, 4}));
    EXPECT_EQ(grid->GetSelectionBounds(), (CellRange{3, 0, 3, 5}));
    EXPECT_EQ(recorder.notices, (std::vector<Notice>{{GridNotify::SelectionChanging, 3, 4},
                                                     {GridNotify::SelectionChanged, 3, 4}}));
    QTest::keyClick(grid.get(), Qt::Key_Q);
    CGridCellEdit* edit = OpenEditor(*grid);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "q");
}

TEST_F(GridMouse, RowDividersDoNotResizeWhenRowResizingIsOff)
{
    grid->SetFixedColumnCount(1);
    grid->SetRowResize(false);
    QRect cell;
    grid->GetCellRect(2, 0, cell);
    const QPoint divider(cell.center().x(), cell.bottom());
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, divider);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, divider + QPoint(0, 20));
    EXPECT_EQ(grid->GetRowHeight(2), 18);

    grid->SetRowResize(true);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, divider);
    EXPECT_EQ(grid->GetMouseMode(), CGridCtrl::SizingRow);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, divider + QPoint(0, 20));
    EXPECT_EQ(grid->GetRowHeight(2), 18 - 1 + 20);
}

TEST_F(GridMouse, DoubleClickOnADividerAutoSizesTheColumn)
{
    grid->SetItemText(3, 1, QStringLiteral("a rather long file name that does not fit.txt"));
    QRect header;
    grid->GetCellRect(0, 1, header);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(header.right(), 5));
    const int expected = grid->GetCell(3, 1)->GetCellExtent().width();
    EXPECT_EQ(grid->GetColumnWidth(1), expected);
    EXPECT_GT(expected, 144);
}

TEST_F(GridMouse, DoubleClickEditsPasswordCellsButNotReadOnlyOnes)
{
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(*grid, 2, 1));
    EXPECT_EQ(OpenEditor(*grid), nullptr);
    EXPECT_EQ(recorder.Codes().back(), NM_DBLCLK);

    grid->SetItemText(2, 4, QStringLiteral("secret"));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(*grid, 2, 4));
    CGridCellEdit* edit = OpenEditor(*grid);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "secret");
    EXPECT_EQ(edit->cursorPosition(), 6);
    EXPECT_FALSE(edit->hasSelectedText());
}

TEST_F(GridMouse, ClickOnTheFocusCellStartsTheEditOnRelease)
{
    Click(*grid, CellCentre(*grid, 1, 5));
    EXPECT_EQ(OpenEditor(*grid), nullptr);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, CellCentre(*grid, 1, 5));
    EXPECT_EQ(grid->GetMouseMode(), CGridCtrl::PrepareEdit);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, CellCentre(*grid, 1, 5));
    EXPECT_NE(OpenEditor(*grid), nullptr);
    EXPECT_EQ(recorder.Codes().back(), GridNotify::BeginEdit);
}

TEST_F(GridMouse, OwnerVetoOfBeginEditKeepsTheEditorClosed)
{
    recorder.answers[GridNotify::BeginEdit] = -1;
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(*grid, 2, 4));
    EXPECT_EQ(OpenEditor(*grid), nullptr);
}

TEST_F(GridMouse, RightClickMovesTheFocusButNotTheSelection)
{
    Click(*grid, CellCentre(*grid, 1, 1));
    recorder.notices.clear();
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, CellCentre(*grid, 4, 2));
    EXPECT_EQ(grid->GetFocusCell(), (CellID{4, 2}));
    EXPECT_EQ(grid->GetSelectionBounds(), (CellRange{1, 0, 1, 5}));
    EXPECT_EQ(recorder.notices, (std::vector<Notice>{{NM_RCLICK, 4, 2}}));

    recorder.notices.clear();
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, QPoint(690, 290));
    EXPECT_EQ(recorder.notices, (std::vector<Notice>{{NM_RCLICK, -1, -1}}));
}

TEST(GridMouseEmpty, RightClickOnAHeaderOfAnEmptyListReportsTheHeaderAndKeepsNoFocus)
{
    auto grid = MakeFileList(0);
    Recorder recorder;
    grid->SetNotifyHandler(recorder.Handler());
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, CellCentre(*grid, 0, 2));
    EXPECT_EQ(grid->GetFocusCell(), CellID());
    EXPECT_EQ(recorder.notices, (std::vector<Notice>{{NM_RCLICK, 0, 2}}));
    AppendFileRow(*grid, "added.txt");
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(grid->GetFocusCell(), CellID());
    EXPECT_EQ(grid->GetItemState(1, 2) & CellFocused, 0u);
}

TEST_F(GridMouse, HeaderClickSelectsTheColumn)
{
    Click(*grid, CellCentre(*grid, 0, 2));
    EXPECT_EQ(grid->GetSelectionBounds(), (CellRange{1, 2, 5, 2}));
    EXPECT_EQ(grid->GetFocusCell(), CellID());
}

TEST_F(GridMouse, ClickBelowTheLastRowReportsNoCellAndPostsNoCommand)
{
    Click(*grid, CellCentre(*grid, 2, 1));
    recorder.notices.clear();
    QApplication::processEvents();
    QSignalSpy commands(grid.get(), &CGridCtrl::Command);
    Click(*grid, QPoint(100, 280));
    QApplication::processEvents();
    // Below the last row the row is -1; the column under the point is still found.
    EXPECT_EQ(recorder.notices,
              (std::vector<Notice>{{GridNotify::SelectionChanged, -1, 1}, {NM_CLICK, -1, 1}}));
    EXPECT_EQ(commands.count(), 0);
    EXPECT_EQ(grid->GetSelectionBounds(), (CellRange{2, 0, 2, 5}));
}

TEST_F(GridMouse, WheelScrollsTheConfiguredRowsPerNotch)
{
    for (int i = 0; i < 60; ++i)
        AppendFileRow(*grid, QStringLiteral("more%1.txt").arg(i));
    grid->SetRowsPerWheelNotch(5); // not the platform's default of 3
    QWheelEvent down(QPointF(100, 100), grid->viewport()->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, -240),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid->viewport(), &down);
    EXPECT_EQ(grid->GetTopleftNonFixedCell().row, 11);
    QWheelEvent up(QPointF(100, 100), grid->viewport()->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, 120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid->viewport(), &up);
    EXPECT_EQ(grid->GetTopleftNonFixedCell().row, 6);
}

TEST_F(GridMouse, HoldingTheButtonBelowTheGridScrollsAndMovesTheSelection)
{
    for (int i = 0; i < 60; ++i)
        AppendFileRow(*grid, QStringLiteral("more%1.txt").arg(i));
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, CellCentre(*grid, 2, 1));
    const QPoint below(100, grid->viewport()->height() + 20);
    QMouseEvent move(QEvent::MouseMove, below, grid->viewport()->mapToGlobal(below), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &move);
    QTest::qWait(200);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, below);
    const int top = grid->GetTopleftNonFixedCell().row;
    EXPECT_GT(top, 1);
    EXPECT_GT(grid->GetFocusCell().row, 2);
    const CellRange selected = grid->GetSelectionBounds();
    EXPECT_EQ(selected.minRow, selected.maxRow);
    EXPECT_GT(selected.minRow, 2);
    // Released: the timer no longer moves anything.
    const CellID focus = grid->GetFocusCell();
    QTest::qWait(100);
    EXPECT_EQ(grid->GetFocusCell(), focus);
}

TEST_F(GridMouse, CtrlASelectsAllAndDisabledSelectionSelectsNothing)
{
    Click(*grid, CellCentre(*grid, 1, 1));
    QTest::keyClick(grid.get(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(grid->GetSelectionBounds(), (CellRange{1, 0, 5, 5}));
    grid->EnableSelection(false);
    Click(*grid, CellCentre(*grid, 3, 1));
    EXPECT_EQ(grid->GetSelectedCount(), 0);
    EXPECT_FALSE(grid->IsCellSelected(3, 1));
}

} // namespace
