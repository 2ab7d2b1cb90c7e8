#include "optiontree/OptionTreeDescriptionWnd.h"

#include "optiontree/OptionTreeCtrl.h"
#include "optiontree/OptionTreeGdi.h"
#include "platform/ControlFonts.h"
#include "platform/DrawTextFlags.h"

COptionTreeDescriptionWnd::COptionTreeDescriptionWnd(COptionTreeCtrl* tree)
    : QWidget(tree)
    , m_tree(tree)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void COptionTreeDescriptionWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect client = rect();
    FillSysColor(painter, client, COLOR_3DFACE);
    DrawSunkenOuterEdge(painter, client);

    const COptionTreeItemBase* focused = m_tree->GetFocusedItem();
    if (!focused)
        return;
    const QRect inner = client.adjusted(4, 4, -4, -4);
    painter.setPen(ToQColor(GetSysColor(m_tree->isEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT)));

    painter.setFont(ControlFonts::Bold());
    QRect title = inner;
    DrawText(painter, focused->GetLabelText(), title, DT_SINGLELINE | DT_NOPREFIX);
    DrawText(painter, focused->GetLabelText(), title, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);

    painter.setFont(ControlFonts::Normal());
    QRect info = GdiRect(inner.x(), GdiBottom(title), GdiRight(inner), GdiBottom(inner));
    DrawText(painter, focused->GetInfoText(), info, DT_WORDBREAK | DT_NOPREFIX);
}
