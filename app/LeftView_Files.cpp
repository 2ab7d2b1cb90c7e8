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
#include <QScopedValueRollback>
#include <QUrl>

#include <filesystem>

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
bool IsDroppedTextFile(const QByteArray& path)
{
    std::error_code error;
    return !std::filesystem::is_directory(path.toStdString(), error) && path.right(3).toLower() == "txt";
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
    AddPaths(chosen);
}

void CLeftView::ImportDirectory()
{
    CSelectFolderDialog dialog(TRUE, QString(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                               QStringLiteral("PDF Files (*.pdf)|*.pdf||"), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ResetBars(WaitingCaption());
    const TextFileSearchResult found = FindTextFiles(ToBytes(dialog.GetSelectedFolder()));
    AddPaths(found.files);
    if (found.unreadableFolders.empty())
        return;
    QStringList folders;
    for (const std::string& folder : found.unreadableFolders)
        folders << FromBytes(folder);
    m_pendingNotice.Add(QStringLiteral("These folders could not be read; their files were not added:"), folders);
    ShowNotices();
}

void CLeftView::AddEntries(const QStringList& paths)
{
    QByteArrayList names;
    for (const QString& path : paths)
        names << QFile::encodeName(path);
    AddEntriesByName(names);
}

void CLeftView::AddEntriesByName(const QByteArrayList& paths)
{
    std::vector<std::string> files;
    for (const QByteArray& path : paths) {
        if (IsDroppedTextFile(path))
            files.push_back(path.toStdString());
    }
    AddPaths(files);
}

void CLeftView::AddNamedEntries(const QByteArrayList& paths)
{
    QStringList passedOver;
    for (const QByteArray& path : paths) {
        if (!IsDroppedTextFile(path))
            passedOver << QFile::decodeName(path);
    }
    m_pendingNotice.Add(QStringLiteral("These are folders or files whose names do not end in txt; they were not added:"),
                        passedOver);
    AddEntriesByName(paths);
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
    // The URL's percent-encoded path holds the name's bytes; decoding it to a QString would
    // lose those that are not valid UTF-8.
    QByteArrayList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths << QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    }
    event->acceptProposedAction();
    AddEntriesByName(paths);
}

void CLeftView::AddPaths(const std::vector<std::string>& paths)
{
    QStringList duplicates;
    QStringList missing;
    for (const std::string& path : paths) {
        if (m_files.Contains(path))
            duplicates << QStringLiteral("File: %1 have been imported!").arg(FromBytes(path));
        else if (AppendRow(path) == RowOfMissingFile)
            missing << FromBytes(path);
    }
    m_pendingNotice.Add(QString(), duplicates);
    // Listed all the same, as the user asked; the row says nothing of it.
    m_pendingNotice.Add(QStringLiteral("These files do not exist (yet); they cannot be converted until they do:"),
                        missing);
    EnsureCurrentRow();
    ShowNotices();
}

CLeftView::RowAdded CLeftView::AppendRow(const std::string& path)
{
    const FileFacts facts = ReadFileFacts(path);
    const int row = m_grid->GetRowCount();
    if (!m_grid->SetRowCount(row + 1))
        return RowNotAdded;
    m_files.Add(path);
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
    return facts.exists ? RowOfFile : RowOfMissingFile;
}

void CLeftView::ShowNotices()
{
    // Adds that come while a notice is open (a later start of the program, a drop) wait for
    // it, so that notices never pile up inside each other.
    if (m_noticeOpen)
        return;
    const QScopedValueRollback open(m_noticeOpen, true);
    while (!m_pendingNotice.IsEmpty())
        AppMessageBox(this, m_pendingNotice.Take());
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
        m_files.RemoveAt(row - 1);
        m_grid->DeleteRow(row);
    }
    m_grid->viewport()->update();
    ClearPreview();
}

void CLeftView::RemoveAll()
{
    m_grid->DeleteAllItems();
    BuildGridHeader();
    m_files.Clear();
    m_grid->viewport()->update();
    ClearPreview();
}

void CLeftView::ChangeCheck(int row, CheckChange change)
{
    auto* cell = dynamic_cast<CGridCellCheck*>(m_grid->GetCell(row, 0));
    if (!cell || row < 1 || row > m_files.Count())
        return;
    m_files.SetChecked(row - 1, change == Toggle ? !m_files.IsChecked(row - 1) : change == Check);
    cell->SetCheck(m_files.IsChecked(row - 1));
    m_grid->RedrawCell(row, 0);
}

void CLeftView::KeepCheck(int row)
{
    const auto* cell = dynamic_cast<const CGridCellCheck*>(m_grid->GetCell(row, 0));
    if (cell && row >= 1 && row <= m_files.Count())
        m_files.SetChecked(row - 1, cell->GetCheck());
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
    if (row < 1 || row > m_files.Count())
        return;
    PreviewFile(m_files.PathAt(row - 1));
}

void CLeftView::RefreshPreview()
{
    m_preview->SetTabSize(PreviewOptions().TabSize);
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
    m_preview->SetTabSize(options.TabSize);
    const TextPreview preview = ReadTextPreview(path, options, PreviewBytes);
    if (!preview.error.empty()) {
        m_preview->setPlainText(QStringLiteral("The file cannot be read: %1.").arg(QString::fromLocal8Bit(preview.error)));
        return;
    }
    QString text = QString::fromUtf8(preview.utf8);
    if (preview.cut)
        text += QStringLiteral("\n\n[Only the first %1 of the file's %2 are shown here.]")
                    .arg(FileSizeText(PreviewBytes), FileSizeText(preview.fileSize));
    m_preview->SetPreviewText(text);
}

LRESULT CLeftView::OnGridNotify(NMHDR& header)
{
    const auto& notify = static_cast<const GridNotify&>(header);
    if (notify.code == NM_CLICK) {
        // The box clicked is the focus cell's, which a drag may have moved off the pressed row.
        KeepCheck(m_grid->GetFocusCell().row);
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
