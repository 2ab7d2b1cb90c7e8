#include "controls/SelectFolderDialog.h"

#include "MessageBoxAnswers.h"
#include "QStringPrinter.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

// The Import Directory dialog, shown on a fresh temporary folder.
struct FolderDialog {
    QTemporaryDir temp;
    QString root = temp.path();
    CSelectFolderDialog dialog{TRUE, root, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "PDF Files (*.pdf)|*.pdf||"};

    FolderDialog()
    {
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }
    QLineEdit* Edit() { return dialog.findChild<QLineEdit*>("folderEdit"); }
    QPushButton* Select() { return dialog.findChild<QPushButton*>("selectButton"); }
    // Types into the folder box and presses Select, answering the message boxes on the way.
    std::vector<MessageBoxAnswers::Seen> Accept(const QString& typed,
                                                std::initializer_list<QMessageBox::StandardButton> answers = {})
    {
        MessageBoxAnswers boxes(answers);
        Edit()->clear();
        QTest::keyClicks(Edit(), typed);
        QTest::mouseClick(Select(), Qt::LeftButton);
        return boxes.seen;
    }
    // Makes a subfolder and opens it from the file list with the keyboard.
    void EnterFolder(const QString& name)
    {
        QDir(root).mkdir(name);
        auto* list = dialog.findChild<QListView*>("listView");
        QModelIndex item;
        ASSERT_TRUE(QTest::qWaitFor([&] {
            for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row) {
                item = list->model()->index(row, 0, list->rootIndex());
                if (item.data().toString() == name)
                    return true;
            }
            return false;
        }));
        list->setFocus();
        list->setCurrentIndex(item);
        QTest::keyClick(list, Qt::Key_Return);
    }
    bool Accepted() { return !dialog.isVisible() && dialog.result() == QDialog::Accepted; }
};

} // namespace

TEST(SelectFolderDialog, ShowsTheFolderBoxInsteadOfTheFileName)
{
    FolderDialog d;
    EXPECT_EQ(d.dialog.windowTitle(), "Please Select a Folder");
    ASSERT_NE(d.Edit(), nullptr);
    ASSERT_NE(d.Select(), nullptr);
    EXPECT_TRUE(d.Edit()->isVisible());
    EXPECT_EQ(d.Edit()->property("controlId").toInt(), IDC_FOLDER_EDIT);
    EXPECT_EQ(d.Edit()->text(), d.root);
    EXPECT_EQ(d.Select()->text(), "&Select");
    EXPECT_TRUE(d.Select()->isVisible());
    EXPECT_FALSE(d.dialog.findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Open)->isVisible());
    EXPECT_FALSE(d.dialog.findChild<QLineEdit*>("fileNameEdit")->isVisible());
    EXPECT_EQ(d.dialog.findChild<QLabel*>("fileNameLabel")->text(), "Current Folder:");
    EXPECT_EQ(d.dialog.findChild<QLabel*>("fileTypeLabel")->text(), "Please Select the File Type:");
    auto* types = d.dialog.findChild<QComboBox*>("fileTypeCombo");
    EXPECT_TRUE(types->isVisible());
    EXPECT_EQ(types->itemText(0), "PDF Files (*.pdf)");
}

TEST(SelectFolderDialog, WithoutFileTypesListsOnlyFolders)
{
    CSelectFolderDialog dialog(FALSE);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_TRUE(dialog.testOption(QFileDialog::ShowDirsOnly));
    EXPECT_FALSE(dialog.findChild<QComboBox*>("fileTypeCombo")->isVisible());
    EXPECT_EQ(dialog.findChild<QLineEdit*>("folderEdit")->text(), dialog.directory().absolutePath());
}

TEST(SelectFolderDialog, BoxFollowsTheBrowsedFolder)
{
    FolderDialog d;
    d.EnterFolder("docs");
    EXPECT_EQ(d.Edit()->text(), d.root + "/docs");
}

// The dialog's own ways of changing its folder besides entering one from the list.
enum class FolderMove { Back, BackThenForward, Home };

std::string FolderMoveName(const testing::TestParamInfo<FolderMove>& info)
{
    static const char* const names[] = {"Back", "BackThenForward", "Home"};
    return names[int(info.param)];
}

class SelectFolderDialogMove : public testing::TestWithParam<FolderMove> {};

