#pragma once
// Four signed integers in this order: minimum row, minimum column, maximum row, maximum column.
// A range means something only when CGridCtrl::IsValid accepts it.
#include "grid/GridCellID.h"

struct CellRange {
    int minRow = -1;
    int minCol = -1;
    int maxRow = -1;
    int maxCol = -1;

    bool Contains(const CellID& cell) const
    {
        return cell.row >= minRow && cell.row <= maxRow && cell.col >= minCol && cell.col <= maxCol;
    }
    friend bool operator==(const CellRange&, const CellRange&) = default;
};
