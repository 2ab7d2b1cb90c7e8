#include "optiontree/OptionTreePathItem.h"

#include "optiontree/OptionTreeCtrl.h"
#include "platform/ControlFonts.h"
#include "platform/DrawTextFlags.h"

#include <QFontInfo>

const QString COptionTreePathItem::NoSelection = QStringLiteral("No selection made.");

BOOL COptionTreePathItem::CreatePathItem(const QString& initialPath, const QString& defaultExtension,
                                         const QString& filter, DWORD options, DWORD dialogFlags)
{
    if (!GetOwner())
        return FALSE;
    m_dialogFlags = dialogFlags;
    m_options = options;
    m_paths.append(initialPath);
    m_defaultExtension = defaultExtension;
    m_filter = filter;
    m_baseHeight = GetHeight();
    return TRUE;
}

QString COptionTreePathItem::GetSelectedPath() const
{
    return m_paths.isEmpty() ? QString() : m_paths.first();
}

void COptionTreePathItem::DrawAttribute(QPainter& painter, const QRect& rect)
{
    if (!GetOwner())
        return;
    QString text = m_paths.join(QLatin1Char('\n'));
    if (text.isEmpty())
        text = NoSelection;
    QRect box = rect.adjusted(1, 1, 0, 0);
    DrawValueText(painter, text, box, DT_TOP | DT_LEFT | DT_NOPREFIX);
}

void COptionTreePathItem::OnActivate()
{
    COptionTreeCtrl* owner = GetOwner();
    if (!owner)
        return;
    const QStringList chosen = COptionTreePathDialog::Run(owner, GetSelectedPath(), m_options & OpenDialog,
                                                          m_filter, m_defaultExtension, m_dialogFlags);
    if (!chosen.isEmpty()) {
        SetPaths(chosen);
        CommitChanges();
    }
    owner->UpdateList();
}

void COptionTreePathItem::SetPaths(const QStringList& paths)
{
    m_paths = paths;
    // A line is the font's character height (its size in pixels, without the line spacing the
    // face adds) plus 3.
    const int line = QFontInfo(ControlFonts::Normal()).pixelSize() + 3;
    const int needed = int(m_paths.size()) * line;
    const bool grow = m_baseHeight < needed;
    SetHeight(grow ? needed + 5 : m_baseHeight);
    SetLabelAtTop(grow);
}
