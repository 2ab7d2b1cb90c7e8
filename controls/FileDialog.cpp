#include "controls/FileDialog.h"

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
}
