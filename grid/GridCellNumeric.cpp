#include "grid/GridCellNumeric.h"

const GridCellClass CGridCellNumeric::Class = {
    "CGridCellNumeric", &CGridCell::Class, &CreateCellOf<CGridCellNumeric>};

bool CGridCellNumeric::Edit(int row, int col, const QRect& rect, QPoint /*point*/, int id, UINT key)
{
    OpenEditBox(row, col, rect, id, key, true);
    return true;
}
