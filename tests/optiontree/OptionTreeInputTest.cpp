// The mouse and the keyboard on the rows: focus and selection, activation and its veto,
// expanding and collapsing, the column boundary, double clicks and scrolling.
#include "TreeFixture.h"

#include "optiontree/OptionTreeDescriptionWnd.h"

#include <QApplication>
#include <QScrollBar>
#include <QWindow>

namespace {

using Input = TreeFixture;

TEST_F(Input, ClickOnLabelFocusesAndSelects)
{
    BuildPaneTree();
    COptionTreeItemBase* left = tree->FindItem(6);
    Click(left, LabelX());
    EXPECT_EQ(tree->GetFocusedItem(), left);
    EXPECT_TRUE(left->IsSelected());
    EXPECT_EQ(log, (std::vector<Received>{{NotifyFocusChanged, left}}));
    EXPECT_FALSE(Row<COptionTreeEditItem>(6)->GetEdit()->isVisible()) << "the label does not activate";

    log.clear();
    Click(left, LabelX());
    EXPECT_TRUE(log.empty()) << "same row: no focus change";

    COptionTreeItemBase* right = tree->FindItem(7);
    Click(right, LabelX());
    EXPECT_FALSE(left->IsSelected());
    EXPECT_TRUE(right->IsSelected());
    EXPECT_EQ(log, (std::vector<Received>{{NotifyFocusChanged, right}}));
}

TEST_F(Input, ClickOnValueActivatesUnlessVetoedOrReadOnly)
{
    BuildPaneTree();
    auto* left = Row<COptionTreeEditItem>(6);
    Click(left, ValueX());
    EXPECT_EQ(Codes(), (std::vector<int>{NotifyFocusChanged, NotifyItemActivating}));
    EXPECT_TRUE(left->GetEdit()->isVisible());
    EXPECT_TRUE(left->GetEdit()->hasFocus());
    EXPECT_EQ(left->GetEdit()->geometry(), left->GetAttributeRect());

    vetoes.insert(NotifyItemActivating);
    auto* right = Row<COptionTreeEditItem>(7);
    Click(right, ValueX());
    EXPECT_FALSE(right->GetEdit()->isVisible());
    EXPECT_EQ(tree->GetFocusedItem(), right);

    vetoes.clear();
    auto* width = Row<COptionTreeEditItem>(3);
    Click(width, ValueX());
    EXPECT_EQ(tree->GetFocusedItem(), width);
    EXPECT_FALSE(width->GetEdit()->isVisible()) << "read-only";
}

TEST_F(Input, ClickOnCategoryValueOnlyFocuses)
{
    BuildPaneTree();
    COptionTreeItemBase* display = tree->FindItem(22);
    Click(display, ValueX());
    EXPECT_EQ(tree->GetFocusedItem(), display);
    EXPECT_TRUE(display->IsSelected());
    EXPECT_EQ(Codes(), std::vector<int>{NotifyFocusChanged});
}

TEST_F(Input, ClickBelowTheRowsClearsFocus)
{
    tree->InsertItem(std::make_unique<COptionTreeItemBase>());
    Click(tree->FindItem(1), LabelX());
    log.clear();
    QTest::mouseClick(Client(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 300));
    EXPECT_EQ(tree->GetFocusedItem(), nullptr);
    EXPECT_FALSE(tree->FindItem(1)->IsSelected());
    EXPECT_EQ(log, (std::vector<Received>{{NotifyFocusChanged, nullptr}}));
}

TEST_F(Input, ExpandBoxTogglesUnlessVetoed)
{
    BuildPaneTree();
    COptionTreeItemBase* margin = tree->FindItem(5);
    Click(margin, 8);
    EXPECT_FALSE(margin->IsExpanded());
    EXPECT_EQ(log, (std::vector<Received>{{NotifyItemExpanding, margin}}));
    EXPECT_FALSE(tree->IsInVisibleList(tree->FindItem(6)));
    EXPECT_EQ(tree->FindItem(10)->GetLocation().y(), margin->GetLocation().y() + 21);

    vetoes.insert(NotifyItemExpanding);
    Click(margin, 8);
    EXPECT_FALSE(margin->IsExpanded());
    vetoes.clear();
    Click(margin, 8);
    EXPECT_TRUE(margin->IsExpanded());
    EXPECT_EQ(tree->GetFocusedItem(), nullptr) << "the box does not focus";
}

TEST_F(Input, CollapsingAroundTheFocusLeavesNoFocusAndEmptiesTheDescription)
{
    BuildPaneTree();
    Click(tree->FindItem(26), LabelX());
    const QImage before = tree->GetDescriptionWnd()->grab().toImage();
    log.clear();
    Click(tree->FindItem(25), 8);
    EXPECT_EQ(tree->GetFocusedItem(), nullptr);
    EXPECT_FALSE(tree->FindItem(26)->IsSelected());
    EXPECT_EQ(log, (std::vector<Received>{{NotifyItemExpanding, tree->FindItem(25)}, {NotifyFocusChanged, nullptr}}));

    const QImage after = tree->GetDescriptionWnd()->grab().toImage();
    const QColor face = ToQColor(GetSysColor(COLOR_3DFACE));
    int textPixels = 0;
    for (int y = 5; y < after.height() - 5; ++y)
        for (int x = 5; x < after.width() - 5; ++x)
            textPixels += after.pixelColor(x, y) != face;
    EXPECT_EQ(textPixels, 0);
    EXPECT_NE(before, after);
}

TEST_F(Input, ColumnDragLandsWithinLimits)
{
    BuildPaneTree();
    const QPoint onBoundary = RowPoint(tree->FindItem(6), tree->GetColumn() + 2);
    QTest::mousePress(Client(), Qt::LeftButton, Qt::NoModifier, onBoundary);
    EXPECT_TRUE(tree->GetRowsWnd()->IsDragging());
    EXPECT_EQ(log, (std::vector<Received>{{NotifyColumnDragStart, nullptr}}));
    QTest::mouseMove(Client(), QPoint(10, onBoundary.y()));
    EXPECT_EQ(tree->GetRowsWnd()->GetDragPos(), 10);
    QTest::mouseRelease(Client(), Qt::LeftButton, Qt::NoModifier, QPoint(10, onBoundary.y()));
    EXPECT_FALSE(tree->GetRowsWnd()->IsDragging());
    EXPECT_EQ(tree->GetColumn(), 41);

    const int right = tree->GetRowsWnd()->ClientRect().width();
    const QPoint again = RowPoint(tree->FindItem(6), 41);
    QTest::mousePress(Client(), Qt::LeftButton, Qt::NoModifier, again);
    QTest::mouseRelease(Client(), Qt::LeftButton, Qt::NoModifier, QPoint(right + 50, again.y()));
    EXPECT_EQ(tree->GetColumn(), right - 25);

    QTest::mousePress(Client(), Qt::LeftButton, Qt::NoModifier, RowPoint(tree->FindItem(6), right - 25));
    QTest::mouseRelease(Client(), Qt::LeftButton, Qt::NoModifier, QPoint(200, again.y()));
    EXPECT_EQ(tree->GetColumn(), 200);
}

TEST_F(Input, ColumnDragCanBeVetoed)
{
    BuildPaneTree();
    vetoes.insert(NotifyColumnDragStart);
    const QPoint onBoundary = RowPoint(tree->FindItem(6), tree->GetColumn());
    QTest::mousePress(Client(), Qt::LeftButton, Qt::NoModifier, onBoundary);
    EXPECT_FALSE(tree->GetRowsWnd()->IsDragging());
    QTest::mouseRelease(Client(), Qt::LeftButton, Qt::NoModifier, QPoint(10, onBoundary.y()));
    EXPECT_EQ(tree->GetColumn(), 150);
}

TEST_F(Input, DoubleClickOnBoundaryFitsTheWidestLabel)
{
    BuildPaneTree();
    tree->SetColumn(300);
    const int widest = GdiRight(tree->GetLargestLabelRect());
    EXPECT_GT(widest, 100);
    EXPECT_LT(widest, 295);
    DoubleClick(tree->FindItem(6), 300);
    EXPECT_EQ(tree->GetColumn(), widest + 5);
}

TEST_F(Input, DoubleClickTogglesFromLabelOrBoxButNotFromValue)
{
    BuildPaneTree();
    COptionTreeItemBase* size = tree->FindItem(2);
    DoubleClick(size, ValueX());
    EXPECT_TRUE(size->IsExpanded()) << "the value of a non-category parent";
    EXPECT_TRUE(log.empty());

    DoubleClick(size, LabelX());
    EXPECT_FALSE(size->IsExpanded());
    EXPECT_EQ(tree->GetFocusedItem(), size);
    EXPECT_EQ(Codes(), (std::vector<int>{NotifyFocusChanged, NotifyItemExpanding}));

    log.clear();
    DoubleClick(size, 8);
    EXPECT_TRUE(size->IsExpanded());
    EXPECT_EQ(Codes(), std::vector<int>{NotifyItemExpanding});

    COptionTreeItemBase* paper = tree->FindItem(1);
    DoubleClick(paper, ValueX());
    EXPECT_FALSE(paper->IsExpanded()) << "a category toggles from its value column too";

    DoubleClick(tree->FindItem(22), ValueX()); // no children below Paper Options are shown now
    vetoes.insert(NotifyItemExpanding);
    DoubleClick(paper, LabelX());
    EXPECT_FALSE(paper->IsExpanded());
}

// Clicks through the window's input path, as the window system delivers them: Qt itself turns
// a quick second press into a double click.
void WindowClicks(QWidget* target, const QPoint& point, int clicks)
{
    QWindow* window = target->window()->windowHandle();
    const QPointF local = target->mapTo(target->window(), point);
    const QPointF global = target->mapToGlobal(point);
    int time = QTest::lastMouseTimestamp + 10000;
    for (int i = 0; i < clicks; ++i, time += 100) {
        qt_handleMouseEvent(window, local, global, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress,
                            Qt::NoModifier, time);
        qt_handleMouseEvent(window, local, global, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease,
                            Qt::NoModifier, time + 5);
    }
    QTest::lastMouseTimestamp = time + 10000;
    QApplication::processEvents();
}

TEST_F(Input, RealDoubleClickActsOnceOnTheBoundary)
{
    BuildPaneTree();
    tree->SetColumn(300);
    const int widest = GdiRight(tree->GetLargestLabelRect());
    WindowClicks(Client(), RowPoint(tree->FindItem(6), 302), 2);
    EXPECT_FALSE(tree->GetRowsWnd()->IsDragging());
    EXPECT_EQ(tree->GetColumn(), widest + 5);
}

TEST_F(Input, EveryClickOfAQuickTripleClickTogglesTheExpandBox)
{
    BuildPaneTree();
    COptionTreeItemBase* margin = tree->FindItem(5);
    ASSERT_TRUE(margin->IsExpanded());
    WindowClicks(Client(), RowPoint(margin, 8), 3);
    EXPECT_FALSE(margin->IsExpanded()) << "toggled three times";
    EXPECT_EQ(Notices(NotifyItemExpanding).size(), 3u);
}

TEST_F(Input, ArrowKeysWalkTheVisibleRows)
{
    BuildPaneTree();
    Key(Qt::Key_Down);
    EXPECT_EQ(tree->GetFocusedItem(), tree->FindItem(1)) << "no focus: Down takes the first row";
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(tree->GetFocusedItem(), tree->FindItem(3));
    EXPECT_TRUE(tree->FindItem(3)->IsSelected());
    EXPECT_FALSE(tree->FindItem(2)->IsSelected());
    Key(Qt::Key_Up);
    EXPECT_EQ(tree->GetFocusedItem(), tree->FindItem(2));
    Key(Qt::Key_End);
    EXPECT_EQ(tree->GetFocusedItem(), tree->FindItem(36));
    EXPECT_GT(tree->GetYOffset(), 0) << "the last row was scrolled into view";
    log.clear();
    Key(Qt::Key_Down);
    EXPECT_EQ(tree->GetFocusedItem(), tree->FindItem(36));
    EXPECT_TRUE(log.empty());
    Key(Qt::Key_Home);
    EXPECT_EQ(tree->GetFocusedItem(), tree->FindItem(1));
    EXPECT_EQ(tree->GetYOffset(), 0);
    Key(Qt::Key_Up);
    EXPECT_EQ(tree->GetFocusedItem(), tree->FindItem(1));
}

TEST_F(Input, LeftAndRightCollapseExpandOrMove)
{
    BuildPaneTree();
    COptionTreeItemBase* size = tree->FindItem(2);
    Click(size, LabelX());
    Key(Qt::Key_Left);
    EXPECT_FALSE(size->IsExpanded());
    EXPECT_EQ(tree->GetFocusedItem(), size);
    Key(Qt::Key_Left);
    EXPECT_EQ(tree->GetFocusedItem(), tree->FindItem(1)) << "collapsed: Left acts as Up";
    Key(Qt::Key_Down);
    Key(Qt::Key_Right);
    EXPECT_TRUE(size->IsExpanded());
    Key(Qt::Key_Right);
    EXPECT_EQ(tree->GetFocusedItem(), tree->FindItem(3)) << "expanded: Right acts as Down";
    Key(Qt::Key_Right);
    EXPECT_EQ(tree->GetFocusedItem(), tree->FindItem(4)) << "childless: Right acts as Down";
    Key(Qt::Key_Left);
    EXPECT_EQ(tree->GetFocusedItem(), tree->FindItem(3)) << "childless: Left acts as Up";

    vetoes.insert(NotifyItemExpanding);
    Key(Qt::Key_Up);
    Key(Qt::Key_Left);
    EXPECT_TRUE(size->IsExpanded());
    EXPECT_EQ(tree->GetFocusedItem(), tree->FindItem(1)) << "vetoed: Left acts as Up";
}

TEST_F(Input, LeftOnAnAncestorOfTheFocusDropsIt)
{
    BuildPaneTree();
    Click(tree->FindItem(1), LabelX());
    Key(Qt::Key_Left);
    EXPECT_FALSE(tree->FindItem(1)->IsExpanded());
    EXPECT_EQ(tree->GetFocusedItem(), tree->FindItem(1)) << "the collapsed row itself stays visible";
}

TEST_F(Input, TabMovesAndOpensEditors)
{
    BuildPaneTree();
    auto* left = Row<COptionTreeEditItem>(6);
    Click(tree->FindItem(5), LabelX());
    Key(Qt::Key_Tab);
    EXPECT_EQ(tree->GetFocusedItem(), left);
    EXPECT_TRUE(left->GetEdit()->hasFocus());
    Key(Qt::Key_Tab);
    EXPECT_TRUE(outside->hasFocus()) << "Tab inside the edit leaves the tree";

    Click(tree->FindItem(8), LabelX());
    Key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(tree->GetFocusedItem(), tree->FindItem(7));
    EXPECT_TRUE(Row<COptionTreeEditItem>(7)->GetEdit()->hasFocus());

    Click(tree->FindItem(1), LabelX());
    log.clear();
    Key(Qt::Key_Tab);
    EXPECT_EQ(tree->GetFocusedItem(), tree->FindItem(1)) << "Tab does nothing on a category";
    EXPECT_TRUE(log.empty());
}

TEST_F(Input, EnterOpensTheFocusedEditor)
{
    BuildPaneTree();
    auto* font = Row<COptionTreeComboItem>(10);
    Click(font, LabelX());
    Key(Qt::Key_Return);
    EXPECT_TRUE(font->GetComboBox()->isVisible());
    EXPECT_TRUE(font->GetComboBox()->hasFocus());
    EXPECT_EQ(font->GetComboBox()->geometry(), font->GetAttributeRect());

    Click(tree->FindItem(4), LabelX());
    Key(Qt::Key_Return);
    EXPECT_FALSE(Row<COptionTreeEditItem>(4)->GetEdit()->isVisible()) << "read-only";
}

TEST_F(Input, KeysAnOpenEditorLeavesUnusedDoNotMoveTheRows)
{
    BuildPaneTree();
    auto* left = Row<COptionTreeEditItem>(6);
    Click(left, ValueX());
    log.clear();
    Key(Qt::Key_Down);
    Key(Qt::Key_Up);
    EXPECT_EQ(tree->GetFocusedItem(), left);
    EXPECT_TRUE(left->GetEdit()->hasFocus());
    EXPECT_TRUE(log.empty()) << "neither a focus change nor a commit";

    auto* results = Row<COptionTreeComboItem>(24);
    Click(results, ValueX());
    log.clear();
    Key(Qt::Key_Left);
    Key(Qt::Key_Return);
    EXPECT_EQ(tree->GetFocusedItem(), results);
    EXPECT_TRUE(results->GetComboBox()->hasFocus());
    EXPECT_TRUE(Notices(NotifyFocusChanged).empty());
}

TEST_F(Input, PageKeysDoNotScroll)
{
    BuildPaneTree();
    Click(tree->FindItem(1), LabelX());
    ASSERT_GT(tree->GetRowsWnd()->TotalHeight(), Client()->height());
    Key(Qt::Key_PageDown);
    EXPECT_EQ(tree->GetYOffset(), 0);
    Key(Qt::Key_End);
    const int bottom = tree->GetYOffset();
    Key(Qt::Key_PageUp);
    EXPECT_EQ(tree->GetYOffset(), bottom);
}

TEST_F(Input, KeysAndClicksOnAnEmptyTreeDoNothing)
{
    for (int key : {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Return, Qt::Key_Home, Qt::Key_End, Qt::Key_Left,
                    Qt::Key_Right, Qt::Key_Up, Qt::Key_Down})
        Key(key);
    QTest::mouseClick(Client(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseDClick(Client(), Qt::LeftButton, Qt::NoModifier, QPoint(150, 100));
    EXPECT_EQ(tree->GetFocusedItem(), nullptr);
    EXPECT_EQ(tree->GetYOffset(), 0);
    EXPECT_EQ(tree->FocusFirst(), nullptr);
    EXPECT_EQ(tree->FocusNext(), nullptr);
    EXPECT_EQ(tree->FocusPrev(), nullptr);
    EXPECT_EQ(tree->FocusLast(), nullptr);
}

TEST_F(Input, DisabledTreeIgnoresInput)
{
    BuildPaneTree();
    tree->setEnabled(false);
    QTest::mouseClick(Client(), Qt::LeftButton, Qt::NoModifier, QPoint(LabelX(), 30));
    QTest::keyClick(tree->GetRowsWnd(), Qt::Key_Down);
    EXPECT_EQ(tree->GetFocusedItem(), nullptr);
    EXPECT_TRUE(log.empty());
}

TEST(InputBeforeShow, TreeFilledWhileHiddenKeepsItsColumn)
{
    QWidget page;
    page.resize(500, 400);
    COptionTreeCtrl tree;
    ASSERT_TRUE(tree.Create(QRect(0, 0, 500, 400), &page, 25, 101));
    auto* category = tree.InsertItem(std::make_unique<COptionTreeItemBase>());
    tree.InsertItem(std::make_unique<COptionTreeItemBase>(), category);
    tree.ExpandAllItems();
    EXPECT_EQ(tree.GetColumn(), 150);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    EXPECT_EQ(tree.GetColumn(), 150);
    tree.resize(100, 400);
    QApplication::processEvents();
    EXPECT_EQ(tree.GetColumn(), tree.GetRowsWnd()->ClientRect().width() - 16) << "narrowed with the window";
}

class WheelOver : public TreeFixture, public ::testing::WithParamInterface<const char*> {
protected:
    // Over the rows or over the scroll bar.
    QWidget* Target()
    {
        QScrollBar* bar = tree->GetRowsWnd()->verticalScrollBar();
        return std::string(GetParam()) == "ScrollBar" ? static_cast<QWidget*>(bar) : Client();
    }
    void Wheel(int delta)
    {
        const QPoint point(Target()->width() / 2, Target()->height() / 2);
        QWheelEvent event(point, Target()->mapToGlobal(point), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Target(), &event);
    }
};

TEST_P(WheelOver, ScrollsOneRowPerNotchWithinRange)
{
    BuildPaneTree();
    ASSERT_TRUE(Target()->isVisible());
    const int total = tree->GetRowsWnd()->TotalHeight();
    const int client = tree->GetRowsWnd()->ClientRect().height();
    ASSERT_EQ(total, 36 * 21);
    Wheel(-120);
    EXPECT_EQ(tree->GetYOffset(), 21);
    Wheel(120);
    Wheel(120);
    EXPECT_EQ(tree->GetYOffset(), 0);
    for (int i = 0; i < 40; ++i)
        Wheel(-120);
    EXPECT_EQ(tree->GetYOffset(), total - client - 1);
    EXPECT_EQ(tree->GetRowsWnd()->verticalScrollBar()->value(), total - client - 1);

    COptionTreeItemBase* last = tree->FindItem(36);
    EXPECT_EQ(tree->ItemAt(QPoint(100, last->GetLocation().y() - tree->GetYOffset() + 3)), last);
}

INSTANTIATE_TEST_SUITE_P(Input, WheelOver, ::testing::Values("Rows", "ScrollBar"),
                         [](const auto& info) { return std::string(info.param); });

TEST_F(Input, ShortTreeNeverScrolls)
{
    auto* category = AddGroup("Only", nullptr);
    AddEdit("One", category, 0, "1");
    tree->ExpandAllItems();
    QPoint point(100, 10);
    QWheelEvent event(point, Client()->mapToGlobal(point), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Client(), &event);
    EXPECT_EQ(tree->GetYOffset(), 0);
    tree->GetRowsWnd()->ScrollTo(500);
    EXPECT_EQ(tree->GetYOffset(), 0);
    EXPECT_FALSE(tree->GetRowsWnd()->verticalScrollBar()->isVisible());
}

TEST_F(Input, CollapsingNearTheEndBringsTheOffsetToTheNewEnd)
{
    BuildPaneTree();
    Key(Qt::Key_End);
    ASSERT_GT(tree->GetYOffset(), 0);
    COptionTreeItemBase* encoding = tree->FindItem(18);
    encoding->Expand(FALSE);
    tree->FindItem(5)->Expand(FALSE);
    tree->UpdateList();
    const int end = tree->GetRowsWnd()->TotalHeight() - tree->GetRowsWnd()->ClientRect().height() - 1;
    ASSERT_GT(end, 0);
    EXPECT_EQ(tree->GetYOffset(), end);
    EXPECT_EQ(tree->GetRowsWnd()->verticalScrollBar()->value(), end);
}

TEST_F(Input, EnsureVisibleExpandsAndScrollsOneRowAboveTheBottom)
{
    BuildPaneTree();
    tree->FindItem(25)->Expand(FALSE);
    tree->UpdateList();
    COptionTreeItemBase* keywords = tree->FindItem(30);
    tree->SetFocusedItem(keywords);
    EXPECT_TRUE(tree->FindItem(25)->IsExpanded());
    const int client = tree->GetRowsWnd()->ClientRect().height();
    EXPECT_EQ(keywords->GetLocation().y() + 21 - tree->GetYOffset(), client - 21);

    tree->EnsureVisible(tree->FindItem(29));
    EXPECT_EQ(keywords->GetLocation().y() + 21 - tree->GetYOffset(), client - 21) << "already shown";
    tree->EnsureVisible(tree->FindItem(1));
    EXPECT_EQ(tree->GetYOffset(), 0);
    tree->EnsureVisible(tree->FindItem(36));
    EXPECT_EQ(tree->GetYOffset(), tree->GetRowsWnd()->TotalHeight() - client - 1) << "clamped to the range";
}

} // namespace
