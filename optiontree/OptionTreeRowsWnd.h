#pragma once
// The rows area of the option tree: paints the visible rows, scrolls them vertically, takes
// the mouse and the keyboard, and is the parent (through its viewport) of every in-place
// editor the items create. Owned by COptionTreeCtrl; GUI thread only.
#include "platform/WinTypes.h"

#include <QAbstractScrollArea>

class COptionTreeCtrl;
class COptionTreeItemBase;
class QPainter;

class COptionTreeRowsWnd : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int LineHeight = 21;

    explicit COptionTreeRowsWnd(COptionTreeCtrl* tree);

    // The window that paints the rows and parents the editors; its rect is the client area.
    QWidget* Client() const { return viewport(); }
    // Empty until the window is shown: Qt sizes the viewport only then, and a size taken
    // earlier would clamp the column to a placeholder width.
    QRect ClientRect() const { return isVisible() ? viewport()->rect() : QRect(); }

    // Recomputes the scroll range from the rows' heights and clamps the column again.
    void UpdateScrollbar();
    int TotalHeight() const;
    // Scrolls so that content line y is at the top, within the scroll range; takes the focus.
    void ScrollTo(int y);

    bool IsDragging() const { return m_dragging; }
    int GetDragPos() const { return m_dragPos; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PaintBackground(QPainter& painter, const QRect& client) const;
    void PaintItems(QPainter& painter, const QRect& client);
    void PaintFrame(QPainter& painter, const QRect& client) const;
    void PaintDragBar(QPainter& painter, const QRect& client) const;

    void UpdateCursor(const QPoint& point);
    void StartColumnDrag(int x);
    void EndColumnDrag(int x);
    void ClickRow(COptionTreeItemBase* item, int hit);
    void MakeFocusedAndSelected(COptionTreeItemBase* item);
    // Expands or collapses item unless the owner vetoes; false when vetoed.
    bool ToggleItem(COptionTreeItemBase* item, bool expand);
    void DropHiddenFocus();
    void FitColumn();
    void ActivateFocused();
    void KeyTab(bool backwards);
    void KeyLeftRight(bool right);

    COptionTreeCtrl* m_tree;
    bool m_dragging = false;
    int m_dragPos = -1;
};
