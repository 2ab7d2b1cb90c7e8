// The keyboard, in-place editing and the clipboard, driven as a user would in the file list.
#include "GridTestSupport.h"

#include "grid/GridCellNumeric.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QScrollBar>

#include <gtest/gtest.h>

using namespace gridtest;

namespace {

class GridEdit : public testing::Test {
protected:
    void SetUp() override
    {
        grid = MakeFileList(5);
        grid->SetNotifyHandler(recorder.Handler());
        grid->setFocus();
    }
    void FocusOn(int row, int col)
    {
        Click(*grid, CellCentre(*grid, row, col));
        recorder.notices.clear();
    }

    std::unique_ptr<CGridCtrl> grid;
    Recorder recorder;
};

TEST_F(GridEdit, TypingALetterReplacesTheText)
{
    grid->SetItemText(2, 4, "old");
    FocusOn(2, 4);
    QTest::keyClick(grid.get(), Qt::Key_X);
    CGridCellEdit* edit = OpenEditor(*grid);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "x");
    QTest::keyClicks(edit, "yz");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(grid->GetItemText(2, 4), "xyz");
    EXPECT_TRUE(grid->GetModified(2, 4));
    EXPECT_EQ(recorder.Codes(), (std::vector<int>{GridNotify::BeginEdit, GridNotify::EndEdit}));
    EXPECT_EQ(OpenEditor(*grid), nullptr);
}

TEST_F(GridEdit, TypedPunctuationIsKeptAsTheFirstCharacter)
{
    FocusOn(2, 5);
    QTest::keyClick(grid.get(), Qt::Key_Exclam, Qt::NoModifier);
    CGridCellEdit* edit = OpenEditor(*grid);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "!");
}

TEST_F(GridEdit, SpaceSelectsTheWholeTextWithoutTypingIt)
{
    grid->SetItemText(2, 4, "keep");
    FocusOn(2, 4);
    QTest::keyClick(grid.get(), Qt::Key_Space);
    CGridCellEdit* edit = OpenEditor(*grid);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "keep");
    EXPECT_EQ(edit->selectedText(), "keep");
}

TEST_F(GridEdit, ReturnAndBackspaceStartWithTheCaretAtTheEnd)
{
    grid->SetItemText(2, 4, "abc");
    FocusOn(2, 4);
    QTest::keyClick(grid.get(), Qt::Key_Backspace);
    CGridCellEdit* edit = OpenEditor(*grid);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "ab");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(grid->GetItemText(2, 4), "ab");

    QTest::keyClick(grid.get(), Qt::Key_Return);
    edit = OpenEditor(*grid);
    ASSERT_NE(edit, nullptr);
    EXPECT_FALSE(edit->hasSelectedText());
    EXPECT_EQ(edit->cursorPosition(), 2);
}

TEST_F(GridEdit, EscapePutsBackTheStartingText)
{
    grid->SetItemText(3, 5, "orig");
    grid->SetModified(FALSE);
    FocusOn(3, 5);
    QTest::keyClick(grid.get(), Qt::Key_Q);
    QTest::keyClick(OpenEditor(*grid), Qt::Key_Escape);
    EXPECT_EQ(grid->GetItemText(3, 5), "orig");
    EXPECT_FALSE(grid->GetModified(3, 5));
    EXPECT_EQ(recorder.Codes(), (std::vector<int>{GridNotify::BeginEdit}));
}

TEST_F(GridEdit, TabStoresMovesRightAndEditsThere)
{
    grid->SetItemText(2, 5, "next");
    FocusOn(2, 4);
    QTest::keyClick(grid.get(), Qt::Key_A);
    QTest::keyClick(OpenEditor(*grid), Qt::Key_Tab);
    EXPECT_EQ(grid->GetItemText(2, 4), "a");
    EXPECT_EQ(grid->GetFocusCell(), (CellID{2, 5}));
    CGridCellEdit* edit = OpenEditor(*grid);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->selectedText(), "next");
    // Tab from the last column wraps to the next row, whose first column is read-only.
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_EQ(grid->GetFocusCell(), (CellID{3, 0}));
    EXPECT_EQ(OpenEditor(*grid), nullptr);
    EXPECT_EQ(grid->GetSelectionBounds(), (CellRange{3, 0, 3, 5}));
}

