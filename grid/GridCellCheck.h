#pragma once
// A cell with a check box at its left. The box is toggled by a click inside it; the grid sends
// no notification for the change, the owner reads GetCheck when it needs the state.
#include "grid/GridCell.h"

class CGridCellCheck : public CGridCell {
public:
    static const GridCellClass Class;
    const GridCellClass* GetRuntimeClass() const override { return &Class; }

    // Returns the previous state.
    bool SetCheck(bool checked = true);
    bool GetCheck() const { return m_bChecked; }

    bool Draw(QPainter& painter, int row, int col, QRect rect) override;
    bool GetTextRect(QRect& rect) const override;
    QSize GetCellExtent() const override;
    void OnClick(QPoint point) override;

private:
    int BoxSide() const;
    QRect CheckBoxRect(const QRect& cellRect) const;

    bool m_bChecked = false;
    QRect m_Rect; // where the cell was last drawn, in the grid's viewport
};
