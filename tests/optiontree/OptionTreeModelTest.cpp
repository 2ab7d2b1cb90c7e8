// The item tree: ids, insertion, deletion with its notifications, traversal and the bulk
// operations, and the guards against bad input.
#include "TreeFixture.h"

#include <QApplication>

namespace {

using Model = TreeFixture;

TEST_F(Model, IdsFollowInsertionOrderAndRestartAfterDeleteAll)
{
    BuildPaneTree();
    for (int id = 1; id <= 36; ++id)
        ASSERT_NE(tree->FindItem(id), nullptr) << id;
    EXPECT_EQ(tree->FindItem(36)->GetLabelText(), "Encrypt Level");
    EXPECT_EQ(tree->FindItem(13)->GetLabelText(), "Metrics File(.afm)");
    EXPECT_EQ(tree->FindItem(37), nullptr);
    EXPECT_EQ(tree->FindItem(0), nullptr);
    EXPECT_EQ(tree->FindItem(-1), nullptr);

    tree->DeleteAllItems();
    EXPECT_EQ(tree->FindItem(1), nullptr);
    EXPECT_EQ(tree->GetRootItem()->GetChild(), nullptr);
    BuildPaneTree();
    EXPECT_EQ(tree->FindItem(1)->GetLabelText(), "Paper Options");
    EXPECT_EQ(tree->FindItem(36)->GetLabelText(), "Encrypt Level");
    EXPECT_EQ(tree->FindItem(37), nullptr);
}

TEST_F(Model, InsertLinksInOrderAndNotifies)
{
    auto* category = tree->InsertItem(std::make_unique<COptionTreeItemBase>());
    auto* first = tree->InsertItem(std::make_unique<COptionTreeItemBase>(), category);
    auto* second = tree->InsertItem(std::make_unique<COptionTreeItemBase>(), category);
    EXPECT_TRUE(category->IsCategory());
    EXPECT_FALSE(first->IsCategory());
    EXPECT_EQ(category->GetChild(), first);
    EXPECT_EQ(first->GetSibling(), second);
    EXPECT_EQ(second->GetParent(), category);
    EXPECT_EQ(second->GetOwner(), tree);
    EXPECT_EQ(log, (std::vector<Received>{{NotifyItemInserted, category}, {NotifyItemInserted, first},
                                          {NotifyItemInserted, second}}));
}

// Counts its own deletion, so a test can tell an item refused from an item leaked.
struct CountedItem : COptionTreeItemBase {
    explicit CountedItem(int& deletions) : deletions(deletions) {}
    ~CountedItem() override { ++deletions; }
    int& deletions;
};

TEST_F(Model, BadInsertionsChangeNothingAndLeakNothing)
{
    auto* category = tree->InsertItem(std::make_unique<COptionTreeItemBase>());
    EXPECT_EQ(tree->InsertItem(nullptr), nullptr);
    EXPECT_EQ(tree->InsertItem(std::unique_ptr<COptionTreeItemBase>(category)), nullptr) << "an item is inserted once";
    EXPECT_EQ(tree->InsertItem(std::unique_ptr<COptionTreeItemBase>(tree->GetRootItem())), nullptr);
    EXPECT_EQ(category->GetOwner(), tree) << "still the tree's, not deleted";

    int deletions = 0;
    COptionTreeCtrl other;
    EXPECT_EQ(tree->InsertItem(std::make_unique<CountedItem>(deletions), other.GetRootItem()), nullptr)
        << "parent of another tree";
    EXPECT_EQ(deletions, 1) << "the refused item is deleted";
    COptionTreeItemBase loose;
    EXPECT_EQ(tree->InsertItem(std::make_unique<CountedItem>(deletions), &loose), nullptr) << "parent not inserted";
    EXPECT_EQ(deletions, 2);

    EXPECT_EQ(category->GetSibling(), nullptr);
    EXPECT_EQ(category->GetChild(), nullptr);
    EXPECT_EQ(tree->FindItem(2), nullptr);
    EXPECT_EQ(Codes(), std::vector<int>{NotifyItemInserted});
}

TEST_F(Model, DeleteItemNotifiesForItemThenEachDescendant)
{
    BuildPaneTree();
    COptionTreeItemBase* margin = tree->FindItem(5);
    COptionTreeItemBase* left = tree->FindItem(6);
    COptionTreeItemBase* bottom = tree->FindItem(9);
    tree->DeleteItem(margin);
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log.front(), (Received{NotifyItemDeleting, margin}));
    EXPECT_EQ(log[1], (Received{NotifyItemDeleting, left}));
    EXPECT_EQ(log[4], (Received{NotifyItemDeleting, bottom}));
    EXPECT_EQ(tree->FindItem(5), nullptr);
    EXPECT_EQ(tree->FindItem(9), nullptr);
    // The neighbours are linked around the gap.
    EXPECT_EQ(tree->FindItem(4)->GetParent()->GetSibling(), tree->FindItem(10));
}

TEST_F(Model, DeleteAllNotifiesWithNullFirst)
{
    BuildPaneTree();
    tree->DeleteAllItems();
    ASSERT_EQ(log.size(), 37u);
    EXPECT_EQ(log.front(), (Received{NotifyItemDeleting, nullptr}));
    for (size_t i = 1; i < log.size(); ++i)
        EXPECT_EQ(log[i].code, NotifyItemDeleting);
    EXPECT_EQ(tree->GetVisibleHead(), nullptr);
    EXPECT_EQ(tree->GetFocusedItem(), nullptr);
}