TEST_F(GridEdit, ArrowsEndAKeyStartedEditButMoveTheCaretInAClickStartedOne)
{
    grid->SetItemText(2, 4, "abc");
    FocusOn(2, 4);
    QTest::keyClick(grid.get(), Qt::Key_F2);
    CGridCellEdit* edit = OpenEditor(*grid);
    ASSERT_NE(edit, nullptr);
    QTest::keyClick(edit, Qt::Key_Left);
    EXPECT_EQ(OpenEditor(*grid), edit);
    EXPECT_EQ(edit->cursorPosition(), 2);
    QTest::keyClick(edit, Qt::Key_Return);

    QTest::keyClick(grid.get(), Qt::Key_Z);
    QTest::keyClick(OpenEditor(*grid), Qt::Key_Down);
    EXPECT_EQ(grid->GetItemText(2, 4), "z");
    EXPECT_EQ(grid->GetFocusCell(), (CellID{3, 4}));
    EXPECT_NE(OpenEditor(*grid), nullptr);
}

TEST_F(GridEdit, AMoveKeyAtTheLastRowReopensTheEditorOnTheSameCell)
{
    FocusOn(5, 4);
    QTest::keyClick(grid.get(), Qt::Key_Z);
    QTest::keyClick(OpenEditor(*grid), Qt::Key_Down);
    EXPECT_EQ(grid->GetItemText(5, 4), "z");
    EXPECT_EQ(grid->GetFocusCell(), (CellID{5, 4}));
    CGridCellEdit* edit = OpenEditor(*grid);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->selectedText(), "z");
}

TEST_F(GridEdit, EditBoxWidensAsTextIsTyped)
{
    FocusOn(2, 4);
    QTest::keyClick(grid.get(), Qt::Key_W);
    CGridCellEdit* edit = OpenEditor(*grid);
    ASSERT_NE(edit, nullptr);
    const int before = edit->width();
    QTest::keyClicks(edit, QString(30, QLatin1Char('W')));
    EXPECT_GT(edit->width(), before);
    EXPECT_LE(edit->x() + edit->width(), grid->viewport()->width());
}

TEST_F(GridEdit, OwnerVetoOfEndEditUndoesTheChange)
{
    grid->SetItemText(2, 4, "before");
    recorder.answers[GridNotify::EndEdit] = -1;
    FocusOn(2, 4);
    QTest::keyClick(grid.get(), Qt::Key_N);
    QTest::keyClick(OpenEditor(*grid), Qt::Key_Return);
    EXPECT_EQ(grid->GetItemText(2, 4), "before");
}

TEST_F(GridEdit, NumericCellsTakeDigitsOnly)
{
    grid->SetCellType(2, 5, &CGridCellNumeric::Class);
    FocusOn(2, 5);
    QTest::keyClick(grid.get(), Qt::Key_7);
    CGridCellEdit* edit = OpenEditor(*grid);
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, "a1-2");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(grid->GetItemText(2, 5), "712");
}

TEST_F(GridEdit, DeletingTheRowBeingEditedClosesTheEditor)
{
    FocusOn(3, 4);
    QTest::keyClick(grid.get(), Qt::Key_P);
    ASSERT_NE(OpenEditor(*grid), nullptr);
    ASSERT_TRUE(grid->DeleteRow(3));
    QApplication::processEvents();
    EXPECT_EQ(OpenEditor(*grid), nullptr);
    EXPECT_EQ(grid->GetItemText(3, 4), QString()); // the row that moved up is untouched
    EXPECT_EQ(grid->GetRowCount(), 5);
}

