#include "menubar/FlatToolBar.h"

#include "menubar/MenuXP.h"
#include "platform/SysColors.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace {

constexpr int kTextPadding = 8;  // left and right of a button's text
constexpr int kShadowRoom = 4;   // right of the text, for the pressed button's shadow
constexpr int kBorder = 2;       // around the buttons of a bar outside a cool bar

} // namespace

CFlatToolBar::CFlatToolBar(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setFont(QApplication::font("QMenuBar"));
}

int CFlatToolBar::AddButton(const QString& text, int commandId)
{
    m_buttons.push_back({text, commandId});
    updateGeometry();
    update();
    return GetButtonCount() - 1;
}

void CFlatToolBar::DeleteAllButtons()
{
    m_buttons.clear();
    m_nHotItem = -1;
    updateGeometry();
    update();
}

QString CFlatToolBar::GetButtonText(int index) const
{
    return IsIndex(index) ? m_buttons[std::size_t(index)].text : QString();
}

int CFlatToolBar::GetCommandId(int index) const
{
    return IsIndex(index) ? m_buttons[std::size_t(index)].commandId : -1;
}

bool CFlatToolBar::IsButtonEnabled(int index) const
{
    return IsIndex(index) && m_buttons[std::size_t(index)].enabled;
}

void CFlatToolBar::EnableButton(int index, bool enabled)
{
    if (!IsIndex(index) || m_buttons[std::size_t(index)].enabled == enabled)
        return;
    m_buttons[std::size_t(index)].enabled = enabled;
    update(GetItemRect(index));
}

int CFlatToolBar::Margin() const
{
    return m_bInReBar ? 0 : kBorder;
}

int CFlatToolBar::ButtonHeight() const
{
    return MenuItemHeight(fontMetrics()) + 2;
}

int CFlatToolBar::ButtonWidth(const Button& button) const
{
    const int text = fontMetrics().size(Qt::TextShowMnemonic, button.text).width();
    return text + 2 * kTextPadding + kShadowRoom;
}

QRect CFlatToolBar::GetItemRect(int index) const
{
    if (!IsIndex(index))
        return {};
    int left = Margin();
    for (int i = 0; i < index; ++i)
        left += ButtonWidth(m_buttons[std::size_t(i)]);
    return QRect(left, Margin(), ButtonWidth(m_buttons[std::size_t(index)]), ButtonHeight());
}

int CFlatToolBar::HitTest(const QPoint& point) const
{
    for (int i = 0; i < GetButtonCount(); ++i) {
        if (GetItemRect(i).contains(point))
            return i;
    }
    return -1;
}

void CFlatToolBar::SetHotItem(int index)
{
    index = IsIndex(index) ? index : -1;
    if (index == m_nHotItem)
        return;
    update(GetItemRect(m_nHotItem));
    m_nHotItem = index;
    update(GetItemRect(m_nHotItem));
}

void CFlatToolBar::SetPressed(int index, bool pressed)
{
    if (!IsIndex(index) || m_buttons[std::size_t(index)].pressed == pressed)
        return;
    m_buttons[std::size_t(index)].pressed = pressed;
    update(GetItemRect(index));
}

bool CFlatToolBar::IsPressed(int index) const
{
    return IsIndex(index) && m_buttons[std::size_t(index)].pressed;
}

void CFlatToolBar::SetInReBar(bool inReBar)
{
    if (m_bInReBar == inReBar)
        return;
    m_bInReBar = inReBar;
    updateGeometry();
    update();
}

QSize CFlatToolBar::sizeHint() const
{
    const QRect last = GetItemRect(GetButtonCount() - 1);
    const int width = last.isEmpty() ? 2 * Margin() : last.right() + 1 + Margin();
    return QSize(width, ButtonHeight() + 2 * Margin());
}

void CFlatToolBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    if (!m_bInReBar) {
        painter.fillRect(rect(), ToQColor(PANE_COLOR));
        painter.setPen(ToQColor(GetSysColor(COLOR_BTNSHADOW)));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    for (int i = 0; i < GetButtonCount(); ++i) {
        const Button& button = m_buttons[std::size_t(i)];
        const QRect rect = GetItemRect(i);
        if (button.pressed) {
            DrawPressedButton(painter, rect, button.text);
            continue;
        }
        if (i == m_nHotItem && button.enabled)
            DrawHighlightBox(painter, rect.adjusted(0, 0, -kShadowRoom, 0), false);
        DrawButtonText(painter, rect, button.text, button.enabled);
    }
}

void CFlatToolBar::DrawPressedButton(QPainter& painter, const QRect& rect, const QString& text) const
{
    DrawHighlightBox(painter, rect.adjusted(0, 0, -kShadowRoom, 0), false);
    DrawButtonText(painter, rect, text, true);
}

void CFlatToolBar::DrawButtonText(QPainter& painter, const QRect& rect, const QString& text, bool enabled) const
{
    const bool cues = style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, this);
    painter.setPen(ToQColor(GetSysColor(enabled ? COLOR_MENUTEXT : COLOR_GRAYTEXT)));
    painter.drawText(rect.adjusted(0, 0, -kShadowRoom, 0),
                     Qt::AlignCenter | Qt::TextSingleLine | (cues ? Qt::TextShowMnemonic : Qt::TextHideMnemonic), text);
}

void CFlatToolBar::mouseMoveEvent(QMouseEvent* event)
{
    const int hit = HitTest(event->position().toPoint());
    if (hit >= 0 || !KeepsHotItemOnLeave())
        SetHotItem(hit);
    QWidget::mouseMoveEvent(event);
}

void CFlatToolBar::leaveEvent(QEvent* event)
{
    if (!KeepsHotItemOnLeave())
        SetHotItem(-1);
    QWidget::leaveEvent(event);
}

void CFlatToolBar::changeEvent(QEvent* event)
{
    // Button sizes follow the font.
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QWidget::changeEvent(event);
}