TEST_P(SelectFolderDialogMove, BoxShowsEveryFolderTheDialogMovesTo)
{
    FolderDialog d;
    d.dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d.dialog));
    d.EnterFolder("docs");
    ASSERT_EQ(d.Edit()->text(), d.root + "/docs");
    const auto click = [&](const char* button) {
        QTest::mouseClick(d.dialog.findChild<QToolButton*>(button), Qt::LeftButton);
        EXPECT_EQ(d.Edit()->text(), d.dialog.directory().absolutePath()) << button;
    };
    switch (GetParam()) {
    case FolderMove::Back:
        click("backButton");
        EXPECT_EQ(d.Edit()->text(), d.root);
        break;
    case FolderMove::BackThenForward:
        click("backButton");
        click("forwardButton");
        EXPECT_EQ(d.Edit()->text(), d.root + "/docs");
        break;
    case FolderMove::Home:
        // A shortcut of the dialog's window, typed where the focus is.
        d.Edit()->setFocus();
        QTest::keyClick(d.Edit(), Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(d.Edit()->text(), QDir::homePath());
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Moves, SelectFolderDialogMove,
                         testing::Values(FolderMove::Back, FolderMove::BackThenForward, FolderMove::Home),
                         FolderMoveName);

TEST(SelectFolderDialog, ExistingFolderIsReturnedWithOneTrailingSeparator)
{
    for (const char* suffix : {"", "/"}) {
        FolderDialog d;
        QDir(d.root).mkdir("docs");
        EXPECT_TRUE(d.Accept(d.root + "/docs" + suffix).empty());
        EXPECT_TRUE(d.Accepted());
        EXPECT_EQ(d.dialog.GetSelectedFolder(), d.root + "/docs/");
    }
}

TEST(SelectFolderDialog, DoubledSeparatorIsRefusedAndTheDialogStays)
{
    for (const char* typed : {"/tmp//docs", "//server/share", "/tmp/docs//"}) {
        FolderDialog d;
        const auto seen = d.Accept(typed);
        ASSERT_EQ(seen.size(), 1u) << typed;
        EXPECT_EQ(seen[0].text, "Invalid directory");
        EXPECT_EQ(seen[0].icon, QMessageBox::Critical);
        EXPECT_TRUE(d.dialog.isVisible());
        EXPECT_EQ(d.dialog.GetSelectedFolder(), "");
    }
}

TEST(SelectFolderDialog, MissingFolderIsCreatedWithItsParentsOnYes)
{
    FolderDialog d;
    const QString folder = d.root + "/new/sub";
    const auto seen = d.Accept(folder + "/", {QMessageBox::Yes});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, folder + "\n\nThe selected path isn't exist, create it?");
    EXPECT_EQ(seen[0].icon, QMessageBox::Question);
    EXPECT_EQ(seen[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(d.Accepted());
    EXPECT_EQ(d.dialog.GetSelectedFolder(), folder + "/");
}

TEST(SelectFolderDialog, MissingFolderIsReturnedUncreatedOnNo)
{
    FolderDialog d;
    const QString folder = d.root + "/new/sub";
    EXPECT_EQ(d.Accept(folder, {QMessageBox::No}).size(), 1u);
    EXPECT_FALSE(QFileInfo::exists(d.root + "/new"));
    EXPECT_TRUE(d.Accepted());
    EXPECT_EQ(d.dialog.GetSelectedFolder(), folder + "/");
}

TEST(SelectFolderDialog, FolderThatCannotBeCreatedIsReportedAndTheDialogStays)
{
    FolderDialog d;
    QFile file(d.root + "/file.txt");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    for (const QString& folder : {d.root + "/file.txt/sub", d.root + "/file.txt", QString("/proc/quillary/sub")}) {
        const auto seen = d.Accept(folder, {QMessageBox::Yes, QMessageBox::Ok});
        ASSERT_EQ(seen.size(), 2u) << folder.toStdString();
        EXPECT_EQ(seen[1].text, "Can not create directory\n" + folder);
        EXPECT_TRUE(d.dialog.isVisible());
        EXPECT_EQ(d.dialog.GetSelectedFolder(), "");
    }
}

TEST(SelectFolderDialog, EmptyBoxTakesTheBrowsedFolder)
{
    FolderDialog d;
    d.EnterFolder("docs");
    EXPECT_TRUE(d.Accept("").empty());
    EXPECT_TRUE(d.Accepted());
    EXPECT_EQ(d.dialog.GetSelectedFolder(), d.root + "/docs/");
}

TEST(SelectFolderDialog, RelativeNameIsUnderTheBrowsedFolder)
{
    FolderDialog d;
    QDir(d.root).mkdir("docs");
    EXPECT_TRUE(d.Accept("docs").empty());
    EXPECT_EQ(d.dialog.GetSelectedFolder(), d.root + "/docs/");
}

TEST(SelectFolderDialog, RootFolderKeepsASingleSeparator)
{
    FolderDialog d;
    EXPECT_TRUE(d.Accept("/").empty());
    EXPECT_EQ(d.dialog.GetSelectedFolder(), "/");
}

TEST(SelectFolderDialog, ReturnInTheBoxAccepts)
{
    FolderDialog d;
    d.Edit()->setFocus();
    d.Edit()->setText(d.root);
    QTest::keyClick(d.Edit(), Qt::Key_Return);
    EXPECT_TRUE(d.Accepted());
    EXPECT_EQ(d.dialog.GetSelectedFolder(), d.root + "/");
}
