#pragma once
// A one-line edit whose text, when wider than the box, shows in full in a tooltip while the
// mouse is over it. The mouse is followed through the edit's own move and leave events. GUI thread only.
#include "optiontree/TitleTipWindow.h"

#include <QLineEdit>

class TitleTipEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TitleTipEdit(QWidget* parent = nullptr);

    const TitleTipWindow& Tip() const { return m_tip; }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool KeepTip() const;

    TitleTipWindow m_tip{TitleTipWindow::Frame::Bordered};
    QPoint m_lastMouse{-1, -1};
};
