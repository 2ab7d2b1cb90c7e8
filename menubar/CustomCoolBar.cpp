#include "menubar/CustomCoolBar.h"

#include "menubar/MenuBar.h"

#include <QMenu>

CCustomCoolBar::CCustomCoolBar(QWidget* frame, QMenu* menu, QWidget* parent)
    : CCoolBar(parent)
    , m_frame(frame)
    , m_menu(menu)
{
}

bool CCustomCoolBar::OnCreateBands()
{
    m_wndMenuBar = new CMenuBar(m_frame, this);
    m_wndMenuBar->SetInReBar(true);
    m_wndMenuBar->LoadMenu(m_menu);
    const QSize size = m_wndMenuBar->sizeHint();
    const int buttonHeight = m_wndMenuBar->GetItemRect(0).height();
    return InsertBand(m_wndMenuBar, size.width(), buttonHeight, 2047, false);
}
