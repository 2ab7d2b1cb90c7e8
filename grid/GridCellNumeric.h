#pragma once
// A text cell whose in-place edit box accepts digits only.
#include "grid/GridCell.h"

class CGridCellNumeric : public CGridCell {
public:
    static const GridCellClass Class;
    const GridCellClass* GetRuntimeClass() const override { return &Class; }

    bool Edit(int row, int col, const QRect& rect, QPoint point, int id, UINT key) override;
};
