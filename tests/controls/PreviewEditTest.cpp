#include "controls/PreviewEdit.h"

#include <QApplication>
#include <QClipboard>
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
