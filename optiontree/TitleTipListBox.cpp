#include "optiontree/TitleTipListBox.h"

#include "platform/SysColors.h"

#include <QAbstractItemView>
#include <QMouseEvent>

TitleTipListBox::TitleTipListBox(QAbstractItemView* list)
    : QObject(list)
    , m_list(list)
{
    m_list->viewport()->setMouseTracking(true);
    m_list->viewport()->installEventFilter(this);
}

bool TitleTipListBox::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
        TrackPoint(static_cast<QMouseEvent*>(event)->position().toPoint());
        break;
    case QEvent::Leave:
    case QEvent::Hide:
        ForgetHot();
        break;
    default:
        break;
    }
    return false;
}

void TitleTipListBox::ForgetHot()
{
    m_hotIndex = -1;
    m_tip.HideTip();
}

void TitleTipListBox::TrackPoint(const QPoint& point)
{
    QWidget* client = m_list->viewport();
    if (!client->rect().contains(point)) {
        ForgetHot();
        return;
    }
    const QModelIndex index = m_list->indexAt(point);
    if (!index.isValid() || index.row() == m_hotIndex)
        return;
    m_hotIndex = index.row();

    // The list lays its rows out as wide as its widest entry; what shows is the client's width.
    const QRect row = m_list->visualRect(index).intersected(client->rect());
    const QString text = index.data(Qt::DisplayRole).toString();
    if (QFontMetrics(m_list->font()).horizontalAdvance(text) <= row.width() - 3) {
        m_tip.HideTip();
        return;
    }
    m_tip.ShowTip(text, QRect(client->mapToGlobal(row.topLeft()), row.size()), m_list->font(),
                  ToQColor(GetSysColor(COLOR_HIGHLIGHTTEXT)), ToQColor(GetSysColor(COLOR_HIGHLIGHT)),
                  [client] { return client->isVisible(); });
}
