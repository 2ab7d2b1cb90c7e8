#pragma once
// A row whose value is a file path picked in the file dialog, which opens when the row is
// activated (a click on the value, Enter or Tab). The row shows the chosen path in full, or
// "No selection made.", and grows to show several paths one per line. A successful choice is
// committed, so the owner hears NotifyItemChanged; a cancelled dialog changes nothing.
// GUI thread only.
#include "optiontree/OptionTreeItemBase.h"
#include "optiontree/OptionTreePathDialog.h"

#include <QStringList>

class COptionTreePathItem : public COptionTreeItemBase {
public:
    static constexpr DWORD OpenDialog = 0x20000;
    static constexpr DWORD ShowFullPaths = 0x40000;
    static const QString NoSelection;

    // FALSE when the row is not inserted yet.
    BOOL CreatePathItem(const QString& initialPath, const QString& defaultExtension, const QString& filter,
                        DWORD options, DWORD dialogFlags);
    // The current path: the file chosen last, else the initial path; empty when there is none.
    QString GetSelectedPath() const;
    QStringList GetPaths() const { return m_paths; }
    QString GetFilter() const { return m_filter; }

    void DrawAttribute(QPainter& painter, const QRect& rect) override;
    void OnActivate() override;

private:
    void SetPaths(const QStringList& paths);

    DWORD m_options = 0;
    DWORD m_dialogFlags = 0;
    int m_baseHeight = 0;
    QStringList m_paths;
    QString m_defaultExtension;
    QString m_filter;
};
