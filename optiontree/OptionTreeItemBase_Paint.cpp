// How one row is painted: background, expand box, label, grid lines and the value, each where
// the tree's layout placed it.
#include "optiontree/OptionTreeItemBase.h"

#include "optiontree/OptionTreeCtrl.h"
#include "optiontree/OptionTreeGdi.h"
#include "platform/ControlFonts.h"
#include "platform/DrawTextFlags.h"

namespace {

constexpr int Indent = COptionTreeCtrl::ExpandMargin;

} // namespace

void COptionTreeItemBase::DrawItem(QPainter& painter, const QRect& client)
{
    const int shownY = m_location.y() - m_owner->GetYOffset();
    DrawBackground(painter, client, shownY);
    DrawExpandBox(painter, shownY);
    DrawLabel(painter, shownY);
    DrawLines(painter, client, shownY);
    if (!IsCategory()) {
        painter.save();
        painter.setClipRect(m_attributeRect, Qt::IntersectClip);
        DrawAttribute(painter, m_attributeRect);
        painter.restore();
    }
}

void COptionTreeItemBase::DrawBackground(QPainter& painter, const QRect& client, int shownY) const
{
    if (!IsCategory()) {
        const QRect fill = GdiRect(m_owner->GetColumn(), shownY, GdiRight(client) - 2, shownY + m_height - 1);
        FillSolid(painter, fill, m_attributeBackColor);
        return;
    }
    const bool shade = (m_owner->GetOptions() & COptionTreeCtrl::ShadeCategories) || !m_owner->isEnabled();
    const QRect band(client.x() + Indent, shownY, client.width() + 1, m_height);
    FillSolid(painter, band, shade ? m_labelBackColor : GetSysColor(COLOR_WINDOW));
}

void COptionTreeItemBase::DrawExpandBox(QPainter& painter, int shownY) const
{
    if (!m_child)
        return;
    const QRect box(4, shownY + 5, 9, 9);
    if (!IsCategory())
        FillSysColor(painter, box.adjusted(1, 1, -1, -1), COLOR_WINDOW);
    const QColor shadow = ToQColor(GetSysColor(COLOR_BTNSHADOW));
    painter.fillRect(box.x(), box.y(), 9, 1, shadow);
    painter.fillRect(box.x(), box.y() + 8, 9, 1, shadow);
    painter.fillRect(box.x(), box.y(), 1, 9, shadow);
    painter.fillRect(box.x() + 8, box.y(), 1, 9, shadow);
    painter.fillRect(box.x() + 2, box.y() + 4, 5, 1, Qt::black);
    if (!m_expanded)
        painter.fillRect(box.x() + 4, box.y() + 2, 1, 5, Qt::black);
}

void COptionTreeItemBase::DrawLabel(QPainter& painter, int shownY) const
{
    painter.save();
    if (!IsCategory()) {
        painter.setClipRect(m_labelArea, Qt::IntersectClip);
        FillSolid(painter, m_labelArea, m_labelAreaColor);
    }
    if (!m_shownLabel.isEmpty()) {
        painter.setFont(IsCategory() ? ControlFonts::Bold() : ControlFonts::Normal());
        COLORREF textColor = m_labelTextColor;
        if (m_selected) {
            const QRect highlight = GdiRect(Indent, shownY, GdiRight(m_labelArea) + 5, shownY + m_height);
            FillSysColor(painter, highlight, COLOR_HIGHLIGHT);
            textColor = GetSysColor(COLOR_BTNHIGHLIGHT);
        }
        if (!m_owner->isEnabled())
            textColor = GetSysColor(COLOR_GRAYTEXT);
        painter.setPen(ToQColor(textColor));
        QRect textRect = LabelTextRect();
        DrawText(painter, m_shownLabel, textRect, LabelFormat());
    }
    painter.restore();
}

void COptionTreeItemBase::DrawLines(QPainter& painter, const QRect& client, int shownY) const
{
    const QColor shadow = ToQColor(GetSysColor(COLOR_BTNSHADOW));
    const int right = GdiRight(client);
    painter.fillRect(Indent, shownY + m_height - 1, right, 1, shadow);
    if (IsCategory())
        painter.fillRect(Indent, shownY - 1, right, 1, shadow);
    painter.fillRect(Indent, client.y(), 1, client.height(), shadow);
    if (!IsCategory())
        painter.fillRect(m_owner->GetColumn(), shownY, 1, m_height, shadow);
}

void COptionTreeItemBase::DrawValueText(QPainter& painter, const QString& text, QRect& rect, UINT format) const
{
    const bool grey = m_readOnly || !m_owner || !m_owner->isEnabled();
    painter.save();
    painter.setFont(ControlFonts::Normal());
    painter.setPen(ToQColor(grey ? GetSysColor(COLOR_GRAYTEXT) : m_attributeTextColor));
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setBackground(ToQColor(m_attributeBackColor));
    DrawText(painter, text, rect, format);
    painter.restore();
}
