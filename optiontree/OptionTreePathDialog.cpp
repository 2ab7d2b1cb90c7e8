#include "optiontree/OptionTreePathDialog.h"

#include <QFileDialog>

namespace {

COptionTreePathDialog::Runner& CurrentRunner()
{
    static COptionTreePathDialog::Runner runner;
    return runner;
}

} // namespace

void COptionTreePathDialog::SetRunner(Runner runner)
{
    CurrentRunner() = std::move(runner);
}

QStringList COptionTreePathDialog::Run(QWidget* owner, const QString& initialFile, bool openDialog,
                                       const QString& filter, const QString& defaultExtension, DWORD flags)
{
    QFileDialog dialog(owner);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(openDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    // Only files that exist are taken: a font file that is not there cannot be loaded, and the
    // run would quietly fall back to another font for every file.
    if (openDialog)
        dialog.setFileMode((flags & OFN_ALLOWMULTISELECT) ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(flags & OFN_OVERWRITEPROMPT));
    const QStringList filters = NameFiltersFromFilterString(filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(defaultExtension);
    if (!initialFile.isEmpty())
        dialog.selectFile(initialFile);

    const Runner& runner = CurrentRunner();
    const int result = runner ? runner(dialog) : dialog.exec();
    if (result != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}
