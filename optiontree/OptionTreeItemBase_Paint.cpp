// How one row is painted: background, expand box, label, grid lines and the value, then the
// children below it. Every rectangle here is also what hit testing later uses.
#include "optiontree/OptionTreeItemBase.h"

#include "optiontree/OptionTreeCtrl.h"
#include "optiontree/OptionTreeGdi.h"
#include "platform/ControlFonts.h"
#include "platform/DrawTextFlags.h"

namespace {

constexpr int Indent = COptionTreeCtrl::ExpandMargin;
const QString Dots = QStringLiteral("...");

// The longest prefix (ending in "...") that fits width; the text itself when it fits whole.
QString ShortenLabel(const QFontMetrics& metrics, const QString& text, int width)
{
    if (metrics.horizontalAdvance(text) + 1 <= width)
        return text;
    const int dotsWidth = metrics.horizontalAdvance(Dots);
    // Widths grow with the prefix, so the longest fitting prefix can be searched for.
    int fits = 0;
    int tooLong = int(text.size());
    while (tooLong - fits > 1) {
        const int middle = (fits + tooLong) / 2;
        if (metrics.horizontalAdvance(text.left(middle)) + dotsWidth + 1 <= width)
            fits = middle;
        else
            tooLong = middle;
    }
    return text.left(fits) + Dots;
}

bool IsBlank(const QString& text)
{
    for (QChar c : text) {
        if (c != QLatin1Char(' '))
            return false;
    }
    return true;
}

} // namespace

int COptionTreeItemBase::DrawItem(QPainter& painter, const QRect& client, int x, int y)
{
    const int shownY = y - m_owner->GetYOffset();
    const int column = m_owner->GetColumn();
    const int right = GdiRight(client);
    const int h = m_height;

    m_owner->AppendVisible(this);
    m_location = QPoint(x, y);
    m_attributeRect = GdiRect(column + 5, shownY, right, shownY + h - 1);
    const QRect attributeFill = GdiRect(column, shownY, right - 2, shownY + h - 1);
    const QRect labelRect = IsCategory() ? GdiRect(x + Indent, shownY, right, shownY + h)
                                         : GdiRect(x + Indent, shownY, column, shownY + h);

    DrawBackground(painter, client, attributeFill, shownY);
    DrawExpandBox(painter, y, shownY);
    DrawLabel(painter, labelRect, shownY);
    DrawLines(painter, client, shownY);
    if (!IsCategory()) {
        painter.save();
        painter.setClipRect(m_attributeRect, Qt::IntersectClip);
        DrawAttribute(painter, m_attributeRect);
        painter.restore();
    }
    return h + (m_expanded ? DrawChildren(painter, client, x, y + h) : 0);
}

int COptionTreeItemBase::DrawChildren(QPainter& painter, const QRect& client, int x, int y)
{
    const int childX = IsCategory() ? x : x + Indent;
    int height = 0;
    for (COptionTreeItemBase* child = m_child; child; child = child->m_sibling)
        height += child->DrawItem(painter, client, childX, y + height);
    return height;
}

void COptionTreeItemBase::DrawBackground(QPainter& painter, const QRect& client, const QRect& fill, int shownY) const
{
    if (!IsCategory()) {
        FillSolid(painter, fill, m_attributeBackColor);
        return;
    }
    const bool shade = (m_owner->GetOptions() & COptionTreeCtrl::ShadeCategories) || !m_owner->isEnabled();
    const QRect band(client.x() + Indent, shownY, client.width() + 1, m_height);
    FillSolid(painter, band, shade ? m_labelBackColor : GetSysColor(COLOR_WINDOW));
}

void COptionTreeItemBase::DrawExpandBox(QPainter& painter, int y, int shownY)
{
    if (!m_child) {
        m_expandBox = QRect();
        return;
    }
    m_expandBox = GdiRect(4, y + 5, 12, y + 13);
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

void COptionTreeItemBase::DrawLabel(QPainter& painter, const QRect& labelRect, int shownY)
{
    painter.save();
    if (!IsCategory()) {
        painter.setClipRect(labelRect, Qt::IntersectClip);
        FillSolid(painter, labelRect, m_labelAreaColor);
    }
    if (!IsBlank(m_label)) {
        painter.setFont(IsCategory() ? ControlFonts::Bold() : ControlFonts::Normal());
        COLORREF textColor = m_labelTextColor;
        if (m_selected) {
            FillSysColor(painter, GdiRect(Indent, shownY, GdiRight(labelRect) + 5, shownY + m_height), COLOR_HIGHLIGHT);
            textColor = GetSysColor(COLOR_BTNHIGHLIGHT);
        }
        if (!m_owner->isEnabled())
            textColor = GetSysColor(COLOR_GRAYTEXT);
        painter.setPen(ToQColor(textColor));

        QRect textRect = labelRect.adjusted(5, m_labelAtTop ? 5 : 0, 0, 0);
        const UINT format = DT_SINGLELINE | DT_NOPREFIX | (m_labelAtTop ? DT_TOP : DT_VCENTER);
        const QString shown = ShortenLabel(painter.fontMetrics(), m_label, textRect.width());
        DrawText(painter, shown, textRect, format);
        DrawText(painter, shown, textRect, format | DT_CALCRECT);
        m_labelRect = textRect;
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
