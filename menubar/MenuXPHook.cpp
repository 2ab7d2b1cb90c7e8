#include "menubar/MenuXPHook.h"

#include "menubar/MenuXP.h"
#include "menubar/MenuXPPopup.h"
#include "menubar/MenuXPStyle.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>

namespace {

int& Installs()
{
    static int count = 0;
    return count;
}

} // namespace

CMenuXPHook::CMenuXPHook()
    : m_style(std::make_unique<CMenuXPStyle>())
{
    qApp->installEventFilter(this);
}

CMenuXPHook::~CMenuXPHook() = default;

void CMenuXPHook::Install()
{
    if (Installs()++ == 0)
        new CMenuXPHook(); // stays for the life of the process, a child of nothing
}

int CMenuXPHook::InstallCount()
{
    return Installs();
}

bool CMenuXPHook::eventFilter(QObject* watched, QEvent* event)
{
    auto* menu = qobject_cast<QMenu*>(watched);
    if (!menu)
        return false;
    switch (event->type()) {
    case QEvent::Polish:
        if (IsMenuXPWindow(MenuOwnerWindow(menu)))
            Polish(menu);
        break;
    case QEvent::Show:
        if (menu->style() == m_style.get())
            Open(menu);
        break;
    case QEvent::Hide:
        Close(menu);
        break;
    default:
        break;
    }
    return false;
}

void CMenuXPHook::Polish(QMenu* menu)
{
    menu->setStyle(m_style.get());
    // Room for the shadow right of and below the border.
    menu->setContentsMargins(0, 0, CMenuXPPopup::kShadow, CMenuXPPopup::kShadow);
}

// The record is a child of the menu, so that it goes with a menu destroyed while shown.
void CMenuXPHook::Open(QMenu* menu)
{
    Close(menu);
    new CMenuXPPopup(menu);
}

void CMenuXPHook::Close(QMenu* menu)
{
    delete menu->findChild<CMenuXPPopup*>(QString(), Qt::FindDirectChildrenOnly);
}
