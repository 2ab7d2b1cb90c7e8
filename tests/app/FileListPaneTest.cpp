// The file-list pane: its grid and layout, the three ways of adding files, the commands, the
// keys, the context menu and the preview.
#include "PaneHost.h"

#include "../controls/MessageBoxAnswers.h"
#include "../controls/QStringPrinter.h"
#include "app/CommandIds.h"
#include "controls/IconButton.h"
#include "controls/PaneLabel.h"
#include "controls/PreviewEdit.h"
#include "controls/TextProgressCtrl.h"
#include "grid/GridCtrl.h"

#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

namespace {

using FileListPane = PaneHost;

QStringList RowNames(CLeftView* pane)
{
    QStringList names;
    for (int row = 1; row <= pane->GetEntryCount(); ++row)
        names << pane->GetGrid()->GetItemText(row, 1);
    return names;
}

} // namespace

TEST_F(FileListPane, LayoutFollowsThePaneSizeAndTheGridHasItsColumns)
{
    left->resize(700, 600); // H/2 = 300
    const std::pair<QWidget*, QRect> expected[] = {
        {left->GetGrid(), {0, 0, 700, 256}},
        {left->GetButton(CmdOpenFile), {5, 264, 32, 32}},
        {left->GetButton(CmdClearAllSelected), {161, 264, 32, 32}},
        {left->GetPreview(), {0, 304, 700, 248}},
        {left->GetButton(CmdStartConvert), {5, 560, 32, 32}},
        {left->GetButton(CmdStopConvert), {57, 560, 32, 32}},
        {left->GetCurrentBar(), {145, 560, 555, 12}},
        {left->GetTotalBar(), {145, 580, 555, 12}},
    };
    for (const auto& [widget, rect] : expected)
        EXPECT_EQ(widget->geometry(), rect) << widget->metaObject()->className();
    EXPECT_EQ(left->GetButton(CmdRemoveSelected)->toolTip(), "Remove Current Selected Item (Del)");
    EXPECT_EQ(left->palette().color(QPalette::Window), QColor(207, 234, 254));

    CGridCtrl* grid = left->GetGrid();
    const int widths[] = {25, 144, 100, 154, 110, 100};
    for (int col = 0; col < 6; ++col)
        EXPECT_EQ(grid->GetColumnWidth(col), widths[col]);
    EXPECT_EQ(grid->GetItemText(0, 4), "Owner Password");
    EXPECT_EQ(grid->GetCell(0, 1)->GetFont().pixelSize(), 14);
    EXPECT_TRUE(grid->GetCell(0, 1)->GetFont().bold());
    EXPECT_EQ(grid->GetRowHeight(0), 18);
    EXPECT_EQ(left->GetCurrentBar()->GetWindowText(), "Waiting for converting.");
}

TEST_F(FileListPane, OpenFileAddsRowsAndReportsDuplicatesInOneMessage)
{
    Write("a.txt", QByteArray(1048576, 'x'));
    Write("A.TXT", "");
    Write("notes.log", "");
    AddWithOpenFile({"a.txt", "A.TXT", "notes.log"});
    ASSERT_EQ(left->GetEntryCount(), 3);
    EXPECT_EQ(RowNames(left), QStringList({"a.txt", "A.TXT", "notes.log"}));
    EXPECT_EQ(CellText(1, 2), "1,024 KB");
    EXPECT_TRUE(QDateTime::fromString(CellText(1, 3), "HH:mm:ss MM/dd/yyyy").isValid());
    EXPECT_TRUE(IsChecked(1));
    EXPECT_TRUE(left->GetGrid()->IsCellEditable(1, 4));
    EXPECT_FALSE(left->GetGrid()->IsCellEditable(1, 2));

    MessageBoxAnswers boxes;
    AddWithOpenFile({"a.txt", "A.TXT"});
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text, "File: " + Path("a.txt") + " have been imported!\nFile: " + Path("A.TXT") +
                                      " have been imported!");
    EXPECT_EQ(left->GetEntryCount(), 3);
}

