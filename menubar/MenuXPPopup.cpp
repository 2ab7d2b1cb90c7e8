#include "menubar/MenuXPPopup.h"

#include "menubar/MenuColors.h"
#include "menubar/MenuXP.h"
#include "platform/SysColors.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <algorithm>

CMenuXPPopup::CMenuXPPopup(QMenu* menu)
    : QObject(menu)
    , m_menu(menu)
{
    m_menu->move(m_menu->pos() - QPoint(0, 1));
    CaptureUnder();
    DarkenShadowBand();
    HookWindow(menu);
}

int CMenuXPPopup::ShadowPercent(int distance)
{
    return 93 - 5 * (kShadow - 1 - distance);
}

// Taken while the window is still hidden, so the pixels are those it is about to cover. Where
// the platform cannot read the screen, the band darkens the window colour instead.
void CMenuXPPopup::CaptureUnder()
{
    const QRect area = m_menu->geometry();
    if (QScreen* screen = m_menu->screen()) {
        const QPoint origin = area.topLeft() - screen->geometry().topLeft();
        m_under = screen->grabWindow(0, origin.x(), origin.y(), area.width(), area.height()).toImage();
    }
    if (m_under.size() != area.size()) {
        m_under = QImage(area.size(), QImage::Format_RGB32);
        m_under.fill(m_menu->palette().color(QPalette::Window));
    }
    m_under = m_under.convertToFormat(QImage::Format_RGB32);
    PaintOwnerUnder(area);
}

// The screen may still show a pop-up that was closed a moment ago (when the user moves from one
// menu to the next); where the pop-up lies over its own window, that window paints itself anew.
void CMenuXPPopup::PaintOwnerUnder(const QRect& area)
{
    QWidget* owner = MenuOwnerWindow(m_menu);
    if (!owner || !owner->isVisible())
        return;
    const QRect ownerArea(owner->mapToGlobal(QPoint(0, 0)), owner->size());
    const QRect shared = area & ownerArea;
    if (shared.isEmpty())
        return;
    const QPixmap fresh = owner->grab(QRect(owner->mapFromGlobal(shared.topLeft()), shared.size()));
    QPainter painter(&m_under);
    painter.drawPixmap(shared.topLeft() - area.topLeft(), fresh);
}

void CMenuXPPopup::DarkenShadowBand()
{
    const QRect body = Body();
    for (int y = kShadow; y < m_under.height(); ++y) {
        for (int x = kShadow; x < m_under.width(); ++x) {
            if (body.contains(x, y))
                continue;
            const int distance = std::max(x - body.right() - 1, y - body.bottom() - 1);
            const int percent = ShadowPercent(std::clamp(distance, 0, kShadow - 1));
            const QRgb pixel = m_under.pixel(x, y);
            m_under.setPixel(x, y, qRgb(qRed(pixel) * percent / 100, qGreen(pixel) * percent / 100,
                                        qBlue(pixel) * percent / 100));
        }
    }
}

bool CMenuXPPopup::WindowProc(QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        Paint();
        return true;
    }
    if (event->type() == QEvent::KeyPress && ExecuteMnemonic(static_cast<QKeyEvent&>(*event)))
        return true;
    return CSubclassWnd::WindowProc(event);
}

QRect CMenuXPPopup::Body() const
{
    return m_menu->rect().adjusted(0, 0, -kShadow, -kShadow);
}

void CMenuXPPopup::Paint()
{
    QPainter painter(m_menu);
    painter.setFont(m_menu->font());
    DrawShadow(painter);
    DrawMenuBackground(painter, Body());
    DrawItems(painter);
    DrawBorder(painter);
    JoinToMenuBarItem(painter);
}

void CMenuXPPopup::DrawShadow(QPainter& painter) const
{
    const QRect body = Body();
    const QRect right(body.right() + 1, 0, kShadow, m_menu->height());
    const QRect below(0, body.bottom() + 1, m_menu->width(), kShadow);
    painter.drawImage(right, m_under, right);
    painter.drawImage(below, m_under, below);
}

void CMenuXPPopup::DrawBorder(QPainter& painter) const
{
    const QRect body = Body();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(ToQColor(GetSysColor(COLOR_3DDKSHADOW)));
    painter.drawRect(body.adjusted(0, 0, -1, -1));
    painter.setPen(ToQColor(AdjustSysColor(COLOR_BTNFACE, 75, 0)));
    painter.drawRect(body.adjusted(1, 1, -2, -2));
    painter.drawRect(body.adjusted(2, 2, -3, -3));
}

// Under the open menu-bar button the top border takes the button's colour, so that button and
// pop-up read as one shape.
void CMenuXPPopup::JoinToMenuBarItem(QPainter& painter) const
{
    const QRect item = RememberedMenuBarItem();
    const QPoint origin = m_menu->mapToGlobal(QPoint(0, 0));
    if (item.isEmpty() || origin.y() != item.bottom())
        return;
    const QRect box = item.adjusted(0, 0, -4, 0);
    const int left = std::max(box.left() + 1, origin.x() + 1) - origin.x();
    const int right = std::min(box.right() - 1, origin.x() + Body().right() - 1) - origin.x();
    if (left > right)
        return;
    painter.setPen(ToQColor(AdjustSysColor(COLOR_BTNFACE, 20, 0)));
    painter.drawLine(left, 0, right, 0);
}

void CMenuXPPopup::DrawItems(QPainter& painter) const
{
    for (QAction* action : m_menu->actions()) {
        const QRect rect = m_menu->actionGeometry(action);
        if (!action->isVisible() || rect.isEmpty())
            continue;
        MenuItemDraw item;
        item.rect = rect;
        item.text = action->text();
        item.icon = action->icon();
        item.separator = action->isSeparator();
        item.highlighted = m_menu->activeAction() == action;
        item.disabled = !action->isEnabled();
        item.checked = action->isChecked();
        item.hasSubmenu = action->menu() != nullptr;
        DrawMenuItem(painter, item);
    }
}

bool CMenuXPPopup::ExecuteMnemonic(const QKeyEvent& key)
{
    const QString text = key.text();
    if (key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier) || text.size() != 1 || !text[0].isPrint())
        return false;
    const int position = FindMenuMnemonic(*m_menu, text[0]);
    if (position < 0)
        return false;
    QAction* action = m_menu->actions().at(position);
    m_menu->setActiveAction(action);
    if (action->isEnabled() && !action->menu()) {
        QKeyEvent execute(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(m_menu, &execute);
    }
    return true;
}
