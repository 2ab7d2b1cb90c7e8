#include "controls/SelectFolderDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>

namespace {

const QChar kSeparator = QLatin1Char('/');

} // namespace

CSelectFolderDialog::CSelectFolderDialog(BOOL showFileTypes, const QString& initialFolder,
                                         DWORD flags, const QString& filter, QWidget* parent)
    : CFileDialog(TRUE, QString(), QString(), flags, filter, parent)
{
    if (!initialFolder.isEmpty())
        setDirectory(initialFolder);
    setWindowTitle(QStringLiteral("Please Select a Folder"));
    setLabelText(QFileDialog::FileName, QStringLiteral("Current Folder:"));
    setLabelText(QFileDialog::FileType, QStringLiteral("Please Select the File Type:"));
    AddFolderEdit();
    ShowFileTypes(showFileTypes, !filter.isEmpty());
}

// The folder box takes the place of the file-name box. The dialog's own accept button enables
// itself only for a selected folder; "&Select" must also accept a typed one, so it replaces it.
void CSelectFolderDialog::AddFolderEdit()
{
    auto* nameEdit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* grid = qobject_cast<QGridLayout*>(layout());
    auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    if (!nameEdit || !grid || !buttons)
        return;

    m_folderEdit = new QLineEdit(this);
    m_folderEdit->setObjectName(QStringLiteral("folderEdit"));
    m_folderEdit->setProperty("controlId", IDC_FOLDER_EDIT);
    m_folderEdit->setText(directory().absolutePath());
    int row, column, rowSpan, columnSpan;
    grid->getItemPosition(grid->indexOf(nameEdit), &row, &column, &rowSpan, &columnSpan);
    nameEdit->hide();
    grid->addWidget(m_folderEdit, row, column, rowSpan, columnSpan);
    if (auto* list = findChild<QListView*>(QStringLiteral("listView")))
        setTabOrder(list, m_folderEdit);
    FollowFolderChanges();

    m_selectButton = buttons->addButton(QStringLiteral("&Select"), QDialogButtonBox::AcceptRole);
    buttons->button(QDialogButtonBox::Open)->hide();
    m_selectButton->setObjectName(QStringLiteral("selectButton"));
    m_selectButton->setDefault(true);
    m_folderEdit->setFocus();
}

// The dialog announces only folders entered from its list (directoryEntered); Back, Forward, Home
// and the look-in list move it without a word. Its file-system model changes its root path on
// every move, so the box follows that.
void CSelectFolderDialog::FollowFolderChanges()
{
    auto* model = findChild<QFileSystemModel*>(QStringLiteral("qt_filesystem_model"));
    if (!model)
        return;
    connect(model, &QFileSystemModel::rootPathChanged, m_folderEdit,
            [this] { m_folderEdit->setText(directory().absolutePath()); });
}

// Files are listed for orientation only: choosing one still accepts the folder of the box.
void CSelectFolderDialog::ShowFileTypes(bool show, bool hasFilter)
{
    if (!show) {
        setFileMode(QFileDialog::Directory);
        setOption(QFileDialog::ShowDirsOnly);
    } else if (!hasFilter) {
        setNameFilter(QStringLiteral("All Files (*)"));
    }
    const bool typeList = show && hasFilter;
    for (const char* name : {"fileTypeLabel", "fileTypeCombo"}) {
        if (auto* part = findChild<QWidget*>(QLatin1String(name)))
            part->setVisible(typeList);
    }
}

int CSelectFolderDialog::Message(const QString& text, int icon, int buttons)
{
    QMessageBox box(QMessageBox::Icon(icon), QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::StandardButtons(buttons), this);
    return box.exec();
}

bool CSelectFolderDialog::AskToCreate(const QString& folder)
{
    const int answer = Message(folder + QStringLiteral("\n\nThe selected path isn't exist, create it?"),
                               QMessageBox::Question, QMessageBox::Yes | QMessageBox::No);
    return answer == QMessageBox::Yes;
}

void CSelectFolderDialog::accept()
{
    QString folder = m_folderEdit ? m_folderEdit->text() : QString();
    if (folder.isEmpty())
        folder = directory().absolutePath();
    // A doubled separator is a typing error or a network path; neither names a local folder.
    if (folder.contains(QStringLiteral("//"))) {
        Message(QStringLiteral("Invalid directory"), QMessageBox::Critical, QMessageBox::Ok);
        return;
    }
    if (folder.size() > 1 && folder.endsWith(kSeparator))
        folder.chop(1);
    // A relative path means a folder under the one being browsed, not under the program's.
    folder = directory().absoluteFilePath(folder);

    if (!QFileInfo(folder).isDir() && AskToCreate(folder)) {
        QDir().mkpath(folder);
        if (!QFileInfo(folder).isDir()) {
            Message(QStringLiteral("Can not create directory\n") + folder, QMessageBox::Warning, QMessageBox::Ok);
            return;
        }
    }
    m_strSelectedFolder = folder.endsWith(kSeparator) ? folder : folder + kSeparator;
    QDialog::accept();
}
