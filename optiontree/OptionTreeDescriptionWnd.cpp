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
    QPainter dc(this);
    const QRect client = rect();
    FillSysColor(dc, client, COLOR_3DFACE);
    DrawSunkenOuterEdge(dc, client);

    const COptionTreeItemBase* focused = m_tree->GetFocusedItem();
    if (!focused)
        return;
    const QRect inner = client.adjusted(4, 4, -4, -4);
    dc.setPen(ToQColor(GetSysColor(m_tree->isEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT)));

    dc.setFont(ControlFonts::Bold());
    QRect title = inner;
    DrawText(dc, focused->GetLabelText(), title, DT_SINGLELINE | DT_NOPREFIX);
    DrawText(dc, focused->GetLabelText(), title, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);

    dc.setFont(ControlFonts::Normal());
    QRect info = GdiRect(inner.x(), GdiBottom(title), GdiRight(inner), GdiBottom(inner));
    DrawText(dc, focused->GetInfoText(), info, DT_WORDBREAK | DT_NOPREFIX);
}
