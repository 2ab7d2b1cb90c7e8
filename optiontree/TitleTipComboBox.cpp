#include "optiontree/TitleTipComboBox.h"

#include "platform/SysColors.h"

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace {

// The application's style, except that a combo's list is a plain list with a scroll bar
// rather than a menu laid over the box.
class DroppedListStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QStyle* SharedDroppedListStyle()
{
    // Shared by every combo and kept for the life of the process: a widget never owns its style.
    static QStyle* style = new DroppedListStyle;
    return style;
}

} // namespace

TitleTipComboBox::TitleTipComboBox(QWidget* parent)
    : QComboBox(parent)
{
    // The style decides which list the combo makes, so it comes before the list is watched.
    setStyle(SharedDroppedListStyle());
    m_listTips = new TitleTipListBox(view());
    // Entries too long for the list are clipped as a list box clips them; the tips show them whole.
    view()->setTextElideMode(Qt::ElideNone);
    setMouseTracking(true);
}

void TitleTipComboBox::showPopup()
{
    QComboBox::showPopup();
    QWidget* popup = view()->window();
    if (popup == window())
        return;
    // The style lays the list over the box with the chosen entry on the field; the list drops
    // below the box instead, as wide as the box (the tips show longer entries in full).
    popup->setGeometry(DroppedListRect());
    view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view()->scrollTo(view()->currentIndex(), QAbstractItemView::EnsureVisible);
}

QRect TitleTipComboBox::DroppedListRect() const
{
    const QRect box(mapToGlobal(QPoint(0, 0)), size());
    const QRect screen = this->screen()->availableGeometry();
    const bool roomBelow = box.bottom() + m_droppedHeight <= screen.bottom();
    const bool roomAbove = box.top() - m_droppedHeight >= screen.top();
    const int top = roomBelow || !roomAbove ? box.bottom() + 1 : box.top() - m_droppedHeight;
    return QRect(box.left(), top, box.width(), m_droppedHeight);
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