TEST_F(FileListPane, ImportDirectoryAddsTheTextFilesOfTheWholeTree)
{
    for (const char* name : {"in/b.txt", "in/a/x.TXT", "in/c.text", "in/README"})
        Write(name, "text");
    left->GetCurrentBar()->SetWindowText("Convert Finished");
    AddWithImportDirectory(Path("in"));
    EXPECT_EQ(RowNames(left), QStringList({"x.TXT", "b.txt"}));
    EXPECT_EQ(left->GetEntryPath(1), Path("in/a/x.TXT"));
    EXPECT_EQ(left->GetCurrentBar()->GetWindowText(), "Waiting for converting.");
}

TEST_F(FileListPane, DropsAddTextFilesButNoFolders)
{
    Write("drop/notes.TXT", "");
    Write("drop/notes.text", "");
    Write("drop/inner/x.txt", "");
    MessageBoxAnswers boxes;
    Drop({Path("drop/notes.TXT"), Path("drop/notes.text"), Path("drop/inner"), Path("drop/notes.TXT")});
    EXPECT_EQ(RowNames(left), QStringList({"notes.TXT"}));
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text, "File: " + Path("drop/notes.TXT") + " have been imported!");
}

TEST_F(FileListPane, NamesGivenToTheProgramThatAreNoTextFilesAreListed)
{
    Write("named/folder.txt/inner.txt", "");
    const QString pdf = Write("named/x.pdf", "");
    const QString text = Write("named/a.txt", "");
    MessageBoxAnswers boxes;
    left->AddNamedEntries({QFile::encodeName(Path("named/folder.txt")), QFile::encodeName(pdf), QFile::encodeName(text)});
    EXPECT_EQ(RowNames(left), QStringList({"a.txt"}));
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text, "These are folders or files whose names do not end in txt; they were not added:\n\n"
                                      + Path("named/folder.txt") + "\n" + pdf);
}

TEST_F(FileListPane, AddedRowsGiveTheKeysACurrentRow)
{
    left->AddEntries({Write("1.txt", ""), Write("2.txt", ""), Write("3.txt", "")});
    left->OnCommand(CmdClearAllSelected);
    left->GetGrid()->setFocus();
    QTest::keyClick(left->GetGrid(), Qt::Key_Down);
    QTest::keyClick(left->GetGrid(), Qt::Key_Space);
    EXPECT_FALSE(IsChecked(1));
    EXPECT_TRUE(IsChecked(2));
    EXPECT_FALSE(IsChecked(3));
}

TEST_F(FileListPane, CheckCommandsRemovalAndTheShell)
{
    for (const char* name : {"1.txt", "2.txt", "3.txt"})
        left->AddEntries({Write(name, "")});
    left->OnCommand(CmdSelectAllItems);
    left->OnCommand(CmdInvertSelect);
    EXPECT_FALSE(IsChecked(1) || IsChecked(2) || IsChecked(3));
    ClickCell(2, 1);
    left->OnCommand(CmdSelectCurrentItem);
    EXPECT_TRUE(IsChecked(2));
    EXPECT_FALSE(IsChecked(1));
    left->OnCommand(CmdOpenWithAssociatedApp);
    left->OnCommand(CmdOpenFileDirectory);
    EXPECT_EQ(shell, (std::vector<ShellCall>{{"open", Path("2.txt")}, {"explore", scratch.path()}}));
    left->OnCommand(CmdRemoveSelected);
    EXPECT_EQ(RowNames(left), QStringList({"1.txt", "3.txt"}));
    EXPECT_TRUE(left->GetPreview()->toPlainText().isEmpty());
    ClickCell(0, 2); // a header click selects the column, and so every row
    left->OnCommand(CmdRemoveSelected);
    EXPECT_EQ(left->GetEntryCount(), 0);
    left->AddEntries({Path("1.txt")});
    left->OnCommand(CmdRemoveAll);
    EXPECT_EQ(left->GetEntryCount(), 0);
    EXPECT_EQ(left->GetGrid()->GetRowCount(), 1);
    EXPECT_EQ(left->GetGrid()->GetItemText(0, 1), "File Name");
    for (int id : {CmdRemoveSelected, CmdStartConvert, CmdStopConvert, CmdOpenFileDirectory})
        EXPECT_FALSE(left->IsCommandEnabled(id)) << id;
    EXPECT_TRUE(left->IsCommandEnabled(CmdOpenFile));
}

