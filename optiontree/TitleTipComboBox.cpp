#include "optiontree/TitleTipComboBox.h"

#include "platform/SysColors.h"

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionComboBox>

TitleTipComboBox::TitleTipComboBox(QWidget* parent)
    : QComboBox(parent)
    , m_listTips(new TitleTipListBox(view()))
{
    setMouseTracking(true);
}

void TitleTipComboBox::showPopup()
{
    QComboBox::showPopup();
    QWidget* popup = view()->window();
    if (popup == window())
        return;
    // The list is as wide as the box, however long its entries (the tips show those in full),
    // and at most the dropped height high. A list that opened above the box keeps its bottom
    // edge against the box.
    const bool above = popup->y() < mapToGlobal(QPoint(0, 0)).y();
    const int bottom = popup->y() + popup->height();
    const int height = qMin(popup->height(), m_droppedHeight);
    popup->setGeometry(mapToGlobal(QPoint(0, 0)).x(), above ? bottom - height : popup->y(), width(), height);
    // Qt planned the list for its own height and may have left out the scroll bar.
    view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

int TitleTipComboBox::TextRoom() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect arrow = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
    return width() - arrow.width() - 6;
}

void TitleTipComboBox::mouseMoveEvent(QMouseEvent* event)
{
    const QString text = currentText();
    m_lastMouse = event->position().toPoint();
    const bool inside = rect().contains(m_lastMouse);
    if (!inside || text.isEmpty() || fontMetrics().horizontalAdvance(text) <= TextRoom()) {
        m_tip.HideTip();
    } else if (!m_tip.isVisible()) {
        const bool focused = hasFocus();
        m_tip.ShowTip(text, QRect(mapToGlobal(QPoint(0, 0)), size()), font(),
                      ToQColor(GetSysColor(focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT)),
                      ToQColor(GetSysColor(focused ? COLOR_HIGHLIGHT : COLOR_WINDOW)),
                      [this] { return isVisible() && rect().contains(m_lastMouse); });
    }
    QComboBox::mouseMoveEvent(event);
}

void TitleTipComboBox::leaveEvent(QEvent* event)
{
    m_lastMouse = QPoint(-1, -1);
    m_tip.HideTip();
    QComboBox::leaveEvent(event);
}
