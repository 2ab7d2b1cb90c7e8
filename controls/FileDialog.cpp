#include "controls/FileDialog.h"

namespace {

// The description without a trailing "(...)" group, which the patterns replace.
QString BareDescription(const QString& description)
{
    const QString trimmed = description.trimmed();
    const qsizetype open = trimmed.lastIndexOf(QLatin1Char('('));
    if (open > 0 && trimmed.endsWith(QLatin1Char(')')))
        return trimmed.left(open).trimmed();
    return trimmed;
}

QString QtPatterns(const QString& patterns)
{
    QStringList list = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& pattern : list) {
        pattern = pattern.trimmed();
        if (pattern == QLatin1String("*.*"))
            pattern = QStringLiteral("*");
    }
    return list.join(QLatin1Char(' '));
}

} // namespace

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
    const QStringList filters = NameFilters(filter);
    if (!filters.isEmpty())
        setNameFilters(filters);
    if (!fileName.isEmpty())
        selectFile(fileName);
}

QStringList CFileDialog::NameFilters(const QString& filter)
{
    QStringList filters;
    const QStringList parts = filter.split(QLatin1Char('|'));
    // An empty part ends the list, as the "||" at its end does.
    for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty() && !parts[i + 1].isEmpty(); i += 2)
        filters << BareDescription(parts[i]) + QStringLiteral(" (") + QtPatterns(parts[i + 1]) + QLatin1Char(')');
    return filters;
}
