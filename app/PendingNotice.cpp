#include "app/PendingNotice.h"

#include "app/FileListText.h"

#include <algorithm>

void CPendingNotice::Add(const QString& heading, const QStringList& lines)
{
    if (lines.isEmpty())
        return;
    auto group = std::find_if(m_groups.begin(), m_groups.end(), [&](const Group& g) { return g.heading == heading; });
    if (group == m_groups.end())
        group = m_groups.insert(m_groups.end(), Group{heading, {}, {}});
    for (const QString& line : lines) {
        if (!group->seen.contains(line)) {
            group->seen.insert(line);
            group->lines << line;
        }
    }
}

QString CPendingNotice::Take()
{
    QStringList parts;
    for (const Group& group : m_groups)
        parts << ListMessage(group.heading, group.lines);
    m_groups.clear();
    return parts.join(QStringLiteral("\n\n"));
}