TEST_F(FileListPane, APreviewIsDecodedWithTheChosenEncodingAndALargeFileShowsItsBeginning)
{
    left->AddEntries({Write("cyrillic.txt", "\xCF\xF0\xE8\xE2\xE5\xF2\r\n")});
    left->AddEntries({Write("big.txt", QByteArray(3 * int(CLeftView::PreviewBytes), 'x'))});
    Choose(19, 19); // CP1251
    ClickCell(1, 1);
    EXPECT_EQ(left->GetPreview()->toPlainText(), QString::fromUtf8("Привет\n"));
    ClickCell(2, 1);
    const QString shown = left->GetPreview()->toPlainText();
    EXPECT_TRUE(shown.startsWith(QString(int(CLeftView::PreviewBytes), 'x') + "\n\n["));
    EXPECT_TRUE(shown.endsWith("[Only the first 128 KB of the file's 384 KB are shown here.]"));
    left->AddEntries({Write("utf8.txt", "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F" "e\r\n\xD0\x96\xD0\xB8\xD0\xB7\xD0\xBD\xD1\x8C")});
    Choose(19, kUtf8Encoding);
    ClickCell(3, 1);
    EXPECT_EQ(left->GetPreview()->toPlainText(), QString::fromUtf8("Grüße\nЖизнь"));
}

TEST_F(FileListPane, ThePreviewFollowsAnEncodingChosenWhileItShowsAFile)
{
    left->AddEntries({Write("cyrillic.txt", "\xCF\xF0\xE8\xE2\xE5\xF2\r\n")});
    Choose(19, 2); // WinAnsiEncoding
    ClickCell(1, 1);
    ASSERT_NE(left->GetPreview()->toPlainText(), QString::fromUtf8("Привет\n"));
    Choose(19, 19); // CP1251
    EXPECT_EQ(left->GetPreview()->toPlainText(), QString::fromUtf8("Привет\n"));
}

// Keys of the pane pressed with the grid focused on a row whose passwords are both set.
struct KeyCase {
    const char* name;
    int key;
    Qt::KeyboardModifiers modifiers;
    int rowsLeft;
    bool firstRowChecked;
};

class PaneKeysOnTheGrid : public PaneHost, public testing::WithParamInterface<KeyCase> {};

TEST_P(PaneKeysOnTheGrid, RunTheirCommandAndNeverTouchAPassword)
{
    const KeyCase& c = GetParam();
    left->AddEntries({Write("1.txt", ""), Write("2.txt", "")});
    for (int row : {1, 2}) {
        TypePassword(row, 4, "owner");
        TypePassword(row, 5, "user");
    }
    ClickCheckBox(1); // unchecked
    ClickCell(2, 4);
    ClickCell(1, 4); // row 1 selected, its owner password the focus cell
    ASSERT_TRUE(left->GetGrid()->hasFocus());
    QTest::keyClick(left->GetGrid(), Qt::Key(c.key), c.modifiers);
    EXPECT_EQ(left->GetEntryCount(), c.rowsLeft);
    EXPECT_EQ(IsChecked(1), c.firstRowChecked);
    for (int row = 1; row <= left->GetEntryCount(); ++row) {
        EXPECT_EQ(CellText(row, 4), "owner") << row;
        EXPECT_EQ(CellText(row, 5), "user") << row;
    }
    for (const QLineEdit* editor : left->GetGrid()->viewport()->findChildren<QLineEdit*>())
        EXPECT_FALSE(editor->isVisible()) << "an editor was opened";
}

INSTANTIATE_TEST_SUITE_P(
    Keys, PaneKeysOnTheGrid,
    testing::Values(KeyCase{"CtrlXClearsTheCheckMarks", Qt::Key_X, Qt::ControlModifier, 2, false},
                    KeyCase{"SpaceChecksTheRow", Qt::Key_Space, Qt::NoModifier, 2, true},
                    KeyCase{"DeleteRemovesTheRow", Qt::Key_Delete, Qt::NoModifier, 1, true},
                    KeyCase{"CtrlAChecksAll", Qt::Key_A, Qt::ControlModifier, 2, true},
                    KeyCase{"CtrlDeleteRemovesAll", Qt::Key_Delete, Qt::ControlModifier, 0, false}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST_F(FileListPane, KeysTypedIntoAPasswordEditorEditItAndRunNoCommand)
{
    left->AddEntries({Write("1.txt", "")});
    TypePassword(1, 4, "secret");
    QTest::mouseDClick(left->GetGrid()->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(1, 4));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Space);
    QTest::keyClick(editor, Qt::Key_Home);
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "ecret ");
    QTest::keyClicks(editor, "new");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(CellText(1, 4), "new");
    EXPECT_EQ(left->GetEntryCount(), 1);
    EXPECT_TRUE(IsChecked(1));
}

