#pragma once
// A drop-down list whose entries, and whose closed text, show in full in a tooltip when they
// are wider than their box. The list drops SetDroppedHeight pixels high directly below the box
// (above it when the screen has no room below), as wide as the box, scrolled to the choice.
// GUI thread only.
#include "optiontree/TitleTipListBox.h"
#include "optiontree/TitleTipWindow.h"

#include <QComboBox>

class TitleTipComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TitleTipComboBox(QWidget* parent = nullptr);

    void SetDroppedHeight(int height) { m_droppedHeight = height; }
    int GetDroppedHeight() const { return m_droppedHeight; }
    const TitleTipListBox& ListTips() const { return *m_listTips; }
    const TitleTipWindow& Tip() const { return m_tip; }

    void showPopup() override;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // Directly below the box, or above it when only there is room there.
    QRect DroppedListRect() const;
    int TextRoom() const;

    TitleTipListBox* m_listTips = nullptr;
    TitleTipWindow m_tip{TitleTipWindow::Frame::None};
    int m_droppedHeight = 100;
    QPoint m_lastMouse{-1, -1};
};
