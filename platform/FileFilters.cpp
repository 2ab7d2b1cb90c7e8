#include "platform/FileFilters.h"

namespace {

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

QStringList NameFiltersFromFilterString(const QString& filter)
{
    QStringList filters;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty() && !parts[i + 1].isEmpty(); i += 2)
        filters << BareDescription(parts[i]) + QStringLiteral(" (") + QtPatterns(parts[i + 1]) + QLatin1Char(')');
    return filters;
}
