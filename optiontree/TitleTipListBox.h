#pragma once
// Watches the dropped list of a combo box: an entry wider than its row shows a tooltip with the
// whole entry over the row; moving to an entry that fits, leaving the list or closing it hides
// the tip. The mouse is followed through the list's own move and leave events. Lives as long as the combo it was made for. GUI thread only.
#include "optiontree/TitleTipWindow.h"

#include <QObject>

class QAbstractItemView;

class TitleTipListBox : public QObject {
    Q_OBJECT
public:
    explicit TitleTipListBox(QAbstractItemView* list);

    int GetHotIndex() const { return m_hotIndex; }
    const TitleTipWindow& Tip() const { return m_tip; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TrackPoint(const QPoint& point);
    void ForgetHot();

    QAbstractItemView* m_list;
    int m_hotIndex = -1;
    TitleTipWindow m_tip{TitleTipWindow::Frame::None};
};
