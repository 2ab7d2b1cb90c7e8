#pragma once
// The lines of the notices that wait while another notice is open, merged into one: lines under
// the same heading gather under it once, in the order they came, and a line that is there
// already is not added again. Without this, every later start that hands over a listed file
// would add a copy of the same line, until the box is taller than the screen.
// GUI thread only.
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

class CPendingNotice {
public:
    // Adds `lines` under `heading` (which may be empty); nothing when `lines` is empty.
    void Add(const QString& heading, const QStringList& lines);
    bool IsEmpty() const { return m_groups.empty(); }
    // The notice's text, each heading's list cut as ListMessage cuts it; the notice is then empty.
    QString Take();

private:
    struct Group {
        QString heading;
        QStringList lines;
        QSet<QString> seen;
    };
    std::vector<Group> m_groups;
};
