// Where one row goes: its location, value area, expand box and label. Painting, hit testing
// and the editors all read what is stored here.
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

void COptionTreeItemBase::Place(const QRect& client, int x, int y)
{
    const int shownY = y - m_owner->GetYOffset();
    const int column = m_owner->GetColumn();
    const int right = GdiRight(client);
    m_location = QPoint(x, y);
    m_attributeRect = GdiRect(column + 5, shownY, right, shownY + m_height - 1);
    // Always at x 4, whatever the depth.
    m_expandBox = m_child ? GdiRect(4, y + 5, 12, y + 13) : QRect();
    m_labelArea = GdiRect(x + Indent, shownY, IsCategory() ? right : column, shownY + m_height);
    PlaceLabel();
}

QRect COptionTreeItemBase::LabelTextRect() const
{
    return m_labelArea.adjusted(5, m_labelAtTop ? 5 : 0, 0, 0);
}

UINT COptionTreeItemBase::LabelFormat() const
{
    return DT_SINGLELINE | DT_NOPREFIX | (m_labelAtTop ? DT_TOP : DT_VCENTER);
}

void COptionTreeItemBase::PlaceLabel()
{
    m_shownLabel.clear();
    m_labelRect = QRect();
    if (IsBlank(m_label))
        return;
    const QFontMetrics metrics(IsCategory() ? ControlFonts::Bold() : ControlFonts::Normal());
    const QRect textRect = LabelTextRect();
    m_shownLabel = ShortenLabel(metrics, m_label, textRect.width());
    m_labelRect = CalcTextRect(metrics, m_shownLabel, textRect, LabelFormat());
}