TEST_F(GridEdit, ArrowKeysMoveOneVisibleCellAndStopAtTheEdges)
{
    FocusOn(1, 1);
    grid->SetRowHeight(2, 0);
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(grid->GetFocusCell(), (CellID{3, 1}));
    EXPECT_EQ(grid->GetSelectionBounds(), (CellRange{3, 0, 3, 5}));
    EXPECT_EQ(recorder.notices, (std::vector<Notice>{{GridNotify::SelectionChanging, 3, 1},
                                                     {GridNotify::SelectionChanged, 3, 1}}));
    QTest::keyClick(grid.get(), Qt::Key_Up);
    QTest::keyClick(grid.get(), Qt::Key_Up);
    EXPECT_EQ(grid->GetFocusCell(), (CellID{1, 1}));
    QTest::keyClick(grid.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid->GetFocusCell(), (CellID{5, 5}));
    QTest::keyClick(grid.get(), Qt::Key_Right);
    EXPECT_EQ(grid->GetFocusCell(), (CellID{5, 5}));
    QTest::keyClick(grid.get(), Qt::Key_Home);
    EXPECT_EQ(grid->GetFocusCell(), (CellID{5, 0}));
    QTest::keyClick(grid.get(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid->GetFocusCell(), (CellID{4, 5}));
}

TEST_F(GridEdit, PageKeysMoveByThePage)
{
    for (int i = 0; i < 100; ++i)
        AppendFileRow(*grid, QStringLiteral("more%1.txt").arg(i));
    FocusOn(1, 1);
    QTest::keyClick(grid.get(), Qt::Key_PageDown);
    const int top = grid->GetTopleftNonFixedCell().row;
    EXPECT_GT(top, 1);
    EXPECT_EQ(grid->GetFocusCell().row, top);
    QTest::keyClick(grid.get(), Qt::Key_PageUp);
    QTest::keyClick(grid.get(), Qt::Key_PageUp);
    EXPECT_EQ(grid->GetFocusCell().row, 1);
    QTest::keyClick(grid.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid->GetFocusCell().row, 105);
    EXPECT_TRUE(grid->IsCellVisible(105, 5));
}

TEST_F(GridEdit, DeleteEmptiesOnlyTheEditableCellsOfTheSelectedRow)
{
    grid->SetItemText(2, 4, "owner");
    grid->SetItemText(2, 5, "user");
    FocusOn(2, 1);
    QTest::keyClick(grid.get(), Qt::Key_Delete);
    EXPECT_EQ(grid->GetItemText(2, 4), QString());
    EXPECT_EQ(grid->GetItemText(2, 5), QString());
    EXPECT_EQ(grid->GetItemText(2, 1), "file2.txt");
    int begins = 0, ends = 0;
    for (const Notice& n : recorder.notices) {
        begins += n.code == GridNotify::BeginEdit;
        ends += n.code == GridNotify::EndEdit;
    }
    EXPECT_EQ(begins, 2);
    EXPECT_EQ(ends, 2);
}

TEST_F(GridEdit, CopyWritesTabsBetweenColumnsAndCrLfBetweenRows)
{
    grid->SetSingleRowSelection(false);
    grid->SetItemText(2, 4, "pw");
    grid->SetColumnWidth(3, 0);
    FocusOn(1, 1);
    Click(*grid, CellCentre(*grid, 2, 1), Qt::ShiftModifier);
    QTest::keyClick(grid.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              "\tfile1.txt\t1,024 KB\t\t\r\n\tfile2.txt\t1,024 KB\tpw\t");
}

TEST_F(GridEdit, CutEmptiesOnlyEditableCells)
{
    grid->SetItemText(3, 5, "cutme");
    FocusOn(3, 1);
    QTest::keyClick(grid.get(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().endsWith("\tcutme"));
    EXPECT_EQ(grid->GetItemText(3, 5), QString());
    EXPECT_EQ(grid->GetItemText(3, 1), "file3.txt");
}

TEST_F(GridEdit, PasteSplitsFieldsTrimsThemAndSelectsThePastedRange)
{
    grid->SetListMode(false);
    grid->SetFocusCell(2, 4);
    QGuiApplication::clipboard()->setText(" a1 ,b1\r\n\ta2\t \nc3\n");
    QTest::keyClick(grid.get(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid->GetItemText(2, 4), "a1");
    EXPECT_EQ(grid->GetItemText(2, 5), "b1");
    EXPECT_EQ(grid->GetItemText(3, 4), QString());
    EXPECT_EQ(grid->GetItemText(3, 5), "a2");
    EXPECT_EQ(grid->GetItemText(4, 4), "c3");
    EXPECT_EQ(grid->GetSelectionBounds(), (CellRange{2, 4, 4, 5}));
}

struct PasteCase {
    const char* clipboard;
    const char* owner; // the owner and user password cells afterwards
    const char* user;
};

void PrintTo(const PasteCase& c, std::ostream* os)
{
    *os << testing::PrintToString(std::string(c.clipboard));
}

class GridPasteFields : public testing::TestWithParam<PasteCase> {};

TEST_P(GridPasteFields, WritesEveryFieldOfTheLineEmptyOnesIncluded)
{
    auto grid = MakeFileList(3);
    grid->SetListMode(false);
    grid->SetItemText(2, 4, "old owner");
    grid->SetItemText(2, 5, "old user");
    grid->SetFocusCell(2, 4);
    QGuiApplication::clipboard()->setText(QString::fromUtf8(GetParam().clipboard));
    QTest::keyClick(grid.get(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid->GetItemText(2, 4), QString::fromUtf8(GetParam().owner));
    EXPECT_EQ(grid->GetItemText(2, 5), QString::fromUtf8(GetParam().user));
}

INSTANTIATE_TEST_SUITE_P(Lines, GridPasteFields,
                         testing::Values(PasteCase{"x\t", "x", ""}, PasteCase{"\ty", "", "y"},
                                         PasteCase{"x,", "x", ""}, PasteCase{"\t", "", ""},
                                         PasteCase{"x", "x", "old user"}, PasteCase{" x , y \r\n", "x", "y"},
                                         PasteCase{"", "old owner", "old user"}));

TEST_F(GridEdit, PastingTenThousandLinesStopsAtTheLastRow)
{
    QString text;
    for (int i = 0; i < 10000; ++i)
        text += QStringLiteral("o%1\tu%1\n").arg(i);
    QGuiApplication::clipboard()->setText(text);
    grid->SetFocusCell(4, 4);
    grid->OnEditPaste();
    EXPECT_EQ(grid->GetItemText(5, 5), "u1");
    EXPECT_EQ(grid->GetRowCount(), 6);
}

TEST_F(GridEdit, PasteIntoAReadOnlyTargetDoesNothing)
{
    QGuiApplication::clipboard()->setText("x");
    FocusOn(2, 1);
    QTest::keyClick(grid.get(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid->GetItemText(2, 0), QString());
    EXPECT_TRUE(recorder.notices.empty());
}

TEST_F(GridEdit, DestroyingTheGridWhileEditingIsSafe)
{
    FocusOn(2, 4);
    QTest::keyClick(grid.get(), Qt::Key_D);
    ASSERT_NE(OpenEditor(*grid), nullptr);
    grid.reset();
    QApplication::processEvents();
    SUCCEED();
}

TEST_F(GridEdit, ChangingTheTableUnderAnOpenEditorCommitsToTheRightCell)
{
    FocusOn(4, 5);
    QTest::keyClick(grid.get(), Qt::Key_K);
    ASSERT_NE(OpenEditor(*grid), nullptr);
    ASSERT_TRUE(grid->DeleteRow(1)); // the edited row moves up to row 3
    EXPECT_EQ(grid->GetItemText(3, 5), "k");
    EXPECT_EQ(grid->GetItemText(4, 5), QString());
    EXPECT_EQ(OpenEditor(*grid), nullptr);
}

TEST_F(GridEdit, InputMethodTextStartsAnEditWithAllOfIt)
{
    grid->SetItemText(2, 4, "old");
    FocusOn(2, 4);
    // An input method asks the focus object whether it takes its text before it sends any.
    QObject* target = QGuiApplication::focusObject();
    ASSERT_EQ(target, grid.get());
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QApplication::sendEvent(target, &query);
    ASSERT_TRUE(query.value(Qt::ImEnabled).toBool());
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("\u65e5\u672c"));
    QApplication::sendEvent(target, &commit);
    CGridCellEdit* edit = OpenEditor(*grid);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QString::fromUtf8("\u65e5\u672c"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(grid->GetItemText(2, 4), QString::fromUtf8("\u65e5\u672c"));
}

TEST_F(GridEdit, PasteFromTheBoxsOwnMenuTypesIntoTheOpenBox)
{
    grid->SetItemText(2, 4, "old");
    FocusOn(2, 4);
    QTest::keyClick(grid.get(), Qt::Key_F2);
    CGridCellEdit* edit = OpenEditor(*grid);
    ASSERT_NE(edit, nullptr);
    QGuiApplication::clipboard()->setText("pasted");
    // Through the window, as a real right click comes, so that the box gets its context menu.
    QWindow* window = grid->window()->windowHandle();
    QTest::mouseClick(window, Qt::RightButton, {}, window->mapFromGlobal(edit->mapToGlobal(edit->rect().center())));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QAction* paste = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith("&Paste"))
            paste = action;
    }
    ASSERT_NE(paste, nullptr);
    paste->trigger();
    menu->close();
    QApplication::processEvents();
    ASSERT_EQ(OpenEditor(*grid), edit);
    EXPECT_EQ(edit->text(), "oldpasted");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(grid->GetItemText(2, 4), "oldpasted");
}

// Keys held with Alt are system keys: neither the grid nor an open edit box acts on them.
class GridAltKey : public testing::TestWithParam<Qt::Key> {
protected:
    void SetUp() override
    {
        grid = MakeFileList(5);
        grid->SetNotifyHandler(recorder.Handler());
        grid->SetItemText(2, 4, "keep");
        Click(*grid, CellCentre(*grid, 2, 4));
        recorder.notices.clear();
    }
    std::unique_ptr<CGridCtrl> grid;
    Recorder recorder;
};

TEST_P(GridAltKey, LeavesTheGridAlone)
{
    QTest::keyClick(grid.get(), GetParam(), Qt::AltModifier);
    EXPECT_EQ(OpenEditor(*grid), nullptr);
    EXPECT_EQ(grid->GetFocusCell(), (CellID{2, 4}));
    EXPECT_EQ(grid->GetItemText(2, 4), "keep");
    EXPECT_TRUE(recorder.notices.empty());
}

TEST_P(GridAltKey, LeavesAnOpenEditBoxAlone)
{
    QTest::keyClick(grid.get(), Qt::Key_K); // a key-started edit, which arrows would end
    CGridCellEdit* edit = OpenEditor(*grid);
    ASSERT_NE(edit, nullptr);
    QTest::keyClick(edit, GetParam(), Qt::AltModifier);
    EXPECT_EQ(OpenEditor(*grid), edit);
    EXPECT_EQ(edit->text(), "k");
    EXPECT_EQ(grid->GetFocusCell(), (CellID{2, 4}));
    EXPECT_EQ(grid->GetItemText(2, 4), "keep");
}

std::string KeyName(const testing::TestParamInfo<Qt::Key>& info)
{
    return QKeySequence(info.param).toString().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Keys, GridAltKey,
                         testing::Values(Qt::Key_X, Qt::Key_Down, Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Return),
                         KeyName);

struct UnhandledKey {
    bool focusCell;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

void PrintTo(const UnhandledKey& k, std::ostream* os)
{
    *os << (k.focusCell ? "focus cell, key " : "no focus cell, key ")
        << QKeySequence(k.key | k.modifiers).toString().toStdString();
}

class GridUnhandledKey : public testing::TestWithParam<UnhandledKey> {};

TEST_P(GridUnhandledKey, LeavesTheViewWhereItIs)
{
    auto grid = MakeFileList(60);
    grid->resize(400, 200);
    QApplication::processEvents();
    if (GetParam().focusCell)
        grid->SetFocusCell(20, 2);
    grid->verticalScrollBar()->setValue(100);
    grid->horizontalScrollBar()->setValue(50);
    const CellID focus = grid->GetFocusCell();
    QTest::keyClick(grid.get(), GetParam().key, GetParam().modifiers);
    EXPECT_EQ(grid->verticalScrollBar()->value(), 100);
    EXPECT_EQ(grid->horizontalScrollBar()->value(), 50);
    EXPECT_EQ(grid->GetFocusCell(), focus);
}

INSTANTIATE_TEST_SUITE_P(Keys, GridUnhandledKey,
                         testing::Values(UnhandledKey{false, Qt::Key_Down, Qt::NoModifier},
                                         UnhandledKey{false, Qt::Key_PageDown, Qt::NoModifier},
                                         UnhandledKey{false, Qt::Key_PageUp, Qt::NoModifier},
                                         UnhandledKey{false, Qt::Key_Right, Qt::NoModifier},
                                         UnhandledKey{false, Qt::Key_Up, Qt::NoModifier},
                                         UnhandledKey{true, Qt::Key_Down, Qt::AltModifier},
                                         UnhandledKey{true, Qt::Key_Left, Qt::AltModifier}));

// The ways the rows can move under an open editor.
enum class ScrollWay { Wheel, VerticalBar, HorizontalBar };

std::string ScrollWayName(const testing::TestParamInfo<ScrollWay>& info)
{
    static const char* const names[] = {"Wheel", "VerticalBar", "HorizontalBar"};
    return names[int(info.param)];
}

class GridEditorWhileScrolling : public testing::TestWithParam<ScrollWay> {};

TEST_P(GridEditorWhileScrolling, EndsTheEditIntoTheEditedCell)
{
    auto grid = MakeFileList(40);
    grid->resize(400, 200);
    QApplication::processEvents();
    grid->SetItemText(5, 4, "row 5");
    Click(*grid, CellCentre(*grid, 2, 4));
    QTest::keyClick(grid.get(), Qt::Key_P);
    CGridCellEdit* edit = OpenEditor(*grid);
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, "w");

    switch (GetParam()) {
    case ScrollWay::Wheel: {
        // A wheel turned over the box reaches the viewport under it: the box ignores wheels.
        const QPoint at = edit->geometry().center();
        QWheelEvent wheel(at, grid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid->viewport(), &wheel);
        break;
    }
    case ScrollWay::VerticalBar:
        grid->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case ScrollWay::HorizontalBar:
        grid->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
        break;
    }
    QApplication::processEvents();
    EXPECT_EQ(OpenEditor(*grid), nullptr);
    EXPECT_EQ(grid->GetItemText(2, 4), "pw");
    EXPECT_EQ(grid->GetItemText(5, 4), "row 5");
    EXPECT_TRUE(grid->hasFocus());
}

INSTANTIATE_TEST_SUITE_P(Scrolls, GridEditorWhileScrolling,
                         testing::Values(ScrollWay::Wheel, ScrollWay::VerticalBar, ScrollWay::HorizontalBar),
                         ScrollWayName);

} // namespace
