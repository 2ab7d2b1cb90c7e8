#include "optiontree/TitleTipEdit.h"

#include "platform/SysColors.h"

#include <QMouseEvent>
#include <QStyle>
#include <QToolTip>

TitleTipEdit::TitleTipEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setMouseTracking(true);
}

void TitleTipEdit::mouseMoveEvent(QMouseEvent* event)
{
    m_lastMouse = event->position().toPoint();
    const bool inside = rect().contains(m_lastMouse);
    if (!inside || text().isEmpty() || fontMetrics().horizontalAdvance(text()) <= width()) {
        m_tip.HideTip();
    } else {
        const bool focused = hasFocus();
        m_tip.ShowTip(text(), QRect(mapToGlobal(QPoint(1, 3)), QSize()), QToolTip::font(),
                      ToQColor(GetSysColor(focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT)),
                      ToQColor(GetSysColor(focused ? COLOR_HIGHLIGHT : COLOR_WINDOW)),
                      [this] { return KeepTip(); });
    }
    QLineEdit::mouseMoveEvent(event);
}

bool TitleTipEdit::KeepTip() const
{
    // A strip of a scroll thumb's width at the right end already counts as outside, so the tip
    // goes as the cursor nears the edge of the box.
    QRect area = rect();
    area.setRight(area.right() - style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 2);
    return isVisible() && area.contains(m_lastMouse);
}

void TitleTipEdit::leaveEvent(QEvent* event)
{
    m_lastMouse = QPoint(-1, -1);
    m_tip.HideTip();
    QLineEdit::leaveEvent(event);
}
