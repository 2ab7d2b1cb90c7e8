// One layout serves painting, hit testing and the editors: with painting switched off, the
// rows are still found where they are, and an open editor stays over its row.
#include "TreeFixture.h"

#include <QApplication>

namespace {

class Layout : public TreeFixture {
protected:
    void SetUp() override
    {
        TreeFixture::SetUp();
        BuildPaneTree();
        Client()->setUpdatesEnabled(false);
    }
    void TearDown() override
    {
        Client()->setUpdatesEnabled(true);
        TreeFixture::TearDown();
    }
    void Wheel(int delta)
    {
        const QPoint point(100, 100);
        QWheelEvent event(point, Client()->mapToGlobal(point), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Client(), &event);
    }
};

TEST_F(Layout, ACollapsedGroupMovesTheRowsBelowItForHitTesting)
{
    COptionTreeItemBase* margin = tree->FindItem(5);
    COptionTreeItemBase* font = tree->FindItem(10);
    const int marginTop = margin->GetLocation().y();
    margin->Expand(FALSE);
    tree->UpdateList();
    EXPECT_EQ(font->GetLocation().y(), marginTop + 21);
    EXPECT_EQ(tree->ItemAt(QPoint(LabelX(), marginTop + 21 + 10)), font);
    EXPECT_FALSE(tree->IsInVisibleList(tree->FindItem(6)));
    QTest::mouseClick(Client(), Qt::LeftButton, Qt::NoModifier, QPoint(LabelX(), marginTop + 21 + 10));
    EXPECT_EQ(tree->GetFocusedItem(), font);
}

TEST_F(Layout, AnOpenEditorFollowsItsRowWhenTheRowsScroll)
{
    auto* author = Row<COptionTreeEditItem>(26);
    Click(author, ValueX());
    ASSERT_TRUE(author->GetEdit()->isVisible());
    const int before = author->GetEdit()->y();
    const int offset = tree->GetYOffset();
    Wheel(-120);
    ASSERT_EQ(tree->GetYOffset(), offset + 21);
    EXPECT_EQ(author->GetEdit()->y(), before - 21);
    EXPECT_EQ(author->GetEdit()->geometry(), author->GetAttributeRect());
}

TEST_F(Layout, TheColumnFitsTheLabelsLaidOut)
{
    tree->SetColumn(300);
    const int widest = GdiRight(tree->GetLargestLabelRect());
    EXPECT_GT(widest, 100) << "the labels were measured without being painted";
    DoubleClick(tree->FindItem(6), 300);
    EXPECT_EQ(tree->GetColumn(), widest + 5);
    EXPECT_EQ(Row<COptionTreeEditItem>(6)->GetEdit()->x(), widest + 10) << "the editors moved with the column";
}

// Every label of the options pane shows whole at the default column in the controls' font.
class PaneLabels : public TreeFixture, public ::testing::WithParamInterface<int> {};

TEST_P(PaneLabels, FitTheDefaultColumnWhole)
{
    BuildPaneTree();
    ASSERT_EQ(tree->GetColumn(), 150);
    const COptionTreeItemBase* row = tree->FindItem(GetParam());
    EXPECT_EQ(row->GetShownLabel(), row->GetLabelText());
}

INSTANTIATE_TEST_SUITE_P(Layout, PaneLabels, ::testing::Range(1, 37));

} // namespace
