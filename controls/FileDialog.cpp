#include "controls/FileDialog.h"

#include <QFileSystemModel>
#include <QHeaderView>
#include <QListView>
#include <QTreeView>

CFileDialog::CFileDialog(BOOL openFileDialog, const QString& defaultExt, const QString& fileName,
                         DWORD flags, const QString& filter, QWidget* parent)
    : QFileDialog(parent)
{
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(openFileDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    if (!openFileDialog)
        setFileMode(QFileDialog::AnyFile);
    else
        setFileMode((flags & OFN_ALLOWMULTISELECT) ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    setOption(QFileDialog::DontConfirmOverwrite, !(flags & OFN_OVERWRITEPROMPT));
    setDefaultSuffix(defaultExt);
    const QStringList filters = NameFiltersFromFilterString(filter);
    if (!filters.isEmpty())
        setNameFilters(filters);
    if (!fileName.isEmpty())
        selectFile(fileName);
    FitDetailViewToText();
}

// The toolkit's fixed widths cut "Date Modified", the dates and the sidebar's place names off
// while most of the list stays empty. The detail columns follow their contents each time a folder
// has been listed, the name column takes the room that is left, and the sidebar is as wide as its
// widest entry.
void CFileDialog::FitDetailViewToText()
{
    auto* tree = findChild<QTreeView*>(QStringLiteral("treeView"));
    auto* model = findChild<QFileSystemModel*>(QStringLiteral("qt_filesystem_model"));
    if (tree && model) {
        tree->header()->setSectionResizeMode(0, QHeaderView::Stretch);
        connect(model, &QFileSystemModel::directoryLoaded, tree, [tree] {
            for (int column = 1; column < tree->header()->count(); ++column)
                tree->resizeColumnToContents(column);
        });
    }
    if (auto* sidebar = findChild<QListView*>(QStringLiteral("sidebar")))
        sidebar->setMinimumWidth(sidebar->sizeHintForColumn(0) + 2 * sidebar->frameWidth());
}
