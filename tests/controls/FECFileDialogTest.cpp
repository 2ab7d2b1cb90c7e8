#include "controls/FECFileDialog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "QStringPrinter.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const QString kTextFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";

void MakeFiles(const QString& folder, int count)
{
    for (int i = 0; i < count; ++i) {
        QFile file(QString("%1/file %2.txt").arg(folder).arg(i, 3, 10, QChar('0')));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
}

std::set<QString> ChosenPaths(const CFECFileDialog& dialog)
{
    std::set<QString> paths;
    for (int pos = dialog.GetStartPosition(); pos != -1;)
        paths.insert(dialog.GetNextPathName(pos));
    return paths;
}

QPushButton* OpenButton(CFECFileDialog& dialog)
{
    return dialog.findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Open);
}

} // namespace

TEST(FECFileDialog, SeveralHundredFilesSelectedInTheList)
{
    QTemporaryDir temp;
    MakeFiles(temp.path(), 400);
    CFECFileDialog dialog(TRUE, "txt", "", OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT, kTextFilter);
    dialog.setDirectory(temp.path());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* list = dialog.findChild<QListView*>("listView");
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->model()->rowCount(list->rootIndex()) == 400; }, 10000));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    QTest::mouseClick(OpenButton(dialog), Qt::LeftButton);
    ASSERT_EQ(dialog.result(), QDialog::Accepted);

    const std::set<QString> paths = ChosenPaths(dialog);
    ASSERT_EQ(paths.size(), 400u);
    for (int i : {0, 1, 199, 399})
        EXPECT_EQ(paths.count(QString("%1/file %2.txt").arg(temp.path()).arg(i, 3, 10, QChar('0'))), 1u) << i;
}

TEST(FECFileDialog, TypedNamesAreJoinedToTheFolder)
{
    QTemporaryDir temp;
    MakeFiles(temp.path(), 3);
    CFECFileDialog dialog(TRUE, "txt", "", OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT, kTextFilter);
    dialog.setDirectory(temp.path());
    dialog.show();
    // The dialog writes the names selected in its list into the name box unless the box has the
    // focus, which it has only once the window is active.
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
    name->setFocus();
    QTest::keyClicks(name, "\"file 000.txt\" \"file 002.txt\"");
    QTest::keyClick(name, Qt::Key_Return);
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ChosenPaths(dialog), (std::set<QString>{temp.path() + "/file 000.txt", temp.path() + "/file 002.txt"}));
}

TEST(FECFileDialog, CancelChoosesNothing)
{
    CFECFileDialog dialog(TRUE);
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFiles);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.reject();
    EXPECT_EQ(dialog.GetStartPosition(), -1);
    int pos = 5;
    EXPECT_EQ(dialog.GetNextPathName(pos), "");
    EXPECT_EQ(pos, -1);
}
