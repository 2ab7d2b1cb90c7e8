// One commit per activation: Enter, or the keyboard focus moving to another window inside the
// tree, commits once and tells the owner; focus leaving the tree commits nothing.
#include "TreeFixture.h"

#include <QApplication>
#include <QLineEdit>

namespace {

using Commit = TreeFixture;

TEST_F(Commit, EnterCommitsOnceAndTheNextClickSendsNothingMore)
{
    BuildPaneTree();
    auto* left = Row<COptionTreeEditItem>(6);
    Click(left, ValueX());
    QTest::keyClick(left->GetEdit(), Qt::Key_Backspace); // caret at the start: nothing deleted
    QTest::keyClick(left->GetEdit(), Qt::Key_End);
    QTest::keyClick(left->GetEdit(), Qt::Key_Backspace);
    QTest::keyClicks(left->GetEdit(), "5");
    log.clear();
    Key(Qt::Key_Return);
    EXPECT_EQ(log, (std::vector<Received>{{NotifyItemChanged, left}}));
    EXPECT_FALSE(left->GetEdit()->isVisible());
    EXPECT_TRUE(tree->GetRowsWnd()->hasFocus());
    int number = -1;
    EXPECT_TRUE(left->GetNumber(number));
    EXPECT_EQ(number, 75);

    log.clear();
    Click(tree->FindItem(8), LabelX());
    EXPECT_TRUE(Notices(NotifyItemChanged).empty());
    EXPECT_EQ(Codes(), std::vector<int>{NotifyFocusChanged});
}

TEST_F(Commit, ClickingAnotherRowCommitsTheOpenEditor)
{
    BuildPaneTree();
    auto* author = Row<COptionTreeEditItem>(26);
    Click(author, ValueX());
    QTest::keyClicks(author->GetEdit(), "Ann Smith");
    log.clear();
    Click(tree->FindItem(27), ValueX());
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), (Received{NotifyItemChanged, author}));
    EXPECT_EQ(author->GetWindowText(), "Ann Smith");
    EXPECT_FALSE(author->GetEdit()->isVisible());
    EXPECT_EQ(Notices(NotifyItemChanged).size(), 1u);
    EXPECT_TRUE(Row<COptionTreeEditItem>(27)->GetEdit()->hasFocus());
}

TEST_F(Commit, FocusLeavingTheTreeCommitsNothing)
{
    BuildPaneTree();
    auto* author = Row<COptionTreeEditItem>(26);
    Click(author, ValueX());
    QTest::keyClicks(author->GetEdit(), "Ann");
    log.clear();
    outside->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(author->IsEditing());
    EXPECT_TRUE(author->GetEdit()->isVisible());

    // Coming back and pressing Enter commits this activation once.
    author->GetEdit()->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(author->GetEdit(), Qt::Key_Return);
    EXPECT_EQ(log, (std::vector<Received>{{NotifyItemChanged, author}}));
}

// An edit left open when the focus went outside the tree ends when another row is clicked:
// committed once, and its value drawn again rather than left blank.
struct LeftOpenEdit {
    int row;
    int key;
};

class EditLeftOpen : public TreeFixture, public ::testing::WithParamInterface<LeftOpenEdit> {};

