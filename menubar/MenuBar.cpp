#include "menubar/MenuBar.h"

#include "menubar/MenuXP.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>

CMenuBar::CMenuBar(QWidget* frame, QWidget* parent)
    : CFlatToolBar(parent)
    , m_frameHook(*this)
{
    setFocusPolicy(Qt::NoFocus);
    m_frameHook.HookWindow(frame);
}

CMenuBar::~CMenuBar() = default;

QMenu* CMenuBar::LoadMenu(QMenu* menu)
{
    QMenu* previous = m_hMenu;
    m_hMenu = menu;
    qDeleteAll(findChildren<QShortcut*>(QString(), Qt::FindDirectChildrenOnly));
    DeleteAllButtons();
    if (!menu)
        return previous;
    const QList<QAction*> items = menu->actions();
    for (int position = 0; position < items.size(); ++position) {
        if (items[position]->menu()) {
            AddButton(items[position]->text(), position);
            AddMnemonic(GetButtonCount() - 1);
        }
    }
    return previous;
}

void CMenuBar::AddMnemonic(int index)
{
    const QKeySequence key = QKeySequence::mnemonic(GetButtonText(index));
    if (key.isEmpty())
        return;
    auto* shortcut = new QShortcut(key, this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [this, index] { TrackPopup(index); });
}

QMenu* CMenuBar::PopupAt(int index) const
{
    const int position = GetCommandId(index);
    if (!m_hMenu || position < 0 || position >= m_hMenu->actions().size())
        return nullptr;
    return m_hMenu->actions().at(position)->menu();
}

void CMenuBar::SetTrackingState(TrackingState state, int index)
{
    if (state == m_iTrackingState)
        return;
    m_iTrackingState = state;
    SetHotItem(state == Idle ? -1 : index);
    if (state == PopupOpen) {
        m_bEscapeWasPressed = false;
        m_iPopupTracking = index;
    }
    if (state == HotAfterEscape) {
        setFocusPolicy(Qt::StrongFocus);
        setFocus(Qt::OtherFocusReason);
    } else if (state == Idle) {
        setFocusPolicy(Qt::NoFocus);
        if (m_pFocusBefore)
            m_pFocusBefore->setFocus(Qt::OtherFocusReason);
        m_pFocusBefore = nullptr;
    }
}

void CMenuBar::TrackPopup(int index)
{
    if (m_iTrackingState == Idle)
        m_pFocusBefore = QApplication::focusWidget();
    while (index >= 0) {
        m_iNewPopup = -1;
        QMenu* popup = PopupAt(index);
        if (!popup || !IsButtonEnabled(index))
            break;
        SetPressed(index, true);
        repaint(GetItemRect(index));
        // Opens with its first item highlighted, as after a press of Down.
        QCoreApplication::postEvent(popup, new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier));
        SetTrackingState(PopupOpen, index);
        const QRect button(mapToGlobal(GetItemRect(index).topLeft()), GetItemRect(index).size());
        RememberMenuBarItem(button);
        m_hMenuTracking = popup;
        qApp->installEventFilter(this);
        popup->exec(button.bottomLeft() + QPoint(0, 1));
        qApp->removeEventFilter(this);
        m_hMenuTracking = nullptr;
        RememberMenuBarItem(QRect());
        SetPressed(index, false);
        SetTrackingState(m_bEscapeWasPressed ? HotAfterEscape : Idle, index);
        index = m_iNewPopup;
    }
}

// Input inside the open menus, seen before the menus see it.
bool CMenuBar::eventFilter(QObject* watched, QEvent* event)
{
    if (!qobject_cast<QMenu*>(watched))
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: return OnMenuKey(static_cast<QKeyEvent*>(event));
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress: return OnMenuMouse(static_cast<QMouseEvent*>(event));
    default: return false;
    }
}

bool CMenuBar::OnMenuKey(QKeyEvent* key)
{
    const auto* active = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    const QAction* selected = active ? active->activeAction() : nullptr;
    const bool inTopPopup = active == m_hMenuTracking;
    const bool noSubmenu = !selected || !selected->menu();
    switch (key->key()) {
    case Qt::Key_Left:
        if (!inTopPopup)
            return false;
        SwitchTo(Neighbour(m_iPopupTracking, -1));
        return true;
    case Qt::Key_Right:
        if (!noSubmenu)
            return false;
        SwitchTo(Neighbour(m_iPopupTracking, +1));
        return true;
    case Qt::Key_Escape:
        m_bEscapeWasPressed = true;
        return false;
    default:
        return false;
    }
}

bool CMenuBar::OnMenuMouse(QMouseEvent* mouse)
{
    const QPoint global = mouse->globalPosition().toPoint();
    const int hit = HitTest(mapFromGlobal(global));
    if (mouse->type() == QEvent::MouseButtonPress) {
        if (mouse->button() != Qt::LeftButton || hit != m_iPopupTracking)
            return false;
        m_iNewPopup = -1;
        CancelMenus();
        return true;
    }
    if (global == m_ptMouse)
        return false;
    m_ptMouse = global;
    if (hit >= 0 && hit != m_iPopupTracking && IsButtonEnabled(hit))
        SwitchTo(hit);
    return false;
}

void CMenuBar::SwitchTo(int index)
{
    m_iNewPopup = index;
    CancelMenus();
}

void CMenuBar::CancelMenus()
{
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
}

int CMenuBar::Neighbour(int index, int step) const
{
    const int count = GetButtonCount();
    return count == 0 ? -1 : (index + step + count) % count;
}

void CMenuBar::mousePressEvent(QMouseEvent* event)
{
    const int hit = HitTest(event->position().toPoint());
    if (event->button() == Qt::LeftButton && hit >= 0 && IsButtonEnabled(hit) && m_iTrackingState != PopupOpen) {
        TrackPopup(hit);
        return;
    }
    CFlatToolBar::mousePressEvent(event);
}

void CMenuBar::keyPressEvent(QKeyEvent* event)
{
    if (m_iTrackingState != HotAfterEscape) {
        CFlatToolBar::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left: SetHotItem(Neighbour(GetHotItem(), -1)); break;
    case Qt::Key_Right: SetHotItem(Neighbour(GetHotItem(), +1)); break;
    case Qt::Key_Down:
    case Qt::Key_Up:
    case Qt::Key_Return:
    case Qt::Key_Enter: TrackPopup(GetHotItem()); break;
    case Qt::Key_Escape: SetTrackingState(Idle); break;
    default: CFlatToolBar::keyPressEvent(event); break;
    }
}

void CMenuBar::focusOutEvent(QFocusEvent* event)
{
    // Opening a pop-up takes the focus too; only a real departure ends the hot state.
    if (m_iTrackingState == HotAfterEscape && !QApplication::activePopupWidget())
        SetTrackingState(Idle);
    CFlatToolBar::focusOutEvent(event);
}

void CMenuBar::DrawPressedButton(QPainter& painter, const QRect& rect, const QString& text) const
{
    MenuItemDraw item;
    item.rect = rect;
    item.text = text;
    item.highlighted = true;
    item.topLevel = true;
    DrawMenuItem(painter, item);
}

bool CMenuBar::FrameHook::WindowProc(QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate && m_bar.GetTrackingState() == HotAfterEscape)
        m_bar.SetTrackingState(Idle);
    return CSubclassWnd::WindowProc(event);
}
