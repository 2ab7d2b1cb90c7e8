// The files of the list: adding them (Open File, Import Directory, drops), removing them, their
// check marks, opening them through the shell, and the preview.
#include "app/LeftView.h"

#include "app/AppMessageBox.h"
#include "app/FileListText.h"
#include "app/RightView.h"
#include "app/TextFileSearch.h"
#include "controls/FECFileDialog.h"
#include "controls/PreviewEdit.h"
#include "controls/SelectFolderDialog.h"
#include "conversion/TextPreview.h"
#include "grid/GridCellCheck.h"
#include "grid/GridCtrl.h"
#include "platform/FileFacts.h"
#include "platform/ShellRequest.h"

#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace {

std::string ToBytes(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString FromBytes(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// A dropped item is added when it is not a folder and its name ends in "txt", in any case.
bool IsDroppedTextFile(const QString& path)
{
    return !QFileInfo(path).isDir() && path.right(3).toLower() == QLatin1String("txt");
}

} // namespace

void CLeftView::OpenFiles()
{
    CFECFileDialog dialog(TRUE, QString(), QString(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_ALLOWMULTISELECT,
                          QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*||"), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ResetBars(WaitingCaption());
    std::vector<std::string> chosen;
    for (int position = dialog.GetStartPosition(); position >= 0;)
        chosen.push_back(ToBytes(dialog.GetNextPathName(position)));
    ReportDuplicates(AddPaths(chosen));
}

void CLeftView::ImportDirectory()
{
    CSelectFolderDialog dialog(TRUE, QString(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                               QStringLiteral("PDF Files (*.pdf)|*.pdf||"), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ResetBars(WaitingCaption());
    const TextFileSearchResult found = FindTextFiles(ToBytes(dialog.GetSelectedFolder()));
    ReportDuplicates(AddPaths(found.files));
    if (found.unreadableFolders.empty())
        return;
    QStringList folders;
    for (const std::string& folder : found.unreadableFolders)
        folders << FromBytes(folder);
    AppMessageBox(this, ListMessage(QStringLiteral("These folders could not be read; their files were not added:"),
                                    folders));
}

void CLeftView::AddEntries(const QStringList& paths)
{
    std::vector<std::string> files;
    for (const QString& path : paths) {
        if (IsDroppedTextFile(path))
            files.push_back(ToBytes(path));
    }
    ReportDuplicates(AddPaths(files));
}

void CLeftView::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CLeftView::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CLeftView::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    event->acceptProposedAction();
    AddEntries(paths);
}

QStringList CLeftView::AddPaths(const std::vector<std::string>& paths)
{
    QStringList duplicates;
    for (const std::string& path : paths) {
        if (m_passwords.Get(path).listed)
            duplicates << QStringLiteral("File: %1 have been imported!").arg(FromBytes(path));
        else
            AppendRow(path);
    }
    return duplicates;
}

void CLeftView::AppendRow(const std::string& path)
{
    const FileFacts facts = ReadFileFacts(path);
    const int row = m_grid->GetRowCount();
    if (!m_grid->SetRowCount(row + 1))
        return;
    m_paths.push_back(path);
    m_passwords.Set(path, {});
    m_grid->SetRowHeight(row, RowHeight);
    m_grid->SetCellType(row, 0, &CGridCellCheck::Class);
    static_cast<CGridCellCheck*>(m_grid->GetCell(row, 0))->SetCheck(true);
    const QString texts[] = {QString(), QFileInfo(FromBytes(path)).fileName(), FileSizeText(facts.size),
                             facts.exists ? CreationTimeText(facts.creationTime) : QString()};
    for (int col = 0; col < m_grid->GetColumnCount(); ++col) {
        const bool password = col == OwnerColumn || col == UserColumn;
        m_grid->SetItemFormat(row, col, col == 1 || password ? LeftFormat : RightFormat);
        if (password)
            continue;
        m_grid->SetItemText(row, col, texts[col]);
        m_grid->SetItemState(row, col, m_grid->GetItemState(row, col) | CellReadOnly);
    }
}

void CLeftView::ReportDuplicates(const QStringList& duplicates)
{
    if (!duplicates.isEmpty())
        AppMessageBox(this, ListMessage(QString(), duplicates));
}

void CLeftView::RemoveSelected()
{
    const CellRange range = m_grid->GetSelectionBounds();
    if (!m_grid->IsValid(range))
        return;
    // Taken first: deleting a row clears the grid's selection.
    std::vector<int> selectedRows;
    for (int row = range.maxRow; row >= std::max(range.minRow, 1); --row) {
        for (int col = range.minCol; col <= range.maxCol; ++col) {
            if (m_grid->IsCellSelected(row, col)) {
                selectedRows.push_back(row);
                break;
            }
        }
    }
    for (int row : selectedRows) {
        m_passwords.Remove(m_paths[row - 1]);
        m_paths.erase(m_paths.begin() + (row - 1));
        m_grid->DeleteRow(row);
    }
    m_grid->viewport()->update();
    ClearPreview();
}

void CLeftView::RemoveAll()
{
    m_grid->DeleteAllItems();
    BuildGridHeader();
    m_paths.clear();
    m_passwords.Clear();
    m_grid->viewport()->update();
    ClearPreview();
}

void CLeftView::ChangeCheck(int row, CheckChange change)
{
    auto* cell = dynamic_cast<CGridCellCheck*>(m_grid->GetCell(row, 0));
    if (!cell || row < 1)
        return;
    cell->SetCheck(change == Toggle ? !cell->GetCheck() : change == Check);
    m_grid->RedrawCell(row, 0);
}

void CLeftView::ChangeAllChecks(CheckChange change)
{
    for (int row = 1; row < m_grid->GetRowCount(); ++row)
        ChangeCheck(row, change);
}

void CLeftView::OpenSelectedEntry(bool folder)
{
    const QString path = GetEntryPath(LastSelectedRow());
    if (path.isEmpty())
        return;
    if (folder)
        ShellExecute(QStringLiteral("explore"), QFileInfo(path).absolutePath());
    else
        ShellExecute(QStringLiteral("open"), path);
}

void CLeftView::ShowPreview(int row)
{
    if (row < 1 || row > int(m_paths.size()))
        return;
    PreviewFile(m_paths[row - 1]);
}

void CLeftView::RefreshPreview()
{
    if (!m_previewPath.empty() && PreviewCharset(PreviewOptions()) != m_previewCharset)
        PreviewFile(m_previewPath);
}

ConversionOptions CLeftView::PreviewOptions() const
{
    return m_optionsView ? m_optionsView->Options() : ConversionOptions{};
}

void CLeftView::ClearPreview()
{
    m_preview->clear();
    m_previewPath.clear();
}

void CLeftView::PreviewFile(const std::string& path)
{
    const ConversionOptions options = PreviewOptions();
    m_previewPath = path;
    m_previewCharset = PreviewCharset(options);
    const TextPreview preview = ReadTextPreview(path, options, PreviewBytes);
    if (!preview.error.empty()) {
        m_preview->setPlainText(QStringLiteral("The file cannot be read: %1.").arg(QString::fromLocal8Bit(preview.error)));
        return;
    }
    QString text = QString::fromUtf8(preview.utf8);
    if (preview.cut)
        text += QStringLiteral("\n\n[Only the first %1 of the file's %2 are shown here.]")
                    .arg(FileSizeText(PreviewBytes), FileSizeText(preview.fileSize));
    m_preview->setPlainText(text);
}

LRESULT CLeftView::OnGridNotify(NMHDR& header)
{
    const auto& notify = static_cast<const GridNotify&>(header);
    if (notify.code == NM_CLICK) {
        const CellRange range = m_grid->GetSelectionBounds();
        if (m_grid->IsValid(range) && range.Contains({notify.iRow, notify.iColumn}))
            ShowPreview(range.maxRow);
    } else if (notify.code == GridNotify::EndEdit) {
        KeepPasswords(notify.iRow);
    } else if (notify.code == NM_RCLICK && HasDataRow()) {
        // Opened once the grid has finished with the click: a command of the menu may rebuild it.
        const QPoint at = QCursor::pos();
        QMetaObject::invokeMethod(this, [this, at] { ShowContextMenu(at); }, Qt::QueuedConnection);
    }
    return 0;
}