TEST_P(EditLeftOpen, IsCommittedWhenAnotherRowIsClicked)
{
    BuildPaneTree();
    auto* item = tree->FindItem(GetParam().row);
    auto* editor = dynamic_cast<COptionTreeEditorItem*>(item);
    ASSERT_NE(editor, nullptr);
    Click(item, ValueX());
    QWidget* window = QApplication::focusWidget();
    ASSERT_NE(window, nullptr);
    QTest::keyClick(window, Qt::Key(GetParam().key));
    outside->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    log.clear();

    Click(tree->FindItem(21), LabelX());
    EXPECT_EQ(Notices(NotifyItemChanged), (std::vector<Received>{{NotifyItemChanged, item}}));
    EXPECT_FALSE(editor->IsEditing()) << "an editing row draws no value";
    EXPECT_FALSE(window->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Commit, EditLeftOpen,
                         ::testing::Values(LeftOpenEdit{19, Qt::Key_Up}, LeftOpenEdit{26, Qt::Key_Z}));

TEST_F(Commit, LosingTheActiveWindowCommitsNothing)
{
    BuildPaneTree();
    auto* combo = Row<COptionTreeComboItem>(33);
    Click(combo, ValueX());
    ASSERT_TRUE(combo->GetComboBox()->hasFocus());
    log.clear();

    QWidget other;
    auto* field = new QLineEdit(&other);
    other.move(Width + 20, 0);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    field->setFocus();
    ASSERT_TRUE(field->hasFocus());
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(combo->IsEditing());

    host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
    EXPECT_TRUE(combo->GetComboBox()->hasFocus()) << "the window gives the focus back to the open editor";
    EXPECT_TRUE(log.empty());
}

TEST_F(Commit, ComboChoiceIsCommittedWhenTheFocusMovesOn)
{
    BuildPaneTree();
    auto* print = Row<COptionTreeComboItem>(33);
    Click(print, ValueX());
    TitleTipComboBox* combo = print->GetComboBox();
    ASSERT_TRUE(combo->hasFocus());
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(print->GetCurSel(), 1);
    log.clear();
    Key(Qt::Key_Up); // keys go to the combo while it is open
    EXPECT_EQ(print->GetCurSel(), 0);
    QTest::keyClick(combo, Qt::Key_Down);
    Click(tree->FindItem(34), LabelX());
    EXPECT_EQ(log.front(), (Received{NotifyItemChanged, print}));
    EXPECT_EQ(Notices(NotifyItemChanged).size(), 1u);
    EXPECT_FALSE(combo->isVisible());
    EXPECT_EQ(print->GetWindowText(), "No");
}

TEST_F(Commit, ComboListOpeningIsNoCommit)
{
    BuildPaneTree();
    auto* size = Row<COptionTreeComboItem>(2);
    Click(size, ValueX());
    log.clear();
    size->GetComboBox()->showPopup();
    QApplication::processEvents();
    EXPECT_TRUE(log.empty());
    size->GetComboBox()->hidePopup();
    QApplication::processEvents();
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(size->GetComboBox()->isVisible());
}

TEST_F(Commit, EachActivationCommitsOnce)
{
    BuildPaneTree();
    auto* title = Row<COptionTreeEditItem>(28);
    for (int round = 0; round < 3; ++round) {
        Click(title, ValueX());
        Key(Qt::Key_Return);
        title->CommitChanges(); // a stray second call
    }
    EXPECT_EQ(Notices(NotifyItemChanged).size(), 3u);
}

TEST_F(Commit, NumericEditTakesDigitsOnlyFromTheKeyboard)
{
    BuildPaneTree();
    auto* size = Row<COptionTreeEditItem>(21);
    Click(size, ValueX());
    QTest::keyClick(size->GetEdit(), Qt::Key_End);
    QTest::keyClicks(size->GetEdit(), "-1a.2 ");
    EXPECT_EQ(size->GetWindowText(), "912");
    auto* author = Row<COptionTreeEditItem>(26);
    Click(author, ValueX());
    QTest::keyClicks(author->GetEdit(), "-1a.2 ");
    EXPECT_EQ(author->GetWindowText(), "-1a.2 ");
}

} // namespace

// Keys that end an open edit: Escape puts the text back, Tab and Shift+Tab keep what was typed
// and move on out of the tree.
struct EndKeyCase {
    const char* name;
    int key;
    Qt::KeyboardModifiers modifiers;
    const char* textAfter;
    bool focusOutside;
};

class EditEndedByKey : public TreeFixture, public testing::WithParamInterface<EndKeyCase> {};

TEST_P(EditEndedByKey, EndsTheEditAsTheKeySays)
{
    const EndKeyCase& c = GetParam();
    BuildPaneTree();
    auto* author = Row<COptionTreeEditItem>(26);
    author->SetWindowText("Before");
    Click(author, ValueX());
    author->GetEdit()->selectAll();
    QTest::keyClicks(author->GetEdit(), "Typed");
    log.clear();
    QTest::keyClick(author->GetEdit(), Qt::Key(c.key), c.modifiers);
    EXPECT_EQ(author->GetWindowText(), c.textAfter);
    EXPECT_FALSE(author->GetEdit()->isVisible());
    EXPECT_FALSE(author->IsEditing());
    EXPECT_EQ(outside->hasFocus(), c.focusOutside);
    EXPECT_EQ(tree->GetRowsWnd()->hasFocus(), !c.focusOutside);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, EditEndedByKey,
    testing::Values(EndKeyCase{"EscapePutsTheTextBack", Qt::Key_Escape, Qt::NoModifier, "Before", false},
                    EndKeyCase{"TabKeepsTheTextAndLeaves", Qt::Key_Tab, Qt::NoModifier, "Typed", true},
                    EndKeyCase{"ShiftTabKeepsTheTextAndLeaves", Qt::Key_Backtab, Qt::ShiftModifier, "Typed", true}),
    [](const testing::TestParamInfo<EndKeyCase>& info) { return std::string(info.param.name); });

TEST_F(Commit, EscapeInTheComboPutsTheChoiceBack)
{
    BuildPaneTree();
    auto* font = Row<COptionTreeComboItem>(10);
    const int before = font->GetCurSel();
    Click(font, ValueX());
    QTest::keyClick(font->GetComboBox(), Qt::Key_Down);
    ASSERT_NE(font->GetCurSel(), before);
    QTest::keyClick(font->GetComboBox(), Qt::Key_Escape);
    EXPECT_EQ(font->GetCurSel(), before);
    EXPECT_FALSE(font->GetComboBox()->isVisible());
}