TEST_F(FileListPane, TheContextMenuOffersEveryCommandWithItsEnabledState)
{
    left->AddEntries({Write("1.txt", "")});
    QStringList items;
    std::vector<bool> enabled;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            items << (action->isSeparator() ? "-" : action->text());
            enabled.push_back(action->isEnabled());
        }
        menu->close();
    });
    ClickCell(1, 1, Qt::RightButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !items.isEmpty(); }));
    EXPECT_EQ(items.size(), 16);
    EXPECT_EQ(items.first(), "Open File\tCtrl+O");
    EXPECT_EQ(items.last(), "Stop Convert\tShift+F5");
    EXPECT_EQ(std::count(enabled.begin(), enabled.end(), true), 16);
}

namespace {

// Files added while the notice of an earlier add is open.
struct NoticeCase {
    const char* name;
    QStringList first;   // added first; raises the open notice
    QStringList during;  // added while it is open
    QStringList notices; // every notice shown, in order ("@" stands for the scratch folder)
    int entries;
};

void PrintTo(const NoticeCase& noticeCase, std::ostream* out)
{
    *out << noticeCase.name;
}

class NoticesTest : public PaneHost, public testing::WithParamInterface<NoticeCase> {};

const QString kMissingLead = "These files do not exist (yet); they cannot be converted until they do:\n\n";
const QString kDuplicateA = "File: @/a.txt have been imported!";

// "m0.txt", "m1.txt", ... and, with `folder`, each in the scratch folder as a notice names it.
QStringList Numbered(int count, const QString& folder = {})
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << folder + QStringLiteral("m%1.txt").arg(i);
    return names;
}

} // namespace

TEST_P(NoticesTest, NeverOpenInsideEachOtherAndSayWhatWasAdded)
{
    Write("a.txt", "a");
    left->AddEntries({Path("a.txt")});
    const auto paths = [this](const QStringList& names) {
        QStringList full;
        for (const QString& name : names)
            full << Path(name);
        return full;
    };
    QStringList seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        seen << box->text().replace(scratch.path(), "@");
        if (seen.size() == 1) {
            for (const QString& path : paths(GetParam().during))
                left->AddEntries({path}); // each returns at once
            EXPECT_EQ(QApplication::activeModalWidget(), box);
        }
        box->reject();
    });
    poll.start(10);
    left->AddEntries(paths(GetParam().first));
    EXPECT_EQ(seen, GetParam().notices);
    EXPECT_EQ(left->GetEntryCount(), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(Table, NoticesTest, testing::Values(
    NoticeCase{"DuplicatesDuringADuplicateNotice", {"a.txt"}, {"a.txt", "a.txt"},
               {kDuplicateA, kDuplicateA}, 1},
    NoticeCase{"MissingFilesDuringANoticeShareOneHeading", {"a.txt"}, {"gone.txt", "lost.txt"},
               {kDuplicateA, kMissingLead + "@/gone.txt\n@/lost.txt"}, 3},
    NoticeCase{"KindsDuringANoticeEachListedOnce", {"a.txt"}, {"gone.txt", "a.txt", "gone.txt", "a.txt"},
               {kDuplicateA, kMissingLead + "@/gone.txt\n\n" + kDuplicateA + "\nFile: @/gone.txt have been imported!"}, 2},
    NoticeCase{"ManyFilesDuringANoticeAreCut", {"a.txt"}, Numbered(25),
               {kDuplicateA, kMissingLead + Numbered(20, "@/").join('\n') + "\n... and 5 more."}, 26},
    NoticeCase{"MissingFilesInOneNoticePerAdd", {"gone.txt", "lost.txt"}, {},
               {kMissingLead + "@/gone.txt\n@/lost.txt"}, 3},
    NoticeCase{"AMissingFileDuringADuplicateNotice", {"a.txt"}, {"gone.txt"},
               {"File: @/a.txt have been imported!", kMissingLead + "@/gone.txt"}, 2}),
    [](const testing::TestParamInfo<NoticeCase>& info) { return info.param.name; });
