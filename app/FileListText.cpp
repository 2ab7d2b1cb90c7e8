#include "app/FileListText.h"

QString FileSizeText(std::uint64_t bytes)
{
    QString digits = QString::number(bytes / 1024);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return digits + QStringLiteral(" KB");
}

QString CreationTimeText(std::time_t time)
{
    std::tm local {};
    if (!localtime_r(&time, &local))
        return QString();
    char text[64];
    const std::size_t length = std::strftime(text, sizeof text, "%H:%M:%S %m/%d/%Y", &local);
    return QString::fromLatin1(text, qsizetype(length));
}

QString ListMessage(const QString& lead, const QStringList& lines, int shown)
{
    QStringList parts = lines.mid(0, shown);
    if (lines.size() > shown)
        parts << QStringLiteral("... and %1 more.").arg(lines.size() - shown);
    const QString list = parts.join(QLatin1Char('\n'));
    return lead.isEmpty() ? list : lead + QStringLiteral("\n\n") + list;
}
