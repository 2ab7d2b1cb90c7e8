// Clipped texts shown in full: entries of the dropped list, the edit's text and the closed
// combo's choice; the tip goes when the mouse moves to a text that fits or leaves.
#include "TreeFixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCursor>
#include <QScreen>

namespace {

using TitleTips = TreeFixture;

void MoveMouse(QWidget* widget, const QPoint& point)
{
    QMouseEvent move(QEvent::MouseMove, point, widget->mapToGlobal(point), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

void Leave(QWidget* widget)
{
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(widget, &leave);
}

TEST_F(TitleTips, WideListEntryShowsOverItsRowUntilAFittingEntry)
{
    BuildPaneTree();
    auto* size = Row<COptionTreeComboItem>(2);
    Click(size, ValueX());
    TitleTipComboBox* combo = size->GetComboBox();
    combo->showPopup();
    QApplication::processEvents();
    QAbstractItemView* list = combo->view();
    QWidget* client = list->viewport();
    const TitleTipWindow& tip = combo->ListTips().Tip();

    const QRect wide = list->visualRect(list->model()->index(3, 0));
    MoveMouse(client, wide.center());
    EXPECT_TRUE(tip.isVisible());
    EXPECT_EQ(tip.text(), PaperSizesLongEntry());
    EXPECT_EQ(tip.pos(), client->mapToGlobal(wide.topLeft()));
    EXPECT_EQ(combo->ListTips().GetHotIndex(), 3);

    const QRect fits = list->visualRect(list->model()->index(0, 0));
    MoveMouse(client, fits.center());
    EXPECT_FALSE(tip.isVisible());
    EXPECT_EQ(combo->ListTips().GetHotIndex(), 0);

    MoveMouse(client, wide.center());
    EXPECT_TRUE(tip.isVisible());
    MoveMouse(client, QPoint(-5, -5));
    EXPECT_FALSE(tip.isVisible());
    EXPECT_EQ(combo->ListTips().GetHotIndex(), -1);

    MoveMouse(client, wide.center());
    combo->hidePopup();
    QApplication::processEvents();
    EXPECT_FALSE(tip.isVisible()) << "closing the list takes the tip along";
}

// The pointer moved by the window system: the tip opens under it and must stay while it rests.
void RestPointer(QWidget* widget, const QPoint& point)
{
    QCursor::setPos(widget->mapToGlobal(point));
    QTest::qWait(4 * TitleTipWindow::CheckInterval);
}

TEST_F(TitleTips, TipsStayUnderTheRestingPointerShowingTheWholeText)
{
    BuildPaneTree();
    auto* size = Row<COptionTreeComboItem>(2);
    Click(size, ValueX());
    TitleTipComboBox* combo = size->GetComboBox();
    combo->showPopup();
    QApplication::processEvents();
    QAbstractItemView* list = combo->view();
    const QRect wide = list->visualRect(list->model()->index(3, 0)).intersected(list->viewport()->rect());
    RestPointer(list->viewport(), wide.center());
    const TitleTipWindow& listTip = combo->ListTips().Tip();
    EXPECT_TRUE(listTip.isVisible());
    EXPECT_EQ(listTip.text(), PaperSizesLongEntry());
    EXPECT_GE(listTip.width(), listTip.fontMetrics().horizontalAdvance(PaperSizesLongEntry()));
    combo->hidePopup();

    auto* title = Row<COptionTreeEditItem>(28);
    const QString longTitle = "A title far too long to be read in the narrow value column of the tree";
    title->SetWindowText(longTitle);
    Click(title, ValueX());
    RestPointer(title->GetEdit(), QPoint(20, 5));
    const TitleTipWindow& editTip = title->GetEdit()->Tip();
    EXPECT_TRUE(editTip.isVisible());
    EXPECT_GE(editTip.width(), editTip.fontMetrics().horizontalAdvance(longTitle));
}

TEST_F(TitleTips, WideEditTextShowsWhileTheMouseIsOver)
{
    BuildPaneTree();
    auto* title = Row<COptionTreeEditItem>(28);
    const QString longTitle = "A title far too long to be read in the narrow value column of the tree";
    title->SetWindowText(longTitle);
    Click(title, ValueX());
    TitleTipEdit* edit = title->GetEdit();
    const TitleTipWindow& tip = edit->Tip();

    MoveMouse(edit, QPoint(20, 5));
    EXPECT_TRUE(tip.isVisible());
    EXPECT_EQ(tip.text(), longTitle);
    EXPECT_EQ(tip.pos(), edit->mapToGlobal(QPoint(1, 3)));
    EXPECT_EQ(tip.palette().color(QPalette::Window), ToQColor(GetSysColor(COLOR_HIGHLIGHT))) << "the edit has the focus";
    Leave(edit);
    EXPECT_FALSE(tip.isVisible());

    title->SetWindowText("Short");
    MoveMouse(edit, QPoint(20, 5));
    EXPECT_FALSE(tip.isVisible());
}

TEST_F(TitleTips, TipAtTheScreenEdgeMovesLeftToStayReadable)
{
    BuildPaneTree();
    const QRect screen = host->screen()->availableGeometry();
    host->move(screen.right() - host->width() + 1, host->y());
    QApplication::processEvents();
    auto* title = Row<COptionTreeEditItem>(28);
    title->SetWindowText("A title far too long to be read in the narrow value column of the tree");
    Click(title, ValueX());
    TitleTipEdit* edit = title->GetEdit();
    MoveMouse(edit, QPoint(20, 5));
    const TitleTipWindow& tip = edit->Tip();
    ASSERT_TRUE(tip.isVisible());
    EXPECT_EQ(tip.geometry().right(), screen.right());
    EXPECT_EQ(tip.y(), edit->mapToGlobal(QPoint(1, 3)).y());
}

TEST_F(TitleTips, TipHidesOnItsOwnOnceTheMouseIsNearTheRightEnd)
{
    BuildPaneTree();
    auto* title = Row<COptionTreeEditItem>(28);
    title->SetWindowText(QString(80, QChar('x')));
    Click(title, ValueX());
    TitleTipEdit* edit = title->GetEdit();
    MoveMouse(edit, QPoint(edit->width() - 3, 5));
    EXPECT_TRUE(edit->Tip().isVisible());
    QTest::qWait(3 * TitleTipWindow::CheckInterval);
    EXPECT_FALSE(edit->Tip().isVisible());
}

TEST_F(TitleTips, ClosedComboShowsAWideChoice)
{
    BuildPaneTree();
    auto* size = Row<COptionTreeComboItem>(2);
    size->SetCurSel(3);
    Click(size, ValueX());
    TitleTipComboBox* combo = size->GetComboBox();
    MoveMouse(combo, QPoint(10, 5));
    EXPECT_TRUE(combo->Tip().isVisible());
    EXPECT_EQ(combo->Tip().text(), PaperSizesLongEntry());
    Leave(combo);
    EXPECT_FALSE(combo->Tip().isVisible());
    size->SetCurSel(0);
    MoveMouse(combo, QPoint(10, 5));
    EXPECT_FALSE(combo->Tip().isVisible());
}

} // namespace
