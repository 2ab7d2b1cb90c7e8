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

QStringList COptionTreePathDialog::NameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        const QString patterns = parts[i + 1].trimmed();
        if (patterns.isEmpty())
            continue;
        // Qt reads the patterns from the description's last parentheses, so a description that
        // already shows them loses that part and gets the real patterns back.
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open > 0 && description.endsWith(QLatin1Char(')')))
            description = description.left(open).trimmed();
        filters << QStringLiteral("%1 (%2)").arg(description, QString(patterns).replace(QLatin1Char(';'), QLatin1Char(' ')));
    }
    return filters;
}

QStringList COptionTreePathDialog::Run(QWidget* owner, const QString& initialFile, bool openDialog,
                                       const QString& filter, const QString& defaultExtension, DWORD flags)
{
    QFileDialog dialog(owner);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(openDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    if (openDialog)
        dialog.setFileMode((flags & OFN_ALLOWMULTISELECT) ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(flags & OFN_OVERWRITEPROMPT));
    const QStringList filters = NameFilters(filter);
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
