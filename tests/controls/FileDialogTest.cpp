// What every file dialog of the program shows in its detail view: columns and sidebar entries
// that are not cut off.
#include "controls/FECFileDialog.h"
#include "controls/SelectFolderDialog.h"

#include <QFile>
#include <QHeaderView>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <memory>

namespace {

enum class DialogKind { OpenFiles, SelectFolder };

std::string DialogKindName(const testing::TestParamInfo<DialogKind>& info)
{
    return info.param == DialogKind::OpenFiles ? "OpenFiles" : "SelectFolder";
}

std::unique_ptr<CFileDialog> MakeDialog(DialogKind kind, const QString& folder)
{
    if (kind == DialogKind::SelectFolder)
        return std::make_unique<CSelectFolderDialog>(TRUE, folder, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                                                     "PDF Files (*.pdf)|*.pdf||");
    auto dialog = std::make_unique<CFECFileDialog>(TRUE, "txt", "", OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT,
                                                   "All Files (*.*)|*.*||");
    dialog->setDirectory(folder);
    return dialog;
}

class FileDialogColumns : public testing::TestWithParam<DialogKind> {};

TEST_P(FileDialogColumns, DetailColumnsAndSidebarEntriesFitTheirText)
{
    QTemporaryDir temp;
    QFile file(temp.path() + "/chapter one.pdf");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(123456, 'x'));
    file.close();
    ASSERT_TRUE(QDir(temp.path()).mkdir("a folder"));

    const std::unique_ptr<CFileDialog> dialog = MakeDialog(GetParam(), temp.path());
    dialog->setViewMode(QFileDialog::Detail);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    auto* tree = dialog->findChild<QTreeView*>("treeView");
    ASSERT_NE(tree, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return tree->model()->rowCount(tree->rootIndex()) == 2; }));
    QHeaderView* header = tree->header();
    // The tree's own measure of its contents, which it keeps protected.
    const auto contentWidth = [view = static_cast<QAbstractItemView*>(tree)](int column) {
        return view->sizeHintForColumn(column);
    };
    const auto fits = [&](int column) {
        return header->sectionSize(column) >= std::max(contentWidth(column), header->sectionSizeHint(column));
    };
    for (int column = 1; column < header->count(); ++column)
        EXPECT_TRUE(QTest::qWaitFor([&] { return fits(column); }, 2000))
            << tree->model()->headerData(column, Qt::Horizontal).toString().toStdString() << ": "
            << header->sectionSize(column) << " < " << contentWidth(column);
    // The list shows every column without scrolling sideways.
    EXPECT_GE(tree->viewport()->width(), header->length());

    auto* sidebar = dialog->findChild<QListView*>("sidebar");
    ASSERT_NE(sidebar, nullptr);
    EXPECT_GE(sidebar->viewport()->width(), sidebar->sizeHintForColumn(0));
}

INSTANTIATE_TEST_SUITE_P(Dialogs, FileDialogColumns, testing::Values(DialogKind::OpenFiles, DialogKind::SelectFolder),
                         DialogKindName);

} // namespace