TEST_F(Model, DeletingTheFocusedItemLeavesNoFocus)
{
    BuildPaneTree();
    tree->SetFocusedItem(tree->FindItem(7));
    tree->DeleteItem(tree->FindItem(5)); // the focused row's parent
    EXPECT_EQ(tree->GetFocusedItem(), nullptr);
    Key(Qt::Key_Down);
    EXPECT_EQ(tree->GetFocusedItem(), tree->FindItem(1));
}

TEST_F(Model, DeleteItemIgnoresItemsOfOtherTrees)
{
    BuildPaneTree();
    COptionTreeCtrl other;
    ASSERT_TRUE(other.Create(QRect(0, 0, 100, 100), nullptr, 0, 7));
    auto* stranger = other.InsertItem(std::make_unique<COptionTreeItemBase>());
    tree->DeleteItem(stranger);
    EXPECT_EQ(other.FindItem(1), stranger);
    EXPECT_TRUE(log.empty());
    COptionTreeItemBase loose;
    tree->DeleteItem(&loose);
    EXPECT_TRUE(log.empty());
}

TEST_F(Model, DeleteAllWhileAnEditorIsOpenCommitsNothing)
{
    BuildPaneTree();
    auto* author = Row<COptionTreeEditItem>(26);
    Click(author, ValueX());
    ASSERT_TRUE(author->GetEdit()->hasFocus());
    QTest::keyClicks(author->GetEdit(), "Ann");
    log.clear();
    tree->DeleteAllItems();
    QApplication::processEvents();
    EXPECT_TRUE(Notices(NotifyItemChanged).empty());
    EXPECT_TRUE(tree->GetRowsWnd()->hasFocus()) << "the keyboard stays with the tree";
    Key(Qt::Key_Down);
    Key(Qt::Key_Tab);
    EXPECT_EQ(tree->GetFocusedItem(), nullptr);
}

TEST_F(Model, TraverseVisitsDepthFirstAndReportsStops)
{
    BuildPaneTree();
    std::vector<int> seen;
    const BOOL whole = tree->Traverse(tree->GetRootItem(), [&](COptionTreeItemBase* item) {
        seen.push_back(item->GetOptionItemId());
        return TRUE;
    });
    EXPECT_TRUE(whole);
    ASSERT_EQ(seen.size(), 36u);
    for (int i = 0; i < 36; ++i)
        EXPECT_EQ(seen[i], i + 1) << "insertion order is depth-first order in this tree";

    seen.clear();
    const BOOL stopped = tree->Traverse(tree->GetRootItem(), [&](COptionTreeItemBase* item) {
        seen.push_back(item->GetOptionItemId());
        return item->GetOptionItemId() != 2; // do not walk below Page Size
    });
    EXPECT_FALSE(stopped);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 3), 0);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 5), 1) << "siblings are still walked";
    EXPECT_FALSE(tree->Traverse(nullptr, [](COptionTreeItemBase*) { return TRUE; }));
    EXPECT_FALSE(tree->Traverse(tree->GetRootItem(), nullptr));
}

TEST_F(Model, ExpandAndSelectReachEveryDescendant)
{
    BuildPaneTree();
    tree->SelectItems(tree->FindItem(1), TRUE);
    for (int id = 1; id <= 21; ++id)
        EXPECT_TRUE(tree->FindItem(id)->IsSelected()) << id;
    EXPECT_FALSE(tree->FindItem(22)->IsSelected());
    tree->SelectItems(nullptr, FALSE);
    EXPECT_FALSE(tree->FindItem(3)->IsSelected());

    COptionTreeItemBase loose;
    loose.Expand(TRUE);
    EXPECT_FALSE(loose.IsExpanded()) << "not inserted: expand is ignored";
    loose.CommitChanges();
    EXPECT_TRUE(loose.IsCommitted());
    EXPECT_TRUE(log.empty());
}

TEST_F(Model, NotificationsNeedTheFlagALivingWindowAndAKnownCode)
{
    BuildPaneTree();
    EXPECT_EQ(tree->SendNotify(-1103, nullptr), 0);
    EXPECT_EQ(tree->SendNotify(-2, nullptr), 0);
    EXPECT_TRUE(log.empty());

    vetoes.insert(NotifyItemExpanding);
    EXPECT_EQ(tree->SendNotify(NotifyItemExpanding, tree->FindItem(1)), 1);
    tree->SetNotify(FALSE, host.get(), nullptr);
    EXPECT_EQ(tree->SendNotify(NotifyItemExpanding, tree->FindItem(1)), 0);

    auto window = std::make_unique<QObject>();
    int heard = 0;
    tree->SetNotify(TRUE, window.get(), [&](int, NMHDR&) -> LRESULT { return ++heard; });
    EXPECT_EQ(tree->SendNotify(NotifyItemChanged, nullptr), 1);
    window.reset();
    EXPECT_EQ(tree->SendNotify(NotifyItemChanged, nullptr), 0);
    EXPECT_EQ(heard, 1);
}

TEST_F(Model, CommitHandlerMayRebuildTheTree)
{
    BuildPaneTree();
    tree->SetNotify(TRUE, host.get(), [this](int, NMHDR& header) -> LRESULT {
        if (header.code == NotifyItemChanged)
            tree->DeleteAllItems();
        return 0;
    });
    auto* author = Row<COptionTreeEditItem>(26);
    Click(author, ValueX());
    Key(Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(tree->GetRootItem()->GetChild(), nullptr);
}

TEST_F(Model, DestroyingTheTreeTellsTheOwnerNothing)
{
    BuildPaneTree();
    delete tree;
    tree = nullptr;
    EXPECT_TRUE(log.empty());
}

} // namespace
