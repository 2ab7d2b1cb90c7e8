#include "controls/PreviewEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QTextCursor>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

struct MenuItem {
    QString text;
    int id;
    bool enabled;
};

// Right-clicks the box through its window, as the desktop would, and picks the item with the
// given id from the menu that opens (none: the menu is closed). Returns the menu's items.
std::vector<MenuItem> RightClickAndChoose(CPreviewEdit& edit, int chosenId)
{
    std::vector<MenuItem> items;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions()) {
            items.push_back({action->text(), action->data().toInt(), action->isEnabled()});
            if (action->data().toInt() == chosenId && action->isEnabled())
                menu->setActiveAction(action);
        }
        if (menu->activeAction())
            QTest::keyClick(menu, Qt::Key_Return);
        if (menu->isVisible())
            menu->close();
    });
    const QPoint inWindow = edit.viewport()->mapTo(edit.window(), QPoint(20, 10));
    QTest::mouseClick(edit.window()->windowHandle(), Qt::RightButton, {}, inWindow);
    return items;
}

struct ShownPreview {
    QWidget window;
    CPreviewEdit* edit;
    ShownPreview()
    {
        window.resize(400, 300);
        edit = new CPreviewEdit(&window);
        edit->setGeometry(0, 0, 400, 300);
        edit->setPlainText("first line\nsecond line\nthird line");
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

} // namespace

TEST(PreviewEdit, IsReadOnlyPlainText)
{
    ShownPreview shown;
    shown.edit->setFocus();
    QTest::keyClicks(shown.edit, "typed");
    QTest::keyClick(shown.edit, Qt::Key_Delete);
    EXPECT_EQ(shown.edit->toPlainText(), "first line\nsecond line\nthird line");
}

TEST(PreviewEdit, CtrlASelectsTheWholeText)
{
    ShownPreview shown;
    shown.edit->setFocus();
    QTest::keyClick(shown.edit, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(shown.edit->textCursor().selectedText().size(), shown.edit->toPlainText().size());
}

TEST(PreviewEdit, ContextMenuGreysCopyWithoutSelectionAndSelectsAll)
{
    ShownPreview shown;
    const auto items = RightClickAndChoose(*shown.edit, ID_PREVIEW_SELECTALL);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].text, "C&opy");
    EXPECT_EQ(items[0].id, ID_PREVIEW_COPY);
    EXPECT_FALSE(items[0].enabled);
    EXPECT_EQ(items[1].text, "Select &All");
    EXPECT_EQ(items[1].id, ID_PREVIEW_SELECTALL);
    EXPECT_TRUE(shown.edit->hasFocus());
    EXPECT_EQ(shown.edit->textCursor().selectedText().size(), shown.edit->toPlainText().size());
}

TEST(PreviewEdit, ContextMenuCopiesTheSelection)
{
    ShownPreview shown;
    QTextCursor cursor = shown.edit->textCursor();
    cursor.setPosition(6);
    cursor.setPosition(10, QTextCursor::KeepAnchor);
    shown.edit->setTextCursor(cursor);
    QApplication::clipboard()->setText("before");
    const auto items = RightClickAndChoose(*shown.edit, ID_PREVIEW_COPY);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_TRUE(items[0].enabled);
    EXPECT_EQ(QApplication::clipboard()->text(), "line");
}

TEST(PreviewEdit, ShowsAMultiMegabyteText)
{
    ShownPreview shown;
    QString text;
    const QString line = QStringLiteral("The quick brown fox jumps over the lazy dog, line after line.\n");
    while (text.size() < 6 * 1024 * 1024)
        text += line;
    shown.edit->setPlainText(text);
    QApplication::processEvents();
    EXPECT_EQ(shown.edit->document()->blockCount(), text.size() / line.size() + 1);
    QTest::keyClick(shown.edit, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(shown.edit->textCursor().position(), text.size());
    EXPECT_FALSE(shown.edit->grab().isNull());
}

namespace {

// The x of the text after the tab on the preview's first line, in space widths.
double TabbedColumn(CPreviewEdit& edit, const QString& line)
{
    edit.SetPreviewText(line);
    QTextCursor cursor(edit.document());
    cursor.setPosition(int(line.indexOf('\t')) + 1);
    const double space = QFontMetricsF(edit.font()).horizontalAdvance(QLatin1Char(' '));
    return (edit.cursorRect(cursor).left() - edit.cursorRect(QTextCursor(edit.document())).left()) / space;
}

struct TabCase {
    int tabSize;
    double column; // where "a\tb" puts b; a tab size of 0 draws the tab, one space wide here
};

class PreviewTabs : public testing::TestWithParam<TabCase> {};

TEST_P(PreviewTabs, ReachTheNextMultipleOfTheTabSize)
{
    CPreviewEdit edit;
    edit.resize(400, 200);
    edit.setFont(QFont(QStringLiteral("Monospace")));
    edit.SetTabSize(GetParam().tabSize);
    edit.show();
    EXPECT_NEAR(TabbedColumn(edit, QStringLiteral("a\tb")), GetParam().column, 0.5);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PreviewTabs, testing::Values(TabCase{4, 4}, TabCase{8, 8}, TabCase{2, 2}, TabCase{0, 2}));

struct FormFeedCase {
    const char* text;
    const char* shown;
};

class PreviewFormFeeds : public testing::TestWithParam<FormFeedCase> {};

TEST_P(PreviewFormFeeds, AreShownAsAPageBreakLine)
{
    CPreviewEdit edit;
    edit.SetPreviewText(QString::fromLatin1(GetParam().text));
    EXPECT_EQ(edit.toPlainText(), QString::fromLatin1(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PreviewFormFeeds,
    testing::Values(FormFeedCase{"one\ftwo", "one\n- - - - - - - - page break - - - - - - - -\ntwo"},
                    FormFeedCase{"one\n\f\ntwo", "one\n\n- - - - - - - - page break - - - - - - - -\ntwo"},
                    FormFeedCase{"\fone", "\n- - - - - - - - page break - - - - - - - -\none"},
                    FormFeedCase{"no break", "no break"}));

} // namespace
